// Announcement uploads against the simulated exchange, without a window:
// the bytes the exchange keeps, the exact request, and what the user is
// shown for each way it can end.
#include "DeviceSim.h"
#include "SimRecordings.h"
#include "TempFolder.h"

#include "devicelink/AnnouncementUpload.h"
#include "devicelink/SyncRun.h"
#include "devicelink/UploadUi.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <future>
#include <mutex>
#include <regex>

namespace {

// Every call of an upload, in order: "slot", "status:KEY" ("status:" when
// cleared), "error", "finished:<result>".
class TRecordingUploadUi : public TUploadUi {
public:
    explicit TRecordingUploadUi(int Slot) : Slot(Slot) {}

    void Log(const AnsiString& Line) override {
        std::lock_guard lk(Mu);
        Lines.push_back(Line);
    }
    int ChooseSlot() override {
        add("slot");
        return Slot;
    }
    void ShowStatus(const AnsiString& Key) override { add("status:" + Key); }
    void ShowSendError() override { add("error"); }
    void UploadFinished(TUploadResult Result) override {
        {
            std::lock_guard lk(Mu);
            Events.push_back("finished:" + std::to_string(int(Result)));
            Outcome = Result;
            Done = true;
        }
        Cv.notify_all();
    }

    // Waits for the end, then for the thread to be freed.
    TUploadResult Wait() {
        {
            std::unique_lock lk(Mu);
            EXPECT_TRUE(Cv.wait_for(lk, std::chrono::minutes(1), [&] { return Done; }));
        }
        EXPECT_TRUE(WaitForFreeOnTerminateThreads(60000));
        return Outcome;
    }
    std::vector<std::string> Seen() {
        std::lock_guard lk(Mu);
        return Events;
    }

private:
    void add(std::string Event) {
        std::lock_guard lk(Mu);
        Events.push_back(std::move(Event));
    }
    int Slot;
    std::mutex Mu;
    std::condition_variable Cv;
    std::vector<std::string> Events;
    std::vector<std::string> Lines;
    TUploadResult Outcome = TUploadResult::Failed;
    bool Done = false;
};

std::string Finished(TUploadResult Result) { return "finished:" + std::to_string(int(Result)); }

class AnnouncementUpload : public ::testing::Test {
protected:
    void SetUp() override {
        NetInit();
        Sim.SetPassword("47150392");
        ASSERT_TRUE(Sim.Start(0));
        SetSyncBaseOverride(Sim.BaseUrl());
        Temp.Write("record.wav", Wav);
    }
    void TearDown() override {
        SetSyncBaseOverride("");
        Sim.Stop();
    }
    // One upload of "record.wav" from start to end; its recorder.
    std::shared_ptr<TRecordingUploadUi> Upload(int Slot, const AnsiString& Address = "http://127.0.0.1") {
        auto ui = std::make_shared<TRecordingUploadUi>(Slot);
        new POSTThread(Path(), TUploadSettings{Address, "47150392"}, ui);
        Result = ui->Wait();
        return ui;
    }
    AnsiString Path() const { return Temp.Path("record.wav"); }
    std::vector<std::string> Requests() const { return Sim.Requests(); }

    yorde::test::TTempFolder Temp{"yorde-upload"};
    TDeviceSimulator Sim;
    const std::string Wav = devicesim::MakeGsmWav(2000);
    TUploadResult Result = TUploadResult::Failed;
};

}  // namespace

// The file goes into the chosen slot byte for byte: a fresh nonce, counter
// 1, one multipart part over HTTP/1.0 on a connection of its own; then the
// file is gone and the status line empty.
TEST_F(AnnouncementUpload, TheChosenSlotHoldsTheExactBytes) {
    const auto ui = Upload(3);
    EXPECT_EQ(Result, TUploadResult::Sent);
    EXPECT_EQ(ui->Seen(),
              (std::vector<std::string>{"slot", "status:IDS_ANNOUNCE_SEND", "status:", Finished(TUploadResult::Sent)}));
    EXPECT_EQ(Sim.Announcement(3), Wav);
    EXPECT_FALSE(Temp.Exists("record.wav"));

    const std::vector<TSimLogEntry> log = Sim.Log();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].Method + " " + log[0].Path, "GET /get_nonce.cgi");
    EXPECT_EQ(log[1].Method + " " + log[1].Path, "POST /upload.cgi");
    EXPECT_NE(log[1].Connection, log[0].Connection);
    EXPECT_EQ(log[1].Version, "HTTP/1.0");
    const std::vector<TSimAuthCheck> checks = Sim.AuthChecks();
    ASSERT_EQ(checks.size(), 1u);
    EXPECT_TRUE(checks[0].Accepted);
    EXPECT_EQ(checks[0].Counter, 1);
    EXPECT_TRUE(std::regex_match(
        log[1].Query, std::regex("nonce=" + checks[0].Nonce + "&response=[0-9a-f]{32}&type=announcement&id=3")))
        << log[1].Query;

    TSimUpload up;
    ASSERT_TRUE(Sim.LastUpload(up));
    std::smatch boundary;
    ASSERT_TRUE(std::regex_match(up.RequestContentType, boundary,
                                 std::regex("multipart/form-data; boundary=(--------[0-9]{15})")))
        << up.RequestContentType;
    const std::string b = boundary[1];
    EXPECT_EQ(up.Body, "--" + b + "\r\nContent-Disposition: form-data; name=\"fileToUpload2\"; filename=\"" + Path() +
                           "\"\r\nContent-Type: tar\r\n\r\n" + Wav + "\r\n\r\n--" + b + "--");
}

// Each refusal of the device puts its message on the status line, where it
// stays, and the upload ends as refused; the status line decides, whatever
// the body says.
TEST_F(AnnouncementUpload, RefusalsGiveTheirMessageAndEndAsRefused) {
    const std::pair<int, const char*> cases[] = {{405, "IDS_HTTP_405"},
                                                 {403, "IDS_HTTP_403"},
                                                 {500, "IDS_HTTP_500"},
                                                 {503, "IDS_HTTP_503"},
                                                 {418, "IDS_HTTP_USED"}};
    for (const auto& [status, key] : cases) {
        SCOPED_TRACE(status);
        Sim.SetUploadStatus(status);
        Temp.Write("record.wav", Wav);
        const auto ui = Upload(1);
        EXPECT_EQ(Result, TUploadResult::Refused);
        EXPECT_EQ(ui->Seen(),
                  (std::vector<std::string>{"slot", "status:IDS_ANNOUNCE_SEND", std::string("status:") + key,
                                            Finished(TUploadResult::Refused)}));
        EXPECT_FALSE(Temp.Exists("record.wav"));
    }
    EXPECT_EQ(Sim.Announcement(1), "");

    // A wrong password is the device's own 405.
    Sim.SetUploadStatus(0);
    Sim.SetPassword("other-password");
    Temp.Write("record.wav", Wav);
    EXPECT_EQ(Upload(1)->Seen()[2], "status:IDS_HTTP_405");
}

// The device may close without a word once it has the file: success. A
// nonce request that fails in any way is no success: nothing is posted and
// the user is told.
TEST_F(AnnouncementUpload, OnlyThePostMayEndWithoutAReply) {
    Sim.SetFault(TSimRequest::Upload, TReplyFault::CloseBeforeStatus, 1);
    EXPECT_EQ(Upload(2)->Seen().back(), Finished(TUploadResult::Sent));

    auto failsAtTheNonce = [&](const char* What) {
        SCOPED_TRACE(What);
        Temp.Write("record.wav", Wav);
        const size_t before = Requests().size();
        const auto ui = Upload(2);
        EXPECT_EQ(ui->Seen(), (std::vector<std::string>{"slot", "status:IDS_ANNOUNCE_SEND", "error",
                                                        "status:", Finished(TUploadResult::Failed)}));
        const std::vector<std::string> requests = Requests();
        ASSERT_EQ(requests.size(), before + 1);
        EXPECT_EQ(requests.back(), "GET /get_nonce.cgi");
        EXPECT_FALSE(Temp.Exists("record.wav"));
    };
    Sim.SetFault(TSimRequest::Nonce, TReplyFault::CloseBeforeStatus, 1);
    failsAtTheNonce("closed");
    Sim.SetRawReplies(TSimRequest::Nonce, {"500 Internal Server Error"}, 500);
    failsAtTheNonce("500");
    Sim.SetRawReplies(TSimRequest::Nonce, {"0011 2233"});
    failsAtTheNonce("a blank in the nonce");
    Sim.SetRawReplies(TSimRequest::Nonce, {});
    Sim.SetDrop(TSimRequest::Nonce, 10, 1);
    failsAtTheNonce("the nonce cut off");
    EXPECT_EQ(Sim.Announcement(2), "");
}

// No slot chosen: nothing is asked of the device, the status line is
// emptied and the file goes, as after every upload: no announcement is left
// lying about. An address of eight characters or fewer is refused before
// the slot is asked for.
TEST_F(AnnouncementUpload, NoSlotOrNoAddressSendsNothing) {
    auto ui = Upload(-1);
    EXPECT_EQ(ui->Seen(), (std::vector<std::string>{"slot", "status:", Finished(TUploadResult::NoSlot)}));
    EXPECT_FALSE(Temp.Exists("record.wav"));
    Temp.Write("record.wav", Wav);
    ui = Upload(0);
    EXPECT_EQ(Result, TUploadResult::NoSlot);
    EXPECT_FALSE(Temp.Exists("record.wav"));
    Temp.Write("record.wav", Wav);
    ui = Upload(4, "10.0.0.1");
    EXPECT_EQ(ui->Seen(), (std::vector<std::string>{"status:IDS_NOURL", Finished(TUploadResult::NoAddress)}));
    EXPECT_TRUE(Requests().empty());
    EXPECT_FALSE(Temp.Exists("record.wav"));
}

// An upload stopped while the user chooses the slot sends nothing, says
// nothing and leaves no file.
TEST_F(AnnouncementUpload, StoppedWhileTheSlotIsChosen) {
    class TSlowChoice : public TRecordingUploadUi {
    public:
        TSlowChoice() : TRecordingUploadUi(3) {}
        int ChooseSlot() override {
            Asked.set_value();
            Chosen.get_future().wait();
            return TRecordingUploadUi::ChooseSlot();
        }
        std::promise<void> Asked, Chosen;
    };
    auto ui = std::make_shared<TSlowChoice>();
    std::future<void> asked = ui->Asked.get_future();
    auto* thread = new POSTThread(Path(), TUploadSettings{"http://127.0.0.1", "47150392"}, ui);
    ASSERT_EQ(asked.wait_for(std::chrono::seconds(30)), std::future_status::ready);
    thread->Terminate();  // freed only once the slot is chosen
    ui->Chosen.set_value();
    EXPECT_EQ(ui->Wait(), TUploadResult::Stopped);
    EXPECT_EQ(ui->Seen(), (std::vector<std::string>{"slot", Finished(TUploadResult::Stopped)}));
    EXPECT_TRUE(Requests().empty());
    EXPECT_FALSE(Temp.Exists("record.wav"));
}

// A file that cannot be read is a failure the user is told of, before the
// device is asked anything.
TEST_F(AnnouncementUpload, AMissingFileIsAFailure) {
    std::filesystem::remove(Path());
    const auto ui = Upload(6);
    EXPECT_EQ(ui->Seen(), (std::vector<std::string>{"slot", "status:IDS_ANNOUNCE_SEND", "error",
                                                    "status:", Finished(TUploadResult::Failed)}));
    EXPECT_TRUE(Requests().empty());
}

// At exit an upload waiting for the device gives up at once, without a
// message, and its file goes: whether it waits for the nonce (nothing is
// posted then) or for the answer to the post.
TEST_F(AnnouncementUpload, AnUploadIsStoppedAtExit) {
    auto stopWhileWaiting = [&](TSimRequest Kind, const std::string& Request) {
        SCOPED_TRACE(Request);
        Temp.Write("record.wav", Wav);
        std::promise<void> asked;
        std::once_flag once;
        Sim.SetFault(Kind, TReplyFault::NoAnswer);
        Sim.SetRequestHook([&](const std::string& line) {
            if (line.rfind(Request, 0) == 0) std::call_once(once, [&] { asked.set_value(); });
        });
        auto ui = std::make_shared<TRecordingUploadUi>(7);
        new POSTThread(Path(), TUploadSettings{"http://127.0.0.1", "47150392"}, ui);
        ASSERT_EQ(asked.get_future().wait_for(std::chrono::seconds(30)), std::future_status::ready);
        EXPECT_TRUE(WaitForFreeOnTerminateThreads(10000, true));
        Sim.SetRequestHook(nullptr);
        Sim.SetFault(Kind, TReplyFault::None);
        EXPECT_EQ(ui->Seen(),
                  (std::vector<std::string>{"slot", "status:IDS_ANNOUNCE_SEND", Finished(TUploadResult::Stopped)}));
        EXPECT_FALSE(Temp.Exists("record.wav"));
    };
    stopWhileWaiting(TSimRequest::Nonce, "GET /get_nonce.cgi");
    EXPECT_EQ(Sim.Counters().Upload, 0);
    stopWhileWaiting(TSimRequest::Upload, "POST");
}

// The menu items' checks of the connection frame's address and password.
TEST(AnnouncementAddress, RefusalsInTheirOrder) {
    EXPECT_EQ(AnnouncementAddressRefusal("http://10.0.0.1", "47150392"), "");
    EXPECT_EQ(AnnouncementAddressRefusal("HTTP://10.0.0.1", "47150392"), "");
    EXPECT_EQ(AnnouncementAddressRefusal("10.0.0.1", "47150392"), "");  // passes here, refused by the upload
    EXPECT_EQ(AnnouncementAddressRefusal("1.2.3.4", "47150392"), "IDS_NOURL");
    EXPECT_EQ(AnnouncementAddressRefusal("http://10.0.0.1:80", "47150392"), "IDS_NOURL");
    EXPECT_EQ(AnnouncementAddressRefusal("http://", "47150392"), "IDS_NOURL");
    EXPECT_EQ(AnnouncementAddressRefusal("", ""), "IDS_NOURL");
    EXPECT_EQ(AnnouncementAddressRefusal("http://10.0.0.1", ""), "IDS_NOPASSWORD");
    EXPECT_EQ(AnnouncementAddressRefusal("http://10.0.0.1", "1234567"), "IDS_SHORTPASS");
    EXPECT_EQ(AnnouncementAddressRefusal("http://10.0.0.1", "12345678"), "");
}
