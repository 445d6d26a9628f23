// Filling the recordings list: the statement for the user and the filter,
// the rows in the 4- or 6-column layout, and the recording that stays
// selected across a refill.
#include "workstation/Unitmediaframe.h"

#include "rtl/Folders.h"
#include "workstation/Mainunit.h"
#include "workstation/Unitdebug.h"
#include "workstation/Unitfiltr.h"
#include "workstation/Unitmessage.h"

#include <charconv>
#include <cstdio>
#include <cstring>

namespace {

// Seconds as "hh:mm:ss"; false when the text is not a whole number.
bool durationText(const char* Seconds, AnsiString& Out) {
    const char* end = Seconds + std::strlen(Seconds);
    long long s = 0;
    const auto [ptr, ec] = std::from_chars(Seconds, end, s);
    if (ec != std::errc() || ptr != end || ptr == Seconds) return false;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%02lld:%02lld:%02lld", s / 3600, (s % 3600) / 60, s % 60);
    Out = buf;
    return true;
}

AnsiString nameOf(const char (&Field)[UserTextSize]) { return AnsiString(Field, strnlen(Field, sizeof Field)); }

// Runs at the end of a refill whatever happened inside it.
template <class F>
struct AtExit {
    F Fn;
    ~AtExit() { Fn(); }
};
template <class F>
AtExit(F) -> AtExit<F>;

}  // namespace

void TMediaFrame::reportDbError(const AnsiString& What, const SqliteException& Error) {
    // The message of catalogue 2 that reports a database failure.
    constexpr int kDbErrorMessage = 7;
    DebugLog(What + ": " + Error.Message());
    ShowMessageDialog(this, mcUsers, kDbErrorMessage);
}

TRecordingsFilter TMediaFrame::currentFilter(const TUserRecord& User) {
    TRecordingsFilter f;
    f.UserName = nameOf(User.Name);
    f.ViewKind = TRightKind(User.ViewRight.Kind);
    f.ViewNumber = nameOf(User.ViewRight.Number);
    f.AddressBook = addressBookShown();
    if (auto* main = dynamic_cast<TMainForm*>(Owner()); main && main->FiltrFrame1) {
        main->ApplyFilterRange();
    } else if (TFiltrFrame* filter = filterFrame()) {
        SetDateFrom(filter->GetDateFrom());
        SetDateTo(filter->GetDateTo());
    }
    if (TFiltrFrame* filter = filterFrame()) {
        f.FromOn = filter->OdCheckBox->Checked();
        f.ToOn = filter->DoCheckBox->Checked();
        f.NumberA = filter->filtrAbAEdit->Text();
        f.NumberB = filter->filtrAbBEdit->Text();
    }
    f.From = dateFrom;
    f.To = dateTo;
    f.SortClause = sortClause;
    return f;
}

void TMediaFrame::RefreshRecordings() {
    const TUserRecord user = currentUser();
    if (user.ViewRight.Kind == rkNone) {
        // Nobody, or no right to see anything: the header row alone.
        const bool wasLoading = loading;
        loading = true;
        visibleColumns = 4;
        musicTable->SetRowCount(1);
        musicTable->SetColCount(5);
        musicTable->SetRow(0);
        loading = wasLoading;
        settlePlayer();
        return;
    }
    const TRecordingsFilter filter = currentFilter(user);
    // The layout changes with the grid: a refill that fails leaves the rows
    // shown in the layout they were filled in.
    const int columns = RecordingsColumns(filter);

    // The selection of row 2 or later is found again after the refill.
    const int rememberedRow = musicTable->Row();
    AnsiString remembered = " ";
    if (rememberedRow >= 2) remembered = musicTable->Cells(musicTable->ColCount() >= 6 ? 6 : 4, rememberedRow);

    musicTable->SetDoubleBuffered(true);
    musicTable->SetVisible(false);
    musicTable->SetScrollBars(ssVertical);
    loading = true;
    AtExit done{[this] {
        loading = false;
        db.Close();
        musicTable->SetVisible(true);
        musicTable->SetScrollBars(ssBoth);
    }};
    try {
        db.Open(ProgramDir() + "data.db");
        const TSqlStatement statement = BuildRecordingsQuery(filter);
        SqliteQuery query = db.ExecQuery(statement.Sql, statement.Values);
        musicTable->SetRowCount(1);
        visibleColumns = columns;
        musicTable->SetColCount(visibleColumns + 1);
        musicTable->SetRow(0);
        SetColumnHeaders(false, -1);
        fillRows(query, visibleColumns);
    } catch (const SqliteException& e) {
        reportDbError("Recordings list", e);
    }
    const int rows = musicTable->RowCount();
    if (rows > 1) {
        musicTable->SetFixedRows(1);
        musicTable->SetRow(rows - 1);
    }
    if (remembered != " " && rememberedRow > 0) {
        for (int r = 0; r < rows; ++r)
            if (musicTable->Cells(visibleColumns, r) == remembered) {
                musicTable->SetRow(r);
                break;
            }
    }
    loading = false;
    settlePlayer();
}

int TMediaFrame::fillRows(SqliteQuery& Query, int Columns) {
    // Rows are read first and the grid sized once: growing it a row at a
    // time would lay it out again for every row.
    const int durationColumn = Columns - 1;
    std::vector<std::vector<AnsiString>> rows;
    for (; !Query.Eof(); Query.NextRow()) {
        std::vector<AnsiString> row(size_t(Columns) + 1);
        bool whole = true;
        for (int c = 0; c <= Columns; ++c) {
            const SqliteText value = Query.FieldValue(c);
            if (c == durationColumn)
                whole = durationText(value.c_str(), row[size_t(c)]);
            else
                row[size_t(c)] = value.c_str();
        }
        // A duration that is no number ends the list where it stands.
        if (!whole) break;
        rows.push_back(std::move(row));
    }
    Query.Finalize();
    musicTable->SetRowCount(int(rows.size()) + 1);
    for (size_t r = 0; r < rows.size(); ++r)
        for (int c = 0; c <= Columns; ++c) musicTable->SetCells(c, int(r) + 1, rows[r][size_t(c)]);
    return int(rows.size());
}

AnsiString TMediaFrame::selectedFileName() const {
    const int row = musicTable->Row();
    if (row < 1 || visibleColumns >= musicTable->ColCount()) return AnsiString();
    return musicTable->Cells(visibleColumns, row);
}

void TMediaFrame::settlePlayer() {
    // An announcement being recorded goes on whatever the list does.
    if (recording) return;
    if (!openedPath_.empty() && musicTable->Row() >= 1 && RecordingPath(selectedFileName()) == openedPath_) {
        // Still the same recording: stopped, as every refill leaves it.
        StopImageClick(nullptr);
        SeekTrackBar->SetEnabled(false);
        return;
    }
    closePlayer();
}
