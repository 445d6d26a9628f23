#pragma once
// TGroupBox: a painted frame with a caption that holds other controls.
#include "vcl/Controls.h"

class TCustomGroupBox : public TCustomControl {
    YORDE_CLASS(TCustomGroupBox, TCustomControl)
public:
    explicit TCustomGroupBox(TComponent* AOwner);

protected:
    void Paint() override;
    // Aligned children stay below the caption and inside the frame.
    void AdjustClientRect(TRect& Rect) const override;
    void TextChanged() override { Invalidate(); }

private:
    int captionHeight() const;
};

class TGroupBox : public TCustomGroupBox {
    YORDE_CLASS(TGroupBox, TCustomGroupBox)
public:
    explicit TGroupBox(TComponent* AOwner) : TCustomGroupBox(AOwner) {}
};
