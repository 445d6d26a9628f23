#pragma once
// A sound file the user picks as an announcement: checked with libsndfile,
// loaded at run time, and copied to the upload file.
#include "rtl/AnsiString.h"
#include "rtl/AtomicFile.h"

// How the upload file is written: for its owner alone, and a link planted
// at its fixed name is replaced rather than written through.
inline constexpr TAtomicWriteOptions kUploadFileOptions{.NewMode = 0600, .KeepMode = false, .ReplaceLink = true};

// The outcome; every value but afAccepted is the code of the announcement
// message (catalogue 1) that reports it.
enum TAnnouncementFileCheck : int {
    afAccepted = -1,
    afNoFile = 0,       // IDS_ANNOUNCE_NOFILE: it cannot be read, or not be copied
    afTooBig = 1,       // IDS_ANNOUNCE_TOOBIG: over 100000 bytes
    afWrongFormat = 2,  // IDS_ANNOUNCE_CORRECT: not an 8000 Hz WAV of GSM 6.10 or A-law
    afNoLibrary = 3,    // IDS_LIBSND_ERROR
};

// Checks Chosen and, when it is fit, replaces UploadFile with its bytes. The
// check reads the copy, so what is uploaded is exactly what was checked; a
// copy that fails the check is removed again, and so is any older
// UploadFile: nothing stale is ever left to be sent.
TAnnouncementFileCheck PrepareAnnouncementFile(const AnsiString& Chosen, const AnsiString& UploadFile);
