#pragma once
// Peers of the memo and combo boxes, track and progress bars and date-time
// pickers.
#include "qt/QtPeerFactory.h"

namespace yorde::qt {

// Adds their peers to Factory (the installed one when null).
void RegisterCommonPeers(QtPeerFactory* Factory = nullptr);

// The creators, one per file.
std::unique_ptr<IControlPeer> MakeMemoPeer(TControl* Control, QWidget* Parent);
std::unique_ptr<IControlPeer> MakeComboBoxPeer(TControl* Control, QWidget* Parent);
std::unique_ptr<IControlPeer> MakeTrackBarPeer(TControl* Control, QWidget* Parent);
std::unique_ptr<IControlPeer> MakeProgressBarPeer(TControl* Control, QWidget* Parent);
std::unique_ptr<IControlPeer> MakeDateTimePickerPeer(TControl* Control, QWidget* Parent);

// Memo text: line breaks of any kind become '\n' (and back: CR LF).
QString ToDocumentText(const QString& Text);
QString FromDocumentText(const QString& Text);

}  // namespace yorde::qt
