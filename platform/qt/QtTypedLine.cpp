#include "qt/QtTypedLine.h"

#include "qt/QtText.h"

#include <QLineEdit>
#include <QSignalBlocker>

#include <algorithm>

namespace yorde::qt {

TTypedLine TakeTypedLine(QLineEdit* Edit, const QString& Now, const QString& Before, int MaxLength, int CodePage) {
    int cursor = Edit->cursorPosition();
    QString text = KeepEncodable(Now, CodePage, &cursor);
    bool reset = text.size() != Now.size();
    if (MaxLength > 0 && text.size() > MaxLength) {
        // The inserted part lies between what the text shares with Before at
        // its start and at its end.
        qsizetype p = 0;
        while (p < text.size() && p < Before.size() && text[p] == Before[p]) ++p;
        qsizetype s = 0;
        while (s < text.size() - p && s < Before.size() - p &&
               text[text.size() - 1 - s] == Before[Before.size() - 1 - s])
            ++s;
        qsizetype inserted = text.size() - p - s;
        qsizetype allowed = std::max<qsizetype>(0, MaxLength - (p + s));
        if (inserted > allowed) {
            text = text.left(p) + text.mid(p, allowed) + text.right(s);
            cursor = int(p + allowed);
            reset = true;
        }
    }
    TTypedLine out;
    out.Bytes = EncodeText(text, CodePage);
    out.Shown = DecodeText(out.Bytes, CodePage);
    if (out.Shown != text) reset = true;
    if (reset) {
        QSignalBlocker block(Edit);
        Edit->setText(out.Shown);
        Edit->setCursorPosition(std::min(cursor, int(out.Shown.size())));
    }
    return out;
}

}  // namespace yorde::qt
