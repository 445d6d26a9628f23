// When events fire: changes from code and from the user, keys, mouse order.
#include "VclTestSupport.h"

#include "qt/QtPlatform.h"
#include "vcl/ExtCtrls.h"
#include "vcl/StdCtrls.h"

#include <gtest/gtest.h>

#include <QLineEdit>

namespace {

using namespace yorde::test;

class EventRules : public ::testing::Test {
protected:
    void SetUp() override {
        form.reset(new TForm(nullptr));
        form->SetClientSize(300, 200);
        edit = Put<TEdit>(form.get(), form.get(), 10, 10, 150, 21);
        edit->OnChange = [this](TObject*) { ++changes; };
        form->Show();
    }
    QLineEdit* line() { return static_cast<QLineEdit*>(yorde::qt::WidgetOf(edit)); }

    HookScope hooks;
    Owned<TForm> form;
    TEdit* edit = nullptr;
    int changes = 0;
};

TEST_F(EventRules, EditOnChangeOnlyWhenTheTextReallyChanges) {
    edit->SetText("abc");
    EXPECT_EQ(changes, 1);
    edit->SetText("abc");
    EXPECT_EQ(changes, 1);
    EXPECT_FALSE(edit->Modified());
    TypeText(edit, "d");
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(edit->Text(), "abcd");
    EXPECT_TRUE(edit->Modified());
    // A key that changes nothing (Home) raises nothing.
    PressKey(edit, VK_HOME);
    EXPECT_EQ(changes, 2);
    edit->SetText("");
    EXPECT_EQ(changes, 3);
    EXPECT_EQ(line()->text(), QString());
}

TEST_F(EventRules, MaxLengthLimitsTypingAndPastingButNotCode) {
    edit->SetMaxLength(3);
    edit->SetText("abcdef");
    EXPECT_EQ(edit->Text(), "abcdef");
    EXPECT_EQ(line()->text(), QString("abcdef"));
    // Too long already: the user may delete but not add.
    line()->end(false);
    TypeText(edit, "x");
    EXPECT_EQ(edit->Text(), "abcdef");
    PressKey(edit, VK_BACK);
    EXPECT_EQ(edit->Text(), "abcde");

    edit->Clear();
    TypeText(edit, "12345");
    EXPECT_EQ(edit->Text(), "123");
    edit->Clear();
    Paste(edit, "987654");
    EXPECT_EQ(edit->Text(), "987");
    line()->setSelection(1, 1);
    Paste(edit, "xyz");
    EXPECT_EQ(edit->Text(), "9x7");
    EXPECT_EQ(edit->SelStart(), 2);
}

TEST_F(EventRules, TypedUserDataIsInTheAnsiCodePageWhateverTheFontsCharset) {
    edit->Font()->SetCharset(RUSSIAN_CHARSET);
    TypeText(edit, "Łaś€Ж1");
    // Ж does not exist in 1250: refused as it is typed, never a '?'.
    EXPECT_EQ(edit->Text(),
              "\xA3"
              "a\x9C\x80"
              "1");
    EXPECT_EQ(line()->text(), QString::fromUtf8("Łaś€1"));
    edit->Font()->SetCharset(EASTEUROPE_CHARSET);
    EXPECT_EQ(line()->text(), QString::fromUtf8("Łaś€1")) << "the same bytes show the same in every charset";
    Paste(edit, "ŻЖż");
    EXPECT_EQ(edit->Text(),
              "\xA3"
              "a\x9C\x80"
              "1\xAF\xBF");
}

TEST_F(EventRules, TypedTextThatIsNoUserDataFollowsTheFontsCharset) {
    edit->SetUserData(false);
    edit->Font()->SetCharset(RUSSIAN_CHARSET);
    TypeText(edit, "Жa€ą");
    // Ж and € exist in 1251, ą does not.
    EXPECT_EQ(edit->Text(),
              "\xC6"
              "a\x88");
    EXPECT_EQ(line()->text(), QString::fromUtf8("Жa€"));
    edit->Font()->SetCharset(EASTEUROPE_CHARSET);
    TypeText(edit, "ą");
    EXPECT_EQ(edit->Text(),
              "\xC6"
              "a\x88\xB9");
}

TEST_F(EventRules, KeyHandlersMayChangeOrSwallowKeysBeforeTheControl) {
    edit->OnKeyDown = [](TObject*, WORD& key, TShiftState) {
        if (key == 'A') key = 'B';
        if (key == VK_BACK) key = 0;
    };
    edit->OnKeyPress = [](TObject*, char& ch) {
        if (ch == 'z') ch = 0;
    };
    TypeText(edit, "aqz");
    EXPECT_EQ(edit->Text(), "bq");
    PressKey(edit, VK_BACK);
    EXPECT_EQ(edit->Text(), "bq");

    // With KeyPreview the form sees the key first and may stop it.
    std::vector<WORD> order;
    form->SetKeyPreview(true);
    form->OnKeyDown = [&](TObject*, WORD& key, TShiftState) {
        order.push_back(key);
        if (key == VK_ESCAPE) key = 0;
    };
    edit->OnKeyDown = [&](TObject*, WORD& key, TShiftState) { order.push_back(WORD(key + 1000)); };
    PressKey(edit, VK_ESCAPE);
    PressKey(edit, VK_RETURN);
    EXPECT_EQ(order, (std::vector<WORD>{VK_ESCAPE, VK_RETURN, VK_RETURN + 1000}));
}

TEST_F(EventRules, EnterAndEscGoToVisibleEnabledDefaultAndCancelButtonsOnly) {
    auto* okButton = Put<TButton>(form.get(), form.get(), 10, 100, 75, 25);
    auto* cancelButton = Put<TButton>(form.get(), form.get(), 100, 100, 75, 25);
    okButton->SetDefault(true);
    cancelButton->SetCancel(true);
    int ok = 0, cancel = 0, keys = 0;
    okButton->OnClick = [&](TObject*) { ++ok; };
    cancelButton->OnClick = [&](TObject*) { ++cancel; };
    edit->OnKeyDown = [&](TObject*, WORD&, TShiftState) { ++keys; };
    PressKey(edit, VK_RETURN);
    PressKey(edit, VK_ESCAPE);
    EXPECT_EQ(ok, 1);
    EXPECT_EQ(cancel, 1);
    EXPECT_EQ(keys, 0);
    // Hidden or disabled buttons take no keys: the edit gets them.
    okButton->SetVisible(false);
    cancelButton->SetEnabled(false);
    PressKey(edit, VK_RETURN);
    PressKey(edit, VK_ESCAPE);
    EXPECT_EQ(ok, 1);
    EXPECT_EQ(cancel, 1);
    EXPECT_EQ(keys, 2);
}

TEST(EventRulesForms, AFormWithoutFocusableControlsGetsKeysAndEscDoesNotCloseIt) {
    HookScope hooks;
    Owned<TForm> form(new TForm(nullptr));
    Put<TLabel>(form.get(), form.get(), 10, 10, 100, 20);
    std::vector<WORD> keys;
    form->OnKeyDown = [&](TObject*, WORD& key, TShiftState) { keys.push_back(key); };
    form->Show();
    PressKey(form.get(), VK_ESCAPE);
    PressKey(form.get(), VK_RETURN);
    EXPECT_EQ(keys, (std::vector<WORD>{VK_ESCAPE, VK_RETURN}));
    EXPECT_TRUE(form->Visible());
}

TEST_F(EventRules, ButtonClickFromCodeIgnoresVisibleAndEnabled) {
    auto* button = Put<TButton>(form.get(), form.get(), 10, 100, 75, 25);
    button->SetModalResult(mrOk);
    TModalResult seen = mrNone;
    int clicks = 0;
    button->OnClick = [&](TObject*) {
        ++clicks;
        seen = form->ModalResult();
    };
    button->SetVisible(false);
    button->SetEnabled(false);
    button->Click();
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(seen, mrOk);
    EXPECT_EQ(form->ModalResult(), mrOk);
    // The user cannot click a disabled button.
    form->SetModalResult(mrNone);
    button->SetVisible(true);
    Click(button);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(form->ModalResult(), mrNone);
    button->SetEnabled(true);
    Click(button);
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(form->ModalResult(), mrOk);
}

TEST_F(EventRules, CheckBoxOnClickWhenTheStateChangesFromCodeOrUser) {
    auto* check = Put<TCheckBox>(form.get(), form.get(), 10, 100, 120, 20);
    int clicks = 0;
    check->OnClick = [&](TObject*) { ++clicks; };
    check->SetChecked(true);
    EXPECT_EQ(clicks, 1);
    check->SetChecked(true);
    EXPECT_EQ(clicks, 1);
    check->SetChecked(false);
    EXPECT_EQ(clicks, 2);
    Click(check);
    EXPECT_EQ(clicks, 3);
    EXPECT_TRUE(check->Checked());
    Click(check);
    EXPECT_FALSE(check->Checked());
    EXPECT_EQ(clicks, 4);
    check->SetAllowGrayed(true);
    Click(check);
    EXPECT_EQ(check->State(), cbGrayed);
    check->SetState(cbGrayed);
    EXPECT_EQ(clicks, 5);
    // Anywhere on the control, not only on the box and its text.
    check->SetCaption("Hi");
    Click(check, 115, 18);
    EXPECT_EQ(check->State(), cbChecked);
    EXPECT_EQ(clicks, 6);
}

TEST_F(EventRules, ImageClickComesOnReleaseBeforeMouseUpAndDoubleClickIsNoSecondClick) {
    auto* image = Put<TImage>(form.get(), form.get(), 200, 50, 44, 44);
    std::string log;
    image->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { log += "down "; };
    image->OnMouseUp = [&](TObject*, TMouseButton, TShiftState, int, int) { log += "up "; };
    image->OnClick = [&](TObject*) { log += "click "; };
    image->OnDblClick = [&](TObject*) { log += "dbl "; };
    Click(image);
    EXPECT_EQ(log, "down click up ");
    log.clear();
    DoubleClick(image);
    EXPECT_EQ(log, "down click up down dbl up ");
    // Released outside: no click.
    log.clear();
    MouseDown(image, mbLeft, 5, 5);
    MouseUp(image, mbLeft, 60, 5);
    EXPECT_EQ(log, "down up ");
    // A disabled image takes no clicks.
    log.clear();
    image->SetEnabled(false);
    Click(image);
    EXPECT_EQ(log, "");
}

}  // namespace
