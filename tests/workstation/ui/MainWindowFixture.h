#pragma once
// Shared pieces of the start-up tests: a program folder and a TEMP folder
// of their own, the real language data module and main window built from
// the compiled layouts, a free port for the single-instance guard, and a
// recorder and responder for modal forms, Halt and the launcher.
#include "FormTestFixture.h"
#include "VclInput.h"

#include "ReferenceBase64.h"
#include "TempFolder.h"
#include "shell/Launcher.h"
#include "store/LocalDatabases.h"
#include "vcl/Forms.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

class TMainForm;
class TDMLang;

namespace mainwindowtest {

using yorde::test::InLanguage;
using yorde::test::Owned;
using yorde::test::ShowsBitmap;

// Thrown by the Halt hook instead of ending the process.
struct HaltCalled {
    int Code;
};

// A modal form as the test saw it: class, caption, the text of its message
// label and that label's font charset.
struct ModalSeen {
    std::string Class;
    AnsiString Caption;
    AnsiString Text;
    int Charset = -1;
};

using Responder = std::function<TModalResult(TCustomForm*)>;

// A port nobody listens on at the moment.
int FreePort();

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Writes "users.conf" with the administrator, so no first-run dialog comes.
    void StoreAdmin();
    // Creates DMLang from its layout (the markers in the folder choose the language).
    void CreateLanguageModule();
    // Application->CreateForm(MainForm): the constructor and OnCreate.
    void CreateMainWindow();
    // Runs CreateMainWindow and returns the Halt code, or -1 when it did not halt.
    int StartExitCode();
    // Serves the GUI thread's events until Ready holds (a minute at the most).
    template <class P>
    bool PumpUntil(P&& Ready) {
        for (int i = 0; i < 12000; ++i) {
            yorde::test::ProcessEvents();
            if (Ready()) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return Ready();
    }
    // Messages are answered OK, questions yes; these answer a class otherwise.
    void Respond(const std::string& ClassName, Responder R) { responders_[ClassName] = std::move(R); }

    yorde::test::TTempFolder program;
    yorde::test::TTempFolder temp;
    int port = 0;
    std::vector<ModalSeen> seen;
    std::vector<TLaunchRequest> launches;
    std::vector<std::exception_ptr> errors;

private:
    std::map<std::string, Responder> responders_;
    TLaunchHook previousLaunchHook_;
};

// The lines of a "config.cfg" (Base64 of CR LF lines).
std::vector<std::string> DecodeConfig(const std::string& Stored);
std::string EncodeConfig(const std::vector<std::string>& Lines);

// Where a screenshot goes: $YORDE_SHOT_DIR when set, else the test folder.
std::string ShotPath(const yorde::test::TTempFolder& Folder, const std::string& Name);

}  // namespace mainwindowtest
