// The connection tab switching the link on and off against the simulated
// exchange: the address and password checks, the button's looks, the runs it
// starts, refreshes and stops, the pause around an SD-card import, and the
// texts the runs leave on its label.
#include "DeviceSim.h"
#include "FakeLoopClock.h"
#include "FramesUiSupport.h"
#include "TempFolder.h"

#include "devicelink/SyncRun.h"
#include "localization/Lxlnglnk.h"
#include "rtl/Folders.h"
#include "store/LocalDatabases.h"
#include "store/SqliteDb.h"
#include "workstation/Unitconnect.h"
#include "workstation/Unitdebug.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>

using namespace framestest;

namespace {

constexpr int kFrameWidth = 792;
constexpr int kFrameHeight = 90;

// The connect button's committed bitmaps in English.
const char* const kConnect = "TConnectFrame.ImageListBtn/8.png";
const char* const kDisconnect = "TConnectFrame.ImageListBtn/12.png";
const char* const kDisconnectPressed = "TConnectFrame.ImageListBtn/13.png";

class ConnectLinkUi : public FramesUiTest {
protected:
    void SetUp() override {
        NetInit();
        Program.MakeDir("files");
        ASSERT_EQ(PrepareLocalDatabases(Program.Root()).ExitCode, DB_READY);
        SetProgramDirOverride(Program.Root());
        Sim.SetPassword("47150392");
        ASSERT_TRUE(Sim.Start(0));
        SetSyncBaseOverride(Sim.BaseUrl());
        Application->CreateForm(DebugForm);
        Lang = std::make_unique<ProgramLanguageScope>(2);
        Host = std::make_unique<Hosted<TConnectFrame>>(kFrameWidth, kFrameHeight);
        F = Host->Frame;
        F->RefreshSeconds = 3600;  // one run per connect unless a test asks for more
        Host->Form->Show();
    }
    void TearDown() override {
        Host.reset();     // the frame's threads end with it
        ProcessEvents();  // their last log lines belong to this test
        if (HasFailure()) PrintLog();
        Lang.reset();
        TObject::Free(DebugForm);
        DebugForm = nullptr;
        SetSyncBaseOverride("");
        SetProgramDirOverride("");
        Sim.Stop();
        FramesUiTest::TearDown();
    }

    // Serves the GUI thread until Ready holds (a minute at the most).
    template <class P>
    bool PumpUntil(P&& Ready) {
        for (int i = 0; i < 12000; ++i) {
            ProcessEvents();
            if (Ready()) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return Ready();
    }
    bool Logged(const std::string& Line) const {
        TStrings* lines = DebugForm->Memo1->Lines();
        for (int i = 0; i < lines->Count(); ++i)
            if (lines->Strings(i) == Line) return true;
        return false;
    }
    // A failed run under load is hard to bring back: the log says what the runs did.
    void PrintLog() const {
        TStrings* lines = DebugForm->Memo1->Lines();
        std::fprintf(stderr, "debug log (%d lines):\n", lines->Count());
        for (int i = 0; i < lines->Count(); ++i) std::fprintf(stderr, "  %s\n", lines->Strings(i).c_str());
        const auto c = Sim.Counters();
        std::fprintf(stderr, "simulator: nonce %lld, list %lld, record %lld\n", (long long)c.Nonce,
                     (long long)c.RecordList, (long long)c.Record);
    }
    int CountLogged(const std::string& Line) const {
        TStrings* lines = DebugForm->Memo1->Lines();
        int n = 0;
        for (int i = 0; i < lines->Count(); ++i) n += lines->Strings(i) == Line;
        return n;
    }
    int StoredRows() {
        SqliteDb db;
        db.Open(Program.Path("data.db"));
        return db.ExecQuery("SELECT count(*) FROM Files;").GetIntField(0);
    }
    std::string Text(const char* Key) { return F->lxLangLinked1->GetTextOrDefault(Key); }
    void Offer(int Count) {
        for (int i = 0; i < Count; ++i) {
            char name[64];
            std::snprintf(name, sizeof name, "20240301_08%02d00_10%d_20%d_.wav", i, i, i);
            Sim.AddRecording(name, std::string(3250 + size_t(i), char('a' + i % 26)));
        }
    }
    void Enter(const char* Address, const char* Password) {
        F->SerwerIPEdit->SetText(Address);
        F->HasloEdit->SetText(Password);
    }

    yorde::test::TTempFolder Program{"yorde-link"};
    TDeviceSimulator Sim;
    std::unique_ptr<ProgramLanguageScope> Lang;
    std::unique_ptr<Hosted<TConnectFrame>> Host;
    TConnectFrame* F = nullptr;
};

}  // namespace

// The address and password checks, each outcome with its text and look; a
// refused connect touches nothing else.
TEST_F(ConnectLinkUi, AddressAndPasswordChecks) {
    struct Case {
        const char *Address, *Password;
        const char* Refusal;  // nullptr: switched on
        const char* AddressAfter;
    } cases[] = {
        {"HTTP://10.0.0.5", "12345678", nullptr, "HTTP://10.0.0.5"},
        {"10.0.0.5", "12345678", nullptr, "http://10.0.0.5"},
        {"1.2.3.4", "12345678", nullptr, "http://1.2.3.4"},
        {"1.2.3.4", "1234567", "IDS_NOURL", "1.2.3.4"},  // seven characters: the address check comes first
        {"http://10.0.0.5:80", "12345678", "IDS_NOURL", "http://10.0.0.5:80"},
        {"http://10.0.0.1.@evil", "12345678", "IDS_NOURL", "http://10.0.0.1.@evil"},
        {"http:// 10.0.0.1", "12345678", "IDS_NOURL", "http:// 10.0.0.1"},
        {"http://", "12345678", "IDS_NOURL", "http://"},
        {"http://10.0.0.5", "1234567", "IDS_SHORTPASSWORD", "http://10.0.0.5"},
        {"http://10.0.0.5", "", "IDS_NOPASSWORD", "http://10.0.0.5"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Address);
        Enter(c.Address, c.Password);
        F->StatusLabel->SetCaption("before");
        F->StartConnectUI();
        EXPECT_EQ(F->SerwerIPEdit->Text(), c.AddressAfter);
        if (c.Refusal) {
            EXPECT_EQ(F->StatusLabel->Caption(), Text(c.Refusal));
            EXPECT_FALSE(F->IsConnected());
            EXPECT_TRUE(ShowsBitmap(F->PolaczImage, kConnect));
        } else {
            EXPECT_EQ(F->StatusLabel->Caption(), "");
            EXPECT_TRUE(F->IsConnected());
            EXPECT_TRUE(ShowsBitmap(F->PolaczImage, kDisconnect));
            EXPECT_EQ(F->PolaczImage->Hint(), Text("IDS_DISCONNECT"));
            F->ResetToConnect();
            F->Timer1Timer(F->Timer1);
        }
    }
    // Enter in either field while the link is on leaves it on.
    Enter("http://10.0.0.5", "12345678");
    F->StartConnectUI();
    ASSERT_TRUE(F->IsConnected());
    for (TWinControl* edit : std::initializer_list<TWinControl*>{F->SerwerIPEdit, F->HasloEdit}) {
        yorde::test::PressKey(edit, VK_RETURN);
        EXPECT_TRUE(F->IsConnected()) << edit->Name();
        EXPECT_TRUE(ShowsBitmap(F->PolaczImage, kDisconnect)) << edit->Name();
    }
    F->ResetToConnect();
    F->Timer1Timer(F->Timer1);
    EXPECT_EQ(Sim.Counters().Preload, 0);
}

// Connect: the run brings every recording and the label tells how it goes;
// a refresh asks again and fetches nothing new; disconnect brings the
// connect button back after its rest.
TEST_F(ConnectLinkUi, ConnectSyncRefreshDisconnect) {
    Offer(12);
    Enter("http://127.0.0.2", "47150392");
    yorde::test::Click(F->PolaczImage);
    EXPECT_TRUE(F->IsConnected());
    EXPECT_EQ(F->StatusLabel->Caption(), Text("IDS_CONNECTING"));
    EXPECT_TRUE(ShowsBitmap(F->PolaczImage, kDisconnect));

    // A refresh is dropped until the run's thread has ended; by then all
    // the run had to show is queued.
    ASSERT_TRUE(PumpUntil([&] { return !F->RunUnderWay(); }));
    ProcessEvents();
    EXPECT_TRUE(Logged("1226: finally"));
    EXPECT_EQ(F->StatusLabel->Caption(), "");
    EXPECT_EQ(StoredRows(), 12);
    EXPECT_EQ(F->ProgressBarHttp->Max(), 12);
    EXPECT_EQ(F->ProgressBarHttp->Position(), 0);
    EXPECT_TRUE(Logged("HTTPThread started"));
    EXPECT_TRUE(F->IsConnected());

    yorde::test::Click(F->OdswiezImage);
    EXPECT_FALSE(F->OdswiezImage->Enabled());
    EXPECT_TRUE(Logged("TRefresh -> Terminate"));
    ASSERT_TRUE(PumpUntil([&] { return CountLogged("1226: finally") == 2; }));
    EXPECT_EQ(Sim.Counters().Nonce, 2);
    EXPECT_EQ(Sim.Counters().Record, 12);

    yorde::test::Click(F->PolaczImage);
    EXPECT_FALSE(F->IsConnected());
    EXPECT_EQ(F->ButtonState.load(), -1);
    EXPECT_FALSE(F->PolaczImage->Enabled());
    EXPECT_TRUE(F->Timer1->Enabled());
    EXPECT_TRUE(ShowsBitmap(F->PolaczImage, kDisconnectPressed));
    EXPECT_EQ(F->PolaczImage->Hint(), Text("IDS_CONNECT"));
    F->Timer1Timer(F->Timer1);
    EXPECT_TRUE(F->PolaczImage->Enabled());
    EXPECT_TRUE(ShowsBitmap(F->PolaczImage, kConnect));
}

// A wrong password: the message, and the link switched off by the run.
TEST_F(ConnectLinkUi, WrongPasswordSwitchesTheLinkOff) {
    Enter("http://127.0.0.2", "87654321");
    yorde::test::PressKey(F->HasloEdit, VK_RETURN);
    EXPECT_TRUE(F->IsConnected());
    ASSERT_TRUE(PumpUntil([&] { return !F->IsConnected(); }));
    EXPECT_EQ(F->StatusLabel->Caption(), Text("IDS_WRONG_PASSWORD"));
    EXPECT_TRUE(ShowsBitmap(F->PolaczImage, kDisconnectPressed));
    EXPECT_TRUE(F->Timer1->Enabled());
    EXPECT_EQ(Sim.Counters().Nonce, 1);
    EXPECT_EQ(Sim.Counters().Rejected, 1);
}

// Disconnecting in the middle of a body: the run ends, its partial file
// goes, nothing is registered, and no message of the stopped run shows.
TEST_F(ConnectLinkUi, DisconnectDuringADownload) {
    Sim.AddRecording("20240301_080000_1_2_.wav", std::string(200000, 'x'));
    Sim.SetFault(TSimRequest::Record, TReplyFault::StallBody, -1, 50000);
    Enter("http://127.0.0.2", "47150392");
    yorde::test::Click(F->PolaczImage);
    ASSERT_TRUE(PumpUntil([&] { return Sim.BytesServed() > 50000; }));
    yorde::test::Click(F->PolaczImage);
    ASSERT_TRUE(PumpUntil([&] { return Logged("HTTPThread stoped"); }));
    EXPECT_TRUE(Logged("ConnectBtn -> Disconnect -> Terminate"));
    EXPECT_TRUE(std::filesystem::is_empty(Program.Path("files")));
    for (auto& e : std::filesystem::directory_iterator(Program.Path("files"))) ADD_FAILURE() << e.path();
    EXPECT_EQ(StoredRows(), 0);
    EXPECT_EQ(F->StatusLabel->Caption(), "");
}

// Around an SD-card import, called from the import's thread: Disconnect
// returns once no run is left and no run starts until StartLoop, which lets
// the loop go on.
TEST_F(ConnectLinkUi, ImportPausesTheLink) {
    Offer(3);
    F->RefreshSeconds = 0;  // the loop asks every 10 ms
    Enter("http://127.0.0.2", "47150392");
    yorde::test::Click(F->PolaczImage);
    ASSERT_TRUE(PumpUntil([&] { return Sim.Counters().Nonce >= 3; }));

    std::atomic<bool> done{false};
    std::thread import([&] {
        F->Disconnect();
        done = true;
    });
    ASSERT_TRUE(PumpUntil([&] { return done.load(); }));
    import.join();
    EXPECT_TRUE(F->IsConnected());  // the look stays as it is
    const int64_t nonces = Sim.Counters().Nonce;
    F->Refresh();
    for (int i = 0; i < 20; ++i) ProcessEvents();
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    for (int i = 0; i < 20; ++i) ProcessEvents();
    EXPECT_EQ(Sim.Counters().Nonce, nonces);

    std::thread resume([&] { F->StartLoop(); });
    ASSERT_TRUE(PumpUntil([&] { return Sim.Counters().Nonce > nonces + 1; }));
    resume.join();
    EXPECT_EQ(StoredRows(), 3);
}

// The runs the link starts by itself come every RefreshSeconds (the users
// frame's slider position times 120 s): each when its interval is over, not
// before, again and again, counted from the previous one.
TEST_F(ConnectLinkUi, RefreshesComeAtEveryInterval) {
    using namespace std::chrono_literals;
    auto clock = std::make_shared<yorde::test::TFakeLoopClock>();
    F->LoopClock = clock;
    F->RefreshSeconds = 2 * 120;
    Offer(2);
    Enter("http://127.0.0.2", "47150392");
    yorde::test::Click(F->PolaczImage);
    ASSERT_TRUE(PumpUntil([&] { return Sim.Counters().Nonce == 1 && !F->RunUnderWay(); }));
    ASSERT_TRUE(clock->AwaitSleep());
    for (int n = 1; n <= 3; ++n) {
        clock->Advance(240s - 1ms);
        ASSERT_TRUE(clock->AwaitSleep());
        ProcessEvents();
        // A refresh after a finished run says so in the log at once.
        EXPECT_EQ(CountLogged("TRefresh -> Terminate"), n - 1);
        clock->Advance(1ms);
        ASSERT_TRUE(clock->AwaitSleep());
        ASSERT_TRUE(PumpUntil([&] { return CountLogged("TRefresh -> Terminate") == n && !F->RunUnderWay(); }));
        EXPECT_EQ(Sim.Counters().Nonce, n + 1);
    }
    EXPECT_EQ(StoredRows(), 2);
}

// A recording whose every attempt was cut is named on the label when the
// run ends, with the word that a later run asks for it again.
TEST_F(ConnectLinkUi, ARecordingCutOnEveryAttemptIsNamedOnTheLabel) {
    Offer(1);
    Sim.SetFault(TSimRequest::Record, TReplyFault::CutBody, -1, 1000);
    Enter("http://127.0.0.2", "47150392");
    yorde::test::Click(F->PolaczImage);
    ASSERT_TRUE(PumpUntil([&] { return Logged("1226: finally") && !F->RunUnderWay(); }));
    ProcessEvents();
    // As the list shows it: its date, time and numbers.
    EXPECT_EQ(F->StatusLabel->Caption(), Text("IDS_RECEIVE_LATER") + " 2024-03-01 08:00:00 (100, 200)");
    EXPECT_NE(Text("IDS_RECEIVE_LATER"), "IDS_RECEIVE_LATER");
    EXPECT_TRUE(F->IsConnected());
    EXPECT_EQ(StoredRows(), 0);

    // A name without a whole date and time is shown as it is.
    Sim.AddRecording("20240301_0800xx_1_2_.wav", std::string(3000, 'n'));
    F->Refresh();
    ASSERT_TRUE(PumpUntil([&] { return CountLogged("1226: finally") == 2 && !F->RunUnderWay(); }));
    ProcessEvents();
    EXPECT_EQ(F->StatusLabel->Caption(), Text("IDS_RECEIVE_LATER") + " 20240301_0800xx_1_2_.wav");
}

// A double click on the connect image counts as two clicks: on, then off.
TEST_F(ConnectLinkUi, DoubleClickConnectsThenDisconnects) {
    Enter("http://127.0.0.2", "47150392");
    yorde::test::DoubleClick(F->PolaczImage);
    EXPECT_FALSE(F->IsConnected());
    EXPECT_TRUE(Logged("ConnectBtn -> Disconnect -> Terminate"));
    ASSERT_TRUE(PumpUntil([&] { return Logged("HTTPThread stoped"); }));
}
