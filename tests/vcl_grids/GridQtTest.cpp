// Grids on the Qt platform: real widget input, the scroll bars, the client
// area on screen, and a picture of an owner-drawn list.
#include "GridTestSupport.h"
#include "ShotPath.h"
#include "VclInput.h"

#include "qt/QtGridPeer.h"
#include "qt/QtPlatform.h"
#include "vcl/Forms.h"
#include "vcl/Menus.h"
#include "vcl/ValEdit.h"

#include "classes/Thread.h"
#include "rtl/Convert.h"

#include <gtest/gtest.h>

#include <QAbstractScrollArea>
#include <QImage>
#include <QScrollBar>

#include <string>
#include <thread>
#include <vector>

namespace {

namespace test = yorde::test;

// The list's cell drawing as the recordings list does it: header texts with
// a sort triangle after '\' (down) or '/' (up), data rows coloured by line.
void drawListCell(TStringGrid* g, int Col, int Row, const TRect& R, TGridDrawState State) {
    TCanvas* c = g->Canvas();
    AnsiString text = g->Cells(Col, Row);
    if (Row == 0) {
        bool down = text.find('\\') != AnsiString::npos;
        bool up = text.find('/') != AnsiString::npos;
        if (!down && !up) {
            c->TextOut(R.Left + 2, R.Top + 4, text);
            return;
        }
        c->FillRect(R);
        c->TextOut(R.Left + 2, R.Top + 4, text.substr(0, text.size() - 1));
        TColor brush = c->Brush()->Color();
        TColor pen = c->Pen()->Color();
        c->Brush()->SetColor(clBlack);
        c->Pen()->SetColor(clBlack);
        if (down)
            c->Polygon(
                {TPoint(R.Right - 13, R.Top + 5), TPoint(R.Right - 10, R.Top + 10), TPoint(R.Right - 8, R.Top + 5)});
        else
            c->Polygon(
                {TPoint(R.Right - 10, R.Top + 5), TPoint(R.Right - 13, R.Top + 10), TPoint(R.Right - 8, R.Top + 10)});
        c->Brush()->SetColor(brush);
        c->Pen()->SetColor(pen);
        return;
    }
    TColor color = State.Contains(gdSelected)                         ? TColor(0xFF8000)
                   : g->Cells(4, Row).find("_M_") != AnsiString::npos ? TColor(0xCAD8CF)
                                                                      : TColor(0xB0DBEB);
    c->Brush()->SetColor(color);
    c->FillRect(R);
    c->TextOut(R.Left + 2, R.Top + 2, text);
}

// Fills the list from a worker, as a synchronised reload would without the
// synchronisation: every call has to reach the main thread in order.
class ListFiller : public TThread {
public:
    explicit ListFiller(TStringGrid* Grid) : TThread(true), grid_(Grid) {}
    int rowCountRead = 0;

protected:
    void Execute() override {
        grid_->SetRowCount(1);
        grid_->SetRow(0);
        for (int r = 1; r <= 200; ++r) {
            grid_->SetRowCount(grid_->RowCount() + 1);
            grid_->SetRow(grid_->Row() + 1);
            grid_->SetCells(0, r, IntToStr(r));
        }
        grid_->SetFixedRows(1);
        rowCountRead = grid_->RowCount();
    }

private:
    TStringGrid* grid_;
};

class GridQt : public ::testing::Test {
protected:
    void SetUp() override {
        yorde::qt::RegisterGridPeers();
        form.reset(new TForm(nullptr));
        form->SetBorderStyle(bsSingle);
        form->SetClientSize(780, 240);
        grid = new TStringGrid(form.get());
        grid->SetParent(form.get());
        ConfigureListGrid(grid, 780, 240);
        grid->SetColor(clMenu);
        grid->SetRowCount(8);
        grid->OnClick = [this](TObject*) { log.push_back("click " + std::to_string(grid->Row())); };
        grid->OnMouseUp = [this](TObject*, TMouseButton, TShiftState, int x, int y) {
            log.push_back("up " + std::to_string(x) + "," + std::to_string(y));
        };
        form->Show();
        test::ProcessEvents();
    }
    void TearDown() override { SetPopupMenuHook(nullptr); }

    QAbstractScrollArea* area() const { return dynamic_cast<QAbstractScrollArea*>(yorde::qt::WidgetOf(grid)); }

    Owned<TForm> form;
    TStringGrid* grid = nullptr;
    std::vector<std::string> log;
};

TEST_F(GridQt, TheViewportIsTheClientAreaWithAndWithoutBars) {
    QAbstractScrollArea* a = area();
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->viewport()->size(), QSize(grid->ClientWidth(), grid->ClientHeight()));
    EXPECT_FALSE(a->verticalScrollBar()->isVisible());

    grid->SetRowCount(60);
    test::ProcessEvents();
    EXPECT_TRUE(a->verticalScrollBar()->isVisible());
    EXPECT_EQ(grid->ClientWidth(), 780 - 2 * SunkenBorderSize - ScrollBarSize);
    EXPECT_EQ(a->viewport()->size(), QSize(grid->ClientWidth(), grid->ClientHeight()));

    grid->SetBorderStyle(bsNone);
    test::ProcessEvents();
    EXPECT_EQ(a->viewport()->size(), QSize(grid->ClientWidth(), grid->ClientHeight()));
}

// The recordings list is refilled hidden, with other bars asked for while it
// is, and shown again at the end.
TEST_F(GridQt, TheBarsFollowAFillMadeWhileTheListWasHidden) {
    QAbstractScrollArea* a = area();
    auto refill = [&](int Rows) {
        grid->SetVisible(false);
        grid->SetScrollBars(ssVertical);
        grid->SetRowCount(1);
        grid->SetRowCount(Rows);
        if (Rows > 1) grid->SetFixedRows(1);
        grid->SetRow(Rows - 1);
        grid->SetVisible(true);
        grid->SetScrollBars(ssBoth);
        test::ProcessEvents();
    };
    refill(61);
    EXPECT_TRUE(a->verticalScrollBar()->isVisible()) << "60 rows do not fit: the bar shows at once";
    EXPECT_EQ(a->viewport()->size(), QSize(grid->ClientWidth(), grid->ClientHeight()));
    refill(4);
    EXPECT_FALSE(a->verticalScrollBar()->isVisible());
    EXPECT_EQ(a->viewport()->size(), QSize(grid->ClientWidth(), grid->ClientHeight()));
    refill(3001);
    EXPECT_TRUE(a->verticalScrollBar()->isVisible());
    EXPECT_EQ(a->verticalScrollBar()->value(), grid->TopRow()) << "the last row is in view";
}

TEST_F(GridQt, MouseOnTheWidgetSelectsRowsAndResizesColumns) {
    test::Click(grid, 200, 3 * 23 + 5);
    EXPECT_EQ(grid->Row(), 3);
    EXPECT_EQ(log, (std::vector<std::string>{"click 3", "up 200,74"}));

    log.clear();
    test::MouseDown(grid, mbLeft, 406, 10);
    test::MouseMove(grid, 416, 10, TShiftState{ssLeft});
    test::MouseMove(grid, 426, 10, TShiftState{ssLeft});
    test::MouseUp(grid, mbLeft, 426, 10);
    EXPECT_EQ(grid->ColWidths(1), 275);
    EXPECT_EQ(log, (std::vector<std::string>{"up 426,10"}));

    int dbl = 0;
    grid->OnDblClick = [&](TObject*) { ++dbl; };
    test::DoubleClick(grid, 200, 5 * 23 + 5);
    EXPECT_EQ(dbl, 1);
    EXPECT_EQ(grid->Row(), 5);
}

TEST_F(GridQt, KeysMoveTheRow) {
    grid->SetFocus();
    test::PressKey(grid, VK_DOWN);
    test::PressKey(grid, VK_DOWN);
    EXPECT_EQ(grid->Row(), 3);
    test::PressKey(grid, VK_END);
    EXPECT_EQ(grid->Row(), 7);
    EXPECT_EQ(log, (std::vector<std::string>{"click 2", "click 3", "click 7"}));
}

TEST_F(GridQt, BarsAndWheelScrollTheView) {
    grid->SetRowCount(60);
    test::ProcessEvents();
    QScrollBar* bar = area()->verticalScrollBar();
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(grid->TopRow(), 2);
    EXPECT_EQ(bar->value(), 2);
    bar->triggerAction(QAbstractSlider::SliderToMaximum);
    int last = grid->TopRow();
    EXPECT_GT(last, 40);
    EXPECT_EQ(bar->value(), last);
    bar->triggerAction(QAbstractSlider::SliderPageStepSub);
    EXPECT_LT(grid->TopRow(), last);

    // Without thumb tracking the view follows when the thumb is let go.
    grid->SetTopRow(1);
    bar->setSliderDown(true);
    bar->setSliderPosition(10);
    EXPECT_EQ(grid->TopRow(), 1);
    bar->setSliderDown(false);
    EXPECT_EQ(grid->TopRow(), 10);

    grid->SetTopRow(1);
    test::Wheel(grid, -120, 100, 100);
    EXPECT_EQ(grid->TopRow(), 4);
    EXPECT_EQ(grid->Row(), 1);
    EXPECT_TRUE(log.empty());
}

TEST_F(GridQt, RightClickShowsThePopupMenu) {
    auto* menu = new TPopupMenu(form.get());
    int popups = 0;
    menu->OnPopup = [&](TObject*) { ++popups; };
    TPopupMenu* shown = nullptr;
    SetPopupMenuHook([&](TPopupMenu* m, int, int) -> TMenuItem* {
        shown = m;
        return nullptr;
    });
    grid->SetPopupMenu(menu);
    test::RightClick(grid, 200, 50);
    EXPECT_EQ(popups, 1);
    EXPECT_EQ(shown, menu);
}

TEST_F(GridQt, ScreenshotOfAnOwnerDrawnList) {
    const char* header[] = {"Date and time   /", "Caller   \\", "Called party    ", "Call duration    ", ""};
    const char* rows[][5] = {
        {"2024-05-06 08:15:02", "601234567", "101", "00:01:05", "a_M_1.wav"},
        {"2024-05-06 09:40:30", "102", "103", "00:00:12", "b_W_2.wav"},
        {"2024-05-06 11:02:44", "604555666", "101", "00:12:40", "c_M_3.wav"},
        {"2024-05-06 13:27:09", "104", "102", "00:03:33", "d_W_4.wav"},
    };
    grid->SetRowCount(5);
    for (int c = 0; c < 5; ++c) grid->SetCells(c, 0, header[c]);
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 5; ++c) grid->SetCells(c, r + 1, rows[r][c]);
    grid->OnDrawCell = [this](TObject*, int c, int r, const TRect& rect, TGridDrawState s) {
        drawListCell(grid, c, r, rect, s);
    };
    grid->SetRow(2);
    form->SetClientSize(780, 5 * 23 + 30);
    grid->SetHeight(5 * 23 + 30);

    std::string path = test::ShotPath("grid-owner-drawn.png");
    ASSERT_TRUE(yorde::qt::SaveScreenshot(grid, path));
    QImage shot(QString::fromStdString(path));
    ASSERT_EQ(shot.size(), QSize(780, 5 * 23 + 30));
    auto at = [&](int x, int y) {
        return shot.pixelColor(x + SunkenBorderSize, y + SunkenBorderSize).rgb() & 0xFFFFFF;
    };
    EXPECT_EQ(at(146, 19), 0xF0F0F0u);           // header background, painted for the handler
    EXPECT_EQ(at(150, 10), 0x000000u);           // header line
    EXPECT_EQ(at(150, 23 + 10), 0xC0C0C0u);      // data line
    EXPECT_EQ(at(395, 7), 0x000000u);            // the down triangle of column 1
    EXPECT_EQ(at(146, 23 + 19), 0xCFD8CAu);      // a trunk-line call
    EXPECT_EQ(at(146, 2 * 23 + 19), 0x0080FFu);  // the selected row
    EXPECT_EQ(at(146, 4 * 23 + 19), 0xEBDBB0u);  // an internal call
    EXPECT_EQ(at(770, 10), 0xF0F0F0u);           // clMenu after the last column
}

TEST_F(GridQt, ScreenshotOfTheValueList) {
    auto* list = new TValueListEditor(form.get());
    list->SetParent(form.get());
    list->SetBounds(0, 0, 520, 160);
    list->SetOptions(list->Options() + TGridOptions{goRowSelect} - TGridOptions{goEditing, goAlwaysShowEditor});
    list->TitleCaptions()->SetText("Numer, Opis");
    list->SetColWidths(0, 103);
    list->InsertRow("123", "Jan; biuro", true);
    list->InsertRow("456", "", true);
    list->InsertRow("601234567", "Serwis", true);
    list->SetRow(2);
    grid->SetVisible(false);
    std::string path = test::ShotPath("value-list.png");
    ASSERT_TRUE(yorde::qt::SaveScreenshot(list, path));
    QImage shot(QString::fromStdString(path));
    ASSERT_EQ(shot.size(), QSize(520, 160));
    auto at = [&](int x, int y) {
        return shot.pixelColor(x + SunkenBorderSize, y + SunkenBorderSize).rgb() & 0xFFFFFF;
    };
    EXPECT_EQ(at(500, 2 * 19 + 10), 0x3399FFu);  // the selected row's value cell
    EXPECT_EQ(at(500, 4 * 19 + 10), 0xFFFFFFu);  // below the rows
}

TEST_F(GridQt, AWorkerFillsTheListThroughTheMainThread) {
    std::vector<std::thread::id> clickThreads;
    grid->OnClick = [&](TObject*) { clickThreads.push_back(std::this_thread::get_id()); };
    ListFiller worker(grid);
    worker.Start();
    worker.WaitFor();
    test::ProcessEvents();
    EXPECT_EQ(worker.rowCountRead, 201);
    EXPECT_EQ(grid->RowCount(), 201);
    EXPECT_EQ(grid->Row(), 200);
    EXPECT_EQ(grid->FixedRows(), 1);
    EXPECT_EQ(grid->Cells(0, 200), "200");
    EXPECT_EQ(clickThreads.size(), 201u);  // the first for the row the shrink moved
    for (std::thread::id id : clickThreads) EXPECT_EQ(id, std::this_thread::get_id());
    EXPECT_FALSE(grid->CellRect(0, 200).IsEmpty());  // scrolled into view
}

}  // namespace
