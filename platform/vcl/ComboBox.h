#pragma once
// TComboBox. Event rules (code of the program relies on them):
// - ItemIndex set from code raises nothing. An index outside 0..Count-1
//   means "nothing selected" and raises no exception; with nothing selected
//   the editable styles (csDropDown, csSimple) show an empty text.
// - Text set from code raises nothing. In csDropDownList it selects the item
//   of that text (none when there is no such item).
// - A pick from the list by the user raises OnClick, then OnSelect when
//   assigned, else OnChange. In the editable styles every keystroke that
//   changes the text raises OnChange; ItemIndex then follows the item of
//   exactly that text (-1 when none).
// - Item changes keep the selected item selected (found again by its text);
//   Items->Clear keeps the text of the editable styles.
// Items and their changes belong to the main thread; the combo's own
// setters called on a worker are queued.
#include "vcl/CommonTypes.h"
#include "vcl/Controls.h"

#include <memory>

class TCustomComboBox : public TWinControl {
    YORDE_CLASS(TCustomComboBox, TWinControl)
public:
    explicit TCustomComboBox(TComponent* AOwner);
    ~TCustomComboBox() override;

    TComboBoxStyle Style() const { return style_; }
    void SetStyle(TComboBoxStyle Value);
    TStrings* Items() const;
    void SetItems(TStrings* Value);
    int ItemIndex() const;
    void SetItemIndex(int Value);
    bool Sorted() const { return sorted_; }
    void SetSorted(bool Value);
    int DropDownCount() const { return dropDownCount_; }
    void SetDropDownCount(int Value);
    // Limits what the user types or pastes (0: no limit); Text from code is taken whole.
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int Value);
    int ItemHeight() const { return itemHeight_; }
    void SetItemHeight(int Value) { itemHeight_ = Value; }
    // Stored only: typing is never completed from the items.
    bool AutoComplete() const { return autoComplete_; }
    void SetAutoComplete(bool Value) { autoComplete_ = Value; }
    bool DroppedDown() const { return droppedDown_; }
    void SetDroppedDown(bool Value);
    void Clear();

    TNotifyEvent OnChange;
    TNotifyEvent OnSelect;
    TNotifyEvent OnDropDown;
    TNotifyEvent OnCloseUp;

protected:
    friend class TCommonInput;
    virtual void Change();
    virtual void Select();
    virtual void DropDown();
    virtual void CloseUp();
    void TextChanged() override;
    void CodePageChanged() override;
    void InitPeer() override;
    void Loaded() override;
    bool WantSpecialKey(WORD Key) const override;
    // Input from the peer.
    void UserSelected(int Index);
    void UserEdited(const AnsiString& Bytes);
    void UserDroppedDown(bool Dropped);

private:
    bool editable() const { return style_ == csDropDown || style_ == csSimple; }
    void itemsChanging();
    void itemsChanged();
    // Selects Index (-1 or valid) and sets the text that goes with it.
    void select(int Index);
    void pushItems();
    void pushAll();

    std::unique_ptr<TStringList> items_;
    TComboBoxStyle style_ = csDropDown;
    int itemIndex_ = -1;
    int loadedIndex_ = -1;
    AnsiString selectedText_;
    bool sorted_ = false;
    int dropDownCount_ = 8;
    int maxLength_ = 0;
    int itemHeight_ = 13;
    bool autoComplete_ = true;
    bool droppedDown_ = false;
};

class TComboBox : public TCustomComboBox {
    YORDE_CLASS(TComboBox, TCustomComboBox)
public:
    explicit TComboBox(TComponent* AOwner) : TCustomComboBox(AOwner) {}
};
