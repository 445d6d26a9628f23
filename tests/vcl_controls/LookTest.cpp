// How input fields look on the screen: disabled ones as disabled, password
// fields masked with their own character.
#include "ControlsFixture.h"

#include "qt/QtPlatform.h"
#include "vcl/ComboBox.h"
#include "vcl/DateTimePicker.h"
#include "vcl/StdCtrls.h"

#include <QImage>
#include <QLineEdit>
#include <QWidget>

namespace {

using namespace yorde::test;

QImage Picture(TControl* C) { return yorde::qt::WidgetOf(C)->grab().toImage(); }

// The darkest grey level in the picture (0 black .. 255 white).
int Darkest(const QImage& Image) {
    int darkest = 255;
    for (int y = 0; y < Image.height(); ++y)
        for (int x = 0; x < Image.width(); ++x) darkest = std::min(darkest, qGray(Image.pixel(x, y)));
    return darkest;
}

uint32_t Rgb(TColor Color) { return ColorToArgb(Color) & 0xFFFFFF; }

TEST_F(ControlsTest, DisabledFieldsAreDrawnAsDisabled) {
    auto* edit = Put<TEdit>(10, 10, 120, 21);
    auto* list = Put<TComboBox>(10, 40, 120, 21);
    auto* combo = Put<TComboBox>(10, 70, 120, 21);
    auto* picker = Put<TDateTimePicker>(10, 100, 120, 21);
    list->SetStyle(csDropDownList);
    list->Items()->SetCommaText("MMMMMM,other");
    list->SetItemIndex(0);
    edit->SetText("MMMMMM");
    combo->SetText("MMMMMM");
    form->Show();
    for (TWinControl* c : std::initializer_list<TWinControl*>{edit, list, combo, picker}) {
        SCOPED_TRACE(c->ClassName());
        EXPECT_LT(Darkest(Picture(c)), 60) << "enabled: black text";
        c->SetEnabled(false);
        EXPECT_GT(Darkest(Picture(c)), 90) << "disabled: grey text, no black";
        c->SetEnabled(true);
        EXPECT_LT(Darkest(Picture(c)), 60) << "enabled again";
    }
    // An empty disabled field shows the face colour where it showed the window colour.
    edit->SetText("");
    const QPoint inside(60, 10);
    EXPECT_EQ(Picture(edit).pixel(inside) & 0xFFFFFF, Rgb(clWindow));
    edit->SetEnabled(false);
    EXPECT_EQ(Picture(edit).pixel(inside) & 0xFFFFFF, Rgb(clBtnFace));
}

TEST_F(ControlsTest, ADisabledFieldKeepsAColourOfItsOwn) {
    auto* edit = Put<TEdit>(10, 10, 120, 21);
    edit->SetColor(clSilver);
    edit->SetEnabled(false);
    form->Show();
    EXPECT_EQ(Picture(edit).pixel(60, 10) & 0xFFFFFF, Rgb(clSilver));
}

TEST_F(ControlsTest, PasswordFieldsMaskWithTheirOwnCharacter) {
    auto* edit = Put<TEdit>(10, 10, 120, 21);
    edit->SetPasswordChar('*');
    form->Show();
    TypeText(edit, "tajne1");
    auto* line = static_cast<QLineEdit*>(yorde::qt::WidgetOf(edit));
    EXPECT_EQ(line->displayText(), "******");
    EXPECT_EQ(edit->Text(), "tajne1");
    edit->SetPasswordChar('#');
    EXPECT_EQ(line->displayText(), "######");
    edit->SetPasswordChar(0);
    EXPECT_EQ(line->displayText(), "tajne1");
}

}  // namespace
