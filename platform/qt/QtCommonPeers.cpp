#include "qt/QtCommonPeers.h"

#include "vcl/ComCtrls.h"
#include "vcl/ComboBox.h"
#include "vcl/Memo.h"

#include <QString>

namespace yorde::qt {

void RegisterCommonPeers(QtPeerFactory* Factory) {
    if (!Factory) Factory = dynamic_cast<QtPeerFactory*>(PeerFactory());
    if (!Factory) return;
    Factory->Register(TCustomMemo::StaticClass(), MakeMemoPeer);
    Factory->Register(TCustomComboBox::StaticClass(), MakeComboBoxPeer);
    Factory->Register(TTrackBar::StaticClass(), MakeTrackBarPeer);
    Factory->Register(TProgressBar::StaticClass(), MakeProgressBarPeer);
    Factory->Register(TDateTimePicker::StaticClass(), MakeDateTimePickerPeer);
}

QString ToDocumentText(const QString& Text) {
    QString s = Text;
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    s.replace(QChar('\r'), QChar('\n'));
    return s;
}

QString FromDocumentText(const QString& Text) {
    QString s = Text;
    s.replace(QChar::ParagraphSeparator, QChar('\n'));
    s.replace(QChar::LineSeparator, QChar('\n'));
    s.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    return s;
}

}  // namespace yorde::qt
