// TCustomGrid: painting the cells in view, their lines and the empty rest.
#include "vcl/Grids.h"

#include "vcl/GridAxis.h"

using yorde_grid::Axis;

namespace {

struct Span {
    int Index;
    int Start;
    int Extent;
};

// The cells in view along one axis: the fixed ones, then from First on.
std::vector<Span> spansInView(const Axis& A) {
    std::vector<Span> spans;
    int p = 0;
    auto add = [&](int i) {
        if (A.Hidden(i)) return;
        spans.push_back(Span{i, p, A.Extent(i)});
        p += A.Step(i);
    };
    for (int i = 0; i < A.Fixed; ++i) add(i);
    for (int i = A.First; i < A.Count && p < A.Client; ++i) add(i);
    return spans;
}

void fill(TCanvas* C, const TRect& R, TColor Color) {
    if (R.IsEmpty()) return;
    C->Brush()->SetColor(Color);
    C->Brush()->SetStyle(bsSolid);
    C->FillRect(R);
}

// The raised look of a fixed cell: light top and left, shadow bottom and right.
void raisedEdge(TCanvas* C, const TRect& R) {
    if (R.Width() < 2 || R.Height() < 2) return;
    fill(C, TRect(R.Left, R.Top, R.Right - 1, R.Top + 1), clBtnHighlight);
    fill(C, TRect(R.Left, R.Top, R.Left + 1, R.Bottom - 1), clBtnHighlight);
    fill(C, TRect(R.Left, R.Bottom - 1, R.Right, R.Bottom), clBtnShadow);
    fill(C, TRect(R.Right - 1, R.Top, R.Right, R.Bottom), clBtnShadow);
}

void focusFrame(TCanvas* C, const TRect& R) {
    if (R.IsEmpty()) return;
    TPen* pen = C->Pen();
    TColor color = pen->Color();
    TPenStyle style = pen->Style();
    pen->SetColor(clWindowFrame);
    pen->SetStyle(psDot);
    C->Polyline({TPoint(R.Left, R.Top), TPoint(R.Right - 1, R.Top), TPoint(R.Right - 1, R.Bottom - 1),
                 TPoint(R.Left, R.Bottom - 1), TPoint(R.Left, R.Top)});
    pen->SetColor(color);
    pen->SetStyle(style);
}

}  // namespace

void TCustomGrid::Paint() {
    TCanvas* canvas = Canvas();
    Axis ca = colAxis();
    Axis ra = rowAxis();
    std::vector<Span> cols = spansInView(ca);
    std::vector<Span> rows = spansInView(ra);
    TGridRect sel = Selection();
    bool focused = Focused();
    bool rowSelect = options_.Contains(goRowSelect);
    TColor color = Color();

    for (const Span& r : rows) {
        if (r.Start >= ra.Client) break;
        for (const Span& c : cols) {
            if (c.Start >= ca.Client) break;
            TRect rect(c.Start, r.Start, c.Start + c.Extent, r.Start + r.Extent);
            bool fixed = c.Index < fixedCols_ || r.Index < fixedRows_;
            TGridDrawState state;
            if (fixed) {
                state << gdFixed;
            } else {
                if (sel.Contains(c.Index, r.Index)) state << gdSelected;
                if (focused && c.Index == current_.X && r.Index == current_.Y) state << gdFocused;
            }
            canvas->Font()->Assign(Font());
            TColor back = color;
            if (fixed) {
                back = fixedColor_;
            } else if (state.Contains(gdSelected) &&
                       (!state.Contains(gdFocused) || rowSelect || options_.Contains(goDrawFocusSelected))) {
                back = clHighlight;
                canvas->Font()->SetColor(clHighlightText);
            }
            canvas->Brush()->SetColor(back);
            canvas->Brush()->SetStyle(bsSolid);
            if (defaultDrawing_) canvas->FillRect(rect);
            auto alive = Life().Watch();
            DrawCell(c.Index, r.Index, rect, state);
            if (alive.expired()) return;
            if (!defaultDrawing_) continue;
            if (fixed && options_.Contains(goFixedVertLine) && options_.Contains(goFixedHorzLine))
                raisedEdge(canvas, rect);
            if (state.Contains(gdFocused) && !rowSelect) focusFrame(canvas, rect);
        }
    }

    // Lines: black in the fixed area, silver among the data cells.
    int right = ca.GridExtent();
    int bottom = ra.GridExtent();
    int fixedRight = std::min(ca.FixedBoundary(), right);
    int fixedBottom = std::min(ra.FixedBoundary(), bottom);
    TColor lineColor = ColorToRGB(color) == clSilver ? clGray : clSilver;
    bool fixedVert = options_.Contains(goFixedVertLine);
    bool fixedHorz = options_.Contains(goFixedHorzLine);
    if (ca.LineWidth > 0) {
        for (const Span& c : cols) {
            int x = c.Start + c.Extent;
            if (x >= right) break;
            bool fixedCol = c.Index < fixedCols_;
            TRect top(x, 0, x + ca.LineWidth, fixedBottom);
            TRect rest(x, fixedBottom, x + ca.LineWidth, bottom);
            fill(canvas, top, fixedVert ? clBlack : fixedColor_);
            if (fixedCol)
                fill(canvas, rest, fixedVert ? clBlack : fixedColor_);
            else
                fill(canvas, rest, lineColor);
        }
    }
    if (ra.LineWidth > 0) {
        for (const Span& r : rows) {
            int y = r.Start + r.Extent;
            if (y >= bottom) break;
            bool fixedRow = r.Index < fixedRows_;
            TRect left(0, y, fixedRight, y + ra.LineWidth);
            TRect rest(fixedRight, y, right, y + ra.LineWidth);
            fill(canvas, left, fixedHorz ? clBlack : fixedColor_);
            if (fixedRow)
                fill(canvas, rest, fixedHorz ? clBlack : fixedColor_);
            else
                fill(canvas, rest, lineColor);
        }
    }

    // The room no cell takes (and whatever the screen shows beyond the client
    // area, as under bars that a desktop style lays over the contents).
    TRect clip = canvas->ClipRect();
    int farRight = std::max(ca.Client, clip.Right);
    int farBottom = std::max(ra.Client, clip.Bottom);
    fill(canvas, TRect(right, 0, farRight, farBottom), color);
    fill(canvas, TRect(0, bottom, right, farBottom), color);

    if (defaultDrawing_ && focused && rowSelect && current_.Y >= fixedRows_) {
        int y = 0;
        if (ra.Start(current_.Y, y) && y < ra.Client)
            focusFrame(canvas, TRect(fixedRight, y, right, y + ra.Extent(current_.Y)));
    }
}
