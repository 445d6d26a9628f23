// The user's mouse and keys, as the peers report them: selecting rows,
// header clicks, column resizing, navigation keys, the popup menu.
#include "GridTestSupport.h"

#include "vcl/Menus.h"
#include "vcl/PeerInput.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Columns 150, 255, 255, 90 and a hidden one: lines at x 150, 406, 662, 753.
class GridInput : public ::testing::Test {
protected:
    void SetUp() override {
        g = MakeListGrid(900, 300);
        g->SetRowCount(8);
        g->OnClick = [this](TObject*) { log.push_back("click " + std::to_string(g->Row())); };
        g->OnMouseUp = [this](TObject*, TMouseButton b, TShiftState, int x, int y) {
            log.push_back("up " + std::to_string(int(b)) + " " + std::to_string(x) + "," + std::to_string(y));
        };
    }
    void down(int x, int y, TMouseButton b = mbLeft) { TPeerInput::MouseDown(g.get(), b, {}, x, y); }
    void move(int x, int y) { TPeerInput::MouseMove(g.get(), TShiftState{ssLeft}, x, y); }
    void up(int x, int y, TMouseButton b = mbLeft) { TPeerInput::MouseUp(g.get(), b, {}, x, y); }
    void key(WORD k, TShiftState s = {}) { TPeerInput::KeyDown(g.get(), k, s); }

    // The sort rule of the recordings list: a column whose header cell has
    // the point more than 2 pixels inside its borders.
    int headerColumnAt(int x) const {
        for (int i = 0; i < g->ColCount(); ++i) {
            TRect r = g->CellRect(i, 0);
            if (r.Left + 2 < x && r.Right - 2 > x) return i;
        }
        return -1;
    }

    Owned<TStringGrid> g;
    std::vector<std::string> log;
};

TEST_F(GridInput, ClickOnADataRowSelectsItAndClicksBeforeTheMouseUp) {
    down(200, 3 * 23 + 5);
    EXPECT_EQ(g->Row(), 3);
    EXPECT_TRUE(log.empty());  // the click comes with the release
    up(200, 3 * 23 + 5);
    EXPECT_EQ(log, (std::vector<std::string>{"click 3", "up 0 200,74"}));

    // Dragging moves the row; the click comes once, at the end.
    log.clear();
    down(200, 2 * 23 + 5);
    move(200, 4 * 23 + 5);
    move(200, 5 * 23 + 5);
    EXPECT_EQ(g->Row(), 5);
    up(200, 5 * 23 + 5);
    EXPECT_EQ(log, (std::vector<std::string>{"click 5", "up 0 200,120"}));
}

TEST_F(GridInput, SelectCellCanRefuseAUserMove) {
    g->OnSelectCell = [](TObject*, int, int row, bool& can) { can = row != 4; };
    down(200, 4 * 23 + 5);
    up(200, 4 * 23 + 5);
    EXPECT_EQ(g->Row(), 1);
}

TEST_F(GridInput, HeaderClickGivesMouseUpButNoClick) {
    down(300, 10);
    up(300, 10);
    EXPECT_EQ(g->Row(), 1);
    EXPECT_EQ(log, (std::vector<std::string>{"up 0 300,10"}));
    EXPECT_EQ(headerColumnAt(300), 1);
    EXPECT_EQ(headerColumnAt(700), 3);
}

TEST_F(GridInput, ColumnResizeDragEndsWithMouseUpAtTheBorder) {
    down(406, 10);  // on the line after column 1
    move(416, 10);
    move(426, 10);
    up(426, 10);
    EXPECT_EQ(g->ColWidths(1), 275);
    EXPECT_EQ(g->Row(), 1);
    EXPECT_EQ(log, (std::vector<std::string>{"up 0 426,10"}));
    EXPECT_EQ(headerColumnAt(426), -1);  // within 2 pixels of a border: "resized"

    // Grabbing a little before the line works too, and the width follows the pointer.
    down(424, 10);
    up(404, 10);
    EXPECT_EQ(g->ColWidths(1), 255);
}

TEST_F(GridInput, HiddenColumnCannotBeResized) {
    // The last visible column's line is also where the hidden column would be.
    down(753, 10);
    move(783, 10);
    up(783, 10);
    EXPECT_EQ(g->ColWidths(3), 120);
    EXPECT_EQ(g->ColWidths(4), -1);
    // Past the last line there is nothing to grab.
    down(790, 10);
    move(820, 10);
    up(820, 10);
    EXPECT_EQ(g->ColWidths(3), 120);
    EXPECT_EQ(g->ColWidths(4), -1);
}

TEST_F(GridInput, NoColumnSizingWithoutTheOptionOrOutsideTheHeader) {
    down(406, 3 * 23 + 5);  // a data row: selects
    up(406, 3 * 23 + 5);
    EXPECT_EQ(g->ColWidths(1), 255);
    EXPECT_EQ(g->Row(), 3);
    g->SetOptions(g->Options() - TGridOptions{goColSizing});
    down(406, 10);
    move(430, 10);
    up(430, 10);
    EXPECT_EQ(g->ColWidths(1), 255);
}

TEST_F(GridInput, KeysMoveTheRowAfterOnKeyDown) {
    std::vector<WORD> seen;
    g->OnKeyDown = [&](TObject*, WORD& k, TShiftState) {
        seen.push_back(k);
        log.push_back("key");
    };
    key(VK_DOWN);
    EXPECT_EQ(g->Row(), 2);
    EXPECT_EQ(log, (std::vector<std::string>{"key", "click 2"}));
    key(VK_END);
    EXPECT_EQ(g->Row(), 7);
    key(VK_DOWN);  // at the end: no move, no click
    EXPECT_EQ(log.back(), "key");
    key(VK_HOME);
    EXPECT_EQ(g->Row(), 1);
    key(VK_UP);  // the header cannot become current
    EXPECT_EQ(g->Row(), 1);
    key(VK_NEXT);
    EXPECT_GT(g->Row(), 2);
    key(VK_PRIOR);
    EXPECT_EQ(g->Row(), 1);
    EXPECT_EQ(seen.size(), 7u);

    // A handler that takes the key stops the move.
    log.clear();
    g->OnKeyDown = [](TObject*, WORD& k, TShiftState) { k = 0; };
    key(VK_DOWN);
    EXPECT_EQ(g->Row(), 1);
    EXPECT_TRUE(log.empty());
}

TEST_F(GridInput, PageKeysMoveByWhatIsInView) {
    g->SetBounds(0, 0, 900, 4 + 22 + 1 + 4 * 23);  // header and four rows in view
    g->SetRowCount(30);
    key(VK_NEXT);
    EXPECT_EQ(g->Row(), 5);
    EXPECT_EQ(g->TopRow(), 5);
    key(VK_END);
    EXPECT_EQ(g->Row(), 29);
    EXPECT_EQ(g->TopRow(), 26);
}

TEST_F(GridInput, RightClickOpensThePopupMenuAfterItsOnPopup) {
    Owned<TPopupMenu> menu(new TPopupMenu(nullptr));
    int popups = 0;
    menu->OnPopup = [&](TObject* sender) {
        EXPECT_EQ(sender, menu.get());
        ++popups;
    };
    g->SetPopupMenu(menu.get());
    down(200, 50, mbRight);
    up(200, 50, mbRight);
    TPeerInput::ContextPopup(g.get(), 200, 50);
    EXPECT_EQ(popups, 1);
    EXPECT_EQ(g->Row(), 1);  // the right button does not select
    EXPECT_EQ(log, (std::vector<std::string>{"up 1 200,50"}));
}

TEST_F(GridInput, DoubleClickRaisesOnDblClick) {
    int dbl = 0;
    g->OnDblClick = [&](TObject*) { ++dbl; };
    down(200, 50);
    up(200, 50);
    TPeerInput::DoubleClick(g.get(), mbLeft, TShiftState{ssDouble}, 200, 50);
    up(200, 50);
    EXPECT_EQ(dbl, 1);
    EXPECT_EQ(log, (std::vector<std::string>{"click 2", "up 0 200,50", "up 0 200,50"}));
}

TEST_F(GridInput, WheelAndScrollBarsMoveTheViewNotTheRow) {
    g->SetBounds(0, 0, 900, 4 + 22 + 1 + 4 * 23);
    g->SetRowCount(30);
    g->MouseWheel({}, -120, TPoint(10, 10));
    EXPECT_EQ(g->TopRow(), 4);
    g->ScrollBarAction(sbVertical, scLineDown, 0);
    EXPECT_EQ(g->TopRow(), 5);
    g->ScrollBarAction(sbVertical, scTrack, 20);  // no thumb tracking: waits for the release
    EXPECT_EQ(g->TopRow(), 5);
    g->ScrollBarAction(sbVertical, scPosition, 20);
    EXPECT_EQ(g->TopRow(), 20);
    g->ScrollBarAction(sbVertical, scBottom, 0);
    EXPECT_EQ(g->TopRow(), 26);
    EXPECT_EQ(g->Row(), 1);
    EXPECT_TRUE(log.empty());
}

}  // namespace
