#include "FramesUiSupport.h"

#include "qt/QtGridPeer.h"
#include "qt/QtPlatform.h"
#include "vcl/Grids.h"

namespace framestest {

void FramesUiTest::SetUpTestSuite() {
    DialogTest::SetUpTestSuite();
    static const bool once = [] {
        RegisterGridClasses();
        yorde::qt::RegisterGridPeers();
        return true;
    }();
    (void)once;
}

void ExpectComponents(TComponent* Root, const std::vector<std::pair<const char*, const char*>>& NamesAndClasses) {
    for (const auto& [name, cls] : NamesAndClasses) {
        TComponent* c = Root->FindComponent(name);
        if (!c) {
            ADD_FAILURE() << name << " missing";
            continue;
        }
        EXPECT_EQ(c->ClassName(), AnsiString(cls)) << name;
    }
}

void Shoot(TControl* Control, const std::string& Name, int Language) {
    static const char* const languages[] = {"pl", "en", "ru"};
    const std::string path = dialogstest::ShotPath(Name + "_" + languages[Language - 1] + ".png");
    EXPECT_TRUE(yorde::qt::SaveScreenshot(Control, path)) << path;
}

}  // namespace framestest
