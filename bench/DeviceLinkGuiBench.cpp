// The GUI thread during a cold sync: the real main window on the offscreen
// platform connects to the simulated exchange (a process of its own) and
// fetches 2 000 recordings, while a 10 ms heartbeat timer records how late
// it fires. The longest lateness is the longest the window did not answer.
#include "DeviceLinkBenchSupport.h"
#include "FreePort.h"
#include "ProgramClasses.h"
#include "SimRecordings.h"
#include "StoredAdministrator.h"

#include "devicelink/SyncRun.h"
#include "net/HttpClient.h"
#include "qt/QtPlatform.h"
#include "rtl/Folders.h"
#include "workstation/Mainunit.h"
#include "workstation/Unitconnect.h"
#include "workstation/Unitdebug.h"
#include "workstation/Unitdmlang.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <filesystem>

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
        Application->CreateForm(DMLang);
        Application->CreateForm(MainForm);
        Application->CreateForm(DebugForm);
        MainForm->Show();
        TConnectFrame* link = MainForm->ConnectFrame1;
        link->RefreshSeconds = 3600;
        link->SerwerIPEdit->SetText("http://127.0.0.2");
        link->HasloEdit->SetText(kPassword);

        QElapsedTimer clock;
        qint64 last = 0;
        double lateness = 0;
        QTimer heartbeat;
        heartbeat.setTimerType(Qt::PreciseTimer);
        QObject::connect(&heartbeat, &QTimer::timeout, [&] {
            const qint64 now = clock.nsecsElapsed();
            lateness = std::max(lateness, double(now - last) / 1e6 - 10.0);
            last = now;
            beats += 1;
        });
        state.ResumeTiming();
        clock.start();
        heartbeat.start(10);
        link->ConnectBitBtnClick(nullptr);
        while (!SyncEnded()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        heartbeat.stop();
        state.PauseTiming();
        worst = std::max(worst, lateness);
        MainForm->SaveConfigAndCleanup();
        TObject::Free(DebugForm);
        DebugForm = nullptr;
        TObject::Free(MainForm);
        MainForm = nullptr;
        TObject::Free(DMLang);
        DMLang = nullptr;
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
