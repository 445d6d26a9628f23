#include "FormTestFixture.h"

#include "LayoutResources.h"
#include "qt/QtCommonPeers.h"
#include "qt/QtPlatform.h"
#include "rtl/CodePages.h"
#include "vcl/CommonRegister.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

namespace yorde::test {

void RegisterFormTestClasses(void (*Library)()) {
    RegisterLocalizationClasses();
    RegisterCommonControlClasses();
    yorde::qt::RegisterCommonPeers();
    if (Library) Library();
    RegisterLayoutResources();
}

ProgramLanguageScope::ProgramLanguageScope(int Language) {
    module_ = new TDataModule(nullptr);
    module_->SetName("DMLang");
    dispatcher_ = new TlxLangDispatcher(module_);
    dispatcher_->SetName("lxLangDispatcher1");
    dispatcher_->SetNumOfLanguages(3);
    dispatcher_->LangNames()->SetText("Polski\nAngielski\nRosyjski");
    dispatcher_->SetActiveLanguage(Language);
}

ProgramLanguageScope::~ProgramLanguageScope() { TObject::Free(module_); }

AnsiString InLanguage(int Language, const char* Utf8) { return Utf8ToCodePage(Utf8, Language == 3 ? 1251 : 1250); }

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
    const std::string path = ShotPath(Name + "_" + languages[Language - 1] + ".png");
    EXPECT_TRUE(yorde::qt::SaveScreenshot(Control, path)) << path;
}

}  // namespace yorde::test
