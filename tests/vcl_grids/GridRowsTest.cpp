// The texts of a string grid: what a row keeps through its packing (any
// length, any byte, a text taken from its own row), what leaves with a
// column, and a whole set of rows handed to the grid at once.
#include "GridTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace std::string_view_literals;

// A row of Texts added to Rows.
void Add(TGridRows& Rows, std::vector<std::string_view> Texts) { Rows.AddRow(Texts.data(), int(Texts.size())); }

std::vector<std::string> RowOf(const TGridRows& Rows, int Row) {
    std::vector<std::string> texts;
    for (int c = 0; c < Rows.ColCount(); ++c) texts.emplace_back(Rows.Cell(c, Row));
    return texts;
}

TEST(GridRows, EveryTextComesBackAsItWentInWhateverItsLengthAndBytes) {
    // Lengths across the one-, two- and three-byte length prefixes.
    const std::string long1(127, 'a'), long2(128, 'b'), long3(16384, 'c');
    const std::string bytes("\0\x01\x7F\x80\xFF;\"'"sv);
    TGridRows rows(6, 0);
    Add(rows, {long1, long2, long3, bytes, "", "last"});
    Add(rows, {"", "", "", "", "", ""});
    Add(rows, {"x"});
    ASSERT_EQ(rows.RowCount(), 3);
    EXPECT_EQ(RowOf(rows, 0), (std::vector<std::string>{long1, long2, long3, bytes, "", "last"}));
    EXPECT_EQ(RowOf(rows, 1), std::vector<std::string>(6));
    EXPECT_EQ(RowOf(rows, 2), (std::vector<std::string>{"x", "", "", "", "", ""}));

    // A text set anew keeps its neighbours, also one taken from its own row.
    rows.SetCell(3, 0, "short");
    rows.SetCell(4, 0, rows.Cell(2, 0));
    rows.SetCell(2, 0, "");
    EXPECT_EQ(RowOf(rows, 0), (std::vector<std::string>{long1, long2, "", "short", long3, "last"}));
    rows.SetCell(5, 2, "far");
    EXPECT_EQ(RowOf(rows, 2), (std::vector<std::string>{"x", "", "", "", "", "far"}));
    // A text of the same length takes the old one's place.
    rows.SetCell(0, 1, "abcd");
    rows.SetCell(1, 1, "wxyz");
    rows.SetCell(1, 1, rows.Cell(0, 1));
    rows.SetCell(0, 1, "ABCD");
    EXPECT_EQ(RowOf(rows, 1), (std::vector<std::string>{"ABCD", "abcd", "", "", "", ""}));
}

TEST(GridRows, TextsBeyondTheColumnsAreDroppedAndColumnsThatComeBackAreEmpty) {
    TGridRows rows(3, 0);
    Add(rows, {"a", "b", "c", "beyond"});
    Add(rows, {"d"});
    EXPECT_EQ(RowOf(rows, 0), (std::vector<std::string>{"a", "b", "c"}));
    rows.SetColCount(2);
    rows.SetColCount(4);
    EXPECT_EQ(RowOf(rows, 0), (std::vector<std::string>{"a", "b", "", ""}));
    EXPECT_EQ(RowOf(rows, 1), (std::vector<std::string>{"d", "", "", ""}));
    rows.SetRowCount(1);
    rows.SetRowCount(3);
    EXPECT_EQ(RowOf(rows, 1), std::vector<std::string>(4));
    EXPECT_EQ(RowOf(rows, 0), (std::vector<std::string>{"a", "b", "", ""}));
}

TEST(GridRows, FindRowGivesTheFirstEqualTextFromTheRowAskedFor) {
    TGridRows rows(2, 0);
    for (const char* name : {"", "x.wav", "y.wav", "x.wav"}) Add(rows, {"t", name});
    EXPECT_EQ(rows.FindRow(1, "x.wav"), 1);
    EXPECT_EQ(rows.FindRow(1, "x.wav", 2), 3);
    EXPECT_EQ(rows.FindRow(1, ""), 0);
    EXPECT_EQ(rows.FindRow(1, "x.wa"), -1);
    EXPECT_EQ(rows.FindRow(1, "x.wav\0"sv), -1);
    EXPECT_EQ(rows.FindRow(0, "t", 4), -1);
}

// The list fill: the grid takes the rows read, as a RowCount change would
// give them, and gives back what it held.
TEST(GridRowsInTheGrid, SwapRowsShowsTheRowsAndMovesTheCurrentRowAsACountChangeDoes) {
    auto g = MakeListGrid();
    g->SetRowCount(10);
    g->SetCells(4, 8, "old.wav");
    g->SetObjects(0, 2, g.get());
    g->SetRow(8);
    // What a click handler reads is already the new rows.
    std::vector<std::string> clicks;
    g->OnClick = [&](TObject*) { clicks.push_back(g->Cells(4, g->Row())); };

    TGridRows rows(5, 1);
    for (int i = 1; i <= 3; ++i) {
        const std::string name = std::to_string(i) + ".wav";
        Add(rows, {"2024-03-01", "201", "202", "00:00:01", name});
    }
    g->SwapRows(rows);
    EXPECT_EQ(g->RowCount(), 4);
    EXPECT_EQ(g->FixedRows(), 1);
    EXPECT_EQ(g->Row(), 3);  // moved off the rows gone: a click
    EXPECT_EQ(clicks, (std::vector<std::string>{"3.wav"}));
    EXPECT_EQ(g->Cells(4, 2), "2.wav");
    EXPECT_EQ(g->Objects(0, 2), nullptr);
    EXPECT_EQ(g->FindRow(4, "3.wav"), 3);
    EXPECT_EQ(g->FindRow(5, "3.wav"), -1);
    EXPECT_THROW(g->Cells(0, 4), EInvalidGridOperation);
    ASSERT_EQ(rows.RowCount(), 10);
    EXPECT_EQ(rows.Cell(4, 8), "old.wav");

    // Texts changed in the grid afterwards stay the grid's own.
    g->SetCells(4, 2, "changed.wav");
    EXPECT_EQ(g->Cells(4, 2), "changed.wav");

    // More columns and rows than the grid had: all of them shown.
    TGridRows wider(7, 0);
    for (int i = 0; i < 6; ++i) Add(wider, {"a", "b", "c", "d", "e", "f", std::to_string(i)});
    g->SwapRows(wider);
    EXPECT_EQ(g->ColCount(), 7);
    EXPECT_EQ(g->RowCount(), 6);
    EXPECT_EQ(g->Cells(6, 5), "5");
    EXPECT_EQ(g->Cells(4, 2), "e");

    // Nothing at all still leaves a row and a column, without a fixed row.
    g->OnClick = [&](TObject*) { clicks.push_back(g->Cells(0, g->Row())); };
    TGridRows none;
    g->SwapRows(none);
    EXPECT_EQ(g->RowCount(), 1);
    EXPECT_EQ(g->ColCount(), 1);
    EXPECT_EQ(g->FixedRows(), 0);
    EXPECT_EQ(g->Row(), 0);
    EXPECT_EQ(g->Cells(0, 0), "");
    EXPECT_EQ(none.RowCount(), 6);
}

// A delete: the rows below move up with their objects, the current row
// stays where it is, and the last row of all goes empty but stays.
TEST(GridRowsInTheGrid, DeleteRowMovesTheRowsBelowUpWithTheirObjects) {
    auto g = MakeListGrid();
    TGridRows rows(5, 1);
    for (int i = 1; i <= 4; ++i) Add(rows, {"2024-03-01", "201", "202", "00:00:01", std::to_string(i) + ".wav"});
    g->SwapRows(rows);
    g->SetObjects(0, 3, g.get());
    g->SetRow(2);

    g->DeleteRow(2);
    EXPECT_EQ(g->RowCount(), 4);
    EXPECT_EQ(g->FixedRows(), 1);
    EXPECT_EQ(g->Row(), 2);
    EXPECT_EQ(g->Cells(4, 1), "1.wav");
    EXPECT_EQ(g->Cells(4, 2), "3.wav");
    EXPECT_EQ(g->Cells(4, 3), "4.wav");
    EXPECT_EQ(g->Objects(0, 2), g.get());
    EXPECT_EQ(g->Objects(0, 3), nullptr);
    EXPECT_EQ(g->FindRow(4, "2.wav"), -1);
    EXPECT_THROW(g->Cells(0, 4), EInvalidGridOperation);
    EXPECT_THROW(g->DeleteRow(4), EInvalidGridOperation);

    // The last row: the current row moves up onto the new last one.
    g->SetRow(3);
    g->DeleteRow(3);
    EXPECT_EQ(g->RowCount(), 3);
    EXPECT_EQ(g->Row(), 2);
    EXPECT_EQ(g->Cells(4, 2), "3.wav");

    // Down to the header alone, then the header itself: one empty row stays.
    g->DeleteRow(2);
    g->DeleteRow(1);
    EXPECT_EQ(g->RowCount(), 1);
    EXPECT_EQ(g->FixedRows(), 0);
    g->DeleteRow(0);
    EXPECT_EQ(g->RowCount(), 1);
    EXPECT_EQ(g->Cells(0, 0), "");
    g->SetCells(4, 0, "kept");
    EXPECT_EQ(g->Cells(4, 0), "kept");
}

}  // namespace
