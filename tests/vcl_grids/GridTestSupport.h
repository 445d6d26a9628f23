#pragma once
// Shared pieces of the grid tests.
#include "Owned.h"

#include "vcl/Grids.h"

#include <memory>

using yorde::test::Owned;

// The recordings list as the main window lays it out: no fixed columns,
// fixed/vertical/horizontal lines, column sizing, row select, rows 22 high,
// columns 150, 255, 255, 90 and a hidden one.
inline void ConfigureListGrid(TStringGrid* g, int Width, int Height) {
    g->SetBounds(0, 0, Width, Height);
    g->SetDefaultRowHeight(22);
    g->SetFixedCols(0);
    g->SetOptions(TGridOptions{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goColSizing, goRowSelect});
    g->SetColCount(5);
    const int widths[] = {150, 255, 255, 90, -1};
    for (int c = 0; c < 5; ++c) g->SetColWidths(c, widths[c]);
}

inline Owned<TStringGrid> MakeListGrid(int Width = 800, int Height = 300) {
    Owned<TStringGrid> g(new TStringGrid(nullptr));
    ConfigureListGrid(g.get(), Width, Height);
    return g;
}
