// Combo boxes, list boxes and radio buttons: which changes raise events,
// from code and from the user.
#include "ControlsFixture.h"

#include "qt/QtPlatform.h"
#include "vcl/ComboBox.h"
#include "vcl/ListBox.h"
#include "vcl/RadioButton.h"
#include "vcl/StdCtrls.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>

#include <utility>

namespace {

using namespace yorde::test;

class ComboTest : public ControlsTest {
protected:
    TComboBox* make(TComboBoxStyle Style) {
        TComboBox* c = Put<TComboBox>(10, 10, 150, 21);
        c->SetStyle(Style);
        c->Items()->SetCommaText("alpha,beta,gamma");
        c->OnChange = [this](TObject*) { ++changes; };
        c->OnClick = [this](TObject*) { ++clicks; };
        return c;
    }
    static QComboBox* box(TComboBox* c) { return static_cast<QComboBox*>(yorde::qt::WidgetOf(c)); }

    int changes = 0;
    int clicks = 0;
};

TEST_F(ComboTest, ItemIndexFromCodeRaisesNothingAndOutOfRangeSelectsNothing) {
    for (TComboBoxStyle style : {csDropDownList, csDropDown}) {
        TComboBox* c = make(style);
        c->SetItemIndex(1);
        EXPECT_EQ(c->Text(), "beta");
        EXPECT_EQ(box(c)->currentText(), QString("beta"));
        c->SetItemIndex(7);
        EXPECT_EQ(c->ItemIndex(), -1);
        EXPECT_EQ(c->Text(), "");
        c->SetItemIndex(2);
        c->SetItemIndex(3);  // one past the last item
        EXPECT_EQ(c->ItemIndex(), -1);
        EXPECT_EQ(c->Text(), "");
        c->SetItemIndex(2);
        c->SetItemIndex(-5);
        EXPECT_EQ(c->ItemIndex(), -1);
        // -1 clears the text of the editable style too, typed or set.
        c->SetText("typed");
        c->SetItemIndex(-1);
        EXPECT_EQ(c->Text(), "");
        EXPECT_EQ(changes, 0) << style;
        EXPECT_EQ(clicks, 0) << style;
    }
}

TEST_F(ComboTest, TextFromCodeRaisesNothing) {
    TComboBox* edit = make(csDropDown);
    edit->SetText("somebody");
    EXPECT_EQ(edit->Text(), "somebody");
    EXPECT_EQ(edit->ItemIndex(), -1);
    EXPECT_EQ(box(edit)->lineEdit()->text(), QString("somebody"));
    edit->SetText("gamma");
    EXPECT_EQ(edit->ItemIndex(), 2);

    TComboBox* list = make(csDropDownList);
    list->SetText("beta");
    EXPECT_EQ(list->ItemIndex(), 1);
    list->SetText("nobody");
    EXPECT_EQ(list->ItemIndex(), -1);
    EXPECT_EQ(list->Text(), "");
    EXPECT_EQ(changes, 0);
}

TEST_F(ComboTest, TextFromCodeShowsFromItsStartWhenWiderThanTheBox) {
    TComboBox* c = make(csDropDown);
    const char* prompt = "a prompt much wider than the box it is shown in";
    c->SetText(prompt);
    QLineEdit* line = box(c)->lineEdit();
    EXPECT_EQ(line->text(), QString(prompt));
    EXPECT_EQ(line->cursorPosition(), 0);
    // Picking an item from code goes through Qt's own text change.
    c->Items()->Add(prompt);
    line->end(false);
    c->SetItemIndex(3);
    EXPECT_EQ(line->cursorPosition(), 0);
    // The user's typing keeps its place.
    line->end(false);
    TypeText(c, "s");
    EXPECT_EQ(line->cursorPosition(), line->text().size());
}

TEST_F(ComboTest, EveryPickByTheUserRaisesOnChange) {
    TComboBox* c = make(csDropDownList);
    c->SetItemIndex(0);
    PressKey(c, VK_DOWN);
    EXPECT_EQ(c->ItemIndex(), 1);
    EXPECT_EQ(c->Text(), "beta");
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(clicks, 1);
    PressKey(c, VK_DOWN);
    PressKey(c, VK_DOWN);  // already the last: no pick
    EXPECT_EQ(c->ItemIndex(), 2);
    EXPECT_EQ(changes, 2);

    // The editable style picks the same way.
    TComboBox* e = make(csDropDown);
    PressKey(e, VK_DOWN);
    EXPECT_EQ(e->Text(), "alpha");
    EXPECT_EQ(changes, 3);

    // With OnSelect set, a pick raises it instead of OnChange.
    int selects = 0;
    c->OnSelect = [&](TObject*) { ++selects; };
    PressKey(c, VK_UP);
    EXPECT_EQ(c->ItemIndex(), 1);
    EXPECT_EQ(selects, 1);
    EXPECT_EQ(changes, 3);
    EXPECT_EQ(clicks, 4);

    // Picking the item already shown is a pick as well.
    ASSERT_EQ(e->ItemIndex(), 0);
    emit box(e)->activated(0);
    EXPECT_EQ(e->ItemIndex(), 0);
    EXPECT_EQ(changes, 4);
    EXPECT_EQ(clicks, 5);
}

TEST_F(ComboTest, EveryKeystrokeThatChangesTheEditableTextRaisesOnChange) {
    TComboBox* c = make(csDropDown);
    std::vector<AnsiString> seen;
    c->OnChange = [&](TObject*) { seen.push_back(c->Text()); };
    TypeText(c, "be");
    PressKey(c, VK_LEFT);
    PressKey(c, VK_END);
    TypeText(c, "ta");
    ASSERT_EQ(seen, (std::vector<AnsiString>{"b", "be", "bet", "beta"}));
    EXPECT_EQ(c->ItemIndex(), 1);
    // Enter on an item's text is no pick.
    PressKey(c, VK_RETURN);
    EXPECT_EQ(seen.size(), 4u);
    PressKey(c, VK_BACK);
    EXPECT_EQ(c->Text(), "bet");
    EXPECT_EQ(c->ItemIndex(), -1);
    EXPECT_EQ(seen.size(), 5u);
    // Typing never adds to the items.
    PressKey(c, VK_RETURN);
    EXPECT_EQ(seen.size(), 5u);
    EXPECT_EQ(c->Items()->Count(), 3);
    EXPECT_EQ(box(c)->count(), 3);
    // A letter typed over the same letter leaves the text as it was: no change.
    box(c)->lineEdit()->setSelection(2, 1);
    TypeText(c, "t");
    EXPECT_EQ(c->Text(), "bet");
    EXPECT_EQ(seen.size(), 5u);
}

TEST_F(ComboTest, AnEditableComboEntersOnceAndItsKeysComeFirst) {
    TComboBox* c = make(csDropDown);
    Put<TEdit>(10, 50, 100, 21)->SetFocus();
    int enters = 0;
    std::vector<AnsiString> atKeyDown;
    c->OnEnter = [&](TObject*) { ++enters; };
    c->OnKeyDown = [&](TObject*, WORD&, TShiftState) { atKeyDown.push_back(c->Text()); };
    // Focus events come only to the active window.
    QApplication::setActiveWindow(yorde::qt::WidgetOf(form.get()));
    c->SetFocus();
    ProcessEvents();
    EXPECT_EQ(enters, 1);
    EXPECT_TRUE(c->Focused());
    TypeText(c, "x");
    PressKey(c, VK_DOWN);
    EXPECT_EQ(atKeyDown, (std::vector<AnsiString>{"", "x"}));
    EXPECT_EQ(c->Text(), "alpha");
}

TEST_F(ComboTest, MaxLengthLimitsTypingButNotCode) {
    TComboBox* c = make(csDropDown);
    c->SetMaxLength(3);
    TypeText(c, "abcd");
    EXPECT_EQ(c->Text(), "abc");
    c->SetText("longer text");
    EXPECT_EQ(c->Text(), "longer text");
    EXPECT_EQ(box(c)->lineEdit()->text(), QString("longer text"));
}

TEST_F(ComboTest, ItemChangesKeepTheSelectedItem) {
    TComboBox* c = make(csDropDownList);
    c->SetItemIndex(1);
    c->Items()->Insert(0, "first");
    EXPECT_EQ(c->ItemIndex(), 2);
    EXPECT_EQ(c->Text(), "beta");
    c->SetSorted(true);
    EXPECT_EQ(c->Items()->CommaText(), "alpha,beta,first,gamma");
    EXPECT_EQ(c->ItemIndex(), 1);
    c->Items()->Delete(1);
    EXPECT_EQ(c->ItemIndex(), -1);
    EXPECT_EQ(c->Text(), "");

    // Clearing the items keeps the text an editable combo shows.
    TComboBox* e = make(csDropDown);
    e->SetText("kept");
    e->Items()->Clear();
    EXPECT_EQ(e->Text(), "kept");
    EXPECT_EQ(changes, 0);
}

TEST_F(ComboTest, ItemsAreReachableByNameAsCommaText) {
    TComboBox* c = make(csDropDownList);
    const TPropInfo* items = c->ClassType()->FindProperty("Items");
    ASSERT_TRUE(items);
    static_cast<TStrings*>(items->GetObj(c))->SetCommaText("Tak,Nie");
    EXPECT_EQ(box(c)->count(), 2);
    EXPECT_EQ(box(c)->itemText(1), QString("Nie"));
    for (const char* name : {"Style", "ItemIndex", "Sorted", "DropDownCount", "MaxLength", "Text", "Hint", "OnChange",
                             "OnSelect", "OnDropDown"})
        EXPECT_TRUE(c->ClassType()->FindProperty(name)) << name;
}

TEST_F(ComboTest, ItemsAndTextFollowTheEffectiveCharset) {
    TComboBox* c = make(csDropDown);
    c->Items()->SetCommaText("\xC6,\x98");  // Ж and a byte 1251 leaves undefined
    c->SetText("\xC6\xE0");
    // The combo's font follows the form's while ParentFont holds.
    form->Font()->SetCharset(RUSSIAN_CHARSET);
    EXPECT_EQ(box(c)->itemText(0), QString::fromUtf8("Ж"));
    EXPECT_EQ(box(c)->lineEdit()->text(), QString::fromUtf8("Жа"));
    EXPECT_EQ(c->Items()->Strings(1), "\x98");
    EXPECT_EQ(c->Text(), "\xC6\xE0");
    box(c)->lineEdit()->end(false);
    TypeText(c, "ąж");
    EXPECT_EQ(c->Text(), "\xC6\xE0\xE6") << "ą has no place in 1251: refused, not turned into '?'";
    form->Font()->SetCharset(DEFAULT_CHARSET);
    EXPECT_EQ(box(c)->itemText(0), QString::fromUtf8("Ć"));
}

TEST_F(ComboTest, AComboOfUserDataKeepsTheAnsiCodePageInARussianWindow) {
    TComboBox* c = make(csDropDown);
    c->SetUserData(true);
    form->Font()->SetCharset(RUSSIAN_CHARSET);
    c->Items()->SetCommaText("\xA3ucja,anna");  // "Łucja" in 1250
    EXPECT_EQ(box(c)->itemText(0), QString::fromUtf8("Łucja"));
    TypeText(c, "Łuж");
    EXPECT_EQ(c->Text(), "\xA3u") << "ж has no place in 1250";
    TypeText(c, "cja");
    EXPECT_EQ(c->Text(), c->Items()->Strings(0));
    // A translated prompt among the names reads in the font's code page while it stands.
    const AnsiString prompt = Utf8ToCodePage("Выберите", 1251);
    c->SetTranslatedText(prompt);
    EXPECT_EQ(box(c)->lineEdit()->text(), QString::fromUtf8("Выберите"));
    EXPECT_EQ(c->Text(), prompt);
    c->SetItemIndex(0);
    EXPECT_EQ(box(c)->lineEdit()->text(), QString::fromUtf8("Łucja"));
    c->SetText(prompt);
    EXPECT_EQ(box(c)->lineEdit()->text(), QString::fromStdString(CodePageToUtf8(prompt, 1250)))
        << "the same bytes set as data are data";
    c->SetItemIndex(1);
    c->SetUserData(false);
    EXPECT_EQ(box(c)->itemText(0), QString::fromStdString(CodePageToUtf8("\xA3ucja", 1251)));
}

// ---------------------------------------------------------------------------

class ListBoxTest : public ControlsTest {
protected:
    void SetUp() override {
        ControlsTest::SetUp();
        list = Put<TListBox>(10, 10, 150, 120);
        list->Items()->SetCommaText("one,two,three");
        list->OnClick = [this](TObject*) { events.push_back("click " + std::to_string(list->ItemIndex())); };
        list->OnDblClick = [this](TObject*) { events.push_back("dblclick"); };
    }
    QListWidget* widget() { return static_cast<QListWidget*>(yorde::qt::WidgetOf(list)); }
    QPoint centreOf(int row) { return widget()->visualItemRect(widget()->item(row)).center(); }

    TListBox* list = nullptr;
    std::vector<std::string> events;
};

TEST_F(ListBoxTest, ItemIndexFromCodeRaisesNothing) {
    list->SetItemIndex(2);
    EXPECT_EQ(widget()->currentRow(), 2);
    list->SetItemIndex(3);
    EXPECT_EQ(list->ItemIndex(), -1);
    EXPECT_TRUE(widget()->selectedItems().isEmpty());
    EXPECT_TRUE(events.empty());
}

// The selection stays on its text while items are added, sorted or
// removed, and goes when its item goes.
TEST_F(ListBoxTest, TheSelectionFollowsItsTextWhenTheItemsChange) {
    list->SetItemIndex(2);
    list->Items()->Insert(0, "zero");
    EXPECT_EQ(list->ItemIndex(), 3);
    list->SetSorted(true);
    EXPECT_EQ(list->Items()->CommaText(), "one,three,two,zero");
    EXPECT_EQ(list->ItemIndex(), 1);
    EXPECT_EQ(widget()->currentRow(), 1);
    EXPECT_EQ(widget()->item(1)->text(), "three");
    list->Items()->Add("four");  // a sorted list keeps its order
    EXPECT_EQ(list->Items()->CommaText(), "four,one,three,two,zero");
    EXPECT_EQ(list->ItemIndex(), 2);
    list->Items()->Delete(2);
    EXPECT_EQ(list->ItemIndex(), -1);
    EXPECT_TRUE(widget()->selectedItems().isEmpty());
    EXPECT_TRUE(events.empty());  // none of it was the user's doing
}

TEST_F(ListBoxTest, TheUsersSelectionRaisesOnClickThenOnDblClick) {
    Click(list, centreOf(1).x(), centreOf(1).y());
    EXPECT_EQ(list->ItemIndex(), 1);
    PressKey(list, VK_DOWN);
    EXPECT_EQ(list->ItemIndex(), 2);
    DoubleClick(list, centreOf(0).x(), centreOf(0).y());
    EXPECT_EQ(events, (std::vector<std::string>{"click 1", "click 2", "click 0", "dblclick"}));
}

TEST_F(ListBoxTest, AHandlerMayFreeTheListItIsCalledFor) {
    // Freeing the list frees this handler too: nothing may follow the Free.
    list->OnDblClick = [this](TObject*) { TObject::Free(std::exchange(list, nullptr)); };
    QPointer<QWidget> shown = widget();
    DoubleClick(list, centreOf(2).x(), centreOf(2).y());
    EXPECT_EQ(list, nullptr);
    EXPECT_TRUE(shown && shown->isHidden());  // retired, deleted once idle
    ProcessEvents();
    EXPECT_FALSE(shown);
}

// ---------------------------------------------------------------------------

TEST_F(ControlsTest, RadioButtonsClickWhenTheyBecomeChecked) {
    auto* a = Put<TRadioButton>(10, 10, 100, 17);
    auto* b = Put<TRadioButton>(10, 30, 100, 17);
    std::vector<std::string> clicks;
    a->OnClick = [&](TObject*) { clicks.push_back("a"); };
    b->OnClick = [&](TObject*) { clicks.push_back("b"); };
    a->SetChecked(true);
    b->SetChecked(true);
    EXPECT_FALSE(a->Checked());
    b->SetChecked(true);  // no change
    Click(a);
    Click(a);  // clicking a checked button changes nothing
    EXPECT_TRUE(a->Checked());
    EXPECT_FALSE(b->Checked());
    EXPECT_EQ(clicks, (std::vector<std::string>{"a", "b", "a"}));
    a->SetChecked(false);
    EXPECT_EQ(clicks.size(), 3u);
}

}  // namespace
