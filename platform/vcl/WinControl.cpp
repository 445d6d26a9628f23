// TWinControl: children, alignment, tab order, focus and keys; and the
// painted control bases.
#include "vcl/Controls.h"
#include "vcl/Forms.h"

#include "rtl/Convert.h"

#include <algorithm>

YORDE_IMPLEMENT_CLASS(TWinControl, [](TClassBuilder<TWinControl>&) {})
YORDE_IMPLEMENT_CLASS(TGraphicControl, [](TClassBuilder<TGraphicControl>&) {})
YORDE_IMPLEMENT_CLASS(TCustomControl, [](TClassBuilder<TCustomControl>&) {})

namespace {

// Binds a canvas to a paint backend for the length of a paint.
class CanvasBinding {
public:
    CanvasBinding(TCanvas* c, IPaintBackend& b) : c_(c) { c_->SetBackend(&b); }
    ~CanvasBinding() { c_->SetBackend(nullptr); }
    CanvasBinding(const CanvasBinding&) = delete;
    CanvasBinding& operator=(const CanvasBinding&) = delete;

private:
    TCanvas* c_;
};

}  // namespace

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner) {}

TWinControl::~TWinControl() {
    // The class library frees a window's child controls with it.
    while (!controls_.empty()) {
        TControl* c = controls_.back();
        controls_.pop_back();
        c->parent_ = nullptr;
        TObject::Free(c);
    }
}

TControl* TWinControl::Controls(int Index) const {
    if (Index < 0 || Index >= int(controls_.size()))
        throw EListError("List index out of bounds (" + IntToStr(Index) + ")");
    return controls_[size_t(Index)];
}

bool TWinControl::ContainsControl(TControl* Control) const {
    for (TControl* c = Control; c; c = c->Parent())
        if (c == this) return true;
    return false;
}

void TWinControl::InsertControl(TControl* AControl) {
    AControl->parent_ = this;
    controls_.push_back(AControl);
    if (auto* w = dynamic_cast<TWinControl*>(AControl)) {
        if (!AControl->Loading() || w->tabOrder_ < 0) {
            int last = -1;
            for (TControl* c : controls_)
                if (auto* s = dynamic_cast<TWinControl*>(c); s && s != w) last = std::max(last, s->tabOrder_);
            w->tabOrder_ = last + 1;
        }
    }
    AControl->ParentFontChanged();
    AControl->ParentColorChanged();
    AControl->ParentShowHintChanged();
    if (HandleAllocated()) {
        AControl->CreatePeerTree(Peer());
        PushTabChain();
    }
    if (AControl->align_ != alNone) Realign();
}

void TWinControl::RemoveControl(TControl* AControl) {
    auto it = std::find(controls_.begin(), controls_.end(), AControl);
    if (it == controls_.end()) return;
    if (TCustomForm* f = GetParentForm(this)) {
        if (f->activeControl_ && (f->activeControl_ == AControl ||
                                  (dynamic_cast<TWinControl*>(AControl) &&
                                   static_cast<TWinControl*>(AControl)->ContainsControl(f->activeControl_))))
            f->activeControl_ = nullptr;
    }
    controls_.erase(it);
    AControl->parent_ = nullptr;
    if (AControl->align_ != alNone) Realign();
    PushTabChain();
}

void TWinControl::GetChildren(TGetChildProc Proc, TComponent* Root) {
    for (TControl* c : controls_)
        if (c->Owner() == Root) Proc(c);
}

void TWinControl::SetChildOrder(TComponent* Child, int Order) {
    auto it = std::find(controls_.begin(), controls_.end(), Child);
    if (it == controls_.end()) return;
    TControl* c = *it;
    controls_.erase(it);
    Order = std::clamp(Order, 0, int(controls_.size()));
    controls_.insert(controls_.begin() + Order, c);
}

// ---------------------------------------------------------------------------
// Tab order

std::vector<TWinControl*> TWinControl::TabList() const {
    std::vector<TWinControl*> list;
    for (TControl* c : controls_)
        if (auto* w = dynamic_cast<TWinControl*>(c)) list.push_back(w);
    std::stable_sort(list.begin(), list.end(),
                     [](TWinControl* a, TWinControl* b) { return a->tabOrder_ < b->tabOrder_; });
    return list;
}

void TWinControl::renumberTabs(std::vector<TWinControl*>& list) {
    for (size_t i = 0; i < list.size(); ++i) list[i]->tabOrder_ = int(i);
}

int TWinControl::TabOrder() const {
    return ReadOnMain([this] {
        if (!Parent()) return tabOrder_;
        std::vector<TWinControl*> list = Parent()->TabList();
        auto it = std::find(list.begin(), list.end(), this);
        return it == list.end() ? -1 : int(it - list.begin());
    });
}

void TWinControl::SetTabOrder(int Value) {
    if (QueueOffMain(Life(), [this, Value] { SetTabOrder(Value); })) return;
    if (Loading() || !Parent()) {
        tabOrder_ = Value;
        return;
    }
    std::vector<TWinControl*> list = Parent()->TabList();
    list.erase(std::find(list.begin(), list.end(), this));
    Value = std::clamp(Value, 0, int(list.size()));
    list.insert(list.begin() + Value, this);
    renumberTabs(list);
    PushTabChain();
}

bool TWinControl::TabStop() const {
    return ReadOnMain([this] { return tabStop_; });
}

void TWinControl::SetTabStop(bool Value) {
    if (QueueOffMain(Life(), [this, Value] { SetTabStop(Value); })) return;
    if (Value == tabStop_) return;
    tabStop_ = Value;
    if (IControlPeer* p = Peer()) p->SetTabStop(tabStop_);
}

void TWinControl::PushTabChain() {
    TControl* top = this;
    while (top->Parent()) top = top->Parent();
    IControlPeer* topPeer = top->Peer();
    auto* root = dynamic_cast<TWinControl*>(top);
    if (!topPeer || !root || root->Loading()) return;
    std::vector<IControlPeer*> chain;
    std::function<void(TWinControl*)> walk = [&](TWinControl* w) {
        for (TWinControl* c : w->TabList()) {
            if (c->Peer()) chain.push_back(c->Peer());
            walk(c);
        }
    };
    walk(root);
    topPeer->SetTabChain(chain);
}

// ---------------------------------------------------------------------------
// Focus

bool TWinControl::CanFocus() const {
    return ReadOnMain([this] {
        TCustomForm* form = GetParentForm(this);
        if (!form) return false;
        for (const TControl* c = this; c && c != form; c = c->Parent())
            if (!c->visible_ || !c->enabled_) return false;
        return true;
    });
}

bool TWinControl::Focused() const {
    return ReadOnMain([this] { return Peer() && Peer()->Focused(); });
}

void TWinControl::SetFocus() {
    if (QueueOffMain(Life(), [this] { SetFocus(); })) return;
    TCustomForm* form = GetParentForm(this);
    if (!form) throw EInvalidOperation("Control '" + Name() + "' has no parent window");
    form->SetActiveControl(this);
}

// ---------------------------------------------------------------------------
// Keys

void TWinControl::KeyDown(WORD& Key, TShiftState Shift) { OnKeyDown(this, Key, Shift); }
void TWinControl::KeyUp(WORD& Key, TShiftState Shift) { OnKeyUp(this, Key, Shift); }
void TWinControl::KeyPress(char& Key) { OnKeyPress(this, Key); }

bool TWinControl::DoKeyDown(WORD& Key, TShiftState Shift) {
    TCustomForm* form = GetParentForm(this);
    if (form && form != this && form->KeyPreview() && !form->DoKeyDown(Key, Shift)) return false;
    if (Key == 0) return false;
    KeyDown(Key, Shift);
    return Key != 0;
}

bool TWinControl::DoKeyUp(WORD& Key, TShiftState Shift) {
    TCustomForm* form = GetParentForm(this);
    if (form && form != this && form->KeyPreview() && !form->DoKeyUp(Key, Shift)) return false;
    if (Key == 0) return false;
    KeyUp(Key, Shift);
    return Key != 0;
}

bool TWinControl::DoKeyPress(char& Key) {
    TCustomForm* form = GetParentForm(this);
    if (form && form != this && form->KeyPreview() && !form->DoKeyPress(Key)) return false;
    if (Key == 0) return false;
    KeyPress(Key);
    return Key != 0;
}

bool TWinControl::DialogKey(WORD Key, TShiftState Shift, TWinControl* FocusedControl) {
    // A copy: a click may change the tree.
    std::vector<TControl*> children = controls_;
    for (TControl* c : children)
        if (auto* w = dynamic_cast<TWinControl*>(c); w && w->DialogKey(Key, Shift, FocusedControl)) return true;
    return false;
}

void TWinControl::DoEnter() { OnEnter(this); }
void TWinControl::DoExit() { OnExit(this); }

// ---------------------------------------------------------------------------
// Alignment

void TWinControl::DisableAlign() { ++alignDisabled_; }

void TWinControl::EnableAlign() {
    if (alignDisabled_ > 0 && --alignDisabled_ == 0 && alignPending_) Realign();
}

void TWinControl::Realign() {
    if (QueueOffMain(Life(), [this] { Realign(); })) return;
    if (alignDisabled_ > 0 || Loading() || Destroying()) {
        alignPending_ = true;
        return;
    }
    if (aligning_) return;
    alignNow();
}

void TWinControl::alignNow() {
    aligning_ = true;
    alignPending_ = false;
    try {
        TRect r = ClientRect();
        AdjustClientRect(r);
        AlignControls(nullptr, r);
    } catch (...) {
        aligning_ = false;
        throw;
    }
    aligning_ = false;
}

void TWinControl::AlignControls(TControl* /*AControl*/, TRect& Rect) {
    static const TAlign order[] = {alTop, alBottom, alLeft, alRight, alClient};
    for (TAlign a : order) {
        std::vector<TControl*> list;
        for (TControl* c : controls_)
            if (c->align_ == a && c->visible_) list.push_back(c);
        auto key = [a](TControl* c) {
            switch (a) {
            case alTop: return c->top_;
            case alBottom: return -(c->top_ + c->height_);
            case alLeft: return c->left_;
            case alRight: return -(c->left_ + c->width_);
            default: return 0;
            }
        };
        std::stable_sort(list.begin(), list.end(), [&](TControl* x, TControl* y) { return key(x) < key(y); });
        for (TControl* c : list) {
            int w = c->width_, h = c->height_;
            switch (a) {
            case alTop:
                c->SetBounds(Rect.Left, Rect.Top, Rect.Width(), h);
                Rect.Top += c->height_;
                break;
            case alBottom:
                c->SetBounds(Rect.Left, Rect.Bottom - h, Rect.Width(), h);
                Rect.Bottom -= c->height_;
                break;
            case alLeft:
                c->SetBounds(Rect.Left, Rect.Top, w, Rect.Height());
                Rect.Left += c->width_;
                break;
            case alRight:
                c->SetBounds(Rect.Right - w, Rect.Top, w, Rect.Height());
                Rect.Right -= c->width_;
                break;
            default: c->SetBounds(Rect.Left, Rect.Top, std::max(0, Rect.Width()), std::max(0, Rect.Height())); break;
            }
        }
    }
}

void TWinControl::BoundsChanged(bool Resized) {
    TControl::BoundsChanged(Resized);
    if (Resized) Realign();
}

void TWinControl::Loaded() {
    TControl::Loaded();
    std::vector<TWinControl*> list = TabList();
    renumberTabs(list);
    Realign();
}

// ---------------------------------------------------------------------------
// Inherited font, colour and hints

void TWinControl::FontChanged() {
    TControl::FontChanged();
    std::vector<TControl*> children = controls_;
    for (TControl* c : children) c->ParentFontChanged();
}

void TWinControl::ColorChanged() {
    TControl::ColorChanged();
    std::vector<TControl*> children = controls_;
    for (TControl* c : children) c->ParentColorChanged();
}

void TWinControl::ShowHintChanged() {
    TControl::ShowHintChanged();
    std::vector<TControl*> children = controls_;
    for (TControl* c : children) c->ParentShowHintChanged();
}

// ---------------------------------------------------------------------------
// Peers

void TWinControl::HandleNeeded() { TControl::HandleNeeded(); }

void TWinControl::CreatePeerTree(IControlPeer* ParentPeer) {
    TControl::CreatePeerTree(ParentPeer);
    if (!Peer()) return;
    // Controls without a window lie under the windowed ones.
    for (TControl* c : controls_)
        if (!dynamic_cast<TWinControl*>(c)) c->CreatePeerTree(Peer());
    for (TControl* c : controls_)
        if (dynamic_cast<TWinControl*>(c)) c->CreatePeerTree(Peer());
    if (IControlPeer* p = Peer()) p->SetTabStop(tabStop_);
    if (!Parent()) PushTabChain();
}

void TWinControl::DestroyPeerTree() {
    for (TControl* c : controls_) c->DestroyPeerTree();
    TControl::DestroyPeerTree();
}

// ---------------------------------------------------------------------------
// Painted controls

TGraphicControl::TGraphicControl(TComponent* AOwner) : TControl(AOwner), canvas_(std::make_unique<TCanvas>()) {
    canvas_->LiveOnMainThread();
}

TGraphicControl::~TGraphicControl() = default;

void TGraphicControl::PaintControl(IPaintBackend& Backend, const TRect& /*ClipRect*/) {
    CanvasBinding bind(canvas_.get(), Backend);
    Paint();
}

TCustomControl::TCustomControl(TComponent* AOwner) : TWinControl(AOwner), canvas_(std::make_unique<TCanvas>()) {
    canvas_->LiveOnMainThread();
}

TCustomControl::~TCustomControl() = default;

void TCustomControl::PaintControl(IPaintBackend& Backend, const TRect& /*ClipRect*/) {
    CanvasBinding bind(canvas_.get(), Backend);
    Paint();
}
