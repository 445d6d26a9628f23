// TValueListEditor: rows over name=value strings.
#include "vcl/ValEdit.h"

#include "rtl/StrUtils.h"
#include "vcl/GridsPublish.h"

namespace {

constexpr TGridOptions kValueListOptions{goFixedVertLine, goFixedHorzLine, goVertLine,         goHorzLine,
                                         goColSizing,     goEditing,       goAlwaysShowEditor, goThumbTracking};

}  // namespace

YORDE_IMPLEMENT_CLASS(TValueListStrings, [](TClassBuilder<TValueListStrings>&) {})
YORDE_IMPLEMENT_CLASS(TValueListEditor, [](TClassBuilder<TValueListEditor>& c) {
    PublishControl(c, pcStandard | pcFocus | pcKeyEvents);
    PublishGridLooks(c, false, kValueListOptions);
    c.Property("DisplayOptions", &TValueListEditor::DisplayOptions, &TValueListEditor::SetDisplayOptions)
        .Default(int64_t(TDisplayOptions{doColumnTitles, doAutoColResize, doKeyColFixed}.Bits()));
    c.Property("KeyOptions", &TValueListEditor::KeyOptions, &TValueListEditor::SetKeyOptions)
        .Default(int64_t(TKeyOptions{keyUnique}.Bits()));
    c.Property("Strings", &TValueListEditor::Strings, &TValueListEditor::SetStrings);
    c.Property("TitleCaptions", &TValueListEditor::TitleCaptions, &TValueListEditor::SetTitleCaptions);
    c.Event("OnDrawCell", AsMemberOf<TValueListEditor>(&TCustomDrawGrid::OnDrawCell));
    c.Event("OnSelectCell", AsMemberOf<TValueListEditor>(&TCustomDrawGrid::OnSelectCell));
})

namespace {
const bool valueListRegistered = (RegisterClass(TValueListEditor::StaticClass()), true);
}

void TValueListStrings::Changed() {
    TStringList::Changed();
    if (UpdateCount() == 0) editor_->stringsChanged();
}

TValueListEditor::TValueListEditor(TComponent* AOwner)
    : TCustomDrawGrid(AOwner),
      strings_(std::make_unique<TValueListStrings>(this)),
      titleCaptions_(std::make_unique<TStringList>()) {
    titleCaptions_->Add("Key");
    titleCaptions_->Add("Value");
    titleCaptions_->OnChange = [this](TObject*) { Invalidate(); };
    StoreBounds(0, 0, 306, 300);
    SetColCount(2);
    SetRowCount(2);
    SetDefaultColWidth(150);
    SetDefaultRowHeight(18);
    SetOptions(kValueListOptions);
}

TValueListEditor::~TValueListEditor() = default;

void TValueListEditor::SetStrings(TStrings* Value) {
    if (QueueOffMain(Life(), [this, Value] { SetStrings(Value); })) return;
    strings_->Assign(Value);
}

void TValueListEditor::SetTitleCaptions(TStrings* Value) {
    if (QueueOffMain(Life(), [this, Value] { SetTitleCaptions(Value); })) return;
    titleCaptions_->Assign(Value);
}

TKeyOptions TValueListEditor::KeyOptions() const {
    return ReadOnMain([this] { return keyOptions_; });
}

void TValueListEditor::SetKeyOptions(TKeyOptions Value) {
    if (QueueOffMain(Life(), [this, Value] { SetKeyOptions(Value); })) return;
    keyOptions_ = Value;
}

TDisplayOptions TValueListEditor::DisplayOptions() const {
    return ReadOnMain([this] { return displayOptions_; });
}

void TValueListEditor::SetDisplayOptions(TDisplayOptions Value) {
    if (QueueOffMain(Life(), [this, Value] { SetDisplayOptions(Value); })) return;
    TDisplayOptions old = displayOptions_;
    displayOptions_ = Value;
    if (Value.Contains(doColumnTitles) != old.Contains(doColumnTitles)) {
        int entries = std::max(1, strings_->Count());
        if (Value.Contains(doColumnTitles)) {
            SetRowCount(1 + entries);
            SetFixedRows(1);
        } else {
            SetFixedRows(0);
            SetRowCount(entries);
        }
    }
    if (Value.Contains(doKeyColFixed) != old.Contains(doKeyColFixed))
        SetFixedCols(Value.Contains(doKeyColFixed) ? 1 : 0);
    LayoutChanged();
}

// ---------------------------------------------------------------------------
// Rows and lines

void TValueListEditor::stringsChanged() {
    int rows = FixedRows() + std::max(1, strings_->Count());
    if (rows != RowCount())
        SetRowCount(rows);
    else
        Invalidate();
}

int TValueListEditor::dataIndex(int ARow) const { return ARow < FixedRows() ? -1 : ARow - FixedRows(); }

void TValueListEditor::checkRow(int ARow) const {
    if (ARow < 0 || ARow >= RowCount()) throw EInvalidGridOperation("Grid index out of range");
}

AnsiString TValueListEditor::keyAt(int Line) const {
    AnsiString s = strings_->Strings(Line);
    size_t p = s.find('=');
    return p == AnsiString::npos ? s : s.substr(0, p);
}

AnsiString TValueListEditor::valueAt(int Line) const {
    AnsiString s = strings_->Strings(Line);
    size_t p = s.find('=');
    return p == AnsiString::npos ? AnsiString() : s.substr(p + 1);
}

void TValueListEditor::putLine(int Line, const AnsiString& Key, const AnsiString& Value) {
    strings_->SetStrings(Line, Key + "=" + Value);
}

void TValueListEditor::checkKey(const AnsiString& Key, int ExceptLine) const {
    if (Key.find('=') != AnsiString::npos) throw EListError("Invalid key \"" + Key + "\": a key cannot contain \"=\"");
    if (!keyOptions_.Contains(keyUnique)) return;
    for (int i = 0; i < strings_->Count(); ++i)
        if (i != ExceptLine && AnsiCompareText(keyAt(i), Key) == 0)
            throw EListError("A key with the name of \"" + Key + "\" already exists");
}

bool TValueListEditor::FindRow(const AnsiString& KeyName, int& ARow) const {
    return ReadOnMain([&] {
        for (int i = 0; i < strings_->Count(); ++i)
            if (AnsiCompareText(keyAt(i), KeyName) == 0) {
                ARow = FixedRows() + i;
                return true;
            }
        return false;
    });
}

int TValueListEditor::InsertRow(const AnsiString& KeyName, const AnsiString& Value, bool Append) {
    return ReadOnMain([&] {
        int count = strings_->Count();
        int current = dataIndex(Row());
        bool fillCurrent = current >= 0 && current < count && keyAt(current).empty() && valueAt(current).empty();
        checkKey(KeyName, fillCurrent ? current : -1);
        if (fillCurrent) {
            putLine(current, KeyName, Value);
            return FixedRows() + current;
        }
        int at = Append || count == 0 ? count : std::clamp(current, 0, count);
        strings_->Insert(at, KeyName + "=" + Value);
        return FixedRows() + at;
    });
}

void TValueListEditor::DeleteRow(int ARow) {
    if (QueueOffMain(Life(), [this, ARow] { DeleteRow(ARow); })) return;
    checkRow(ARow);
    int line = dataIndex(ARow);
    if (line < 0) throw EInvalidGridOperation("Grid index out of range");
    if (line < strings_->Count()) strings_->Delete(line);
}

// ---------------------------------------------------------------------------
// Keys, values, cells

AnsiString TValueListEditor::Keys(int ARow) const { return Cells(0, ARow); }

void TValueListEditor::SetKeys(int ARow, const AnsiString& Value) { SetCells(0, ARow, Value); }

AnsiString TValueListEditor::Values(const AnsiString& Key) const {
    return ReadOnMain([&] {
        int row = 0;
        return FindRow(Key, row) ? valueAt(dataIndex(row)) : AnsiString();
    });
}

void TValueListEditor::SetValues(const AnsiString& Key, const AnsiString& Value) {
    if (QueueOffMain(Life(), [this, Key, Value] { SetValues(Key, Value); })) return;
    int row = 0;
    if (FindRow(Key, row)) {
        int line = dataIndex(row);
        putLine(line, keyAt(line), Value);
    } else {
        InsertRow(Key, Value, true);
    }
}

AnsiString TValueListEditor::Cells(int ACol, int ARow) const {
    return ReadOnMain([&] {
        checkRow(ARow);
        if (ACol < 0 || ACol >= ColCount()) throw EInvalidGridOperation("Grid index out of range");
        int line = dataIndex(ARow);
        if (line < 0) return ACol < titleCaptions_->Count() ? titleCaptions_->Strings(ACol) : AnsiString();
        if (line >= strings_->Count()) return AnsiString();
        return ACol == 0 ? keyAt(line) : valueAt(line);
    });
}

void TValueListEditor::SetCells(int ACol, int ARow, const AnsiString& Value) {
    if (QueueOffMain(Life(), [this, ACol, ARow, Value] { SetCells(ACol, ARow, Value); })) return;
    checkRow(ARow);
    if (ACol < 0 || ACol >= ColCount()) throw EInvalidGridOperation("Grid index out of range");
    int line = dataIndex(ARow);
    if (line < 0) {
        while (titleCaptions_->Count() <= ACol) titleCaptions_->Add(AnsiString());
        titleCaptions_->SetStrings(ACol, Value);
        return;
    }
    if (line < strings_->Count()) {
        if (ACol == 0) {
            checkKey(Value, line);
            putLine(line, Value, valueAt(line));
        } else {
            putLine(line, keyAt(line), Value);
        }
        return;
    }
    // The placeholder row becomes an entry once it holds something.
    if (Value.empty()) return;
    AnsiString key = ACol == 0 ? Value : AnsiString();
    checkKey(key, -1);
    strings_->Add(key + "=" + (ACol == 0 ? AnsiString() : Value));
}

// ---------------------------------------------------------------------------
// Looks

void TValueListEditor::DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) {
    if (!OnDrawCell && DefaultDrawing())
        Canvas()->TextRect(ARect, ARect.Left + 2, ARect.Top + 2, Cells(ACol, ARow), CellCodePage(ARow));
    TCustomDrawGrid::DrawCell(ACol, ARow, ARect, AState);
}

void TValueListEditor::LayoutChanged() {
    TCustomDrawGrid::LayoutChanged();
    fitValueColumn();
}

// The value column takes the width the key column leaves.
void TValueListEditor::fitValueColumn() {
    if (fitting_ || !displayOptions_.Contains(doAutoColResize) || ColCount() != 2 || Loading()) return;
    fitting_ = true;
    try {
        // A second round when the first changed which scroll bars show.
        for (int round = 0; round < 2; ++round) {
            int line = Options().Contains(goVertLine) ? GridLineWidth() : 0;
            int key = ColWidths(0);
            int want = std::max(0, ClientWidth() - (key < 0 ? 0 : key + line) - line);
            if (ColWidths(1) == want) break;
            SetColWidths(1, want);
        }
    } catch (...) {
        fitting_ = false;
        throw;
    }
    fitting_ = false;
}
