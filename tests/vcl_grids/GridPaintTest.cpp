// What the grid paints and what it leaves to OnDrawCell.
#include "GridTestSupport.h"

#include "CanvasRecorder.h"
#include "vcl/PeerInput.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using RecordingBackend = TCanvasRecorder;

struct DrawCall {
    int Col;
    int Row;
    TRect Rect;
    TGridDrawState State;
    TColor Brush;
    TColor FontColor;
};

class GridPaint : public ::testing::Test {
protected:
    void SetUp() override {
        g = MakeListGrid(900, 200);
        g->SetRowCount(4);
        for (int c = 0; c < 5; ++c)
            for (int r = 0; r < 4; ++r) g->SetCells(c, r, (r == 0 ? "H" : "c") + std::to_string(c) + std::to_string(r));
        g->SetRow(2);
        bmp.SetSize(g->ClientWidth(), g->ClientHeight());
    }
    void paint() {
        backend = std::make_unique<RecordingBackend>(&bmp);
        TPeerInput::Paint(g.get(), *backend, TRect(0, 0, bmp.Width(), bmp.Height()));
    }
    void record() {
        g->OnDrawCell = [this](TObject*, int c, int r, const TRect& rect, TGridDrawState s) {
            TCanvas* cv = g->Canvas();
            calls.push_back({c, r, rect, s, cv->Brush()->Color(), cv->Font()->Color()});
        };
    }
    uint32_t pixel(int x, int y) const { return bmp.PixelArgb(x, y); }

    Owned<TStringGrid> g;
    TBitmap bmp;
    std::unique_ptr<RecordingBackend> backend;
    std::vector<DrawCall> calls;
};

TEST_F(GridPaint, HandlerGetsStatesAndAPreparedCanvasButNoText) {
    record();
    paint();
    ASSERT_EQ(calls.size(), 16u);  // 4 rows by 4 visible columns
    for (const DrawCall& d : calls) {
        SCOPED_TRACE(std::to_string(d.Col) + "," + std::to_string(d.Row));
        EXPECT_NE(d.Col, 4);
        EXPECT_EQ(d.Rect, g->CellRect(d.Col, d.Row));
        if (d.Row == 0) {
            EXPECT_EQ(d.State, TGridDrawState{gdFixed});
            EXPECT_EQ(d.Brush, clBtnFace);
        } else if (d.Row == 2) {
            EXPECT_TRUE(d.State.Contains(gdSelected));
            EXPECT_FALSE(d.State.Contains(gdFixed));
            EXPECT_EQ(d.Brush, clHighlight);
            EXPECT_EQ(d.FontColor, clHighlightText);
        } else {
            EXPECT_TRUE(d.State.Empty());
            EXPECT_EQ(d.Brush, clWindow);
        }
    }
    EXPECT_TRUE(backend->Texts.empty());

    // The header background is painted for the handler, which draws text only.
    EXPECT_EQ(pixel(75, 11), ColorToArgb(clBtnFace));
    EXPECT_EQ(pixel(75, 2 * 23 + 11), ColorToArgb(clHighlight));
    EXPECT_EQ(pixel(75, 23 + 11), ColorToArgb(clWindow));
    // Black lines in the header, silver ones between data cells, Color after the last column.
    EXPECT_EQ(pixel(150, 11), ColorToArgb(clBlack));
    EXPECT_EQ(pixel(150, 23 + 11), ColorToArgb(clSilver));
    EXPECT_EQ(pixel(75, 22), ColorToArgb(clBlack));
    EXPECT_EQ(pixel(800, 11), ColorToArgb(clWindow));
    EXPECT_EQ(pixel(75, 150), ColorToArgb(clWindow));
}

TEST_F(GridPaint, WithoutAHandlerTheCellTextsAreDrawn) {
    paint();
    const std::vector<std::string>& t = backend->Texts;
    EXPECT_EQ(t.size(), 16u);
    EXPECT_NE(std::find(t.begin(), t.end(), "H10"), t.end());
    EXPECT_NE(std::find(t.begin(), t.end(), "c32"), t.end());
    EXPECT_EQ(std::find(t.begin(), t.end(), "c41"), t.end());  // hidden column
}

TEST_F(GridPaint, ColorsAreTheGridsOwn) {
    g->SetColor(clMenu);
    g->SetFixedColor(clAqua);
    record();
    paint();
    EXPECT_EQ(calls[0].Brush, clAqua);
    EXPECT_EQ(calls[4].Brush, clMenu);
    EXPECT_EQ(pixel(800, 11), ColorToArgb(clMenu));
}

TEST_F(GridPaint, ScrolledRowsAreDrawnBelowTheFixedOnes) {
    g->SetBounds(0, 0, 900, 4 + 23 + 2 * 23);
    g->SetRowCount(10);
    g->SetRow(9);
    record();
    paint();
    std::vector<int> rows;
    for (const DrawCall& d : calls)
        if (d.Col == 0) rows.push_back(d.Row);
    EXPECT_EQ(rows, (std::vector<int>{0, 8, 9}));
}

}  // namespace

// The recorder sees the handler's own drawing in order: fill, text, the sort triangle.
TEST(GridPaintRecorder, HandlerDrawingIsRecordedCallByCall) {
    Owned<TStringGrid> g = MakeListGrid(300, 60);
    g->SetRowCount(1);
    g->OnDrawCell = [&](TObject*, int c, int r, const TRect& rect, TGridDrawState) {
        if (c != 0 || r != 0) return;
        TCanvas* cv = g->Canvas();
        cv->Brush()->SetColor(clWhite);
        cv->FillRect(rect);
        cv->TextOut(rect.Left + 2, rect.Top + 2, "Data");
        cv->Brush()->SetColor(clBlack);
        cv->Polygon({TPoint(rect.Right - 10, rect.Top + 4), TPoint(rect.Right - 4, rect.Top + 4),
                     TPoint(rect.Right - 7, rect.Top + 9)});
    };
    TBitmap bmp;
    std::vector<std::string> calls = RecordPaint(g.get(), bmp);
    auto at = [&](const std::string& prefix) {
        for (size_t i = 0; i < calls.size(); ++i)
            if (calls[i].rfind(prefix, 0) == 0) return int(i);
        return -1;
    };
    const int text = at("TextOut");
    ASSERT_GE(text, 0);
    EXPECT_NE(calls[size_t(text)].find("'Data'"), std::string::npos);
    EXPECT_LT(at("FillRect"), text);
    EXPECT_GT(at("Polygon 3 #000000"), text);
}
