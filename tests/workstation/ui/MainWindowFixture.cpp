#include "MainWindowFixture.h"

#include "FreePort.h"
#include "StoredAdministrator.h"

#include "qt/QtGridPeer.h"
#include "rtl/Folders.h"
#include "store/Base64File.h"
#include "store/Users.h"
#include "vcl/Grids.h"
#include "workstation/Mainunit.h"
#include "workstation/RegisterWorkstation.h"
#include "workstation/Unitdebug.h"
#include "workstation/Unitdmlang.h"
#include "workstation/Unitmessage.h"
#include "workstation/Unitquestion.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

void RegisterVclClasses();

namespace mainwindowtest {

namespace {

ModalSeen Describe(TCustomForm* f) {
    ModalSeen s{f->ClassName(), f->Caption(), AnsiString(), -1};
    TControl* label = nullptr;
    if (auto* d = dynamic_cast<TMessageDialog*>(f)) label = d->MessageLabel;
    if (auto* d = dynamic_cast<TQuestionDialog*>(f)) label = d->MessageLabel;
    if (label) {
        s.Text = label->Caption();
        s.Charset = label->Font()->Charset();
    }
    return s;
}

}  // namespace

int FreePort() { return yorde::test::FreeLoopbackPort(); }

void MainWindowTest::SetUp() {
    static bool registered = [] {
        yorde::test::RegisterFormTestClasses([] {
            RegisterVclClasses();
            RegisterGridClasses();
            RegisterWorkstationClasses();
            yorde::qt::RegisterGridPeers();
        });
        return true;
    }();
    (void)registered;

    SetProgramDirOverride(program.Root());
    SetTempDirOverride(temp.Root());
    std::memset(UserTable, 0, sizeof UserTable);
    port = FreePort();
    SetSingleInstancePortOverride(port);
    SetHaltHook([this](int code) {
        // Says why in the output of a test that did not expect the end.
        std::fprintf(stderr, "Halt(%d)%s%s\n", code,
                     seen.empty() ? "" : " after: ", seen.empty() ? "" : seen.back().Text.c_str());
        throw HaltCalled{code};
    });
    Application->OnException = [this](TObject*, std::exception_ptr e) { errors.push_back(e); };
    previousLaunchHook_ = SetLaunchHook([this](const TLaunchRequest& r) {
        launches.push_back(r);
        return true;
    });
    SetModalHook([this](TCustomForm* f) -> TModalResult {
        seen.push_back(Describe(f));
        if (auto it = responders_.find(f->ClassName()); it != responders_.end()) return it->second(f);
        if (dynamic_cast<TMessageDialog*>(f) || dynamic_cast<TQuestionDialog*>(f)) return mrOk;
        ADD_FAILURE() << "no answer for " << f->ClassName();
        return mrCancel;
    });
}

void MainWindowTest::TearDown() {
    TObject::Free(DebugForm);
    DebugForm = nullptr;
    TObject::Free(MainForm);
    MainForm = nullptr;
    TObject::Free(DMLang);
    DMLang = nullptr;
    Application->ClearTerminated();
    SetModalHook(nullptr);
    SetLaunchHook(previousLaunchHook_);
    Application->OnException = nullptr;
    SetHaltHook(nullptr);
    SetUserStoreUi(nullptr);
    SetSingleInstancePortOverride(0);
    SetLocalDatabaseStepsOverride({});
    SetProgramDirOverride(AnsiString());
    SetTempDirOverride(AnsiString());
    for (const std::exception_ptr& e : errors) ADD_FAILURE() << "shown error: " << ExceptionText(e);
}

void MainWindowTest::StoreAdmin() { yorde::test::StoreAdministrator("secret"); }

void MainWindowTest::CreateLanguageModule() { Application->CreateForm(DMLang); }

void MainWindowTest::CreateMainWindow() {
    if (!DMLang) CreateLanguageModule();
    Application->CreateForm(MainForm);
}

int MainWindowTest::StartExitCode() {
    try {
        CreateMainWindow();
    } catch (const HaltCalled& h) {
        return h.Code;
    }
    return -1;
}

std::vector<std::string> DecodeConfig(const std::string& Stored) {
    const std::string plain = Base64Decode(Stored);
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < plain.size()) {
        size_t end = plain.find("\r\n", start);
        if (end == std::string::npos) end = plain.size();
        lines.push_back(plain.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

std::string EncodeConfig(const std::vector<std::string>& Lines) {
    std::string plain;
    for (const std::string& l : Lines) plain += l + "\r\n";
    return ReferenceStoredBase64(plain);
}

std::string ShotPath(const yorde::test::TTempFolder& Folder, const std::string& Name) {
    if (const char* dir = std::getenv("YORDE_SHOT_DIR")) {
        std::filesystem::create_directories(dir);
        return (std::filesystem::path(dir) / Name).string();
    }
    return Folder.Path(Name);
}

}  // namespace mainwindowtest
