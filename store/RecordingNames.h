#pragma once
// The device's recording file names: "_"-separated fields date (YYYYMMDD),
// time (hhmmss), calling number, called number, then more text; a "*" in a
// number is written "a".
#include "rtl/AnsiString.h"

#include <cstdint>
#include <string_view>

// Returns the next field and removes it from `rest`. Callers put a "_" in
// front of the whole name first. A "_" with fewer than 12 characters left
// stands for an empty field, returned as "-"; with more left it is taken as
// a separator and the field after it is returned. Without another "_" the
// whole of `rest` is returned and `rest` stays as it is.
AnsiString NextNameToken(AnsiString& rest);

// Every "a" becomes "*", in place.
void StarsFromA(AnsiString& number);

// The values of a Files row for a recording.
struct TRecordingRow {
    AnsiString Data;  // "yyyy-mm-dd", six blanks, "hh:nn:ss"
    AnsiString AbA;
    AnsiString AbB;
    int Czas = 0;  // whole seconds; -1 when the size is unknown
    AnsiString Filename;
};

// Whether `text` has the layout of Files.Data: "yyyy-mm-dd", six blanks,
// "hh:nn:ss", every field of digits.
bool IsDataText(std::string_view text);

// The row of the file `name` of `size` bytes (a negative size: unknown).
// Names that do not follow the pattern still give a row, from whatever
// the fields are.
TRecordingRow RecordingRowFromName(const AnsiString& name, std::int64_t size);

// Seconds of a stored file of `size` bytes; -1 for a negative size.
int RecordingSecondsFromSize(std::int64_t size);

// Whether a name from outside (the device, a card) may name a file in the
// store's folder: not empty, not "." or "..", no folder separator of
// either system ("/" or "\"), no drive colon and no control character.
bool IsPlainRecordingName(const AnsiString& name);
