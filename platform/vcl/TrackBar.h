#pragma once
// TTrackBar. Position is kept inside Min..Max; OnChange runs before the
// setter returns whenever the kept value changes (from code too, also when a
// new Min or Max moves it), and after the user moves the thumb.
//
// Keys: OnKeyDown runs first and may change or zero the key; then the bar
// handles the key it got: Left/Up -LineSize, Right/Down +LineSize,
// PageUp/PageDown -/+PageSize, Home Min, End Max (both orientations).
#include "vcl/CommonTypes.h"
#include "vcl/Controls.h"

class TTrackBar : public TWinControl {
    YORDE_CLASS(TTrackBar, TWinControl)
public:
    explicit TTrackBar(TComponent* AOwner);

    int Min() const { return min_; }
    // Ignored when above Max (or Max below Min), as with the class library,
    // except while a layout is read, where the order of the two must not matter.
    void SetMin(int Value);
    int Max() const { return max_; }
    void SetMax(int Value);
    int Position() const;
    void SetPosition(int Value);
    int Frequency() const { return frequency_; }
    void SetFrequency(int Value);
    int PageSize() const { return pageSize_; }
    void SetPageSize(int Value);
    int LineSize() const { return lineSize_; }
    void SetLineSize(int Value) { lineSize_ = Value; }
    TTrackBarOrientation Orientation() const { return orientation_; }
    void SetOrientation(TTrackBarOrientation Value);
    TTickStyle TickStyle() const { return tickStyle_; }
    void SetTickStyle(TTickStyle Value);
    TTickMark TickMarks() const { return tickMarks_; }
    void SetTickMarks(TTickMark Value);
    bool SliderVisible() const { return sliderVisible_; }
    void SetSliderVisible(bool Value);
    int ThumbLength() const { return thumbLength_; }
    void SetThumbLength(int Value) { thumbLength_ = Value; }
    int SelStart() const { return selStart_; }
    void SetSelStart(int Value) { selStart_ = Value; }
    int SelEnd() const { return selEnd_; }
    void SetSelEnd(int Value) { selEnd_ = Value; }

    TNotifyEvent OnChange;

protected:
    friend class TCommonInput;
    virtual void Changed();
    void InitPeer() override;
    void Loaded() override;
    // The bar's own handling of a key (after OnKeyDown).
    void KeyAction(WORD Key);
    void UserMoved(int Position);

private:
    void setParams(int Position, int Min, int Max);
    void pushTicks();

    int min_ = 0;
    int max_ = 10;
    int position_ = 0;
    int frequency_ = 1;
    int pageSize_ = 2;
    int lineSize_ = 1;
    TTrackBarOrientation orientation_ = trHorizontal;
    TTickStyle tickStyle_ = tsAuto;
    TTickMark tickMarks_ = tmBottomRight;
    bool sliderVisible_ = true;
    int thumbLength_ = 20;
    int selStart_ = 0;
    int selEnd_ = 0;
};
