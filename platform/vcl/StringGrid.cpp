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

TStringGrid::TStringGrid(TComponent* AOwner) : TDrawGrid(AOwner), texts_(ColCount(), RowCount()) {}

TStringGrid::~TStringGrid() = default;

void TStringGrid::SizeChanged(int OldColCount, int OldRowCount) {
    TDrawGrid::SizeChanged(OldColCount, OldRowCount);
    // SwapRows brings texts of the new size along.
    if (swapping_) return;
    texts_.SetColCount(ColCount());
    texts_.SetRowCount(RowCount());
    if (objects_.empty()) return;
    for (auto& row : objects_) row.resize(size_t(ColCount()));
    objects_.resize(size_t(RowCount()), std::vector<TObject*>(size_t(ColCount())));
}

void TStringGrid::SwapRows(TGridRows& Rows) {
    texts_.Swap(Rows);
    texts_.SetColCount(std::max(1, texts_.ColCount()));
    texts_.SetRowCount(std::max(1, texts_.RowCount()));
    objects_.clear();
    swapping_ = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{swapping_};
    SetColCount(texts_.ColCount());
    SetRowCount(texts_.RowCount());
}

void TStringGrid::DeleteRow(int ARow) {
    if (ARow < 0 || ARow >= RowCount()) throw EInvalidGridOperation("Grid index out of range");
    texts_.DeleteRow(ARow);
    if (!objects_.empty()) objects_.erase(objects_.begin() + ARow);
    // A grid keeps one row: the last one goes empty instead.
    if (RowCount() == 1) {
        texts_.SetRowCount(1);
        objects_.clear();
        Invalidate();
        return;
    }
    // The rows are already the new count's: the count change keeps them.
    swapping_ = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{swapping_};
    SetRowCount(RowCount() - 1);
    Invalidate();
}

int TStringGrid::FindRow(int ACol, const AnsiString& Text) const {
    if (ACol < 0 || ACol >= texts_.ColCount()) return -1;
    return texts_.FindRow(ACol, Text);
}

void TStringGrid::checkCell(int ACol, int ARow) const {
    if (ACol < 0 || ARow < 0 || ARow >= texts_.RowCount() || ACol >= texts_.ColCount())
        throw EInvalidGridOperation("Grid index out of range");
}

AnsiString TStringGrid::Cells(int ACol, int ARow) const {
    return ReadOnMain([this, ACol, ARow] {
        checkCell(ACol, ARow);
        return AnsiString(texts_.Cell(ACol, ARow));
    });
}

void TStringGrid::SetCells(int ACol, int ARow, const AnsiString& Value) {
    if (QueueOffMain(Life(), [this, ACol, ARow, Value] { SetCells(ACol, ARow, Value); })) return;
    checkCell(ACol, ARow);
    if (texts_.Cell(ACol, ARow) == Value) return;
    texts_.SetCell(ACol, ARow, Value);
    Invalidate();
}

TObject* TStringGrid::Objects(int ACol, int ARow) const {
    return ReadOnMain([this, ACol, ARow] {
        checkCell(ACol, ARow);
        return objects_.empty() ? nullptr : objects_[size_t(ARow)][size_t(ACol)];
    });
}

void TStringGrid::SetObjects(int ACol, int ARow, TObject* Value) {
    if (QueueOffMain(Life(), [this, ACol, ARow, Value] { SetObjects(ACol, ARow, Value); })) return;
    checkCell(ACol, ARow);
    if (objects_.empty()) {
        if (!Value) return;
        objects_.assign(size_t(RowCount()), std::vector<TObject*>(size_t(ColCount())));
    }
    objects_[size_t(ARow)][size_t(ACol)] = Value;
}

void TStringGrid::DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) {
    // With a handler the handler draws the text; drawing it here as well
    // would show it twice where the handler draws elsewhere in the cell.
    if (!OnDrawCell && DefaultDrawing())
        Canvas()->TextRect(ARect, ARect.Left + 2, ARect.Top + 2, AnsiString(texts_.Cell(ACol, ARow)),
                           CellCodePage(ARow));
    TDrawGrid::DrawCell(ACol, ARow, ARect, AState);
}
