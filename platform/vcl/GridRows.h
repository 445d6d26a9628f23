#pragma once
// The texts of a string grid, row by row. Each row's texts are packed into
// one block (the number of texts, then each text after its length), so that
// a list of a million rows costs little more than its text and a pointer a
// row. A list fill builds one away from the grid, even on another thread,
// and the grid takes it whole (TStringGrid::SwapRows).
#include "rtl/AnsiString.h"

#include <memory>
#include <string_view>
#include <vector>

class TGridRows {
public:
    TGridRows() = default;
    // ACols columns of ARows empty rows.
    TGridRows(int ACols, int ARows);

    int ColCount() const { return cols_; }
    int RowCount() const { return int(rows_.size()); }

    // Empty when the cell was never set; valid until the row changes.
    std::string_view Cell(int ACol, int ARow) const;
    void SetCell(int ACol, int ARow, std::string_view Text);
    // A new last row with Count texts from Texts (the columns after them
    // empty; texts beyond ColCount are ignored).
    void AddRow(const std::string_view* Texts, int Count);
    // The first row from FromRow on whose cell in ACol equals Text; -1 when none.
    int FindRow(int ACol, std::string_view Text, int FromRow = 0) const;

    // Removes ARow; the rows after it move up one. Nothing outside the rows.
    void DeleteRow(int ARow);
    // Added rows and columns are empty; the texts of removed ones are gone.
    void SetRowCount(int ARows);
    void SetColCount(int ACols);
    void Reserve(int ARows) { rows_.reserve(size_t(ARows)); }
    void Swap(TGridRows& Other) noexcept;

private:
    using Block = std::unique_ptr<unsigned char[]>;
    // Packs Count texts into one block; null when every text is empty.
    static Block pack(const std::string_view* Texts, int Count);

    std::vector<Block> rows_;
    int cols_ = 0;
};
