#pragma once
// Input for tests: Qt mouse and key events sent to a control's widget, so
// they take the same way as real input (widget, peer, TPeerInput, handlers).
// Mouse events go where the window system puts them: on a scrolling control
// (memo, grid) that is the viewport, whose coordinates are the
// control's client coordinates. Positions are client coordinates; -1 means
// the centre of the client area.
#include "vcl/Forms.h"

#include <string>

namespace yorde::test {

void MouseDown(TControl* C, TMouseButton Button = mbLeft, int X = -1, int Y = -1, TShiftState Shift = {});
void MouseUp(TControl* C, TMouseButton Button = mbLeft, int X = -1, int Y = -1, TShiftState Shift = {});
void MouseMove(TControl* C, int X, int Y, TShiftState Shift = {});
// Press and release.
void Click(TControl* C, int X = -1, int Y = -1);
// Press, release, press, double click, release: what a real double click delivers.
void DoubleClick(TControl* C, int X = -1, int Y = -1);
// Right button pressed and released, then the context menu request (the
// order of the class library's messages). As for a user, a control without a
// PopupMenu may run Qt's own menu (edits, memos) and wait in it: tests give
// such controls a menu and answer it through SetPopupMenuHook.
void RightClick(TControl* C, int X = -1, int Y = -1, TShiftState Shift = {});
// The wheel turned by Delta (120 a notch; positive away from the user).
void Wheel(TControl* C, int Delta, int X = -1, int Y = -1, TShiftState Shift = {});

// A key (virtual key code) pressed and released, with its character when it has one.
void KeyDown(TWinControl* C, WORD Key, TShiftState Shift = {});
void KeyUp(TWinControl* C, WORD Key, TShiftState Shift = {});
void PressKey(TWinControl* C, WORD Key, TShiftState Shift = {});
// Types each character of Utf8 as a key press.
void TypeText(TWinControl* C, const std::string& Utf8);
// Puts Utf8 on the clipboard and presses Ctrl+V.
void Paste(TWinControl* C, const std::string& Utf8);

// The title bar's close box.
void CloseBox(TCustomForm* F);
// Handles what is pending (paints, posted events, queued calls).
void ProcessEvents();

}  // namespace yorde::test
