#pragma once
// TListBox (single selection). ItemIndex set from code raises nothing; an
// index outside 0..Count-1 selects nothing. The user's selection (a click on
// an item, or a key that moves the selection) raises OnClick; a double click
// raises OnDblClick after it. Item changes keep the selected item selected
// (found again by its text). Items belong to the main thread.
#include "vcl/CommonTypes.h"
#include "vcl/Controls.h"

#include <memory>

class TCustomListBox : public TWinControl {
    YORDE_CLASS(TCustomListBox, TWinControl)
public:
    explicit TCustomListBox(TComponent* AOwner);
    ~TCustomListBox() override;

    TStrings* Items() const;
    void SetItems(TStrings* Value);
    int ItemIndex() const;
    void SetItemIndex(int Value);
    int Count() const { return items_->Count(); }
    bool Sorted() const { return sorted_; }
    void SetSorted(bool Value);
    // Stored only: the list always selects one item at a time.
    bool MultiSelect() const { return multiSelect_; }
    void SetMultiSelect(bool Value) { multiSelect_ = Value; }
    bool ExtendedSelect() const { return extendedSelect_; }
    void SetExtendedSelect(bool Value) { extendedSelect_ = Value; }
    TListBoxStyle Style() const { return style_; }
    void SetStyle(TListBoxStyle Value) { style_ = Value; }
    int ItemHeight() const { return itemHeight_; }
    void SetItemHeight(int Value) { itemHeight_ = Value; }
    bool IntegralHeight() const { return integralHeight_; }
    void SetIntegralHeight(bool Value) { integralHeight_ = Value; }
    int Columns() const { return columns_; }
    void SetColumns(int Value) { columns_ = Value; }
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle Value) { borderStyle_ = Value; }
    // The first item shown.
    int TopIndex() const;
    void SetTopIndex(int Value);
    // Whether item Index is the selected one.
    bool Selected(int Index) const { return Index >= 0 && Index == ItemIndex(); }
    void Clear();

protected:
    friend class TCommonInput;
    void CodePageChanged() override;
    void InitPeer() override;
    void Loaded() override;
    // The user selected Index (or clicked the selected item again).
    void UserSelected(int Index);

private:
    void itemsChanging();
    void itemsChanged();
    void pushItems();

    std::unique_ptr<TStringList> items_;
    int itemIndex_ = -1;
    int loadedIndex_ = -1;
    int topIndex_ = 0;
    AnsiString selectedText_;
    bool sorted_ = false;
    bool multiSelect_ = false;
    bool extendedSelect_ = true;
    TListBoxStyle style_ = lbStandard;
    int itemHeight_ = 13;
    bool integralHeight_ = false;
    int columns_ = 0;
    TBorderStyle borderStyle_ = bsSingle;
};

class TListBox : public TCustomListBox {
    YORDE_CLASS(TListBox, TCustomListBox)
public:
    explicit TListBox(TComponent* AOwner) : TCustomListBox(AOwner) {}
};
