#pragma once
// The one way in from the screen: peers report input and paint requests
// here. Every entry runs the control's handling inside Dispatch, which hands
// any exception (Exception, foreign exception types, anything) to
// Application->HandleException; nothing reaches the platform's event loop.
//
// A handler may destroy the control (and the peer with it): peers must not
// touch themselves after a call here without checking they still exist.
#include "vcl/Controls.h"

#include <functional>

class TCustomForm;
class TCustomEdit;
class TButtonControl;
class TCustomCheckBox;
class TTimer;

class TPeerInput {
public:
    // Runs Fn; returns false when it raised (the exception has been handled).
    static bool Dispatch(const std::function<void()>& Fn);
    // As Dispatch, but the exception is handled later from the event loop
    // (a message box must not open inside a paint).
    static bool DispatchDeferred(const std::function<void()>& Fn);

    // Mouse, in the control's client coordinates. DoubleClick follows the
    // second press of a double click.
    static void MouseDown(TControl* C, TMouseButton Button, TShiftState Shift, int X, int Y);
    static void MouseUp(TControl* C, TMouseButton Button, TShiftState Shift, int X, int Y);
    static void MouseMove(TControl* C, TShiftState Shift, int X, int Y);
    static void DoubleClick(TControl* C, TMouseButton Button, TShiftState Shift, int X, int Y);
    // A right-button release or the menu key: the control's popup menu.
    static void ContextPopup(TControl* C, int ScreenX, int ScreenY);

    // Keys, in this order: Enter and Esc go to a visible, enabled Default or
    // Cancel button first (then nothing more happens: Consumed); then the
    // form's OnKeyDown when it has KeyPreview, then the control's. A handler
    // may change Key; zeroing it (Handled) stops the control's own handling
    // of the key, but its character still goes to KeyPress, as with the
    // class library. KeyPress returns false when a handler zeroed the character.
    enum class TKeyOutcome { Default, Handled, Consumed };
    static TKeyOutcome KeyDown(TWinControl* C, WORD& Key, TShiftState Shift);
    static bool KeyPress(TWinControl* C, char& Key);
    static bool KeyUp(TWinControl* C, WORD& Key, TShiftState Shift);
    static void FocusEnter(TWinControl* C);
    static void FocusExit(TWinControl* C);

    static void Paint(TControl* C, IPaintBackend& Backend, const TRect& ClipRect);

    // Native controls.
    static void Click(TControl* C);  // a button pressed by the user
    static void EditChanged(TCustomEdit* C, const AnsiString& Bytes);
    static void CheckBoxToggled(TCustomCheckBox* C);

    // Windows.
    static void FormCloseRequest(TCustomForm* F);  // the close box
    static void FormResized(TCustomForm* F, int ClientWidth, int ClientHeight);
    static void FormMoved(TCustomForm* F, int Left, int Top);
    static void FormActivated(TCustomForm* F, bool Active);
    static void FormWindowStateChanged(TCustomForm* F, TWindowState State);

    static void TimerFired(TTimer* T);
};
