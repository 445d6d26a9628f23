// The recordings list's header row and the drawing of its cells.
#include "workstation/Unitmediaframe.h"

#include "workstation/HourGlass.h"

#include <algorithm>
#include <iterator>
#include <string>

namespace {

const char* const kHeaders4[] = {"IDS_COL_NAME_1", "IDS_COL_NAME_2", "IDS_COL_NAME_3", "IDS_COL_NAME_4"};
constexpr int kWidths4[] = {150, 255, 255, 90};
const char* const kHeaders6[] = {"IDS_COL_NAME_1", "IDS_COL_NAME_2", "IDS_COL_NAME_5",
                                 "IDS_COL_NAME_3", "IDS_COL_NAME_6", "IDS_COL_NAME_4"};
constexpr int kWidths6[] = {150, 95, 160, 95, 160, 90};
// The file-name column is always hidden.
constexpr int kHiddenWidth = -1;

constexpr TColor kTrunkRowColor = TColor(0xCAD8CF);
constexpr TColor kInternalRowColor = TColor(0xB0DBEB);
constexpr TColor kSelectedRowColor = TColor(0xFF8000);

// Default widths for the shown columns, then the hidden one after them.
template <size_t N>
void applyWidths(TStringGrid* Grid, const int (&Widths)[N]) {
    for (size_t i = 0; i < N; ++i) Grid->SetColWidths(int(i), Widths[i]);
    Grid->SetColWidths(int(N), kHiddenWidth);
}

}  // namespace

void TMediaFrame::SetColumnHeaders(bool Marked, int SortedColumn) {
    const char* const* names;
    int count;
    if (!addressBookShown()) {
        names = kHeaders4;
        count = int(std::size(kHeaders4));
        if (!widths4Kept) {
            applyWidths(musicTable, kWidths4);
            widths6Kept = false;
        }
    } else {
        names = kHeaders6;
        count = int(std::size(kHeaders6));
        if (!widths6Kept) {
            applyWidths(musicTable, kWidths6);
            widths4Kept = false;
        }
    }
    const int columns = std::min({visibleColumns, count, musicTable->ColCount()});
    for (int i = 0; i < columns; ++i) {
        AnsiString header = text(names[i]);
        if (Marked) {
            const char mark = i != SortedColumn ? ' ' : sortDescending[i] ? '\\' : '/';
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
        const bool trunk = visibleColumns < musicTable->ColCount() &&
                           musicTable->Cells(visibleColumns, ARow).find("_M_") != AnsiString::npos;
        color = trunk ? kTrunkRowColor : kInternalRowColor;
    }
    canvas->Brush()->SetColor(color);
    canvas->FillRect(Rect);
    canvas->TextOut(Rect.Left + 2, Rect.Top + 2, musicTable->Cells(ACol, ARow), musicTable->CellCodePage(ARow));
}

void TMediaFrame::musicTableMouseMove(TObject*, TShiftState, int X, int Y) {
    lastMouseX = X;
    lastMouseY = Y;
}

// Selection is always allowed and keys keep the grid's own handling.
void TMediaFrame::musicTableSelectCell(TObject*, int, int, bool&) {}

void TMediaFrame::musicTableKeyDown(TObject*, WORD&, TShiftState) {}

namespace {

// The ORDER BY text for a header click: column, direction, layout.
AnsiString sortClauseFor(int Column, bool Descending, bool SixColumns) {
    AnsiString clause;
    if (SixColumns && Column == 2)
        clause = "ORDER BY lower(opisik1)";
    else if (SixColumns && Column == 4)
        clause = "ORDER BY lower(opisik2)";
    else
        clause = "ORDER BY " + std::to_string(Column + 1);
    return Descending ? clause + " DESC" : clause;
}

}  // namespace

void TMediaFrame::musicTableMouseUp(TObject*, TMouseButton Button, TShiftState, int X, int Y) {
    if (Y >= musicTable->RowHeights(0) || Button != mbLeft) return;
    int column = 0;
    const int columns = musicTable->ColCount();
    for (; column < columns; ++column) {
        const TRect cell = musicTable->CellRect(column, 0);
        if (cell.Left + 2 < X && cell.Right - 2 > X) break;
    }
    THourGlass hourGlass;
    if (column < columns && column < int(std::size(sortDescending))) {
        sortDescending[column] = !sortDescending[column];
        sortClause = sortClauseFor(column, sortDescending[column], columns >= 6);
        RefreshRecordings();
        SetColumnHeaders(true, column);
    } else if (column >= columns) {
        // The release ended a column resize: these widths stay.
        (columns >= 6 ? widths6Kept : widths4Kept) = true;
    }
}

void TMediaFrame::musicTableClick(TObject*) {
    // A refill moves the current row on its own; it settles the player once
    // at its end, and never ends an announcement being recorded.
    if (loading) return;
    StopImageClick(nullptr);
    SeekTrackBar->SetEnabled(false);
    if (musicTable->Row() != 0) openSelectedRow();
}

void TMediaFrame::musicTableDblClick(TObject*) {
    // Below the header row only.
    if (musicTable->Row() <= 0 || lastMouseY <= 22) return;
    StopImageClick(nullptr);
    musicTableClick(musicTable);
    startPlaying();
}
