// The program's own start as a whole process, against a bare Qt window
// (bench_startup_bare); bench/startup times both.
//
//   bench_startup_program --prepare FOLDER [COUNT]
//       makes FOLDER a program folder: the administrator in users.conf and
//       COUNT stored recordings (default none);
//   bench_startup_program FOLDER
//       builds the language data module, the main window and the debug log
//       as app/main.cpp does, over FOLDER, and ends at the first turn of the
//       event loop after the main window is shown.
#include "ProgramClasses.h"
#include "SimStore.h"
#include "StoredAdministrator.h"
#include "classes/Thread.h"
#include "qt/QtPlatform.h"
#include "rtl/Folders.h"
#include "store/Users.h"
#include "workstation/Mainunit.h"
#include "workstation/Unitdebug.h"
#include "workstation/Unitdmlang.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <string>

namespace {

int Prepare(const std::string& folder, int count) {
    devicesim::TStoreOptions options;
    options.Count = count;
    devicesim::WriteStoredRecordings(folder, options);
    yorde::test::StoreAdministrator("secret", folder);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 3 && std::strcmp(argv[1], "--prepare") == 0)
        return Prepare(std::string(argv[2]) + "/", argc > 3 ? std::atoi(argv[3]) : 0);
    if (argc != 2) {
        std::fprintf(stderr, "usage: bench_startup_program [--prepare] FOLDER [COUNT]\n");
        return 2;
    }
    yorde::qt::QtApplication app(argc, argv);
    SetProgramDirOverride(AnsiString(argv[1]) + "/");
    RegisterProgramClasses();
    int code = 0;
    try {
        Application->Initialize();
        Application->CreateForm(DMLang);
        Application->CreateForm(MainForm);
        Application->CreateForm(DebugForm);
        // Queued now, run by the loop once Run has shown the main window.
        TThread::Queue(nullptr, [&code] {
            if (!MainForm->Visible()) code = 1;
            Application->Terminate();
        });
        Application->Run();
    } catch (...) {
        Application->ShowException(std::current_exception());
        code = 1;
    }
    return code;
}
