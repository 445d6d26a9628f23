#pragma once
// How the users frame words a right and reads the retention choice.
#include "rtl/AnsiString.h"
#include "store/UserRecord.h"

#include <functional>

// The translated text of a key.
using TTextLookup = std::function<AnsiString(const char* key)>;

// One right as a sentence, e.g. "Privileges to view all.", "No privileges
// to view" or "Privileges to view user:" and the number on a second line;
// Action is the translated verb ("view", "remove").
AnsiString RightSentence(const TUserRight& right, const AnsiString& action, const TTextLookup& text);

// Months of the retention choice (0 off, 1..9); -1 when retention is off
// or the choice is unknown.
int RetentionMonths(int choice);

// Switching retention on or shortening the period deletes recordings, so
// it needs the user's confirmation; switching off or lengthening does not.
bool RetentionChangeNeedsConfirmation(int newChoice, int acceptedChoice);

// Whether the delete right allows a recording between these numbers: every
// recording for rkAll, for rkNumber those whose calling or called number is
// exactly the right's number, none otherwise.
bool MayDeleteRecording(const TUserRight& right, const AnsiString& calling, const AnsiString& called);

// Export hands out a playable copy, so it takes the right to listen.
inline bool MayExportRecording(const TUserRecord& user) { return user.ListenRight.Kind != rkNone; }
