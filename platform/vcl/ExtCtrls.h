#pragma once
// Panels, images, paint boxes and timers.
#include "vcl/Controls.h"

enum TBevelCut : int { bvNone, bvLowered, bvRaised, bvSpace };
YORDE_ENUM_TYPEINFO(TBevelCut, "bvNone", "bvLowered", "bvRaised", "bvSpace")

// Draws the 3-D frame of a panel inside Rect and shrinks Rect by Width.
void Frame3D(TCanvas* Canvas, TRect& Rect, TColor TopColor, TColor BottomColor, int Width);

class TCustomPanel : public TCustomControl {
    YORDE_CLASS(TCustomPanel, TCustomControl)
public:
    explicit TCustomPanel(TComponent* AOwner);

    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment Value);
    TBevelCut BevelInner() const { return bevelInner_; }
    void SetBevelInner(TBevelCut Value);
    TBevelCut BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TBevelCut Value);
    int BevelWidth() const { return bevelWidth_; }
    void SetBevelWidth(int Value);
    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int Value);
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle Value);
    bool FullRepaint() const { return fullRepaint_; }
    void SetFullRepaint(bool Value) { fullRepaint_ = Value; }

protected:
    void Paint() override;
    // Children are aligned inside the bevels and the border.
    void AdjustClientRect(TRect& Rect) const override;
    void TextChanged() override { Invalidate(); }

private:
    TAlignment alignment_ = taCenter;
    TBevelCut bevelInner_ = bvNone;
    TBevelCut bevelOuter_ = bvRaised;
    int bevelWidth_ = 1;
    int borderWidth_ = 0;
    TBorderStyle borderStyle_ = bsNone;
    bool fullRepaint_ = true;
};

class TPanel : public TCustomPanel {
    YORDE_CLASS(TPanel, TCustomPanel)
public:
    explicit TPanel(TComponent* AOwner) : TCustomPanel(AOwner) {}
};

class TImage : public TGraphicControl {
    YORDE_CLASS(TImage, TGraphicControl)
public:
    explicit TImage(TComponent* AOwner);
    ~TImage() override;

    TPicture* Picture() const { return picture_.get(); }
    void SetPicture(TPicture* Value);
    // The picture's bitmap canvas (a bitmap of the image's size is made when empty).
    TCanvas* Canvas();
    bool Stretch() const { return stretch_; }
    void SetStretch(bool Value);
    bool Center() const { return center_; }
    void SetCenter(bool Value);
    bool Proportional() const { return proportional_; }
    void SetProportional(bool Value);
    // The bitmap's transparent colour (its bottom-left pixel) is left out.
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool Value);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool Value);
    bool IncrementalDisplay() const { return incrementalDisplay_; }
    void SetIncrementalDisplay(bool Value) { incrementalDisplay_ = Value; }
    // Where the picture lands inside the control.
    TRect DestRect() const;

protected:
    void Paint() override;
    void AdjustSize() override;

private:
    void pictureChanged();

    std::unique_ptr<TPicture> picture_;
    bool stretch_ = false;
    bool center_ = false;
    bool proportional_ = false;
    bool transparent_ = false;
    bool autoSize_ = false;
    bool incrementalDisplay_ = false;
};

class TPaintBox : public TGraphicControl {
    YORDE_CLASS(TPaintBox, TGraphicControl)
public:
    explicit TPaintBox(TComponent* AOwner);
    TNotifyEvent OnPaint;

protected:
    void Paint() override;
};

// Fires OnTimer on the main thread every Interval ms while Enabled, also
// inside modal loops. A handler that runs long delays the next firing; the
// timer does not guard against its handler re-entering through a modal loop.
class TTimer : public TComponent {
    YORDE_CLASS(TTimer, TComponent)
public:
    explicit TTimer(TComponent* AOwner);
    ~TTimer() override;

    bool Enabled() const;
    void SetEnabled(bool Value);
    unsigned Interval() const;
    void SetInterval(unsigned Value);
    void Loaded() override;

    TNotifyEvent OnTimer;

protected:
    friend class TPeerInput;
    virtual void Timer();

private:
    void update();

    TLifeToken life_;
    bool enabled_ = true;
    unsigned interval_ = 1000;
    std::unique_ptr<ITimerPeer> peer_;
};

// The tray icon lives in ExtCtrls with the class library.
#include "vcl/TrayIcon.h"
