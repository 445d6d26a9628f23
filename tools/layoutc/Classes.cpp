// The classes that the program's layouts may name. Add the registration
// function of each library whose forms, frames or controls appear in a
// layout, and the library to LAYOUTC_CLASS_LIBRARIES in CMakeLists.txt.
#include "Config.h"

#include "localization/Lxcomp.h"

TLayoutcConfig ProgramLayoutConfig() {
    TLayoutcConfig c;
    c.RegisterClasses = [] {
        RegisterLocalizationClasses();
    };
    c.DefinedProperties = StandardDefinedProperties();
    return c;
}
