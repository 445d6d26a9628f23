#pragma once
// The help file of the translation library.
#include "rtl/AnsiString.h"

class TWinControl;

// The registry key (under HKEY_CURRENT_USER) whose "HelpFile" names the file.
extern const char* const lxHelpRegistryKey;

// Shows topic Topic of the library's help file. Nothing happens when the key
// cannot be opened; a named file that does not exist is reported in a
// message box. There is no help viewer here, so an existing file opens nothing.
void DisplayHelpTopic(TWinControl* Wnd, int Topic);
