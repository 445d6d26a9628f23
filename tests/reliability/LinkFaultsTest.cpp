// Sync runs against an exchange that misbehaves: every error status at
// every step, connections cut or stalled in the middle of a recording, and
// a record list that changes while a run reads it. Whatever happens, a
// recording is either in "files" whole and registered once, or absent and
// fetched by a later run; nothing half written is kept.
#include "SyncTestSupport.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <functional>
#include <map>
#include <mutex>
#include <random>

using namespace synctest;

namespace {

std::string Name(int Day, int Index) {
    char text[64];
    std::snprintf(text, sizeof text, "202405%02d_%02d%02d00_%d_%d_.wav", Day, 8 + Index / 60, Index % 60, 300 + Index,
                  400 + Index);
    return text;
}

class LinkFaults : public SyncTest {
protected:
    void TearDown() override {
        SetSyncReadTimeoutOverride(0);
        SyncTest::TearDown();
    }

    // Files recordings spread over three days; their bytes by name.
    void OfferMany(int Count, size_t Size) {
        for (int i = 0; i < Count; ++i) {
            const std::string name = Name(1 + i * 3 / Count, i);
            Offered[name] = Offer(name, Size + size_t(i) * 37);
        }
    }

    // What is wrong with the store: a ".part" left, a file not whole, a row
    // twice or without its file, a file of no offered recording.
    std::vector<std::string> Damage() {
        std::vector<std::string> found;
        for (const std::string& name : StoredFiles()) {
            if (name.ends_with(".part"))
                found.push_back("left: " + name);
            else if (!Offered.count(name))
                found.push_back("not offered: " + name);
            else if (Program.Read("files/" + name) != Offered[name])
                found.push_back("not whole: " + name);
        }
        std::map<std::string, int> rows;
        for (const TFilesRow& row : FilesRows()) ++rows[row.Filename];
        for (const auto& [name, count] : rows) {
            if (count != 1) found.push_back("registered " + std::to_string(count) + " times: " + name);
            if (!Program.Exists("files/" + name)) found.push_back("registered without its file: " + name);
        }
        return found;
    }

    // Every offered recording in the store, and nothing else.
    bool Complete() {
        const std::vector<TFilesRow> rows = FilesRows();
        return Damage().empty() && rows.size() == Offered.size() && StoredFiles().size() == Offered.size();
    }

    std::map<std::string, std::string> Offered;
};

// An error reply and what the user is told of it. Before the exchange is
// known (the preload) every one means the address leads to no exchange;
// later the reply's body names the fault, whatever the status.
struct TErrorReply {
    int Status;
    const char* Body;
    const char* Later;      // the message after the preload
    bool SdUnknown;         // later: the SD card's state goes back to unknown
    bool LinkStaysAtAFile;  // at a recording: the others still come
};

const TErrorReply kErrorReplies[] = {
    {400, "400 Bad Request", "IDS_RECEIVE_ERROR", false, true},
    {403, "403 Forbidden", "IDS_CONNECT_ERROR_2", true, false},
    {404, "404 Not Found", "IDS_CANNOT_RECEIVE", false, true},
    {405, "405 Wrong password", "IDS_WRONG_PASSWORD", true, false},
    {423, "423 Busy", "IDS_BUSY", false, false},
    {500, "500 Internal Server Error", "IDS_CONNECT_ERROR_2", true, false},
    {503, "503 Service Unavailable", "IDS_CONNECT_ERROR_2", true, false},
    {405, "access denied", "IDS_CONNECT_ERROR_2", true, false},
    {500, "404 and 405 and 423", "IDS_WRONG_PASSWORD", true, false},  // the password goes first
};

const char* StepName(TSimRequest Step) {
    switch (Step) {
    case TSimRequest::Preload: return "preload";
    case TSimRequest::Nonce: return "nonce";
    case TSimRequest::SdData: return "SD state";
    case TSimRequest::RecordList: return "record list";
    case TSimRequest::Record: return "recording";
    default: return "upload";
    }
}

}  // namespace

// Each error status at each step gives its message, keeps nothing half
// written, and a later run, with the exchange well again, brings all.
TEST_F(LinkFaults, EveryErrorStatusAtEveryStep) {
    OfferMany(4, 3000);
    int injected = 0;
    for (TSimRequest step : {TSimRequest::Preload, TSimRequest::Nonce, TSimRequest::SdData, TSimRequest::RecordList,
                             TSimRequest::Record}) {
        for (const TErrorReply& reply : kErrorReplies) {
            SCOPED_TRACE(std::string(StepName(step)) + ": " + std::to_string(reply.Status) + " \"" + reply.Body + "\"");
            Sim.SetRawReplies(step, {reply.Body}, reply.Status);
            auto ui = Run();
            ++injected;
            const bool preload = step == TSimRequest::Preload;
            EXPECT_EQ(ui->LastMessage(), preload ? "IDS_CONNECT_ERROR_2" : reply.Later);
            EXPECT_EQ(ui->Has("reset"), !(step == TSimRequest::Record && reply.LinkStaysAtAFile));
            EXPECT_EQ(ui->Has("sd:reset"), !preload && reply.SdUnknown);
            for (const std::string& d : Damage()) ADD_FAILURE() << d;
            EXPECT_TRUE(FilesRows().empty());

            Sim.SetRawReplies(step, {});
            ui = Run();
            EXPECT_EQ(ui->LastMessage(), "");
            EXPECT_TRUE(Complete());
            // Anew for the next case.
            Exec("DELETE FROM Files;");
            for (const std::string& name : StoredFiles()) std::filesystem::remove(Program.Path("files/" + name));
        }
    }
    RecordProperty("error replies", injected);
    std::printf("error replies injected: %d\n", injected);
}

// Connections cut in the middle of recordings, at random places and up to
// five times in a row for one file: each file is asked again and arrives
// whole; nothing of a broken attempt stays in front of its bytes.
TEST_F(LinkFaults, CutsInTheMiddleOfBodies) {
    OfferMany(30, 9000);
    std::mt19937 random(7);
    std::mutex mu;
    std::map<std::string, int> cutsInARow;
    int cuts = 0;
    Sim.SetRequestHook([&](const std::string& line) {
        if (line.find("/record.cgi?") == std::string::npos) return;
        std::lock_guard lk(mu);
        int& inARow = cutsInARow[line.substr(line.find("&file="))];
        if (inARow < 5 && random() % 2 == 0) {
            ++inARow;
            ++cuts;
            Sim.SetDrop(TSimRequest::Record, int64_t(random() % 9000), 1);
        } else {
            inARow = 0;
            Sim.SetDrop(TSimRequest::Record, -1);
        }
    });
    const auto ui = Run();
    Sim.SetRequestHook(nullptr);
    EXPECT_EQ(ui->LastMessage(), "");
    for (const std::string& d : Damage()) ADD_FAILURE() << d;
    EXPECT_TRUE(Complete());
    EXPECT_GT(cuts, 10);
    RecordProperty("cuts", cuts);
    std::printf("bodies cut: %d\n", cuts);
}

// A recording that stops in the middle and stays silent ends the run with
// the time-out message once the silence is long enough; what it had of the
// file goes, and the next run brings everything.
TEST_F(LinkFaults, StallInTheMiddleOfABody) {
    SetSyncReadTimeoutOverride(1500);
    OfferMany(6, 20000);
    Sim.SetPageSize(50);
    const std::string stalled = std::next(Offered.begin(), 3)->first;
    Sim.SetRequestHook([&](const std::string& line) {
        if (line.find(stalled) != std::string::npos) Sim.SetFault(TSimRequest::Record, TReplyFault::StallBody, 1, 7000);
    });
    auto ui = Run();
    Sim.SetRequestHook(nullptr);
    EXPECT_EQ(ui->LastMessage(), "IDS_TIMEOUT");
    for (const std::string& d : Damage()) ADD_FAILURE() << d;
    EXPECT_FALSE(Program.Exists("files/" + stalled));

    ui = Run();
    EXPECT_EQ(ui->LastMessage(), "");
    EXPECT_TRUE(Complete());
}

// Silences shorter than the time-out only make the run slower.
TEST_F(LinkFaults, PausesShorterThanTheTimeOut) {
    SetSyncReadTimeoutOverride(3000);
    OfferMany(1, 2500);
    Sim.SetRequestHook([&](const std::string& line) {
        Sim.SetSlowReplies(line.find("/record.cgi?") != std::string::npos ? 300 : 0, 1000);
    });
    const auto ui = Run();
    Sim.SetRequestHook(nullptr);
    EXPECT_EQ(ui->LastMessage(), "");
    EXPECT_TRUE(Complete());
}

// The exchange's list changes while a run reads it: a call recorded while
// the pages come arrives in the same run; a recording deleted before its
// turn is reported and the others come, with the link left on; one recorded
// after the list was read arrives with the next run.
TEST_F(LinkFaults, ListChangesDuringARun) {
    OfferMany(9, 2000);
    Sim.SetPageSize(3);
    const std::string vanishing = std::next(Offered.begin(), 6)->first;
    const std::string duringList = Name(3, 50), duringDownload = Name(3, 51);
    const std::string listBytes = SyncTest::Bytes(2100, 50), downloadBytes = SyncTest::Bytes(2200, 51);
    std::mutex mu;
    int pages = 0, records = 0;
    Sim.SetRequestHook([&](const std::string& line) {
        std::lock_guard lk(mu);
        if (line.find("/recordlist.cgi?") != std::string::npos && ++pages == 2) Sim.AddRecording(duringList, listBytes);
        if (line.find("/record.cgi?") != std::string::npos && ++records == 1) {
            Sim.RemoveRecording(vanishing);
            Sim.AddRecording(duringDownload, downloadBytes);
        }
    });
    auto ui = Run();
    Sim.SetRequestHook(nullptr);
    EXPECT_EQ(ui->LastMessage(), "IDS_CANNOT_RECEIVE");
    EXPECT_FALSE(ui->Has("reset"));
    Offered[duringList] = listBytes;
    for (const std::string& d : Damage()) ADD_FAILURE() << d;
    EXPECT_TRUE(Program.Read("files/" + duringList) == listBytes);
    EXPECT_FALSE(Program.Exists("files/" + duringDownload));
    EXPECT_EQ(FilesRows().size(), 9u);

    Offered.erase(vanishing);
    Offered[duringDownload] = downloadBytes;
    ui = Run();
    EXPECT_EQ(ui->LastMessage(), "");
    EXPECT_TRUE(Complete());
}

// Sizes the exchange cannot mean (each as large as a double holds exactly,
// two thousand of them) do not keep the run from the recordings it lists.
TEST_F(LinkFaults, ImpossibleSizesDoNotStopTheRun) {
    std::string files;
    for (int i = 0; i < 2000; ++i) files += "{\"n\":\"huge" + std::to_string(i) + ".wav\",\"s\":9007199254740992},";
    const std::string name = Name(1, 1);
    files += "{\"n\":\"" + name + "\",\"s\":3000}";
    Sim.SetRawReplies(TSimRequest::RecordList, {"{\"recordlist\":{\"id\":0,\"files\":[" + files + "]}}"});
    Offered[name] = Offer(name, 3000);
    const auto ui = Run();
    EXPECT_TRUE(Program.Read("files/" + name) == Offered[name]);
    EXPECT_EQ(ui->LastMessage(), "IDS_CANNOT_RECEIVE");  // the huge ones are not on the exchange
}

// A failure in the middle of the downloads (the exchange busy, a refused
// password, an error of its own, a silence, a reset connection) or a stop
// keeps the recordings that had arrived whole, registered; only the one
// being fetched goes. The next run asks only for what is still missing.
TEST_F(LinkFaults, AFailureLaterInARunKeepsWhatArrivedWhole) {
    SetSyncReadTimeoutOverride(1500);
    struct TCase {
        const char* What;
        std::function<void()> Inject;
        const char* Message;
    };
    std::atomic<HTTPThread*> running{nullptr};
    const std::vector<TCase> cases = {
        {"busy", [&] { Sim.SetBusy(true); }, "IDS_BUSY"},
        {"password", [&] { Sim.SetWrongPassword(true); }, "IDS_WRONG_PASSWORD"},
        {"server error", [&] { Sim.SetRawReplies(TSimRequest::Record, {"500 Internal Server Error"}, 500); },
         "IDS_CONNECT_ERROR_2"},
        {"silence", [&] { Sim.SetFault(TSimRequest::Record, TReplyFault::StallBody, 1, 1000); }, "IDS_TIMEOUT"},
        {"reset", [&] { Sim.SetFault(TSimRequest::Record, TReplyFault::Reset); }, "IDS_INT"},
        {"stop",
         [&] {
             Sim.SetFault(TSimRequest::Record, TReplyFault::StallBody, 1, 1000);
             running.load()->Cancel();
         },
         ""},
    };
    constexpr int kFailingFile = 8;  // before the first batch of ten is registered
    OfferMany(12, 3000);
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        std::atomic<int> records{0};
        Sim.SetRequestHook([&](const std::string& line) {
            if (line.find("/record.cgi?") != std::string::npos && ++records == kFailingFile) c.Inject();
        });
        const size_t firstFetch = FetchedFiles().size();
        auto ui = std::make_shared<TRecordingUi>();
        std::unique_ptr<HTTPThread> run = Start(ui);
        running = run.get();
        ASSERT_TRUE(ui->WaitFinished());
        run.reset();
        Sim.SetRequestHook(nullptr);
        EXPECT_EQ(ui->LastMessage(), c.Message);
        for (const std::string& d : Damage()) ADD_FAILURE() << d;
        const std::vector<std::string> stored = StoredFiles();
        EXPECT_EQ(stored.size(), size_t(kFailingFile - 1));
        EXPECT_EQ(FilesRows().size(), size_t(kFailingFile - 1));
        const std::vector<std::string> fetched = FetchedFiles();
        ASSERT_GE(fetched.size(), firstFetch + kFailingFile);
        EXPECT_EQ(stored, std::vector<std::string>(fetched.begin() + long(firstFetch),
                                                   fetched.begin() + long(firstFetch + kFailingFile - 1)));

        Sim.SetBusy(false);
        Sim.SetWrongPassword(false);
        Sim.SetRawReplies(TSimRequest::Record, {});
        Sim.SetFault(TSimRequest::Record, TReplyFault::None);
        const int64_t before = Sim.Counters().Record;
        ui = Run();
        EXPECT_EQ(ui->LastMessage(), "");
        EXPECT_TRUE(Complete());
        EXPECT_EQ(Sim.Counters().Record - before, int64_t(Offered.size()) - (kFailingFile - 1));
        // Anew for the next case.
        Exec("DELETE FROM Files;");
        for (const std::string& name : StoredFiles()) std::filesystem::remove(Program.Path("files/" + name));
    }
}
