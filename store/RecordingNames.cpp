#include "store/RecordingNames.h"

#include "rtl/StrUtils.h"
#include "store/Recordings.h"

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

bool IsDataText(std::string_view text) {
    static constexpr std::string_view kLayout = "9999-99-99      99:99:99";
    if (text.size() != kLayout.size()) return false;
    for (size_t i = 0; i < text.size(); ++i) {
        const bool digit = text[i] >= '0' && text[i] <= '9';
        if (kLayout[i] == '9' ? !digit : text[i] != kLayout[i]) return false;
    }
    return true;
}

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

bool IsPlainRecordingName(const AnsiString& name) {
    if (name.empty() || name == "." || name == "..") return false;
    for (unsigned char c : name)
        if (c < 0x20 || c == 0x7F || c == '/' || c == '\\' || c == ':') return false;
    return true;
}
