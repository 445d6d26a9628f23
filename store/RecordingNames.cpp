#include "store/RecordingNames.h"

#include "rtl/StrUtils.h"
#include "store/Recordings.h"

#include <cctype>
#include <string_view>

namespace {

// Stored numbers carry no leading zeros; "*" travels as "a".
AnsiString StoredNumber(AnsiString token) {
    StarsFromA(token);
    const std::size_t first = token.find_first_not_of('0');
    return first == AnsiString::npos ? AnsiString() : token.substr(first);
}

}  // namespace

AnsiString NextNameToken(AnsiString& rest) {
    if (!rest.empty() && rest[0] == '_') {
        if (rest.size() < 12) {
            rest.erase(0, 1);
            return "-";
        }
        rest.erase(0, 1);
    }
    const int p = Pos("_", rest);
    if (p > 0) {
        AnsiString token = Copy(rest, 1, p - 1);
        Delete(rest, 1, p);
        return token;
    }
    return rest;
}

void StarsFromA(AnsiString& number) {
    for (char& c : number)
        if (c == 'a') c = '*';
}

int RecordingSecondsFromSize(std::int64_t size) { return size < 0 ? -1 : int(size / RecordingBytesPerSecond); }

TRecordingRow RecordingRowFromName(const AnsiString& name, std::int64_t size) {
    AnsiString rest = "_" + name;
    TRecordingRow row;
    // Positions count in the growing text, so a short field still gets
    // every separator, at its end.
    row.Data = NextNameToken(rest);
    Insert("-", row.Data, 5);
    Insert("-", row.Data, 8);
    Insert(" ", row.Data, 11);
    row.Data += "     " + NextNameToken(rest);
    Insert(":", row.Data, 19);
    Insert(":", row.Data, 22);
    row.AbA = StoredNumber(NextNameToken(rest));
    row.AbB = StoredNumber(NextNameToken(rest));
    row.Czas = RecordingSecondsFromSize(size);
    row.Filename = name;
    return row;
}

bool IsStoredRecordingName(const AnsiString& name) {
    static constexpr std::string_view kExtension = ".wav";
    if (name.size() <= kExtension.size()) return false;
    if (name.find_first_of(std::string_view("/\\\0", 3)) != AnsiString::npos) return false;
    if (name.find("..") != AnsiString::npos) return false;
    const std::string_view tail = std::string_view(name).substr(name.size() - kExtension.size());
    for (size_t i = 0; i < tail.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(tail[i])) != kExtension[i]) return false;
    return true;
}
