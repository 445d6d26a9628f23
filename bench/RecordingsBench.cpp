// The recordings list in the real main window over program folders of
// 1 000 to 1 000 000 stored recordings (made by the store generator): a
// refill with and without the address book (1 000 entries) against the
// sqlite3 program running the same statement on the same data.db, with the
// process's memory; start-up to a shown window; the idle program's CPU time;
// the status bar's count against find over the same folder.
#include "DeviceLinkBenchSupport.h"
#include "Heartbeat.h"
#include "StoredAdministrator.h"
#include "TempFolder.h"

#include "ProgramClasses.h"
#include "SimStore.h"
#include "qt/QtPlatform.h"
#include "rtl/FolderCount.h"
#include "rtl/Folders.h"
#include "store/RecordingsQuery.h"
#include "store/Users.h"
#include "vcl/ComboBox.h"
#include "workstation/Mainunit.h"
#include "workstation/Unitdmlang.h"
#include "workstation/Unitfiltr.h"
#include "workstation/Unitmediaframe.h"
#include "workstation/Unitstatus.h"
#include "workstation/Unitusers.h"

#include <QEventLoop>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <stdexcept>
#include <thread>

namespace {

using yorde::test::TTempFolder;

// One program folder per size, made once per run; with YORDE_BENCH_KEEP
// set to a folder, made there once and kept for the runs after.
const std::string& Store(int Count) {
    static std::map<int, std::unique_ptr<TTempFolder>> folders;
    static std::map<int, std::string> roots;
    std::string& root = roots[Count];
    if (!root.empty()) return root;
    const char* keep = std::getenv("YORDE_BENCH_KEEP");
    if (keep && *keep) {
        root = std::string(keep) + "/store-" + std::to_string(Count) + "/";
        if (std::filesystem::exists(root + "users.conf")) return root;
        std::filesystem::remove_all(root);
        std::filesystem::create_directories(root);
    } else {
        auto& folder = folders[Count];
        folder = std::make_unique<TTempFolder>("yorde-bench-rec");
        root = folder->Root();
    }
    devicesim::TStoreOptions o;
    o.Count = Count;
    o.AddressBookEntries = 1000;
    devicesim::WriteStoredRecordings(root, o);
    yorde::test::StoreAdministrator("secret", root);
    return root;
}

// The program's main window over a folder, logged in as the administrator.
class Window {
public:
    Window(const std::string& Folder, bool LogIn) {
        SetProgramDirOverride(Folder);
        temp_ = std::make_unique<TTempFolder>("yorde-bench-temp");
        SetTempDirOverride(temp_->Root());
        SetModalHook([](TCustomForm*) { return TModalResult(1); });
        Application->CreateForm(DMLang);
        Application->CreateForm(MainForm);
        MainForm->Show();
        Application->ProcessMessages();
        if (LogIn) {
            TUsersFrame* users = MainForm->UsersFrame1;
            users->usersComboBox->SetItemIndex(users->usersComboBox->Items()->IndexOf("admin"));
            users->usersComboBoxChange(users->usersComboBox);
        }
    }
    ~Window() {
        TObject::Free(MainForm);
        MainForm = nullptr;
        TObject::Free(DMLang);
        DMLang = nullptr;
        SetModalHook(nullptr);
        SetProgramDirOverride(AnsiString());
        SetTempDirOverride(AnsiString());
    }
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

private:
    std::unique_ptr<TTempFolder> temp_;
};

// The statement the list runs for the administrator, written out for sqlite3.
std::string ListSql(bool AddressBook) {
    TRecordingsFilter f;
    f.UserName = "admin";
    f.ViewKind = rkAll;
    f.AddressBook = AddressBook;
    f.SortClause = AddressBook ? "" : "ORDER BY 4";
    return RenderSql(BuildRecordingsQuery(f));
}

// Resident memory of this process now, in MiB.
double RssMiB() {
    long pages = 0, resident = 0;
    std::ifstream("/proc/self/statm") >> pages >> resident;
    return double(resident) * double(::sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

// The process's high-water mark counts from the window's creation on: the
// fixture made before it is not the program's.
void BM_RefreshRecordings(benchmark::State& state) {
    const int count = int(state.range(0));
    const bool book = state.range(1) != 0;
    const std::string& folder = Store(count);
    linkbench::ResetPeakRss();
    Window w(folder, true);
    TMediaFrame* media = MainForm->MediaFrame1;
    if (book) MainForm->FiltrFrame1->ABookCheckBox->SetChecked(true);
    for (auto _ : state) media->RefreshRecordings();
    if (media->musicTable->RowCount() != count + 1) state.SkipWithError("wrong row count");
    state.SetItemsProcessed(state.iterations() * count);
    state.counters["peak_MB"] = linkbench::PeakRssMiB();
    state.counters["rss_after_MB"] = RssMiB();
}

void BM_Sqlite3Program(benchmark::State& state) {
    const int count = int(state.range(0));
    const std::string folder = Store(count);
    const std::string sqlFile = folder + "list.sql";
    std::ofstream(sqlFile) << ListSql(state.range(1) != 0) << ";\n";
    const std::string command = "sqlite3 " + folder + "data.db < " + sqlFile + " > /dev/null";
    for (auto _ : state)
        if (std::system(command.c_str()) != 0) state.SkipWithError("sqlite3 failed");
    state.SetItemsProcessed(state.iterations() * count);
}

// Runs the program's event loop for Seconds.
void RunLoopFor(double Seconds) {
    QEventLoop loop;
    QTimer::singleShot(int(Seconds * 1000), &loop, &QEventLoop::quit);
    loop.exec();
}

double IdleSeconds() {
    const char* s = std::getenv("YORDE_IDLE_SECONDS");
    return s ? std::max(1.0, std::atof(s)) : 60.0;
}

// The program left alone from the moment its window shows: the share of one
// core it takes, all threads, over a minute (YORDE_IDLE_SECONDS).
void BM_Idle(benchmark::State& state) {
    const std::string& folder = Store(int(state.range(0)));
    const bool logIn = state.range(1) != 0;
    const double seconds = IdleSeconds();
    double share = 0;
    for (auto _ : state) {
        Window w(folder, logIn);
        const double cpu0 = linkbench::ProcessCpuMs();
        const auto t0 = std::chrono::steady_clock::now();
        RunLoopFor(seconds);
        const double wall = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
        share = 100.0 * (linkbench::ProcessCpuMs() - cpu0) / wall;
    }
    state.counters["cpu_percent"] = share;
}

void BM_StartUp(benchmark::State& state) {
    const int count = int(state.range(0));
    const std::string folder = Store(count);
    for (auto _ : state) Window w(folder, false);
}

void BM_StartUpAndLogin(benchmark::State& state) {
    const std::string folder = Store(int(state.range(0)));
    for (auto _ : state) Window w(folder, true);
}

// The status bar's tick, logged in, over 100 000 files: the longest of 2 000.
void BM_StatusTick(benchmark::State& state) {
    Window w(Store(100000), true);
    TStatusFrame* status = MainForm->StatusFrameBottom;
    double longest = 0;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        status->Timer1Timer(status->Timer1);
        longest =
            std::max(longest, std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - t0).count());
    }
    state.counters["longest_tick_us"] = longest;
}

// One count of the recordings of a folder that has changed (the status
// bar's, read from the names alone) against find over the same folder.
void BM_CountRecordings(benchmark::State& state) {
    const int count = int(state.range(0));
    const AnsiString pattern = Store(count) + "files/*.wav";
    for (auto _ : state)
        if (TFolderMatchCount(pattern).Count() != count) state.SkipWithError("wrong count");
    state.SetItemsProcessed(state.iterations() * count);
}

void BM_FindCount(benchmark::State& state) {
    const std::string command =
        "find " + Store(int(state.range(0))) + "files -mindepth 1 -maxdepth 1 -iname '*.wav' | wc -l > /dev/null";
    for (auto _ : state)
        if (std::system(command.c_str()) != 0) state.SkipWithError("find failed");
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// A reload as a sync asks for it: the rows read on their own thread while
// a 10 ms heartbeat on the GUI thread records how late it fires; the time
// is from the request to the rows shown.
void BM_ReloadInBackground(benchmark::State& state) {
    const int count = int(state.range(0));
    const std::string& folder = Store(count);
    linkbench::ResetPeakRss();
    Window w(folder, true);
    TMediaFrame* media = MainForm->MediaFrame1;
    if (state.range(1) != 0) MainForm->FiltrFrame1->ABookCheckBox->SetChecked(true);
    media->musicTable->SetRow(count / 2);
    double worst = 0;
    for (auto _ : state) {
        bench::THeartbeat heartbeat;
        media->RefreshRecordingsInBackground();
        while (media->ReloadUnderWay()) Application->HandleMessage();
        worst = std::max(worst, heartbeat.LongestStallMs());
    }
    if (media->musicTable->RowCount() != count + 1 || media->musicTable->Row() != count / 2)
        state.SkipWithError("wrong rows or selection");
    state.counters["longest_stall_ms"] = worst;
    // The rows no longer shown are freed on the reading thread, soon after.
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    state.counters["peak_MB"] = linkbench::PeakRssMiB();
    state.counters["rss_after_MB"] = RssMiB();
}

}  // namespace

BENCHMARK(BM_RefreshRecordings)->ArgsProduct({{1000, 10000, 100000, 1000000}, {0, 1}})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Sqlite3Program)->ArgsProduct({{1000, 10000, 100000, 1000000}, {0, 1}})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Idle)->ArgsProduct({{100000, 1000000}, {0, 1}})->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK(BM_StartUp)->Arg(0)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StartUpAndLogin)->Arg(0)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StatusTick)->Iterations(2000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CountRecordings)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindCount)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReloadInBackground)
    ->ArgsProduct({{100000, 1000000}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    yorde::qt::QtApplication app(argc, argv);
    RegisterProgramClasses();
    SetSingleInstancePortOverride(50577);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
