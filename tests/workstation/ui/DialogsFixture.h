#pragma once
// Shared pieces of the dialog tests: the form-test helpers with the
// workstation's classes registered, and modal runs driven by real input.
#include "FormTestFixture.h"
#include "VclInput.h"

#include "workstation/RegisterWorkstation.h"

#include <functional>

namespace dialogstest {

using namespace yorde::test;

using DialogTest = FormTest<RegisterWorkstationClasses>;

// Shows Form modally; Script runs from inside its modal loop (real input
// may be sent from it). Returns the modal result.
TModalResult RunModal(TCustomForm* Form, std::function<void(TCustomForm*)> Script);

}  // namespace dialogstest
