#pragma once
// TRadioButton. Radio buttons with the same parent form a group: checking
// one unchecks the others. OnClick runs when the button becomes checked, set
// from code or clicked by the user; being unchecked (by code or by a sibling)
// raises nothing, and clicking a checked button changes nothing.
#include "vcl/StdCtrls.h"

class TRadioButton : public TButtonControl {
    YORDE_CLASS(TRadioButton, TButtonControl)
public:
    explicit TRadioButton(TComponent* AOwner);

    bool Checked() const;
    void SetChecked(bool Value);
    // taRightJustify (default): the text right of the button.
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment Value);

protected:
    friend class TCommonInput;
    void InitPeer() override;
    void UserClicked();

private:
    bool checked_ = false;
    TAlignment alignment_ = taRightJustify;
};
