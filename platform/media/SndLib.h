#pragma once
// libsndfile loaded at run time, for the check of a chosen announcement
// file: the library is looked up by name, and its absence is a state the
// caller reports rather than an error.
#include "rtl/AnsiString.h"
#include "rtl/DynLib.h"

// What the check reads of a sound file.
struct TSoundFileInfo {
    int SampleRate = 0;
    int Format = 0;  // major|minor, e.g. 0x10020 WAV with GSM 6.10, 0x10011 WAV with A-law
};

class TSndFileLibrary {
public:
    TSndFileLibrary();  // tries "libsndfile.so.1", then "libsndfile.so"; unloads when it goes

    // True when the library was found and both sf_open and sf_close resolved.
    bool Loaded() const { return open_ != nullptr && close_ != nullptr; }

    // Tests: while set, loading fails as if the library were not installed.
    static void SetLoadFailureForTest(bool fail);

private:
    friend bool ProbeSoundFile(const TSndFileLibrary&, const AnsiString&, TSoundFileInfo&);
    using SfOpen = void* (*)(const char* path, int mode, void* info);
    using SfClose = int (*)(void* handle);
    TDynLib lib_;
    SfOpen open_ = nullptr;
    SfClose close_ = nullptr;
};

constexpr int kSfReadMode = 0x10;

// Opens the file read-only with a zeroed SF_INFO, reads its rate and format
// and closes it again. False when the library is not loaded or the file
// cannot be opened as sound.
bool ProbeSoundFile(const TSndFileLibrary& lib, const AnsiString& path, TSoundFileInfo& info);
