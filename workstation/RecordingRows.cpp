#include "workstation/RecordingRows.h"

#include <charconv>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <vector>

namespace {

// Seconds as "hh:mm:ss" in Out; false when the text is not a whole number.
bool durationText(std::string_view Seconds, char (&Out)[64], std::string_view& Text) {
    long long s = 0;
    const char* end = Seconds.data() + Seconds.size();
    const auto [ptr, ec] = std::from_chars(Seconds.data(), end, s);
    if (ec != std::errc() || ptr != end || Seconds.empty()) return false;
    if (s >= 0 && s < 100 * 3600) {
        // What the format below writes, without its cost on every row.
        const int parts[] = {int(s / 3600), int(s % 3600 / 60), int(s % 60)};
        for (int i = 0; i < 3; ++i) {
            Out[3 * i] = char('0' + parts[i] / 10);
            Out[3 * i + 1] = char('0' + parts[i] % 10);
            if (i < 2) Out[3 * i + 2] = ':';
        }
        Text = std::string_view(Out, 8);
        return true;
    }
    const int n = std::snprintf(Out, sizeof Out, "%02lld:%02lld:%02lld", s / 3600, (s % 3600) / 60, s % 60);
    Text = std::string_view(Out, size_t(n));
    return true;
}

void readRows(SqliteQuery& Query, const TRecordingLayout& Layout, TGridRows& Rows) {
    const int columns = Layout.Count();
    const int durationColumn = Layout.IndexOf(TRecordingColumn::Duration);
    std::vector<std::string_view> texts(static_cast<size_t>(columns));
    char duration[64];
    for (; !Query.Eof(); Query.NextRow()) {
        for (int c = 0; c < columns; ++c) {
            const std::string_view value = Query.FieldValue(c).c_str();
            // A duration that is no number ends the list where it stands.
            if (c == durationColumn && !durationText(value, duration, texts[size_t(c)])) return;
            if (c != durationColumn) texts[size_t(c)] = value;
        }
        Rows.AddRow(texts.data(), columns);
    }
}

}  // namespace

TRecordingsRead ReadRecordings(SqliteDb& Db, const AnsiString& DbPath, const TSqlStatement& Statement,
                               const TRecordingLayout& Layout, const std::function<void()>& Ran) {
    TRecordingsRead read;
    struct Closer {
        SqliteDb& db;
        ~Closer() { db.Close(); }
    } closer{Db};
    try {
        Db.Open(DbPath);
        SqliteQuery query = Db.ExecQuery(Statement.Sql, Statement.Values);
        read.Ran = true;
        if (Ran) Ran();
        read.Rows = TGridRows(Layout.Count(), 1);
        readRows(query, Layout, read.Rows);
        query.Finalize();
    } catch (const SqliteException& e) {
        // Nothing of a failed reading is shown.
        if (read.Ran) read.Rows = TGridRows(Layout.Count(), 1);
        read.Error = e;
    }
    return read;
}
