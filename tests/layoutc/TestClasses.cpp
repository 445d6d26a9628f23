#include "TestClasses.h"

#include "localization/Lxcomp.h"

namespace layoutc_test {

TLayoutcConfig TestLayoutConfig() {
    TLayoutcConfig c;
    c.RegisterClasses = [] {
        RegisterLocalizationClasses();
        RegisterTestComponents();
    };
    c.DefinedProperties = StandardDefinedProperties();
    c.DefinedProperties.push_back({"TTestPicture", "Data"});
    c.DefinedProperties.push_back({"TTestImageList", "Bitmap"});
    return c;
}

}  // namespace layoutc_test
