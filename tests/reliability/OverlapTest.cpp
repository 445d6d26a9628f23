// Work that overlaps in the real main window: an SD-card import started in
// the middle of a sync, and the language switch or the exit in the middle
// of a download. Each recording ends up once and whole, nothing temporary
// is left, and the program goes on (or ends) as it should.
#include "DeviceSim.h"
#include "MainWindowFixture.h"

#include "classes/Thread.h"
#include "devicelink/SyncRun.h"
#include "shell/Drives.h"
#include "store/SqliteDb.h"
#include "store/SqliteStatement.h"
#include "workstation/Mainunit.h"
#include "workstation/UnitImport.h"
#include "workstation/UnitImportThread.h"
#include "workstation/Unitconnect.h"
#include "workstation/Unitdebug.h"
#include "workstation/Unitmediaframe.h"
#include "workstation/Unitpaswd.h"
#include "workstation/Unitstatus.h"
#include "workstation/Unitusers.h"

#include <chrono>
#include <filesystem>
#include <thread>

using namespace mainwindowtest;
namespace fs = std::filesystem;

namespace {

const std::string kDevicePassword = "47150392";

class Overlap : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        NetInit();
        StoreAdmin();
        Sim.SetPassword(kDevicePassword);
        for (int i = 0; i < 12; ++i) {
            const std::string name = "20240801_09" + std::to_string(10 + i) + "00_101_202_.wav";
            Offered[name] = std::string(20000 + size_t(i), char('a' + i));
            Sim.AddRecording(name, Offered[name]);
        }
        // Recordings come slowly; everything else at once.
        Sim.SetRequestHook([this](const std::string& line) {
            Sim.SetSlowReplies(line.find("/record.cgi?") != std::string::npos ? 15 : 0, 4096);
        });
        ASSERT_TRUE(Sim.Start(0));
        SetSyncBaseOverride(Sim.BaseUrl());
        SetDriveListProvider([this] { return std::vector<AnsiString>{Card.Dir()}; });
        CreateMainWindow();
        Application->CreateForm(DebugForm);
        MainForm->Show();
        Link = MainForm->ConnectFrame1;
        Link->RefreshSeconds = 3600;
        Link->SerwerIPEdit->SetText("http://127.0.0.2");
        Link->HasloEdit->SetText(kDevicePassword);
    }
    void TearDown() override {
        Sim.SetRequestHook(nullptr);
        SetDriveListProvider({});
        SetSyncBaseOverride("");
        MainWindowTest::TearDown();
        Sim.Stop();
    }

    // Logs in as the administrator, which connects.
    void LogIn() {
        Respond("TuserpaswdDialog", [](TCustomForm* f) {
            auto* d = static_cast<TuserpaswdDialog*>(f);
            d->paswdLineEdit->SetText("secret");
            d->ImageOK->OnClick(d->ImageOK);
            return d->ModalResult();
        });
        TComboBox* combo = MainForm->UsersFrame1->usersComboBox;
        combo->SetItemIndex(combo->Items()->IndexOf("admin"));
        MainForm->UsersFrame1->usersComboBoxChange(combo);
    }
    int LogCount(const std::string& Line) {
        TStrings* lines = DebugForm->Memo1->Lines();
        int n = 0;
        for (int i = 0; i < lines->Count(); ++i) n += lines->Strings(i) == Line ? 1 : 0;
        return n;
    }
    size_t Stored() {
        return size_t(std::distance(fs::directory_iterator(program.Path("files")), fs::directory_iterator()));
    }
    std::vector<std::string> Registered() {
        SqliteDb db;
        db.Open(program.Path("data.db"));
        SqliteStatement rows(db, "SELECT Filename FROM Files ORDER BY Filename;");
        std::vector<std::string> names;
        while (rows.Step()) names.push_back(rows.ColumnText(0));
        return names;
    }
    // Every file in "files" whole and registered once, no other row; their names.
    std::vector<std::string> WholeAndRegistered(const std::map<std::string, std::string>& Expected) {
        std::vector<std::string> stored;
        for (const fs::directory_entry& e : fs::directory_iterator(program.Path("files"))) {
            const std::string name = e.path().filename().string();
            stored.push_back(name);
            const auto it = Expected.find(name);
            EXPECT_TRUE(it != Expected.end() && yorde::test::ReadFile(e.path().string()) == it->second) << name;
        }
        std::sort(stored.begin(), stored.end());
        EXPECT_EQ(stored, Registered());
        return stored;
    }

    TDeviceSimulator Sim;
    yorde::test::TTempFolder Card{"yorde-overlap-card"};
    std::map<std::string, std::string> Offered;
    TConnectFrame* Link = nullptr;
};

}  // namespace

// The card is put in while a sync downloads: the import stops the run,
// imports what the card holds (some of it the same calls as on the
// exchange), and lets the link go on; the next run brings the rest. Each
// recording is there once.
TEST_F(Overlap, AnImportInTheMiddleOfASync) {
    std::map<std::string, std::string> expected = Offered;
    for (auto it = Offered.begin(); it != Offered.end(); std::advance(it, 2))
        Card.Write("ROZMOWY/2024/08/01/" + it->first, it->second);
    for (int i = 0; i < 2; ++i) {
        const std::string name = "20240801_1" + std::to_string(i) + "0000_303_404_.wav";
        expected[name] = std::string(3000, char('p' + i));
        Card.Write("ROZMOWY/2024/08/01/" + name, expected[name]);
    }

    LogIn();
    ASSERT_TRUE(Link->IsConnected());
    ASSERT_TRUE(PumpUntil([&] { return Stored() >= 3; }));
    Respond("TImportDialog", [](TCustomForm* f) {
        auto* d = static_cast<TImportDialog*>(f);
        d->DriveComboBox->SetItemIndex(0);
        d->DriveComboBoxChange(d->DriveComboBox);
        d->ImageOKClick(d->ImageOK);
        return d->ModalResult();
    });
    MainForm->MediaFrame1->ImportImageClick(nullptr);
    ASSERT_TRUE(CardImportRunning());
    while (CardImportRunning()) CheckSynchronize(50);
    yorde::test::ProcessEvents();
    EXPECT_EQ(LogCount("1226: finally"), 1) << "the import stopped the run";
    EXPECT_LT(Stored(), expected.size());

    Link->RefreshButtonClick(nullptr);
    ASSERT_TRUE(PumpUntil([&] { return LogCount("1226: finally") == 2; }));
    ASSERT_TRUE(PumpUntil([&] { return MainForm->StatusFrameBottom->StatusLabel->Caption().empty(); }));
    EXPECT_EQ(WholeAndRegistered(expected).size(), expected.size());
    EXPECT_TRUE(Link->IsConnected());
}

// The language flag in the middle of a download: the run ends before the
// program does, what arrived is whole and registered, the rest is not kept
// half written, and the program ends for its restart in the new language.
TEST_F(Overlap, ALanguageSwitchInTheMiddleOfADownload) {
    LogIn();
    ASSERT_TRUE(PumpUntil([&] { return Stored() >= 2; }));
    MainForm->ImageENClick(nullptr);
    EXPECT_TRUE(Application->Terminated());
    ASSERT_EQ(launches.size(), 1u);
    EXPECT_TRUE(program.Exists("en.lang"));
    EXPECT_FALSE(program.Exists("pl.lang"));
    EXPECT_FALSE(program.Exists("tmp.db"));
    const std::vector<std::string> stored = WholeAndRegistered(Offered);
    EXPECT_LT(stored.size(), Offered.size());
}

// Closing the window in the middle of a download, through its question: the
// same, and the program's temporary files go.
TEST_F(Overlap, AnExitInTheMiddleOfADownload) {
    LogIn();
    ASSERT_TRUE(PumpUntil([&] { return Stored() >= 2; }));
    MainForm->Close();
    EXPECT_EQ(seen.back().Class, "TQuestionDialog");
    EXPECT_FALSE(program.Exists("tmp.db"));
    EXPECT_FALSE(fs::exists(temp.Path("tmp.wav")));
    const std::vector<std::string> stored = WholeAndRegistered(Offered);
    EXPECT_LT(stored.size(), Offered.size());
    EXPECT_TRUE(program.Exists("config.cfg"));
}
