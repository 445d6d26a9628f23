#include "FramesUiSupport.h"

#include "qt/QtGridPeer.h"
#include "vcl/Grids.h"
#include "workstation/RegisterWorkstation.h"

namespace framestest {

void RegisterFramesClasses() {
    RegisterWorkstationClasses();
    RegisterGridClasses();
    yorde::qt::RegisterGridPeers();
}

}  // namespace framestest
