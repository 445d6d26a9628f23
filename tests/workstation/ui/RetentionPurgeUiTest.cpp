// The daily retention purge in the running window, on a clock the test
// moves: the first tick after start, once a day after that, catching up
// after a sleep, nothing while retention is off, the recording being played
// spared, and a database failure reported without ticks piling up.
#include "MediaTestSupport.h"
#include "RecordingsWindowFixture.h"
#include "TimeZoneScope.h"

#include "rtl/DateTime.h"
#include "store/SqliteDb.h"
#include "workstation/Mainunit.h"
#include "workstation/Unitmediaframe.h"
#include "workstation/Unitusers.h"

#include <filesystem>
#include <set>

using namespace mainwindowtest;

namespace {

namespace fs = std::filesystem;

// Retention choices of the users tab.
constexpr int kOff = 0, kOneMonth = 1;

}  // namespace

class RetentionPurge : public RecordingsWindow {
protected:
    void SetUp() override {
        RecordingsWindow::SetUp();
        // One call a day at 08:00 from 2024-03-01 on: 60 days, to 2024-04-29.
        options.StepSeconds = 24 * 3600;
        clock = start;
        SetNowProvider([this] { return clock; });
        Respond("TDeleteDialog", [](TCustomForm*) { return mrOk; });
    }
    void TearDown() override {
        ResetNowProvider();
        RecordingsWindow::TearDown();
    }
    void Start(int Count) {
        MakeStore(Count);
        OpenAs("admin");
        // The test gives every tick itself: the window's own 5-second tick,
        // on the moved clock, would come in between on a slow machine.
        Media()->RodoTimer->SetInterval(24u * 3600 * 1000);
    }
    // The retention period as the administrator picks it on the users tab.
    void ChooseRetention(int Choice) {
        TUsersFrame* users = MainForm->UsersFrame1;
        users->DeleteAfterComboBox->SetItemIndex(Choice);
        users->DeleteAfterComboBoxChange(users->DeleteAfterComboBox);
        ASSERT_EQ(users->RetentionIndex, Choice);
    }
    // The clock moved on by Seconds, then one tick of the timer.
    void TickAfter(double Seconds) {
        clock += Seconds / SecsPerDay;
        Media()->RodoTimerTimer(Media()->RodoTimer);
    }
    // The fixture's recordings of days up to and including Day ("yyyymmdd").
    std::set<std::string> UpTo(const std::string& Day) const {
        std::set<std::string> out;
        for (const std::string& n : names)
            if (n.substr(0, 8) <= Day) out.insert(n);
        return out;
    }
    // A recording of long ago that comes in by hand (as a sync run would).
    std::string AddOld(int Number) {
        const std::string name = "20230101_0900" + std::to_string(10 + Number) + "_201_202.wav";
        fs::copy_file(program.Path("files/" + names.back()), program.Path("files/" + name));
        SqliteDb db;
        db.Open(program.Path("data.db"));
        db.ExecDml("INSERT INTO Files VALUES ('2023-01-01      09:00:00', '201', '202', 1, ?);", {AnsiString(name)});
        return name;
    }

    yorde::test::TimeZoneScope utc{"UTC"};
    const TDateTime start = EncodeDateTime(2024, 5, 10, 12, 0, 0, 0);
    TDateTime clock = 0;
};

TEST_F(RetentionPurge, TheFirstTickAfterStartPurgesThenOnceADay) {
    Start(60);
    ChooseRetention(kOneMonth);
    ASSERT_EQ(Rows(), 60);
    TickAfter(0);  // the start time itself is not yet past
    EXPECT_EQ(Rows(), 60);

    TickAfter(5);
    // A month before 2024-05-10 12:00:05 is 2024-04-10: that whole day goes too.
    const std::set<std::string> old = UpTo("20240410");
    ASSERT_EQ(old.size(), 41u);
    EXPECT_EQ(Deleted(), old);
    EXPECT_EQ(Listed().size(), 19u);
    EXPECT_EQ(Rows(), 19);  // the list shows it at once
    for (const std::string& n : names) EXPECT_EQ(fs::exists(program.Path("files/" + n)), !old.count(n)) << n;
    EXPECT_TRUE(Media()->RodoTimer->Enabled());

    // Not again the same day.
    const std::string late = AddOld(1);
    TickAfter(5);
    TickAfter(3600);
    EXPECT_TRUE(Listed().count(late));

    // A day after the first due time: the next day of recordings and the late one.
    TickAfter(24 * 3600);
    std::set<std::string> expected = UpTo("20240411");
    expected.insert(late);
    EXPECT_EQ(Deleted(), expected);
    EXPECT_EQ(Rows(), 18);
}

TEST_F(RetentionPurge, OffTouchesNothingYetTheDayMovesOnAndASleepIsCaughtUp) {
    Start(60);
    ChooseRetention(kOff);
    TickAfter(5);
    EXPECT_EQ(Listed().size(), 60u);
    EXPECT_TRUE(Deleted().empty());

    // Switched on the same day: the day's due time has passed already.
    ChooseRetention(kOneMonth);
    TickAfter(5);
    EXPECT_EQ(Listed().size(), 60u);

    // Three days asleep: three ticks in a row are due, the fourth is not.
    clock += 3;
    for (int tick = 1; tick <= 4; ++tick) {
        SCOPED_TRACE(tick);
        const std::string late = AddOld(tick);
        TickAfter(5);
        EXPECT_EQ(Listed().count(late), tick <= 3 ? 0u : 1u);
    }
    std::set<std::string> deleted = Deleted();
    EXPECT_EQ(deleted.size(), UpTo("20240413").size() + 3);
}

TEST_F(RetentionPurge, TheRecordingBeingPlayedStaysUntilItIsNoLongerPlayed) {
    options.Milliseconds = 20000;
    mediatest::AudioEnv env({{"SDL_AUDIODRIVER", "dummy"}});
    Start(10);
    ChooseRetention(kOneMonth);
    ClickHeader(0);  // oldest first
    Grid()->SetRow(4);
    const std::string played = names[3];
    Media()->PlayImageClick(nullptr);
    ASSERT_EQ(Media()->MediaPlayer->Mode(), mpPlaying);

    TickAfter(5);
    EXPECT_EQ(Listed(), std::set<std::string>{played});
    EXPECT_TRUE(fs::exists(program.Path("files/" + played)));
    // Still the selected row and still open in the player.
    ASSERT_EQ(Rows(), 1);
    EXPECT_EQ(Grid()->Row(), 1);
    EXPECT_EQ(Grid()->Cells(4, 1), played);
    EXPECT_NE(Media()->MediaPlayer->Mode(), mpNotReady);
    EXPECT_TRUE(Media()->ExportImage->Visible());

    // Paused is still being listened to: the next day spares it as well.
    Media()->PlayImageClick(nullptr);
    Media()->PauseImageClick(nullptr);
    ASSERT_EQ(Media()->MediaPlayer->Mode(), mpPaused);
    TickAfter(24 * 3600);
    EXPECT_EQ(Listed(), std::set<std::string>{played});
    EXPECT_TRUE(fs::exists(program.Path("files/" + played)));
    EXPECT_EQ(Grid()->Cells(4, Grid()->Row()), played);

    // The day after, no longer played, it goes, and the player with it, and
    // its deciphered copy.
    Media()->StopImageClick(nullptr);
    ASSERT_TRUE(fs::exists(temp.Path("tmp.wav")));
    TickAfter(24 * 3600);
    EXPECT_TRUE(Listed().empty());
    EXPECT_EQ(Rows(), 0);
    ExpectNothingOpen();
    EXPECT_FALSE(fs::exists(temp.Path("tmp.wav")));
}

TEST_F(RetentionPurge, ADatabaseFailureIsReportedWithNoTickInBetween) {
    Start(5);
    ChooseRetention(kOneMonth);
    program.Write("data.db", std::string(4096, 'x'));
    std::vector<bool> timerDuringMessage;
    Respond("TMessageDialog", [&](TCustomForm*) {
        timerDuringMessage.push_back(Media()->RodoTimer->Enabled());
        return mrOk;
    });
    TakeSeen();
    TickAfter(5);
    const auto shown = TakeSeen();
    // The purge's message, then the list's, which is filled again all the same.
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].Text, "An error occurred during an operation in the database.");
    EXPECT_EQ(timerDuringMessage, (std::vector<bool>{false, false}));
    EXPECT_TRUE(Media()->RodoTimer->Enabled());
    // The next purge is a day away.
    TickAfter(5);
    EXPECT_TRUE(TakeSeen().empty());
}
