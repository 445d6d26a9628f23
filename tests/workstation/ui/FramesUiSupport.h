#pragma once
// Shared pieces of the recordings-frame and filter-tab tests: the form-test
// helpers with the program's classes and the grids registered.
#include "FormTestFixture.h"
#include "VclInput.h"

#include "media/Volume.h"

class TStatusFrame;

namespace framestest {

using namespace yorde::test;

// The program's classes, the grid classes and their Qt peers.
void RegisterFramesClasses();

using FramesUiTest = FormTest<RegisterFramesClasses>;

// Puts the process's wave-out volume back as it was.
struct WaveVolumeScope {
    uint32_t saved = GetWaveVolume();
    ~WaveVolumeScope() { SetWaveVolume(saved); }
};

// Ticks the status bar until its background count of recordings is Count
// and shown (within a generous bound); true when it got there.
bool TickUntilRecordingCount(TStatusFrame* Status, int Count);

}  // namespace framestest
