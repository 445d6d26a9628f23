#include "classes/Strings.h"
#include "rtl/SysUtils.h"
#include "store/Settings.h"

#include "ReferenceBase64.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

const TDateTime kNow = EncodeDateTime(2026, 12, 6, 13, 27, 20, 0);

std::string CrLf(const Lines& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
}

Lines ToLines(const TStrings& list) {
    Lines v;
    for (int i = 0; i < list.Count(); ++i) v.push_back(list[i]);
    return v;
}

TConfigValues Parse(const Lines& lines) {
    TStringList list;
    for (const std::string& line : lines) list.Add(line);
    return ParseConfigLines(list, kNow);
}

const Lines kCustom = {"2025-01-02      03:04:05",
                       "2025-02-03      23:59:59",
                       "123",
                       "*",
                       "30",
                       "8",
                       "http://10.0.0.7",
                       "tajne",
                       "-5",
                       "12",
                       "800",
                       "700",
                       "3"};

TEST(Settings, FirstStartStoresCentredDefaultsAtOnce) {
    yorde::test::TTempFolder dir;
    TStringList list;
    EXPECT_FALSE(LoadConfigList(dir.Root(), list, kNow, TVirtualScreenSize{3201, 1081}));
    const Lines defaults = {"2026-12-06 13:27:20",
                            "2026-12-06 13:27:20",
                            "*",
                            "*",
                            "1",
                            "1",
                            "http://",
                            "",
                            "1200",
                            "240",
                            "800",
                            "600",
                            "0"};
    EXPECT_EQ(defaults, ToLines(list));
    EXPECT_EQ(ReferenceStoredBase64(CrLf(defaults)), dir.Read("config.cfg"));
    EXPECT_FALSE(dir.Exists("config.x"));
    EXPECT_EQ(kNow, ParseConfigLines(list, 0).DateTo);  // one blank reads as well as six
}

TEST(Settings, WrittenListIsStoredByteForByteAndReadBack) {
    yorde::test::TTempFolder dir;
    TConfigSnapshot s{kCustom[0], kCustom[1], "123", "", 30, 8, "http://10.0.0.7", "tajne", -5, 12, 800, 700, 3};
    TStringList list;
    BuildConfigLines(list, s);
    SaveConfigList(dir.Root(), list);
    EXPECT_EQ(ReferenceStoredBase64(CrLf(kCustom)), dir.Read("config.cfg"));
    EXPECT_FALSE(dir.Exists("config.x"));

    TStringList back;
    EXPECT_TRUE(LoadConfigList(dir.Root(), back, kNow, {}));
    const TConfigValues v = ParseConfigLines(back, kNow);
    EXPECT_EQ(EncodeDateTime(2025, 2, 3, 23, 59, 59, 0), v.DateTo);
    EXPECT_EQ("123", v.NumberA.value());
    EXPECT_FALSE(v.NumberB.has_value());
    EXPECT_EQ(30, v.RefreshPosition);
    EXPECT_EQ("tajne", v.Password);
    EXPECT_EQ(-5, v.Left);
    EXPECT_EQ(3, v.RetentionIndex);
}

TEST(Settings, ShortAndLeftoverListsAreReadAsTheyAre) {
    yorde::test::TTempFolder dir;
    const std::string shortFile = ReferenceStoredBase64(CrLf({"2025-01-02 03:04:05", "x", "77"}));
    dir.Write("config.cfg", shortFile);
    dir.Write("config.x", "stale\r\n");
    TStringList list;
    EXPECT_TRUE(LoadConfigList(dir.Root(), list, kNow, {}));
    EXPECT_EQ(3, list.Count());
    EXPECT_EQ(shortFile, dir.Read("config.cfg"));  // not rewritten until exit
    EXPECT_FALSE(dir.Exists("config.x"));

    yorde::test::TTempFolder crashed;  // only the plain list of an interrupted run
    crashed.Write("config.x", CrLf(kCustom));
    EXPECT_TRUE(LoadConfigList(crashed.Root(), list, kNow, {}));
    EXPECT_EQ(kCustom, ToLines(list));
    EXPECT_FALSE(crashed.Exists("config.x"));
}

TEST(Settings, EachGroupFallsBackAsAWhole) {
    Lines lines = kCustom;
    lines[1] = "2025-13-01 00:00:00";
    lines[4] = "100";
    TConfigValues v = Parse(lines);
    EXPECT_EQ(kNow, v.DateFrom);       // line 0 was fine
    EXPECT_EQ(60, v.RefreshPosition);  // clamped by the slider's range

    lines = kCustom;  // each slider keeps to its own range, at both ends
    lines[4] = "0";
    lines[5] = "65";
    v = Parse(lines);
    EXPECT_EQ(std::make_pair(1, 64), std::make_pair(v.RefreshPosition, v.BufferPosition));
    lines[5] = "-7";
    EXPECT_EQ(1, Parse(lines).BufferPosition);

    lines = kCustom;
    lines[5] = "x";  // valid address and password are reset with the sliders
    lines[11] = "";
    lines[12] = "x";
    v = Parse(lines);
    EXPECT_EQ(std::make_tuple(1, 1, std::string("http://"), std::string()),
              std::make_tuple(v.RefreshPosition, v.BufferPosition, v.Address, v.Password));
    EXPECT_EQ(std::make_tuple(10, 10, 800, 600, 0),
              std::make_tuple(v.Left, v.Top, v.Width, v.Height, v.RetentionIndex));
    EXPECT_EQ("123", v.NumberA.value());

    v = Parse({kCustom.begin(), kCustom.begin() + 12});  // no retention line: the rest is read
    EXPECT_EQ(std::make_tuple(700, 0), std::make_tuple(v.Height, v.RetentionIndex));

    v = Parse({kCustom.begin(), kCustom.begin() + 7});  // no password line
    EXPECT_EQ("http://", v.Address);
    EXPECT_EQ(EncodeDateTime(2025, 1, 2, 3, 4, 5, 0), v.DateFrom);
}

TEST(Settings, DatesDoNotDependOnTheFormatSettingsInForce) {
    FormatSettings().DateSeparator = '.';
    FormatSettings().ShortDateFormat = "dd.mm.yyyy";
    FormatSettings().TimeSeparator = '-';
    const TConfigValues v = Parse(kCustom);
    const AnsiString text = ConfigDateTimeText(kNow);
    ResetFormatSettings();
    EXPECT_EQ(EncodeDateTime(2025, 1, 2, 3, 4, 5, 0), v.DateFrom);
    EXPECT_EQ("2026-12-06 13:27:20", text);
}

// A damaged or foreign config.cfg is never lost: one that is no Base64 text
// is moved aside and the defaults are stored; one that decodes to other than
// the program's 13 lines is read as far as it goes, with a copy kept from
// the save at exit. Each is logged.
TEST(Settings, DamagedAndForeignFilesAreSetAsideNotOverwritten) {
    std::vector<std::string> log;
    const auto logTo = [&log](const AnsiString& line) { log.push_back(line); };
    TStringList list;

    yorde::test::TTempFolder garbled;
    const std::string junk = "\x89PNG\r\n\x1a\n not settings";
    garbled.Write("config.cfg", junk);
    EXPECT_FALSE(LoadConfigList(garbled.Root(), list, kNow, {1600, 1200}, logTo));
    EXPECT_EQ(junk, garbled.Read("config.cfg.bad"));
    EXPECT_EQ("http://", ToLines(list)[6]);
    EXPECT_EQ(ReferenceStoredBase64(CrLf(ToLines(list))), garbled.Read("config.cfg"));
    EXPECT_EQ(log, Lines{"Settings: config.cfg is not Base64 text; kept as config.cfg.bad"});

    log.clear();
    yorde::test::TTempFolder cut;
    const std::string shortFile = ReferenceStoredBase64(CrLf({kCustom.begin(), kCustom.begin() + 8}));
    cut.Write("config.cfg", shortFile);
    EXPECT_TRUE(LoadConfigList(cut.Root(), list, kNow, {}, logTo));
    EXPECT_EQ("tajne", Parse(ToLines(list)).Password);  // what it holds is used
    EXPECT_EQ(shortFile, cut.Read("config.cfg.bad"));
    EXPECT_EQ(log, Lines{"Settings: config.cfg is not the program's list of 13 lines; kept as config.cfg.bad"});
    SaveConfigList(cut.Root(), list);
    EXPECT_EQ(shortFile, cut.Read("config.cfg.bad"));

    log.clear();
    yorde::test::TTempFolder binary;  // Base64 of bytes that are no text
    binary.Write("config.cfg", ReferenceStoredBase64(std::string("\x01\x02\0\0KONIEC", 10)));
    LoadConfigList(binary.Root(), list, kNow, {}, logTo);
    EXPECT_TRUE(binary.Exists("config.cfg.bad"));

    log.clear();
    yorde::test::TTempFolder longer;  // a line too many is not the program's list either
    Lines extra = kCustom;
    extra.push_back("3");
    const std::string longFile = ReferenceStoredBase64(CrLf(extra));
    longer.Write("config.cfg", longFile);
    EXPECT_TRUE(LoadConfigList(longer.Root(), list, kNow, {}, logTo));
    EXPECT_EQ(extra, ToLines(list));
    EXPECT_EQ(longFile, longer.Read("config.cfg.bad"));
    EXPECT_EQ(longFile, longer.Read("config.cfg"));  // kept in place until the save at exit
    EXPECT_EQ(log, Lines{"Settings: config.cfg is not the program's list of 13 lines; kept as config.cfg.bad"});

    log.clear();
    yorde::test::TTempFolder own;  // the program's own file says nothing, a tab in the password included
    Lines tabbed = kCustom;
    tabbed[7] = "taj\tne";
    own.Write("config.cfg", ReferenceStoredBase64(CrLf(tabbed)));
    EXPECT_TRUE(LoadConfigList(own.Root(), list, kNow, {}, logTo));
    EXPECT_TRUE(log.empty());
    EXPECT_FALSE(own.Exists("config.cfg.bad"));
    EXPECT_EQ(tabbed, ToLines(list));
}

// config.cfg holds the exchange's password: its owner alone may read it.
TEST(Settings, StoredFileIsReadableByItsOwnerAlone) {
    yorde::test::TTempFolder dir;
    dir.Write("config.cfg", "");
    std::filesystem::permissions(dir.Path("config.cfg"), std::filesystem::perms(0644));
    TStringList list;
    DefaultConfigLines(list, kNow, {});
    SaveConfigList(dir.Root(), list);
    EXPECT_EQ(std::filesystem::status(dir.Path("config.cfg")).permissions(),
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
}

// A link at config.cfg (left by someone, or an old setup): the save puts
// the program's own file in its place and never writes where it points;
// the file it pointed at keeps its bytes and its permissions. What the link
// led to is still read at the start.
TEST(Settings, ALinkInPlaceOfTheFileIsReplacedNotWrittenThrough) {
    namespace fs = std::filesystem;
    yorde::test::TTempFolder dir;
    const std::string theirs = ReferenceStoredBase64(CrLf(kCustom));
    dir.Write("elsewhere/shared.cfg", theirs);
    fs::permissions(dir.Path("elsewhere/shared.cfg"), fs::perms(0644));
    fs::create_symlink(dir.Path("elsewhere/shared.cfg"), dir.Path("config.cfg"));
    TStringList list;
    ASSERT_TRUE(LoadConfigList(dir.Root(), list, kNow, {}));
    EXPECT_EQ(ToLines(list), kCustom);

    list.SetStrings(6, "http://10.0.0.8");
    SaveConfigList(dir.Root(), list);
    EXPECT_FALSE(fs::is_symlink(dir.Path("config.cfg")));
    EXPECT_EQ(fs::status(dir.Path("config.cfg")).permissions(), fs::perms(0600));
    EXPECT_EQ(dir.Read("elsewhere/shared.cfg"), theirs);
    EXPECT_EQ(fs::status(dir.Path("elsewhere/shared.cfg")).permissions(), fs::perms(0644));
    TStringList back;
    ASSERT_TRUE(LoadConfigList(dir.Root(), back, kNow, {}));
    EXPECT_EQ(back[6], "http://10.0.0.8");
}

}  // namespace
