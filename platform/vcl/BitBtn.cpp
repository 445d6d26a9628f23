#include "vcl/Buttons.h"
#include "vcl/Forms.h"

#include <algorithm>

YORDE_IMPLEMENT_CLASS(TBitBtn, [](TClassBuilder<TBitBtn>& c) {
    c.Property("Glyph", &TBitBtn::Glyph, &TBitBtn::SetGlyph);
    c.Property("Kind", &TBitBtn::Kind, &TBitBtn::SetKind).Default(bkCustom);
    c.Property("Layout", &TBitBtn::Layout, &TBitBtn::SetLayout).Default(blGlyphLeft);
    c.Property("Margin", &TBitBtn::Margin, &TBitBtn::SetMargin).Default(-1);
    c.Property("NumGlyphs", &TBitBtn::NumGlyphs, &TBitBtn::SetNumGlyphs).Default(1);
    c.Property("Spacing", &TBitBtn::Spacing, &TBitBtn::SetSpacing).Default(4);
})

namespace {
struct KindInfo {
    const char* caption;
    TModalResult result;
};
const KindInfo kKinds[] = {
    {"", mrNone},       {"OK", mrOk},       {"Cancel", mrCancel}, {"&Help", mrNone},     {"&Yes", mrYes}, {"&No", mrNo},
    {"&Close", mrNone}, {"Abort", mrAbort}, {"&Retry", mrRetry},  {"&Ignore", mrIgnore}, {"&All", mrAll},
};
}  // namespace

TBitBtn::TBitBtn(TComponent* AOwner) : TButton(AOwner), glyph_(std::make_unique<TBitmap>()) {
    glyph_->OnChange = [this](TObject*) { pushGlyph(); };
    glyph_->LiveOnMainThread();
}

TBitBtn::~TBitBtn() = default;

void TBitBtn::SetGlyph(TBitmap* Value) {
    // The glyph itself takes a worker's change to the main thread.
    glyph_->Assign(Value);
}

void TBitBtn::SetNumGlyphs(int Value) {
    if (QueueOffMain(Life(), [this, Value] { SetNumGlyphs(Value); })) return;
    numGlyphs_ = std::clamp(Value, 1, 4);
    pushGlyph();
}

void TBitBtn::SetKind(TBitBtnKind Value) {
    if (QueueOffMain(Life(), [this, Value] { SetKind(Value); })) return;
    if (Value == kind_) return;
    kind_ = Value;
    if (Value == bkCustom) return;
    SetDefault(Value == bkOK || Value == bkYes);
    SetCancel(Value == bkCancel || Value == bkNo);
    // A layout that gives its own caption keeps it.
    if (!Loading() || Caption().empty()) SetCaption(kKinds[Value].caption);
    SetModalResult(kKinds[Value].result);
}

void TBitBtn::Click() {
    if (QueueOffMain(Life(), [this] { Click(); })) return;
    if (kind_ == bkClose) {
        if (TCustomForm* form = GetParentForm(this)) {
            form->Close();
            return;
        }
    }
    TButton::Click();
}

void TBitBtn::InitPeer() {
    TButton::InitPeer();
    pushGlyph();
}

void TBitBtn::pushGlyph() {
    auto* p = PeerAs<IButtonPeer>();
    if (!p) return;
    if (glyph_->Empty()) {
        p->SetGlyph(TPixelsView{}, -1);
        return;
    }
    // The first of NumGlyphs images side by side.
    int w = glyph_->Width() / numGlyphs_, h = glyph_->Height();
    std::vector<uint32_t> cell(size_t(w) * size_t(h));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) cell[size_t(y) * size_t(w) + size_t(x)] = glyph_->PixelArgb(x, y);
    p->SetGlyph(TPixelsView{w, h, cell.data()}, glyph_->TransparentKey());
}
