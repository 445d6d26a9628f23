#pragma once
// The peer of grids: a scroll area whose viewport the component paints and
// whose bars and frame the component sizes (vcl/ScrollBars.h).
#include "qt/QtPeerFactory.h"

namespace yorde::qt {

// Gives TCustomGrid and its descendants their peer (in the installed
// factory when Factory is null).
void RegisterGridPeers(QtPeerFactory* Factory = nullptr);

}  // namespace yorde::qt
