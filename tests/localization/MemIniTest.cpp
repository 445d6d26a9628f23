// The in-memory INI file and the entry helpers every part of the engine uses.
#include "localization/MemIni.h"

#include "rtl/Files.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

namespace {

std::vector<AnsiString> lines(TMemIniFile& ini) {
    TStringList out;
    ini.GetStrings(&out);
    std::vector<AnsiString> v;
    for (int i = 0; i < out.Count(); ++i) v.push_back(out.Strings(i));
    return v;
}

void parse(TMemIniFile& ini, std::initializer_list<const char*> text) {
    TStringList list;
    for (const char* l : text) list.Add(l);
    ini.SetStrings(&list);
}

TEST(MemIniFile, ParsesWithoutTrimmingAndWritesSortedSections) {
    TMemIniFile ini("");
    parse(ini, {"dropped=before any section", "[Beta]", "b = 2", "; comment", "", "[alpha]", "k=v=w", "[x"});
    // Sections sorted ignoring case, an empty line after each section;
    // blanks around "=" stay, "[x" is a key of the current section.
    EXPECT_EQ(lines(ini), (std::vector<AnsiString>{"[alpha]", "[x=", "k=v=w", "", "[Beta]", "b = 2", ""}));
    EXPECT_EQ(ini.ReadString("alpha", "[x", "none"), "");
    EXPECT_EQ(ini.ReadString("BETA", "b ", "none"), " 2");
    EXPECT_EQ(ini.ReadString("beta", "b", "none"), "none");
    EXPECT_EQ(ini.ReadString("Alpha", "K", "none"), "v=w");
}

TEST(MemIniFile, RepeatedSectionKeepsTheFirstKeysAndAddSectionDiscards) {
    TMemIniFile ini("");
    parse(ini, {"[S]", "a=1", "[s]", "a=2", "b=3"});
    EXPECT_EQ(lines(ini), (std::vector<AnsiString>{"[S]", "a=1", ""}));
    TMemIniEntry* again = ini.AddSection("s");
    again->Add("c=4");
    EXPECT_EQ(ini.ReadString("S", "c", "none"), "none");
}

TEST(MemIniFile, DuplicateKeysTheLaterOneWins) {
    TMemIniFile ini("");
    parse(ini, {"[S]", "k=first", "K=second", "b=x", "A=y"});
    EXPECT_EQ(ini.ReadString("S", "k", ""), "second");
    EXPECT_EQ(lines(ini), (std::vector<AnsiString>{"[S]", "A=y", "b=x", "K=second", "k=first", ""}));
    ini.WriteString("S", "k", "new");  // replaces the line it finds
    EXPECT_EQ(ini.ReadString("S", "K", ""), "new");
}

TEST(MemIniFile, WriteStringReplacesAnExistingKeyInPlace) {
    TMemIniFile ini("");
    parse(ini, {"[S]", "a=1", "key=old", "z=2"});
    ini.WriteString("S", "KEY", "new");
    EXPECT_TRUE(ini.Modified());
    // One line for the key, in the spelling last written, nothing else touched.
    EXPECT_EQ(lines(ini), (std::vector<AnsiString>{"[S]", "a=1", "KEY=new", "z=2", ""}));
    ini.WriteString("S", "key", "");
    EXPECT_EQ(lines(ini), (std::vector<AnsiString>{"[S]", "a=1", "key=", "z=2", ""}));
    EXPECT_EQ(ini.ReadString("S", "key", "none"), "");
    // A new key in a new section.
    ini.WriteString("T", "k", "v");
    EXPECT_EQ(lines(ini), (std::vector<AnsiString>{"[S]", "a=1", "key=", "z=2", "", "[T]", "k=v", ""}));
}

TEST(MemIniFile, SectionAndValueExistence) {
    TMemIniFile ini("");
    parse(ini, {"[Empty]", "[Full]", "Key=1"});
    EXPECT_FALSE(ini.SectionExists("Empty"));
    EXPECT_TRUE(ini.SectionExists("full"));
    EXPECT_TRUE(ini.ValueExists("Full", "KEY"));
    EXPECT_FALSE(ini.ValueExists("Full", "Other"));
    // The readers replace what the list held.
    TStringList read;
    read.Add("stale");
    ini.ReadSection("Full", &read);
    EXPECT_EQ(read.CommaText(), "Key");
    ini.ReadSectionValues("Full", &read);
    EXPECT_EQ(read.CommaText(), "1");
    ini.ReadSections(&read);
    EXPECT_EQ(read.CommaText(), "Empty,Full");
    ini.DeleteKey("Full", "key");
    EXPECT_FALSE(ini.SectionExists("Full"));
    ini.EraseSection("Full");
    EXPECT_EQ(lines(ini), (std::vector<AnsiString>{"[Empty]", ""}));
}

TEST(MemIniFile, TypedReaders) {
    TMemIniFile ini("");
    parse(ini, {"[N]", "hex=0x1F", "upper=0X1f", "bare=0x", "tail=12a", "neg=-5", "bool=0", "float=1.5", "bad=1,5,5"});
    EXPECT_EQ(ini.ReadInteger("N", "hex", 7), 31);
    EXPECT_EQ(ini.ReadInteger("N", "upper", 7), 31);
    EXPECT_EQ(ini.ReadInteger("N", "bare", 7), 7);
    EXPECT_EQ(ini.ReadInteger("N", "tail", 7), 7);
    EXPECT_EQ(ini.ReadInteger("N", "neg", 7), -5);
    EXPECT_EQ(ini.ReadInteger("N", "missing", 7), 7);
    EXPECT_FALSE(ini.ReadBool("N", "bool", true));
    EXPECT_TRUE(ini.ReadBool("N", "missing", true));
    EXPECT_TRUE(ini.ReadBool("N", "neg", false));  // any number but 0 is true
    EXPECT_TRUE(ini.ReadBool("N", "hex", false));
    EXPECT_FALSE(ini.ReadBool("N", "tail", false));  // no number: the default
    EXPECT_DOUBLE_EQ(ini.ReadFloat("N", "float", 0), 1.5);
    EXPECT_DOUBLE_EQ(ini.ReadFloat("N", "bad", 2.5), 2.5);
    // What the writers put down reads back the same.
    ini.WriteBool("W", "on", true);
    ini.WriteBool("W", "off", false);
    ini.WriteInteger("W", "n", -12);
    EXPECT_EQ(ini.ReadString("W", "on", ""), "1");
    EXPECT_EQ(ini.ReadString("W", "off", ""), "0");
    EXPECT_TRUE(ini.ReadBool("W", "on", false));
    EXPECT_FALSE(ini.ReadBool("W", "off", true));
    EXPECT_EQ(ini.ReadInteger("W", "n", 0), -12);
}

TEST(MemIniFile, UpdateFileAndRenameWithReload) {
    const yorde::test::TTempFolder dir("yorde-loc-ini");
    const AnsiString first = dir.Path("first.ini");
    const AnsiString second = dir.Write("second.ini", "[From]\r\nSecond=1\r\n");
    {
        TMemIniFile ini(first);
        ini.WriteString("A", "k", "v");
        EXPECT_TRUE(ini.Modified());
        ini.UpdateFile();
        EXPECT_FALSE(ini.Modified());
        ini.Rename(second, true);  // loads the file it now points at
        EXPECT_EQ(ini.ReadString("From", "Second", ""), "1");
        EXPECT_EQ(ini.FileName(), second);
        ini.Rename(dir.Path("third.ini"), false);  // keeps what it holds, written to the new name
        EXPECT_EQ(ini.ReadString("From", "Second", ""), "1");
        ini.UpdateFile();
    }
    EXPECT_EQ(dir.Read("first.ini"), "[A]\r\nk=v\r\n\r\n");
    EXPECT_EQ(dir.Read("third.ini"), "[From]\r\nSecond=1\r\n\r\n");
}

TEST(EntryHelpers, ExtractTranslationFields) {
    const AnsiString entry = "IDS_SD\1Karta SD\1SD card\1SD-\xEA\xE0\xF0\xF2\xE0\1";
    EXPECT_EQ(ExtractTranslation(entry, '\1', 0), "IDS_SD");
    EXPECT_EQ(ExtractTranslation(entry, '\1', 2), "SD card");
    EXPECT_EQ(ExtractTranslation(entry, '\1', 4), "");
    EXPECT_EQ(ExtractTranslation(entry, '\1', 5), "");
    EXPECT_EQ(ExtractTranslation("K\1a", '\1', 1), "a");
    EXPECT_EQ(ExtractTranslation(AnsiString("K\1a\0b\1c", 7), '\1', 2), "");  // a NUL ends the scan
}

TEST(EntryHelpers, SearchBM) {
    EXPECT_EQ(SearchBM("ab", "xxabyab"), 3);
    EXPECT_EQ(SearchBM("ab", "xyzab"), 4);  // at the very end
    EXPECT_EQ(SearchBM("abc", "abc"), 1);
    EXPECT_EQ(SearchBM("", "abc"), 1);
    EXPECT_EQ(SearchBM("abcd", "abc"), 0);
    EXPECT_EQ(SearchBM("AB", "xxabyab"), 0);
    // Bytes above 127 index the shift table as unsigned.
    EXPECT_EQ(SearchBM("\xEA\xE0", "SD-\xEA\xE0\xF0\xF2\xE0\xEA\xE0"), 4);
    EXPECT_EQ(SearchBM("\r\nIDS_B\1", "IDS_A\1x\1\r\nIDS_B\1y\1"), 9);
}

}  // namespace
