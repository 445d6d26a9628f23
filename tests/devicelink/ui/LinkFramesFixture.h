#pragma once
// Shared pieces of the connection-tab and status-bar tests: the form-test
// helpers with the device link's classes registered.
#include "FormTestFixture.h"
#include "VclInput.h"

#include "devicelink/RegisterDeviceLink.h"

namespace linktest {

using namespace yorde::test;

using LinkFramesTest = FormTest<RegisterDeviceLinkClasses>;

}  // namespace linktest
