// Switching languages: range rules, and how each list reaches the owner's
// components through their published properties.
#include "LocTestSupport.h"

#include "localization/LxVclSeam.h"
#include "rtl/FormatSettings.h"
#include "rtl/Paths.h"

#include <gtest/gtest.h>

namespace {
using namespace loctest;

class Switch : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterTestClasses();
        ResetFormatSettings();
        lxResetScreenCursor();
        form->SetName("Form1");
        form->SetCaption("Okno");
        label->SetName("Label1");
        label->SetCaption("Etykieta");
        lang->SetName("lxLang1");
        lang->SetNumLang(3);
    }
    void TearDown() override {
        ResetFormatSettings();
        lxResetScreenCursor();
    }
    template <class T>
    T* add(const char* Name) {
        auto* c = new T(form.get());
        c->SetName(Name);
        return c;
    }

    Owned<TTestForm> form{new TTestForm(nullptr)};
    TTestControl* label = new TTestControl(form.get());
    TlxLang* lang = new TlxLang(form.get());
};

TEST_F(Switch, RangeRulesAndTheSameLanguage) {
    lang->Captions()->Add(E("Label1", {"Etykieta", "Label", "\xCC\xE5\xF2\xEA\xE0"}));
    int events = 0;
    lang->OnChangeLanguage = [&](TObject* sender) {
        EXPECT_EQ(sender, lang);
        ++events;
    };
    lang->SetActLang(1);
    EXPECT_EQ(events, 0);
    EXPECT_EQ(label->CaptionWrites, 1);  // the one of SetUp
    try {
        lang->SetActLang(0);
        FAIL() << "no exception";
    } catch (ELanguageError& e) {
        EXPECT_EQ(e.Message, "0 - is not a valid property value!\rValue must be within [1..3]!");
    }
    EXPECT_THROW(lang->SetActLang(4), ELanguageError);
    EXPECT_EQ(lang->ActiveLanguage(), 1);
    lang->SetActLang(2);
    EXPECT_EQ(label->Caption(), "Label");
    EXPECT_EQ(events, 1);

    form->SetLoading(true);  // while the owner loads a bad value is ignored
    lang->SetActLang(0);
    EXPECT_EQ(lang->ActiveLanguage(), 2);
    form->SetLoading(false);
}

TEST_F(Switch, CaptionsHintsLabelsAndTheOwnersFirstEntry) {
    auto* button = add<TTestControl>("Button1");
    button->SetCaption("Zapisz");
    lang->Captions()->Add(E("TTestForm", {"Okno", "Window", ""}));
    lang->Captions()->Add(E("Label1", {"Etykieta", "", ""}));
    lang->Captions()->Add(E("Button1", {"Zapisz", "Save", "Save"}));
    lang->Hints()->Add(E("TTestForm", {"", "Window hint", ""}));
    lang->DisplayLabels()->Add(E("Label1", {"Pole", "Field", ""}));
    lang->SetActLang(2);
    EXPECT_EQ(form->Caption(), "Window");
    EXPECT_EQ(form->Hint(), "Window hint");
    EXPECT_EQ(label->DisplayLabel(), "Field");
    EXPECT_EQ(label->Caption(), "Etykieta");  // empty text: unchanged
    EXPECT_EQ(button->Caption(), "Save");
    const int writes = button->CaptionWrites;
    lang->SetActLang(3);
    EXPECT_EQ(button->CaptionWrites, writes);  // same text: not written again
    EXPECT_EQ(form->Caption(), "Window");

    lang->SetTranslateType(ttGetDefault);
    lang->SetActLang(2);
    lang->SetActLang(3);
    EXPECT_EQ(form->Caption(), "Okno");
}

TEST_F(Switch, AnAssignedListAppliesAloneAndTheNextChangeAppliesEveryList) {
    lang->Hints()->Add(E("TTestForm", {"", "Window hint", ""}));
    lang->Hints()->Add(E("Label1", {"", "Label hint", ""}));
    TStringList captions;
    captions.Add(E("Label1", {"Etykieta", "Label", ""}));
    lang->SetActLang(2);
    form->SetHint("mine");
    label->SetHint("");
    lang->SetCaptions(&captions);
    EXPECT_EQ(label->Caption(), "Label");
    EXPECT_EQ(label->Hint(), "");            // the hints were not assigned
    EXPECT_EQ(form->Hint(), "Window hint");  // the owner's own texts always follow

    // Re-applied after loading: every list, not only the one assigned last.
    lang->ChangeLanguage();
    EXPECT_EQ(label->Hint(), "Label hint");
}

TEST_F(Switch, OwnerExclusions) {
    lang->Captions()->Add(E("TTestForm", {"Okno", "Window", ""}));
    lang->Captions()->Add(E("Label1", {"Etykieta", "Label", ""}));
    lang->SmartExcludeProps()->Add("TTestForm.Caption");
    lang->SetActLang(2);
    EXPECT_EQ(form->Caption(), "Okno");
    EXPECT_EQ(label->Caption(), "Label");

    lang->SmartExcludeProps()->Clear();
    lang->DoNotTranslate()->Add("TTestForm");
    lang->DoNotTranslate()->Add("Label1");
    lang->SetActLang(1);
    lang->SetActLang(2);
    EXPECT_EQ(form->Caption(), "Okno");
    EXPECT_EQ(label->Caption(), "Label");  // untouched since
}

TEST_F(Switch, ActionSuppliesCaptionsSoTheirEntriesGo) {
    auto* button = add<TTestControl>("Button1");
    button->SetCaption("Z akcji");
    button->SetAction(add<TTestAction>("Action1"));
    lang->Captions()->Add(E("TTestForm", {"Okno", "Window", ""}));  // the first entry is the owner's
    lang->Captions()->Add(E("Button1", {"Zapisz", "Save", ""}));
    lang->Captions()->Add(E("Gone1", {"x", "y", ""}));
    lang->SetActLang(2);
    EXPECT_EQ(button->Caption(), "Z akcji");
    EXPECT_EQ(Lines(lang->Captions()), (std::vector<AnsiString>{E("TTestForm", {"Okno", "Window", ""})}));
    ASSERT_NE(lang->ScratchList(), nullptr);  // a missing component's entry is kept aside
    EXPECT_EQ(Lines(lang->ScratchList()), (std::vector<AnsiString>{E("Gone1", {"x", "y", ""})}));
}

TEST_F(Switch, FontsAndCharsets) {
    auto* own = add<TTestControl>("Verdana1");
    own->SetParentFont(false);
    auto* inherits = add<TTestControl>("Child1");
    lang->Fonts()->Add(E("TTestForm", {"", "", ""}));
    lang->Fonts()->Add(E("Verdana1", {"Verdana", "", "Arial"}));
    lang->Fonts()->Add(E("Child1", {"Verdana", "", "Arial"}));
    lang->CharSets()->Add(E("TTestForm", {"DEFAULT_CHARSET", "", "RUSSIAN_CHARSET"}));
    lang->CharSets()->Add(E("Verdana1", {"DEFAULT_CHARSET", "NO_SUCH_CHARSET", "russian_charset"}));
    lang->CharSets()->Add(E("Child1", {"DEFAULT_CHARSET", "", "RUSSIAN_CHARSET"}));
    lang->SetActLang(3);
    EXPECT_EQ(form->Font()->Charset(), 204);
    EXPECT_EQ(own->Font()->Name(), "Arial");
    EXPECT_EQ(own->Font()->Charset(), 204);
    EXPECT_EQ(own->FontAssigns, 1);  // assigned back once
    EXPECT_EQ(inherits->Font()->Name(), "Tahoma");
    EXPECT_EQ(inherits->Font()->Charset(), 1);
    lang->SetActLang(2);  // no name, unknown charset: unchanged
    EXPECT_EQ(own->Font()->Name(), "Arial");
    EXPECT_EQ(own->Font()->Charset(), 204);
    EXPECT_EQ(form->Font()->Charset(), 204);
    lang->SetActLang(1);
    EXPECT_EQ(form->Font()->Charset(), 1);
    EXPECT_EQ(own->Font()->Name(), "Verdana");
}

TEST_F(Switch, MultiLinesAndOtherStrings) {
    auto* combo = add<TTestCombo>("Combo1");
    auto* memo = add<TTestMemo>("Memo1");
    combo->Items()->SetCommaText("jeden,dwa");
    lang->MultiLines()->Add(E("Combo1.Items", {"jeden,dwa", "\"one, two\",three", ""}));
    lang->MultiLines()->Add(E("Memo1.Lines", {"", "first,second", ""}));
    const AnsiString absolute = ExpandFileName("../help.hlp");
    label->SetHelpKeyword(absolute);
    lang->OtherStrings()->Add(E("Label1.HelpKeyword", {"", "../help.hlp", "pomoc"}));
    lang->OtherStrings()->Add(E("TTestForm.Hint", {"", "From path", ""}));
    lang->OtherStrings()->Add(E("Label1.Font.Name", {"", "Courier", ""}));
    lang->SetActLang(2);
    EXPECT_EQ(Lines(combo->Items()), (std::vector<AnsiString>{"one, two", "three"}));
    EXPECT_EQ(Lines(memo->Lines()), (std::vector<AnsiString>{"first", "second"}));
    EXPECT_TRUE(memo->WordWrap());
    EXPECT_EQ(memo->WrapChanges, 2);            // off while the lines were replaced
    EXPECT_EQ(label->HelpKeyword(), absolute);  // the relative path names the same file
    EXPECT_EQ(form->Hint(), "From path");
    EXPECT_EQ(label->Font()->Name(), "Courier");
    lang->SetActLang(3);
    EXPECT_EQ(label->HelpKeyword(), "pomoc");
}

TEST_F(Switch, CollectionEntriesWithBadPathsAreDropped) {
    auto* grid = add<TTestGrid>("Grid1");
    grid->Columns()->Add();
    grid->Columns()->Add();
    lang->Collections()->Add(E("Grid1.Columns[1].Title", {"Numer", "Number", ""}));
    lang->Collections()->Add(E("Grid1.Columns[0].PickList", {"", "a\r\nb", ""}));
    lang->Collections()->Add(E("Grid1.Columns[5].Title", {"", "x", ""}));
    lang->Collections()->Add(E("Grid1.Columns[-1].Title", {"", "x", ""}));
    lang->Collections()->Add(E("Grid1.Columns[0].NoSuch", {"", "x", ""}));
    lang->SetActLang(2);
    EXPECT_EQ(static_cast<TTestColumn*>(grid->Columns()->Items(1))->Title(), "Number");
    EXPECT_EQ(Lines(static_cast<TTestColumn*>(grid->Columns()->Items(0))->PickList()),
              (std::vector<AnsiString>{"a", "b"}));
    EXPECT_EQ(Lines(lang->Collections()),
              (std::vector<AnsiString>{E("Grid1.Columns[1].Title", {"Numer", "Number", ""}),
                                       E("Grid1.Columns[0].PickList", {"", "a\r\nb", ""})}));
}

TEST_F(Switch, LocalesOnlyWithChangeLocales) {
    lang->Locales()->Clear();
    lang->Locales()->Add(E("Decimal Separator", {".", ",", "."}));
    lang->Locales()->Add(E("Short Day Names", {"", "Su,Mo,Tu,We,Th,Fr,Sa,extra", ""}));
    lang->SetActLang(2);
    EXPECT_EQ(FormatSettings().DecimalSeparator, '.');
    lang->SetChangeLocales(true);
    lang->SetActLang(1);
    lang->SetActLang(2);
    EXPECT_EQ(FormatSettings().DecimalSeparator, ',');
    EXPECT_EQ(FormatSettings().ShortDayNames[6], "Sa");
}

TEST_F(Switch, FewerLanguagesCutEntriesAndNames) {
    lang->Captions()->Add("K\1a\1b\1c\1");
    lang->Captions()->Add("K2\1a\1b\1");  // already two languages: kept whole
    lang->Captions()->Add("K3\1a");
    lang->SetNumLang(2);
    EXPECT_EQ(Lines(lang->Captions()), (std::vector<AnsiString>{"K\1a\1b\1", "K2\1a\1b\1", "K3\1a"}));
    EXPECT_EQ(Lines(lang->LangNames()), (std::vector<AnsiString>{"Language N1", "Language N2"}));
    lang->SetNumLang(3);
    EXPECT_EQ(lang->LangNames()->Strings(2), "Language N3");
    try {
        lang->SetNumLang(0);
        FAIL() << "no exception";
    } catch (ELanguageError& e) {
        EXPECT_EQ(e.Message, "0 - is not a valid property value !\rValue must be more than ZERO !");
    }
    // The cut follows the component's own delimiter.
    lang->SetLangDelim(9);
    lang->Captions()->Clear();
    lang->Captions()->Add("K\ta\tb\tc\t");
    lang->SetNumLang(2);
    EXPECT_EQ(Lines(lang->Captions()), (std::vector<AnsiString>{"K\ta\tb\t"}));
}

TEST_F(Switch, ReplaceStringValuePutsTheTextIntoItsLanguage) {
    TStringList list;
    list.Add("K\1a\1b\1c\1");
    list.Add("S\1a");
    lang->ReplaceStringValue(&list, "X", 2, "k");
    lang->ReplaceStringValue(&list, "Y", 3, "S");
    EXPECT_EQ(Lines(&list), (std::vector<AnsiString>{"K\1a\1X\1c\1", "S\1a\1\1Y"}));
    lang->Strings()->Add(E("IDS_A", {"pl", "en", "ru"}));
    lang->UpdateStrCollections();
    lang->ReplaceStringValue(lang->Strings(), "EN", 2, "ids_a");
    lang->SetActLang(2);
    EXPECT_EQ(lang->GetTextOrDefault("IDS_A"), "EN");
}

TEST_F(Switch, CursorShownDuringTheSwitchAndRestoredOnFailure) {
    lang->SetChangingCursor(TlxCursor(-11));
    int seen = 0;
    lang->OnChangeLanguage = [&](TObject*) {
        seen = lxGetScreenCursor();
        if (lang->ActiveLanguage() == 3) throw Exception("handler failed");
    };
    lang->SetActLang(2);
    EXPECT_EQ(seen, -11);
    EXPECT_EQ(lxGetScreenCursor(), 0);
    EXPECT_THROW(lang->SetActLang(3), Exception);
    EXPECT_EQ(lxGetScreenCursor(), 0);
    lxSetScreenCursor(-21);  // a cursor other than the default is left alone
    lang->SetActLang(1);
    EXPECT_EQ(seen, -21);
}

}  // namespace
