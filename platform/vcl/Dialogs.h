#pragma once
// The standard message box. Texts are code-page bytes (ANSI code page).
#include "vcl/Controls.h"

#include <functional>

// Flags MB_* and results ID* are in Peers.h. Timers and queued calls keep
// running while the box is open. Without a platform the box is not shown:
// the text goes to stderr and the default button's result comes back.
int ShowMessageBox(const AnsiString& Text, const AnsiString& Caption, int Flags);
void ShowMessage(const AnsiString& Text);

// Tests: sees every message box instead of the user and gives its result.
using TMessageBoxHook = std::function<int(const AnsiString& Text, const AnsiString& Caption, int Flags)>;
void SetMessageBoxHook(TMessageBoxHook Hook);

// The open and save dialogs live in Dialogs with the class library.
#include "vcl/FileDialogs.h"
