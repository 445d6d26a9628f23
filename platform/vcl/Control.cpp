// TControl: state, events and the peer link.
#include "vcl/Controls.h"
#include "vcl/Forms.h"
#include "vcl/Menus.h"

YORDE_IMPLEMENT_CLASS(TControl, [](TClassBuilder<TControl>& c) {
    c.Property("Left", &TControl::Left, &TControl::SetLeft);
    c.Property("Top", &TControl::Top, &TControl::SetTop);
    c.Property("Width", &TControl::Width, &TControl::SetWidth);
    c.Property("Height", &TControl::Height, &TControl::SetHeight);
    c.Property("Cursor", &TControl::Cursor, &TControl::SetCursor).Default(crDefault);
    c.Property("Hint", &TControl::Hint, &TControl::SetHint);
    c.Property("HelpType", &TControl::HelpType, &TControl::SetHelpType).Default(htContext);
    c.Property("HelpKeyword", &TControl::HelpKeyword, &TControl::SetHelpKeyword);
    c.Property("HelpContext", &TControl::HelpContext, &TControl::SetHelpContext).Default(0);
})

AnsiString GetShortHint(const AnsiString& Hint) {
    size_t bar = Hint.find('|');
    return bar == AnsiString::npos ? Hint : Hint.substr(0, bar);
}

AnsiString GetLongHint(const AnsiString& Hint) {
    size_t bar = Hint.find('|');
    return bar == AnsiString::npos ? Hint : Hint.substr(bar + 1);
}

TCustomForm* GetParentForm(const TControl* Control) {
    const TControl* c = Control;
    while (c && c->Parent()) c = c->Parent();
    return dynamic_cast<TCustomForm*>(const_cast<TControl*>(c));
}

TWinControl* GetParentRoot(const TControl* Control) {
    for (const TControl* c = Control; c; c = c->Parent())
        if (dynamic_cast<const TCustomForm*>(c) || dynamic_cast<const TCustomFrame*>(c))
            return const_cast<TWinControl*>(static_cast<const TWinControl*>(c));
    return nullptr;
}

TControl::TControl(TComponent* AOwner) : TComponent(AOwner), font_(std::make_unique<TFont>()) {
    controlStyle_ = TControlStyle{csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
    lastCodePage_ = font_->CodePage();
    font_->OnChange = [this](TObject*) { fontObjectChanged(); };
    font_->LiveOnMainThread();
}

TControl::~TControl() {
    DestroyPeerTree();
    if (parent_) parent_->RemoveControl(this);
}

// ---------------------------------------------------------------------------
// Parent

TComponent* TControl::GetParentComponent() const { return parent_; }

void TControl::SetParentComponent(TComponent* Value) {
    if (auto* w = dynamic_cast<TWinControl*>(Value)) SetParent(w);
}

void TControl::SetParent(TWinControl* AParent) {
    if (QueueOffMain(life_, [this, AParent] { SetParent(AParent); })) return;
    if (AParent == parent_) return;
    if (AParent == this) throw EInvalidOperation("A control cannot have itself as its parent");
    for (TControl* p = AParent; p; p = p->parent_)
        if (p == this) throw EInvalidOperation("A control cannot have one of its children as its parent");
    DestroyPeerTree();
    if (parent_) parent_->RemoveControl(this);
    if (AParent) AParent->InsertControl(this);
}

// ---------------------------------------------------------------------------
// Position and size

int TControl::Left() const {
    return ReadOnMain([this] { return left_; });
}
int TControl::Top() const {
    return ReadOnMain([this] { return top_; });
}
int TControl::Width() const {
    return ReadOnMain([this] { return width_; });
}
int TControl::Height() const {
    return ReadOnMain([this] { return height_; });
}

void TControl::SetLeft(int Value) {
    if (QueueOffMain(life_, [this, Value] { SetLeft(Value); })) return;
    SetBounds(Value, top_, width_, height_);
}

void TControl::SetTop(int Value) {
    if (QueueOffMain(life_, [this, Value] { SetTop(Value); })) return;
    SetBounds(left_, Value, width_, height_);
}

void TControl::SetWidth(int Value) {
    if (QueueOffMain(life_, [this, Value] { SetWidth(Value); })) return;
    SetBounds(left_, top_, Value, height_);
}

void TControl::SetHeight(int Value) {
    if (QueueOffMain(life_, [this, Value] { SetHeight(Value); })) return;
    SetBounds(left_, top_, width_, Value);
}

TRect TControl::BoundsRect() const {
    return ReadOnMain([this] { return Bounds(left_, top_, width_, height_); });
}

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    if (QueueOffMain(life_, [=, this] { SetBounds(ALeft, ATop, AWidth, AHeight); })) return;
    AWidth = std::max(0, AWidth);
    AHeight = std::max(0, AHeight);
    if ((AWidth != width_ || AHeight != height_) && !Loading() && !CanResize(AWidth, AHeight)) {
        AWidth = width_;
        AHeight = height_;
    }
    if (ALeft == left_ && ATop == top_ && AWidth == width_ && AHeight == height_) return;
    bool resized = AWidth != width_ || AHeight != height_;
    StoreBounds(ALeft, ATop, AWidth, AHeight);
    PushBounds();
    BoundsChanged(resized);
    if (resized && !Loading()) Resize();
}

void TControl::BoundsChanged(bool /*Resized*/) {
    if (align_ != alNone) RequestAlign();
}

int TControl::ClientWidth() const { return Width(); }
int TControl::ClientHeight() const { return Height(); }

void TControl::SetClientWidth(int Value) { SetClientSize(Value, ClientHeight()); }
void TControl::SetClientHeight(int Value) { SetClientSize(ClientWidth(), Value); }

void TControl::SetClientSize(int AWidth, int AHeight) {
    if (QueueOffMain(life_, [=, this] { SetClientSize(AWidth, AHeight); })) return;
    SetBounds(left_, top_, width_ + AWidth - ClientWidth(), height_ + AHeight - ClientHeight());
}

TPoint TControl::ClientToScreen(const TPoint& P) const {
    return ReadOnMain([&] {
        if (peer_) return peer_->ClientToScreen(P);
        TPoint r(P.X + left_, P.Y + top_);
        return parent_ ? parent_->ClientToScreen(r) : r;
    });
}

TPoint TControl::ScreenToClient(const TPoint& P) const {
    return ReadOnMain([&] {
        if (peer_) return peer_->ScreenToClient(P);
        TPoint origin = ClientToScreen(TPoint(0, 0));
        return TPoint(P.X - origin.X, P.Y - origin.Y);
    });
}

bool TControl::CanResize(int& NewWidth, int& NewHeight) {
    bool resize = true;
    OnCanResize(this, NewWidth, NewHeight, resize);
    return resize;
}

void TControl::Resize() { OnResize(this); }

TAlign TControl::Align() const {
    return ReadOnMain([this] { return align_; });
}

void TControl::SetAlign(TAlign Value) {
    if (QueueOffMain(life_, [this, Value] { SetAlign(Value); })) return;
    if (Value == align_) return;
    align_ = Value;
    RequestAlign();
}

void TControl::RequestAlign() {
    if (parent_) parent_->Realign();
}

// ---------------------------------------------------------------------------
// Visibility and state

bool TControl::Visible() const {
    return ReadOnMain([this] { return visible_; });
}

void TControl::SetVisible(bool Value) {
    if (QueueOffMain(life_, [this, Value] { SetVisible(Value); })) return;
    if (Value == visible_) return;
    visible_ = Value;
    VisibleChanged();
}

void TControl::VisibleChanged() {
    if (peer_) peer_->SetVisible(visible_);
    if (align_ != alNone) RequestAlign();
}

void TControl::Show() { SetVisible(true); }
void TControl::Hide() { SetVisible(false); }

bool TControl::Showing() const {
    return ReadOnMain([this] {
        if (!visible_) return false;
        if (parent_) return parent_->Showing();
        return IsTopLevel() && peer_ != nullptr;
    });
}

bool TControl::Enabled() const {
    return ReadOnMain([this] { return enabled_; });
}

void TControl::SetEnabled(bool Value) {
    if (QueueOffMain(life_, [this, Value] { SetEnabled(Value); })) return;
    if (Value == enabled_) return;
    enabled_ = Value;
    EnabledChanged();
}

void TControl::EnabledChanged() {
    if (peer_) peer_->SetEnabled(enabled_);
    Invalidate();
}

// ---------------------------------------------------------------------------
// Text and hint

AnsiString TControl::Text() const {
    return ReadOnMain([this] { return text_; });
}

void TControl::SetText(const AnsiString& Value) {
    if (QueueOffMain(life_, [this, Value] { SetText(Value); })) return;
    const bool wasTranslated = TextCodePage() != DataCodePage();
    translated_.clear();
    mixed_ = TMixedText();
    if (Value != text_) {
        text_ = Value;
        TextChanged();
    } else if (wasTranslated) {
        PushText();
    }
}

void TControl::SetTranslatedText(const AnsiString& Value) {
    if (QueueOffMain(life_, [this, Value] { SetTranslatedText(Value); })) return;
    mixed_ = TMixedText();
    translated_ = Value;
    if (Value != text_) {
        text_ = Value;
        TextChanged();
    } else {
        PushText();
    }
}

void TControl::SetMixedText(const TMixedText& Value) {
    if (QueueOffMain(life_, [this, Value] { SetMixedText(Value); })) return;
    translated_.clear();
    const bool same = Value == mixed_;
    mixed_ = Value;
    const AnsiString bytes = Value.Bytes();
    if (bytes != text_) {
        text_ = bytes;
        TextChanged();
    } else if (!same) {
        // The same bytes may read otherwise part by part.
        PushText();
        Invalidate();
    }
}

int TControl::TextCodePage() const {
    if (!mixed_.Empty() && text_ == mixed_.Bytes()) return CP_UTF8;
    return !translated_.empty() && text_ == translated_ ? CodePage() : DataCodePage();
}

AnsiString TControl::ShownText() const {
    return ReadOnMain([this] {
        if (!mixed_.Empty() && text_ == mixed_.Bytes()) return AnsiString(mixed_.Utf8(CodePage()));
        return text_;
    });
}

void TControl::TextChanged() {
    PushText();
    AdjustSize();
    Invalidate();
}

AnsiString TControl::Hint() const {
    return ReadOnMain([this] { return hint_; });
}

void TControl::SetHint(const AnsiString& Value) {
    if (QueueOffMain(life_, [this, Value] { SetHint(Value); })) return;
    if (Value == hint_) return;
    hint_ = Value;
    PushHint();
}

bool TControl::ShowHint() const {
    return ReadOnMain([this] { return showHint_; });
}

void TControl::SetShowHint(bool Value) {
    if (QueueOffMain(life_, [this, Value] { SetShowHint(Value); })) return;
    parentShowHint_ = false;
    if (Value == showHint_) return;
    showHint_ = Value;
    ShowHintChanged();
}

bool TControl::ParentShowHint() const {
    return ReadOnMain([this] { return parentShowHint_; });
}

void TControl::SetParentShowHint(bool Value) {
    if (QueueOffMain(life_, [this, Value] { SetParentShowHint(Value); })) return;
    if (Value == parentShowHint_) return;
    parentShowHint_ = Value;
    if (Value) syncParentShowHint();
}

void TControl::ShowHintChanged() { PushHint(); }

void TControl::ParentShowHintChanged() {
    if (parentShowHint_) syncParentShowHint();
}

void TControl::syncParentShowHint() {
    if (!parent_) return;
    bool v = parent_->showHint_;
    if (v == showHint_) return;
    showHint_ = v;
    ShowHintChanged();
}

// ---------------------------------------------------------------------------
// Colour

TColor TControl::Color() const {
    return ReadOnMain([this] { return color_; });
}

void TControl::SetColor(TColor Value) {
    if (QueueOffMain(life_, [this, Value] { SetColor(Value); })) return;
    parentColor_ = false;
    if (Value == color_) return;
    color_ = Value;
    ColorChanged();
}

bool TControl::ParentColor() const {
    return ReadOnMain([this] { return parentColor_; });
}

void TControl::SetParentColor(bool Value) {
    if (QueueOffMain(life_, [this, Value] { SetParentColor(Value); })) return;
    if (Value == parentColor_) return;
    parentColor_ = Value;
    if (Value) syncParentColor();
}

void TControl::ColorChanged() {
    PushColor();
    Invalidate();
}

void TControl::ParentColorChanged() {
    if (parentColor_) syncParentColor();
}

void TControl::syncParentColor() {
    if (!parent_ || parent_->color_ == color_) return;
    color_ = parent_->color_;
    ColorChanged();
}

// ---------------------------------------------------------------------------
// Font and code page

void TControl::SetFont(TFont* Value) {
    // The font itself takes a worker's change to the main thread.
    font_->Assign(Value);
}

bool TControl::ParentFont() const {
    return ReadOnMain([this] { return parentFont_; });
}

void TControl::SetParentFont(bool Value) {
    if (QueueOffMain(life_, [this, Value] { SetParentFont(Value); })) return;
    if (Value == parentFont_) return;
    parentFont_ = Value;
    if (Value) syncParentFont();
}

void TControl::fontObjectChanged() {
    // A font set on the control itself (not copied from the parent) ends ParentFont.
    if (!syncingFont_) parentFont_ = false;
    FontChanged();
    int cp = font_->CodePage();
    if (cp != lastCodePage_) {
        lastCodePage_ = cp;
        CodePageChanged();
    }
}

bool TControl::UserData() const {
    return ReadOnMain([this] { return userData_; });
}

void TControl::SetUserData(bool Value) {
    if (QueueOffMain(life_, [this, Value] { SetUserData(Value); })) return;
    if (Value == userData_) return;
    userData_ = Value;
    CodePageChanged();
}

void TControl::FontChanged() {
    PushFont();
    AdjustSize();
    Invalidate();
}

void TControl::CodePageChanged() {
    PushText();
    PushHint();
}

void TControl::ParentFontChanged() {
    if (parentFont_) syncParentFont();
}

void TControl::syncParentFont() {
    if (!parent_) return;
    syncingFont_ = true;
    try {
        font_->Assign(parent_->font_.get());
    } catch (...) {
        syncingFont_ = false;
        throw;
    }
    syncingFont_ = false;
}

// ---------------------------------------------------------------------------
// Cursor, popup menu

TCursor TControl::Cursor() const {
    return ReadOnMain([this] { return cursor_; });
}

void TControl::SetCursor(TCursor Value) {
    if (QueueOffMain(life_, [this, Value] { SetCursor(Value); })) return;
    if (Value == cursor_) return;
    cursor_ = Value;
    if (peer_) peer_->SetCursor(cursor_);
}

void TControl::SetPopupMenu(TPopupMenu* Value) {
    if (Value == popupMenu_) return;
    if (popupMenu_) popupMenu_->RemoveFreeNotification(this);
    popupMenu_ = Value;
    if (popupMenu_) popupMenu_->FreeNotification(this);
}

void TControl::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == popupMenu_) popupMenu_ = nullptr;
}

// ---------------------------------------------------------------------------
// Painting and z-order

void TControl::Invalidate() {
    if (QueueOffMain(life_, [this] { Invalidate(); })) return;
    if (peer_) peer_->Invalidate();
}

void TControl::Repaint() {
    if (QueueOffMain(life_, [this] { Repaint(); })) return;
    if (peer_) peer_->Repaint();
}

void TControl::Update() {
    if (QueueOffMain(life_, [this] { Update(); })) return;
    if (peer_) peer_->Update();
}

void TControl::BringToFront() {
    if (QueueOffMain(life_, [this] { BringToFront(); })) return;
    if (parent_) {
        auto& v = parent_->controls_;
        v.erase(std::find(v.begin(), v.end(), this));
        v.push_back(this);
    }
    if (peer_) peer_->BringToFront();
}

void TControl::SendToBack() {
    if (QueueOffMain(life_, [this] { SendToBack(); })) return;
    if (parent_) {
        auto& v = parent_->controls_;
        v.erase(std::find(v.begin(), v.end(), this));
        v.insert(v.begin(), this);
    }
    if (peer_) peer_->SendToBack();
}

void TControl::PaintControl(IPaintBackend& /*Backend*/, const TRect& /*ClipRect*/) {}

// ---------------------------------------------------------------------------
// Mouse

void TControl::Click() { OnClick(this); }
void TControl::DblClick() { OnDblClick(this); }

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    OnMouseDown(this, Button, Shift, X, Y);
}

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) { OnMouseUp(this, Button, Shift, X, Y); }

void TControl::MouseMove(TShiftState Shift, int X, int Y) { OnMouseMove(this, Shift, X, Y); }

// ---------------------------------------------------------------------------
// Peer

void TControl::HandleNeeded() {
    if (peer_ || !PeerFactory() || Destroying()) return;
    if (parent_) {
        // The parent makes its children's peers along with its own.
        parent_->HandleNeeded();
        return;
    }
    if (IsTopLevel()) CreatePeerTree(nullptr);
}

void TControl::CreatePeerTree(IControlPeer* ParentPeer) {
    if (peer_ || Destroying()) return;
    IPeerFactory* f = PeerFactory();
    if (!f) return;
    peer_ = f->CreateControlPeer(this, ParentPeer);
    if (peer_) InitPeer();
}

void TControl::DestroyPeerTree() { peer_.reset(); }

void TControl::InitPeer() {
    PushBounds();
    PushFont();
    PushColor();
    PushText();
    PushHint();
    peer_->SetCursor(cursor_);
    peer_->SetEnabled(enabled_);
    if (!IsTopLevel()) peer_->SetVisible(visible_);
}

void TControl::PushBounds() {
    if (peer_) peer_->SetBounds(left_, top_, width_, height_);
}

void TControl::PushText() {
    if (peer_) peer_->SetText(ShownText(), TextCodePage());
}

void TControl::PushFont() {
    if (peer_) peer_->SetFont(font_->Data());
}

void TControl::PushColor() {
    if (peer_) peer_->SetColor(ColorToRGB(color_), false);
}

void TControl::PushHint() {
    if (!peer_) return;
    peer_->SetHint(EffectiveShowHint() ? GetShortHint(hint_) : AnsiString(), CodePage());
}

void TControl::Loaded() {
    TComponent::Loaded();
    if (parentFont_) syncParentFont();
    if (parentColor_) syncParentColor();
    if (parentShowHint_) syncParentShowHint();
    AdjustSize();
    RequestAlign();
}
