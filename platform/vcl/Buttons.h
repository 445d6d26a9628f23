#pragma once
// TBitBtn: a button with a glyph. Kind sets the caption, the glyph's role and
// the modal result of the standard buttons.
#include "vcl/StdCtrls.h"

enum TBitBtnKind : int { bkCustom, bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose, bkAbort, bkRetry, bkIgnore, bkAll };
YORDE_ENUM_TYPEINFO(TBitBtnKind, "bkCustom", "bkOK", "bkCancel", "bkHelp", "bkYes", "bkNo", "bkClose", "bkAbort",
                    "bkRetry", "bkIgnore", "bkAll")
enum TButtonLayout : int { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
YORDE_ENUM_TYPEINFO(TButtonLayout, "blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom")

class TBitBtn : public TButton {
    YORDE_CLASS(TBitBtn, TButton)
public:
    explicit TBitBtn(TComponent* AOwner);
    ~TBitBtn() override;

    TBitmap* Glyph() const { return glyph_.get(); }
    void SetGlyph(TBitmap* Value);
    // Glyph images side by side (up, disabled, down, ...); the first is shown.
    int NumGlyphs() const { return numGlyphs_; }
    void SetNumGlyphs(int Value);
    TBitBtnKind Kind() const { return kind_; }
    void SetKind(TBitBtnKind Value);
    TButtonLayout Layout() const { return layout_; }
    void SetLayout(TButtonLayout Value) { layout_ = Value; }
    int Margin() const { return margin_; }
    void SetMargin(int Value) { margin_ = Value; }
    int Spacing() const { return spacing_; }
    void SetSpacing(int Value) { spacing_ = Value; }

    // bkClose closes the form after OnClick; the others act as TButton.
    void Click() override;

protected:
    void InitPeer() override;

private:
    void pushGlyph();

    std::unique_ptr<TBitmap> glyph_;
    int numGlyphs_ = 1;
    TBitBtnKind kind_ = bkCustom;
    TButtonLayout layout_ = blGlyphLeft;
    int margin_ = -1;
    int spacing_ = 4;
};
