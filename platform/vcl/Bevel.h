#pragma once
// TBevel: painted 3-D boxes, frames and lines.
#include "vcl/Controls.h"

enum TBevelStyle : int { bsLowered, bsRaised };
YORDE_ENUM_TYPEINFO(TBevelStyle, "bsLowered", "bsRaised")
enum TBevelShape : int { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer };
YORDE_ENUM_TYPEINFO(TBevelShape, "bsBox", "bsFrame", "bsTopLine", "bsBottomLine", "bsLeftLine", "bsRightLine",
                    "bsSpacer")

class TBevel : public TGraphicControl {
    YORDE_CLASS(TBevel, TGraphicControl)
public:
    explicit TBevel(TComponent* AOwner);

    TBevelShape Shape() const { return shape_; }
    void SetShape(TBevelShape Value);
    TBevelStyle Style() const { return style_; }
    void SetStyle(TBevelStyle Value);

protected:
    void Paint() override;

private:
    TBevelShape shape_ = bsBox;
    TBevelStyle style_ = bsLowered;
};
