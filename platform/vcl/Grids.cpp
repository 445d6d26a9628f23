// TCustomGrid: counts, sizes, the current cell and the scroll position.
#include "vcl/Grids.h"

#include "classes/Filer.h"
#include "rtl/Convert.h"
#include "vcl/GridAxis.h"

using yorde_grid::Axis;

namespace {

[[noreturn]] void outOfRange() { throw EInvalidGridOperation("Grid index out of range"); }

int borderSize(TBorderStyle Style) { return Style == bsSingle ? SunkenBorderSize : 0; }

}  // namespace

TCustomGrid::TCustomGrid(TComponent* AOwner) : TCustomControl(AOwner) {
    // The grid raises OnClick itself when the current cell moves.
    controlStyle_ = TControlStyle{csCaptureMouse, csOpaque, csDoubleClicks};
    StoreBounds(0, 0, 320, 120);
    SetColor(clWindow);
    SetTabStop(true);
    colWidths_.assign(size_t(colCount_), defaultColWidth_);
    rowHeights_.assign(size_t(rowCount_), defaultRowHeight_);
}

TCustomGrid::~TCustomGrid() = default;

Axis TCustomGrid::colAxis() const {
    int line = options_.Contains(goVertLine) ? gridLineWidth_ : 0;
    return Axis{&colWidths_, colCount_, fixedCols_, topLeft_.X, line, ClientWidth()};
}

Axis TCustomGrid::rowAxis() const {
    int line = options_.Contains(goHorzLine) ? gridLineWidth_ : 0;
    return Axis{&rowHeights_, rowCount_, fixedRows_, topLeft_.Y, line, ClientHeight()};
}

// ---------------------------------------------------------------------------
// Counts

int TCustomGrid::ColCount() const {
    return ReadOnMain([this] { return colCount_; });
}
int TCustomGrid::RowCount() const {
    return ReadOnMain([this] { return rowCount_; });
}
int TCustomGrid::FixedCols() const {
    return ReadOnMain([this] { return fixedCols_; });
}
int TCustomGrid::FixedRows() const {
    return ReadOnMain([this] { return fixedRows_; });
}

void TCustomGrid::SetColCount(int Value) {
    if (QueueOffMain(Life(), [this, Value] { SetColCount(Value); })) return;
    Value = std::max(1, Value);
    if (Value == colCount_) return;
    if (fixedCols_ >= Value) fixedCols_ = Value - 1;
    changeSize(Value, rowCount_);
}

void TCustomGrid::SetRowCount(int Value) {
    if (QueueOffMain(Life(), [this, Value] { SetRowCount(Value); })) return;
    Value = std::max(1, Value);
    if (Value == rowCount_) return;
    if (fixedRows_ >= Value) fixedRows_ = Value - 1;
    changeSize(colCount_, Value);
}

void TCustomGrid::SetFixedCols(int Value) {
    if (QueueOffMain(Life(), [this, Value] { SetFixedCols(Value); })) return;
    if (Value == fixedCols_) return;
    if (Value < 0) outOfRange();
    if (Value >= colCount_) throw EInvalidGridOperation("Fixed column count must be less than column count");
    int old = fixedCols_;
    fixedCols_ = Value;
    fixedChanged(old, fixedRows_);
}

void TCustomGrid::SetFixedRows(int Value) {
    if (QueueOffMain(Life(), [this, Value] { SetFixedRows(Value); })) return;
    if (Value == fixedRows_) return;
    if (Value < 0) outOfRange();
    if (Value >= rowCount_) throw EInvalidGridOperation("Fixed row count must be less than row count");
    int old = fixedRows_;
    fixedRows_ = Value;
    fixedChanged(fixedCols_, old);
}

void TCustomGrid::changeSize(int NewColCount, int NewRowCount) {
    int oldCols = colCount_;
    int oldRows = rowCount_;
    colCount_ = NewColCount;
    rowCount_ = NewRowCount;
    colWidths_.resize(size_t(colCount_), defaultColWidth_);
    rowHeights_.resize(size_t(rowCount_), defaultRowHeight_);
    SizeChanged(oldCols, oldRows);
    anchor_.X = std::min(anchor_.X, colCount_ - 1);
    anchor_.Y = std::min(anchor_.Y, rowCount_ - 1);
    LayoutChanged();
    clampCurrent();
}

void TCustomGrid::SizeChanged(int /*OldColCount*/, int /*OldRowCount*/) {}

void TCustomGrid::fixedChanged(int OldFixedCols, int OldFixedRows) {
    if (Loading()) {
        // As laid out: the first scrollable cell is current and in view.
        current_ = anchor_ = topLeft_ = TGridCoord{fixedCols_, fixedRows_};
        if (options_.Contains(goRowSelect)) anchor_.X = colCount_ - 1;
        LayoutChanged();
        return;
    }
    // A view that was not scrolled stays so; a scrolled one keeps its place.
    topLeft_.X = topLeft_.X == OldFixedCols ? fixedCols_ : std::max(topLeft_.X, fixedCols_);
    topLeft_.Y = topLeft_.Y == OldFixedRows ? fixedRows_ : std::max(topLeft_.Y, fixedRows_);
    LayoutChanged();
    clampCurrent();
}

// Keeps the current cell inside the scrollable area after the counts changed.
void TCustomGrid::clampCurrent() {
    TGridCoord c = current_;
    c.X = std::clamp(c.X, std::min(fixedCols_, colCount_ - 1), colCount_ - 1);
    c.Y = std::clamp(c.Y, std::min(fixedRows_, rowCount_ - 1), rowCount_ - 1);
    if (options_.Contains(goRowSelect)) c.X = fixedCols_;
    if (c == current_) return;
    if (Loading() || !MoveCurrent(c.X, c.Y, true, true, true)) {
        current_ = anchor_ = c;
        if (options_.Contains(goRowSelect)) anchor_.X = colCount_ - 1;
        Invalidate();
    }
}

// ---------------------------------------------------------------------------
// The current cell and the selection

int TCustomGrid::Col() const {
    return ReadOnMain([this] { return current_.X; });
}
int TCustomGrid::Row() const {
    return ReadOnMain([this] { return current_.Y; });
}

void TCustomGrid::SetCol(int Value) {
    if (QueueOffMain(Life(), [this, Value] { SetCol(Value); })) return;
    if (Value == current_.X) return;
    MoveCurrent(Value, current_.Y, true, true, true);
}

void TCustomGrid::SetRow(int Value) {
    if (QueueOffMain(Life(), [this, Value] { SetRow(Value); })) return;
    if (Value == current_.Y) return;
    MoveCurrent(current_.X, Value, true, true, true);
}

bool TCustomGrid::MoveCurrent(int ACol, int ARow, bool MoveAnchor, bool Show, bool ClickAfter) {
    if (ACol < 0 || ARow < 0 || ACol >= colCount_ || ARow >= rowCount_) outOfRange();
    if (!SelectCell(ACol, ARow)) return false;
    bool rowSelect = options_.Contains(goRowSelect);
    current_ = TGridCoord{rowSelect ? std::min(fixedCols_, colCount_ - 1) : ACol, ARow};
    if (MoveAnchor || !options_.Contains(goRangeSelect)) {
        anchor_ = current_;
        if (rowSelect) anchor_.X = colCount_ - 1;
    }
    if (Show) clampInView(current_);
    Invalidate();
    if (ClickAfter) Click();
    return true;
}

bool TCustomGrid::SelectCell(int /*ACol*/, int /*ARow*/) { return true; }

TGridRect TCustomGrid::Selection() const {
    return ReadOnMain([this] {
        TGridRect r{std::min(anchor_.X, current_.X), std::min(anchor_.Y, current_.Y), std::max(anchor_.X, current_.X),
                    std::max(anchor_.Y, current_.Y)};
        if (options_.Contains(goRowSelect)) {
            r.Left = fixedCols_;
            r.Right = colCount_ - 1;
        }
        return r;
    });
}

void TCustomGrid::SetSelection(const TGridRect& Value) {
    if (QueueOffMain(Life(), [this, Value] { SetSelection(Value); })) return;
    auto inside = [this](int c, int r) { return c >= 0 && r >= 0 && c < colCount_ && r < rowCount_; };
    if (!inside(Value.Left, Value.Top) || !inside(Value.Right, Value.Bottom)) outOfRange();
    TGridCoord old = current_;
    current_ = TGridCoord{Value.Right, Value.Bottom};
    anchor_ = TGridCoord{Value.Left, Value.Top};
    if (options_.Contains(goRowSelect)) {
        current_.X = fixedCols_;
        anchor_.X = colCount_ - 1;
    }
    clampInView(current_);
    Invalidate();
    if (!(old == current_)) Click();
}

// ---------------------------------------------------------------------------
// Sizes

int TCustomGrid::DefaultColWidth() const {
    return ReadOnMain([this] { return defaultColWidth_; });
}
int TCustomGrid::DefaultRowHeight() const {
    return ReadOnMain([this] { return defaultRowHeight_; });
}
int TCustomGrid::GridLineWidth() const {
    return ReadOnMain([this] { return gridLineWidth_; });
}

void TCustomGrid::SetDefaultColWidth(int Value) {
    if (QueueOffMain(Life(), [this, Value] { SetDefaultColWidth(Value); })) return;
    defaultColWidth_ = Value;
    colWidths_.assign(size_t(colCount_), Value);
    ColWidthsChanged();
}

void TCustomGrid::SetDefaultRowHeight(int Value) {
    if (QueueOffMain(Life(), [this, Value] { SetDefaultRowHeight(Value); })) return;
    defaultRowHeight_ = Value;
    rowHeights_.assign(size_t(rowCount_), Value);
    RowHeightsChanged();
}

int TCustomGrid::ColWidths(int Index) const {
    return ReadOnMain([this, Index] {
        if (Index < 0 || Index >= colCount_) outOfRange();
        return colWidths_[size_t(Index)];
    });
}

void TCustomGrid::SetColWidths(int Index, int Value) {
    if (QueueOffMain(Life(), [this, Index, Value] { SetColWidths(Index, Value); })) return;
    if (Index < 0 || Index >= colCount_) outOfRange();
    if (Value < -1) Value = -1;
    if (colWidths_[size_t(Index)] == Value) return;
    colWidths_[size_t(Index)] = Value;
    ColWidthsChanged();
}

int TCustomGrid::RowHeights(int Index) const {
    return ReadOnMain([this, Index] {
        if (Index < 0 || Index >= rowCount_) outOfRange();
        return rowHeights_[size_t(Index)];
    });
}

void TCustomGrid::SetRowHeights(int Index, int Value) {
    if (QueueOffMain(Life(), [this, Index, Value] { SetRowHeights(Index, Value); })) return;
    if (Index < 0 || Index >= rowCount_) outOfRange();
    if (Value < -1) Value = -1;
    if (rowHeights_[size_t(Index)] == Value) return;
    rowHeights_[size_t(Index)] = Value;
    RowHeightsChanged();
}

void TCustomGrid::SetGridLineWidth(int Value) {
    if (QueueOffMain(Life(), [this, Value] { SetGridLineWidth(Value); })) return;
    Value = std::max(0, Value);
    if (Value == gridLineWidth_) return;
    gridLineWidth_ = Value;
    LayoutChanged();
}

void TCustomGrid::ColWidthsChanged() { LayoutChanged(); }
void TCustomGrid::RowHeightsChanged() { LayoutChanged(); }

int TCustomGrid::GridWidth() const {
    return ReadOnMain([this] { return colAxis().GridExtent(); });
}
int TCustomGrid::GridHeight() const {
    return ReadOnMain([this] { return rowAxis().GridExtent(); });
}

int TCustomGrid::ClientWidth() const {
    return ReadOnMain(
        [this] { return std::max(0, Width() - 2 * borderSize(borderStyle_) - (vBarShown_ ? ScrollBarSize : 0)); });
}

int TCustomGrid::ClientHeight() const {
    return ReadOnMain(
        [this] { return std::max(0, Height() - 2 * borderSize(borderStyle_) - (hBarShown_ ? ScrollBarSize : 0)); });
}

int TCustomGrid::CellCodePage(int ARow) const {
    return ReadOnMain([this, ARow] { return ARow >= fixedRows_ ? DataCodePage() : CodePage(); });
}

TRect TCustomGrid::CellRect(int ACol, int ARow) const {
    return ReadOnMain([this, ACol, ARow] {
        Axis ca = colAxis();
        Axis ra = rowAxis();
        int x = 0, y = 0;
        if (!ca.Start(ACol, x) || !ra.Start(ARow, y) || x >= ca.Client || y >= ra.Client) return TRect();
        return TRect(x, y, x + ca.Extent(ACol), y + ra.Extent(ARow));
    });
}

void TCustomGrid::MouseToCell(int X, int Y, int& ACol, int& ARow) const {
    TGridCoord c = MouseCoord(X, Y);
    ACol = c.X;
    ARow = c.Y;
}

TGridCoord TCustomGrid::MouseCoord(int X, int Y) const {
    return ReadOnMain([this, X, Y] {
        TGridCoord c{colAxis().Hit(X), rowAxis().Hit(Y)};
        if (c.X < 0 || c.Y < 0) c = TGridCoord{-1, -1};
        return c;
    });
}

// ---------------------------------------------------------------------------
// Options and looks

TGridOptions TCustomGrid::Options() const {
    return ReadOnMain([this] { return options_; });
}

void TCustomGrid::SetOptions(TGridOptions Value) {
    if (QueueOffMain(Life(), [this, Value] { SetOptions(Value); })) return;
    if (Value == options_) return;
    bool rowSelect = Value.Contains(goRowSelect);
    bool wasRowSelect = options_.Contains(goRowSelect);
    options_ = Value;
    if (rowSelect) {
        current_.X = std::min(fixedCols_, colCount_ - 1);
        anchor_ = TGridCoord{colCount_ - 1, current_.Y};
    } else if (wasRowSelect) {
        anchor_ = current_;
    }
    if (!Value.Contains(goColSizing) && gridState_ == gsColSizing) gridState_ = gsNormal;
    if (!Value.Contains(goRowSizing) && gridState_ == gsRowSizing) gridState_ = gsNormal;
    LayoutChanged();  // the line options decide the line widths
}

TScrollStyle TCustomGrid::ScrollBars() const {
    return ReadOnMain([this] { return scrollBars_; });
}

void TCustomGrid::SetScrollBars(TScrollStyle Value) {
    if (QueueOffMain(Life(), [this, Value] { SetScrollBars(Value); })) return;
    if (Value == scrollBars_) return;
    scrollBars_ = Value;
    LayoutChanged();
}

TBorderStyle TCustomGrid::BorderStyle() const {
    return ReadOnMain([this] { return borderStyle_; });
}

void TCustomGrid::SetBorderStyle(TBorderStyle Value) {
    if (QueueOffMain(Life(), [this, Value] { SetBorderStyle(Value); })) return;
    Value = Value == bsNone ? bsNone : bsSingle;
    if (Value == borderStyle_) return;
    borderStyle_ = Value;
    if (auto* p = dynamic_cast<IScrollBarsPeer*>(Peer())) p->SetBorderStyle(borderStyle_);
    LayoutChanged();
}

TColor TCustomGrid::FixedColor() const {
    return ReadOnMain([this] { return fixedColor_; });
}

void TCustomGrid::SetFixedColor(TColor Value) {
    if (QueueOffMain(Life(), [this, Value] { SetFixedColor(Value); })) return;
    if (Value == fixedColor_) return;
    fixedColor_ = Value;
    Invalidate();
}

bool TCustomGrid::DefaultDrawing() const {
    return ReadOnMain([this] { return defaultDrawing_; });
}

void TCustomGrid::SetDefaultDrawing(bool Value) {
    if (QueueOffMain(Life(), [this, Value] { SetDefaultDrawing(Value); })) return;
    if (Value == defaultDrawing_) return;
    defaultDrawing_ = Value;
    Invalidate();
}

// ---------------------------------------------------------------------------
// Scrolling

int TCustomGrid::LeftCol() const {
    return ReadOnMain([this] { return topLeft_.X; });
}
int TCustomGrid::TopRow() const {
    return ReadOnMain([this] { return topLeft_.Y; });
}

void TCustomGrid::SetLeftCol(int Value) {
    if (QueueOffMain(Life(), [this, Value] { SetLeftCol(Value); })) return;
    setTopLeft(Value, topLeft_.Y);
}

void TCustomGrid::SetTopRow(int Value) {
    if (QueueOffMain(Life(), [this, Value] { SetTopRow(Value); })) return;
    setTopLeft(topLeft_.X, Value);
}

int TCustomGrid::VisibleColCount() const {
    return ReadOnMain([this] {
        Axis a = colAxis();
        return std::max(0, a.LastFullVisible() - a.First + 1);
    });
}

int TCustomGrid::VisibleRowCount() const {
    return ReadOnMain([this] {
        Axis a = rowAxis();
        return std::max(0, a.LastFullVisible() - a.First + 1);
    });
}

void TCustomGrid::clampTopLeft() {
    topLeft_.X = std::clamp(topLeft_.X, fixedCols_, colAxis().MaxFirst());
    topLeft_.Y = std::clamp(topLeft_.Y, fixedRows_, rowAxis().MaxFirst());
}

void TCustomGrid::setTopLeft(int ALeft, int ATop) {
    TGridCoord old = topLeft_;
    topLeft_ = TGridCoord{ALeft, ATop};
    clampTopLeft();
    if (topLeft_ == old) return;
    updateScrollBars();
    Invalidate();
    TopLeftChanged();
}

void TCustomGrid::TopLeftChanged() { OnTopLeftChanged(this); }

void TCustomGrid::clampInView(TGridCoord Cell) {
    TGridCoord tl = topLeft_;
    if (Cell.Y >= fixedRows_) {
        Axis ra = rowAxis();
        if (Cell.Y < tl.Y)
            tl.Y = Cell.Y;
        else if (Cell.Y > ra.LastFullVisible())
            tl.Y = ra.FirstForLast(Cell.Y);
    }
    // A whole-row selection keeps the horizontal position.
    if (Cell.X >= fixedCols_ && !options_.Contains(goRowSelect)) {
        Axis ca = colAxis();
        if (Cell.X < tl.X)
            tl.X = Cell.X;
        else if (Cell.X > ca.LastFullVisible())
            tl.X = ca.FirstForLast(Cell.X);
    }
    setTopLeft(tl.X, tl.Y);
}

void TCustomGrid::LayoutChanged() {
    TGridCoord old = topLeft_;
    updateScrollBars();
    Invalidate();
    if (!(topLeft_ == old) && !Loading()) TopLeftChanged();
}

// Decides which bars show (each takes room from the client area, which may
// make the other one necessary), keeps the scroll position valid and tells
// the peer.
void TCustomGrid::updateScrollBars() {
    bool wantH = scrollBars_ == ssHorizontal || scrollBars_ == ssBoth;
    bool wantV = scrollBars_ == ssVertical || scrollBars_ == ssBoth;
    hBarShown_ = vBarShown_ = false;
    for (int pass = 0; pass < 3; ++pass) {
        bool v = wantV && rowAxis().MaxFirst() > fixedRows_;
        bool h = wantH && colAxis().MaxFirst() > fixedCols_;
        if (v == vBarShown_ && h == hBarShown_) break;
        vBarShown_ = v;
        hBarShown_ = h;
    }
    clampTopLeft();
    auto state = [](const Axis& a, bool shown) {
        TScrollBarState s;
        s.Visible = shown;
        s.Min = a.Fixed;
        s.Max = std::max(a.Fixed, a.Count - 1);
        s.Page = std::max(1, a.Count - a.MaxFirst());
        s.Position = a.First;
        return s;
    };
    TScrollBarState h = state(colAxis(), hBarShown_);
    TScrollBarState v = state(rowAxis(), vBarShown_);
    auto* peer = dynamic_cast<IScrollBarsPeer*>(Peer());
    if (peer && !(h == hBar_)) peer->SetScrollBar(sbHorizontal, h);
    if (peer && !(v == vBar_)) peer->SetScrollBar(sbVertical, v);
    hBar_ = h;
    vBar_ = v;
}

void TCustomGrid::ScrollBarAction(TScrollBarKind Kind, TScrollCode Code, int Pos) { scrollAxis(Kind, Code, Pos); }

void TCustomGrid::scrollAxis(TScrollBarKind Kind, TScrollCode Code, int Pos) {
    Axis a = Kind == sbVertical ? rowAxis() : colAxis();
    int page = std::max(1, a.LastFullVisible() - a.First + 1);
    int first = a.First;
    auto stepOver = [&](int from, int dir) {
        int i = from + dir;
        while (i >= a.Fixed && i < a.Count && a.Hidden(i)) i += dir;
        return i;
    };
    switch (Code) {
    case scLineUp: first = stepOver(first, -1); break;
    case scLineDown: first = stepOver(first, 1); break;
    case scPageUp: first -= page; break;
    case scPageDown: first += page; break;
    case scTop: first = a.Fixed; break;
    case scBottom: first = a.MaxFirst(); break;
    case scTrack:
        if (!options_.Contains(goThumbTracking)) return;
        first = Pos;
        break;
    case scPosition: first = Pos; break;
    case scEndScroll: return;
    }
    if (Kind == sbVertical)
        setTopLeft(topLeft_.X, first);
    else
        setTopLeft(first, topLeft_.Y);
    // The bar may have moved to where the view cannot follow.
    if (auto* peer = dynamic_cast<IScrollBarsPeer*>(Peer()))
        peer->SetScrollBar(Kind, Kind == sbVertical ? vBar_ : hBar_);
}

void TCustomGrid::MouseWheel(TShiftState /*Shift*/, int WheelDelta, TPoint /*ClientPos*/) {
    // Three rows a notch, as the desktop does; a partial notch still moves one.
    int notches = WheelDelta / 120;
    if (notches == 0 && WheelDelta != 0) notches = WheelDelta > 0 ? 1 : -1;
    bool vertical = rowAxis().MaxFirst() > fixedRows_ || colAxis().MaxFirst() == fixedCols_;
    if (vertical)
        setTopLeft(topLeft_.X, topLeft_.Y - 3 * notches);
    else
        setTopLeft(topLeft_.X - notches, topLeft_.Y);
}

// ---------------------------------------------------------------------------
// Peer, size, focus, streaming

void TCustomGrid::InitPeer() {
    TCustomControl::InitPeer();
    if (auto* p = dynamic_cast<IScrollBarsPeer*>(Peer())) {
        p->SetBorderStyle(borderStyle_);
        p->SetScrollBar(sbHorizontal, hBar_);
        p->SetScrollBar(sbVertical, vBar_);
    }
}

void TCustomGrid::BoundsChanged(bool Resized) {
    TCustomControl::BoundsChanged(Resized);
    if (Resized) LayoutChanged();
}

void TCustomGrid::DoEnter() {
    Invalidate();
    TCustomControl::DoEnter();
}

void TCustomGrid::DoExit() {
    Invalidate();
    TCustomControl::DoExit();
}

void TCustomGrid::Loaded() {
    TCustomControl::Loaded();
    LayoutChanged();
}

bool TCustomGrid::customColWidths() const {
    return std::any_of(colWidths_.begin(), colWidths_.end(), [this](int w) { return w != defaultColWidth_; });
}

bool TCustomGrid::customRowHeights() const {
    return std::any_of(rowHeights_.begin(), rowHeights_.end(), [this](int h) { return h != defaultRowHeight_; });
}

void TCustomGrid::DefineProperties(TFiler& Filer) {
    TCustomControl::DefineProperties(Filer);
    Filer.DefineProperty(
        "ColWidths", [this](TReader& r) { readColWidths(r); }, [this](TWriter& w) { writeColWidths(w); },
        customColWidths());
    Filer.DefineProperty(
        "RowHeights", [this](TReader& r) { readRowHeights(r); }, [this](TWriter& w) { writeRowHeights(w); },
        customRowHeights());
}

namespace {

void readExtents(TReader& Reader, std::vector<int>& Extents) {
    Reader.ReadListBegin();
    for (size_t i = 0; !Reader.EndOfList(); ++i) {
        int v = Reader.ReadInteger();
        if (i < Extents.size()) Extents[i] = std::max(-1, v);
    }
    Reader.ReadListEnd();
}

void writeExtents(TWriter& Writer, const std::vector<int>& Extents) {
    Writer.WriteListBegin();
    for (int v : Extents) Writer.WriteInteger(v);
    Writer.WriteListEnd();
}

}  // namespace

void TCustomGrid::readColWidths(TReader& Reader) {
    readExtents(Reader, colWidths_);
    ColWidthsChanged();
}

void TCustomGrid::writeColWidths(TWriter& Writer) { writeExtents(Writer, colWidths_); }

void TCustomGrid::readRowHeights(TReader& Reader) {
    readExtents(Reader, rowHeights_);
    RowHeightsChanged();
}

void TCustomGrid::writeRowHeights(TWriter& Writer) { writeExtents(Writer, rowHeights_); }
