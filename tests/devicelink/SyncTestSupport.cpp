#include "SyncTestSupport.h"

#include "store/LocalDatabases.h"
#include "store/SqliteDb.h"
#include "store/SqliteStatement.h"

#include <algorithm>
#include <chrono>
#include <filesystem>

namespace synctest {

void TRecordingUi::add(std::string Event) {
    {
        std::lock_guard lk(Mu);
        Events_.push_back(std::move(Event));
        LastSign = std::chrono::steady_clock::now();
    }
    Cv.notify_all();
}

void TRecordingUi::Log(const AnsiString& Line) {
    {
        std::lock_guard lk(Mu);
        Lines_.push_back(Line);
        LastSign = std::chrono::steady_clock::now();
    }
    Cv.notify_all();
}

void TRecordingUi::ShowMessage(const AnsiString& Key) { add("message:" + Key); }
void TRecordingUi::ShowFileMessage(const AnsiString& Key, const AnsiString& FileName) {
    add("message:" + Key + " " + FileName);
}
void TRecordingUi::ShowLinkStatus(const AnsiString& Key, const AnsiString& Suffix) { add("link:" + Key + Suffix); }
void TRecordingUi::ShowProgress(int64_t FileNumber, int64_t FileCount, int Percent) {
    add("progress:" + std::to_string(FileNumber) + "/" + std::to_string(FileCount) + "/" + std::to_string(Percent));
}
void TRecordingUi::SetFileCount(int64_t Count) { add("count:" + std::to_string(Count)); }
void TRecordingUi::StepFile() { add("step"); }
void TRecordingUi::ClearProgress() { add("clear"); }
void TRecordingUi::ShowSdState(const TSdReply& Sd) {
    add("sd:" + std::to_string(Sd.State) + "/" + std::to_string(Sd.CardSize) + "/" + std::to_string(Sd.RecSize));
}
void TRecordingUi::ResetSdState() { add("sd:reset"); }
void TRecordingUi::ResetToConnect() { add("reset"); }
void TRecordingUi::ReloadList() {
    if (WhenReloaded) WhenReloaded();
    add("reload");
}
void TRecordingUi::RunFinished() {
    {
        std::lock_guard lk(Mu);
        Events_.push_back("finished");
        Finished = true;
    }
    Cv.notify_all();
}

bool TRecordingUi::WaitFinished() {
    std::unique_lock lk(Mu);
    const auto until = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    LastSign = std::chrono::steady_clock::now();
    while (!Finished) {
        const auto stuck = LastSign + kLongestSilence;
        if (std::chrono::steady_clock::now() >= std::min(stuck, until)) {
            ADD_FAILURE() << "the run " << (stuck <= until ? "went silent" : "took a minute") << " after "
                          << (Lines_.empty() ? std::string("no log line") : "\"" + Lines_.back() + "\"");
            return false;
        }
        Cv.wait_until(lk, std::min(stuck, until));
    }
    return true;
}

bool TRecordingUi::WaitForLog(const std::string& Prefix) {
    std::unique_lock lk(Mu);
    return Cv.wait_for(lk, std::chrono::minutes(1), [&] {
        return std::any_of(Lines_.begin(), Lines_.end(), [&](const std::string& l) { return l.rfind(Prefix, 0) == 0; });
    });
}

bool TRecordingUi::WaitForEvents(const std::string& Event, int Count, std::chrono::seconds Longest) {
    std::unique_lock lk(Mu);
    return Cv.wait_for(lk, Longest, [&] { return std::count(Events_.begin(), Events_.end(), Event) >= Count; });
}

std::vector<std::string> TRecordingUi::Events() const {
    std::lock_guard lk(Mu);
    return Events_;
}

std::vector<std::string> TRecordingUi::Lines() const {
    std::lock_guard lk(Mu);
    return Lines_;
}

int TRecordingUi::Count(const std::string& Event) const {
    std::lock_guard lk(Mu);
    return int(std::count(Events_.begin(), Events_.end(), Event));
}

bool TRecordingUi::HasLine(const std::string& Line) const {
    std::lock_guard lk(Mu);
    return std::find(Lines_.begin(), Lines_.end(), Line) != Lines_.end();
}

std::string TRecordingUi::LastMessage() const {
    std::lock_guard lk(Mu);
    for (auto it = Events_.rbegin(); it != Events_.rend(); ++it)
        if (it->rfind("message:", 0) == 0) return it->substr(8);
    return "(none)";
}

void SyncTest::SetUp() {
    NetInit();
    Program.MakeDir("files");
    ASSERT_EQ(PrepareLocalDatabases(Program.Root()).ExitCode, DB_READY);
    Sim.SetPassword("47150392");
    Sim.SetPageSize(10);
    ASSERT_TRUE(Sim.Start(0));
    SetSyncBaseOverride(Sim.BaseUrl());
}

void SyncTest::TearDown() {
    SetSyncBaseOverride("");
    Sim.Stop();
}

std::unique_ptr<HTTPThread> SyncTest::Start(std::shared_ptr<TRecordingUi> Ui, const std::string& Password) {
    // The address the user typed; the override sends the run to the simulator's port.
    TSyncSettings settings{"http://127.0.0.1",
                           Password,
                           Program.Root(),
                           [this] { return Quota.load(); },
                           [this] {
                               std::lock_guard lk(InUseMutex);
                               return InUse;
                           },
                           FreeSpace};
    return std::make_unique<HTTPThread>(settings, std::move(Ui));
}

std::shared_ptr<TRecordingUi> SyncTest::Run(const std::string& Password) {
    auto ui = std::make_shared<TRecordingUi>();
    std::unique_ptr<HTTPThread> run = Start(ui, Password);
    EXPECT_TRUE(ui->WaitFinished());
    run.reset();
    return ui;
}

std::string SyncTest::Bytes(size_t Size, unsigned Seed) {
    std::string s(Size, '\0');
    for (size_t i = 0; i < Size; ++i) s[i] = char((i * 131 + Seed * 7919 + i / 251) & 0xff);
    return s;
}

std::string SyncTest::Offer(const std::string& Name, size_t Size) {
    std::string bytes = Bytes(Size, unsigned(std::hash<std::string>()(Name)));
    Sim.AddRecording(Name, bytes);
    return bytes;
}

std::vector<TFilesRow> SyncTest::FilesRows() {
    SqliteDb db;
    db.Open(Program.Path("data.db"));
    SqliteStatement q(db, "SELECT Data, AbA, AbB, Czas, Filename FROM Files ORDER BY Filename;");
    std::vector<TFilesRow> rows;
    while (q.Step())
        rows.push_back({q.ColumnText(0), q.ColumnText(1), q.ColumnText(2), int(q.ColumnInt64(3)), q.ColumnText(4)});
    return rows;
}

void SyncTest::Exec(const std::string& Sql) {
    SqliteDb db;
    db.Open(Program.Path("data.db"));
    db.ExecDml(Sql);
}

std::vector<std::string> SyncTest::StoredFiles() const {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(Program.Path("files")))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> SyncTest::FetchedFiles() const {
    std::vector<std::string> names;
    for (const TSimLogEntry& e : Sim.Log()) {
        if (e.Path != "/record.cgi") continue;
        const size_t at = e.Query.find("&file=");
        names.push_back(at == std::string::npos ? std::string() : e.Query.substr(at + 6));
    }
    return names;
}

}  // namespace synctest
