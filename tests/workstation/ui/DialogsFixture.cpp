#include "DialogsFixture.h"

#include "LayoutResources.h"
#include "qt/QtCommonPeers.h"
#include "rtl/CodePages.h"
#include "vcl/CommonRegister.h"
#include "vcl/ExtCtrls.h"
#include "workstation/RegisterWorkstation.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace dialogstest {

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

void DialogTest::SetUpTestSuite() {
    static const bool once = [] {
        RegisterLocalizationClasses();
        RegisterCommonControlClasses();
        yorde::qt::RegisterCommonPeers();
        RegisterWorkstationClasses();
        RegisterLayoutResources();
        return true;
    }();
    (void)once;
}

void DialogTest::TearDown() { SetModalHook(nullptr); }

AnsiString InLanguage(int Language, const char* Utf8) {
    return Language == 3 ? Utf8ToCodePage(Utf8, 1251) : Utf8ToCodePage(Utf8, 1250);
}

TModalResult RunModal(TCustomForm* Form, std::function<void(TCustomForm*)> Script) {
    SetModalHook([Script](TCustomForm* f) -> TModalResult {
        TThread::Queue(nullptr, [Script, f] { Script(f); });
        return mrNone;
    });
    TModalResult result = Form->ShowModal();
    SetModalHook(nullptr);
    return result;
}

bool Shows(TImage* Image, const TCustomImageList* List, int Index) {
    TBitmap expected;
    if (!List->GetBitmap(Index, &expected)) return false;
    auto* shown = dynamic_cast<TBitmap*>(Image->Picture()->Graphic());
    if (!shown || shown->Width() != expected.Width() || shown->Height() != expected.Height()) return false;
    return std::memcmp(shown->PixelData(), expected.PixelData(),
                       sizeof(uint32_t) * size_t(expected.Width()) * size_t(expected.Height())) == 0;
}

std::string ShotPath(const std::string& Name) {
    std::filesystem::path dir;
    if (const char* d = std::getenv("YORDE_SHOT_DIR")) dir = d;
    else dir = std::filesystem::path(::testing::TempDir()) / "yorde-dialogs";
    std::filesystem::create_directories(dir);
    return (dir / Name).string();
}

}  // namespace dialogstest
