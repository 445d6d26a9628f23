#pragma once
// The recordings list's columns, named once for the statement that reads
// them and the grid that shows them. The plain layout lists the calls; the
// address-book layout adds the user's description after each number. Every
// layout ends with the recording's file name, which the grid never shows.
#include <cstddef>
#include <span>

enum class TRecordingColumn { Date, Caller, CallerDescription, Called, CalledDescription, Duration, FileName };

// How many columns there are in all: state kept per column is sized by it.
inline constexpr int kRecordingColumnKinds = int(TRecordingColumn::FileName) + 1;

// Whether a table kept per column (each row naming its Column) has a row
// for every column, in their order: a new column cannot be left out.
template <class Row, size_t N>
constexpr bool OneRowPerColumn(const Row (&Rows)[N]) {
    for (size_t i = 0; i < N; ++i)
        if (int(Rows[i].Column) != int(i)) return false;
    return N == size_t(kRecordingColumnKinds);
}

class TRecordingLayout {
public:
    constexpr TRecordingLayout(bool AddressBook, std::span<const TRecordingColumn> Columns)
        : addressBook_(AddressBook), columns_(Columns) {}

    bool AddressBook() const { return addressBook_; }
    // The columns in the order of the statement and the grid, the file name included.
    int Count() const { return int(columns_.size()); }
    // The columns the grid shows: all before the file name.
    int Shown() const { return Count() - 1; }
    TRecordingColumn At(int Index) const { return columns_[size_t(Index)]; }
    // Where Column stands, -1 when the layout has none.
    int IndexOf(TRecordingColumn Column) const;

private:
    bool addressBook_;
    std::span<const TRecordingColumn> columns_;
};

// The layout with or without the address book's descriptions.
const TRecordingLayout& RecordingLayout(bool AddressBook);
