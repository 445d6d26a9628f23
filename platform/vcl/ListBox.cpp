#include "vcl/ListBox.h"

#include "vcl/CommonPeers.h"

#include <algorithm>

YORDE_IMPLEMENT_CLASS(TCustomListBox, [](TClassBuilder<TCustomListBox>&) {})
YORDE_IMPLEMENT_CLASS(TListBox, [](TClassBuilder<TListBox>& c) {
    PublishControl(c, pcStandard | pcFocus | pcKeyEvents);
    c.Property("BorderStyle", &TListBox::BorderStyle, &TListBox::SetBorderStyle).Default(bsSingle);
    c.Property("Columns", &TListBox::Columns, &TListBox::SetColumns).Default(0);
    c.Property("ExtendedSelect", &TListBox::ExtendedSelect, &TListBox::SetExtendedSelect).Default(1);
    c.Property("IntegralHeight", &TListBox::IntegralHeight, &TListBox::SetIntegralHeight).Default(0);
    c.Property("ItemHeight", &TListBox::ItemHeight, &TListBox::SetItemHeight).Default(13);
    c.Property("ItemIndex", &TListBox::ItemIndex, &TListBox::SetItemIndex).Default(-1);
    c.Property("Items", &TListBox::Items, &TListBox::SetItems);
    c.Property("MultiSelect", &TListBox::MultiSelect, &TListBox::SetMultiSelect).Default(0);
    c.Property("Sorted", &TListBox::Sorted, &TListBox::SetSorted).Default(0);
    c.Property("Style", &TListBox::Style, &TListBox::SetStyle).Default(lbStandard);
})

TCustomListBox::TCustomListBox(TComponent* AOwner) : TWinControl(AOwner), items_(std::make_unique<TStringList>()) {
    // No csClickEvents: OnClick comes with a selection, not from the mouse.
    controlStyle_ = TControlStyle{csSetCaption, csDoubleClicks, csOpaque};
    StoreBounds(0, 0, 121, 97);
    SetTabStop(true);
    SetColor(clWindow);
    items_->OnChanging = [this](TObject*) { itemsChanging(); };
    items_->OnChange = [this](TObject*) { itemsChanged(); };
}

TCustomListBox::~TCustomListBox() {
    items_->OnChanging.Clear();
    items_->OnChange.Clear();
}

TStrings* TCustomListBox::Items() const { return items_.get(); }

void TCustomListBox::SetItems(TStrings* Value) { items_->Assign(Value); }

int TCustomListBox::ItemIndex() const {
    return ReadOnMain([this] { return itemIndex_; });
}

void TCustomListBox::SetItemIndex(int Value) {
    if (QueueOffMain(Life(), [this, Value] { SetItemIndex(Value); })) return;
    if (Loading()) {
        loadedIndex_ = Value;
        return;
    }
    itemIndex_ = Value >= 0 && Value < items_->Count() ? Value : -1;
    if (auto* p = PeerAs<IListBoxPeer>()) p->SetItemIndex(itemIndex_);
}

void TCustomListBox::Loaded() {
    TWinControl::Loaded();
    if (loadedIndex_ >= 0) SetItemIndex(loadedIndex_);
    loadedIndex_ = -1;
}

int TCustomListBox::TopIndex() const {
    return ReadOnMain([this] {
        auto* p = PeerAs<IListBoxPeer>();
        return p ? p->TopIndex() : topIndex_;
    });
}

void TCustomListBox::SetTopIndex(int Value) {
    if (QueueOffMain(Life(), [this, Value] { SetTopIndex(Value); })) return;
    topIndex_ = std::clamp(Value, 0, std::max(0, items_->Count() - 1));
    if (auto* p = PeerAs<IListBoxPeer>()) p->SetTopIndex(topIndex_);
}

void TCustomListBox::SetSorted(bool Value) {
    if (QueueOffMain(Life(), [this, Value] { SetSorted(Value); })) return;
    sorted_ = Value;
    items_->SetSorted(Value);
}

void TCustomListBox::Clear() {
    if (QueueOffMain(Life(), [this] { Clear(); })) return;
    items_->Clear();
}

void TCustomListBox::itemsChanging() {
    selectedText_ = itemIndex_ >= 0 && itemIndex_ < items_->Count() ? items_->Strings(itemIndex_) : AnsiString();
}

void TCustomListBox::itemsChanged() {
    int index = -1;
    if (itemIndex_ >= 0) {
        if (itemIndex_ < items_->Count() && items_->Strings(itemIndex_) == selectedText_) {
            index = itemIndex_;
        } else {
            for (int i = 0; i < items_->Count() && index < 0; ++i)
                if (items_->Strings(i) == selectedText_) index = i;
        }
    }
    itemIndex_ = index;
    pushItems();
    if (auto* p = PeerAs<IListBoxPeer>()) p->SetItemIndex(itemIndex_);
}

void TCustomListBox::UserSelected(int Index) {
    if (Index < 0 || Index >= items_->Count()) return;
    itemIndex_ = Index;
    Click();
}

void TCustomListBox::pushItems() {
    auto* p = PeerAs<IListBoxPeer>();
    if (!p) return;
    std::vector<AnsiString> items;
    items.reserve(size_t(items_->Count()));
    for (int i = 0; i < items_->Count(); ++i) items.push_back(items_->Strings(i));
    p->SetItems(items, DataCodePage());
}

void TCustomListBox::InitPeer() {
    TWinControl::InitPeer();
    pushItems();
    if (auto* p = PeerAs<IListBoxPeer>()) {
        p->SetItemIndex(itemIndex_);
        p->SetTopIndex(topIndex_);
    }
}

void TCustomListBox::CodePageChanged() {
    TWinControl::CodePageChanged();
    pushItems();
    if (auto* p = PeerAs<IListBoxPeer>()) p->SetItemIndex(itemIndex_);
}
