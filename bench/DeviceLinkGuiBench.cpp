// The GUI thread during a sync: the real main window on the offscreen
// platform connects to the simulated exchange (a process of its own) and
// fetches 2 000 recordings into an empty store, or 500 into a store of
// 100 000 or 1 000 000 with the administrator logged in (the list filled
// again as they come), while a 10 ms heartbeat timer records how late it
// fires. The longest lateness is the longest the window did not answer.
#include "DeviceLinkBenchSupport.h"
#include "FreePort.h"
#include "Heartbeat.h"
#include "ProgramClasses.h"
#include "SimRecordings.h"
#include "SimStore.h"
#include "StoredAdministrator.h"

#include "devicelink/SyncRun.h"
#include "net/HttpClient.h"
#include "qt/QtPlatform.h"
#include "rtl/Folders.h"
#include "store/SqliteDb.h"
#include "vcl/ComboBox.h"
#include "workstation/Mainunit.h"
#include "workstation/Unitconnect.h"
#include "workstation/Unitdebug.h"
#include "workstation/Unitdmlang.h"
#include "workstation/Unitmediaframe.h"
#include "workstation/Unitusers.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

namespace {

using namespace linkbench;

constexpr int kFiles = 2000;
const std::string kPassword = "bench-pass";

bool SyncEnded() {
    TStrings* lines = DebugForm->Memo1->Lines();
    for (int i = lines->Count() - 1; i >= 0 && i >= lines->Count() - 50; --i)
        if (lines->Strings(i) == "1226: finally") return true;
    return false;
}

// The program's windows as it makes them, the link pointed at the simulator;
// gone again as at the program's end.
class TProgramWindows {
public:
    TProgramWindows() {
        Application->CreateForm(DMLang);
        Application->CreateForm(MainForm);
        Application->CreateForm(DebugForm);
        MainForm->Show();
        Link()->RefreshSeconds = 3600;
        Link()->SerwerIPEdit->SetText("http://127.0.0.2");
        Link()->HasloEdit->SetText(kPassword);
    }
    ~TProgramWindows() {
        MainForm->SaveConfigAndCleanup();
        TObject::Free(DebugForm);
        DebugForm = nullptr;
        TObject::Free(MainForm);
        MainForm = nullptr;
        TObject::Free(DMLang);
        DMLang = nullptr;
    }
    TProgramWindows(const TProgramWindows&) = delete;
    TProgramWindows& operator=(const TProgramWindows&) = delete;

    TConnectFrame* Link() const { return MainForm->ConnectFrame1; }
};

void BM_ColdSyncGuiStall(benchmark::State& state) {
    const std::string device = MakeProgramFolder("/tmp") + "device";
    devicesim::GenerateRecordingFolder(device, kFiles, 10000, false, 5000);
    TSimProcess sim({"--dir", device, "--password", kPassword, "--page-size", "50"});
    if (!sim.Ok()) return state.SkipWithError("the simulator did not start");
    SetSyncBaseOverride(sim.Base);
    double worst = 0, beats = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const std::string program = MakeProgramFolder("/tmp");
        SetProgramDirOverride(program);
        yorde::test::StoreAdministrator("secret");
        auto windows = std::make_unique<TProgramWindows>();
        state.ResumeTiming();
        bench::THeartbeat heartbeat;
        windows->Link()->ConnectBitBtnClick(nullptr);
        while (!SyncEnded()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        state.PauseTiming();
        worst = std::max(worst, heartbeat.LongestStallMs());
        beats += heartbeat.Beats();
        windows.reset();
        const size_t arrived = size_t(std::distance(std::filesystem::directory_iterator(program + "files"),
                                                    std::filesystem::directory_iterator()));
        RemoveFolder(program);
        if (arrived != size_t(kFiles)) return state.SkipWithError("not every recording arrived");
        state.ResumeTiming();
    }
    SetSyncBaseOverride("");
    SetProgramDirOverride("");
    RemoveFolder(std::filesystem::path(device).parent_path().string());
    state.counters["longest_stall_ms"] = worst;
    state.counters["heartbeats"] = beats / double(state.iterations());
}
BENCHMARK(BM_ColdSyncGuiStall)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

constexpr int kArriving = 500;

// A program folder of Count stored recordings, all older than the device's
// (which start on 2024-03-01), with the administrator.
std::string LargeStore(int Count) {
    const std::string folder = MakeProgramFolder("/tmp");
    devicesim::TStoreOptions o;
    o.Count = Count;
    o.NewestCall = 1709078400;  // 2024-02-28 00:00:00 UTC
    devicesim::WriteStoredRecordings(folder, o);
    yorde::test::StoreAdministrator("secret", folder);
    return folder;
}

// The recordings a run brought leave the store again.
void TakeBackArrivals(const std::string& Folder) {
    SqliteDb db;
    db.Open(Folder + "data.db");
    for (SqliteQuery q = db.ExecQuery("SELECT Filename FROM Files WHERE Data >= '2024-03';"); !q.Eof(); q.NextRow())
        std::filesystem::remove(Folder + "files/" + std::string(q.FieldValue(0).c_str()));
    db.ExecDml("DELETE FROM Files WHERE Data >= '2024-03';");
}

// 500 recordings arriving into a large store, the administrator logged in:
// the list is read again every tenth file and at the end, off the GUI thread.
// The time is from the login (which connects) to the list showing them all.
void BM_SyncIntoLargeStoreGuiStall(benchmark::State& state) {
    const int count = int(state.range(0));
    // The folders go whatever happens.
    struct TFolders {
        std::string Device = MakeProgramFolder("/tmp") + "device";
        std::string Program;
        ~TFolders() {
            RemoveFolder(Program);
            RemoveFolder(std::filesystem::path(Device).parent_path().string());
        }
    } folders;
    devicesim::GenerateRecordingFolder(folders.Device, kArriving, 10000, false, 5000);
    TSimProcess sim({"--dir", folders.Device, "--password", kPassword, "--page-size", "50"});
    if (!sim.Ok()) return state.SkipWithError("the simulator did not start");
    folders.Program = LargeStore(count);
    SetSyncBaseOverride(sim.Base);
    SetProgramDirOverride(folders.Program);
    SetModalHook([](TCustomForm*) { return TModalResult(1); });
    double worst = 0;
    bool allListed = true;
    for (auto _ : state) {
        state.PauseTiming();
        auto windows = std::make_unique<TProgramWindows>();
        TUsersFrame* users = MainForm->UsersFrame1;
        users->usersComboBox->SetItemIndex(users->usersComboBox->Items()->IndexOf("admin"));
        state.ResumeTiming();
        // The login fills the list (on the GUI thread, as a login does), then connects.
        users->usersComboBoxChange(users->usersComboBox);
        windows->Link()->StorageQuota = 64;  // the most the settings offer: nothing is deleted
        bench::THeartbeat heartbeat;
        TMediaFrame* media = MainForm->MediaFrame1;
        while (!SyncEnded() || windows->Link()->RunUnderWay()) Application->HandleMessage();
        CheckSynchronize();
        while (media->ReloadUnderWay()) Application->HandleMessage();
        state.PauseTiming();
        worst = std::max(worst, heartbeat.LongestStallMs());
        allListed = allListed && media->musicTable->RowCount() - 1 == count + kArriving;
        windows.reset();
        TakeBackArrivals(folders.Program);
        state.ResumeTiming();
    }
    SetModalHook(nullptr);
    SetSyncBaseOverride("");
    SetProgramDirOverride("");
    if (!allListed) state.SkipWithError("not every recording is listed");
    state.counters["longest_stall_ms"] = worst;
}
BENCHMARK(BM_SyncIntoLargeStoreGuiStall)
    ->Arg(100000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(2);

}  // namespace

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    yorde::qt::QtApplication app(argc, argv);
    RegisterProgramClasses();
    SetSingleInstancePortOverride(yorde::test::FreeLoopbackPort());
    Application->Initialize();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
