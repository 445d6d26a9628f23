#include "store/UserRecord.h"

#include <algorithm>
#include <cstring>

AnsiString UserText(const char (&field)[UserTextSize]) { return AnsiString(field, ::strnlen(field, UserTextSize - 1)); }

void SetUserText(char (&field)[UserTextSize], std::string_view text) {
    std::memset(field, 0, UserTextSize);
    text = text.substr(0, std::min(text.find('\0'), std::size_t(UserTextSize - 1)));
    std::memcpy(field, text.data(), text.size());
}

void TerminateUserTexts(TUserRecord& record) {
    record.Name[UserTextSize - 1] = '\0';
    record.Password[UserTextSize - 1] = '\0';
    record.ViewRight.Number[UserTextSize - 1] = '\0';
    record.ListenRight.Number[UserTextSize - 1] = '\0';
    record.DeleteRight.Number[UserTextSize - 1] = '\0';
}

bool IsFreeSlot(const TUserRecord& record) { return record.Name[0] == '\0'; }

AnsiString UserTableToBytes(const TUserTable& table) {
    AnsiString bytes(reinterpret_cast<const char*>(table), UserTableSize);
    bytes.append(UserFileTrailer);
    return bytes;
}

void UserTableFromBytes(std::string_view bytes, TUserTable& table) {
    std::memset(table, 0, UserTableSize);
    std::memcpy(table, bytes.data(), std::min(bytes.size(), UserTableSize));
    for (TUserRecord& record : table) TerminateUserTexts(record);
}
