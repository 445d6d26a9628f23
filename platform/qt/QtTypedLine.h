#pragma once
// What a user's change to a one-line edit leaves (edits and the edit part of
// combo boxes): the control's MaxLength and code page have the last word.
#include "rtl/AnsiString.h"

#include <QString>

class QLineEdit;

namespace yorde::qt {

struct TTypedLine {
    AnsiString Bytes;  // for the component
    QString Shown;     // what the edit shows now
};

// Now is the edit's text after the change, Before what it showed until then.
// Characters the code page cannot hold are refused (never stored as '?');
// of the rest of what was typed or pasted, only as much is kept as MaxLength
// (0: no limit) leaves room for. The edit is set back (without signals)
// when either changed what it shows.
TTypedLine TakeTypedLine(QLineEdit* Edit, const QString& Now, const QString& Before, int MaxLength, int CodePage);

}  // namespace yorde::qt
