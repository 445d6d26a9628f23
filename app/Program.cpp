#include "Program.h"

#include "ProgramClasses.h"
#include "qt/QtPlatform.h"
#include "rtl/Files.h"
#include "workstation/Mainunit.h"
#include "workstation/Unitdebug.h"
#include "workstation/Unitdmlang.h"

#include <exception>

int RunProgram(int argc, char** argv, const std::function<void()>& BeforeLoop) {
    yorde::qt::QtApplication app(argc, argv);
    RegisterProgramClasses();
    try {
        // From the current folder, as the program has always looked for it.
        // A damaged file leaves the built-in icon, like a missing one.
        if (FileExists("Yorde.ico")) {
            try {
                TIcon icon;
                icon.LoadFromFile("Yorde.ico");
                Application->SetIcon(&icon);
            } catch (const Exception&) {
            }
        }
        Application->Initialize();
        Application->SetTitle("Yorde - Veltor sp. z o.o. sp.k.");
        Application->CreateForm(DMLang);
        Application->CreateForm(MainForm);
        Application->CreateForm(DebugForm);
        if (BeforeLoop) BeforeLoop();
        Application->Run();
    } catch (...) {
        Application->ShowException(std::current_exception());
    }
    return 0;
}
