// Control state: alignment, published properties, inherited fonts and hints.
#include "VclTestSupport.h"

#include "qt/QtPlatform.h"
#include "vcl/Buttons.h"
#include "vcl/ExtCtrls.h"
#include "vcl/StdCtrls.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QWidget>

namespace {

TEST(Controls, AlignedChildrenShareTheClientAreaInsideThePanelsFrame) {
    Owned<TForm> form(new TForm(nullptr));
    auto* panel = Put<TPanel>(form.get(), form.get(), 0, 0, 200, 150);
    panel->SetBorderWidth(2);  // with the raised bevel: 3 pixels on each side
    auto* top = Put<TPanel>(form.get(), panel, 0, 0, 10, 20);
    auto* bottom = Put<TPanel>(form.get(), panel, 0, 0, 10, 10);
    auto* left = Put<TPanel>(form.get(), panel, 0, 0, 30, 10);
    auto* right = Put<TPanel>(form.get(), panel, 0, 0, 40, 10);
    auto* client = Put<TPanel>(form.get(), panel, 0, 0, 10, 10);
    auto* second = Put<TPanel>(form.get(), panel, 0, 50, 10, 15);
    top->SetAlign(alTop);
    bottom->SetAlign(alBottom);
    left->SetAlign(alLeft);
    right->SetAlign(alRight);
    client->SetAlign(alClient);
    second->SetAlign(alTop);  // below the first by its Top
    EXPECT_EQ(top->BoundsRect(), TRect(3, 3, 197, 23));
    EXPECT_EQ(second->BoundsRect(), TRect(3, 23, 197, 38));
    EXPECT_EQ(bottom->BoundsRect(), TRect(3, 137, 197, 147));
    EXPECT_EQ(left->BoundsRect(), TRect(3, 38, 33, 137));
    EXPECT_EQ(right->BoundsRect(), TRect(157, 38, 197, 137));
    EXPECT_EQ(client->BoundsRect(), TRect(33, 38, 157, 137));

    panel->SetHeight(200);
    EXPECT_EQ(bottom->BoundsRect(), TRect(3, 187, 197, 197));
    EXPECT_EQ(client->Height(), 149);
    top->SetVisible(false);
    EXPECT_EQ(second->Top(), 3);
    EXPECT_EQ(client->Top(), 18);
}

TEST(Controls, EachClassPublishesWhatTheTranslationEngineLooksFor) {
    Owned<TForm> form(new TForm(nullptr));
    auto* label = new TLabel(form.get());
    auto* edit = new TEdit(form.get());
    auto* bitbtn = new TBitBtn(form.get());
    EXPECT_NE(GetPropInfo(label, "Caption"), nullptr);
    EXPECT_NE(GetPropInfo(label, "Hint"), nullptr);
    EXPECT_EQ(GetPropInfo(edit, "Caption"), nullptr);
    EXPECT_NE(GetPropInfo(edit, "Text"), nullptr);
    EXPECT_NE(GetPropInfo(form.get(), "Caption"), nullptr);
    EXPECT_NE(GetPropInfo(bitbtn, "ModalResult"), nullptr);
    EXPECT_NE(GetPropInfo(label, "HelpKeyword"), nullptr);
    // There are no actions: the property exists and is always null.
    const TPropInfo* action = GetPropInfo(label, "Action");
    ASSERT_NE(action, nullptr);
    EXPECT_EQ(action->Kind(), tkClass);
    EXPECT_EQ(GetObjectProp(label, "Action"), nullptr);
    // By name, as layouts and the engine set them.
    SetStrProp(label, "Caption", "Name");
    EXPECT_EQ(label->Caption(), "Name");
    SetEnumProp(label, "Alignment", "taCenter");
    EXPECT_EQ(label->Alignment(), taCenter);
    TObject* font = GetObjectProp(label, "Font");
    ASSERT_NE(font, nullptr);
    SetOrdProp(font, "Charset", RUSSIAN_CHARSET);
    EXPECT_EQ(label->CodePage(), 1251);
    EXPECT_FALSE(label->ParentFont());
    AnsiString ident;
    EXPECT_TRUE(CharsetToIdent(GetOrdProp(font, "Charset"), ident));
    EXPECT_EQ(ident, "RUSSIAN_CHARSET");
    EXPECT_EQ(ColorToString(TColor(GetOrdProp(label, "Color"))), "clWindow");
}

TEST(Controls, FontsFollowTheParentUntilSetOnTheControl) {
    Owned<TForm> form(new TForm(nullptr));
    auto* panel = Put<TPanel>(form.get(), form.get(), 0, 0, 100, 100);
    auto* inherits = Put<TLabel>(form.get(), panel, 0, 0, 50, 20);
    auto* own = Put<TLabel>(form.get(), panel, 0, 30, 50, 20);
    own->Font()->SetName("Verdana");
    EXPECT_FALSE(own->ParentFont());
    EXPECT_TRUE(inherits->ParentFont());
    form->Font()->SetCharset(RUSSIAN_CHARSET);
    EXPECT_EQ(panel->CodePage(), 1251);
    EXPECT_EQ(inherits->CodePage(), 1251);
    EXPECT_EQ(own->CodePage(), 1250);
    EXPECT_TRUE(inherits->ParentFont());
    own->SetParentFont(true);
    EXPECT_EQ(own->CodePage(), 1251);
    EXPECT_EQ(own->Font()->Name(), form->Font()->Name());
    // A colour set on the control ends ParentColor; the parent's then no longer reaches it.
    form->SetColor(clYellow);
    EXPECT_EQ(inherits->Color(), clBtnFace);  // its parent, the panel, has its own colour
    panel->SetParentColor(true);
    EXPECT_EQ(inherits->Color(), clYellow);
}

TEST(Controls, HintsShowTheirShortPartWhileShowHintIsOn) {
    Owned<TForm> form(new TForm(nullptr));
    auto* label = Put<TLabel>(form.get(), form.get(), 0, 0, 50, 20);
    label->SetHint("Short|The long hint");
    form->Show();
    QWidget* w = yorde::qt::WidgetOf(label);
    EXPECT_EQ(w->toolTip(), QString());
    form->SetShowHint(true);
    EXPECT_TRUE(label->ShowHint());
    EXPECT_EQ(w->toolTip(), QString("Short"));
    label->SetShowHint(false);
    EXPECT_EQ(w->toolTip(), QString());
}

TEST(Controls, TabOrderIsThePositionAmongWindowedSiblings) {
    Owned<TForm> form(new TForm(nullptr));
    auto* a = Put<TEdit>(form.get(), form.get(), 0, 0, 50, 20);
    auto* b = Put<TEdit>(form.get(), form.get(), 0, 30, 50, 20);
    auto* c = Put<TButton>(form.get(), form.get(), 0, 60, 50, 20);
    Put<TLabel>(form.get(), form.get(), 0, 90, 50, 20);
    EXPECT_EQ(a->TabOrder(), 0);
    EXPECT_EQ(c->TabOrder(), 2);
    c->SetTabOrder(0);
    EXPECT_EQ(c->TabOrder(), 0);
    EXPECT_EQ(a->TabOrder(), 1);
    EXPECT_EQ(b->TabOrder(), 2);
    EXPECT_EQ(form->TabList(), (std::vector<TWinControl*>{c, a, b}));
}

TEST(Controls, TheScreenCursorOverridesEveryControlUntilSetBackToDefault) {
    Screen->SetCursor(crHourGlass);
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    Screen->SetCursor(crHandPoint);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::PointingHandCursor);
    Screen->SetCursor(crDefault);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(Controls, DestroyingAParentDestroysItsChildControls) {
    Owned<TForm> form(new TForm(nullptr));
    auto* panel = Put<TPanel>(form.get(), form.get(), 0, 0, 100, 100);
    Put<TLabel>(form.get(), panel, 0, 0, 50, 20);
    Put<TEdit>(form.get(), panel, 0, 30, 50, 20);
    form->Show();
    EXPECT_EQ(form->ComponentCount(), 3);
    TObject::Free(panel);
    EXPECT_EQ(form->ComponentCount(), 0);
    EXPECT_EQ(form->ControlCount(), 0);
}

}  // namespace
