// Extended translations: properties reached by path, read and written as
// text by their kind, and applied with the language.
#include "LocTestSupport.h"

#include "localization/LxExtended.h"

#include <gtest/gtest.h>

namespace {
using namespace loctest;

class Extended : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterTestClasses();
        form->SetName("Form1");
        form->SetCaption("Okno");
        label->SetName("Label1");
        label->SetCaption("Etykieta");
        grid->SetName("Grid1");
        grid->Columns()->Add();
        grid->Columns()->Add();
        combo->SetName("Combo1");
        lang->SetName("lxLang1");
        lang->SetNumLang(3);
    }
    TlxExtendedItem* item(const AnsiString& Path, const AnsiString& Values) {
        TlxExtendedItem* i = lang->ExtendedTranslations()->Add();
        i->SetIdentifier(Path);
        i->SetValues(Values);
        i->SetPropertyType(lang->GetPropTypeByPath(Path));
        return i;
    }

    Owned<TTestForm> form{new TTestForm(nullptr)};
    TTestLabel* label = new TTestLabel(form.get());
    TTestGrid* grid = new TTestGrid(form.get());
    TTestCombo* combo = new TTestCombo(form.get());
    TlxLang* lang = new TlxLang(form.get());
};

TEST_F(Extended, PathsReachComponentsTheOwnerNestedObjectsAndCollectionItems) {
    EXPECT_EQ(lang->GetObjByPath("Label1.Caption"), label);
    EXPECT_EQ(lang->GetObjByPath("TTestForm.Caption"), form.get());
    EXPECT_EQ(lang->GetObjByPath("Label1.Font.Name"), label->Font());
    EXPECT_EQ(lang->GetObjByPath("Grid1.Columns[1].Title"), grid->Columns()->Items(1));
    lang->SetPropValueByPath("Grid1.Columns[1].Title", "Czas");
    EXPECT_EQ(GetStrProp(grid->Columns()->Items(1), "Title"), "Czas");
    lang->SetPropValueByPath("TTestForm.Caption", "Nowe okno");
    EXPECT_EQ(form->Caption(), "Nowe okno");
    // Anything that does not resolve is "not found", never an error.
    for (const char* bad :
         {"Nobody.Caption", "Label1.Nothing.Name", "Grid1.Columns[2].Title", "Grid1.Columns[-1].Title",
          "Grid1.Columns[x].Title", "Grid1.Columns.Title", "Grid1.Columns[1.Title", "Label1"}) {
        SCOPED_TRACE(bad);
        EXPECT_EQ(lang->GetObjByPath(bad), nullptr);
        EXPECT_NO_THROW(lang->SetPropValueByPath(bad, "x"));
        EXPECT_EQ(lang->GetPropTypeByPath(bad), tkUnknown);
        EXPECT_EQ(lang->GetPropValueByPath(bad), "");
    }
    EXPECT_NO_THROW(lang->SetPropValueByPath("Label1.NoSuchProperty", "x"));
    EXPECT_EQ(label->Caption(), "Etykieta");
}

TEST_F(Extended, ValuesTravelAsTextByKind) {
    EXPECT_EQ(lang->GetPropTypeByPath("Label1.Caption"), tkLString);
    EXPECT_EQ(lang->GetPropTypeByPath("Combo1.Items"), tkClass);
    EXPECT_EQ(lang->GetPropTypeByPath("Label1.Font"), tkUnknown);  // a class, but no string list
    EXPECT_EQ(lang->GetPropTypeByPath("Label1.Align"), tkEnumeration);

    lang->SetPropValueByPath("Label1.Width", "120");
    EXPECT_EQ(label->Width(), 120);
    lang->SetPropValueByPath("Label1.Width", "12x");  // not a number: unchanged
    EXPECT_EQ(lang->GetPropValueByPath("Label1.Width"), "120");
    lang->SetPropValueByPath("Label1.Align", "alClient");
    EXPECT_EQ(label->Align(), alClient);
    lang->SetPropValueByPath("Label1.Align", "alNowhere");
    EXPECT_EQ(lang->GetPropValueByPath("Label1.Align"), "alClient");
    lang->SetPropValueByPath("Label1.ParentFont", "False");
    EXPECT_FALSE(label->ParentFont());
    lang->SetPropValueByPath("Label1.Font.Style", "fsBold,fsItalic");
    EXPECT_EQ(lang->GetPropValueByPath("Label1.Font.Style"), "fsBold,fsItalic");
    lang->SetPropValueByPath("Label1.Color", "255");
    EXPECT_EQ(lang->GetPropValueByPath("Label1.Color"), "255");  // always decimal
    lang->SetPropValueByPath("Grid1.Zoom", "1.5");
    EXPECT_DOUBLE_EQ(grid->Zoom(), 1.5);
    EXPECT_EQ(lang->GetPropValueByPath("Grid1.Zoom"), "1.5");
    lang->SetPropValueByPath("Grid1.Accel", "Zed");
    EXPECT_EQ(lang->GetPropValueByPath("Grid1.Accel"), "Z");
    lang->SetPropValueByPath("Grid1.Stamp", "8589934592");
    EXPECT_EQ(grid->Stamp(), 8589934592LL);
    EXPECT_EQ(lang->GetPropValueByPath("Grid1.Stamp"), "8589934592");

    // A string list is updated line by line: the objects of kept lines stay.
    TTestAction a(nullptr), b(nullptr), c(nullptr);
    combo->Items()->AddObject("jeden", &a);
    combo->Items()->AddObject("dwa", &b);
    combo->Items()->AddObject("trzy", &c);
    lang->SetPropValueByPath("Combo1.Items", "one\r\ntwo");
    EXPECT_EQ(Lines(combo->Items()), (std::vector<AnsiString>{"one", "two"}));
    EXPECT_EQ(combo->Items()->Objects(0), &a);
    EXPECT_EQ(combo->Items()->Objects(1), &b);
    EXPECT_EQ(lang->GetPropValueByPath("Combo1.Items"), "one\r\ntwo\r\n");
}

TEST_F(Extended, TheActiveLanguageIsWrittenOnEverySwitch) {
    item("Label1.Caption", "Etykieta\1Label\1\1");
    item("TTestForm.Caption", "Okno\1Window\1\xCE\xEA\xED\xEE\1");
    item("Combo1.Items", "jeden\r\ndwa\1one\r\ntwo\1\1");
    item("Grid1.Columns[0].Title", "Numer\1Number\1\1");
    item("Grid1.Columns[9].Title", "x\1y\1z\1");  // no such item: skipped
    lang->SetActLang(2);
    EXPECT_EQ(label->Caption(), "Label");
    EXPECT_EQ(form->Caption(), "Window");
    EXPECT_EQ(Lines(combo->Items()), (std::vector<AnsiString>{"one", "two"}));
    EXPECT_EQ(GetStrProp(grid->Columns()->Items(0), "Title"), "Number");
    lang->SetActLang(3);  // empty in language 3: left as it is
    EXPECT_EQ(label->Caption(), "Label");
    EXPECT_EQ(form->Caption(), "\xCE\xEA\xED\xEE");
    lang->SetTranslateType(ttGetDefault);
    lang->SetActLang(2);
    lang->SetActLang(3);  // now language 1 stands in
    EXPECT_EQ(label->Caption(), "Etykieta");

    // Only a switch of every list reaches the items, not a single list's setter.
    label->SetCaption("Zmieniona");
    TStringList captions;
    lang->SetCaptions(&captions);
    EXPECT_EQ(label->Caption(), "Zmieniona");
}

TEST_F(Extended, TestModeShowsUntranslatedTextsInCapitals) {
    TTestDataModule dm(nullptr);
    auto* dispatcher = new TlxLangDispatcher(&dm);
    dispatcher->SetNumOfLanguages(3);
    dispatcher->SetTestMode(true);
    lang->SetLangDispatcher(dispatcher);
    item("Label1.Caption", "Etykieta\1\1\1");
    dispatcher->SetActiveLanguage(2);
    EXPECT_EQ(label->Caption(), "ETYKIETA");
    lang->SetLangDispatcher(nullptr);
}

TEST_F(Extended, UpdateTakesTheLiveValueOfTheActiveLanguage) {
    TlxExtendedItem* caption = item("Label1.Caption", "Etykieta\1Label\1Metka\1");
    TlxExtendedItem* empty = item("Label1.Hint", "\1Hint\1\1");
    lang->SetActLang(2);
    label->SetCaption("Caption");
    label->SetHint("Live hint");
    lang->UpdateExtended();
    EXPECT_EQ(caption->Values(), "Etykieta\1Caption\1Metka\1");
    EXPECT_EQ(empty->Values(), "\1Live hint\1\1");
    lang->SetActLang(1);
    label->SetHint("Podpowiedz");
    lang->UpdateExtended();
    EXPECT_EQ(empty->Values(), "\1Live hint\1\1");  // nothing stored for language 1: kept
}

TEST_F(Extended, ItemsTravelInTheLayoutAndFollowRenamedComponents) {
    item("Label1.Caption", "Etykieta\1Label\1\1");
    Owned<TTestForm> copy = Load<TTestForm>(WriteLayout(form.get()));
    auto* read = dynamic_cast<TlxLang*>(copy->FindComponent(lang->Name()));
    ASSERT_NE(read, nullptr);
    ASSERT_EQ(read->ExtendedTranslations()->Count(), 1);
    const TlxExtendedItem* it = read->ExtendedTranslations()->GetItems(0);
    EXPECT_EQ(it->GetIdentifier(), "Label1.Caption");
    EXPECT_EQ(it->Values(), "Etykieta\1Label\1\1");
    EXPECT_EQ(it->PropertyType(), tkLString);

    TlxExtendedItem* own = lang->ExtendedTranslations()->GetItems(0);
    own->SetRelComponent(label);
    label->SetName("Title1");
    EXPECT_EQ(own->GetIdentifier(), "Title1.Caption");
    EXPECT_EQ(lang->ExtendedTranslations()->Find("title1.caption"), own);
}

}  // namespace
