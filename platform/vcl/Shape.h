#pragma once
// TShape: a painted rectangle, square, ellipse or circle in Pen and Brush.
// Rounded kinds are drawn with square corners.
#include "vcl/Controls.h"

#include <memory>

enum TShapeType : int { stRectangle, stSquare, stRoundRect, stRoundSquare, stEllipse, stCircle };
YORDE_ENUM_TYPEINFO(TShapeType, "stRectangle", "stSquare", "stRoundRect", "stRoundSquare", "stEllipse", "stCircle")

class TShape : public TGraphicControl {
    YORDE_CLASS(TShape, TGraphicControl)
public:
    explicit TShape(TComponent* AOwner);
    ~TShape() override;

    TShapeType Shape() const { return shape_; }
    void SetShape(TShapeType Value);
    TBrush* Brush() const { return brush_.get(); }
    void SetBrush(TBrush* Value) { brush_->Assign(Value); }
    TPen* Pen() const { return pen_.get(); }
    void SetPen(TPen* Value) { pen_->Assign(Value); }

protected:
    void Paint() override;

private:
    std::unique_ptr<TBrush> brush_;
    std::unique_ptr<TPen> pen_;
    TShapeType shape_ = stRectangle;
};
