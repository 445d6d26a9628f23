// The storage quota at the end of a sync run: applied after the downloads,
// after a failed or refused run too, skipped by a run that was stopped.
#include "SimStore.h"
#include "SyncTestSupport.h"

#include "devicelink/StorageQuota.h"

#include <filesystem>
#include <future>

using namespace synctest;

namespace {

class SyncQuotaTest : public SyncTest {
protected:
    // Ten recordings of a tenth of a step each: one step, the limit of a quota of 1.
    void StoreOneStep() {
        devicesim::TStoreOptions options;
        options.Count = 10;
        options.FileBytes = kQuotaStepBytes / 10;
        Names = devicesim::WriteStoredRecordings(Program.Root(), options);
    }
    std::vector<std::string> Names;
};

}  // namespace

// New recordings arrive first; then the oldest stored one goes, except the
// one in the player, and the list is filled again once.
TEST_F(SyncQuotaTest, AfterTheDownloadTheOldestGoExceptTheOneInThePlayer) {
    StoreOneStep();
    Offer("20240401_090000_11_12_.wav", 4000);
    Offer("20240401_091500_11_13_.wav", 4000);
    Quota = 1;
    InUse = Names[0];
    const auto ui = Run();

    EXPECT_TRUE(Program.Exists("files/" + Names[0]));
    EXPECT_FALSE(Program.Exists("files/" + Names[1]));
    EXPECT_TRUE(Program.Exists("files/" + Names[2]));
    EXPECT_TRUE(Program.Exists("files/20240401_090000_11_12_.wav"));
    EXPECT_TRUE(Program.Exists("files/20240401_091500_11_13_.wav"));
    const std::vector<TFilesRow> rows = FilesRows();
    ASSERT_EQ(rows.size(), 11u);
    EXPECT_TRUE(std::none_of(rows.begin(), rows.end(), [&](const TFilesRow& r) { return r.Filename == Names[1]; }));
    EXPECT_EQ(ui->Count("reload"), 1);
    EXPECT_TRUE(ui->HasLine("Quota: deleted " + Names[1]));
    EXPECT_EQ(ui->Events().back(), "finished");

    // Under the limit now: the next run deletes nothing and fills nothing.
    const auto again = Run();
    EXPECT_EQ(FilesRows().size(), 11u);
    EXPECT_FALSE(again->Has("reload"));
}

// A run refused by old firmware still ends with the quota, and fills the
// list again because a recording went.
TEST_F(SyncQuotaTest, OldFirmwareStillEndsUnderTheQuota) {
    StoreOneStep();
    Sim.SetFirmwareVersion("1.9.8");
    Quota = 1;
    const auto ui = Run();
    EXPECT_EQ(ui->LastMessage(), "IDS_OLDFIRMWARE");
    EXPECT_FALSE(Program.Exists("files/" + Names[0]));
    EXPECT_EQ(FilesRows().size(), 9u);
    EXPECT_TRUE(ui->Has("reload"));
    EXPECT_EQ(Sim.Requests().size(), 1u);
}

// A stopped run skips the rest of its work, the quota included.
TEST_F(SyncQuotaTest, AStoppedRunDeletesNothing) {
    StoreOneStep();
    Quota = 1;
    std::promise<void> asked;
    std::once_flag once;
    Sim.SetFault(TSimRequest::Preload, TReplyFault::NoAnswer);
    Sim.SetRequestHook([&](const std::string&) { std::call_once(once, [&] { asked.set_value(); }); });
    auto ui = std::make_shared<TRecordingUi>();
    std::unique_ptr<HTTPThread> run = Start(ui);
    ASSERT_EQ(asked.get_future().wait_for(std::chrono::seconds(30)), std::future_status::ready);
    run->Cancel();
    ASSERT_TRUE(ui->WaitFinished());
    run.reset();
    Sim.SetRequestHook(nullptr);

    EXPECT_EQ(FilesRows().size(), 10u);
    for (const std::string& name : Names) EXPECT_TRUE(Program.Exists("files/" + name)) << name;
    EXPECT_FALSE(ui->Has("reload"));
}

// The end of a run sees the folder as it is then, though the run listed it
// at its start: a recording that came meanwhile (an import, say) counts,
// and one removed meanwhile does not. And a folder one byte short of the
// limit loses nothing, whatever its rows suggest.
TEST_F(SyncQuotaTest, WhatChangesDuringTheRunCountsAtItsEnd) {
    devicesim::TStoreOptions options;
    options.Count = 9;
    options.FileBytes = kQuotaStepBytes / 10;
    Names = devicesim::WriteStoredRecordings(Program.Root(), options);
    const std::string imported = "20240301_093000_201_202_.wav";
    Offer("20240401_090000_11_12_.wav", 3000);
    Quota = 1;
    Sim.SetRequestHook([&](const std::string& line) {
        if (line.find("/record.cgi?") == std::string::npos) return;
        Program.Write("files/" + imported, "RIFF");
        std::filesystem::resize_file(Program.Path("files/" + imported), kQuotaStepBytes / 10);
    });
    auto ui = Run();
    Sim.SetRequestHook(nullptr);
    EXPECT_TRUE(ui->HasLine("Quota: deleted " + Names[0]));
    EXPECT_FALSE(Program.Exists("files/" + Names[0]));
    EXPECT_TRUE(Program.Exists("files/" + imported));

    // Over the limit until the run removes one of its own meanwhile.
    std::filesystem::resize_file(Program.Path("files/" + imported), kQuotaStepBytes / 5);
    Offer("20240401_091500_11_13_.wav", 3000);
    Sim.SetRequestHook([&](const std::string& line) {
        if (line.find("/record.cgi?") != std::string::npos) std::filesystem::remove(Program.Path("files/" + Names[1]));
    });
    ui = Run();
    Sim.SetRequestHook(nullptr);
    EXPECT_FALSE(ui->HasLine("Quota: deleted " + Names[2]));
    EXPECT_TRUE(Program.Exists("files/" + Names[2]));

    // Rows whose seconds allow more than the files hold: the files are
    // looked at, and one byte short of the limit nothing goes.
    std::filesystem::resize_file(Program.Path("files/" + imported),
                                 kQuotaStepBytes - 7 * (kQuotaStepBytes / 10) - 3000 - 3000 - 1);
    ui = Run();
    EXPECT_FALSE(ui->HasLine("Quota: deleted " + Names[2]));
    std::filesystem::resize_file(Program.Path("files/" + imported),
                                 kQuotaStepBytes - 7 * (kQuotaStepBytes / 10) - 3000 - 3000);
    ui = Run();
    EXPECT_TRUE(ui->HasLine("Quota: deleted " + Names[2]));
}
