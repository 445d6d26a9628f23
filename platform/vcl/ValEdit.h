#pragma once
// TValueListEditor: a two-column grid over name=value strings, the key in
// column 0 and the value in column 1, with a title row.
//
// Rules code relies on:
// - Strings holds the entries as "key=value" lines; data row r is line
//   r - FixedRows. With no entries the grid still shows one empty data row,
//   so RowCount is at least FixedRows + 1.
// - With keyUnique (on by default here, so a layout cannot forget it) a key
//   equal to another row's key, compared by AnsiCompareText, is refused; a key
//   containing "=" is always refused (it would split the line elsewhere).
//   Refusals raise EListError and change nothing.
// - InsertRow fills the current row instead when it is empty (no key, no
//   value), as it does the placeholder row of an empty list.
// - There is no in-place editor: the cells change through code only.
#include "classes/Strings.h"
#include "vcl/Grids.h"

#include <memory>

class TValueListEditor;

enum TKeyOption { keyEdit, keyAdd, keyDelete, keyUnique };
using TKeyOptions = TSet<TKeyOption>;
YORDE_ENUM_TYPEINFO(TKeyOption, "keyEdit", "keyAdd", "keyDelete", "keyUnique")
YORDE_SET_TYPEINFO(TKeyOptions, TKeyOption)

enum TDisplayOption { doColumnTitles, doAutoColResize, doKeyColFixed };
using TDisplayOptions = TSet<TDisplayOption>;
YORDE_ENUM_TYPEINFO(TDisplayOption, "doColumnTitles", "doAutoColResize", "doKeyColFixed")
YORDE_SET_TYPEINFO(TDisplayOptions, TDisplayOption)

// The editor's strings: every change reaches the grid.
class TValueListStrings : public TStringList {
    YORDE_CLASS(TValueListStrings, TStringList)
public:
    explicit TValueListStrings(TValueListEditor* Editor) : editor_(Editor) {}

protected:
    void Changed() override;

private:
    TValueListEditor* editor_;
};

class TValueListEditor : public TCustomDrawGrid {
    YORDE_CLASS(TValueListEditor, TCustomDrawGrid)
public:
    explicit TValueListEditor(TComponent* AOwner);
    ~TValueListEditor() override;

    TStrings* Strings() const { return strings_.get(); }
    void SetStrings(TStrings* Value);
    // Line 0 titles the key column, line 1 the value column.
    TStrings* TitleCaptions() const { return titleCaptions_.get(); }
    void SetTitleCaptions(TStrings* Value);
    TKeyOptions KeyOptions() const;
    void SetKeyOptions(TKeyOptions Value);
    TDisplayOptions DisplayOptions() const;
    void SetDisplayOptions(TDisplayOptions Value);

    // By grid row (the title row gives the titles); EInvalidGridOperation
    // outside the grid. Setting the placeholder row's key adds an entry.
    AnsiString Keys(int ARow) const;
    void SetKeys(int ARow, const AnsiString& Value);
    // By key; a key not there reads as "" and, set, adds a row at the end.
    AnsiString Values(const AnsiString& Key) const;
    void SetValues(const AnsiString& Key, const AnsiString& Value);
    AnsiString Cells(int ACol, int ARow) const;
    void SetCells(int ACol, int ARow, const AnsiString& Value);

    // Adds key=value at the end (Append) or before the current row, or into
    // an empty current row; returns the row. EListError when refused.
    int InsertRow(const AnsiString& KeyName, const AnsiString& Value, bool Append);
    // Removes a data row (the placeholder row stays); EInvalidGridOperation
    // for the title row or outside the grid.
    void DeleteRow(int ARow);
    // The row holding the key (AnsiCompareText), or false.
    bool FindRow(const AnsiString& KeyName, int& ARow) const;

protected:
    friend class TValueListStrings;

    void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override;
    void LayoutChanged() override;
    bool FixedColSelectsRow() const override { return true; }
    void stringsChanged();

private:
    int dataIndex(int ARow) const;  // the line of a grid row; -1 for the title row
    void checkRow(int ARow) const;
    void checkKey(const AnsiString& Key, int ExceptLine) const;
    AnsiString keyAt(int Line) const;
    AnsiString valueAt(int Line) const;
    void putLine(int Line, const AnsiString& Key, const AnsiString& Value);
    void fitValueColumn();

    std::unique_ptr<TValueListStrings> strings_;
    std::unique_ptr<TStringList> titleCaptions_;
    TKeyOptions keyOptions_{keyUnique};
    TDisplayOptions displayOptions_{doColumnTitles, doAutoColResize, doKeyColFixed};
    bool fitting_ = false;
};
