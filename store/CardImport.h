#pragma once
// The SD-card import without its window: finding the recordings on a card
// taken out of the device, registering each one data.db does not know as a
// Files row and copying it, in its stored form, into the program's "files"
// folder. The card holds them as ROZMOWY/<year>/<month>/<day>/*.wav.
#include "rtl/AnsiString.h"

#include <cstdint>
#include <functional>
#include <vector>

// What a running import tells the program, called on the importing thread.
class ICardImportSink {
public:
    virtual ~ICardImportSink() = default;
    // A line for the debug log.
    virtual void Log(const AnsiString& Line) = 0;
    // 0..99 after each file.
    virtual void Progress(int Percent) = 0;
    // Rebuild the recordings list; returns when it is done.
    virtual void Reload() = 0;
    // Checked before each file: the program is closing.
    virtual bool StopRequested() = 0;
};

// File operations of the import, so that tests can make them fail.
struct TCardImportFiles {
    // Copies the open file Source (the card's file at SourcePath) to Target
    // without replacing it; afterwards the target is complete or absent. 0,
    // or the errno of the failure (ENOSPC or EDQUOT: the disk is full).
    // Empty: CopyOpenFileTo with the mode of a stored recording.
    std::function<int(const AnsiString& SourcePath, int Source, const AnsiString& Target)> Copy;
};

struct TCardImportResult {
    int Found = 0;          // recordings listed
    int Imported = 0;       // registered and copied
    int Skipped = 0;        // stored already, or deleted by a user or the purge
    int Failed = 0;         // refused names, unreadable files, copies or rows that failed
    bool DiskFull = false;  // the import stopped at a file that did not fit
    bool Stopped = false;   // the program asked it to stop
};

// What the walk over a card found.
struct TCardRecordings {
    AnsiString Drive;               // the card's root folder, ending in "/"
    std::vector<AnsiString> Paths;  // Drive + "ROZMOWY/<year>/<month>/<day>/<name>"
};

// The recordings of the card whose root folder is Drive (ending in "/"):
// the folder ROZMOWY and the ".wav" files matched without regard to case,
// year, month and day folders only when their names are whole numbers
// above 0. Sorted by name at each level. Links on the card, to files or
// folders, are skipped at every level, and so is anything but plain files
// and folders.
TCardRecordings ListCardRecordings(const AnsiString& Drive, ICardImportSink& Sink);

// Imports the card's recordings into ProgramFolder's data.db and "files"
// folder (the folder ends in "/"). A file already registered or listed as
// deleted is skipped. A name that could reach outside "files" is refused,
// and so is anything but a plain file reached without a link: each file is
// opened anew below the card's root, so one swapped for a link since the
// walk is not read. Each file is copied under a temporary name and renamed
// into place, with the mode of a downloaded recording whatever the card
// gave it, and its row is written only after that; a row that cannot be
// written takes its copy away again. An existing file of the same size is
// kept, one of another size (an orphan without a row) replaced. One failing
// file does not stop the others; a full disk or a full database stops the
// import. Never throws.
TCardImportResult ImportCardRecordings(const TCardRecordings& Card, const AnsiString& ProgramFolder,
                                       ICardImportSink& Sink, const TCardImportFiles& Files = {});
