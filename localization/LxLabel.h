#pragma once
// A label that draws its caption raised, recessed or with a shadow: up to
// two offset copies in a dark and a light colour, then the text itself.
#include "vcl/StdCtrls.h"

enum TTextStyle { tsNone, tsRaised, tsRecessed, tsShadow };
YORDE_ENUM_TYPEINFO(TTextStyle, "tsNone", "tsRaised", "tsRecessed", "tsShadow")

class TlxLabel : public TLabel {
    YORDE_CLASS(TlxLabel, TLabel)
public:
    explicit TlxLabel(TComponent* AOwner) : TLabel(AOwner) {}

    // Each setter repaints on a change only.
    TTextStyle TextStyle() const { return textStyle_; }
    void SetTextStyle(TTextStyle Value);
    TColor ShadowColor() const { return shadowColor_; }
    void SetShadowColor(TColor Value);
    TColor ThreeDColor() const { return threeDColor_; }
    void SetThreeDColor(TColor Value);
    // Offset of the first copy, in pixels.
    int ShadowDepth() const { return shadowDepth_; }
    void SetShadowDepth(int Value);
    // Offset of the second copy, in pixels.
    int WidthDepth() const { return widthDepth_; }
    void SetWidthDepth(int Value);
    // The first copy goes up instead of down.
    bool ShadowUp() const { return shadowUp_; }
    void SetShadowUp(bool Value);
    // The second copy goes right instead of left.
    bool ThreeDLeft() const { return threeDLeft_; }
    void SetThreeDLeft(bool Value);

protected:
    void Paint() override;

private:
    template <class T>
    void change(T& Field, T Value);

    TTextStyle textStyle_ = tsRecessed;
    TColor shadowColor_ = clBtnShadow;
    TColor threeDColor_ = clBtnHighlight;
    int shadowDepth_ = 2;
    int widthDepth_ = -1;
    bool shadowUp_ = false;
    bool threeDLeft_ = false;
};
