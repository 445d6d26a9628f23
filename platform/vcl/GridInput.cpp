// TCustomGrid: mouse (selecting, sizing columns and rows) and keys; the
// peers' way in for scroll bars and the wheel.
#include "vcl/Grids.h"

#include "vcl/GridAxis.h"
#include "vcl/PeerInput.h"

using yorde_grid::Axis;

void TScrollInput::ScrollBar(TControl* C, TScrollBarKind Kind, TScrollCode Code, int Pos) {
    TPeerInput::Dispatch([&] {
        if (auto* t = dynamic_cast<IScrollTarget*>(C)) t->ScrollBarAction(Kind, Code, Pos);
    });
}

void TScrollInput::MouseWheel(TControl* C, TShiftState Shift, int WheelDelta, TPoint ClientPos) {
    TPeerInput::Dispatch([&] {
        if (auto* t = dynamic_cast<IScrollTarget*>(C)) t->MouseWheel(Shift, WheelDelta, ClientPos);
    });
}

// ---------------------------------------------------------------------------
// Sizing

namespace {

// The zone around a line that grabs it: 7 pixels, 3 before the line.
constexpr int kSizingRange = 7;
constexpr int kSizingBack = 3;

// The scrolled cell whose trailing line is at Pos; Edge receives where the
// cell ends.
bool lineHit(const Axis& A, int Pos, int& Index, int& Edge) {
    int line = A.FixedBoundary();
    int limit = A.GridExtent();
    for (int i = A.First; i < A.Count; ++i) {
        if (A.Hidden(i)) continue;
        line += A.Extent(i);
        if (line > limit) break;
        if (Pos >= line - kSizingBack && Pos <= line - kSizingBack + kSizingRange) {
            Index = i;
            Edge = line;
            return true;
        }
        line += A.LineWidth;
    }
    return false;
}

}  // namespace

// Columns are sized from the fixed rows, rows from the fixed columns.
bool TCustomGrid::sizingHit(int X, int Y, TGridState& State, int& Index, int& Edge) const {
    Axis ca = colAxis();
    Axis ra = rowAxis();
    if (options_.Contains(goColSizing) && X > ca.FixedBoundary()) {
        if (Y >= ra.FixedBoundary()) return false;
        if (!lineHit(ca, X, Index, Edge)) return false;
        State = gsColSizing;
        return true;
    }
    if (options_.Contains(goRowSizing) && Y > ra.FixedBoundary()) {
        if (X >= ca.FixedBoundary()) return false;
        if (!lineHit(ra, Y, Index, Edge)) return false;
        State = gsRowSizing;
        return true;
    }
    return false;
}

TCursor TCustomGrid::sizingCursorAt(int X, int Y) const {
    TGridState state = gsNormal;
    int index = -1, edge = 0;
    if (!sizingHit(X, Y, state, index, edge)) return crDefault;
    return state == gsColSizing ? crHSplit : crVSplit;
}

// Shown over a line that can be dragged, without changing the Cursor property.
void TCustomGrid::showSizingCursor(TCursor Kind) {
    if (Kind == sizingCursor_) return;
    sizingCursor_ = Kind;
    if (IControlPeer* p = Peer()) p->SetCursor(Kind == crDefault ? Cursor() : Kind);
}

// ---------------------------------------------------------------------------
// Mouse

void TCustomGrid::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    auto alive = Life().Watch();
    if (!Focused() && CanFocus()) SetFocus();
    if (alive.expired()) return;
    if (Button == mbLeft) {
        TGridState state = gsNormal;
        int index = -1, edge = 0;
        if (sizingHit(X, Y, state, index, edge)) {
            gridState_ = state;
            sizingIndex_ = index;
            const std::vector<int>& extents = state == gsColSizing ? colWidths_ : rowHeights_;
            sizingStart_ = edge - std::max(0, extents[size_t(index)]);
            sizingOffset_ = edge - (state == gsColSizing ? X : Y);
        } else {
            TGridCoord cell = MouseCoord(X, Y);
            bool rowSelect = options_.Contains(goRowSelect);
            if (cell.X >= 0 && cell.X < fixedCols_ && rowSelect && FixedColSelectsRow() && fixedCols_ < colCount_)
                cell.X = fixedCols_;
            if (cell.X >= fixedCols_ && cell.Y >= fixedRows_) {
                gridState_ = gsSelecting;
                bool extend = Shift.Contains(ssShift) && options_.Contains(goRangeSelect);
                MoveCurrent(cell.X, cell.Y, !extend, true, false);
                if (alive.expired()) return;
            }
        }
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TCustomGrid::MouseMove(TShiftState Shift, int X, int Y) {
    switch (gridState_) {
    case gsSelecting: {
        // Past an edge the view follows, one cell per move.
        Axis ca = colAxis();
        Axis ra = rowAxis();
        int cx = std::clamp(X, 0, std::max(0, ca.GridExtent() - 1));
        int cy = std::clamp(Y, 0, std::max(0, ra.GridExtent() - 1));
        TGridCoord cell{ca.Hit(cx), ra.Hit(cy)};
        if (Y < ra.FixedBoundary() && topLeft_.Y > fixedRows_)
            cell.Y = topLeft_.Y - 1;
        else if (Y >= ra.GridExtent() && ra.LastFullVisible() + 1 < rowCount_)
            cell.Y = ra.LastFullVisible() + 1;
        if (!options_.Contains(goRowSelect)) {
            if (X < ca.FixedBoundary() && topLeft_.X > fixedCols_)
                cell.X = topLeft_.X - 1;
            else if (X >= ca.GridExtent() && ca.LastFullVisible() + 1 < colCount_)
                cell.X = ca.LastFullVisible() + 1;
        } else {
            cell.X = current_.X;
        }
        cell.X = std::max(cell.X, fixedCols_);
        cell.Y = std::max(cell.Y, fixedRows_);
        if (cell.X < colCount_ && cell.Y < rowCount_ && !(cell == current_))
            MoveCurrent(cell.X, cell.Y, false, true, false);
        break;
    }
    case gsColSizing: SetColWidths(sizingIndex_, std::max(1, X + sizingOffset_ - sizingStart_)); break;
    case gsRowSizing: SetRowHeights(sizingIndex_, std::max(1, Y + sizingOffset_ - sizingStart_)); break;
    default: showSizingCursor(sizingCursorAt(X, Y)); break;
    }
    TCustomControl::MouseMove(Shift, X, Y);
}

void TCustomGrid::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Button == mbLeft) {
        TGridState state = gridState_;
        gridState_ = gsNormal;
        if (state == gsSelecting) {
            auto alive = Life().Watch();
            Click();
            if (alive.expired()) return;
        } else if (state == gsColSizing) {
            SetColWidths(sizingIndex_, std::max(1, X + sizingOffset_ - sizingStart_));
            showSizingCursor(sizingCursorAt(X, Y));
        } else if (state == gsRowSizing) {
            SetRowHeights(sizingIndex_, std::max(1, Y + sizingOffset_ - sizingStart_));
            showSizingCursor(sizingCursorAt(X, Y));
        }
    }
    TCustomControl::MouseUp(Button, Shift, X, Y);
}

// ---------------------------------------------------------------------------
// Keys

void TCustomGrid::KeyDown(WORD& Key, TShiftState Shift) {
    auto alive = Life().Watch();
    TCustomControl::KeyDown(Key, Shift);  // OnKeyDown first; it may change or zero the key
    if (alive.expired() || Key == 0) return;
    bool rowSelect = options_.Contains(goRowSelect);
    Axis ra = rowAxis();
    int page = std::max(1, ra.LastFullVisible() - ra.First + 1);
    TGridCoord cur = current_;
    TGridCoord tl = topLeft_;
    int dirX = 0;  // the way a column move went, to step over hidden columns
    if (Shift.Contains(ssCtrl)) {
        switch (Key) {
        case VK_UP: --tl.Y; break;
        case VK_DOWN: ++tl.Y; break;
        case VK_LEFT: --tl.X; break;
        case VK_RIGHT: ++tl.X; break;
        case VK_PRIOR: cur.Y = tl.Y; break;
        case VK_NEXT: cur.Y = std::max(tl.Y, ra.LastFullVisible()); break;
        case VK_HOME:
            cur = TGridCoord{fixedCols_, fixedRows_};
            dirX = 1;
            break;
        case VK_END:
            cur = TGridCoord{colCount_ - 1, rowCount_ - 1};
            dirX = -1;
            break;
        default: return;
        }
    } else {
        switch (Key) {
        case VK_UP: --cur.Y; break;
        case VK_DOWN: ++cur.Y; break;
        case VK_LEFT:
            if (rowSelect)
                --tl.X;
            else {
                --cur.X;
                dirX = -1;
            }
            break;
        case VK_RIGHT:
            if (rowSelect)
                ++tl.X;
            else {
                ++cur.X;
                dirX = 1;
            }
            break;
        case VK_NEXT:
            cur.Y += page;
            tl.Y += page;
            break;
        case VK_PRIOR:
            cur.Y -= page;
            tl.Y -= page;
            break;
        case VK_HOME:
            if (rowSelect)
                cur.Y = fixedRows_;
            else {
                cur.X = fixedCols_;
                dirX = 1;
            }
            break;
        case VK_END:
            if (rowSelect)
                cur.Y = rowCount_ - 1;
            else {
                cur.X = colCount_ - 1;
                dirX = -1;
            }
            break;
        default: return;
        }
    }
    if (dirX != 0) {
        while (cur.X >= fixedCols_ && cur.X < colCount_ && colWidths_[size_t(cur.X)] < 0) cur.X += dirX;
        if (cur.X < fixedCols_ || cur.X >= colCount_) cur.X = current_.X;
    }
    cur.X = std::clamp(cur.X, std::min(fixedCols_, colCount_ - 1), colCount_ - 1);
    cur.Y = std::clamp(cur.Y, std::min(fixedRows_, rowCount_ - 1), rowCount_ - 1);
    if (rowSelect) cur.X = current_.X;
    if (!(tl == topLeft_)) setTopLeft(tl.X, tl.Y);
    if (cur == current_) return;
    bool extend = Shift.Contains(ssShift) && options_.Contains(goRangeSelect);
    MoveCurrent(cur.X, cur.Y, !extend, true, true);
}
