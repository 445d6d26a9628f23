// Translation tables the compiler refuses.
#include "LayoutcTestSupport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::HasSubstr;

namespace {

std::string tableErrors(const std::string& table) { return CompileErrors(MiniLayout(), table); }
std::string withLine(const std::string& line) { return tableErrors(MiniTable() + line + "\n"); }

}  // namespace

TEST(MalformedTable, CharactersTheCodePageLacks) {
    EXPECT_THAT(tableErrors(Replace(MiniTable(), "\tOkno\t", "\tОкно\t")),
                HasSubstr("MiniForm.lang:1: the Polish text: character U+041E 'О' has no Windows-1250 form"));
    EXPECT_THAT(tableErrors(Replace(MiniTable(), "\tМетка\n", "\tMetką\n")),
                HasSubstr("MiniForm.lang:2: the Russian text: character U+0105 'ą' has no Windows-1251 form"));
    EXPECT_THAT(tableErrors(Replace(MiniTable(), "\tWindow\t", "\tWindów\t")),
                HasSubstr("MiniForm.lang:1: the English text must be ASCII; it holds U+00F3 'ó'"));
    EXPECT_THAT(tableErrors(Replace(MiniTable(), "\tOkno\t", "\tOk\xC3no\t")),
                HasSubstr("MiniForm.lang:1: the Polish text: malformed UTF-8"));
}

TEST(MalformedTable, DelimiterAndStoredLineBreakBytes) {
    EXPECT_THAT(tableErrors(Replace(MiniTable(), "\tOkno\t", "\tOk\x01no\t")),
                HasSubstr("MiniForm.lang:1: the Polish text holds the byte 0x01 (the language delimiter)"));
    EXPECT_THAT(tableErrors(Replace(MiniTable(), "\tWindow\t",
                                    "\tWin\x19\x1A"
                                    "dow\t")),
                HasSubstr("MiniForm.lang:1: the English text holds the byte 0x19"));
    EXPECT_THAT(tableErrors(Replace(MiniTable(), "\tМетка\n", "\tМе\x1Aтка\n")),
                HasSubstr("MiniForm.lang:2: the Russian text holds the byte 0x1A"));
    EXPECT_THAT(tableErrors(Replace(MiniTable(), "\tLabel1\t",
                                    "\tLab\x01"
                                    "el1\t")),
                HasSubstr("MiniForm.lang:2: the key holds the byte 0x01"));
}

TEST(MalformedTable, LinesThatAreNotEntries) {
    EXPECT_THAT(
        withLine("stCaptions\tLabel1\tEtykieta\tLabel"),
        HasSubstr(
            "MiniForm.lang:5: expected 5 tab-separated fields (list type, key, Polish, English, Russian), found 4"));
    EXPECT_THAT(
        withLine("stStrings\tIDS_X\ta\tb\tc\td"),
        HasSubstr(
            "MiniForm.lang:5: expected 5 tab-separated fields (list type, key, Polish, English, Russian), found 6"));
    EXPECT_THAT(withLine("stCaption\tLabel1\ta\tb\tc"), HasSubstr("MiniForm.lang:5: unknown list type 'stCaption'"));
    EXPECT_THAT(withLine("stStrings\t IDS_X\ta\tb\tc"),
                HasSubstr("MiniForm.lang:5: the key ' IDS_X' has blanks at its ends"));
    EXPECT_THAT(withLine("stStrings\tIDS_X\ta\tb\tc\nstStrings\tids_x\td\te\tf"),
                HasSubstr("MiniForm.lang:6: duplicate key ids_x in stStrings (first at"));
    // Comments, blank lines and CR LF line ends are fine.
    EXPECT_EQ(tableErrors("# comment\r\n\r\n" + Replace(MiniTable(), "\n", "\r\n")), "");
}

TEST(MalformedTable, TheOwnersEntryComesFirst) {
    const std::string swapped =
        "stCaptions\tLabel1\tEtykieta\tLabel\tМетка\n"
        "stCaptions\tTTestForm\tOkno\tWindow\tОкно\n"
        "stFonts\tTTestForm\t\t\t\n"
        "stCharSets\tTTestForm\tDEFAULT_CHARSET\t\tRUSSIAN_CHARSET\n";
    EXPECT_THAT(tableErrors(swapped),
                HasSubstr("MiniForm.lang:2: the owner's entry TTestForm must be the first of stCaptions"));
    EXPECT_THAT(withLine("stHints\tLabel1\ta\tb\tc\nstHints\tTTestForm\ta\tb\tc"),
                HasSubstr("MiniForm.lang:6: the owner's entry TTestForm must be the first of stHints"));
    EXPECT_THAT(tableErrors(Replace(MiniTable(), "stCaptions\tTTestForm", "stCaptions\tMiniForm")),
                HasSubstr("MiniForm.lang:1: the owner is keyed by its class name TTestForm, not by its name MiniForm"));
}

TEST(MalformedTable, KeysMustNameComponentsAndPublishedProperties) {
    EXPECT_THAT(withLine("stCaptions\tLabel2\ta\tb\tc"),
                HasSubstr("MiniForm.lang:5: no component named Label2 in the layout"));
    EXPECT_THAT(withLine("stCaptions\tlxLang1\ta\tb\tc"),
                HasSubstr("MiniForm.lang:5: TlxLangLinked has no published text property Caption"));
    EXPECT_THAT(withLine("stFonts\tlxLang1\ta\tb\tc"),
                HasSubstr("MiniForm.lang:5: TlxLangLinked has no published Font"));
    EXPECT_THAT(withLine("stOtherStrings\tLabel1.Hnt\ta\tb\tc"),
                HasSubstr("MiniForm.lang:5: TTestLabel has no published property 'Hnt'"));
    EXPECT_THAT(withLine("stOtherStrings\tLabel1\ta\tb\tc"),
                HasSubstr("MiniForm.lang:5: the key Label1 must be Component.Property"));
    EXPECT_THAT(withLine("stOtherStrings\tLabel1.Width\t1\t2\t3"),
                HasSubstr("Width of TTestLabel is not a text property"));
    EXPECT_THAT(withLine("stMultiLines\tLabel1.Caption\ta\tb\tc"),
                HasSubstr("Caption of TTestLabel is not a string list"));
    EXPECT_THAT(withLine("stCollections\tLabel1.Items[0].Title\ta\tb\tc"),
                HasSubstr("TTestLabel has no published collection Items"));
    EXPECT_THAT(withLine("stCollections\tLabel1.Items[x]\ta\tb\tc"), HasSubstr("the index 'x'"));
    // The owner's own properties by its class name; its component name is no key.
    EXPECT_EQ(withLine("stOtherStrings\tTTestForm.Font.Name\tArial\tArial\tArial"), "");
    EXPECT_THAT(withLine("stOtherStrings\tMiniForm.Caption\ta\tb\tc"), HasSubstr("keyed by its class name TTestForm"));
}

TEST(MalformedTable, ListsTheComponentDoesNotHave) {
    EXPECT_THAT(withLine("stDlgsCaptions\tOK\tOK\tOK\tOK"),
                HasSubstr("MiniForm.lang:5: TlxLangLinked has no DlgsCaptions list"));
    EXPECT_THAT(withLine("stLocales\tCurrency String\tzł\t$\tр."), HasSubstr("TlxLangLinked has no Locales list"));
    EXPECT_THAT(withLine("stListView_TreeView_Items\tX\ta\tb\tc"), HasSubstr("has no ListView_TreeView_Items list"));
    // A TlxLang needs every dialog word and locale setting.
    const std::string full = Replace(MiniLayout(), "TlxLangLinked", "TlxLang");
    const std::string e =
        CompileErrors(full, MiniTable() + "stDlgsCaptions\tOK\tOK\tOK\tOK\nstDlgsCaptions\tOkay\ta\tb\tc\n");
    EXPECT_THAT(e, HasSubstr("MiniForm.lang:6: 'Okay' is not a dialog word"));
    EXPECT_THAT(e, HasSubstr("MiniForm.lang: stDlgsCaptions lacks the entries"));
    EXPECT_THAT(e, HasSubstr("MiniForm.lang: stLocales lacks the entries"));
}

TEST(MalformedTable, FontsAndCharsets) {
    // A label with its own font that shows text needs its own font and charset entries.
    const std::string ownFont =
        Replace(MiniLayout(), "    Caption = 'Etykieta'\n", "    Caption = 'Etykieta'\n    ParentFont = False\n");
    EXPECT_THAT(
        CompileErrors(ownFont, MiniTable()),
        HasSubstr("Label1 (layout line 3) has its own font and shows text but has no stFonts and stCharSets entry"));
    EXPECT_THAT(CompileErrors(ownFont, MiniTable() + "stFonts\tLabel1\tVerdana\tVerdana\tVerdana\n"),
                HasSubstr("Label1 (layout line 3) has its own font and shows text but has no stCharSets entry"));
    EXPECT_EQ(
        CompileErrors(ownFont,
                      MiniTable() + "stFonts\tLabel1\t\t\t\nstCharSets\tLabel1\tDEFAULT_CHARSET\t\tRUSSIAN_CHARSET\n"),
        "");
    // Setting a font in the layout stops following the parent's font too.
    EXPECT_THAT(CompileErrors(Replace(MiniLayout(), "    Caption = 'Etykieta'\n",
                                      "    Caption = 'Etykieta'\n    Font.Name = 'Verdana'\n"),
                              MiniTable()),
                HasSubstr("Label1 (layout line 3) has its own font"));
    // The form itself.
    EXPECT_THAT(tableErrors(Replace(MiniTable(), "stFonts\tTTestForm\t\t\t\n", "")),
                HasSubstr("TTestForm (layout line 1) has its own font and shows text but has no stFonts entry"));

    EXPECT_THAT(tableErrors(Replace(MiniTable(), "\t\tRUSSIAN_CHARSET", "\t\tCYRILLIC_CHARSET")),
                HasSubstr("MiniForm.lang:4: the Russian text 'CYRILLIC_CHARSET' is not a character set name"));
    EXPECT_THAT(tableErrors(Replace(MiniTable(), "\tDEFAULT_CHARSET\t", "\t\t")),
                HasSubstr("MiniForm.lang:4: the Polish character set is empty while another language names one"));
    EXPECT_THAT(tableErrors(Replace(MiniTable(), "\tDEFAULT_CHARSET\t\tRUSSIAN_CHARSET", "\t\tDEFAULT_CHARSET\t")),
                HasSubstr("MiniForm.lang:4: the Polish character set is empty while another language names one"));
}

TEST(MalformedTable, PolishTextsAgreeWithTheLayout) {
    EXPECT_THAT(
        tableErrors(Replace(MiniTable(), "\tEtykieta\t", "\tNapis\t")),
        HasSubstr(
            "MiniForm.lang:2: the Polish text 'Napis' differs from the layout's Label1.Caption 'Etykieta' (line 4)"));
    // An empty Polish text leaves the layout's text alone.
    EXPECT_EQ(tableErrors(Replace(MiniTable(), "\tEtykieta\t", "\t\t")), "");
}

TEST(MalformedTable, CollectionItemsThatTheLayoutLacks) {
    const std::string grid = Replace(MiniLayout(), "  object lxLang1",
                                     "  object Grid1: TTestGrid\n    Columns = <\n      item\n        Title = 'A'\n    "
                                     "  end>\n  end\n  object lxLang1");
    EXPECT_EQ(CompileErrors(grid, MiniTable() + "stCollections\tGrid1.Columns[0].Title\tA\tB\tC\n"), "");
    EXPECT_THAT(CompileErrors(grid, MiniTable() + "stCollections\tGrid1.Columns[1].Title\tA\tB\tC\n"),
                HasSubstr("MiniForm.lang:5: Grid1.Columns[1].Title: the layout's Columns has 1 items (line 7)"));
}

TEST(MalformedTable, MissingDuplicatedOrEndlessIncludesNameTheirFile) {
    EXPECT_THAT(CompileErrors(MiniLayout(), MiniTable() + "@include other.lang\n",
                              [](const TTempFolder& d) {
                                  d.Write("other.lang", "stStrings\tIDS_A\ta\tb\tc\nstStrings\tIDS_A\ta\tb\tc\n");
                              }),
                HasSubstr("other.lang:2: duplicate key IDS_A in stStrings (first at"));
    EXPECT_THAT(CompileErrors(MiniLayout(), MiniTable() + "@include missing.lang\n"),
                HasSubstr("MiniForm.lang:5: cannot read the translation table"));
    EXPECT_THAT(CompileErrors(MiniLayout(), MiniTable() + "@include MiniForm.lang\n"), HasSubstr("nested too deeply"));
}
