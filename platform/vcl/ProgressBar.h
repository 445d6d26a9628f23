#pragma once
// TProgressBar. Position stays inside Min..Max; StepIt past Max starts over
// from Min as the Windows bar does. Max equal to (or below) Min shows an
// empty bar.
#include "vcl/CommonTypes.h"
#include "vcl/Controls.h"

class TProgressBar : public TWinControl {
    YORDE_CLASS(TProgressBar, TWinControl)
public:
    explicit TProgressBar(TComponent* AOwner);

    int Min() const { return min_; }
    void SetMin(int Value);
    int Max() const { return max_; }
    void SetMax(int Value);
    int Position() const;
    void SetPosition(int Value);
    int Step() const { return step_; }
    void SetStep(int Value) { step_ = Value; }
    void StepIt();
    void StepBy(int Delta);
    bool Smooth() const { return smooth_; }
    void SetSmooth(bool Value);
    TProgressBarOrientation Orientation() const { return orientation_; }
    void SetOrientation(TProgressBarOrientation Value);

protected:
    void InitPeer() override;
    void Loaded() override;

private:
    int clamped(int Value) const;
    void push();

    int min_ = 0;
    int max_ = 100;
    int position_ = 0;
    int step_ = 10;
    bool smooth_ = false;
    TProgressBarOrientation orientation_ = pbHorizontal;
};
