// INI-style translation files: what is written byte for byte, what comes
// back, several forms in one file, merging, and one language by name.
#include "LocTestSupport.h"
#include "TempFolder.h"

#include "classes/MemoryStream.h"
#include "localization/LxExtended.h"
#include "localization/LxIniFormat.h"
#include "localization/MemIni.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {
using namespace loctest;

const AnsiString ruWindow = "\xCE\xEA\xED\xEE";  // "Окно" in 1251

// A form with a label and a translation component of three named languages.
struct LangForm {
    Owned<TTestForm> Form{new TTestForm(nullptr)};
    TTestLabel* Label;
    TlxCustomLang* Lang;
    explicit LangForm(bool Linked = false) {
        Form->SetName("Form1");
        Label = new TTestLabel(Form.get());
        Label->SetName("Label1");
        if (Linked)
            Lang = new TlxLangLinked(Form.get());
        else
            Lang = new TlxLang(Form.get());
        Lang->SetName("lxLang1");
        Lang->SetNumLang(3);
        TStringList names;
        names.SetCommaText("Polski,Angielski,Rosyjski");
        Lang->SetLangNames(&names);
    }
};

// Form-like roots of another class share files with LangForm.
struct OtherForm {
    Owned<TTestDataModule> Module{new TTestDataModule(nullptr)};
    TlxLang* Lang;
    OtherForm() {
        Module->SetName("Module1");
        (new TTestLabel(Module.get()))->SetName("Label2");
        Lang = new TlxLang(Module.get());
        Lang->SetNumLang(3);
    }
};

AnsiString streamText(TMemoryStream& S) { return AnsiString(static_cast<const char*>(S.Memory()), size_t(S.Size())); }

class IniFiles : public ::testing::Test {
protected:
    void SetUp() override { RegisterTestClasses(); }
    yorde::test::TTempFolder dir;
};

TEST_F(IniFiles, OneListIsWrittenByteForByte) {
    LangForm f;
    f.Lang->Captions()->Add(E("TTestForm", {"Okno", "Window", ruWindow}));
    f.Lang->Captions()->Add(E("Label1", {"a\rb", "c=d", ""}));
    TMemoryStream s;
    EXPECT_EQ(f.Lang->SaveToStream(stCaptions, &s, "~!@#"), 2);
    EXPECT_EQ(streamText(s),
              "[Captions]\r\n"
              "TTestForm.Label1=a\x19"
              "b~!@#c=d~!@#~!@#\r\n"
              "TTestForm.TTestForm=Okno~!@#Window~!@#" +
                  ruWindow +
                  "~!@#\r\n"
                  "\r\n"
                  "[Language names - for internal use only!]\r\n"
                  "Language_1=Polski\r\n"
                  "Language_2=Angielski\r\n"
                  "Language_3=Rosyjski\r\n"
                  "\r\n"
                  "[OPTIONS]\r\n"
                  "DELIMITER=~!@#\r\n"
                  "\r\n");
    // The older, misspelt names section gives way to the one written.
    TStringStream old("[Language names - for intenal use only!]\r\nLanguage_1=Stary\r\n");
    f.Lang->SaveToStream(stCaptions, &old, "~!@#");
    EXPECT_EQ(old.DataString().find("intenal"), AnsiString::npos);
    EXPECT_EQ(f.Lang->SaveToStream(stListView_TreeView_Items, &s, "~!@#"), -1);
    EXPECT_EQ(f.Lang->LoadFromStream(stListView_TreeView_Items, &s, true), -1);
}

TEST_F(IniFiles, ThreeLanguagesRoundTripWithLineBreaksQuotesAndEqualSigns) {
    LangForm f;
    f.Lang->Captions()->Add(E("TTestForm", {"Okno", "Window", ruWindow}));
    f.Lang->Captions()->Add(E("Label1", {"\"Cytat\"", "'quoted' = yes", "a\r\nb"}));
    f.Lang->Strings()->Add(E("IDS_MULTI", {"Linia 1\r\nLinia 2", "Line 1\nLine 2\r", "; not a comment"}));
    f.Lang->Strings()->Add(E("IDS_EMPTY", {"", "", ""}));
    f.Lang->MultiLines()->Add(E("Label1.Hint", {"\"a, b\",c", "x", "y"}));
    const std::string file = dir.Path("lang.ini");
    f.Lang->SaveAllToFile(file, "|#|");

    LangForm g;
    g.Lang->LoadAllFromFile(file, true);
    EXPECT_EQ(Lines(g.Lang->Captions()), Lines(f.Lang->Captions()));
    EXPECT_EQ(Lines(g.Lang->Strings()),
              (std::vector<AnsiString>{E("IDS_EMPTY", {"", "", ""}),
                                       E("IDS_MULTI", {"Linia 1\r\nLinia 2", "Line 1\nLine 2\r", "; not a comment"})}));
    EXPECT_EQ(Lines(g.Lang->MultiLines()), Lines(f.Lang->MultiLines()));
    // Entries come back in the file's key order.
    auto sorted = [](const TStrings* List) {
        std::vector<AnsiString> v = Lines(List);
        std::sort(v.begin(), v.end());
        return v;
    };
    EXPECT_EQ(sorted(g.Lang->DlgsCaptions()), sorted(f.Lang->DlgsCaptions()));
    EXPECT_EQ(sorted(g.Lang->Locales()), sorted(f.Lang->Locales()));
    EXPECT_EQ(Lines(g.Lang->LangNames()), (std::vector<AnsiString>{"Polski", "Angielski", "Rosyjski"}));
    g.Lang->SetActLang(2);
    EXPECT_EQ(g.Lang->GetTextOrDefault("IDS_MULTI"), "Line 1\nLine 2\r");
    EXPECT_EQ(g.Label->Caption(), "'quoted' = yes");
}

TEST_F(IniFiles, ATextHoldingTheFileDelimiterIsRefusedAndTheFileKept) {
    LangForm f;
    f.Lang->Strings()->Add(E("IDS_A", {"a", "b", "c"}));
    const std::string file = dir.Path("lang.ini");
    f.Lang->SaveAllToFile(file, "~!@#");
    const std::string before = dir.Read("lang.ini");
    f.Lang->Strings()->Add(E("IDS_B", {"odd ~!@# text", "b", ""}));
    EXPECT_THROW(f.Lang->SaveAllToFile(file, "~!@#"), ELanguageError);
    EXPECT_EQ(dir.Read("lang.ini"), before);
    // A delimiter that only straddles two texts would split them wrongly as well.
    f.Lang->Strings()->Delete(1);
    f.Lang->Strings()->Add(E("IDS_C", {"x~", "~y", ""}));
    EXPECT_THROW(f.Lang->SaveToFile(stStrings, file, "~~"), ELanguageError);
    for (const char* bad : {"", "\r\n", "a\x19"}) EXPECT_THROW(f.Lang->SaveAllToFile(file, bad), ELanguageError);
    EXPECT_EQ(dir.Read("lang.ini"), before);
    EXPECT_FALSE(dir.Exists("other.ini.tmp"));
}

TEST_F(IniFiles, TwoFormsShareOneFileAndEachReadsItsOwnEntries) {
    LangForm f;
    OtherForm o;
    f.Lang->Captions()->Add(E("Label1", {"Pierwsza", "First", ""}));
    o.Lang->Captions()->Add(E("Label2", {"Druga", "Second", ""}));
    o.Lang->Strings()->Add(E("IDS_OTHER", {"inny", "other", ""}));
    TMemoryStream s;
    f.Lang->SaveAllToStream(&s, "~!@#");
    o.Lang->SaveAllToStream(&s, "~!@#");

    LangForm g;
    g.Lang->LoadAllFromStream(&s, true);
    EXPECT_EQ(Lines(g.Lang->Captions()), (std::vector<AnsiString>{E("Label1", {"Pierwsza", "First", ""})}));
    EXPECT_EQ(g.Lang->Strings()->Count(), 0);
    OtherForm p;
    p.Lang->LoadAllFromStream(&s, true);
    EXPECT_EQ(Lines(p.Lang->Captions()), (std::vector<AnsiString>{E("Label2", {"Druga", "Second", ""})}));
    EXPECT_EQ(p.Lang->GetTextOrDefault("IDS_OTHER"), "inny");
}

TEST_F(IniFiles, ReadingRulesForHandWrittenAndOlderFiles) {
    LangForm f;
    f.Lang->DoNotTranslate()->Add("Skipped1");
    TStringStream s(
        "[Language names - for internal use only!]\r\n"
        "Language_1=Polski\r\n"
        "Language_2=English\r\n"
        "[Strings]\r\n"
        "TTestForm.IDS_DEFAULT=a~!@#b~!@#\r\n"   // no [OPTIONS]: "~!@#"
        "FORM1.IDS_OLD=stary~!@#old~!@#\r\n"     // the component name, in any case
        "TTestForm.IDS_ONE=only one text\r\n"    // no delimiter: language 1
        "TOtherForm.IDS_FOREIGN=x~!@#y~!@#\r\n"  // another form's
        "TTestForm.Skipped1.X=s~!@#\r\n"         // a component left untranslated
        "[Collections]\r\n"
        "TTestForm.Grid1.Columns-1+.Cells-2+=k~!@#l~!@#\r\n");
    EXPECT_EQ(f.Lang->LoadFromStream(stStrings, &s, true), 5);
    EXPECT_EQ(f.Lang->NumOfLanguages(), 2);
    EXPECT_EQ(Lines(f.Lang->LangNames()), (std::vector<AnsiString>{"Polski", "English"}));
    EXPECT_EQ(Lines(f.Lang->Strings()),
              (std::vector<AnsiString>{"IDS_OLD\1stary\1old\1", "IDS_DEFAULT\1a\1b\1", "IDS_ONE\1only one text\1"}));
    TStrings* collections = f.Lang->Collections();
    (new TTestGrid(f.Form.get()))->SetName("Grid1");
    f.Lang->LoadFromStream(stCollections, &s, true);
    ASSERT_EQ(collections->Count(), 0);  // no such column: pruned after loading
    EXPECT_EQ(Lines(f.Lang->ScratchList()), (std::vector<AnsiString>{"Grid1.Columns[1].Cells[2]\1k\1l\1"}));

    // A name holding the lists' delimiter is no component's and is skipped:
    // kept, it would be cut at the delimiter at the next save.
    TStringStream delimited("[Strings]\r\nTTestForm.IDS_A\1B=x~!@#\r\nTTestForm.IDS_C\1\r\n");
    LangForm g;
    EXPECT_EQ(g.Lang->LoadFromStream(stStrings, &delimited, true), 2);
    EXPECT_EQ(g.Lang->Strings()->Count(), 0);

    // A names section without Language_1 keeps the component's languages.
    TStringStream noNames("[Language names - for internal use only!]\r\nLanguage_2=x\r\n[Strings]\r\n");
    f.Lang->LoadFromStream(stStrings, &noNames, false);
    EXPECT_EQ(f.Lang->NumOfLanguages(), 2);

    // The next write of the section drops the older keys of this form.
    TStringStream old("[Strings]\r\nForm1.IDS_OLD=x~!@#\r\nTOtherForm.IDS_KEEP=y~!@#\r\n");
    f.Lang->SaveToStream(stStrings, &old, "~!@#");
    const AnsiString text = old.DataString();
    EXPECT_EQ(text.find("Form1.IDS_OLD"), AnsiString::npos);
    EXPECT_NE(text.find("TTestForm.IDS_OLD=stary~!@#old~!@#\r\n"), AnsiString::npos);
    EXPECT_NE(text.find("TOtherForm.IDS_KEEP=y~!@#\r\n"), AnsiString::npos);
}

TEST_F(IniFiles, MergeReplacesTheFilesKeysAndKeepsTheRest) {
    LangForm f;
    (new TTestLabel(f.Form.get()))->SetName("Label2");
    f.Lang->Captions()->Add(E("TTestForm", {"Okno", "Window", ""}));
    f.Lang->Captions()->Add(E("Label2", {"Druga", "Second", ""}));
    f.Lang->Captions()->Add(E("Label1", {"Pierwsza", "First", ""}));
    TStringStream s(
        "[Captions]\r\nTTestForm.Label1=Nowa~!@#New~!@#~!@#\r\nTTestForm.TTestForm=Okienko~!@#~!@#~!@#\r\n");
    EXPECT_TRUE(f.Lang->MergeFromStream(stCaptions, &s));
    EXPECT_EQ(Lines(f.Lang->Captions()),
              (std::vector<AnsiString>{E("TTestForm", {"Okienko", "", ""}), E("Label1", {"Nowa", "New", ""}),
                                       E("Label2", {"Druga", "Second", ""})}));
    EXPECT_EQ(f.Label->Caption(), "Nowa");  // applied
    EXPECT_FALSE(f.Lang->MergeFromStream(stListView_TreeView_Items, &s));
}

TEST_F(IniFiles, MergeAllReachesEveryListOfALinkedComponent) {
    LangForm f(true);
    f.Lang->Strings()->Add(E("IDS_KEEP", {"zostaje", "stays", ""}));
    f.Lang->Strings()->Add(E("IDS_A", {"stare", "old", ""}));
    f.Lang->UpdateStrCollections();
    TStringStream s(
        "[Strings]\r\nTTestForm.IDS_A=nowe~!@#new~!@#~!@#\r\n"
        "[Other]\r\nTTestForm.Label1.Hint=p~!@#hint~!@#~!@#\r\n");
    EXPECT_TRUE(f.Lang->MergeAllFromStream(&s));
    EXPECT_EQ(f.Lang->GetTextOrDefault("IDS_A"), "nowe");  // the look-ups see the merge at once
    EXPECT_EQ(f.Lang->GetTextOrDefault("IDS_KEEP"), "zostaje");
    EXPECT_EQ(Lines(f.Lang->OtherStrings()), (std::vector<AnsiString>{E("Label1.Hint", {"p", "hint", ""})}));
    EXPECT_EQ(f.Label->Hint(), "p");
}

TEST(IniFormat, LanguagesOfAValueAndTheFilesLanguageNames) {
    const AnsiString value = "tak~!@#yes~!@#";
    EXPECT_EQ(lxini::ValueLanguage(value, 1, "~!@#"), "tak");
    EXPECT_EQ(lxini::ValueLanguage(value, 2, "~!@#"), "yes");
    EXPECT_EQ(lxini::ValueLanguage(value, 3, "~!@#"), "");  // after the last delimiter
    EXPECT_EQ(lxini::ValueLanguage(value, 4, "~!@#"), "");
    for (int n : {0, -1}) EXPECT_EQ(lxini::ValueLanguage(value, n, "~!@#"), "") << n;
    EXPECT_EQ(lxini::ValueLanguage(value, 1, ""), "");
    // A NUL ends a line of the file: it can separate nothing.
    EXPECT_THROW(lxini::JoinValue("a\1b\1", '\1', AnsiString("~\0~", 3)), ELanguageError);
    EXPECT_EQ(lxini::JoinValue("a\1b\1", '\1', "~!@#"), "a~!@#b~!@#");

    TMemIniFile ini("");
    TStringList names;
    names.SetCommaText("Polski,\"\"");
    lxini::WriteLanguageNames(ini, &names, 3);  // an empty and a missing name are numbered
    TStringList written;
    ini.ReadSectionValues(lxini::NamesSection, &written);
    EXPECT_EQ(Lines(&written), (std::vector<AnsiString>{"Polski", "Language N2", "Language N3"}));
    EXPECT_EQ(lxini::FileLanguageNumber(ini, "Language N3"), 3);
    EXPECT_EQ(lxini::FileLanguageNumber(ini, "polski"), 0);  // names match exactly
    EXPECT_EQ(lxini::FileLanguageNumber(ini, "Language N"), 0);
}

TEST_F(IniFiles, OneLanguageByNameIsAddedOrReplaced) {
    const std::string file = dir.Write("de.ini",
                                       "[Language names - for internal use only!]\r\n"
                                       "Language_1=English\r\n"
                                       "Language_2=Deutsch\r\n"
                                       "[Captions]\r\n"
                                       "TTestForm.Label1=Label~!@#Beschriftung~!@#\r\n"
                                       "[Strings]\r\n"
                                       "TTestForm.IDS_A=yes~!@#ja~!@#\r\n"
                                       "TTestForm.IDS_NEW=new~!@#neu~!@#\r\n");
    LangForm f;
    f.Lang->Captions()->Add(E("Label1", {"Etykieta", "Label", ""}));
    f.Lang->Strings()->Add(E("IDS_A", {"tak", "yes", "da"}));
    f.Lang->LoadLanguage(file, "Deutsch");
    EXPECT_EQ(f.Lang->NumOfLanguages(), 4);
    EXPECT_EQ(Lines(f.Lang->LangNames()), (std::vector<AnsiString>{"Polski", "Angielski", "Rosyjski", "Deutsch"}));
    EXPECT_EQ(Lines(f.Lang->Captions()), (std::vector<AnsiString>{"Label1\1Etykieta\1Label\1\1Beschriftung"}));
    EXPECT_EQ(Lines(f.Lang->Strings()), (std::vector<AnsiString>{"IDS_A\1tak\1yes\1da\1ja", "IDS_NEW\1\1\1\1neu\1"}));
    f.Lang->SetActLang(4);
    EXPECT_EQ(f.Lang->GetTextOrDefault("IDS_NEW"), "neu");
    EXPECT_EQ(f.Label->Caption(), "Beschriftung");

    // A language the component has is replaced in place.
    const std::string en = dir.Write("en.ini",
                                     "[Language names - for internal use only!]\r\n"
                                     "Language_1=Angielski\r\n"
                                     "[Strings]\r\n"
                                     "TTestForm.IDS_A=YES~!@#\r\n");
    f.Lang->LoadLanguageByProp(stStrings, en, "Angielski");
    EXPECT_EQ(f.Lang->NumOfLanguages(), 4);
    EXPECT_EQ(f.Lang->Strings()->Strings(0), "IDS_A\1tak\1YES\1da\1ja");
    // A name the file lacks, or no file, changes nothing.
    f.Lang->SetDoRaiseExceptions(true);
    EXPECT_NO_THROW(f.Lang->LoadLanguage(file, "Klingon"));
    EXPECT_NO_THROW(f.Lang->LoadLanguage(dir.Path("missing.ini"), "Deutsch"));
    EXPECT_EQ(f.Lang->NumOfLanguages(), 4);
}

// Replacing a text in place, the last language included, whatever shape
// the entry has; and the last language filled from a file by its name.
TEST_F(IniFiles, TheLastLanguageIsReplacedInPlaceAndFilledFromAFile) {
    LangForm f;
    TStrings* strings = f.Lang->Strings();
    strings->Add(E("IDS_A", {"tak", "yes", "da"}));
    strings->Add("IDS_OPEN\1tak\1yes\1da");  // no closing delimiter
    strings->Add("IDS_SHORT\1tak\1");        // languages 2 and 3 missing
    for (int lang = 1; lang <= 3; ++lang)
        EXPECT_NO_THROW(f.Lang->ReplaceStringValue(strings, "new" + std::to_string(lang), lang, "IDS_A")) << lang;
    EXPECT_EQ(strings->Strings(0), E("IDS_A", {"new1", "new2", "new3"}));
    EXPECT_NO_THROW(f.Lang->ReplaceStringValue(strings, "NET", 3, "ids_open"));
    EXPECT_EQ(strings->Strings(1), "IDS_OPEN\1tak\1yes\1NET");
    EXPECT_NO_THROW(f.Lang->ReplaceStringValue(strings, "NET", 3, "IDS_SHORT"));
    for (int lang : {1, 2, 3})
        EXPECT_EQ(ExtractTranslation(strings->Strings(2), '\1', lang), lang == 1 ? "tak" : lang == 2 ? "" : "NET");
    f.Lang->UpdateStrCollections();
    f.Lang->ReplaceStringValue(strings, "da", 3, "IDS_A");  // the look-ups follow at once
    f.Lang->SetActLang(3);
    EXPECT_EQ(f.Lang->GetTextOrDefault("IDS_A"), "da");

    // The file's second language is the component's third and last.
    const std::string file = dir.Write("ru.ini",
                                       "[Language names - for internal use only!]\r\n"
                                       "Language_1=Angielski\r\n"
                                       "Language_2=Rosyjski\r\n"
                                       "[Captions]\r\n"
                                       "TTestForm.Label1=Label~!@#Metka~!@#\r\n"
                                       "[Strings]\r\n"
                                       "TTestForm.IDS_A=yes~!@#Da~!@#\r\n"
                                       "TTestForm.IDS_B=no~!@#net~!@#\r\n");
    f.Lang->Captions()->Add(E("Label1", {"Etykieta", "Label", ""}));
    f.Lang->LoadLanguage(file, "Rosyjski");
    EXPECT_EQ(f.Lang->NumOfLanguages(), 3);
    EXPECT_EQ(Lines(f.Lang->Captions()), (std::vector<AnsiString>{E("Label1", {"Etykieta", "Label", "Metka"})}));
    EXPECT_EQ(strings->Strings(0), E("IDS_A", {"new1", "new2", "Da"}));
    EXPECT_EQ(strings->Strings(strings->Count() - 1), E("IDS_B", {"", "", "net"}));
    EXPECT_EQ(f.Label->Caption(), "Metka");
    EXPECT_EQ(f.Lang->GetTextOrDefault("IDS_B"), "net");
}

TEST_F(IniFiles, BracketsInCollectionKeysSurviveAWriteAndARead) {
    auto withGrid = [](LangForm& F) {
        auto* grid = new TTestGrid(F.Form.get());
        grid->SetName("Grid1");
        grid->Columns()->Add();
        grid->Columns()->Add();
        return grid;
    };
    LangForm f;
    withGrid(f);
    f.Lang->Collections()->Add(E("Grid1.Columns[1].Title", {"Czas", "Time", ""}));
    f.Lang->Collections()->Add(E("Grid1.Columns[0].Title", {"Numer", "Number", ""}));
    TMemoryStream s;
    EXPECT_EQ(f.Lang->SaveToStream(stCollections, &s, "~!@#"), 2);
    const AnsiString text = streamText(s);
    EXPECT_NE(text.find("\r\nTTestForm.Grid1.Columns-0+.Title=Numer~!@#Number~!@#~!@#\r\n"
                        "TTestForm.Grid1.Columns-1+.Title=Czas~!@#Time~!@#~!@#\r\n"),
              AnsiString::npos)
        << text;

    LangForm g;
    TTestGrid* grid = withGrid(g);
    EXPECT_EQ(g.Lang->LoadFromStream(stCollections, &s, true), 2);
    EXPECT_EQ(Lines(g.Lang->Collections()),
              (std::vector<AnsiString>{E("Grid1.Columns[0].Title", {"Numer", "Number", ""}),
                                       E("Grid1.Columns[1].Title", {"Czas", "Time", ""})}));
    g.Lang->SetActLang(2);
    EXPECT_EQ(GetStrProp(grid->Columns()->Items(1), "Title"), "Time");

    // One language by name meets the same keys.
    LangForm h;
    withGrid(h);
    h.Lang->Collections()->Add(E("Grid1.Columns[1].Title", {"Czas", "", ""}));
    h.Lang->LoadLanguageByProp(stCollections, dir.Write("c.ini", text), "Angielski");
    EXPECT_EQ(Lines(h.Lang->Collections()), (std::vector<AnsiString>{E("Grid1.Columns[1].Title", {"Czas", "Time", ""}),
                                                                     E("Grid1.Columns[0].Title", {"", "Number", ""})}));
}

// The file's language N goes to the component's language of that name,
// existing items keep their other texts.
TEST_F(IniFiles, ExtendedTextsOfOneLanguageLandInThatLanguage) {
    LangForm f;
    TlxExtendedItem* caption = f.Lang->ExtendedTranslations()->Add();
    caption->SetIdentifier("Label1.Caption");
    caption->SetValues("Tytul\1\1Zagolovok\1");
    caption->SetPropertyType(tkLString);
    const std::string file = dir.Write("ext.ini",
                                       "[Extended]\r\n"
                                       "TTestForm.Label1.Caption=Title~!@#Zaglavie~!@#\r\n"
                                       "TTestForm.TTestForm.Hint=Hint~!@#Podskazka~!@#\r\n"
                                       "TTestForm.TTestForm.Hint_TypeKind=tkLString\r\n"
                                       "[Language names - for internal use only!]\r\n"
                                       "Language_1=Angielski\r\n"
                                       "Language_2=Rosyjski\r\n");
    f.Lang->LoadLanguageByExt(file, "Angielski");
    EXPECT_EQ(caption->Values(), "Tytul\1Title\1Zagolovok\1");
    const TlxExtendedItem* hint = f.Lang->ExtendedTranslations()->Find("TTestForm.Hint");
    ASSERT_NE(hint, nullptr);
    EXPECT_EQ(hint->Values(), "\1Hint\1\1");
    EXPECT_EQ(hint->PropertyType(), tkLString);
    f.Lang->LoadLanguageByExt(file, "Rosyjski");
    EXPECT_EQ(caption->Values(), "Tytul\1Title\1Zaglavie\1");
    EXPECT_EQ(hint->Values(), "\1Hint\1Podskazka\1");
    EXPECT_EQ(f.Lang->NumOfLanguages(), 3);
    f.Lang->SetActLang(2);
    EXPECT_EQ(f.Label->Caption(), "Title");
    EXPECT_EQ(f.Form->Hint(), "Hint");
}

TEST_F(IniFiles, ExtendedTranslationsTravelWithTheirKinds) {
    LangForm f;
    TlxExtendedItem* caption = f.Lang->ExtendedTranslations()->Add();
    caption->SetIdentifier("Label1.Caption");
    caption->SetValues("Tytul\1Title\1\1");
    caption->SetPropertyType(tkLString);
    TlxExtendedItem* lines = f.Lang->ExtendedTranslations()->Add();
    lines->SetIdentifier("TTestForm.Hint");
    lines->SetValues("a\r\nb\1c\1\1");
    lines->SetPropertyType(tkClass);
    const std::string file = dir.Path("ext.ini");
    f.Lang->SaveAllToFile(file, "~!@#");
    const std::string text = dir.Read("ext.ini");
    EXPECT_NE(text.find("[Extended]\r\nTTestForm.Label1.Caption=Tytul~!@#Title~!@#~!@#\r\n"
                        "TTestForm.Label1.Caption_TypeKind=tkLString\r\n"
                        "TTestForm.TTestForm.Hint=a\x19\x1A"
                        "b~!@#c~!@#~!@#\r\n"
                        "TTestForm.TTestForm.Hint_TypeKind=tkClass\r\n"),
              std::string::npos);

    dir.Write("ext.ini", text + "[Extended]\r\n");  // a repeated section adds nothing
    LangForm g;
    g.Lang->LoadAllFromFile(file, true);
    ASSERT_EQ(g.Lang->ExtendedTranslations()->Count(), 2);
    const TlxExtendedItem* read = g.Lang->ExtendedTranslations()->Find("TTestForm.Hint");
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->Values(), "a\r\nb\1c\1\1");
    EXPECT_EQ(read->PropertyType(), tkClass);
    g.Lang->SetActLang(2);
    EXPECT_EQ(g.Label->Caption(), "Title");

    // Saved alone, they still name their languages: one of them loads by name.
    const std::string alone = dir.Path("alone.ini");
    f.Lang->SaveExtendedToFile(alone, "~!@#");
    LangForm h;
    h.Lang->LoadLanguageByExt(alone, "Angielski");
    const TlxExtendedItem* one = h.Lang->ExtendedTranslations()->Find("Label1.Caption");
    ASSERT_NE(one, nullptr);
    EXPECT_EQ(one->Values(), "\1Title\1\1");

    TStringStream odd(
        "[Extended]\r\nTTestForm.Label1.Caption=x~!@#\r\nTTestForm.Label1.Caption_TypeKind=tkNonsense\r\n");
    g.Lang->LoadExtendedFromStream(&odd, true);
    ASSERT_EQ(g.Lang->ExtendedTranslations()->Count(), 1);
    EXPECT_EQ(g.Lang->ExtendedTranslations()->GetItems(0)->PropertyType(), tkUnknown);
}

TEST_F(IniFiles, MissingFilesAndUnreadableLanguageCounts) {
    LangForm f;
    f.Lang->Strings()->Add(E("IDS_A", {"a", "b", "c"}));
    EXPECT_EQ(f.Lang->LoadFromFile(stStrings, dir.Path("none.ini"), true), -1);
    EXPECT_FALSE(f.Lang->MergeFromFile(stStrings, dir.Path("none.ini")));
    f.Lang->LoadAllFromFile(dir.Path("none.ini"), true);
    EXPECT_EQ(f.Lang->Strings()->Count(), 1);
    EXPECT_EQ(f.Lang->SaveStringsToFile(dir.Path("s.ini"), "~!@#"), 1);
    EXPECT_EQ(f.Lang->LoadStringsFromFile(dir.Path("s.ini"), false), 1);
    EXPECT_EQ(f.Lang->Strings()->Count(), 2);  // not cleared first: appended

    AnsiString many = "[Language names - for internal use only!]\r\n";
    for (int n = 1; n <= MaxLanguageCount + 1; ++n) many += "Language_" + std::to_string(n) + "=L\r\n";
    TStringStream s(many + "[Strings]\r\nTTestForm.IDS_B=x~!@#\r\n");
    EXPECT_EQ(f.Lang->LoadFromStream(stStrings, &s, false), -1);
    EXPECT_EQ(f.Lang->NumOfLanguages(), 3);
}

TEST_F(IniFiles, TheDispatcherSavesAndLoadsEveryRegisteredComponent) {
    TTestDataModule dm(nullptr);
    auto* dispatcher = new TlxLangDispatcher(&dm);
    TStringList names;
    names.SetCommaText("Polski,Angielski,Rosyjski");
    dispatcher->SetLangNames(&names);
    LangForm f;
    OtherForm o;
    f.Lang->Captions()->Add(E("Label1", {"Pierwsza", "First", ""}));
    o.Lang->Captions()->Add(E("Label2", {"Druga", "Second", ""}));
    f.Lang->SetLangDispatcher(dispatcher);
    o.Lang->SetLangDispatcher(dispatcher);
    const std::string file = dir.Path("all.lng");
    dispatcher->SaveAllToFile(file, "~!@#");
    f.Lang->Captions()->Clear();
    o.Lang->Captions()->Clear();
    dispatcher->SetActiveLanguage(2);
    dispatcher->SetNumOfLanguages(4);  // the file's three languages come back
    dispatcher->LoadAllFromFile(file);
    EXPECT_EQ(dispatcher->NumOfLanguages(), 3);
    EXPECT_EQ(f.Label->Caption(), "First");
    EXPECT_EQ(GetStrProp(o.Module->FindComponent("Label2"), "Caption"), "Second");
    EXPECT_EQ(Lines(dispatcher->LangNames()), (std::vector<AnsiString>{"Polski", "Angielski", "Rosyjski"}));

    // Serving the file, it fills a component that joins later.
    dispatcher->SetFileName(file);
    LangForm late;
    late.Lang->SetLangDispatcher(dispatcher);
    EXPECT_EQ(late.Label->Caption(), "First");
    late.Lang->SetLangDispatcher(nullptr);
    f.Lang->SetLangDispatcher(nullptr);
    o.Lang->SetLangDispatcher(nullptr);
}

}  // namespace
