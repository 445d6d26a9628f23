#pragma once
// The stored recording the player holds, readable from any thread: the sync
// run's storage quota never deletes it from under the listener.
#include "rtl/AnsiString.h"

// GUI thread: the full path of the recording opened in the player; empty
// when the player holds none.
void SetRecordingInPlayer(const AnsiString& Path);
// Any thread.
AnsiString RecordingInPlayer();
// The name in the "files" folder of Folder (with its "/") of the recording
// in the player; empty when it holds none from there.
AnsiString RecordingInPlayerName(const AnsiString& Folder);
