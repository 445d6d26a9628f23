// The program as it ships (the same start, window and event loop), driven
// from inside like a user at the window: it picks a user in the users tab
// and types the password into the real password dialog, which connects;
// once a sync run has ended it may open the first recording and close the
// window through the exit question. The tests run it as a process of its
// own, to kill it or to look at what it leaves behind.
//
//   yorde_driven --program DIR --user NAME --password PW --log FILE
//                [--port N] [--base URL] [--play] [--exit-after-sync]
//
// --log receives every debug-log line as it comes (a killed process loses
// none it has shown), then "driver: ..." lines for what the driver did.
#include "Program.h"

#include "devicelink/SyncRun.h"
#include "rtl/Folders.h"
#include "vcl/ExtCtrls.h"
#include "vcl/Forms.h"
#include "vcl/Grids.h"
#include "workstation/Mainunit.h"
#include "workstation/Unitconnect.h"
#include "workstation/Unitdebug.h"
#include "workstation/Unitmediaframe.h"
#include "workstation/Unitmessage.h"
#include "workstation/Unitpaswd.h"
#include "workstation/Unitquestion.h"
#include "workstation/Unitusers.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct TOptions {
    std::string Program, User, Password, Log, Base;
    int Port = 0;
    bool Play = false;
    bool ExitAfterSync = false;
};

[[noreturn]] void Usage(const std::string& Problem) {
    std::fprintf(stderr, "yorde_driven: %s\n", Problem.c_str());
    std::exit(64);
}

TOptions ParseOptions(int argc, char** argv) {
    TOptions o;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc) Usage(arg + " needs a value");
            return argv[++i];
        };
        if (arg == "--program")
            o.Program = value();
        else if (arg == "--user")
            o.User = value();
        else if (arg == "--password")
            o.Password = value();
        else if (arg == "--log")
            o.Log = value();
        else if (arg == "--base")
            o.Base = value();
        else if (arg == "--port")
            o.Port = std::atoi(value().c_str());
        else if (arg == "--play")
            o.Play = true;
        else if (arg == "--exit-after-sync")
            o.ExitAfterSync = true;
        else
            Usage("unknown option " + arg);
    }
    if (o.Program.empty() || o.User.empty() || o.Log.empty()) Usage("--program, --user and --log are needed");
    return o;
}

class TDriver {
public:
    explicit TDriver(TOptions Options) : o(std::move(Options)) {
        fd = ::open(o.Log.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
        if (fd < 0) Usage("cannot write " + o.Log);
    }
    ~TDriver() {
        if (fd >= 0) ::close(fd);
    }
    TDriver(const TDriver&) = delete;
    TDriver& operator=(const TDriver&) = delete;

    // On the GUI thread, once the window stands and before the event loop.
    void Install() {
        SetModalHook([this](TCustomForm* f) { return answer(f); });
        // The application frees it with the forms.
        timer = new TTimer(Application);
        timer->SetInterval(20);
        timer->OnTimer = [this](TObject*) { tick(); };
        timer->SetEnabled(true);
    }

private:
    enum class TStep { Login, WaitSync, Done };

    void write(const std::string& Line) {
        const std::string out = Line + "\n";
        if (::write(fd, out.data(), out.size()) < 0) std::perror("yorde_driven");
    }

    // The debug log's new lines, as they stand in its memo.
    void flushLog() {
        if (!DebugForm || !DebugForm->Memo1) return;
        TStrings* lines = DebugForm->Memo1->Lines();
        const int count = lines->Count();
        if (count < shown) shown = 0;  // the log was cleared past its limit
        for (; shown < count; ++shown) {
            const std::string line = lines->Strings(shown);
            if (line == "1226: finally") ++runsEnded;
            write(line);
        }
    }

    TModalResult answer(TCustomForm* f) {
        if (auto* d = dynamic_cast<TuserpaswdDialog*>(f)) {
            d->paswdLineEdit->SetText(o.Password);
            d->ImageOK->OnClick(d->ImageOK);
            return d->ModalResult();
        }
        if (auto* d = dynamic_cast<TMessageDialog*>(f)) {
            write("driver: message " + std::string(d->MessageLabel->Caption()));
            return mrOk;
        }
        if (dynamic_cast<TQuestionDialog*>(f)) return mrOk;
        write("driver: unexpected form " + std::string(f->ClassName()));
        return mrCancel;
    }

    void tick() {
        flushLog();
        if (!MainForm) return;
        switch (step) {
        case TStep::Login: {
            TUsersFrame* users = MainForm->UsersFrame1;
            TComboBox* combo = users->usersComboBox;
            const int index = combo->Items()->IndexOf(o.User);
            if (index < 0) {
                write("driver: no user " + o.User);
                step = TStep::Done;
                return;
            }
            step = TStep::WaitSync;
            write("driver: login");
            combo->SetItemIndex(index);
            users->usersComboBoxChange(combo);
            return;
        }
        case TStep::WaitSync:
            // Once the run's thread has ended, all it had to show is queued:
            // that goes first, then the list's reload with what it brought.
            if (runsEnded == 0 || MainForm->ConnectFrame1->RunUnderWay()) return;
            CheckSynchronize();
            if (MainForm->MediaFrame1->ReloadUnderWay()) return;
            step = TStep::Done;
            write("driver: sync ended");
            if (o.Play) play();
            if (o.ExitAfterSync) {
                write("driver: exit");
                MainForm->Close();
            }
            return;
        case TStep::Done: return;
        }
    }

    void play() {
        TMediaFrame* media = MainForm->MediaFrame1;
        if (media->musicTable->RowCount() < 2) {
            write("driver: nothing to play");
            return;
        }
        media->musicTable->SetRow(1);
        media->musicTableClick(media->musicTable);
        // Where the deciphered copy is, and who may read it and its folder.
        const std::string folder = TempDir(), copy = folder + "tmp.wav";
        struct stat file {
        }, dir{};
        if (::stat(copy.c_str(), &file) != 0 || ::stat(folder.c_str(), &dir) != 0) {
            write("driver: no playing copy in " + folder);
            return;
        }
        char modes[32];
        std::snprintf(modes, sizeof modes, " %03o %03o", unsigned(file.st_mode & 0777), unsigned(dir.st_mode & 0777));
        write("driver: opened " + copy + modes);
    }

    TOptions o;
    int fd = -1;
    TTimer* timer = nullptr;
    TStep step = TStep::Login;
    int shown = 0;
    int runsEnded = 0;
};

}  // namespace

int main(int argc, char** argv) {
    const TOptions options = ParseOptions(argc, argv);
    SetProgramDirOverride(options.Program);
    if (options.Port > 0) SetSingleInstancePortOverride(options.Port);
    if (!options.Base.empty()) SetSyncBaseOverride(options.Base);
    TDriver driver(options);
    // The program takes no arguments of its own.
    char* programArgs[] = {argv[0], nullptr};
    int programArgc = 1;
    const int code = RunProgram(programArgc, programArgs, [&] { driver.Install(); });
    return code;
}
