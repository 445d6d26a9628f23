// The recordings list's header row and the drawing of its cells.
#include "workstation/Unitmediaframe.h"

#include "workstation/HourGlass.h"

#include <algorithm>

namespace {

// How each column shows: its header's text and its default width in each
// layout that has it.
struct ColumnLook {
    TRecordingColumn Column;
    const char* Header;
    int PlainWidth;
    int BookWidth;
};
using C = TRecordingColumn;
constexpr ColumnLook kColumnLooks[] = {
    {C::Date, "IDS_COL_NAME_1", 150, 150},
    {C::Caller, "IDS_COL_NAME_2", 255, 95},
    {C::CallerDescription, "IDS_COL_NAME_5", 0, 160},
    {C::Called, "IDS_COL_NAME_3", 255, 95},
    {C::CalledDescription, "IDS_COL_NAME_6", 0, 160},
    {C::Duration, "IDS_COL_NAME_4", 90, 90},
    {C::FileName, nullptr, -1, -1},  // a width of -1 hides it
};
static_assert(OneRowPerColumn(kColumnLooks));

constexpr TColor kTrunkRowColor = TColor(0xCAD8CF);
constexpr TColor kInternalRowColor = TColor(0xB0DBEB);
constexpr TColor kSelectedRowColor = TColor(0xFF8000);

const ColumnLook& lookOf(const TRecordingLayout& Layout, int Index) { return kColumnLooks[int(Layout.At(Index))]; }

}  // namespace

bool& TMediaFrame::widthsKept(const TRecordingLayout& Layout) {
    return Layout.AddressBook() ? widths6Kept_ : widths4Kept_;
}

void TMediaFrame::SetColumnHeaders(bool Marked, int SortedColumn) {
    const TRecordingLayout& layout = *listLayout_;
    if (!widthsKept(layout)) {
        for (int i = 0; i < layout.Count(); ++i) {
            const ColumnLook& look = lookOf(layout, i);
            musicTable->SetColWidths(i, layout.AddressBook() ? look.BookWidth : look.PlainWidth);
        }
        // The other layout's widths come back to their defaults with it.
        widthsKept(RecordingLayout(!layout.AddressBook())) = false;
    }
    const int columns = std::min(layout.Shown(), musicTable->ColCount());
    for (int i = 0; i < columns; ++i) {
        AnsiString header = text(lookOf(layout, i).Header);
        if (Marked) {
            const char mark = i != SortedColumn ? ' ' : sortDescending_[int(layout.At(i))] ? '\\' : '/';
            header += "   ";
            header += mark;
        }
        musicTable->SetCells(i, 0, header);
    }
}

void TMediaFrame::musicTableDrawCell(TObject*, int ACol, int ARow, const TRect& Rect, TGridDrawState State) {
    TCanvas* canvas = musicTable->Canvas();
    if (ARow == 0) {
        // Without recordings the header is the grid's only row, not a fixed
        // one, and would come highlighted: it looks the same either way.
        if (!State.Contains(gdFixed)) {
            canvas->Brush()->SetColor(musicTable->FixedColor());
            canvas->Font()->SetColor(musicTable->Font()->Color());
            canvas->FillRect(Rect);
        }
        const AnsiString header = musicTable->Cells(ACol, ARow);
        const bool down = header.find('\\') != AnsiString::npos;
        const bool up = !down && header.find('/') != AnsiString::npos;
        if (!down && !up) {
            canvas->TextOut(Rect.Left + 2, Rect.Top + 4, header);
            return;
        }
        canvas->FillRect(Rect);
        canvas->TextOut(Rect.Left + 2, Rect.Top + 4, header.substr(0, header.size() - 1));
        const TColor brush = canvas->Brush()->Color();
        const TColor pen = canvas->Pen()->Color();
        canvas->Brush()->SetColor(clBlack);
        canvas->Pen()->SetColor(clBlack);
        if (down)
            canvas->Polygon({TPoint{Rect.Right - 13, Rect.Top + 5}, TPoint{Rect.Right - 10, Rect.Top + 10},
                             TPoint{Rect.Right - 8, Rect.Top + 5}});
        else
            canvas->Polygon({TPoint{Rect.Right - 10, Rect.Top + 5}, TPoint{Rect.Right - 13, Rect.Top + 10},
                             TPoint{Rect.Right - 8, Rect.Top + 10}});
        canvas->Brush()->SetColor(brush);
        canvas->Pen()->SetColor(pen);
        return;
    }
    TColor color = kSelectedRowColor;
    if (!State.Contains(gdSelected)) {
        const bool trunk = listCell(TRecordingColumn::FileName, ARow).find("_M_") != AnsiString::npos;
        color = trunk ? kTrunkRowColor : kInternalRowColor;
    }
    canvas->Brush()->SetColor(color);
    canvas->FillRect(Rect);
    canvas->TextOut(Rect.Left + 2, Rect.Top + 2, musicTable->Cells(ACol, ARow), musicTable->CellCodePage(ARow));
}

void TMediaFrame::musicTableMouseMove(TObject*, TShiftState, int X, int Y) {
    lastMouseX_ = X;
    lastMouseY_ = Y;
}

// Selection is always allowed and keys keep the grid's own handling.
void TMediaFrame::musicTableSelectCell(TObject*, int, int, bool&) {}

void TMediaFrame::musicTableKeyDown(TObject*, WORD&, TShiftState) {}

void TMediaFrame::musicTableMouseUp(TObject*, TMouseButton Button, TShiftState, int X, int Y) {
    if (Y >= musicTable->RowHeights(0) || Button != mbLeft) return;
    int column = 0;
    const int columns = musicTable->ColCount();
    for (; column < columns; ++column) {
        const TRect cell = musicTable->CellRect(column, 0);
        if (cell.Left + 2 < X && cell.Right - 2 > X) break;
    }
    THourGlass hourGlass;
    const TRecordingLayout& layout = *listLayout_;
    if (column < layout.Shown()) {
        bool& descending = sortDescending_[int(layout.At(column))];
        descending = !descending;
        SortClause = RecordingsSortClause(layout, layout.At(column), descending);
        RefreshRecordings();
        SetColumnHeaders(true, column);
    } else if (column >= columns) {
        // The release ended a column resize: these widths stay.
        widthsKept(layout) = true;
    }
}

void TMediaFrame::musicTableClick(TObject*) {
    // A refill moves the current row on its own; it settles the player once
    // at its end, and never ends an announcement being recorded.
    if (loading_) return;
    StopImageClick(nullptr);
    SeekTrackBar->SetEnabled(false);
    if (musicTable->Row() != 0) openSelectedRow();
}

void TMediaFrame::musicTableDblClick(TObject*) {
    // Below the header row only.
    if (musicTable->Row() <= 0 || lastMouseY_ <= 22) return;
    StopImageClick(nullptr);
    musicTableClick(musicTable);
    startPlaying();
}
