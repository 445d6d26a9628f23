// TDrawGrid and TStringGrid, and what grids publish.
#include "vcl/GridsPublish.h"
#include "vcl/ValEdit.h"

YORDE_IMPLEMENT_CLASS(TCustomGrid, [](TClassBuilder<TCustomGrid>&) {})
YORDE_IMPLEMENT_CLASS(TCustomDrawGrid, [](TClassBuilder<TCustomDrawGrid>&) {})

namespace {

template <class T>
void publishDrawGrid(TClassBuilder<T>& c) {
    PublishControl(c, pcStandard | pcFocus | pcKeyEvents);
    PublishGridLooks(c, true, DefaultGridOptions);
    c.Event("OnDrawCell", AsMemberOf<T>(&TCustomDrawGrid::OnDrawCell));
    c.Event("OnSelectCell", AsMemberOf<T>(&TCustomDrawGrid::OnSelectCell));
}

}  // namespace

YORDE_IMPLEMENT_CLASS(TDrawGrid, [](TClassBuilder<TDrawGrid>& c) { publishDrawGrid(c); })
YORDE_IMPLEMENT_CLASS(TStringGrid, [](TClassBuilder<TStringGrid>& c) { publishDrawGrid(c); })

// Layouts name these classes; a program that uses them can read them.
namespace {
const bool gridClassesRegistered = (RegisterClasses({TDrawGrid::StaticClass(), TStringGrid::StaticClass()}), true);
}

void RegisterGridClasses() {
    RegisterClasses({TDrawGrid::StaticClass(), TStringGrid::StaticClass(), TValueListEditor::StaticClass()});
}

void TCustomDrawGrid::DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) {
    OnDrawCell(this, ACol, ARow, ARect, AState);
}

bool TCustomDrawGrid::SelectCell(int ACol, int ARow) {
    bool can = true;
    OnSelectCell(this, ACol, ARow, can);
    return can;
}

// ---------------------------------------------------------------------------
// TStringGrid

TStringGrid::TStringGrid(TComponent* AOwner) : TDrawGrid(AOwner) {
    cells_.assign(size_t(RowCount()), std::vector<Cell>(size_t(ColCount())));
}

TStringGrid::~TStringGrid() = default;

void TStringGrid::SizeChanged(int OldColCount, int OldRowCount) {
    TDrawGrid::SizeChanged(OldColCount, OldRowCount);
    size_t cols = size_t(ColCount());
    // Rows come and go one at a time while a list fills: only a column
    // change touches every row.
    if (int(cols) != OldColCount)
        for (auto& row : cells_) row.resize(cols);
    cells_.resize(size_t(RowCount()), std::vector<Cell>(cols));
}

void TStringGrid::checkCell(int ACol, int ARow) const {
    if (ACol < 0 || ARow < 0 || ARow >= int(cells_.size()) || ACol >= int(cells_[size_t(ARow)].size()))
        throw EInvalidGridOperation("Grid index out of range");
}

AnsiString TStringGrid::Cells(int ACol, int ARow) const {
    return ReadOnMain([this, ACol, ARow] {
        checkCell(ACol, ARow);
        return cells_[size_t(ARow)][size_t(ACol)].Text;
    });
}

void TStringGrid::SetCells(int ACol, int ARow, const AnsiString& Value) {
    if (QueueOffMain(Life(), [this, ACol, ARow, Value] { SetCells(ACol, ARow, Value); })) return;
    checkCell(ACol, ARow);
    AnsiString& text = cells_[size_t(ARow)][size_t(ACol)].Text;
    if (text == Value) return;
    text = Value;
    Invalidate();
}

TObject* TStringGrid::Objects(int ACol, int ARow) const {
    return ReadOnMain([this, ACol, ARow] {
        checkCell(ACol, ARow);
        return cells_[size_t(ARow)][size_t(ACol)].Object;
    });
}

void TStringGrid::SetObjects(int ACol, int ARow, TObject* Value) {
    if (QueueOffMain(Life(), [this, ACol, ARow, Value] { SetObjects(ACol, ARow, Value); })) return;
    checkCell(ACol, ARow);
    cells_[size_t(ARow)][size_t(ACol)].Object = Value;
}

void TStringGrid::DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) {
    // With a handler the handler draws the text; drawing it here as well
    // would show it twice where the handler draws elsewhere in the cell.
    if (!OnDrawCell && DefaultDrawing())
        Canvas()->TextRect(ARect, ARect.Left + 2, ARect.Top + 2, cells_[size_t(ARow)][size_t(ACol)].Text,
                           CellCodePage(ARow));
    TDrawGrid::DrawCell(ACol, ARow, ARect, AState);
}
