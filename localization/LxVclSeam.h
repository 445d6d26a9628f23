#pragma once
// What the engine needs of the controls layer, reached without linking it:
// property access by name goes through RTTI; the screen cursor goes through
// an access the controls layer (or a test) installs.
#include "classes/Classes.h"

#include <functional>

// The screen cursor. Until an access is installed the engine keeps its own
// value (crDefault at start), which is what tests probe.
struct TlxScreenCursorAccess {
    std::function<int()> Get;
    std::function<void(int)> Set;
};
void lxInstallScreenCursor(TlxScreenCursorAccess Access);
// Installs the controls layer's Screen->Cursor (RegisterLocalizationClasses does).
void lxUseVclScreenCursor();
void lxResetScreenCursor();
int lxGetScreenCursor();
void lxSetScreenCursor(int Cursor);

// True when the class or one of its ancestors carries this name; how the
// engine recognises TFont, TControl, TForm without their headers.
bool lxClassIs(const TMetaClass* Class, const char* Name);
bool lxObjectIs(const TObject* Object, const char* Name);

// Published string property (any string kind); null when absent.
const TPropInfo* lxStringProp(const TObject* Object, const AnsiString& Name);
// Published class property holding an object of the named class; null when absent.
const TPropInfo* lxClassProp(const TObject* Object, const AnsiString& Name, const char* ClassName = nullptr);
// Published Boolean property that is True.
bool lxBoolPropTrue(const TObject* Object, const AnsiString& Name);
// A control whose "Action" property is set: its caption and hint come from the action.
bool lxHasAssignedAction(const TObject* Object);
