// Look-ups by identifier: the collection path the program uses, the text
// search of the other lists, redirection, fall-backs and test mode.
#include "LocTestSupport.h"

#include "localization/LxStringsCollection.h"

#include <gtest/gtest.h>

namespace {
using namespace loctest;

class Lookup : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterTestClasses();
        lang->SetNumLang(3);
    }
    void setStrings(std::initializer_list<AnsiString> entries) {
        TStringList l;
        for (const AnsiString& e : entries) l.Add(e);
        lang->SetStrings(&l);
    }

    Owned<TTestForm> form{new TTestForm(nullptr)};
    TlxLang* lang = new TlxLang(form.get());
};

TEST_F(Lookup, ActiveLanguageWithLanguageOneFallBackAndEscapes) {
    setStrings(
        {E("IDS_SD", {"Karta SD", "SD card", "SD-\xEA\xE0\xF0\xF2\xE0"}), E("IDS_TWO", {"Jeden\\ndwa", "", ""})});
    lang->SetActLang(2);
    EXPECT_EQ(lang->GetTextOrDefault("ids_sd"), "SD card");
    // Empty in language 2: the default look-up falls back, GetText only with ttGetDefault.
    EXPECT_EQ(lang->GetTextOrDefault("IDS_TWO"), "Jeden\ndwa");
    EXPECT_EQ(lang->GetText("IDS_TWO"), "");
    lang->SetTranslateType(ttGetDefault);
    EXPECT_EQ(lang->GetText("IDS_TWO"), "Jeden\ndwa");
    EXPECT_EQ(lang->GetTextOrDefault("IDS_MISSING"), "");
    lang->SetDoRaiseExceptions(true);
    try {
        lang->GetTextOrDefault("IDS_MISSING");
        FAIL() << "no exception";
    } catch (ELanguageError& e) {
        EXPECT_EQ(e.Message, "String identifier \"IDS_MISSING\" not found!");
    }
}

TEST_F(Lookup, TestModeShowsUntranslatedTextsInCapitalsBeyondLanguageOne) {
    TTestDataModule dm(nullptr);
    auto* dispatcher = new TlxLangDispatcher(&dm);
    dispatcher->SetNumOfLanguages(3);
    dispatcher->SetTestMode(true);
    lang->SetLangDispatcher(dispatcher);
    setStrings({E("IDS_A", {"Zapis \xB3\xF3"
                            "d\x9F",
                            "", ""})});  // "Zapis łódź" in Windows-1250
    EXPECT_EQ(lang->GetText("IDS_A"),
              "Zapis \xB3\xF3"
              "d\x9F");
    lang->SetActLang(3);
    EXPECT_EQ(lang->GetText("IDS_A"),
              "ZAPIS \xA3\xD3"
              "D\x8F");
    TStringList list;  // by index the plain fall-back holds, never the capitals
    list.Add(E("IDS_B", {"zapis", "", ""}));
    AnsiString r;
    lang->GetTextFromByIndex(&list, 0, r, true);
    EXPECT_EQ(r, "zapis");
}

TEST_F(Lookup, LanguageBeyondTheCountFallsBackInsteadOfRaising) {
    setStrings({E("IDS_A", {"pl", "en", "ru"})});
    lang->SetActLang(3);
    lang->SetNumLang(2);
    EXPECT_EQ(lang->ActiveLanguage(), 3);
    EXPECT_EQ(lang->GetTextOrDefault("IDS_A"), "pl");
    EXPECT_EQ(lang->GetText("IDS_A"), "");
    // The same in the other lists, whose entries may still hold the field.
    TStringList list;
    list.Add(E("IDS_A", {"pl", "en", "ru"}));
    AnsiString r = "stale";
    lang->GetTextFrom(&list, "IDS_A", r, false);
    EXPECT_EQ(r, "");
    lang->GetTextFrom(&list, "IDS_A", r, true);
    EXPECT_EQ(r, "pl");
}

TEST_F(Lookup, BinarySearchEdgesAndDuplicates) {
    setStrings({E("IDS_B", {"b"}), E("IDS_A", {"a"})});
    EXPECT_EQ(lang->GetTextOrDefault("IDS_B"), "b");  // found through the M + 1 step
    setStrings({E("IDS_A", {"a"})});
    EXPECT_EQ(lang->GetTextOrDefault("IDS_Z"), "");
    // The exchange sort puts the later of two equal keys first.
    setStrings({E("IDS_K", {"first"}), E("ids_k", {"second"})});
    EXPECT_EQ(lang->GetTextOrDefault("IDS_K"), "second");
    // A short entry gives language 1 and empty texts for the others.
    setStrings({"IDS_S\1only"});
    lang->WithStringsCollection([](const TlxStringsCollection& c) {
        EXPECT_EQ(Lines(&c.GetItems(0)->Values), (std::vector<AnsiString>{"only", "", ""}));
        return 0;
    });
}

TEST_F(Lookup, TextSearchOfOtherListsStaysInsideOneEntry) {
    TStringList list;
    list.Add(E("First", {"mentions Second\1inside"}));
    list.Add("Short\1a\1");
    list.Add(E("Second", {"x", "y", "z"}));
    lang->SetActLang(2);
    AnsiString r = "stale";
    lang->GetTextFrom(&list, "SECOND", r, false);
    EXPECT_EQ(r, "y");
    // Language 2 of "Short" is absent: empty, never the next entry's text.
    lang->GetTextFrom(&list, "Short", r, false);
    EXPECT_EQ(r, "");
    lang->GetTextFrom(&list, "Short", r, true);
    EXPECT_EQ(r, "a");
    lang->GetTextFrom(&list, "inside", r, true);
    EXPECT_EQ(r, "");
    lang->GetTextFrom(&list, "Sec", r, true);  // a whole identifier, not its beginning
    EXPECT_EQ(r, "");
    lang->GetTextFromByIndex(&list, 2, r, false);
    EXPECT_EQ(r, "y");
    lang->GetTextFromByIndex(&list, 3, r, true);
    EXPECT_EQ(r, "");
}

TEST_F(Lookup, RedirectedStringsComeFromTheFirstRegisteredComponentWithAny) {
    TTestDataModule dm(nullptr);
    auto* dispatcher = new TlxLangDispatcher(&dm);
    dispatcher->SetNumOfLanguages(3);
    TTestForm other(nullptr);
    auto* common = new TlxLang(&other);
    common->SetLangDispatcher(dispatcher);
    lang->SetLangDispatcher(dispatcher);
    TStringList l;
    l.Add(E("IDS_C", {"wspolny", "common", ""}));
    common->SetStrings(&l);
    lang->SetOptions(TlxLangOptions{loUseExtUDStrings});
    dispatcher->SetActiveLanguage(2);
    EXPECT_EQ(lang->GetTextOrDefault("IDS_C"), "common");
    // Asking the component that supplies the strings itself is harmless.
    common->SetOptions(TlxLangOptions{loUseExtUDStrings});
    EXPECT_EQ(common->GetTextOrDefault("IDS_C"), "common");
}

TEST(StringsCollection, SearchByTextComparesTheDecodedTextsItWasSortedBy) {
    TlxStringsCollection coll(TlxStringsCollectionItem::StaticClass(), nullptr);
    auto add = [&](const char* id, const char* l1, const char* l2) {
        TlxStringsCollectionItem* item = coll.Add();
        item->ID = id;
        item->Values.Add(l1);
        item->Values.Add(l2);
    };
    add("1", "\\x5A", "zet");  // decodes to "Z"
    add("2", "apple", "jablko");
    add("3", "mango", "mango-pl");
    coll.SetSortLanguage(1);
    coll.Sort();
    EXPECT_EQ(coll.GetTranslationByLang("Z", 2), "zet");
    EXPECT_EQ(coll.GetTranslationByLang("pear", 2), "pear");
    EXPECT_EQ(coll.GetTranslationByLang2("pear", 2), "");
    EXPECT_EQ(coll.GetTranslationByLang("apple", 3), "");  // beyond the item's languages
}

TEST_F(Lookup, AddAndDeleteKeepListAndLookupsInStep) {
    setStrings({E("IDS_SD", {"Karta SD", "SD card", ""})});
    EXPECT_TRUE(lang->AddString("ids_sd", {"Nowa"}));
    EXPECT_EQ(Lines(lang->Strings()), (std::vector<AnsiString>{"ids_sd\1Nowa\1\1\1"}));
    EXPECT_EQ(lang->GetTextOrDefault("IDS_SD"), "Nowa");
    EXPECT_TRUE(lang->AddString("IDS_NEW", {"a", "b", "c"}));
    EXPECT_EQ(lang->GetStringID(1), "IDS_NEW");
    EXPECT_TRUE(lang->DeleteString("IDS_NEW"));
    EXPECT_EQ(lang->GetTextOrDefault("IDS_NEW"), "");
    EXPECT_FALSE(lang->DeleteString("IDS_NEW"));
    try {
        lang->GetStringID(-1);
        FAIL() << "no exception";
    } catch (EListError& e) {
        EXPECT_EQ(e.Message, "List index is out of bonds!");
    }
    EXPECT_EQ(lang->BuildStringByOne("T", 3), "\1\1T\1");
}

}  // namespace
