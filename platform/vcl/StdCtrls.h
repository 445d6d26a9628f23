#pragma once
// Standard controls: labels, edits, buttons and check boxes.
//
// Event rules (what code of the program relies on):
// - TEdit: OnChange when the text really changes, set from code or typed.
// - TButton::Click(): runs even when the button is hidden or disabled; it
//   sets the parent form's ModalResult first (when its own is non-zero),
//   then runs OnClick. A user can click only an enabled button.
// - TCheckBox: OnClick when the state changes, from code or by the user.
#include "vcl/Controls.h"

enum TTextLayout : int { tlTop, tlCenter, tlBottom };
YORDE_ENUM_TYPEINFO(TTextLayout, "tlTop", "tlCenter", "tlBottom")

class TCustomLabel : public TGraphicControl {
    YORDE_CLASS(TCustomLabel, TGraphicControl)
public:
    explicit TCustomLabel(TComponent* AOwner);

    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment Value);
    TTextLayout Layout() const { return layout_; }
    void SetLayout(TTextLayout Value);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool Value);
    // Transparent: the parent shows through; otherwise the label fills with Color.
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool Value);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool Value);
    // "&" marks the next character (underlined), "&&" is a literal "&".
    bool ShowAccelChar() const { return showAccelChar_; }
    void SetShowAccelChar(bool Value);
    TWinControl* FocusControl() const { return focusControl_; }
    void SetFocusControl(TWinControl* Value);

protected:
    void Paint() override;
    void AdjustSize() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    unsigned textFlags() const;

private:
    TAlignment alignment_ = taLeftJustify;
    TTextLayout layout_ = tlTop;
    bool wordWrap_ = false;
    bool transparent_ = false;
    bool autoSize_ = true;
    bool showAccelChar_ = true;
    TWinControl* focusControl_ = nullptr;
};

class TLabel : public TCustomLabel {
    YORDE_CLASS(TLabel, TCustomLabel)
public:
    explicit TLabel(TComponent* AOwner) : TCustomLabel(AOwner) {}
};

// ---------------------------------------------------------------------------

enum TEditCharCase : int { ecNormal, ecUpperCase, ecLowerCase };
YORDE_ENUM_TYPEINFO(TEditCharCase, "ecNormal", "ecUpperCase", "ecLowerCase")

class TCustomEdit : public TWinControl {
    YORDE_CLASS(TCustomEdit, TWinControl)
public:
    explicit TCustomEdit(TComponent* AOwner);

    // Limits what the user types or pastes (0: no limit); Text set from
    // code is taken whole.
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int Value);
    // Non-zero: every character shows as a mask.
    char PasswordChar() const { return passwordChar_; }
    void SetPasswordChar(char Value);
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool Value);
    TEditCharCase CharCase() const { return charCase_; }
    void SetCharCase(TEditCharCase Value) { charCase_ = Value; }
    bool AutoSelect() const { return autoSelect_; }
    void SetAutoSelect(bool Value) { autoSelect_ = Value; }
    TBorderStyle BorderStyle() const;
    void SetBorderStyle(TBorderStyle Value);
    // Caret position and selection, 0-based, in characters (one byte each).
    int SelStart() const;
    void SetSelStart(int Value);
    int SelLength() const;
    void SetSelLength(int Value);
    AnsiString SelText() const;
    void SelectAll();
    void Clear() { SetText(AnsiString()); }
    // Set when the user changes the text.
    bool Modified() const { return modified_; }
    void SetModified(bool Value) { modified_ = Value; }

    TNotifyEvent OnChange;

protected:
    friend class TPeerInput;
    virtual void Change();
    void TextChanged() override;
    void InitPeer() override;
    // The user edited the text in the peer.
    void UserChangedText(const AnsiString& Bytes);

private:
    int maxLength_ = 0;
    char passwordChar_ = 0;
    bool readOnly_ = false;
    TEditCharCase charCase_ = ecNormal;
    bool autoSelect_ = true;
    int borderStyle_ = 1;
    int selStart_ = 0;
    int selLength_ = 0;
    bool modified_ = false;
};

class TEdit : public TCustomEdit {
    YORDE_CLASS(TEdit, TCustomEdit)
public:
    explicit TEdit(TComponent* AOwner) : TCustomEdit(AOwner) {}
};

// ---------------------------------------------------------------------------

class TButtonControl : public TWinControl {
    YORDE_CLASS(TButtonControl, TWinControl)
public:
    explicit TButtonControl(TComponent* AOwner);
};

class TButton : public TButtonControl {
    YORDE_CLASS(TButton, TButtonControl)
public:
    explicit TButton(TComponent* AOwner);

    // Enter clicks it while no other button has the focus (when it can take the focus).
    bool Default() const { return default_; }
    void SetDefault(bool Value);
    // Esc clicks it (when it can take the focus).
    bool Cancel() const { return cancel_; }
    void SetCancel(bool Value) { cancel_ = Value; }
    TModalResult ModalResult() const { return modalResult_; }
    void SetModalResult(TModalResult Value) { modalResult_ = Value; }

    // See the top of the file: no check of Visible or Enabled.
    void Click() override;

protected:
    bool DialogKey(WORD Key, TShiftState Shift, TWinControl* FocusedControl) override;
    void InitPeer() override;

private:
    bool default_ = false;
    bool cancel_ = false;
    TModalResult modalResult_ = 0;
};

// ---------------------------------------------------------------------------

enum TCheckBoxState : int { cbUnchecked, cbChecked, cbGrayed };
YORDE_ENUM_TYPEINFO(TCheckBoxState, "cbUnchecked", "cbChecked", "cbGrayed")

class TCustomCheckBox : public TButtonControl {
    YORDE_CLASS(TCustomCheckBox, TButtonControl)
public:
    explicit TCustomCheckBox(TComponent* AOwner);

    TCheckBoxState State() const;
    void SetState(TCheckBoxState Value);
    bool Checked() const { return State() == cbChecked; }
    void SetChecked(bool Value) { SetState(Value ? cbChecked : cbUnchecked); }
    bool AllowGrayed() const { return allowGrayed_; }
    void SetAllowGrayed(bool Value) { allowGrayed_ = Value; }
    // Where the text stands: taRightJustify (default) puts it right of the box.
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment Value) { alignment_ = Value; }

protected:
    friend class TPeerInput;
    // The user's click: unchecked -> checked (-> grayed with AllowGrayed) -> unchecked.
    virtual void Toggle();
    void InitPeer() override;

private:
    TCheckBoxState state_ = cbUnchecked;
    bool allowGrayed_ = false;
    TAlignment alignment_ = taRightJustify;
};

class TCheckBox : public TCustomCheckBox {
    YORDE_CLASS(TCheckBox, TCustomCheckBox)
public:
    explicit TCheckBox(TComponent* AOwner) : TCustomCheckBox(AOwner) {}
};
