// The link inside the main window: what a run shows in the status bar (the
// SD card, the download's progress), and the exit in the middle of a run.
#include "DeviceSim.h"
#include "MainWindowFixture.h"

#include "devicelink/SyncRun.h"
#include "localization/Lxlnglnk.h"
#include "workstation/Mainunit.h"
#include "workstation/Unitconnect.h"
#include "workstation/Unitstatus.h"

#include <chrono>
#include <filesystem>
#include <regex>
#include <thread>

using namespace mainwindowtest;

namespace {

class MainLink : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        NetInit();
        StoreAdmin();
        Sim.SetPassword("47150392");
        for (int i = 0; i < 3; ++i)
            Sim.AddRecording("20240301_08000" + std::to_string(i) + "_10_20_.wav", std::string(6000, char('a' + i)));
        ASSERT_TRUE(Sim.Start(0));
        SetSyncBaseOverride(Sim.BaseUrl());
        CreateMainWindow();
        Link = MainForm->ConnectFrame1;
        Bar = MainForm->StatusFrameBottom;
        Link->RefreshSeconds = 3600;
        Link->SerwerIPEdit->SetText("http://127.0.0.2");
        Link->HasloEdit->SetText("47150392");
    }
    void TearDown() override {
        SetSyncBaseOverride("");
        MainWindowTest::TearDown();
        Sim.Stop();
    }
    size_t FilesIn(const std::string& Folder) {
        return size_t(std::distance(std::filesystem::directory_iterator(program.Path(Folder)),
                                    std::filesystem::directory_iterator()));
    }
    AnsiString Text(const char* Key) { return Link->lxLangLinked1->GetTextOrDefault(Key); }

    TDeviceSimulator Sim;
    TConnectFrame* Link = nullptr;
    TStatusFrame* Bar = nullptr;
};

}  // namespace

// The card's state and sizes reach the status bar; the download shows as
// "<Downloading> i <of> n (p%)" with its bar; at the end both are cleared.
TEST_F(MainLink, StatusBarShowsTheCardAndTheDownload) {
    Sim.SetSdState(0, 7580);
    Sim.SetSlowReplies(40, 1000);
    Link->ConnectBitBtnClick(nullptr);
    EXPECT_EQ(Bar->StatusLabel->Caption(), Text("IDS_CONNECTING"));

    const std::regex progress(Text("IDS_RECEIVING") + " [1-3] " + Text("IDS_FROM") + " 3 \\(([0-9]+)%\\)");
    std::smatch shown;
    std::string caption;
    ASSERT_TRUE(PumpUntil([&] {
        caption = Bar->StatusLabel->Caption();
        return std::regex_match(caption, shown, progress);
    })) << caption;
    EXPECT_EQ(Bar->StatusProgressBar->Position(), std::stoi(shown[1]));
    EXPECT_EQ(Bar->SdState.load(), 0);
    EXPECT_EQ(Bar->SDLabel->Hint(), Text("IDS_SD_CAPACITY") + ": 7580 MB\n" + Text("IDS_SD_SIZE") + ": 0 MB");

    // Once the run's thread has ended, all it had to show is queued.
    ASSERT_TRUE(PumpUntil([&] { return !Link->RunUnderWay(); }));
    yorde::test::ProcessEvents();
    EXPECT_EQ(FilesIn("files"), 3u);
    EXPECT_EQ(Bar->StatusLabel->Caption(), "");
    EXPECT_EQ(Bar->StatusProgressBar->Position(), 0);
    EXPECT_EQ(Link->StatusLabel->Caption(), "");
}

// A wrong password puts the card's state back to unknown.
TEST_F(MainLink, WrongPasswordForgetsTheCard) {
    Bar->SdState = 0;
    Link->HasloEdit->SetText("87654321");
    Link->ConnectBitBtnClick(nullptr);
    ASSERT_TRUE(PumpUntil([&] { return !Link->IsConnected(); }));
    EXPECT_EQ(Bar->SdState.load(), -1);
    EXPECT_EQ(Bar->StatusLabel->Caption(), Text("IDS_WRONG_PASSWORD"));
}

// Closing in the middle of a download: the run ends before the temporary
// files go, and leaves nothing half written.
TEST_F(MainLink, ExitInTheMiddleOfADownload) {
    Sim.SetFault(TSimRequest::Record, TReplyFault::StallBody, -1, 3000);
    Link->ConnectBitBtnClick(nullptr);
    ASSERT_TRUE(PumpUntil([&] { return Sim.BytesServed() > 3000 && FilesIn("files") == 1; }));
    MainForm->SaveConfigAndCleanup();
    EXPECT_EQ(FilesIn("files"), 0u);
    EXPECT_FALSE(program.Exists("tmp.db"));
}
