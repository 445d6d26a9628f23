#pragma once
// The settings list: 13 text lines, stored as the Base64 text of their
// CR LF form in "config.cfg" beside the program.
//
//   0, 1  filter range start and end ("yyyy-mm-dd", blanks, "hh:nn:ss")
//   2, 3  subscriber A and B filter, "*" for none
//   4     refresh slider position (a sync run every p * 120 s)
//   5     recordings-buffer slider position in GB
//   6, 7  device address and password
//   8-11  window Left, Top, Width, Height
//   12    retention choice (0 = off)
#include "rtl/AnsiString.h"
#include "rtl/DateTime.h"

#include <functional>
#include <optional>

class TStrings;

constexpr int ConfigLineCount = 13;

constexpr int RefreshPositionMin = 1;
constexpr int RefreshPositionMax = 60;
constexpr int BufferPositionMin = 1;
constexpr int BufferPositionMax = 64;

struct TVirtualScreenSize {
    int Width = 0;
    int Height = 0;
};

// What the controls hold when the settings are written.
struct TConfigSnapshot {
    AnsiString DateFrom;  // the filter frame's bound texts
    AnsiString DateTo;
    AnsiString NumberA;  // empty: no filter
    AnsiString NumberB;
    int RefreshPosition = 1;
    int BufferPosition = 1;
    AnsiString Address;
    AnsiString Password;
    int Left = 0;
    int Top = 0;
    int Width = 800;
    int Height = 600;
    int RetentionIndex = 0;
};

// What a list gives the controls, each group read on its own: a group whose
// lines are missing or do not convert takes its fallback as a whole.
struct TConfigValues {
    TDateTime DateFrom = 0;  // fallback: both the current date and time
    TDateTime DateTo = 0;
    std::optional<AnsiString> NumberA;  // none: leave the edit as it is
    std::optional<AnsiString> NumberB;
    // Device link; fallback 1, 1, "http://", "" (all four together).
    int RefreshPosition = 1;  // clamped to the slider's range
    int BufferPosition = 1;
    AnsiString Address = "http://";
    AnsiString Password;
    // Window; fallback 10, 10, 800, 600.
    int Left = 10;
    int Top = 10;
    int Width = 800;
    int Height = 600;
    int RetentionIndex = 0;  // not range-checked
};

// The date-time layout of the default lines: "yyyy-mm-dd hh:nn:ss".
AnsiString ConfigDateTimeText(TDateTime value);

// Replaces the list's content.
void DefaultConfigLines(TStrings& lines, TDateTime now, TVirtualScreenSize virtualScreen);
void BuildConfigLines(TStrings& lines, const TConfigSnapshot& values);
TConfigValues ParseConfigLines(const TStrings& lines, TDateTime now);

// Fills the list from dir + "config.cfg" (a plain "config.x" left by an
// interrupted run stands in when there is no "config.cfg"). Without a
// readable file the defaults go into the list and are stored at once, as
// far as the folder allows. A "config.cfg" that is not Base64 text is set
// aside (renamed to "config.cfg.bad") and counts as none; one that is, but
// does not hold 13 lines of text, is read as far as it goes and a copy is
// kept as "config.cfg.bad", so that no save destroys it. Log gets a line
// for each. Returns true when the list came from a file. dir ends with "/".
bool LoadConfigList(const AnsiString& dir, TStrings& lines, TDateTime now, TVirtualScreenSize virtualScreen,
                    const std::function<void(const AnsiString&)>& log = {});

// Replaces dir + "config.cfg" as a whole, readable by its owner alone, and a
// link at that name by the file itself; on failure (EFCreateError,
// EWriteError) the previous file stays. The plain form never touches the disk.
void SaveConfigList(const AnsiString& dir, const TStrings& lines);
