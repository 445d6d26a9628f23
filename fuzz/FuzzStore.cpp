// The store's files: users.conf, config.cfg and the address-book text file,
// each read from the disk as the program reads it.
#include "FuzzTarget.h"
#include "FuzzTargets.h"

#include "classes/Strings.h"
#include "rtl/DateTime.h"
#include "rtl/Folders.h"
#include "rtl/SysUtils.h"
#include "store/AddressBook.h"
#include "store/Base64File.h"
#include "store/FileBytes.h"
#include "store/Settings.h"
#include "store/Users.h"

#include <cstring>
#include <filesystem>
#include <fstream>

namespace yorde::fuzz {

namespace {

void WriteBytes(const std::string& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), std::streamsize(bytes.size()));
    FUZZ_CHECK(out.good());
}

// The scratch folder emptied, so every input starts from the same disk.
std::string FreshFolder(const char* name) {
    const std::string dir = FuzzScratchDir() + name + "/";
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
    std::filesystem::create_directories(dir);
    return dir;
}

bool Terminated(const char (&field)[UserTextSize]) { return field[UserTextSize - 1] == '\0'; }

const TDateTime kNow = EncodeDate(2024, 3, 5) + EncodeTime(10, 11, 12, 0);

}  // namespace

void RunUsersFile(std::string_view input) {
    const std::string dir = FreshFolder("users");
    WriteBytes(dir + "users.conf", input);
    SetProgramDirOverride(AnsiString(dir));
    const bool admin = LoadUsers();
    SetProgramDirOverride(AnsiString());

    bool anyUser = false;
    for (const TUserRecord& record : UserTable) {
        FUZZ_CHECK(Terminated(record.Name) && Terminated(record.Password) && Terminated(record.ViewRight.Number) &&
                   Terminated(record.ListenRight.Number) && Terminated(record.DeleteRight.Number));
        anyUser = anyUser || !IsFreeSlot(record);
    }
    FUZZ_CHECK(admin == (FindUser(AdminName).Name[0] != '\0'));
    // A store that gives no user is set aside, never left for the next save to overwrite.
    FUZZ_CHECK(anyUser == std::filesystem::exists(dir + "users.conf"));
    if (!anyUser) FUZZ_CHECK(std::filesystem::exists(dir + "users.conf.bad"));

    // What was read is what the next save writes, and reads back the same.
    const AnsiString bytes = UserTableToBytes(UserTable);
    const AnsiString text = Base64Encode(bytes);
    FUZZ_CHECK(IsBase64Text(text));
    FUZZ_CHECK(Base64Decode(text) == bytes);
    std::memset(UserTable, 0, sizeof UserTable);
}

void RunConfigFile(std::string_view input) {
    const std::string dir = FreshFolder("config");
    WriteBytes(dir + "config.cfg", input);
    TStringList lines;
    // A file that is not Base64 text is set aside, never read or overwritten.
    const bool base64 = IsBase64Text(AnsiString(std::string(input)));
    FUZZ_CHECK(LoadConfigList(AnsiString(dir), lines, kNow, {1920, 1080}) == base64);
    if (!base64) FUZZ_CHECK(ReadFileBytes(AnsiString(dir + "config.cfg.bad")) == AnsiString(std::string(input)));
    const TConfigValues v = ParseConfigLines(lines, kNow);
    FUZZ_CHECK(v.RefreshPosition >= RefreshPositionMin && v.RefreshPosition <= RefreshPositionMax);
    FUZZ_CHECK(v.BufferPosition >= BufferPositionMin && v.BufferPosition <= BufferPositionMax);

    // Saved at exit and read at the next start, the values come back.
    TConfigSnapshot snapshot;
    snapshot.DateFrom = ConfigDateTimeText(v.DateFrom);
    snapshot.DateTo = ConfigDateTimeText(v.DateTo);
    snapshot.NumberA = v.NumberA.value_or("");
    snapshot.NumberB = v.NumberB.value_or("");
    snapshot.RefreshPosition = v.RefreshPosition;
    snapshot.BufferPosition = v.BufferPosition;
    snapshot.Address = v.Address;
    snapshot.Password = v.Password;
    snapshot.Left = v.Left;
    snapshot.Top = v.Top;
    snapshot.Width = v.Width;
    snapshot.Height = v.Height;
    snapshot.RetentionIndex = v.RetentionIndex;
    TStringList saved;
    BuildConfigLines(saved, snapshot);
    SaveConfigList(AnsiString(dir), saved);
    TStringList again;
    FUZZ_CHECK(LoadConfigList(AnsiString(dir), again, kNow, {1920, 1080}));
    const TConfigValues w = ParseConfigLines(again, kNow);
    FUZZ_CHECK(ConfigDateTimeText(w.DateFrom) == snapshot.DateFrom);
    FUZZ_CHECK(ConfigDateTimeText(w.DateTo) == snapshot.DateTo);
    FUZZ_CHECK(w.RefreshPosition == v.RefreshPosition && w.BufferPosition == v.BufferPosition);
    FUZZ_CHECK(w.Left == v.Left && w.Top == v.Top && w.Width == v.Width && w.Height == v.Height);
    FUZZ_CHECK(w.RetentionIndex == v.RetentionIndex);
}

void RunAddressBookFile(std::string_view input) {
    const std::string dir = FreshFolder("book");
    const AnsiString file(dir + "book.csv");
    WriteBytes(file, input);
    const TAddressEntries entries = ReadAddressBookFile(file);
    for (const TAddressEntry& e : entries) {
        FUZZ_CHECK(e.Description.size() <= std::size_t(AddressDescriptionMax));
        FUZZ_CHECK(e.Number.find(';') == AnsiString::npos);
        FUZZ_CHECK(e.Number.find_first_of("\r\n") == AnsiString::npos);
        FUZZ_CHECK(e.Description.find_first_of("\r\n") == AnsiString::npos);
    }
    // Exported again and imported, the book is the same.
    WriteAddressBookFile(file, entries);
    FUZZ_CHECK(ReadAddressBookFile(file) == entries);
}

std::vector<std::string> UsersFileSeeds() {
    std::vector<std::string> seeds;
    TUserTable table{};
    SetUserText(table[0].Name, AdminName);
    SetUserText(table[0].Password, "tajne");
    table[0].ViewRight = {rkAll, 1, {}};
    table[0].ListenRight = {rkAll, 1, {}};
    table[0].DeleteRight = {rkAll, 1, {}};
    SetUserText(table[1].Name, "Kowalski");
    SetUserText(table[1].Password, "haslo123");
    table[1].ViewRight = {rkNumber, 1, {}};
    SetUserText(table[1].ViewRight.Number, "501");
    table[1].ListenRight = {rkNumber, 1, {}};
    table[1].DeleteRight = {rkNone, 1, {}};
    seeds.push_back(Base64Encode(UserTableToBytes(table)));
    std::memset(table, 0, sizeof table);
    SetUserText(table[MaxUsers - 1].Name, "ostatni");
    seeds.push_back(Base64Encode(UserTableToBytes(table)));
    return seeds;
}

std::vector<std::string> ConfigFileSeeds() {
    TStringList lines;
    DefaultConfigLines(lines, kNow, {1920, 1080});
    std::vector<std::string> seeds{Base64Encode(lines.Text())};
    TConfigSnapshot s;
    s.DateFrom = "2024-01-01 00:00:00";
    s.DateTo = "2024-12-31 23:59:59";
    s.NumberA = "501";
    s.RefreshPosition = 60;
    s.BufferPosition = 64;
    s.Address = "http://192.168.1.20";
    s.Password = "tajne";
    s.Left = -8;
    s.Top = 20;
    s.Width = 1024;
    s.Height = 700;
    s.RetentionIndex = 3;
    BuildConfigLines(lines, s);
    seeds.push_back(Base64Encode(lines.Text()));
    return seeds;
}

std::vector<std::string> AddressBookFileSeeds() {
    return {
        "501;Sekretariat\r\n502;Kadry i p\xB3"
        "ace\r\n0048221234567;Biuro\r\n",
        ";bez numeru\nnumer bez opisu;\r600;\r\n"};
}

}  // namespace yorde::fuzz
