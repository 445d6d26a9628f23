// Resource strings of the library translated by the first loaded component
// that asks for it, and the small helpers that go with them.
#include "LocTestSupport.h"

#include "TempFolder.h"

#include "classes/Registry.h"
#include "localization/LxHelp.h"
#include "localization/LxTextRoutines.h"
#include "localization/LxTranslationData.h"
#include "rtl/Convert.h"
#include "rtl/ResStrings.h"
#include "vcl/Dialogs.h"

#include <gtest/gtest.h>

namespace {
using namespace loctest;

const AnsiString russianCancel = "\xCE\xF2\xEC\xE5\xED\xE0";

// A form whose component translates resource strings written in English (language 2).
Owned<TTestForm> translatorForm(const char* Name, bool Handle = true, int ResourceLanguage = 2) {
    const AnsiString data = "stStrings\r\n" + E("IDS_CANCEL", {"Anuluj", "Cancel", russianCancel}) + "\r\n" +
                            E("IDS_SELF", {"Sam", "\\x53elf", ""}) + "\r\n" + E("OK", {"Dobrze", "Okay", ""}) + "\r\n";
    return Load<TTestForm>("object " + AnsiString(Name) +
                           ": TTestForm\n"
                           "  object Lang1: TlxLang\n"
                           "    NumOfLanguages = 3\n"
                           "    LangDelim = 1\n" +
                           AnsiString(Handle ? "    HandleResourceStrings = True\n" : "") +
                           "    ResourceLanguageIndex = " + IntToStr(ResourceLanguage) +
                           "\n"
                           "    TranslationData = {" +
                           Hex(data) +
                           "}\n"
                           "  end\n"
                           "end\n");
}

TlxCustomLang* langOf(TComponent* Form) { return dynamic_cast<TlxCustomLang*>(Form->FindComponent("Lang1")); }

class ResourceStrings : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterTestClasses();
        ResetResStringLoader();
    }
    void TearDown() override { ResetResStringLoader(); }
};

TEST_F(ResourceStrings, WithoutATranslatorTheStoredTextsLoad) {
    Owned<TTestForm> form = translatorForm("Form1", false);
    EXPECT_EQ(TlxCustomLang::ResourceTranslator(), nullptr);
    EXPECT_EQ(LoadResString(&rsDlgCancel), "Cancel");
    EXPECT_EQ(LoadResString(&rsDlgNoToAll), "N&o to All");
    const TResStringRec byAddress{nullptr, reinterpret_cast<uintptr_t>("Cancel")};
    EXPECT_EQ(LoadResString(&byAddress), "Cancel");
    const TResStringRec beyond{rsDlgOK.Module, 1000};
    EXPECT_EQ(LoadResString(&beyond), "");
}

TEST_F(ResourceStrings, TheTranslatorFollowsItsActiveLanguage) {
    Owned<TTestForm> form = translatorForm("Form1");
    TlxCustomLang* lang = langOf(form.get());
    ASSERT_EQ(TlxCustomLang::ResourceTranslator(), lang);
    EXPECT_EQ(LoadResString(&rsDlgCancel), "Anuluj");
    const TResStringRec byAddress{nullptr, reinterpret_cast<uintptr_t>("Cancel")};
    EXPECT_EQ(LoadResString(&byAddress), "Anuluj");
    EXPECT_EQ(LoadResString(&rsDlgOK), "OK");  // no entry: unchanged
    // The resource texts are compared after their escapes are decoded.
    const TResStringRec self{nullptr, reinterpret_cast<uintptr_t>("Self")};
    EXPECT_EQ(LoadResString(&self), "Sam");
    lang->SetActLang(3);
    EXPECT_EQ(LoadResString(&rsDlgCancel), russianCancel);
    EXPECT_EQ(LoadResString(&self), "Self");  // empty translation: the loaded text
    lang->SetActLang(2);                      // the resource language itself: no look-up
    EXPECT_EQ(LoadResString(&rsDlgCancel), "Cancel");
}

// Language 0 holds the identifiers: a resource text equal to one is no
// text of a language and stays as loaded.
TEST_F(ResourceStrings, WithoutAResourceLanguageNothingIsTranslated) {
    Owned<TTestForm> form = translatorForm("Form1", true, 0);
    ASSERT_EQ(TlxCustomLang::ResourceTranslator(), langOf(form.get()));
    EXPECT_EQ(LoadResString(&rsDlgOK), "OK");
    EXPECT_EQ(LoadResString(&rsDlgCancel), "Cancel");
}

TEST_F(ResourceStrings, ASecondComponentDoesNotReplaceTheFirst) {
    Owned<TTestForm> first = translatorForm("Form1");
    Owned<TTestForm> second = translatorForm("Form2");
    langOf(second.get())->SetActLang(3);
    EXPECT_EQ(TlxCustomLang::ResourceTranslator(), langOf(first.get()));
    EXPECT_EQ(LoadResString(&rsDlgCancel), "Anuluj");
    second.reset();  // the one that never translated goes: the first stays
    EXPECT_EQ(TlxCustomLang::ResourceTranslator(), langOf(first.get()));
    EXPECT_EQ(LoadResString(&rsDlgCancel), "Anuluj");
}

TEST_F(ResourceStrings, AfterTheTranslatorIsFreedTextsComeBackUntranslated) {
    Owned<TTestForm> form = translatorForm("Form1");
    EXPECT_EQ(LoadResString(&rsDlgCancel), "Anuluj");
    form.reset();
    EXPECT_EQ(TlxCustomLang::ResourceTranslator(), nullptr);
    EXPECT_EQ(LoadResString(&rsDlgCancel), "Cancel");
}

TEST_F(ResourceStrings, DeletedIdentifierIsNoLongerTranslated) {
    Owned<TTestForm> form = translatorForm("Form1");
    TlxCustomLang* lang = langOf(form.get());
    EXPECT_TRUE(lang->DeleteString("IDS_CANCEL"));
    EXPECT_EQ(lang->GetTextOrDefault("IDS_CANCEL"), "");
    EXPECT_EQ(LoadResString(&rsDlgCancel), "Cancel");
}

// The collection searched by the resource language's texts is kept in
// their order when one of them is edited.
TEST_F(ResourceStrings, AnEditedResourceTextIsFoundAtItsNewPlace) {
    Owned<TTestForm> form = translatorForm("Form1");
    TlxCustomLang* lang = langOf(form.get());
    const std::vector<AnsiString> fruit = {"Apple", "Banana", "Cherry", "Damson", "Elder", "Fig", "Grape"};
    for (const AnsiString& w : fruit) lang->Strings()->Add(E("IDS_" + w, {"pl " + w, w, ""}));
    lang->UpdateStrCollections();
    auto translated = [](const AnsiString& Text) {
        const TResStringRec r{nullptr, reinterpret_cast<uintptr_t>(Text.c_str())};
        return LoadResString(&r);
    };
    ASSERT_EQ(translated("Apple"), "pl Apple");
    lang->ReplaceStringValue(lang->Strings(), "Zucchini", 2, "ids_apple");
    EXPECT_EQ(translated("Zucchini"), "pl Apple");
    EXPECT_EQ(translated("Apple"), "Apple");  // nobody's text any more
    for (size_t i = 1; i < fruit.size(); ++i) EXPECT_EQ(translated(fruit[i]), "pl " + fruit[i]);
    EXPECT_EQ(LoadResString(&rsDlgCancel), "Anuluj");
    lang->ReplaceStringValue(lang->Strings(), "pl cukinia", 1, "IDS_APPLE");
    EXPECT_EQ(translated("Zucchini"), "pl cukinia");
}

TEST(LocalizationHelpers, SectionNamesAndXor) {
    for (const char* name : {"Captions", "multilines", "DIALOGS", "Other", "ListView_TreeView_Items"})
        EXPECT_TRUE(IsValidIniSection(name)) << name;
    EXPECT_FALSE(IsValidIniSection("Caption"));
    EXPECT_FALSE(IsValidIniSection("OPTIONS"));
    TStringList names;
    names.Add("old");
    GetIniNames(&names);
    EXPECT_EQ(names.CommaText(),
              "Captions,Hints,DisplayLabels,Fonts,Multilines,Dialogs,Strings,Other,Locales,Collections,CharSets,"
              "ListView_TreeView_Items");
    const AnsiString secret = XorString("ab", "Hello");
    EXPECT_EQ(secret,
              AnsiString({char('H' ^ 'a'), char('e' ^ 'b'), char('l' ^ 'a'), char('l' ^ 'b'), char('o' ^ 'a')}));
    EXPECT_EQ(XorString("ab", secret), "Hello");
    EXPECT_EQ(XorString("", "Hello"), "Hello");
    EXPECT_EQ(XorString("ab", ""), "");
}

TEST(LocalizationHelpers, AMissingHelpFileIsReportedAndNoKeyMeansNothing) {
    yorde::test::TTempFolder dir;
    SetRegistryFolder(dir.Dir());
    std::vector<AnsiString> shown;
    SetMessageBoxHook([&](const AnsiString& Text, const AnsiString& Caption, int Flags) {
        shown.push_back(Caption + ": " + Text);
        EXPECT_EQ(Flags, MB_ICONEXCLAMATION);
        return IDOK;
    });
    DisplayHelpTopic(nullptr, 7);  // no key: nothing
    EXPECT_TRUE(shown.empty());
    {
        TRegistry r;
        ASSERT_TRUE(r.OpenKey(lxHelpRegistryKey, true));
        r.WriteString("HelpFile", dir.Path("lx.hlp"));
    }
    DisplayHelpTopic(nullptr, 7);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].rfind("Error: Cannot find help file \"" + dir.Path("lx.hlp") + "\".\n\r", 0), 0u) << shown[0];
    dir.Write("lx.hlp", "help");
    DisplayHelpTopic(nullptr, 7);  // there: no viewer to open, no message
    EXPECT_EQ(shown.size(), 1u);
    SetMessageBoxHook(nullptr);
    SetRegistryFolder("");
}

}  // namespace
