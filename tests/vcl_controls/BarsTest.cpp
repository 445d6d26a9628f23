// Track bars and progress bars: clamping, OnChange from code and from the
// user, the track bar's own keys after OnKeyDown.
#include "ControlsFixture.h"

#include "qt/QtPlatform.h"
#include "vcl/ComCtrls.h"

#include <QProgressBar>
#include <QSlider>

namespace {

using namespace yorde::test;

class TrackBarTest : public ControlsTest {
protected:
    void SetUp() override {
        ControlsTest::SetUp();
        bar = Put<TTrackBar>(10, 10, 200, 30);
        bar->OnChange = [this](TObject*) { positions.push_back(bar->Position()); };
    }
    QSlider* slider() { return static_cast<QSlider*>(yorde::qt::WidgetOf(bar)); }

    TTrackBar* bar = nullptr;
    std::vector<int> positions;
};

TEST_F(TrackBarTest, PositionIsClampedAndOnChangeRunsIffTheValueChanges) {
    bar->SetMin(1);
    bar->SetMax(60);
    EXPECT_EQ(bar->Position(), 1);  // moved up by the new Min
    bar->SetPosition(100);
    EXPECT_EQ(bar->Position(), 60);
    bar->SetPosition(100);
    bar->SetPosition(60);
    bar->SetMax(50);
    bar->SetMin(70);  // above Max: ignored
    EXPECT_EQ(bar->Min(), 1);
    EXPECT_EQ(positions, (std::vector<int>{1, 60, 50}));
    EXPECT_EQ(slider()->value(), 50);
    EXPECT_EQ(slider()->maximum(), 50);

    // A handler that sets the position again runs nested, before the setter returns.
    bar->OnChange = [this](TObject*) {
        positions.push_back(bar->Position());
        if (bar->Position() == bar->Min()) bar->SetPosition(bar->Min() + 5);
    };
    positions.clear();
    bar->SetPosition(-3);
    EXPECT_EQ(positions, (std::vector<int>{1, 6}));
    EXPECT_EQ(bar->Position(), 6);

    // A range of one value is a range: either end may meet the other.
    bar->SetMin(50);
    EXPECT_EQ(bar->Min(), 50);
    EXPECT_EQ(bar->Position(), 50);
    bar->SetMin(0);
    bar->SetMax(0);
    EXPECT_EQ(bar->Max(), 0);
    EXPECT_EQ(bar->Position(), 0);
}

// Turning the bar turns its bounds, as the class library does.
TEST_F(TrackBarTest, OrientationSwapsWidthAndHeight) {
    bar->SetOrientation(trVertical);
    EXPECT_EQ(std::make_pair(bar->Width(), bar->Height()), std::make_pair(30, 200));
    EXPECT_EQ(slider()->orientation(), Qt::Vertical);
    bar->SetOrientation(trVertical);  // already so: no second turn
    EXPECT_EQ(std::make_pair(bar->Width(), bar->Height()), std::make_pair(30, 200));
}

TEST_F(TrackBarTest, UserMovesRaiseOnChange) {
    bar->SetMax(100);
    bar->SetPageSize(10);
    slider()->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(bar->Position(), 10);
    EXPECT_EQ(positions, std::vector<int>{10});
}

TEST_F(TrackBarTest, KeysFollowWindowsAfterAHandlerThatSwapsUpAndDown) {
    bar->SetMax(100);
    bar->SetPosition(50);
    bar->SetLineSize(2);
    bar->SetPageSize(10);
    std::vector<int> atKeyDown;
    bar->OnKeyDown = [&](TObject*, WORD& Key, TShiftState) {
        atKeyDown.push_back(bar->Position());
        if (Key == VK_UP)
            Key = VK_DOWN;
        else if (Key == VK_DOWN)
            Key = VK_UP;
        else if (Key == 'Z')
            Key = 0;
    };
    PressKey(bar, VK_UP);
    EXPECT_EQ(bar->Position(), 52);  // swapped to Down: +LineSize
    PressKey(bar, VK_DOWN);
    EXPECT_EQ(bar->Position(), 50);
    PressKey(bar, VK_RIGHT);
    EXPECT_EQ(bar->Position(), 52);
    PressKey(bar, VK_LEFT);
    EXPECT_EQ(bar->Position(), 50);
    PressKey(bar, VK_NEXT);
    EXPECT_EQ(bar->Position(), 60);
    PressKey(bar, VK_PRIOR);
    EXPECT_EQ(bar->Position(), 50);
    PressKey(bar, VK_END);
    EXPECT_EQ(bar->Position(), 100);
    PressKey(bar, VK_RIGHT);  // at Max already
    PressKey(bar, VK_HOME);
    EXPECT_EQ(bar->Position(), 0);
    PressKey(bar, 'Z');
    EXPECT_EQ(bar->Position(), 0);
    // The handler always saw the position before the bar moved.
    EXPECT_EQ(atKeyDown, (std::vector<int>{50, 52, 50, 52, 50, 60, 50, 100, 100, 0}));
    EXPECT_EQ(positions, (std::vector<int>{50, 52, 50, 52, 50, 60, 50, 100, 0}));
    EXPECT_EQ(slider()->value(), 0);
}

// ---------------------------------------------------------------------------

TEST_F(ControlsTest, ProgressBarClampsAndShowsAnEmptyRangeAsAnEmptyBar) {
    auto* bar = Put<TProgressBar>(10, 10, 200, 16);
    auto* widget = static_cast<QProgressBar*>(yorde::qt::WidgetOf(bar));
    bar->SetPosition(150);
    EXPECT_EQ(bar->Position(), 100);
    EXPECT_EQ(widget->value(), 100);
    bar->SetPosition(-5);
    EXPECT_EQ(bar->Position(), 0);

    bar->SetMax(0);
    bar->SetPosition(10);
    EXPECT_EQ(bar->Position(), 0);
    // Qt's busy animation comes with maximum == minimum.
    EXPECT_NE(widget->maximum(), widget->minimum());
    EXPECT_EQ(widget->value(), widget->minimum());

    bar->SetMax(100);
    bar->SetStep(30);
    bar->SetPosition(80);
    bar->StepIt();
    EXPECT_EQ(bar->Position(), 10);  // past Max it starts over
    bar->StepIt();
    EXPECT_EQ(bar->Position(), 40);
    EXPECT_EQ(widget->value(), 40);
}

}  // namespace
