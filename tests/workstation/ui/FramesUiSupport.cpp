#include "FramesUiSupport.h"

#include "classes/Thread.h"
#include "qt/QtGridPeer.h"
#include "vcl/Grids.h"
#include "workstation/RegisterWorkstation.h"
#include "workstation/Unitstatus.h"

namespace framestest {

void RegisterFramesClasses() {
    RegisterWorkstationClasses();
    RegisterGridClasses();
    yorde::qt::RegisterGridPeers();
}

bool TickUntilRecordingCount(TStatusFrame* Status, int Count) {
    // Each count comes to the GUI thread as it is done.
    for (int tick = 0; tick < 300 && Status->RecordingCount() != Count; ++tick) {
        Status->Timer1Timer(Status->Timer1);
        CheckSynchronize(100);
    }
    CheckSynchronize();
    return Status->RecordingCount() == Count;
}

}  // namespace framestest
