// Input from the peers, each piece inside the exception barrier.
#include "vcl/PeerInput.h"

#include "vcl/ExtCtrls.h"
#include "vcl/Forms.h"
#include "vcl/Menus.h"
#include "vcl/StdCtrls.h"

#include <cstdio>

namespace {

void report(std::exception_ptr e) {
    try {
        if (Application) Application->HandleException(e);
    } catch (...) {
        std::fprintf(stderr, "Unhandled exception in an event handler\n");
    }
}

}  // namespace

bool TPeerInput::Dispatch(const std::function<void()>& Fn) {
    try {
        Fn();
        return true;
    } catch (...) {
        report(std::current_exception());
        return false;
    }
}

bool TPeerInput::DispatchDeferred(const std::function<void()>& Fn) {
    try {
        Fn();
        return true;
    } catch (...) {
        std::exception_ptr e = std::current_exception();
        TThread::Queue(nullptr, [e] { std::rethrow_exception(e); });
        return false;
    }
}

// ---------------------------------------------------------------------------
// Mouse

void TPeerInput::MouseDown(TControl* C, TMouseButton Button, TShiftState Shift, int X, int Y) {
    Dispatch([&] {
        if (Button == mbLeft && C->controlStyle_.Contains(csClickEvents)) C->clicked_ = true;
        C->MouseDown(Button, Shift, X, Y);
    });
}

void TPeerInput::MouseUp(TControl* C, TMouseButton Button, TShiftState Shift, int X, int Y) {
    Dispatch([&] {
        auto alive = C->Life().Watch();
        bool click = Button == mbLeft && C->clicked_;
        C->clicked_ = false;
        // The click comes first, then the mouse-up.
        if (click && C->ClientRect().Contains(TPoint(X, Y))) C->Click();
        if (alive.expired()) return;
        C->MouseUp(Button, Shift, X, Y);
    });
}

void TPeerInput::MouseMove(TControl* C, TShiftState Shift, int X, int Y) {
    Dispatch([&] { C->MouseMove(Shift, X, Y); });
}

void TPeerInput::DoubleClick(TControl* C, TMouseButton Button, TShiftState /*Shift*/, int /*X*/, int /*Y*/) {
    Dispatch([&] {
        // Without csDoubleClicks the second press counts as an ordinary one.
        if (Button != mbLeft || !C->controlStyle_.Contains(csDoubleClicks)) return;
        C->clicked_ = false;
        C->DblClick();
    });
}

void TPeerInput::ContextPopup(TControl* C, int ScreenX, int ScreenY) {
    Dispatch([&] {
        for (TControl* c = C; c; c = c->Parent())
            if (TPopupMenu* menu = c->PopupMenu()) {
                if (!menu->AutoPopup()) return;
                menu->SetPopupComponent(c);
                menu->Popup(ScreenX, ScreenY);
                return;
            }
    });
}

// ---------------------------------------------------------------------------
// Keys and focus

TPeerInput::TKeyOutcome TPeerInput::KeyDown(TWinControl* C, WORD& Key, TShiftState Shift) {
    TKeyOutcome outcome = TKeyOutcome::Handled;
    Dispatch([&] {
        if ((Key == VK_RETURN || Key == VK_ESCAPE) && !C->WantSpecialKey(Key)) {
            TCustomForm* form = GetParentForm(C);
            if (form && form->DialogKey(Key, Shift, C)) {
                outcome = TKeyOutcome::Consumed;
                return;
            }
        }
        outcome = C->DoKeyDown(Key, Shift) ? TKeyOutcome::Default : TKeyOutcome::Handled;
    });
    return outcome;
}

bool TPeerInput::KeyPress(TWinControl* C, char& Key) {
    bool go = false;
    Dispatch([&] { go = C->DoKeyPress(Key); });
    return go;
}

bool TPeerInput::KeyUp(TWinControl* C, WORD& Key, TShiftState Shift) {
    bool go = false;
    Dispatch([&] { go = C->DoKeyUp(Key, Shift); });
    return go;
}

void TPeerInput::FocusEnter(TWinControl* C) {
    Dispatch([&] {
        TCustomForm* form = GetParentForm(C);
        if (form && form != C) form->activeControl_ = C;
        C->DoEnter();
    });
}

void TPeerInput::FocusExit(TWinControl* C) {
    Dispatch([&] { C->DoExit(); });
}

// ---------------------------------------------------------------------------
// Painting, native controls, windows, timers

void TPeerInput::Paint(TControl* C, IPaintBackend& Backend, const TRect& ClipRect) {
    DispatchDeferred([&] { C->PaintControl(Backend, ClipRect); });
}

void TPeerInput::Click(TControl* C) {
    Dispatch([&] { C->Click(); });
}

void TPeerInput::EditChanged(TCustomEdit* C, const AnsiString& Bytes) {
    Dispatch([&] { C->UserChangedText(Bytes); });
}

void TPeerInput::CheckBoxToggled(TCustomCheckBox* C) {
    Dispatch([&] { C->Toggle(); });
}

void TPeerInput::FormCloseRequest(TCustomForm* F) {
    Dispatch([&] { F->Close(); });
}

void TPeerInput::FormResized(TCustomForm* F, int ClientWidth, int ClientHeight) {
    Dispatch([&] { F->userResized(ClientWidth, ClientHeight); });
}

void TPeerInput::FormMoved(TCustomForm* F, int Left, int Top) {
    Dispatch([&] { F->userMoved(Left, Top); });
}

void TPeerInput::FormActivated(TCustomForm* F, bool Active) {
    Dispatch([&] { F->activeChanged(Active); });
}

void TPeerInput::FormWindowStateChanged(TCustomForm* F, TWindowState State) {
    Dispatch([&] { F->windowStateChanged(State); });
}

void TPeerInput::TimerFired(TTimer* T) {
    Dispatch([&] { T->Timer(); });
}
