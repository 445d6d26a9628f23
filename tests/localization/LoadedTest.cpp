// What a translation component does once its owner's layout has been read:
// old data fixed up, dialogs and locales completed, registration.
#include "LocTestSupport.h"

#include "localization/LxTranslationData.h"
#include "rtl/FormatSettings.h"

#include <gtest/gtest.h>

namespace {
using namespace loctest;

AnsiString section(const char* Name, std::initializer_list<AnsiString> Entries) {
    AnsiString out = AnsiString(Name) + "\r\n";
    for (const AnsiString& e : Entries) out += e + "\r\n";
    return out;
}

AnsiString formLayout(const char* LangClass, const AnsiString& Properties, const AnsiString& Data,
                      const AnsiString& FormName = "Form1") {
    return "object " + FormName +
           ": TTestForm\n"
           "  object Label1: TTestControl\n"
           "    Caption = 'Etykieta'\n"
           "  end\n"
           "  object Lang1: " +
           AnsiString(LangClass) + "\n" + Properties +
           (Data.empty() ? AnsiString() : "    TranslationData = {" + Hex(Data) + "}\n") +
           "  end\n"
           "end\n";
}

TlxCustomLang* langOf(TComponent* Form) { return dynamic_cast<TlxCustomLang*>(Form->FindComponent("Lang1")); }

class Loaded : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterTestClasses();
        ResetFormatSettings();
    }
};

TEST_F(Loaded, TabDelimitedDataStoredWithDelimiterNineIsConverted) {
    const AnsiString data = section("stCaptions", {"Label1\tA\tB\tC\t"}) + section("stStrings", {"IDS_A\tpl\ten\t\t"});
    Owned<TTestForm> form = Load<TTestForm>(formLayout("TlxLang", "    NumOfLanguages = 3\n    LangDelim = 9\n", data));
    TlxCustomLang* lang = langOf(form.get());
    EXPECT_EQ(lang->LangDelim(), 1);
    EXPECT_EQ(Lines(lang->Captions()), (std::vector<AnsiString>{"Label1\1A\1B\1C\1"}));
    EXPECT_EQ(Lines(lang->DlgsCaptions())[0], "Warning\1Warning\1");
    lang->SetActLang(2);
    EXPECT_EQ(lang->GetTextOrDefault("IDS_A"), "en");
}

TEST_F(Loaded, TabDelimitedDataUnderTheDefaultDelimiterIsConverted) {
    // LangDelim 9 is the stored default, so old data often has no LangDelim
    // at all: the first caption with NumOfLanguages + 1 TABs gives it away.
    const AnsiString data = section("stCaptions", {"Label1\tA\tB\tC\t", "Other\tx\t\t\t"});
    Owned<TTestForm> form = Load<TTestForm>(formLayout("TlxLang", "    NumOfLanguages = 3\n", data));
    TlxCustomLang* lang = langOf(form.get());
    EXPECT_EQ(Lines(lang->Captions()), (std::vector<AnsiString>{"Label1\1A\1B\1C\1", "Other\1x\1\1\1"}));
}

TEST_F(Loaded, TabInsideATextOfCurrentDataStays) {
    const AnsiString data =
        section("stDlgsCaptions", {"Warning\1Uwaga\tUwaga\1"}) + section("stCaptions", {"Label1\1a\tb\tc\td\te\1"});
    Owned<TTestForm> form = Load<TTestForm>(formLayout("TlxLang", "    NumOfLanguages = 3\n    LangDelim = 1\n", data));
    TlxCustomLang* lang = langOf(form.get());
    EXPECT_EQ(Lines(lang->DlgsCaptions()), (std::vector<AnsiString>{"Warning\1Uwaga\tUwaga\1"}));
    EXPECT_EQ(Lines(lang->Captions()), (std::vector<AnsiString>{"Label1\1a\tb\tc\td\te\1"}));
}

TEST_F(Loaded, ElevenLocalesGainTheFourNameLists) {
    std::initializer_list<AnsiString> eleven = {E("Currency String", {"z\xB3"}),
                                                E("Thousand Separator", {" "}),
                                                E("Decimal Separator", {","}),
                                                E("Date Separator", {"-"}),
                                                E("Short Date Format", {"yyyy-mm-dd"}),
                                                E("Long Date Format", {"d mmmm yyyy"}),
                                                E("Time Separator", {":"}),
                                                E("Time AM String", {""}),
                                                E("Time PM String", {""}),
                                                E("Short Time Format", {"hh:nn"}),
                                                E("Long Time Format", {"hh:nn:ss"})};
    Owned<TTestForm> form = Load<TTestForm>(formLayout("TlxLang", "    LangDelim = 1\n", section("stLocales", eleven)));
    const std::vector<AnsiString> locales = Lines(langOf(form.get())->Locales());
    ASSERT_EQ(locales.size(), 15u);
    EXPECT_EQ(locales[10], E("Long Time Format", {"hh:nn:ss"}));
    EXPECT_EQ(locales[12].substr(0, 17), "Long Month Names\1");
    EXPECT_NE(locales[12].find(FormatSettings().LongMonthNames[0]), AnsiString::npos);
    EXPECT_EQ(locales[14].substr(0, 15), "Long Day Names\1");

    Owned<TTestForm> again = Load<TTestForm>(formLayout("TlxLang", "", ""));
    EXPECT_EQ(langOf(again.get())->Locales()->Count(), 15);
}

TEST_F(Loaded, NeedAllDlgsKeepsEightyTwoOrTrimsToTheBasicFifteen) {
    Owned<TTestForm> all = Load<TTestForm>(formLayout("TlxLang", "    NeedAllDlgs = True\n", ""));
    TlxCustomLang* lang = langOf(all.get());
    ASSERT_EQ(lang->DlgsCaptions()->Count(), 82);
    EXPECT_EQ(lang->DlgsCaptions()->Strings(81), "(None)\1(None)\1");
    EXPECT_EQ(lang->DlgsCaptions()->Strings(16), "Look in:\1Look &in:\1");

    const AnsiString stored = WriteTranslationData([&](TStringsType t) { return lang->GetPropListByType(t); });
    Owned<TTestForm> basic = Load<TTestForm>(formLayout("TlxLang", "    LangDelim = 1\n", stored, "Form2"));
    const std::vector<AnsiString> dialogs = Lines(langOf(basic.get())->DlgsCaptions());
    ASSERT_EQ(dialogs.size(), 15u);
    EXPECT_EQ(dialogs[12], "No To All\1N&o to All\1");
    EXPECT_EQ(dialogs[14], "Help\1&Help\1");
}

TEST_F(Loaded, ExcludedPropertiesDropTheirData) {
    const AnsiString data = section("stHints", {E("Label1", {"h"})}) +
                            section("stMultiLines", {E("Combo1.Items", {"a,b"}), E("Memo1.Lines", {"c"})}) +
                            section("stOtherStrings", {E("Label1.HelpKeyword", {"k"}), E("Label1.Name", {"n"})});
    Owned<TTestForm> form = Load<TTestForm>(formLayout("TlxLang",
                                                       "    LangDelim = 1\n"
                                                       "    SmartExcludeProps.Strings = ('Memo1.Lines')\n"
                                                       "    ExcludedProperties.Strings = ('Hint' 'Items')\n",
                                                       data));
    TlxCustomLang* lang = langOf(form.get());
    EXPECT_EQ(lang->Hints()->Count(), 0);
    EXPECT_EQ(lang->MultiLines()->Count(), 0);
    EXPECT_EQ(Lines(lang->OtherStrings()), (std::vector<AnsiString>{E("Label1.HelpKeyword", {"k"})}));
}

TEST_F(Loaded, OnlyOneTranslationComponentPerOwner) {
    TTestForm form(nullptr);
    new TlxLang(&form);
    try {
        new TlxLangLinked(&form);
        FAIL() << "no exception";
    } catch (Exception& e) {
        EXPECT_EQ(e.Message, "Only one TlxCustomLang component per Form/DataModule allowed!");
    }
    EXPECT_EQ(form.ComponentCount(), 1);
}

TEST_F(Loaded, CrossRootDispatcherIsResolvedBeforeLoadedRegisters) {
    TTestDataModule dm(nullptr);
    dm.SetName("DMLang");
    AddGlobalRoot(&dm);
    auto* dispatcher = new TlxLangDispatcher(&dm);
    dispatcher->SetName("lxLangDispatcher1");
    dispatcher->SetNumOfLanguages(3);
    TStringList names;
    names.SetCommaText("Polski,Angielski,Rosyjski");
    dispatcher->SetLangNames(&names);
    dispatcher->SetActiveLanguage(2);

    int linked = 0;
    dispatcher->OnLinkToDispatcher = [&](TObject*, TlxCustomLang*) { ++linked; };
    const AnsiString data = section("stCaptions", {E("Label1", {"Etykieta", "Label", "\xCC\xE5\xF2\xEA\xE0"})}) +
                            section("stStrings", {E("IDS_A", {"pl", "en", "ru"})});
    Owned<TTestForm> form = Load<TTestForm>(
        formLayout("TlxLang", "    LangDispatcher = DMLang.lxLangDispatcher1\n    LangDelim = 1\n", data));
    TlxCustomLang* lang = langOf(form.get());
    ASSERT_EQ(dispatcher->GetLxLangsCount(), 1);
    EXPECT_EQ(dispatcher->GetLxLangs(0), lang);
    EXPECT_EQ(linked, 1);
    EXPECT_EQ(lang->NumOfLanguages(), 3);
    EXPECT_EQ(Lines(lang->LangNames()), (std::vector<AnsiString>{"Polski", "Angielski", "Rosyjski"}));
    EXPECT_EQ(lang->ActiveLanguage(), 2);
    EXPECT_EQ(lang->Language(), "Angielski");
    EXPECT_EQ(GetStrProp(form->FindComponent("Label1"), "Caption"), "Label");
    EXPECT_EQ(lang->GetTextOrDefault("IDS_A"), "en");

    form.reset();  // a freed form leaves the dispatcher
    EXPECT_EQ(dispatcher->GetLxLangsCount(), 0);
}

TEST_F(Loaded, LinkedComponentCopiesTheContainersCommonListsOnce) {
    TTestForm mainForm(nullptr);
    auto* container = new TlxLang(&mainForm);
    container->DlgsCaptions()->SetStrings(0, "Warning\1Uwaga\1");
    container->SetLangDelim(9);

    Owned<TTestForm> dialog = Load<TTestForm>(formLayout("TlxLangLinked", "    LangDelim = 1\n", ""));
    auto* linked = dynamic_cast<TlxLangLinked*>(langOf(dialog.get()));
    EXPECT_EQ(linked->DlgsCaptions()->Strings(0), "Warning\1Warning\1");  // no container: the defaults
    linked->SetCommonContainer(container);
    EXPECT_EQ(linked->DlgsCaptions()->Count(), 15);
    EXPECT_EQ(linked->DlgsCaptions()->Strings(0), "Warning\1Uwaga\1");
    EXPECT_EQ(linked->Locales()->Strings(2).substr(0, 18), "Decimal Separator\1");
    container->DlgsCaptions()->SetStrings(0, "Warning\tChanged\t");
    EXPECT_EQ(linked->DlgsCaptions()->Strings(0), "Warning\1Uwaga\1");

    linked->SetCommonContainer(linked);  // itself: ignored
    EXPECT_EQ(linked->CommonContainer(), container);
    TObject::Free(container);  // the container dies first
    EXPECT_EQ(linked->CommonContainer(), nullptr);
}

}  // namespace
