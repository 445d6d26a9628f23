#pragma once
// TMaskEdit: an edit whose EditMask is kept but not enforced; otherwise it
// behaves as TEdit (Text, PasswordChar, MaxLength, OnChange, the key events
// with Enter arriving at OnKeyPress as 13).
#include "vcl/StdCtrls.h"

class TCustomMaskEdit : public TCustomEdit {
    YORDE_CLASS(TCustomMaskEdit, TCustomEdit)
public:
    explicit TCustomMaskEdit(TComponent* AOwner) : TCustomEdit(AOwner) {}

    AnsiString EditMask() const { return editMask_; }
    void SetEditMask(const AnsiString& Value) { editMask_ = Value; }
    bool IsMasked() const { return !editMask_.empty(); }
    // The text as shown: the same as Text while masks are not enforced.
    AnsiString EditText() const { return Text(); }
    void SetEditText(const AnsiString& Value) { SetText(Value); }

private:
    AnsiString editMask_;
};

class TMaskEdit : public TCustomMaskEdit {
    YORDE_CLASS(TMaskEdit, TCustomMaskEdit)
public:
    explicit TMaskEdit(TComponent* AOwner) : TCustomMaskEdit(AOwner) {}
};
