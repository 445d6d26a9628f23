// A form with every control of this group, saved as a picture.
#include "ControlsFixture.h"

#include "qt/QtPlatform.h"
#include "vcl/ComCtrls.h"
#include "vcl/ComboBox.h"
#include "vcl/Mask.h"
#include "vcl/Memo.h"

#include <QImage>

#include <filesystem>

namespace {

TEST_F(ControlsTest, AFormWithEveryControlPaints) {
    form->SetClientSize(430, 210);
    form->SetCaption("Controls");
    form->SetColor(clBtnFace);

    auto* memo = Put<TMemo>(10, 10, 200, 110);
    memo->SetScrollBars(ssVertical);
    memo->Lines()->SetCommaText("\"First line\",\"Second line\",Third");

    auto* drop = Put<TComboBox>(220, 10, 200, 21);
    drop->SetStyle(csDropDownList);
    drop->Items()->SetCommaText("Polski,Angielski,Rosyjski");
    drop->SetItemIndex(0);
    auto* edit = Put<TComboBox>(220, 40, 200, 21);
    edit->Items()->SetCommaText("admin,user");
    edit->SetText("typed name");

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

    std::string path = ShotPath("common-controls.png");
    ASSERT_TRUE(yorde::qt::SaveScreenshot(form.get(), path));
    QImage shot(QString::fromStdString(path));
    ASSERT_FALSE(shot.isNull());
    // The bar at 60 is filled at half its width and not at 70%; the bar
    // with no range is filled nowhere.
    const int half = 220 + 60, seventy = 220 + 84, filledRow = 148, emptyRow = 170;
    EXPECT_NE(shot.pixel(half, filledRow), shot.pixel(half, emptyRow));
    EXPECT_EQ(shot.pixel(seventy, filledRow), shot.pixel(seventy, emptyRow));
}

}  // namespace
