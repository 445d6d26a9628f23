#pragma once
// The user record and the byte image of the user table, shared with the
// Windows program's "users.conf": 200 packed 111-byte records, then "KONIEC".
#include "rtl/AnsiString.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

constexpr int MaxUsers = 200;
constexpr int UserTextSize = 21;  // 20 bytes of text and the NUL

enum TRightKind : std::uint8_t { rkNone = 0, rkAll = 1, rkNumber = 2 };

#pragma pack(push, 1)
struct TUserRight {
    std::uint8_t Kind;  // TRightKind
    std::uint8_t Set;   // 1 in every record the user dialog builds; nobody reads it
    char Number[UserTextSize];
};

struct TUserRecord {
    char Name[UserTextSize];  // empty: a free slot
    char Password[UserTextSize];
    TUserRight ViewRight;
    TUserRight ListenRight;  // only Kind is used
    TUserRight DeleteRight;
};
#pragma pack(pop)

static_assert(sizeof(TUserRight) == 23);
static_assert(sizeof(TUserRecord) == 111);
static_assert(offsetof(TUserRecord, Password) == 21);
static_assert(offsetof(TUserRecord, ViewRight) == 42);
static_assert(offsetof(TUserRecord, ListenRight) == 65);
static_assert(offsetof(TUserRecord, DeleteRight) == 88);
static_assert(offsetof(TUserRight, Set) == 1 && offsetof(TUserRight, Number) == 2);

constexpr std::size_t UserTableSize = std::size_t(MaxUsers) * sizeof(TUserRecord);  // 22200
constexpr std::string_view UserFileTrailer = "KONIEC";
constexpr std::size_t UserFileSize = UserTableSize + UserFileTrailer.size();  // 22206

using TUserTable = TUserRecord[MaxUsers];

// A text field up to its NUL (at most 20 bytes).
AnsiString UserText(const char (&field)[UserTextSize]);
// At most 20 bytes of text, the rest of the field zero.
void SetUserText(char (&field)[UserTextSize], std::string_view text);
// Cuts every text field of the record at 20 bytes, so that no field runs
// into the next one.
void TerminateUserTexts(TUserRecord& record);

bool IsFreeSlot(const TUserRecord& record);

// The table followed by "KONIEC".
AnsiString UserTableToBytes(const TUserTable& table);
// Fills the table from up to 22200 bytes; slots the bytes do not reach stay
// free. The trailer is not looked at. Text fields are terminated.
void UserTableFromBytes(std::string_view bytes, TUserTable& table);
