#pragma once
// The published members grids share (the class library's order).
#include "vcl/Grids.h"

constexpr TGridOptions DefaultGridOptions{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect};

// Looks, lines, options and the grid events; Counts: ColCount, RowCount and
// the fixed counts (TValueListEditor takes them from its strings instead).
template <class T>
void PublishGridLooks(TClassBuilder<T>& c, bool Counts, TGridOptions DefaultOptions) {
    c.Property("BorderStyle", &TCustomGrid::BorderStyle, &TCustomGrid::SetBorderStyle).Default(bsSingle);
    if constexpr (requires { &T::SetColCount; }) {
        if (Counts) c.Property("ColCount", &TCustomGrid::ColCount, &T::SetColCount).Default(5);
    }
    c.Property("DefaultColWidth", &TCustomGrid::DefaultColWidth, &TCustomGrid::SetDefaultColWidth).Default(64);
    c.Property("DefaultRowHeight", &TCustomGrid::DefaultRowHeight, &TCustomGrid::SetDefaultRowHeight).Default(24);
    c.Property("DefaultDrawing", &TCustomGrid::DefaultDrawing, &TCustomGrid::SetDefaultDrawing).Default(1);
    c.Property("DoubleBuffered", &TCustomGrid::DoubleBuffered, &TCustomGrid::SetDoubleBuffered).Default(0);
    c.Property("FixedColor", &TCustomGrid::FixedColor, &TCustomGrid::SetFixedColor).Default(clBtnFace);
    if (Counts) c.Property("FixedCols", &TCustomGrid::FixedCols, &TCustomGrid::SetFixedCols).Default(1);
    if constexpr (requires { &T::SetRowCount; }) {
        if (Counts) c.Property("RowCount", &TCustomGrid::RowCount, &T::SetRowCount).Default(5);
    }
    if (Counts) c.Property("FixedRows", &TCustomGrid::FixedRows, &TCustomGrid::SetFixedRows).Default(1);
    c.Property("GridLineWidth", &TCustomGrid::GridLineWidth, &TCustomGrid::SetGridLineWidth).Default(1);
    c.Property("Options", &TCustomGrid::Options, &TCustomGrid::SetOptions).Default(int64_t(DefaultOptions.Bits()));
    c.Property("ScrollBars", &TCustomGrid::ScrollBars, &TCustomGrid::SetScrollBars).Default(ssBoth);
    c.Property("UserData", &TCustomGrid::UserData, &TCustomGrid::SetUserData).Default(0);
    c.Event("OnTopLeftChanged", AsMemberOf<T>(&TCustomGrid::OnTopLeftChanged));
}
