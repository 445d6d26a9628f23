// Menu items, menus and popup menus.
#include "vcl/Menus.h"

#include "vcl/ActnList.h"
#include "vcl/Controls.h"
#include "vcl/ImgList.h"
#include "vcl/PeerInput.h"

#include "rtl/StrUtils.h"

#include <algorithm>
#include <atomic>

YORDE_IMPLEMENT_CLASS(TMenuItem, [](TClassBuilder<TMenuItem>& c) {
    c.Property("Action", &TMenuItem::Action);
    c.Property("AutoCheck", &TMenuItem::AutoCheck, &TMenuItem::SetAutoCheck);
    c.Property("AutoHotkeys", &TMenuItem::AutoHotkeys, &TMenuItem::SetAutoHotkeys).Default(maParent);
    c.Property("Caption", &TMenuItem::Caption, &TMenuItem::SetCaption);
    c.Property("Checked", &TMenuItem::Checked, &TMenuItem::SetChecked);
    c.Property("Default", &TMenuItem::Default, &TMenuItem::SetDefault);
    c.Property("Enabled", &TMenuItem::Enabled, &TMenuItem::SetEnabled).Default(1);
    c.Property("GroupIndex", &TMenuItem::GroupIndex, &TMenuItem::SetGroupIndex).Default(0);
    c.Property("Hint", &TMenuItem::Hint, &TMenuItem::SetHint);
    c.Property("ImageIndex", &TMenuItem::ImageIndex, &TMenuItem::SetImageIndex).Default(-1);
    c.Property("RadioItem", &TMenuItem::RadioItem, &TMenuItem::SetRadioItem);
    c.Property("ShortCut", &TMenuItem::ShortCut, &TMenuItem::SetShortCut).Default(0);
    c.Property("Visible", &TMenuItem::Visible, &TMenuItem::SetVisible).Default(1);
    c.Event("OnClick", &TMenuItem::OnClick);
    c.Event("OnDrawItem", &TMenuItem::OnDrawItem);
    c.Event("OnMeasureItem", &TMenuItem::OnMeasureItem);
})

YORDE_IMPLEMENT_CLASS(TMenu, [](TClassBuilder<TMenu>& c) {
    c.Property("AutoHotkeys", &TMenu::AutoHotkeys, &TMenu::SetAutoHotkeys).Default(maAutomatic);
    c.Property("AutoLineReduction", &TMenu::AutoLineReduction, &TMenu::SetAutoLineReduction).Default(maAutomatic);
    c.Property("Images", &TMenu::Images, &TMenu::SetImages);
    c.Property("OwnerDraw", &TMenu::OwnerDraw, &TMenu::SetOwnerDraw);
})

YORDE_IMPLEMENT_CLASS(TPopupMenu, [](TClassBuilder<TPopupMenu>& c) {
    c.Property("Alignment", &TPopupMenu::Alignment, &TPopupMenu::SetAlignment).Default(paLeft);
    c.Property("AutoPopup", &TPopupMenu::AutoPopup, &TPopupMenu::SetAutoPopup).Default(1);
    c.Property("TrackButton", &TPopupMenu::TrackButton, &TPopupMenu::SetTrackButton).Default(tbRightButton);
    c.Event("OnPopup", &TPopupMenu::OnPopup);
})

YORDE_IMPLEMENT_CLASS(TMainMenu, [](TClassBuilder<TMainMenu>&) {})

namespace {

std::atomic<unsigned> nextCommand{1};

TPopupMenuHook& popupHook() {
    static TPopupMenuHook hook;
    return hook;
}

AnsiString stripHotkey(const AnsiString& s) {
    AnsiString out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '&' && i + 1 < s.size()) ++i;
        out += s[i];
    }
    return out;
}

}  // namespace

void SetPopupMenuHook(TPopupMenuHook Hook) { popupHook() = std::move(Hook); }

// ---------------------------------------------------------------------------
// TMenuItem

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner), command_(nextCommand++) {}

TMenuItem::~TMenuItem() {
    if (parent_) parent_->Remove(this);
    while (!items_.empty()) {
        TMenuItem* child = items_.back();
        items_.pop_back();
        child->parent_ = nullptr;
        TObject::Free(child);
    }
}

AnsiString TMenuItem::Caption() const {
    return ReadOnMain([this] { return caption_; });
}
bool TMenuItem::Enabled() const {
    return ReadOnMain([this] { return enabled_; });
}
bool TMenuItem::Visible() const {
    return ReadOnMain([this] { return visible_; });
}
bool TMenuItem::Checked() const {
    return ReadOnMain([this] { return checked_; });
}

void TMenuItem::SetCaption(const AnsiString& Value) {
    if (QueueOffMain(life_, [this, Value] { SetCaption(Value); })) return;
    caption_ = Value;
}

void TMenuItem::SetEnabled(bool Value) {
    if (QueueOffMain(life_, [this, Value] { SetEnabled(Value); })) return;
    enabled_ = Value;
}

void TMenuItem::SetVisible(bool Value) {
    if (QueueOffMain(life_, [this, Value] { SetVisible(Value); })) return;
    visible_ = Value;
}

void TMenuItem::SetChecked(bool Value) {
    if (QueueOffMain(life_, [this, Value] { SetChecked(Value); })) return;
    checked_ = Value;
    // A checked radio item unchecks the others of its group.
    if (Value && radioItem_ && parent_)
        for (TMenuItem* sibling : parent_->items_)
            if (sibling != this && sibling->radioItem_ && sibling->groupIndex_ == groupIndex_)
                sibling->checked_ = false;
}

TMenuItem* TMenuItem::Items(int Index) const {
    if (Index < 0 || Index >= Count()) throw EMenuError("Menu index out of range");
    return items_[size_t(Index)];
}

void TMenuItem::Add(TMenuItem* Item) { Insert(Count(), Item); }

void TMenuItem::Insert(int Index, TMenuItem* Item) {
    if (!Item) throw EMenuError("Menu item is null");
    if (Item->parent_) throw EMenuError("Menu inserted twice");
    for (const TMenuItem* p = this; p; p = p->parent_)
        if (p == Item) throw EMenuError("A menu item cannot hold itself");
    Index = std::clamp(Index, 0, Count());
    items_.insert(items_.begin() + Index, Item);
    Item->parent_ = this;
}

void TMenuItem::Delete(int Index) {
    TMenuItem* item = Items(Index);
    items_.erase(items_.begin() + Index);
    item->parent_ = nullptr;
}

void TMenuItem::Remove(TMenuItem* Item) {
    int i = IndexOf(Item);
    if (i < 0) throw EMenuError("Menu item not found");
    Delete(i);
}

void TMenuItem::Clear() {
    while (!items_.empty()) TObject::Free(items_.back());  // each one leaves the list
}

int TMenuItem::IndexOf(const TMenuItem* Item) const {
    auto it = std::find(items_.begin(), items_.end(), Item);
    return it == items_.end() ? -1 : int(it - items_.begin());
}

TMenuItem* TMenuItem::Find(const AnsiString& ACaption) const {
    AnsiString wanted = stripHotkey(ACaption);
    for (TMenuItem* item : items_)
        if (AnsiCompareText(stripHotkey(item->caption_), wanted) == 0) return item;
    return nullptr;
}

int TMenuItem::MenuIndex() const { return parent_ ? parent_->IndexOf(this) : -1; }

void TMenuItem::SetMenuIndex(int Value) {
    if (!parent_) return;
    TMenuItem* p = parent_;
    int count = p->Count();
    Value = std::clamp(Value, 0, count - 1);
    int cur = p->IndexOf(this);
    if (cur == Value) return;
    p->items_.erase(p->items_.begin() + cur);
    p->items_.insert(p->items_.begin() + Value, this);
}

TMenu* TMenuItem::GetParentMenu() const {
    const TMenuItem* root = this;
    while (root->parent_) root = root->parent_;
    return root->menu_;
}

void TMenuItem::Click() {
    if (!enabled_) return;
    auto alive = life_.Watch();
    if (autoCheck_) SetChecked(!checked_);
    if (alive.expired()) return;
    OnClick(this);
}

TComponent* TMenuItem::GetParentComponent() const {
    if (parent_ && parent_->menu_) return parent_->menu_;
    return parent_;
}

void TMenuItem::SetParentComponent(TComponent* Value) {
    if (parent_) parent_->Remove(this);
    if (auto* menu = dynamic_cast<TMenu*>(Value))
        menu->Items()->Add(this);
    else if (auto* item = dynamic_cast<TMenuItem*>(Value))
        item->Add(this);
}

void TMenuItem::GetChildren(TGetChildProc Proc, TComponent* /*Root*/) {
    for (TMenuItem* item : std::vector<TMenuItem*>(items_)) Proc(item);
}

void TMenuItem::SetChildOrder(TComponent* Child, int Order) {
    if (auto* item = dynamic_cast<TMenuItem*>(Child); item && item->parent_ == this) item->SetMenuIndex(Order);
}

// ---------------------------------------------------------------------------
// TMenu

TMenu::TMenu(TComponent* AOwner) : TComponent(AOwner), items_(new TMenuItem(this)) { items_->menu_ = this; }

TMenu::~TMenu() {
    peer_.reset();
    // The root item is owned by this menu and goes with it (and its items with it).
}

void TMenu::SetImages(TCustomImageList* Value) {
    if (Value == images_) return;
    if (images_) images_->RemoveFreeNotification(this);
    images_ = Value;
    if (images_) images_->FreeNotification(this);
}

void TMenu::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == images_) images_ = nullptr;
}

TMenuItem* TMenu::FindItem(unsigned Command) const {
    std::function<TMenuItem*(TMenuItem*)> find = [&](TMenuItem* parent) -> TMenuItem* {
        for (TMenuItem* item : parent->items_) {
            if (item->command_ == Command) return item;
            if (TMenuItem* inner = find(item)) return inner;
        }
        return nullptr;
    };
    return find(items_);
}

bool TMenu::DispatchCommand(unsigned Command) {
    TMenuItem* item = FindItem(Command);
    if (!item || item->IsLine()) return false;
    for (const TMenuItem* p = item; p && p != items_; p = p->parent_)
        if (!p->enabled_ || !p->visible_) return false;
    item->Click();
    return true;
}

int TMenu::CodePage() const {
    for (TComponent* o = Owner(); o; o = o->Owner())
        if (auto* control = dynamic_cast<TControl*>(o)) return control->CodePage();
    return GetACP();
}

void TMenu::addEntries(const TMenuItem* Parent, std::vector<TMenuEntry>& Out) const {
    int cp = CodePage();
    bool reduce = autoLineReduction_ != maManual;
    for (const TMenuItem* item : Parent->items_) {
        if (!item->visible_) continue;
        TMenuEntry e;
        e.Command = item->command_;
        if (item->IsLine()) {
            if (reduce && (Out.empty() || Out.back().Separator)) continue;
            e.Separator = true;
            Out.push_back(std::move(e));
            continue;
        }
        AnsiString caption = item->caption_.substr(0, item->caption_.find('\0'));
        e.Caption = CodePageToUtf8(caption, cp);
        e.Enabled = item->enabled_;
        e.Checked = item->checked_;
        e.RadioItem = item->radioItem_;
        e.Default = item->default_;
        if (images_ && item->imageIndex_ >= 0 && item->imageIndex_ < images_->Count()) {
            TPixelsView view = images_->ImageView(item->imageIndex_);
            e.IconWidth = view.Width;
            e.IconHeight = view.Height;
            if (view.Pixels) e.Icon.assign(view.Pixels, view.Pixels + size_t(view.Width) * size_t(view.Height));
        }
        addEntries(item, e.Items);
        Out.push_back(std::move(e));
    }
    if (reduce && !Out.empty() && Out.back().Separator) Out.pop_back();
}

std::vector<TMenuEntry> TMenu::BuildEntries() const {
    std::vector<TMenuEntry> out;
    addEntries(items_, out);
    return out;
}

IMenuPeer* TMenu::MenuPeer() {
    if (!peer_ && !ComponentState().Contains(csDestroying))
        if (IPeerFactory* f = PeerFactory()) peer_ = f->CreateMenuPeer(this);
    return peer_.get();
}

void TMenu::GetChildren(TGetChildProc Proc, TComponent* Root) { items_->GetChildren(Proc, Root); }

void TMenu::SetChildOrder(TComponent* Child, int Order) { items_->SetChildOrder(Child, Order); }

// ---------------------------------------------------------------------------
// TPopupMenu

TPopupMenu::TPopupMenu(TComponent* AOwner) : TMenu(AOwner) {}

TPopupMenu::~TPopupMenu() { DestroyMenuPeer(); }

void TPopupMenu::SetPopupComponent(TComponent* Value) {
    if (Value == popupComponent_) return;
    if (popupComponent_) popupComponent_->RemoveFreeNotification(this);
    popupComponent_ = Value;
    if (popupComponent_) popupComponent_->FreeNotification(this);
}

void TPopupMenu::Notification(TComponent* AComponent, TOperation Operation) {
    TMenu::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == popupComponent_) popupComponent_ = nullptr;
}

void TPopupMenu::DoPopup() { OnPopup(this); }

void TPopupMenu::Popup(int X, int Y) {
    if (QueueOffMain(life_, [this, X, Y] { Popup(X, Y); })) return;
    auto alive = life_.Watch();
    popupPoint_ = TPoint(X, Y);
    DoPopup();
    if (alive.expired()) return;
    if (const TPopupMenuHook& hook = popupHook()) {
        if (TMenuItem* item = hook(this, X, Y))
            if (!alive.expired()) DispatchCommand(item->Command());
        return;
    }
    std::vector<TMenuEntry> entries = BuildEntries();
    if (entries.empty()) return;
    if (IMenuPeer* peer = MenuPeer()) peer->Popup(entries, popupPoint_);
}

void TPopupMenu::CloseMenu() {
    if (QueueOffMain(life_, [this] { CloseMenu(); })) return;
    if (IMenuPeer* peer = MenuPeer()) peer->Close();
}

// ---------------------------------------------------------------------------

void TMenuInput::Command(TMenu* Menu, unsigned Command) {
    TPeerInput::Dispatch([&] { Menu->DispatchCommand(Command); });
}
