#pragma once
// A stored recording written out as a plain WAV file of the user's choice:
// the header as stored, the audio deciphered.
#include "rtl/AnsiString.h"

#include <cstdint>
#include <functional>
#include <string_view>

// The name the save dialog offers for a recording's file name: its date and
// time fields as "YYYY-MM-DD_hh-mm-ss.wav". Names that do not follow the
// device's pattern still give a name, from whatever their fields are.
AnsiString ExportFileName(const AnsiString& recordingName);

enum class TExportResult {
    Ok,
    Missing,      // no such recording file, or a name that names none
    Damaged,      // shorter than its header: no recording
    OpenError,    // the recording cannot be read
    MemoryError,  // no memory for its bytes
    IntoStore,    // the target lies in the recordings' own folder
    DiskFull,     // writing it said so: no space or no quota left
    WriteError,   // the target cannot be written for any other reason
};

// File operations of an export, so that tests can make them fail.
struct TExportFiles {
    // Writes the whole target so that it is complete or as it was; 0, or
    // the errno of the failure. Empty: through TAtomicFile.
    std::function<int(const AnsiString& Target, std::string_view Bytes)> Write;
};

// 0..100 as the export goes on.
using TExportProgress = std::function<void(int Percent)>;

// Writes the recording `name` of the folder `storeFolder` (ending in "/")
// deciphered to `target`. A name that could reach outside the folder is
// treated as missing. A target inside the folder is refused: it would
// replace a stored recording with plain sound. A failed write leaves no
// part of the target behind (an existing target keeps its old content).
// Never throws.
TExportResult ExportRecording(const AnsiString& storeFolder, const AnsiString& name, const AnsiString& target,
                              const TExportProgress& progress = {}, const TExportFiles& files = {});
