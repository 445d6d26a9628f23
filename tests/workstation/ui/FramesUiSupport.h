#pragma once
// Shared pieces of the recordings-frame and filter-tab tests: the form-test
// helpers with the program's classes and the grids registered.
#include "FormTestFixture.h"
#include "VclInput.h"

namespace framestest {

using namespace yorde::test;

// The program's classes, the grid classes and their Qt peers.
void RegisterFramesClasses();

using FramesUiTest = FormTest<RegisterFramesClasses>;

}  // namespace framestest
