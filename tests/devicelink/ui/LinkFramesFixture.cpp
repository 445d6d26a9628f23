#include "LinkFramesFixture.h"

#include "LayoutResources.h"
#include "devicelink/RegisterDeviceLink.h"
#include "qt/QtCommonPeers.h"
#include "qt/QtPlatform.h"
#include "rtl/CodePages.h"
#include "vcl/CommonRegister.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace linktest {

ProgramLanguageScope::ProgramLanguageScope(int Language) {
    module_ = new TDataModule(nullptr);
    module_->SetName("DMLang");
    auto* dispatcher = new TlxLangDispatcher(module_);
    dispatcher->SetName("lxLangDispatcher1");
    dispatcher->SetNumOfLanguages(3);
    dispatcher->LangNames()->SetText("Polski\nAngielski\nRosyjski");
    dispatcher->SetActiveLanguage(Language);
}

ProgramLanguageScope::~ProgramLanguageScope() { TObject::Free(module_); }

void LinkFramesTest::SetUpTestSuite() {
    static const bool once = [] {
        RegisterLocalizationClasses();
        RegisterCommonControlClasses();
        yorde::qt::RegisterCommonPeers();
        RegisterDeviceLinkClasses();
        RegisterLayoutResources();
        return true;
    }();
    (void)once;
}

AnsiString InLanguage(int Language, const char* Utf8) {
    return Utf8ToCodePage(Utf8, Language == 3 ? 1251 : 1250);
}

bool Shows(TImage* Image, const TCustomImageList* List, int Index) {
    TBitmap expected;
    if (!List->GetBitmap(Index, &expected)) return false;
    auto* shown = dynamic_cast<TBitmap*>(Image->Picture()->Graphic());
    if (!shown || shown->Width() != expected.Width() || shown->Height() != expected.Height()) return false;
    return std::memcmp(shown->PixelData(), expected.PixelData(),
                       sizeof(uint32_t) * size_t(expected.Width()) * size_t(expected.Height())) == 0;
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
    std::filesystem::path dir;
    if (const char* d = std::getenv("YORDE_SHOT_DIR")) dir = d;
    else dir = std::filesystem::path(::testing::TempDir()) / "yorde-link-frames";
    std::filesystem::create_directories(dir);
    const std::string path = (dir / (Name + "_" + languages[Language - 1] + ".png")).string();
    EXPECT_TRUE(yorde::qt::SaveScreenshot(Control, path)) << path;
}

}  // namespace linktest
