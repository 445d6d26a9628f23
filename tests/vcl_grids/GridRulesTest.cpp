// The grid's rules as code drives them: OnClick on row moves, the fixed
// counts, cells kept and cleared, scrolling into view, the layout form.
#include "ComponentImage.h"
#include "GridTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct ClickLog {
    explicit ClickLog(TStringGrid* g) {
        g->OnClick = [this, g](TObject* sender) {
            EXPECT_EQ(sender, g);
            rows.push_back(g->Row());
        };
    }
    std::vector<int> rows;
};

TEST(GridRules, EveryRowChangeFromCodeRaisesOnClickAndTheSameRowNothing) {
    auto g = MakeListGrid();
    g->SetRowCount(6);
    ClickLog log(g.get());
    g->SetRow(3);
    g->SetRow(3);
    g->SetRow(5);
    g->SetRow(1);
    EXPECT_EQ(log.rows, (std::vector<int>{3, 5, 1}));

    EXPECT_THROW(g->SetRow(6), EInvalidGridOperation);
    EXPECT_THROW(g->SetRow(-1), EInvalidGridOperation);
    EXPECT_EQ(g->Row(), 1);
    EXPECT_EQ(log.rows.size(), 3u);
}

// The list fill: header row kept, one row added and selected per record,
// the header fixed afterwards without moving the current row.
TEST(GridRules, RefillKeepsHeaderAndFixedRowsFollowTheRowCount) {
    auto g = MakeListGrid();
    g->SetRowCount(4);
    for (int c = 0; c < 5; ++c) g->SetCells(c, 0, "H" + std::to_string(c));
    g->SetCells(0, 2, "old");
    g->SetRow(3);
    ASSERT_EQ(g->FixedRows(), 1);
    ClickLog log(g.get());

    g->SetRowCount(1);
    EXPECT_EQ(g->FixedRows(), 0);  // dropped by itself
    EXPECT_EQ(g->Row(), 0);        // the current row could not stay: a move, so a click
    EXPECT_EQ(log.rows, (std::vector<int>{0}));
    g->SetColCount(5);
    g->SetRow(0);
    EXPECT_EQ(log.rows.size(), 1u);

    for (int r = 1; r <= 3; ++r) {
        g->SetRowCount(g->RowCount() + 1);
        g->SetRow(g->Row() + 1);
        g->SetCells(0, r, "rec" + std::to_string(r));
    }
    EXPECT_EQ(log.rows, (std::vector<int>{0, 1, 2, 3}));
    g->SetFixedRows(1);
    EXPECT_EQ(g->Row(), 3);  // the last row stays current
    EXPECT_EQ(log.rows.size(), 4u);

    for (int c = 0; c < 5; ++c) EXPECT_EQ(g->Cells(c, 0), "H" + std::to_string(c));
    EXPECT_EQ(g->Cells(0, 2), "rec2");  // rows that came back start empty
    EXPECT_EQ(g->Cells(1, 2), "");

    EXPECT_THROW(g->SetFixedRows(4), EInvalidGridOperation);
    EXPECT_THROW(g->Cells(5, 0), EInvalidGridOperation);
}

TEST(GridRules, ShrinkingColumnsKeepsTheRestAndGrowingAddsEmptyOnes) {
    auto g = MakeListGrid();
    g->SetCells(3, 0, "duration");
    g->SetCells(4, 0, "file");
    g->SetColCount(4);
    g->SetColCount(7);
    EXPECT_EQ(g->Cells(3, 0), "duration");
    EXPECT_EQ(g->Cells(4, 0), "");
    EXPECT_EQ(g->ColWidths(4), g->DefaultColWidth());  // a new column, not the hidden one
}

TEST(GridRules, MoreFixedRowsMoveARowThatWouldBeFixed) {
    auto g = MakeListGrid();
    g->SetRowCount(5);
    g->SetFixedRows(0);
    g->SetRow(0);
    ClickLog log(g.get());
    g->SetFixedRows(2);
    EXPECT_EQ(g->Row(), 2);
    EXPECT_EQ(log.rows, (std::vector<int>{2}));
}

TEST(GridRules, SettingRowScrollsItIntoView) {
    auto g = MakeListGrid(800, 104);  // client 100: the header and three rows of 23
    g->SetRowCount(50);
    EXPECT_EQ(g->TopRow(), 1);
    g->SetRow(40);
    TRect r = g->CellRect(0, 40);
    ASSERT_FALSE(r.IsEmpty());
    EXPECT_LE(r.Bottom, g->ClientHeight());
    EXPECT_EQ(g->TopRow(), 38);
    EXPECT_TRUE(g->CellRect(0, 37).IsEmpty());

    g->SetRow(2);
    EXPECT_EQ(g->TopRow(), 2);
    EXPECT_EQ(g->CellRect(0, 2).Top, 23);

    // The view cannot scroll past the end.
    g->SetTopRow(100);
    EXPECT_EQ(g->TopRow(), 47);
}

TEST(GridRules, HiddenColumnHasNoRectAndIsNeverHit) {
    auto g = MakeListGrid(900, 200);
    g->SetRowCount(3);
    EXPECT_TRUE(g->CellRect(4, 0).IsEmpty());
    EXPECT_TRUE(g->CellRect(4, 1).IsEmpty());
    EXPECT_EQ(g->CellRect(3, 0), TRect(663, 0, 753, 22));
    for (int x = 0; x < g->ClientWidth(); ++x) {
        int col = 0, row = 0;
        g->MouseToCell(x, 5, col, row);
        ASSERT_NE(col, 4) << "x=" << x;
    }
    EXPECT_EQ(g->MouseCoord(760, 5), (TGridCoord{-1, -1}));  // beyond the last column
}

TEST(GridRules, ScrollBarsShowOnlyWhenTheCellsDoNotFit) {
    auto g = MakeListGrid(800, 104);
    g->SetScrollBars(ssVertical);
    g->SetRowCount(2);
    int wide = g->ClientWidth();
    EXPECT_EQ(wide, 800 - 2 * SunkenBorderSize);
    g->SetRowCount(50);
    EXPECT_EQ(g->ClientWidth(), wide - ScrollBarSize);
    g->SetRowCount(2);
    EXPECT_EQ(g->ClientWidth(), wide);
    g->SetScrollBars(ssNone);
    g->SetRowCount(50);
    EXPECT_EQ(g->ClientWidth(), wide);
    g->SetRow(49);  // keys and code still scroll without bars
    EXPECT_GT(g->TopRow(), 1);
}

TEST(GridRules, LayoutSetsOptionsAndColumnWidths) {
    AnsiString text =
        "object musicTable: TStringGrid\n"
        "  Width = 900\n"
        "  Height = 300\n"
        "  Color = clMenu\n"
        "  ColCount = 5\n"
        "  DefaultRowHeight = 22\n"
        "  FixedCols = 0\n"
        "  RowCount = 2\n"
        "  Options = [goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goColSizing, goRowSelect]\n"
        "  ScrollBars = ssNone\n"
        "  Hint = 'List'\n"
        "  ColWidths = (\n"
        "    150\n"
        "    255\n"
        "    255\n"
        "    90\n"
        "    -1)\n"
        "end\n";
    Owned<TStringGrid> g(static_cast<TStringGrid*>(yorde::test::ReadLayout(text)));
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->Color(), clMenu);
    EXPECT_EQ(g->FixedCols(), 0);
    EXPECT_EQ(g->FixedRows(), 1);
    EXPECT_EQ(g->Row(), 1);
    EXPECT_EQ(g->Col(), 0);
    EXPECT_EQ(g->ScrollBars(), ssNone);
    EXPECT_TRUE(g->Options().Contains(goRowSelect));
    EXPECT_FALSE(g->Options().Contains(goRangeSelect));
    EXPECT_EQ(g->ColWidths(4), -1);
    EXPECT_EQ(g->RowHeights(0), 22);

    // And back: the widths are written because they differ from the default.
    AnsiString back = yorde::test::WriteLayout(g.get());
    EXPECT_NE(back.find("ColWidths = (\n    150\n    255\n    255\n    90\n    -1)"), AnsiString::npos) << back;
}

}  // namespace
