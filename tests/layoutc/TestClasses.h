#pragma once
// The layout compiler's configuration for the test component classes that
// the layout-compiler tests name in their layouts.
#include "Config.h"
#include "TestComponents.h"

namespace layoutc_test {

using namespace yorde::test;

// The test components, the translation components and the standard defined
// properties plus those of the test classes.
TLayoutcConfig TestLayoutConfig();

}  // namespace layoutc_test
