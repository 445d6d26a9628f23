// A form with every control of this group, saved as a picture.
#include "ControlsFixture.h"

#include "qt/QtPlatform.h"
#include "vcl/Bevel.h"
#include "vcl/ComCtrls.h"
#include "vcl/ComboBox.h"
#include "vcl/GroupBox.h"
#include "vcl/ListBox.h"
#include "vcl/Mask.h"
#include "vcl/Memo.h"
#include "vcl/RadioButton.h"
#include "vcl/Shape.h"

#include <QImage>

#include <filesystem>

namespace {

TEST_F(ControlsTest, AFormWithEveryControlPaints) {
    form->SetClientSize(560, 330);
    form->SetCaption("Controls");
    form->SetColor(clBtnFace);

    auto* memo = Put<TMemo>(10, 10, 200, 110);
    memo->SetScrollBars(ssVertical);
    memo->Lines()->SetCommaText("\"First line\",\"Second line\",Third");

    auto* list = Put<TListBox>(220, 10, 120, 110);
    list->Items()->SetCommaText("Monday,Tuesday,Wednesday");
    list->SetItemIndex(1);

    auto* drop = Put<TComboBox>(350, 10, 200, 21);
    drop->SetStyle(csDropDownList);
    drop->Items()->SetCommaText("Polski,Angielski,Rosyjski");
    drop->SetItemIndex(0);
    auto* edit = Put<TComboBox>(350, 40, 200, 21);
    edit->Items()->SetCommaText("admin,user");
    edit->SetText("typed name");

    auto* group = Put<TGroupBox>(350, 70, 200, 80);
    group->SetCaption("Retention");
    auto* r1 = new TRadioButton(form.get());
    r1->SetParent(group);
    r1->SetBounds(10, 20, 150, 17);
    r1->SetCaption("Keep");
    r1->SetChecked(true);
    auto* r2 = new TRadioButton(form.get());
    r2->SetParent(group);
    r2->SetBounds(10, 45, 150, 17);
    r2->SetCaption("Delete");

    auto* track = Put<TTrackBar>(10, 130, 200, 40);
    track->SetMax(100);
    track->SetFrequency(10);
    track->SetPosition(30);
    auto* progress = Put<TProgressBar>(220, 140, 120, 16);
    progress->SetPosition(60);
    auto* empty = Put<TProgressBar>(220, 162, 120, 16);
    empty->SetMax(0);

    auto* date = Put<TDateTimePicker>(10, 180, 150, 21);
    date->SetDateTime(EncodeDateTime(2024, 5, 17, 9, 30, 0, 0));
    auto* time = Put<TDateTimePicker>(170, 180, 120, 21);
    time->SetKind(dtkTime);
    time->SetDateTime(EncodeDateTime(2024, 5, 17, 9, 30, 0, 0));
    time->SetShowCheckbox(true);

    auto* mask = Put<TMaskEdit>(300, 180, 120, 21);
    mask->SetPasswordChar('*');
    mask->SetText("secret");

    auto* bevel = Put<TBevel>(10, 215, 540, 2);
    bevel->SetShape(bsTopLine);
    auto* box = Put<TBevel>(10, 225, 120, 90);
    (void)box;
    auto* circle = Put<TShape>(140, 225, 90, 90);
    circle->SetShape(stCircle);
    circle->Brush()->SetColor(TColor(0xB0DBEB));
    auto* rect = Put<TShape>(240, 225, 120, 90);
    rect->Pen()->SetColor(clNavy);
    rect->Brush()->SetColor(TColor(0xCAD8CF));

    std::string path = ShotPath("common-controls.png");
    ASSERT_TRUE(yorde::qt::SaveScreenshot(form.get(), path));
    QImage shot(QString::fromStdString(path));
    ASSERT_FALSE(shot.isNull());
    // The circle's fill, and not beside it.
    EXPECT_EQ(shot.pixelColor(185, 270), QColor(0xEB, 0xDB, 0xB0));
    EXPECT_NE(shot.pixelColor(235, 230), QColor(0xEB, 0xDB, 0xB0));
}

}  // namespace
