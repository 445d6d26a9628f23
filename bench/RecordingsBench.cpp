// The recordings list in the real main window over program folders of
// 1 000, 10 000 and 100 000 stored recordings (made by the store generator):
// a refill with and without the address book (1 000 entries) against the
// sqlite3 program running the same statement on the same data.db; start-up
// to a shown window; the status bar's tick while 100 000 files are counted.
#include "StoredAdministrator.h"
#include "TempFolder.h"

#include "ProgramClasses.h"
#include "SimStore.h"
#include "qt/QtPlatform.h"
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

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <memory>
#include <stdexcept>
#include <thread>

namespace {

using yorde::test::TTempFolder;

// One program folder per size, made once per run.
const std::string& Store(int Count) {
    static std::map<int, std::unique_ptr<TTempFolder>> folders;
    auto& folder = folders[Count];
    if (!folder) {
        folder = std::make_unique<TTempFolder>("yorde-bench-rec");
        devicesim::TStoreOptions o;
        o.Count = Count;
        o.AddressBookEntries = 1000;
        devicesim::WriteStoredRecordings(folder->Root(), o);
        yorde::test::StoreAdministrator("secret", folder->Root());
    }
    return folder->Root();
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

void BM_RefreshRecordings(benchmark::State& state) {
    const int count = int(state.range(0));
    const bool book = state.range(1) != 0;
    Window w(Store(count), true);
    TMediaFrame* media = MainForm->MediaFrame1;
    if (book) MainForm->FiltrFrame1->ABookCheckBox->SetChecked(true);
    for (auto _ : state) media->RefreshRecordings();
    if (media->musicTable->RowCount() != count + 1) state.SkipWithError("wrong row count");
    state.SetItemsProcessed(state.iterations() * count);
    struct rusage u {};
    getrusage(RUSAGE_SELF, &u);
    state.counters["peak_rss_MB"] = double(u.ru_maxrss) / 1024.0;
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

void BM_StartUp(benchmark::State& state) {
    const int count = int(state.range(0));
    const std::string folder = Store(count);
    for (auto _ : state) Window w(folder, false);
}

void BM_StartUpAndLogin(benchmark::State& state) {
    const std::string folder = Store(int(state.range(0)));
    for (auto _ : state) Window w(folder, true);
}

// The longest Timer1Timer while the background count of 100 000 files runs.
void BM_StatusTickWhileCounting(benchmark::State& state) {
    Window w(Store(100000), true);
    TStatusFrame* status = MainForm->StatusFrameBottom;
    double longest = 0;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        status->Timer1Timer(status->Timer1);
        longest =
            std::max(longest, std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - t0).count());
    }
    // How long one count takes on its own thread.
    const auto t0 = std::chrono::steady_clock::now();
    status->Timer1Timer(status->Timer1);
    while (status->RecordingCount() != 100000) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    state.counters["longest_tick_us"] = longest;
    state.counters["count_ms"] =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
}

}  // namespace

BENCHMARK(BM_RefreshRecordings)->ArgsProduct({{1000, 10000, 100000}, {0, 1}})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Sqlite3Program)->ArgsProduct({{1000, 10000, 100000}, {0, 1}})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StartUp)->Arg(0)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StartUpAndLogin)->Arg(0)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StatusTickWhileCounting)->Iterations(2000)->Unit(benchmark::kMicrosecond);

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
