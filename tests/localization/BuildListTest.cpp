// Collecting the current texts of a form into the lists: new entries,
// renamed components, exclusions and entries whose property is gone.
#include "LocTestSupport.h"

#include "localization/LxExtended.h"
#include "vcl/Menus.h"

#include <gtest/gtest.h>

namespace {
using namespace loctest;

class BuildList : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterTestClasses();
        form->SetName("Form1");
        form->SetCaption("Okno");
        lang->SetName("lxLang1");
        lang->SetNumLang(3);
    }
    template <class T>
    T* add(const char* Name, const AnsiString& Caption = AnsiString()) {
        auto* c = new T(form.get());
        c->SetName(Name);
        c->SetCaption(Caption);
        return c;
    }

    Owned<TTestForm> form{new TTestForm(nullptr)};
    TlxLang* lang = new TlxLang(form.get());
};

TEST_F(BuildList, NewComponentsGetEntriesWithTheirTextAsLanguageOne) {
    add<TTestButton>("OKBtn", "OK")->SetHint("Zatwierdz");
    auto* label = add<TTestLabel>("Label1", "Etykieta");
    label->SetParentFont(false);
    label->Font()->SetName("Verdana");
    label->Font()->SetCharset(238);
    label->SetHelpKeyword("pomoc");
    auto* combo = add<TTestCombo>("Combo1");
    combo->Items()->SetCommaText("\"one, two\",three");
    auto* grid = add<TTestGrid>("Grid1");
    grid->Columns()->Add();
    SetStrProp(grid->Columns()->Items(0), "Title", "Numer");
    auto* separator = new TMenuItem(form.get());
    separator->SetName("N1");
    separator->SetCaption("-");
    lang->BuildList();

    EXPECT_EQ(Lines(lang->Captions()),
              (std::vector<AnsiString>{"TTestForm\1Okno\1\1\1", "OKBtn\1OK\1\1\1", "Label1\1Etykieta\1\1\1",
                                       "Combo1\1\1\1\1", "Grid1\1\1\1\1"}));
    EXPECT_EQ(lang->Hints()->Strings(1), "OKBtn\1Zatwierdz\1\1\1");
    EXPECT_EQ(Lines(lang->Fonts()), (std::vector<AnsiString>{"TTestForm\1Tahoma\1\1\1", "Label1\1Verdana\1\1\1"}));
    EXPECT_EQ(Lines(lang->CharSets()),
              (std::vector<AnsiString>{"TTestForm\1DEFAULT_CHARSET\1\1\1", "Label1\1EASTEUROPE_CHARSET\1\1\1"}));
    EXPECT_EQ(Lines(lang->MultiLines()), (std::vector<AnsiString>{"Combo1.Items\1\"one, two\",three\1\1\1"}));
    EXPECT_NE(lang->OtherStrings()->IndexOf("Label1.HelpKeyword\1pomoc\1\1\1"), -1);
    EXPECT_EQ(Lines(lang->Collections()), (std::vector<AnsiString>{"Grid1.Columns[0].Title\1Numer\1\1\1"}));
    // The translation component's own settings are no texts to translate.
    for (const AnsiString& e : Lines(lang->OtherStrings())) EXPECT_NE(e.rfind("lxLang1.", 0), 0u) << e;

    // What was collected applies back: a round trip changes nothing.
    lang->SetActLang(2);
    lang->SetActLang(1);
    EXPECT_EQ(label->Caption(), "Etykieta");
    EXPECT_EQ(Lines(combo->Items()), (std::vector<AnsiString>{"one, two", "three"}));
}

TEST_F(BuildList, ExistingEntriesTakeTheActiveLanguagesText) {
    auto* label = add<TTestLabel>("Label1", "Label");
    lang->Captions()->Add("TTestForm\1Okno\1Window\1\1");
    lang->Captions()->Add("Label1\1Etykieta\1Label\1\xCC\xE5\xF2\xEA\xE0\1");
    auto* emptied = add<TTestLabel>("Label2");
    lang->Captions()->Add("Label2\1Pusta\1Empty\1\1");
    lang->SetActLang(2);
    label->SetCaption("Caption");
    emptied->SetCaption("");
    form->SetCaption("");  // an empty value leaves the entry as it is, the owner's and a component's
    lang->BuildList();
    EXPECT_EQ(Lines(lang->Captions()), (std::vector<AnsiString>{"TTestForm\1Okno\1Window\1\1",
                                                                "Label1\1Etykieta\1Caption\1\xCC\xE5\xF2\xEA\xE0\1",
                                                                "Label2\1Pusta\1Empty\1\1"}));
}

TEST_F(BuildList, ARenamedComponentKeepsItsTranslations) {
    add<TTestButton>("SaveBtn", "Zapisz");
    lang->Captions()->Add("TTestForm\1Okno\1Window\1\1");
    lang->Captions()->Add("Button1\1Zapisz\1Save\1\xD1\xEE\xF5\xF0\xE0\xED\xE8\xF2\xFC\1");
    lang->Captions()->Add("Gone1\1Inny\1Other\1\1");
    lang->BuildList();
    EXPECT_EQ(Lines(lang->Captions()),
              (std::vector<AnsiString>{"TTestForm\1Okno\1Window\1\1",
                                       "SaveBtn\1Zapisz\1Save\1\xD1\xEE\xF5\xF0\xE0\xED\xE8\xF2\xFC\1"}));
}

TEST_F(BuildList, ExclusionsAndTheUntranslated) {
    auto* label = add<TTestLabel>("Label1", "Etykieta");
    label->SetHint("Podpowiedz");
    add<TTestLabel>("Fixed1", "Stala");
    lang->Captions()->Add("TTestForm\1Okno\1Window\1\1");
    lang->Captions()->Add("Label1\1Etykieta\1Label\1\1");
    TStringList doNot;
    doNot.Add("Fixed1");
    doNot.Add("TTestForm");
    lang->SetDoNotList(&doNot);
    TStringList excluded;
    excluded.Add("Hint");
    lang->SetExProps(&excluded);  // clears the hints and collects again
    TStringList smart;
    smart.Add("Label1.Caption");
    lang->SetSmartProps(&smart);  // the path loses its entry at once
    EXPECT_EQ(lang->Hints()->Count(), 0);
    EXPECT_EQ(Lines(lang->Captions()), (std::vector<AnsiString>{"TTestForm\1Okno\1Window\1\1"}));
    form->SetCaption("Nowe okno");
    lang->BuildList();  // the owner is left untranslated: its entry stays as it was
    EXPECT_EQ(lang->Captions()->Strings(0), "TTestForm\1Okno\1Window\1\1");
    EXPECT_EQ(lang->OtherStrings()->IndexOf("Fixed1.HelpKeyword\1\1\1\1"), -1);
}

TEST_F(BuildList, EntriesWhoseComponentLacksThePropertyGo) {
    add<TTestLabel>("Label1", "Etykieta");
    (new TTestAction(form.get()))->SetName("Action1");
    lang->Captions()->Add("TTestForm\1Okno\1\1\1");
    lang->Captions()->Add("Action1\1Akcja\1\1\1");  // an action has no caption
    lang->Captions()->Add("\1Bez nazwy\1\1\1");     // no name: a damaged entry
    lang->OtherStrings()->Add("Label1.NoSuchText\1x\1\1\1");
    lang->OtherStrings()->Add("Label1.Font.Name\1Arial\1\1\1");
    lang->OtherStrings()->Add(".Hint\1x\1\1\1");
    lang->CheckRmdProps();
    EXPECT_EQ(Lines(lang->Captions()), (std::vector<AnsiString>{"TTestForm\1Okno\1\1\1"}));
    EXPECT_EQ(Lines(lang->OtherStrings()), (std::vector<AnsiString>{"Label1.Font.Name\1Arial\1\1\1"}));
}

TEST_F(BuildList, ADesignTimeSwitchRecordsTheLanguageBeingLeft) {
    auto* label = add<TTestLabel>("Label1", "Etykieta");
    lang->Captions()->Add("TTestForm\1Okno\1Window\1\1");
    lang->Captions()->Add("Label1\1Etykieta\1Label\1\1");
    TlxExtendedItem* item = lang->ExtendedTranslations()->Add();
    item->SetIdentifier("Label1.Hint");
    item->SetValues("stara\1old\1\1");
    form->SetDesigning(true);
    label->SetCaption("Poprawiona");  // edited in the designer
    label->SetHint("nowa");
    lang->SetActLang(2);
    EXPECT_EQ(lang->Captions()->Strings(1), "Label1\1Poprawiona\1Label\1\1");
    EXPECT_EQ(item->Values(), "nowa\1old\1\1");
    EXPECT_EQ(label->Caption(), "Label");
    form->SetDesigning(false);
}

}  // namespace
