// The tray icon and minimising to it.
#include "vcl/TrayIcon.h"

#include "vcl/Forms.h"
#include "vcl/ImgList.h"
#include "vcl/Menus.h"
#include "vcl/PeerInput.h"
#include "vcl/WindowStateHooks.h"

YORDE_IMPLEMENT_CLASS(TTrayIcon, [](TClassBuilder<TTrayIcon>& c) {
    c.Property("Hide", &TTrayIcon::Hide, &TTrayIcon::SetHide).Default(1);
    c.Property("Hint", &TTrayIcon::Hint, &TTrayIcon::SetHint);
    c.Property("Icon", &TTrayIcon::Icon, &TTrayIcon::SetIcon);
    c.Property("IconIndex", &TTrayIcon::IconIndex, &TTrayIcon::SetIconIndex).Default(0);
    c.Property("Icons", &TTrayIcon::Icons, &TTrayIcon::SetIcons);
    c.Property("MinimizeToTray", &TTrayIcon::MinimizeToTray, &TTrayIcon::SetMinimizeToTray).Default(1);
    c.Property("PopupMenu", &TTrayIcon::PopupMenu, &TTrayIcon::SetPopupMenu);
    c.Property("PopupMenuOn", &TTrayIcon::PopupMenuOn, &TTrayIcon::SetPopupMenuOn).Default(imRightClickUp);
    c.Property("RestoreOn", &TTrayIcon::RestoreOn, &TTrayIcon::SetRestoreOn).Default(imDoubleClick);
    c.Property("Visible", &TTrayIcon::Visible, &TTrayIcon::SetVisible);
    c.Event("OnClick", &TTrayIcon::OnClick);
    c.Event("OnDblClick", &TTrayIcon::OnDblClick);
    c.Event("OnMinimize", &TTrayIcon::OnMinimize);
    c.Event("OnRestore", &TTrayIcon::OnRestore);
})

namespace {

TTrayPeerHook& peerHook() {
    static TTrayPeerHook hook;
    return hook;
}

IFormPeer* formPeer(TCustomForm* f) { return f ? dynamic_cast<IFormPeer*>(f->Peer()) : nullptr; }

bool isAlive(const TComponent* c) { return c && !c->ComponentState().Contains(csDestroying); }

}  // namespace

void SetTrayPeerHook(TTrayPeerHook Hook) { peerHook() = std::move(Hook); }

TTrayIcon::TTrayIcon(TComponent* AOwner) : TComponent(AOwner), icon_(std::make_unique<TIcon>()) {
    icon_->OnChange = [this](TObject*) { Update(); };
    icon_->LiveOnMainThread();
    observerId_ = AddWindowStateObserver([this](TCustomForm* f, TWindowState s) { return windowStateChanging(f, s); });
}

TTrayIcon::~TTrayIcon() {
    RemoveWindowStateObserver(observerId_);
    // A window hidden in the tray would be lost with the icon.
    if (hiddenInTray_) {
        TCustomForm* f = window();
        if (isAlive(f) && f->Visible())
            if (IFormPeer* p = formPeer(f)) {
                p->SetWindowState(wsNormal);
                p->SetVisible(true);
            }
    }
    peer_.reset();
}

// ---------------------------------------------------------------------------
// Properties

bool TTrayIcon::Visible() const {
    return ReadOnMain([this] { return visible_; });
}
AnsiString TTrayIcon::Hint() const {
    return ReadOnMain([this] { return hint_; });
}

void TTrayIcon::SetVisible(bool Value) {
    if (QueueOffMain(life_, [this, Value] { SetVisible(Value); })) return;
    if (Value == visible_) return;
    visible_ = Value;
    if (ComponentState().Contains(csLoading)) return;
    // Nothing would bring a window hidden in the tray back.
    if (!Value && hiddenInTray_) Restore();
    if (ITrayPeer* p = peer()) {
        if (Value) pushAll();
        p->SetVisible(Value);
    }
}

void TTrayIcon::SetHint(const AnsiString& Value) {
    if (QueueOffMain(life_, [this, Value] { SetHint(Value); })) return;
    hint_ = Value;
    if (visible_ && peer_) pushHint();
}

void TTrayIcon::SetIcon(TIcon* Value) { icon_->Assign(Value); }

void TTrayIcon::SetIcons(TCustomImageList* Value) {
    if (Value == icons_) return;
    if (icons_) icons_->RemoveFreeNotification(this);
    icons_ = Value;
    if (icons_) icons_->FreeNotification(this);
    Update();
}

void TTrayIcon::SetIconIndex(int Value) {
    if (Value == iconIndex_) return;
    iconIndex_ = Value;
    Update();
}

void TTrayIcon::SetPopupMenu(TPopupMenu* Value) {
    if (Value == popupMenu_) return;
    if (popupMenu_) popupMenu_->RemoveFreeNotification(this);
    popupMenu_ = Value;
    if (popupMenu_) popupMenu_->FreeNotification(this);
}

void TTrayIcon::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == icons_) icons_ = nullptr;
    if (AComponent == popupMenu_) popupMenu_ = nullptr;
}

void TTrayIcon::Loaded() {
    TComponent::Loaded();
    if (visible_)
        if (ITrayPeer* p = peer()) {
            pushAll();
            p->SetVisible(true);
        }
}

// ---------------------------------------------------------------------------
// The peer

ITrayPeer* TTrayIcon::peer() {
    if (!peer_ && !peerAsked_ && !ComponentState().Contains(csDestroying)) {
        if (const TTrayPeerHook& hook = peerHook()) {
            peerAsked_ = true;
            peer_ = hook(this);
        } else if (IPeerFactory* f = PeerFactory()) {
            peerAsked_ = true;
            peer_ = f->CreateTrayPeer(this);
        }
    }
    return peer_.get();
}

bool TTrayIcon::InTray() {
    if (!visible_) return false;
    ITrayPeer* p = peer();
    return p && p->Available();
}

void TTrayIcon::pushIcon() {
    TPixelsView view;
    if (icons_ && iconIndex_ >= 0 && iconIndex_ < icons_->Count())
        view = icons_->ImageView(iconIndex_);
    else if (!icon_->Empty())
        view = TPixelsView{icon_->Width(), icon_->Height(), icon_->PixelData()};
    else if (Application && Application->Icon() && !Application->Icon()->Empty())
        view =
            TPixelsView{Application->Icon()->Width(), Application->Icon()->Height(), Application->Icon()->PixelData()};
    peer_->SetIcon(view);
}

void TTrayIcon::pushHint() {
    int cp = GetACP();
    for (TComponent* o = Owner(); o; o = o->Owner())
        if (auto* control = dynamic_cast<TControl*>(o)) {
            cp = control->CodePage();
            break;
        }
    peer_->SetHint(hint_, cp);
}

void TTrayIcon::pushAll() {
    pushIcon();
    pushHint();
}

void TTrayIcon::Update() {
    if (QueueOffMain(life_, [this] { Update(); })) return;
    if (!visible_ || ComponentState().Contains(csLoading)) return;
    if (peer()) pushAll();
}

// ---------------------------------------------------------------------------
// Minimising and restoring

TCustomForm* TTrayIcon::window() const {
    if (Application && Application->MainForm()) return Application->MainForm();
    for (TComponent* o = Owner(); o; o = o->Owner())
        if (auto* f = dynamic_cast<TCustomForm*>(o)) return f;
    return nullptr;
}

void TTrayIcon::Minimize() {
    if (QueueOffMain(life_, [this] { Minimize(); })) return;
    if (minimized_) return;
    TCustomForm* f = window();
    minimized_ = true;
    if (f && hide_ && InTray()) {
        hiddenInTray_ = true;
        if (IControlPeer* p = f->Peer()) p->SetVisible(false);
    } else if (f && f->WindowState() != wsMinimized) {
        f->SetWindowState(wsMinimized);
    }
    OnMinimize(this);
}

void TTrayIcon::Restore() {
    if (QueueOffMain(life_, [this] { Restore(); })) return;
    bool was = minimized_;
    minimized_ = false;
    TCustomForm* f = window();
    if (isAlive(f)) {
        bool hidden = hiddenInTray_;
        hiddenInTray_ = false;
        if (!f->Visible()) {
            f->Show();
        } else if (hidden) {
            if (IFormPeer* p = formPeer(f)) {
                p->SetWindowState(f->WindowState() == wsMinimized ? wsNormal : f->WindowState());
                p->SetVisible(true);
            }
        }
        if (f->WindowState() == wsMinimized) f->SetWindowState(wsNormal);
        if (IFormPeer* p = formPeer(f)) p->Activate();
    }
    if (was) OnRestore(this);
}

bool TTrayIcon::windowStateChanging(TCustomForm* Form, TWindowState State) {
    if (!minimizeToTray_ || Form != window() || ComponentState().Contains(csLoading) ||
        ComponentState().Contains(csDestroying))
        return false;
    if (State == wsMinimized) {
        // Taken over only when the window went to the tray; a normal
        // minimise is left to the form.
        if (!minimized_) Minimize();
        return hiddenInTray_;
    }
    if (minimized_ && !hiddenInTray_) {
        // The user brought the minimised window back from the task bar.
        minimized_ = false;
        OnRestore(this);
    }
    return false;
}

// ---------------------------------------------------------------------------
// Input

void TTrayIcon::popup(int X, int Y) {
    if (!popupMenu_) return;
    popupMenu_->SetPopupComponent(this);
    popupMenu_->Popup(X, Y);
}

void TTrayIcon::Click() {
    auto alive = life_.Watch();
    OnClick(this);
    if (alive.expired()) return;
    bool matches[] = {restoreOn_ == imClick || restoreOn_ == imLeftClickUp || restoreOn_ == imMouseUp,
                      popupMenuOn_ == imClick || popupMenuOn_ == imLeftClickUp || popupMenuOn_ == imMouseUp};
    if (matches[0] && minimized_) Restore();
    if (alive.expired()) return;
    if (matches[1]) {
        TPoint p = Mouse->CursorPos();
        popup(p.X, p.Y);
    }
}

void TTrayIcon::DblClick() {
    auto alive = life_.Watch();
    OnDblClick(this);
    if (alive.expired()) return;
    if ((restoreOn_ == imDoubleClick || restoreOn_ == imLeftDoubleClick) && minimized_) Restore();
    if (alive.expired()) return;
    if (popupMenuOn_ == imDoubleClick || popupMenuOn_ == imLeftDoubleClick) {
        TPoint p = Mouse->CursorPos();
        popup(p.X, p.Y);
    }
}

void TTrayIcon::ContextMenu(int X, int Y) {
    auto alive = life_.Watch();
    if (restoreOn_ == imRightClickUp && minimized_) Restore();
    if (alive.expired()) return;
    if (popupMenuOn_ == imRightClickUp || popupMenuOn_ == imMouseUp) popup(X, Y);
}

void TTrayInput::Click(TTrayIcon* Tray) {
    TPeerInput::Dispatch([&] { Tray->Click(); });
}

void TTrayInput::DoubleClick(TTrayIcon* Tray) {
    TPeerInput::Dispatch([&] { Tray->DblClick(); });
}

void TTrayInput::ContextMenu(TTrayIcon* Tray, int ScreenX, int ScreenY) {
    TPeerInput::Dispatch([&] { Tray->ContextMenu(ScreenX, ScreenY); });
}
