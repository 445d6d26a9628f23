#pragma once
// File-name texts. Local paths use "/"; the device's file names keep the
// Windows rule ("\" and ":" end the folder part).
#include "rtl/AnsiString.h"

constexpr char PathDelim = '/';

AnsiString ExtractFilePath(const AnsiString& FileName);  // up to and including the last "/"
AnsiString ExtractFileDir(const AnsiString& FileName);   // the same without the "/" (but "/" stays)
AnsiString ExtractFileName(const AnsiString& FileName);  // after the last "/"
AnsiString ExtractFileExt(const AnsiString& FileName);   // ".ext" of the name part, or ""
AnsiString ChangeFileExt(const AnsiString& FileName, const AnsiString& Extension);

// After the last '\' or ':'; the whole text when there is neither. A '/'
// does not split.
AnsiString ExtractDeviceFileName(const AnsiString& DeviceName);

AnsiString IncludeTrailingPathDelimiter(const AnsiString& S);
AnsiString ExcludeTrailingPathDelimiter(const AnsiString& S);
bool IsPathDelimiter(const AnsiString& S, int Index);

// Absolute form: relative names start at the current folder; ".", ".."
// and repeated "/" are resolved textually. A trailing "/" is kept.
AnsiString ExpandFileName(const AnsiString& FileName);
