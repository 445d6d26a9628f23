#pragma once
// Popup menus, the tray icon and the file dialogs on Qt. The peer factory
// hands these out (CreateMenuPeer, CreateTrayPeer, Dialogs().FileDialog).
#include "vcl/Peers.h"

#include <memory>

namespace yorde::qt {

// Null when Menu is not a TMenu.
std::unique_ptr<IMenuPeer> MakeMenuPeer(TComponent* Menu);
// Null when Tray is not a TTrayIcon. The peer reports Available() false
// while the desktop has no tray.
std::unique_ptr<ITrayPeer> MakeTrayPeer(TComponent* Tray);
// Runs a Qt file dialog modally; true when the user chose.
bool RunFileDialog(TFileDialogData& Data);

}  // namespace yorde::qt
