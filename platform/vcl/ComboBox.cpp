#include "vcl/ComboBox.h"

#include "vcl/CommonPeers.h"

#include <algorithm>

YORDE_IMPLEMENT_CLASS(TCustomComboBox, [](TClassBuilder<TCustomComboBox>&) {})
YORDE_IMPLEMENT_CLASS(TComboBox, [](TClassBuilder<TComboBox>& c) {
    PublishControl(c, pcStandard | pcText | pcFocus | pcKeyEvents);
    c.Property("AutoComplete", &TComboBox::AutoComplete, &TComboBox::SetAutoComplete).Default(1);
    c.Property("DropDownCount", &TComboBox::DropDownCount, &TComboBox::SetDropDownCount).Default(8);
    c.Property("ItemHeight", &TComboBox::ItemHeight, &TComboBox::SetItemHeight).Default(13);
    c.Property("ItemIndex", &TComboBox::ItemIndex, &TComboBox::SetItemIndex).Default(-1);
    c.Property("MaxLength", &TComboBox::MaxLength, &TComboBox::SetMaxLength).Default(0);
    c.Property("Sorted", &TComboBox::Sorted, &TComboBox::SetSorted).Default(0);
    c.Property("Style", &TComboBox::Style, &TComboBox::SetStyle).Default(csDropDown);
    c.Property("UserData", &TComboBox::UserData, &TComboBox::SetUserData).Default(0);
    c.Event("OnChange", AsMemberOf<TComboBox>(&TCustomComboBox::OnChange));
    c.Event("OnCloseUp", AsMemberOf<TComboBox>(&TCustomComboBox::OnCloseUp));
    c.Event("OnDropDown", AsMemberOf<TComboBox>(&TCustomComboBox::OnDropDown));
    c.Event("OnSelect", AsMemberOf<TComboBox>(&TCustomComboBox::OnSelect));
    c.Property("Items", &TComboBox::Items, &TComboBox::SetItems);
})

namespace {

// The item of exactly this text (the first), or -1.
int exactIndex(const TStrings& items, const AnsiString& text) {
    for (int i = 0; i < items.Count(); ++i)
        if (items.Strings(i) == text) return i;
    return -1;
}

}  // namespace

TCustomComboBox::TCustomComboBox(TComponent* AOwner) : TWinControl(AOwner), items_(std::make_unique<TStringList>()) {
    // No csClickEvents: OnClick comes from a pick, not from the mouse.
    controlStyle_ = TControlStyle{csCaptureMouse, csSetCaption, csDoubleClicks, csFixedHeight};
    StoreBounds(0, 0, 145, 21);
    SetTabStop(true);
    SetColor(clWindow);
    items_->OnChanging = [this](TObject*) { itemsChanging(); };
    items_->OnChange = [this](TObject*) { itemsChanged(); };
}

TCustomComboBox::~TCustomComboBox() {
    items_->OnChanging.Clear();
    items_->OnChange.Clear();
}

TStrings* TCustomComboBox::Items() const { return items_.get(); }

void TCustomComboBox::SetItems(TStrings* Value) { items_->Assign(Value); }

int TCustomComboBox::ItemIndex() const {
    return ReadOnMain([this] { return itemIndex_; });
}

void TCustomComboBox::SetItemIndex(int Value) {
    if (QueueOffMain(Life(), [this, Value] { SetItemIndex(Value); })) return;
    if (Loading()) {
        // The items may come later in the layout.
        loadedIndex_ = Value;
        return;
    }
    select(Value);
}

void TCustomComboBox::select(int Index) {
    if (Index < 0 || Index >= items_->Count()) Index = -1;
    itemIndex_ = Index;
    text_ = Index >= 0 ? items_->Strings(Index) : AnsiString();
    if (auto* p = PeerAs<IComboBoxPeer>()) p->SetItemIndex(itemIndex_);
    PushText();
}

void TCustomComboBox::TextChanged() {
    if (Loading()) return;
    if (!editable()) {
        select(exactIndex(*items_, text_));
        return;
    }
    itemIndex_ = exactIndex(*items_, text_);
    if (auto* p = PeerAs<IComboBoxPeer>()) p->SetItemIndex(itemIndex_);
    PushText();
}

void TCustomComboBox::Loaded() {
    TWinControl::Loaded();
    if (loadedIndex_ >= 0 && loadedIndex_ < items_->Count())
        select(loadedIndex_);
    else if (!editable())
        select(exactIndex(*items_, text_));
    else
        itemIndex_ = exactIndex(*items_, text_);
    loadedIndex_ = -1;
}

void TCustomComboBox::itemsChanging() {
    selectedText_ = itemIndex_ >= 0 && itemIndex_ < items_->Count() ? items_->Strings(itemIndex_) : AnsiString();
}

void TCustomComboBox::itemsChanged() {
    // The selected item stays selected wherever it went; gone, nothing is.
    int index = -1;
    if (itemIndex_ >= 0) {
        if (itemIndex_ < items_->Count() && items_->Strings(itemIndex_) == selectedText_)
            index = itemIndex_;
        else
            index = exactIndex(*items_, selectedText_);
    }
    itemIndex_ = index;
    if (!editable()) text_ = index >= 0 ? items_->Strings(index) : AnsiString();
    pushItems();
    if (auto* p = PeerAs<IComboBoxPeer>()) p->SetItemIndex(itemIndex_);
    PushText();
}

void TCustomComboBox::Clear() {
    if (QueueOffMain(Life(), [this] { Clear(); })) return;
    items_->Clear();
    select(-1);
}

// ---------------------------------------------------------------------------
// Options

void TCustomComboBox::SetStyle(TComboBoxStyle Value) {
    if (QueueOffMain(Life(), [this, Value] { SetStyle(Value); })) return;
    if (Value == style_) return;
    style_ = Value;
    if (!editable() && !Loading()) select(itemIndex_);
    pushAll();
}

void TCustomComboBox::SetSorted(bool Value) {
    if (QueueOffMain(Life(), [this, Value] { SetSorted(Value); })) return;
    sorted_ = Value;
    items_->SetSorted(Value);
}

void TCustomComboBox::SetDropDownCount(int Value) {
    if (QueueOffMain(Life(), [this, Value] { SetDropDownCount(Value); })) return;
    dropDownCount_ = std::max(1, Value);
    if (auto* p = PeerAs<IComboBoxPeer>()) p->SetDropDownCount(dropDownCount_);
}

void TCustomComboBox::SetMaxLength(int Value) {
    if (QueueOffMain(Life(), [this, Value] { SetMaxLength(Value); })) return;
    maxLength_ = std::max(0, Value);
    if (auto* p = PeerAs<IComboBoxPeer>()) p->SetMaxLength(maxLength_);
}

void TCustomComboBox::SetDroppedDown(bool Value) {
    if (QueueOffMain(Life(), [this, Value] { SetDroppedDown(Value); })) return;
    if (auto* p = PeerAs<IComboBoxPeer>()) p->SetDroppedDown(Value);
}

// ---------------------------------------------------------------------------
// Events and input

void TCustomComboBox::Change() { OnChange(this); }

void TCustomComboBox::Select() {
    if (OnSelect)
        OnSelect(this);
    else
        Change();
}

void TCustomComboBox::DropDown() { OnDropDown(this); }
void TCustomComboBox::CloseUp() { OnCloseUp(this); }

bool TCustomComboBox::WantSpecialKey(WORD Key) const {
    // An open list takes Enter and Esc to close itself.
    return droppedDown_ && (Key == VK_RETURN || Key == VK_ESCAPE);
}

void TCustomComboBox::UserSelected(int Index) {
    if (Index < 0 || Index >= items_->Count()) return;
    select(Index);
    auto alive = Life().Watch();
    Click();
    if (!alive.expired()) Select();
}

void TCustomComboBox::UserEdited(const AnsiString& Bytes) {
    if (!editable() || Bytes == text_) return;
    text_ = Bytes;
    itemIndex_ = exactIndex(*items_, text_);
    Change();
}

void TCustomComboBox::UserDroppedDown(bool Dropped) {
    if (Dropped == droppedDown_) return;
    droppedDown_ = Dropped;
    if (Dropped)
        DropDown();
    else
        CloseUp();
}

// ---------------------------------------------------------------------------
// Peer

void TCustomComboBox::pushItems() {
    auto* p = PeerAs<IComboBoxPeer>();
    if (!p) return;
    std::vector<AnsiString> items;
    items.reserve(size_t(items_->Count()));
    for (int i = 0; i < items_->Count(); ++i) items.push_back(items_->Strings(i));
    p->SetItems(items, DataCodePage());
}

void TCustomComboBox::pushAll() {
    auto* p = PeerAs<IComboBoxPeer>();
    if (!p) return;
    p->SetStyle(style_);
    pushItems();
    p->SetMaxLength(maxLength_);
    p->SetDropDownCount(dropDownCount_);
    p->SetItemIndex(itemIndex_);
    PushText();
}

void TCustomComboBox::InitPeer() {
    TWinControl::InitPeer();
    pushAll();
}

void TCustomComboBox::CodePageChanged() {
    TWinControl::CodePageChanged();
    pushItems();
    if (auto* p = PeerAs<IComboBoxPeer>()) p->SetItemIndex(itemIndex_);
    PushText();
}
