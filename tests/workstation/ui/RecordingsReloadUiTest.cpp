// The recordings list filled again in the background, as a sync run asks
// for it: the same rows, order, selection and player as a refill, the list
// unchanged until they are read, a reload asked again read once more, one
// overtaken by a refill or a deletion not shown, and a run's recordings
// listed without a reading on the GUI thread.
#include "RecordingsWindowFixture.h"

#include "DeviceSim.h"
#include "classes/Thread.h"
#include "devicelink/SyncRun.h"
#include "net/HttpClient.h"
#include "store/RecordingNames.h"
#include "store/SqliteDb.h"
#include "workstation/Mainunit.h"
#include "workstation/Unitconnect.h"
#include "workstation/Unitdelete.h"
#include "workstation/Unitfiltr.h"
#include "workstation/Unitmediaframe.h"
#include "workstation/Unitstatus.h"

#include <sys/stat.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <vector>

using namespace mainwindowtest;

namespace {

// What a user sees of the list.
struct ListState {
    std::vector<std::vector<std::string>> Cells;
    int Row = -1, TopRow = -1, FixedRows = -1;
    bool operator==(const ListState&) const = default;
};

void PrintTo(const ListState& s, std::ostream* os) {
    *os << s.Cells.size() << " rows, row " << s.Row << ", top " << s.TopRow << ", fixed " << s.FixedRows;
}

// Counts the list's statements as they are compiled, on and off the GUI thread.
class ListReadings {
public:
    ListReadings() {
        SetSqlStatementObserver([this](const char* Sql) {
            const std::string sql = Sql;
            if (sql.rfind("SELECT * FROM Files ", 0) != 0 && sql.rfind("SELECT T1.Data", 0) != 0) return;
            ++(IsMainThread() ? OnGui : Away);
        });
    }
    ~ListReadings() { SetSqlStatementObserver({}); }
    std::atomic<int> OnGui{0}, Away{0};
};

}  // namespace

class RecordingsReload : public RecordingsWindow {
protected:
    void SetUp() override {
        RecordingsWindow::SetUp();
        Respond("TDeleteDialog", [](TCustomForm*) { return mrOk; });
    }
    ListState State() const {
        ListState s;
        for (int r = 0; r < Grid()->RowCount(); ++r) {
            s.Cells.emplace_back();
            for (int c = 0; c < Grid()->ColCount(); ++c) s.Cells.back().push_back(Grid()->Cells(c, r));
        }
        s.Row = Grid()->Row();
        s.TopRow = Grid()->TopRow();
        s.FixedRows = Grid()->FixedRows();
        return s;
    }
    void Reload() {
        Media()->RefreshRecordingsInBackground();
        ASSERT_TRUE(PumpUntil([&] { return !Media()->ReloadUnderWay(); }));
    }
    // The recordings of names[From..] leave data.db (their files stay), to
    // arrive one by one with Arrive; TakeBack withholds the last arrived again.
    void Withhold(size_t From) {
        withheld.assign(names.begin() + long(From), names.end());
        for (const std::string& name : withheld) Remove(name);
    }
    void Arrive(size_t Count) {
        SqliteDb db;
        db.Open(program.Path("data.db"));
        for (size_t i = 0; i < Count && !withheld.empty(); ++i) {
            const TRecordingRow row = RecordingRowFromName(withheld.front(), 1625 * 5);
            db.ExecDml("INSERT INTO Files(Data, AbA, AbB, Czas, Filename) VALUES(?, ?, ?, ?, ?);",
                       {row.Data, row.AbA, row.AbB, std::int64_t(row.Czas), row.Filename});
            arrived.push_back(withheld.front());
            withheld.erase(withheld.begin());
        }
    }
    void TakeBack(size_t Count) {
        for (size_t i = 0; i < Count && !arrived.empty(); ++i) {
            Remove(arrived.back());
            withheld.insert(withheld.begin(), arrived.back());
            arrived.pop_back();
        }
    }
    void Remove(const std::string& Name) {
        SqliteDb db;
        db.Open(program.Path("data.db"));
        db.ExecDml("DELETE FROM Files WHERE Filename = ?;", {Name});
    }

    std::vector<std::string> arrived;
    std::vector<std::string> withheld;
};

TEST_F(RecordingsReload, RowsOrderSelectionAndPlayerAreThoseOfARefill) {
    MakeStore(40);
    Withhold(30);
    OpenAs("admin");
    // The default order, a header sort, the address-book layout; a kept
    // selection (row 2 on), and the first row, after which the last is current.
    const auto cases = {std::pair{0, 5}, std::pair{0, 1}, std::pair{1, 7}, std::pair{2, 2}, std::pair{2, 1}};
    for (const auto& [layout, row] : cases) {
        SCOPED_TRACE(std::to_string(layout) + " " + std::to_string(row));
        if (layout == 1) ClickHeader(0);
        if (layout == 2) Filter()->ABookCheckBox->SetChecked(true);
        Grid()->SetRow(row);
        const ListState before = State();
        Arrive(2);
        Media()->RefreshRecordingsInBackground();
        EXPECT_TRUE(Media()->ReloadUnderWay());
        EXPECT_EQ(State(), before) << "the list as it was until the rows are read";
        ASSERT_TRUE(PumpUntil([&] { return !Media()->ReloadUnderWay(); }));
        const ListState reloaded = State();
        // The same from the same list by a refill.
        TakeBack(2);
        Media()->RefreshRecordings();
        Grid()->SetRow(row);
        // (A header sort's mark goes with any refill.)
        const ListState again = State();
        ASSERT_TRUE(
            std::equal(before.Cells.begin() + 1, before.Cells.end(), again.Cells.begin() + 1, again.Cells.end()));
        Arrive(2);
        Media()->RefreshRecordings();
        EXPECT_EQ(State(), reloaded);
    }

    // The recording open stays open and stopped, nothing deciphered again,
    // and the download's progress stays on the status line.
    Grid()->SetRow(4);
    const auto inode = [&] {
        struct stat st {};
        ::stat(temp.Path("tmp.wav").c_str(), &st);
        return st.st_ino;
    };
    const auto opened = inode();
    ASSERT_NE(opened, 0u);
    MainForm->StatusFrameBottom->StatusLabel->SetCaption("Downloading 3 from 12 (41%)");
    Arrive(2);
    Reload();
    EXPECT_EQ(Grid()->Row(), 4);
    EXPECT_EQ(inode(), opened);
    EXPECT_EQ(Media()->MediaPlayer->Mode(), mpStopped);
    EXPECT_TRUE(Media()->ExportImage->Visible());
    EXPECT_EQ(Status(), "Downloading 3 from 12 (41%)");
    EXPECT_EQ(Rows(), 40);

    // Another recording chosen while the rows are read stays chosen.
    Media()->RefreshRecordingsInBackground();
    Grid()->SetRow(9);
    const AnsiString chosen = Grid()->Cells(6, 9);
    ASSERT_TRUE(PumpUntil([&] { return !Media()->ReloadUnderWay(); }));
    EXPECT_EQ(Grid()->Cells(6, Grid()->Row()), chosen);
}

TEST_F(RecordingsReload, AskedAgainWhileReadingItReadsOnceMoreWithWhatArrivedMeanwhile) {
    MakeStore(10);
    Withhold(6);
    OpenAs("admin");
    ListReadings readings;
    Media()->RefreshRecordingsInBackground();
    Arrive(4);
    Media()->RefreshRecordingsInBackground();
    Media()->RefreshRecordingsInBackground();
    ASSERT_TRUE(PumpUntil([&] { return !Media()->ReloadUnderWay(); }));
    EXPECT_EQ(readings.Away.load(), 2);
    EXPECT_EQ(readings.OnGui.load(), 0);
    EXPECT_EQ(Rows(), 10);
}

TEST_F(RecordingsReload, ARefillOrADeletionMeanwhileKeepsWhatTheReadingBroughtFromShowing) {
    MakeStore(8);
    OpenAs("admin");
    ListReadings readings;
    // A filter applied meanwhile: its list stays, nothing is read again.
    Media()->RefreshRecordingsInBackground();
    Filter()->filtrAbAEdit->SetText("201");
    Filter()->fultrujBitBtnClick(nullptr);
    const ListState filtered = State();
    ASSERT_LT(Rows(), 8);
    ASSERT_TRUE(PumpUntil([&] { return !Media()->ReloadUnderWay(); }));
    EXPECT_EQ(State(), filtered);
    EXPECT_EQ(readings.Away.load(), 1);

    // A recording deleted meanwhile: read again, so that it cannot come back.
    Filter()->filtrAbAEdit->SetText("");
    Filter()->fultrujBitBtnClick(nullptr);
    Grid()->SetRow(3);
    const std::string deleted = Grid()->Cells(4, 3);
    Media()->RefreshRecordingsInBackground();
    Media()->DeleteImageClick(nullptr);
    ASSERT_EQ(Rows(), 7);
    ASSERT_TRUE(PumpUntil([&] { return !Media()->ReloadUnderWay(); }));
    EXPECT_EQ(readings.Away.load(), 3);
    EXPECT_EQ(Rows(), 7);
    const auto files = Column(4);
    EXPECT_EQ(std::count(files.begin(), files.end(), AnsiString(deleted)), 0);
}

TEST_F(RecordingsReload, ASyncRunsRecordingsAreListedWithoutAReadingOnTheGuiThread) {
    MakeStore(5);
    NetInit();
    TDeviceSimulator sim;
    sim.SetPassword("47150392");
    for (int i = 0; i < 12; ++i)
        sim.AddRecording("20250301_0800" + std::to_string(10 + i) + "_10_20_.wav", std::string(6000, 'a'));
    ASSERT_TRUE(sim.Start(0));
    SetSyncBaseOverride(sim.BaseUrl());
    OpenAs("admin");
    Grid()->SetRow(2);
    const AnsiString selected = Grid()->Cells(4, 2);
    ListReadings readings;
    TConnectFrame* link = MainForm->ConnectFrame1;
    link->RefreshSeconds = 3600;
    link->SerwerIPEdit->SetText("http://127.0.0.2");
    link->HasloEdit->SetText("47150392");
    link->ConnectBitBtnClick(nullptr);
    // Once the run's thread has ended, what it asked for is queued; the
    // reload it asked for then comes.
    const bool ended = PumpUntil([&] { return !link->RunUnderWay(); });
    CheckSynchronize();
    const bool reloaded = PumpUntil([&] { return !Media()->ReloadUnderWay(); });
    SetSyncBaseOverride("");
    sim.Stop();
    ASSERT_TRUE(ended && reloaded);
    EXPECT_EQ(Rows(), 17);
    EXPECT_EQ(Grid()->Cells(4, Grid()->Row()), selected);
    EXPECT_GE(readings.Away.load(), 1);
    EXPECT_EQ(readings.OnGui.load(), 0);
}
