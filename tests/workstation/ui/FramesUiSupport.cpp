#include "FramesUiSupport.h"

#include "qt/QtGridPeer.h"
#include "vcl/Grids.h"
#include "workstation/RegisterWorkstation.h"
#include "workstation/Unitstatus.h"

#include <chrono>
#include <thread>

namespace framestest {

void RegisterFramesClasses() {
    RegisterWorkstationClasses();
    RegisterGridClasses();
    yorde::qt::RegisterGridPeers();
}

bool TickUntilRecordingCount(TStatusFrame* Status, int Count) {
    for (int tick = 0; tick < 3000 && Status->RecordingCount() != Count; ++tick) {
        Status->Timer1Timer(Status->Timer1);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return Status->RecordingCount() == Count;
}

}  // namespace framestest
