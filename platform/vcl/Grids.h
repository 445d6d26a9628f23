#pragma once
// Owner-drawn grids: TCustomGrid (cells, sizes, the current cell, scrolling,
// painting, mouse and keys), TDrawGrid (OnDrawCell, OnSelectCell) and
// TStringGrid (a text per cell).
//
// Rules code relies on:
// - Every change of the current cell raises OnClick: setting Row or Col from
//   code (the same value raises nothing), a user's click or key move, and a
//   move forced by a smaller RowCount/ColCount or a larger FixedRows/FixedCols.
// - RowCount (ColCount) smaller than or equal to FixedRows (FixedCols) lowers
//   the fixed count by itself. Changing the fixed counts keeps the current
//   cell unless it would lie inside the fixed area.
// - Texts of the rows and columns that remain are kept when the counts
//   shrink; rows and columns added are empty.
// - A column width (row height) of -1 hides it: not drawn, not sized, not hit.
// - Before OnDrawCell the grid fills the cell (fixed colour, highlight or
//   Color) and sets the canvas brush to that colour and the font (highlight
//   text colour when selected); with a handler assigned it draws no text of
//   its own. Data cells of the selection get gdSelected (with goRowSelect:
//   every data cell of the current row), fixed cells gdFixed.
// - A click on a data cell moves there on the press and raises OnClick on the
//   release, before OnMouseUp. OnMouseUp also comes at the end of a column or
//   row resize drag, in client coordinates.
// - Setting Row or Col scrolls the cell into view.
// - The mouse wheel scrolls the view without moving the current cell.
#include "vcl/GridRows.h"
#include "vcl/ScrollBars.h"

#include <vector>

YORDE_DECLARE_EXCEPTION(EInvalidGridOperation, Exception)

enum TGridOption {
    goFixedVertLine,
    goFixedHorzLine,
    goVertLine,
    goHorzLine,
    goRangeSelect,
    goDrawFocusSelected,
    goRowSizing,
    goColSizing,
    goRowMoving,
    goColMoving,
    goEditing,
    goTabs,
    goRowSelect,
    goAlwaysShowEditor,
    goThumbTracking
};
using TGridOptions = TSet<TGridOption>;
YORDE_ENUM_TYPEINFO(TGridOption, "goFixedVertLine", "goFixedHorzLine", "goVertLine", "goHorzLine", "goRangeSelect",
                    "goDrawFocusSelected", "goRowSizing", "goColSizing", "goRowMoving", "goColMoving", "goEditing",
                    "goTabs", "goRowSelect", "goAlwaysShowEditor", "goThumbTracking")
YORDE_SET_TYPEINFO(TGridOptions, TGridOption)

enum TGridDrawStateItem { gdSelected, gdFocused, gdFixed };
using TGridDrawState = TSet<TGridDrawStateItem>;

enum TGridState : int { gsNormal, gsSelecting, gsRowSizing, gsColSizing, gsRowMoving, gsColMoving };

struct TGridCoord {
    int X = 0;
    int Y = 0;
    constexpr bool operator==(const TGridCoord&) const = default;
};

// Cell indexes, both corners included.
struct TGridRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    constexpr bool Contains(int ACol, int ARow) const {
        return ACol >= Left && ACol <= Right && ARow >= Top && ARow <= Bottom;
    }
    constexpr bool operator==(const TGridRect&) const = default;
};

using TDrawCellEvent = TEvent<TObject*, int, int, const TRect&, TGridDrawState>;
using TSelectCellEvent = TEvent<TObject*, int, int, bool&>;
YORDE_EVENT_TYPEINFO(TDrawCellEvent)
YORDE_EVENT_TYPEINFO(TSelectCellEvent)

namespace yorde_grid {
struct Axis;
}

class TCustomGrid : public TCustomControl, public IScrollTarget {
    YORDE_CLASS(TCustomGrid, TCustomControl)
public:
    explicit TCustomGrid(TComponent* AOwner);
    ~TCustomGrid() override;

    int ColCount() const;
    int RowCount() const;
    int FixedCols() const;
    void SetFixedCols(int Value);  // EInvalidGridOperation unless 0 <= Value < ColCount
    int FixedRows() const;
    void SetFixedRows(int Value);  // EInvalidGridOperation unless 0 <= Value < RowCount

    // The current cell; EInvalidGridOperation outside the grid.
    int Col() const;
    void SetCol(int Value);
    int Row() const;
    void SetRow(int Value);
    TGridRect Selection() const;
    void SetSelection(const TGridRect& Value);

    // The first scrolled column and row in view.
    int LeftCol() const;
    void SetLeftCol(int Value);
    int TopRow() const;
    void SetTopRow(int Value);
    // Scrolled columns and rows fully in view.
    int VisibleColCount() const;
    int VisibleRowCount() const;

    int DefaultColWidth() const;
    // Sets every column to the new width.
    void SetDefaultColWidth(int Value);
    int DefaultRowHeight() const;
    // Sets every row to the new height.
    void SetDefaultRowHeight(int Value);
    int ColWidths(int Index) const;  // EInvalidGridOperation out of range
    void SetColWidths(int Index, int Value);
    int RowHeights(int Index) const;
    void SetRowHeights(int Index, int Value);
    int GridLineWidth() const;
    void SetGridLineWidth(int Value);
    // Width and height of the cells up to the last one (at most the client area).
    int GridWidth() const;
    int GridHeight() const;

    TGridOptions Options() const;
    void SetOptions(TGridOptions Value);
    TScrollStyle ScrollBars() const;
    void SetScrollBars(TScrollStyle Value);
    TBorderStyle BorderStyle() const;
    void SetBorderStyle(TBorderStyle Value);
    TColor FixedColor() const;
    void SetFixedColor(TColor Value);
    bool DefaultDrawing() const;
    void SetDefaultDrawing(bool Value);
    // Painting always goes through a back buffer; kept for code that sets it.
    bool DoubleBuffered() const { return doubleBuffered_; }
    void SetDoubleBuffered(bool Value) { doubleBuffered_ = Value; }

    // The client area inside the border and the shown scroll bars.
    int ClientWidth() const override;
    int ClientHeight() const override;

    // The code page a cell's text shows in: in a grid of user data
    // (UserData) the rows below the fixed ones hold what users typed or the
    // store keeps, in the ANSI code page; titles follow the font.
    int CellCodePage(int ARow) const;

    // The cell's rectangle in client coordinates (without its grid lines);
    // empty when the cell is hidden or out of view.
    TRect CellRect(int ACol, int ARow) const;
    // The cell under a client point; -1, -1 when none.
    void MouseToCell(int X, int Y, int& ACol, int& ARow) const;
    TGridCoord MouseCoord(int X, int Y) const;

    TNotifyEvent OnTopLeftChanged;

    // IScrollTarget
    void ScrollBarAction(TScrollBarKind Kind, TScrollCode Code, int Pos) override;
    void MouseWheel(TShiftState Shift, int WheelDelta, TPoint ClientPos) override;

protected:
    // The counts are public on the classes that publish them.
    void SetColCount(int Value);
    void SetRowCount(int Value);

    // Draws one cell; the canvas is prepared (see the top of the file).
    virtual void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) = 0;
    // Whether the cell may become the current one.
    virtual bool SelectCell(int ACol, int ARow);
    // After ColCount or RowCount changed (storage follows here).
    virtual void SizeChanged(int OldColCount, int OldRowCount);
    virtual void ColWidthsChanged();
    virtual void RowHeightsChanged();
    virtual void TopLeftChanged();
    // After anything that moves cells or the client area (counts, sizes,
    // options, scroll bars, bounds): bars and scroll position are updated.
    virtual void LayoutChanged();
    // Whether a click on a cell of a fixed column of a data row selects the row.
    virtual bool FixedColSelectsRow() const { return false; }

    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void DoEnter() override;
    void DoExit() override;
    void BoundsChanged(bool Resized) override;
    void InitPeer() override;
    void Loaded() override;
    void DefineProperties(TFiler& Filer) override;

    // Moves the current cell. Returns false when SelectCell refused it.
    bool MoveCurrent(int ACol, int ARow, bool MoveAnchor, bool Show, bool ClickAfter);
    TGridState GridState() const { return gridState_; }

private:
    yorde_grid::Axis colAxis() const;
    yorde_grid::Axis rowAxis() const;
    void changeSize(int NewColCount, int NewRowCount);
    void fixedChanged(int OldFixedCols, int OldFixedRows);
    void clampCurrent();
    void clampInView(TGridCoord Cell);
    void setTopLeft(int ALeft, int ATop);
    void clampTopLeft();
    void updateScrollBars();
    void scrollAxis(TScrollBarKind Kind, TScrollCode Code, int Pos);
    void moveByKey(int DCol, int DRow, bool Absolute, int ACol, int ARow);
    bool sizingHit(int X, int Y, TGridState& State, int& Index, int& Edge) const;
    void showSizingCursor(TCursor Kind);
    TCursor sizingCursorAt(int X, int Y) const;
    void readColWidths(TReader& Reader);
    void writeColWidths(TWriter& Writer);
    void readRowHeights(TReader& Reader);
    void writeRowHeights(TWriter& Writer);
    bool customColWidths() const;
    bool customRowHeights() const;

    int colCount_ = 5;
    int rowCount_ = 5;
    int fixedCols_ = 1;
    int fixedRows_ = 1;
    int defaultColWidth_ = 64;
    int defaultRowHeight_ = 24;
    int gridLineWidth_ = 1;
    std::vector<int> colWidths_;
    std::vector<int> rowHeights_;
    TGridCoord current_{1, 1};
    TGridCoord anchor_{1, 1};
    TGridCoord topLeft_{1, 1};
    TGridOptions options_{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect};
    TScrollStyle scrollBars_ = ssBoth;
    TBorderStyle borderStyle_ = bsSingle;
    TColor fixedColor_ = clBtnFace;
    bool defaultDrawing_ = true;
    bool doubleBuffered_ = false;
    bool hBarShown_ = false;
    bool vBarShown_ = false;
    TScrollBarState hBar_;
    TScrollBarState vBar_;

    TGridState gridState_ = gsNormal;
    int sizingIndex_ = -1;
    int sizingStart_ = 0;               // where the sized cell begins
    int sizingOffset_ = 0;              // from the pointer to the cell's edge
    TCursor sizingCursor_ = crDefault;  // crDefault: the control's own cursor shows
};

// A grid whose cells the program draws.
class TCustomDrawGrid : public TCustomGrid {
    YORDE_CLASS(TCustomDrawGrid, TCustomGrid)
public:
    explicit TCustomDrawGrid(TComponent* AOwner) : TCustomGrid(AOwner) {}

    TDrawCellEvent OnDrawCell;
    TSelectCellEvent OnSelectCell;

protected:
    void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override;
    bool SelectCell(int ACol, int ARow) override;
};

class TDrawGrid : public TCustomDrawGrid {
    YORDE_CLASS(TDrawGrid, TCustomDrawGrid)
public:
    explicit TDrawGrid(TComponent* AOwner) : TCustomDrawGrid(AOwner) {}
    using TCustomGrid::SetColCount;
    using TCustomGrid::SetRowCount;
};

class TStringGrid : public TDrawGrid {
    YORDE_CLASS(TStringGrid, TDrawGrid)
public:
    explicit TStringGrid(TComponent* AOwner);
    ~TStringGrid() override;

    // Cells[ACol][ARow]; EInvalidGridOperation outside the grid.
    AnsiString Cells(int ACol, int ARow) const;
    void SetCells(int ACol, int ARow, const AnsiString& Value);
    // An object per cell, not owned.
    TObject* Objects(int ACol, int ARow) const;
    void SetObjects(int ACol, int ARow, TObject* Value);

    // GUI thread. The grid takes Rows' texts whole, its counts becoming
    // theirs (at least one row and column), as if set by RowCount and
    // ColCount; Rows gets the texts the grid held, for the caller to free
    // where it likes. The cells' objects are cleared.
    void SwapRows(TGridRows& Rows);
    // GUI thread. Removes row ARow with its texts and objects: the rows after
    // it move up one and RowCount drops by one, as if each cell had been
    // moved by hand and the count set, in time independent of the columns.
    void DeleteRow(int ARow);
    // GUI thread: the first row whose cell in ACol holds Text, -1 when none.
    int FindRow(int ACol, const AnsiString& Text) const;

protected:
    // Without an OnDrawCell handler: the cell's text at Left + 2, Top + 2.
    void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override;
    void SizeChanged(int OldColCount, int OldRowCount) override;

private:
    void checkCell(int ACol, int ARow) const;

    TGridRows texts_;
    // [row][col], empty until an object is set.
    std::vector<std::vector<TObject*>> objects_;
    bool swapping_ = false;
};

// Registers TDrawGrid, TStringGrid and TValueListEditor by name for layouts.
void RegisterGridClasses();
