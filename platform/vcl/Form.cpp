// TCustomForm: windows, showing and closing, the modal loop.
#include "vcl/Forms.h"
#include "vcl/PeerInput.h"
#include "vcl/WindowStateHooks.h"

#include <algorithm>

YORDE_IMPLEMENT_CLASS(TScrollingWinControl, [](TClassBuilder<TScrollingWinControl>&) {})
YORDE_IMPLEMENT_CLASS(TCustomForm, [](TClassBuilder<TCustomForm>&) {})

YORDE_IMPLEMENT_CLASS(TForm, [](TClassBuilder<TForm>& c) {
    PublishControl(c, pcAction | pcCaption | pcColor | pcFont | pcEnabled | pcHints | pcPopupMenu | pcMouseEvents |
                          pcClickEvents | pcKeyEvents | pcResize);
    c.Property("ActiveControl", &TForm::ActiveControl, &TForm::SetActiveControl);
    c.Property("BorderIcons", &TForm::BorderIcons, &TForm::SetBorderIcons)
        .Default(int64_t(TBorderIcons{biSystemMenu, biMinimize, biMaximize}.Bits()));
    c.Property("BorderStyle", &TForm::BorderStyle, &TForm::SetBorderStyle).Default(bsSizeable);
    c.Property("ClientHeight", &TForm::ClientHeight, &TForm::SetClientHeight).Stored(false);
    c.Property("ClientWidth", &TForm::ClientWidth, &TForm::SetClientWidth).Stored(false);
    c.Property("FormStyle", &TForm::FormStyle, &TForm::SetFormStyle).Default(fsNormal);
    c.Property("Icon", &TForm::Icon, &TForm::SetIcon);
    c.Property("KeyPreview", &TForm::KeyPreview, &TForm::SetKeyPreview);
    c.Property("Position", &TForm::Position, &TForm::SetPosition).Default(poDefaultPosOnly);
    c.Property("Visible", &TForm::Visible, &TForm::SetVisible);
    c.Property("WindowState", &TForm::WindowState, &TForm::SetWindowState).Default(wsNormal);
    c.Event("OnActivate", AsMemberOf<TForm>(&TForm::OnActivate));
    c.Event("OnClose", AsMemberOf<TForm>(&TForm::OnClose));
    c.Event("OnCloseQuery", AsMemberOf<TForm>(&TForm::OnCloseQuery));
    c.Event("OnCreate", AsMemberOf<TForm>(&TForm::OnCreate));
    c.Event("OnDeactivate", AsMemberOf<TForm>(&TForm::OnDeactivate));
    c.Event("OnDestroy", AsMemberOf<TForm>(&TForm::OnDestroy));
    c.Event("OnHide", AsMemberOf<TForm>(&TForm::OnHide));
    c.Event("OnPaint", AsMemberOf<TForm>(&TForm::OnPaint));
    c.Event("OnShow", AsMemberOf<TForm>(&TForm::OnShow));
})

namespace {

TModalHook& modalHook() {
    static TModalHook hook;
    return hook;
}

// Runs a handler of the form's life cycle; what it raises is shown and the
// caller goes on, as the class library does for OnCreate, OnShow and the like.
template <class F>
void guarded(F&& f) {
    try {
        f();
    } catch (...) {
        Application->HandleException(std::current_exception());
    }
}

}  // namespace

void SetModalHook(TModalHook Hook) { modalHook() = std::move(Hook); }

TCustomForm::TCustomForm(TComponent* AOwner)
    : TScrollingWinControl(AOwner), icon_(std::make_unique<TIcon>()), canvas_(std::make_unique<TCanvas>()) {
    visible_ = false;
    controlStyle_ = TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
    SetColor(clBtnFace);
    SetParentFont(false);
    StoreBounds(0, 0, 320 + 8, 240 + 34);
    icon_->OnChange = [this](TObject*) {
        if (auto* p = PeerAs<IFormPeer>()) p->SetIcon(TPixelsView{icon_->Width(), icon_->Height(), icon_->PixelData()});
    };
    icon_->LiveOnMainThread();
    canvas_->LiveOnMainThread();
    Screen->forms_.push_back(this);
    AddGlobalRoot(this);
}

TCustomForm::~TCustomForm() {
    if (created_) {
        created_ = false;
        guarded([this] { DoDestroy(); });
    }
    if (IControlPeer* p = Peer()) p->SetVisible(false);
    auto& forms = Screen->forms_;
    forms.erase(std::remove(forms.begin(), forms.end(), this), forms.end());
    if (Screen->activeForm_ == this) Screen->activeForm_ = nullptr;
    Application->formDestroyed(this);
    RemoveGlobalRoot(this);
}

void TCustomForm::AfterConstruction() {
    if (created_) return;
    created_ = true;
    guarded([this] { DoCreate(); });
    if (showAfterCreate_) {
        showAfterCreate_ = false;
        Show();
    }
}

void TCustomForm::GetChildren(TGetChildProc Proc, TComponent* Root) {
    TScrollingWinControl::GetChildren(Proc, Root);
    // Written as the root, also its non-visual components (menus, image lists, timers).
    TComponent::GetChildren(Proc, Root);
}

void TCustomForm::BeforeDestruction() {
    if (created_) {
        created_ = false;
        guarded([this] { DoDestroy(); });
    }
    TScrollingWinControl::BeforeDestruction();
}

void TCustomForm::DoCreate() { OnCreate(this); }
void TCustomForm::DoDestroy() { OnDestroy(this); }
void TCustomForm::DoShow() { OnShow(this); }
void TCustomForm::DoHide() { OnHide(this); }
void TCustomForm::DoClose(TCloseAction& Action) { OnClose(this, Action); }
void TCustomForm::Activate() { OnActivate(this); }
void TCustomForm::Deactivate() { OnDeactivate(this); }
void TCustomForm::Paint() { OnPaint(this); }

void TCustomForm::Loaded() {
    TScrollingWinControl::Loaded();
    canvas_->SetFont(Font());
}

// ---------------------------------------------------------------------------
// Frame, size and position

void TCustomForm::FrameSize(TFormBorderStyle Style, int& DX, int& DY) {
    if (Style == bsNone) {
        DX = DY = 0;
    } else {
        DX = 8;
        DY = 34;
    }
}

int TCustomForm::ClientWidth() const {
    return ReadOnMain([this] {
        int dx, dy;
        FrameSize(borderStyle_, dx, dy);
        return std::max(0, Width() - dx);
    });
}

int TCustomForm::ClientHeight() const {
    return ReadOnMain([this] {
        int dx, dy;
        FrameSize(borderStyle_, dx, dy);
        return std::max(0, Height() - dy);
    });
}

void TCustomForm::SetClientSize(int AWidth, int AHeight) {
    if (QueueOffMain(Life(), [=, this] { SetClientSize(AWidth, AHeight); })) return;
    int dx, dy;
    FrameSize(borderStyle_, dx, dy);
    SetBounds(Left(), Top(), AWidth + dx, AHeight + dy);
}

void TCustomForm::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    TScrollingWinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
}

void TCustomForm::PushBounds() {
    if (auto* p = PeerAs<IFormPeer>()) p->SetFormBounds(Left(), Top(), ClientWidth(), ClientHeight());
}

TFormBorderStyle TCustomForm::BorderStyle() const {
    return ReadOnMain([this] { return borderStyle_; });
}

void TCustomForm::SetBorderStyle(TFormBorderStyle Value) {
    if (QueueOffMain(Life(), [this, Value] { SetBorderStyle(Value); })) return;
    if (Value == borderStyle_) return;
    // The inside keeps its size; the outer size follows the new frame.
    int cw = ClientWidth(), ch = ClientHeight();
    borderStyle_ = Value;
    int dx, dy;
    FrameSize(borderStyle_, dx, dy);
    StoreBounds(Left(), Top(), cw + dx, ch + dy);
    pushBorder();
    PushBounds();
}

TBorderIcons TCustomForm::BorderIcons() const {
    return ReadOnMain([this] { return borderIcons_; });
}

void TCustomForm::SetBorderIcons(TBorderIcons Value) {
    if (QueueOffMain(Life(), [this, Value] { SetBorderIcons(Value); })) return;
    if (Value == borderIcons_) return;
    borderIcons_ = Value;
    pushBorder();
}

void TCustomForm::pushBorder() {
    if (auto* p = PeerAs<IFormPeer>()) p->SetBorder(borderStyle_, borderIcons_);
}

void TCustomForm::SetFormStyle(TFormStyle Value) {
    if (QueueOffMain(Life(), [this, Value] { SetFormStyle(Value); })) return;
    if (Value == formStyle_) return;
    formStyle_ = Value;
    if (auto* p = PeerAs<IFormPeer>()) p->SetFormStyle(formStyle_);
}

TWindowState TCustomForm::WindowState() const {
    return ReadOnMain([this] { return windowState_; });
}

void TCustomForm::SetWindowState(TWindowState Value) {
    if (QueueOffMain(Life(), [this, Value] { SetWindowState(Value); })) return;
    if (Value == windowState_) return;
    windowState_ = Value;
    if (visible_)
        if (auto* p = PeerAs<IFormPeer>()) p->SetWindowState(windowState_);
}

void TCustomForm::windowStateChanged(TWindowState State) {
    // The tray icon may take the main window's minimise over.
    if (State != windowState_ && WindowStateChanging(this, State)) return;
    windowState_ = State;
}

void TCustomForm::SetIcon(TIcon* Value) {
    // The icon itself takes a worker's change to the main thread.
    icon_->Assign(Value);
}

TModalResult TCustomForm::ModalResult() const {
    return ReadOnMain([this] { return modalResult_; });
}

void TCustomForm::SetModalResult(TModalResult Value) {
    if (QueueOffMain(Life(), [this, Value] { SetModalResult(Value); })) return;
    modalResult_ = Value;
}

bool TCustomForm::Active() const {
    return ReadOnMain([this] { return active_; });
}

void TCustomForm::placeOnShow() {
    TCustomForm* anchor = nullptr;
    switch (position_) {
    case poMainFormCenter: anchor = Application->MainForm(); break;
    case poOwnerFormCenter: anchor = dynamic_cast<TCustomForm*>(Owner()); break;
    case poScreenCenter:
    case poDesktopCenter: break;
    default: return;
    }
    int l, t;
    if (anchor && anchor != this) {
        l = anchor->Left() + (anchor->Width() - Width()) / 2;
        t = anchor->Top() + (anchor->Height() - Height()) / 2;
    } else if (position_ == poDesktopCenter) {
        l = Screen->DesktopLeft() + (Screen->DesktopWidth() - Width()) / 2;
        t = Screen->DesktopTop() + (Screen->DesktopHeight() - Height()) / 2;
    } else {
        l = (Screen->Width() - Width()) / 2;
        t = (Screen->Height() - Height()) / 2;
    }
    StoreBounds(l, t, Width(), Height());
    PushBounds();
}

void TCustomForm::userResized(int CW, int CH) {
    int dx, dy;
    FrameSize(borderStyle_, dx, dy);
    int w = CW + dx, h = CH + dy;
    if (w == Width() && h == Height()) return;
    int nw = w, nh = h;
    if (!CanResize(nw, nh)) {
        nw = Width();
        nh = Height();
    }
    StoreBounds(Left(), Top(), nw, nh);
    if (nw != w || nh != h) PushBounds();
    BoundsChanged(true);
    Resize();
}

void TCustomForm::userMoved(int ALeft, int ATop) { StoreBounds(ALeft, ATop, Width(), Height()); }

// ---------------------------------------------------------------------------
// Peer

void TCustomForm::InitPeer() {
    TScrollingWinControl::InitPeer();
    auto* p = PeerAs<IFormPeer>();
    if (!p) return;
    p->SetBorder(borderStyle_, borderIcons_);
    p->SetFormStyle(formStyle_);
    p->SetIcon(TPixelsView{icon_->Width(), icon_->Height(), icon_->PixelData()});
    PushBounds();
    if (captionCodePage_) pushTitle();
}

void TCustomForm::TextChanged() { pushTitle(); }

void TCustomForm::CodePageChanged() {
    TScrollingWinControl::CodePageChanged();
    if (captionCodePage_) pushTitle();
}

void TCustomForm::SetCaptionCodePage(int Value) {
    if (QueueOffMain(Life(), [this, Value] { SetCaptionCodePage(Value); })) return;
    if (Value == captionCodePage_) return;
    captionCodePage_ = Value;
    pushTitle();
}

void TCustomForm::pushTitle() {
    if (IControlPeer* p = Peer()) p->SetText(text_, captionCodePage_ ? captionCodePage_ : CodePage());
}

void TCustomForm::VisibleChanged() {}

void TCustomForm::PaintControl(IPaintBackend& Backend, const TRect& /*ClipRect*/) {
    Backend.FillRect(ClientRect(), ColorToRGB(color_));
    canvas_->SetBackend(&Backend);
    try {
        Paint();
    } catch (...) {
        canvas_->SetBackend(nullptr);
        throw;
    }
    canvas_->SetBackend(nullptr);
}

// ---------------------------------------------------------------------------
// Showing and hiding

void TCustomForm::SetVisible(bool Value) {
    if (QueueOffMain(Life(), [this, Value] { SetVisible(Value); })) return;
    if (Loading()) {
        // A layout that makes the form visible shows it once it is created.
        showAfterCreate_ = Value;
        return;
    }
    if (Value == visible_) return;
    auto alive = Life().Watch();
    visible_ = Value;
    if (Value) {
        guarded([this] { DoShow(); });
        if (alive.expired() || !visible_) return;
        HandleNeeded();
        placeOnShow();
        if (auto* p = PeerAs<IFormPeer>()) {
            p->SetWindowState(windowState_);
            p->SetVisible(true);
            p->Activate();
        }
        focusFirst();
    } else {
        guarded([this] { DoHide(); });
        if (alive.expired() || visible_) return;
        if (IControlPeer* p = Peer()) p->SetVisible(false);
        if (active_) activeChanged(false);
    }
}

void TCustomForm::Show() {
    SetVisible(true);
    if (visible_)
        if (auto* p = PeerAs<IFormPeer>()) p->Activate();
}

void TCustomForm::Hide() { SetVisible(false); }

void TCustomForm::focusFirst() {
    if (activeControl_ && activeControl_->CanFocus()) {
        if (IControlPeer* p = activeControl_->Peer()) p->SetFocus();
        return;
    }
    std::function<TWinControl*(TWinControl*)> first = [&](TWinControl* w) -> TWinControl* {
        for (TWinControl* c : w->TabList()) {
            if (c->TabStop() && c->CanFocus() && c->Peer()) return c;
            if (TWinControl* inner = first(c)) return inner;
        }
        return nullptr;
    };
    if (TWinControl* c = first(this)) {
        c->Peer()->SetFocus();
    } else if (IControlPeer* p = Peer()) {
        // Keys then reach the form itself.
        p->SetFocus();
    }
}

bool TCustomForm::CanFocus() const {
    return ReadOnMain([this] { return visible_ && enabled_; });
}

void TCustomForm::SetFocus() {
    if (QueueOffMain(Life(), [this] { SetFocus(); })) return;
    if (!visible_ || !enabled_) throw EInvalidOperation("Cannot focus a disabled or invisible window");
    if (auto* p = PeerAs<IFormPeer>()) p->Activate();
}

void TCustomForm::SetActiveControl(TWinControl* Control) {
    if (QueueOffMain(Life(), [this, Control] { SetActiveControl(Control); })) return;
    if (Control && (Control == this || GetParentForm(Control) != this || (!Loading() && !Control->CanFocus())))
        throw EInvalidOperation("Cannot focus a disabled or invisible window");
    activeControl_ = Control;
    if (Control && visible_ && Control->Peer()) Control->Peer()->SetFocus();
}

void TCustomForm::activeChanged(bool IsActive) {
    if (IsActive == active_) return;
    active_ = IsActive;
    if (IsActive) {
        Screen->activeForm_ = this;
        Activate();
    } else {
        if (Screen->activeForm_ == this) Screen->activeForm_ = nullptr;
        Deactivate();
    }
}

void TCustomForm::Notification(TComponent* AComponent, TOperation Operation) {
    TScrollingWinControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == activeControl_) activeControl_ = nullptr;
}

bool TCustomForm::DialogKey(WORD Key, TShiftState Shift, TWinControl* FocusedControl) {
    if (!Shift.Empty()) return false;
    return TScrollingWinControl::DialogKey(Key, Shift, FocusedControl);
}

// ---------------------------------------------------------------------------
// Closing

bool TCustomForm::CloseQuery() {
    bool canClose = true;
    OnCloseQuery(this, canClose);
    return canClose;
}

void TCustomForm::Close() {
    if (QueueOffMain(Life(), [this] { Close(); })) return;
    if (modal_) {
        modalResult_ = mrCancel;
        return;
    }
    if (!CloseQuery()) return;
    TCloseAction action = caHide;
    DoClose(action);
    if (action == caNone) return;
    if (Application->MainForm() == this)
        Application->Terminate();
    else if (action == caHide)
        Hide();
    else if (action == caMinimize)
        SetWindowState(wsMinimized);
    else
        Release();
}

void TCustomForm::CloseModal() {
    try {
        TCloseAction action = caNone;
        if (CloseQuery()) {
            action = caHide;
            DoClose(action);
        }
        if (action == caNone)
            modalResult_ = mrNone;
        else if (action == caFree)
            Release();
    } catch (...) {
        modalResult_ = mrNone;
        Application->HandleException(std::current_exception());
    }
}

void TCustomForm::Release() {
    if (QueueOffMain(Life(), [this] { Release(); })) return;
    TThread::Queue(nullptr, [this, alive = Life().Watch()] {
        if (!alive.expired()) TObject::Free(this);
    });
}

TModalResult TCustomForm::ShowModal() {
    if (!IsMainThread()) return ReadOnMain([this] { return ShowModal(); });
    if (visible_ || !enabled_ || modal_) throw EInvalidOperation("Cannot make a visible window modal");
    auto alive = Life().Watch();
    modal_ = true;
    auto finish = [&] {
        if (alive.expired()) return;
        modal_ = false;
        Hide();
        if (auto* p = PeerAs<IFormPeer>()) p->SetModal(false);
    };
    TModalResult result = mrNone;
    try {
        HandleNeeded();
        if (auto* p = PeerAs<IFormPeer>()) p->SetModal(true);
        Show();
        modalResult_ = mrNone;
        if (const TModalHook& hook = modalHook()) {
            TModalResult r = hook(this);
            if (alive.expired()) return r;
            if (r != mrNone) modalResult_ = r;
            if (modalResult_ != mrNone) CloseModal();
        }
        // Without a platform nothing could ever set the result.
        if (modalResult_ == mrNone && !PeerFactory()) modalResult_ = mrCancel;
        while (modalResult_ == mrNone) {
            if (Application->Terminated()) {
                modalResult_ = mrCancel;
                break;
            }
            Application->HandleMessage();
            if (alive.expired()) return mrCancel;
            if (Application->Terminated())
                modalResult_ = mrCancel;
            else if (modalResult_ != mrNone)
                CloseModal();
        }
        result = modalResult_;
    } catch (...) {
        finish();
        throw;
    }
    finish();
    return result;
}
