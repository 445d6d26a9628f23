// The recordings list and player inside the real main window, over a
// program folder of stored recordings made as the client stores them: what
// each user sees, sorting, colours, the filter tab, opening, playing to the
// end through SDL's disk driver, the player's buttons, and the recordings
// that cannot be opened.
#include "FramesUiSupport.h"
#include "MediaTestSupport.h"
#include "RecordingsWindowFixture.h"

#include "DeviceSim.h"
#include "SimRecordings.h"
#include "SimStore.h"
#include "media/MediaPlayer.h"
#include "media/Volume.h"
#include "qt/QtPlatform.h"
#include "rtl/Folders.h"
#include "store/Recordings.h"
#include "store/SqliteDb.h"
#include "store/Users.h"
#include "vcl/ComboBox.h"
#include "vcl/Grids.h"
#include "workstation/Mainunit.h"
#include "workstation/RecordingInPlayer.h"
#include "workstation/Unitconnect.h"
#include "workstation/Unitfiltr.h"
#include "workstation/Unitmediaframe.h"
#include "workstation/Unitstatus.h"
#include "workstation/Unitusers.h"

#include <sndfile.h>
#include <sys/stat.h>
#include <QAbstractScrollArea>
#include <QImage>
#include <QScrollBar>

#include <algorithm>
#include <cctype>
#include <ctime>
#include <filesystem>

using namespace mainwindowtest;

namespace {

constexpr WORD kReturn = 13, kRight = 39;

}  // namespace

TEST_F(RecordingsWindow, EachUserSeesTheRecordingsOfTheirViewRight) {
    MakeStore(60);
    CreateMainWindow();
    MainForm->Show();
    EXPECT_EQ(Grid()->RowCount(), 1);  // nobody logged in: the header row alone

    LogIn("jan");
    int own = 0;
    for (int i = 0; i < 60; ++i) {
        const devicesim::TStoreCall c = devicesim::StoreCall(i, options);
        own += c.AbA == "201" || c.AbB == "201";
    }
    ASSERT_GT(own, 0);
    EXPECT_EQ(Rows(), own);
    const auto a = Column(1), b = Column(2);
    for (size_t r = 0; r < a.size(); ++r) EXPECT_TRUE(a[r] == "201" || b[r] == "201") << a[r] << " " << b[r];
    EXPECT_EQ(Grid()->Cells(3, 1), "00:00:01");

    LogIn("admin");
    EXPECT_EQ(Rows(), 60);
    EXPECT_EQ(Grid()->ColCount(), 5);
    EXPECT_EQ(Grid()->ColWidths(4), -1);  // the file name stays hidden
}

TEST_F(RecordingsWindow, EveryFillShowsTheScrollBarWhenTheRowsDoNotFit) {
    MakeStore(60);
    auto storeSql = [this](const char* Sql) {
        SqliteDb db;
        db.Open(program.Path("data.db"));
        db.ExecDml(Sql);
    };
    // Nothing stored yet at the login; a sync brings the recordings.
    storeSql("CREATE TABLE Brought AS SELECT * FROM Files;");
    storeSql("DELETE FROM Files;");
    OpenAs("admin");
    auto* area = dynamic_cast<QAbstractScrollArea*>(yorde::qt::WidgetOf(Grid()));
    ASSERT_NE(area, nullptr);
    auto barShown = [area] {
        yorde::test::ProcessEvents();
        return area->verticalScrollBar()->isVisible();
    };
    ASSERT_EQ(Rows(), 0);
    EXPECT_FALSE(barShown());
    storeSql("INSERT INTO Files SELECT * FROM Brought;");
    Media()->RefreshRecordings();  // what a sync run does at its end
    ASSERT_EQ(Rows(), 60);
    EXPECT_TRUE(barShown()) << "after the sync's fill";

    Filter()->filtrAbAEdit->SetText("999");
    Filter()->fultrujBitBtnClick(nullptr);
    EXPECT_EQ(Rows(), 0);
    EXPECT_FALSE(barShown()) << "after a filter that leaves nothing";
    Filter()->wszystkoBitBtnClick(nullptr);
    EXPECT_TRUE(barShown()) << "after show all";
}

TEST_F(RecordingsWindow, DurationsShowAsHoursMinutesSecondsAndANonNumberEndsTheList) {
    MakeStore(10);
    {
        SqliteDb db;
        db.Open(program.Path("data.db"));
        const char* const seconds[] = {"0", "59", "3599", "3725", "90061", "359999", "360000", "-5", "12a", "5"};
        for (int i = 0; i < 10; ++i)
            db.ExecDml("UPDATE Files SET Czas = ? WHERE Filename = ?;", {seconds[i], names[size_t(i)]});
    }
    CreateMainWindow();
    MainForm->Show();
    LogIn("admin");
    ClickHeader(0);  // call i on row i + 1
    // The list stops at the duration that is no number: the rows after it
    // are not shown. Hours go on past 99, each field as "%02d" writes it.
    EXPECT_EQ(Column(3), (std::vector<AnsiString>{"00:00:00", "00:00:59", "00:59:59", "01:02:05", "25:01:01",
                                                  "99:59:59", "100:00:00", "00:00:-5"}));
    EXPECT_EQ(Column(4).back(), names[7]);
}

TEST_F(RecordingsWindow, HeaderClicksSortEachColumnBothWaysAndMarkTheDirection) {
    options.Milliseconds = 500;
    MakeStore(40);
    // Durations that differ, so that the duration column has an order too.
    {
        SqliteDb db;
        db.Open(program.Path("data.db"));
        db.ExecDml("UPDATE Files SET Czas = (rowid * 37) % 11;");
    }
    CreateMainWindow();
    MainForm->Show();
    LogIn("admin");
    const char* const names4[] = {"Date and time", "Caller", "Called party", "Call duration"};
    for (int col = 0; col < 4; ++col) {
        SCOPED_TRACE(col);
        ClickHeader(col);
        EXPECT_EQ(Grid()->Cells(col, 0), AnsiString(names4[col]) + "   /");
        std::vector<AnsiString> v = Column(col);
        EXPECT_TRUE(std::is_sorted(v.begin(), v.end()));
        EXPECT_EQ(Grid()->Cells((col + 1) % 4, 0), AnsiString(names4[(col + 1) % 4]) + "    ");
        ClickHeader(col);
        EXPECT_EQ(Grid()->Cells(col, 0), AnsiString(names4[col]) + "   \\");
        v = Column(col);
        EXPECT_TRUE(std::is_sorted(v.rbegin(), v.rend()));
        EXPECT_NE(v.front(), v.back());
    }
    // A release on a column border ends a resize: the widths stay, no sort.
    const AnsiString clause = Media()->SortClause;
    Grid()->SetColWidths(1, 300);
    const TRect r = Grid()->CellRect(1, 0);
    Media()->musicTableMouseUp(Grid(), mbLeft, {}, r.Right - 1, 5);
    EXPECT_EQ(Media()->SortClause, clause);
    Media()->RefreshRecordings();
    EXPECT_EQ(Grid()->ColWidths(1), 300);
    // Other buttons do nothing.
    Media()->musicTableMouseUp(Grid(), mbRight, {}, (r.Left + r.Right) / 2, 5);
    EXPECT_EQ(Media()->SortClause, clause);
}

TEST_F(RecordingsWindow, OutsideLineRowsTakeTheOutsideLineColour) {
    MakeStore(12);
    CreateMainWindow();
    MainForm->Show();
    LogIn("admin");
    ClickHeader(0);  // oldest first: call i on row i + 1
    Grid()->SetRow(1);
    const std::string path = ShotPath(program, "recordings_colours.png");
    ASSERT_TRUE(yorde::qt::SaveScreenshot(Grid(), path));
    QImage shot(QString::fromStdString(path));
    ASSERT_FALSE(shot.isNull());
    auto colourAt = [&](int row) {
        const TRect c = Grid()->CellRect(3, row);
        return shot.pixel(c.Right - 4, (c.Top + c.Bottom) / 2) & 0xFFFFFF;  // right of the text
    };
    for (int row = 2; row <= 7; ++row) {
        const bool trunk = devicesim::StoreCall(row - 1, options).Trunk;
        EXPECT_EQ(Grid()->Cells(4, row).find("_M_") != AnsiString::npos, trunk);
        EXPECT_EQ(colourAt(row), trunk ? 0xCFD8CAu : 0xEBDBB0u) << row;
    }
    EXPECT_EQ(colourAt(1), 0x0080FFu);  // the selected row
}

TEST_F(RecordingsWindow, QuickRangesAndNumbersNarrowTheListAndShowAllWidensIt) {
    options.NewestCall = std::time(nullptr);
    options.StepSeconds = 3 * 3600;
    MakeStore(48);  // six days back from now
    CreateMainWindow();
    MainForm->Show();
    LogIn("admin");
    ASSERT_EQ(Rows(), 48);
    TFiltrFrame* f = Filter();

    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char today[16];
    std::strftime(today, sizeof today, "%Y-%m-%d", &local);
    f->QuickComboBox->SetItemIndex(0);
    f->QuickComboBoxChange(f->QuickComboBox);
    EXPECT_TRUE(f->OdCheckBox->Checked() && f->DoCheckBox->Checked());
    ASSERT_GT(Rows(), 0);
    EXPECT_LT(Rows(), 48);
    for (const AnsiString& d : Column(0)) EXPECT_EQ(d.substr(0, 10), today);

    f->QuickComboBox->SetItemIndex(7);  // last year: nothing
    f->QuickComboBoxChange(f->QuickComboBox);
    EXPECT_EQ(Rows(), 0);

    f->wszystkoBitBtnClick(nullptr);
    EXPECT_EQ(Rows(), 48);
    EXPECT_EQ(f->QuickComboBox->ItemIndex(), -1);

    // A number and Enter, as a user types them.
    yorde::test::TypeText(f->filtrAbAEdit, "20x5");
    EXPECT_EQ(f->filtrAbAEdit->Text(), "205");
    yorde::test::PressKey(f->filtrAbAEdit, kReturn);
    ASSERT_GT(Rows(), 0);
    for (const AnsiString& a : Column(1)) EXPECT_EQ(a, "205");
    f->filtrAbBEdit->SetText("205");  // the same number in both: either side
    f->fultrujBitBtnClick(nullptr);
    const int eitherSide = Rows();
    EXPECT_GT(eitherSide, 0);

    // A reversed range with both bounds on: the fixed Polish message, the list as it was.
    f->OdCheckBox->SetChecked(true);
    f->DoCheckBox->SetChecked(true);
    f->OdDatePicker->SetDateTime(EncodeDate(2026, 5, 2));
    f->DoDatePicker->SetDateTime(EncodeDate(2026, 5, 1));
    TakeSeen();
    f->fultrujBitBtnClick(nullptr);
    const auto shown = TakeSeen();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].Text, InLanguage(1, "Data w polu 'Do' nie może być mniejsze niż data w polu 'Od'"));
    EXPECT_EQ(shown[0].Caption, InLanguage(1, "Błąd"));
    EXPECT_EQ(Rows(), eitherSide);

    // Equal bounds are one moment, not a reversed range.
    f->DoDatePicker->SetDateTime(EncodeDate(2026, 5, 2));
    f->OdTimePicker->SetDateTime(EncodeTime(10, 0, 0, 0));
    f->DoTimePicker->SetDateTime(EncodeTime(10, 0, 0, 0));
    ASSERT_EQ(f->GetDateFrom(), f->GetDateTo());
    f->fultrujBitBtnClick(nullptr);
    EXPECT_TRUE(TakeSeen().empty());
    EXPECT_EQ(Rows(), 0);

    // Show all forgets both bounds and both numbers.
    f->wszystkoBitBtnClick(nullptr);
    EXPECT_FALSE(f->OdCheckBox->Checked() || f->DoCheckBox->Checked());
    EXPECT_EQ(f->filtrAbAEdit->Text(), "");
    EXPECT_EQ(f->filtrAbBEdit->Text(), "");
    EXPECT_EQ(Rows(), 48);
}

// Filling the list again (a quick range, the filter, Show all, the end of an
// import or a sync run) leaves a row selected, and Export with it; only a
// recording that cannot be opened takes Export away, until one opens again.
TEST_F(RecordingsWindow, ExportStaysAcrossRefillsAndGoesOnlyWithAFailedOpen) {
    options.NewestCall = std::time(nullptr);
    options.StepSeconds = 3 * 3600;
    options.LinkFiles = false;
    MakeStore(16);
    OpenAs("admin");
    TFiltrFrame* f = Filter();
    const std::pair<const char*, std::function<void()>> refills[] = {
        {"today",
         [&] {
             f->QuickComboBox->SetItemIndex(0);
             f->QuickComboBoxChange(f->QuickComboBox);
         }},
        {"filter", [&] { f->fultrujBitBtnClick(nullptr); }},
        {"show all", [&] { f->wszystkoBitBtnClick(nullptr); }},
        {"import or sync", [&] { Media()->RefreshRecordings(); }},
    };
    for (const auto& [name, refill] : refills) {
        SCOPED_TRACE(name);
        // Row 1 is not looked for again: the refill selects another row.
        Grid()->SetRow(1);
        ASSERT_TRUE(Media()->ExportImage->Visible());
        refill();
        ASSERT_GE(Grid()->Row(), 1);
        EXPECT_TRUE(Media()->ExportImage->Visible());
    }

    ClickHeader(0);  // call i on row i + 1
    std::filesystem::resize_file(program.Path("files/" + names[1]), 100);
    Grid()->SetRow(2);
    EXPECT_FALSE(Media()->ExportImage->Visible());
    Media()->RefreshRecordings();
    ASSERT_EQ(Grid()->Row(), 2);
    EXPECT_FALSE(Media()->ExportImage->Visible());
    Grid()->SetRow(3);
    EXPECT_TRUE(Media()->ExportImage->Visible());
}

TEST_F(RecordingsWindow, TheAddressBookLayoutShowsTheUsersDescriptions) {
    options.AddressBookEntries = 12;
    MakeStore(30);
    StoreUsers([] {
        PutUser(0, "admin", rkAll, "");
        PutUser(1, "ewa", rkNone, "");
    });
    CreateMainWindow();
    MainForm->Show();
    LogIn("admin");
    // Columns resized in the plain layout: the other layout has its own
    // widths, and the plain one its defaults again after it.
    Grid()->SetColWidths(1, 300);
    const TRect border = Grid()->CellRect(1, 0);
    Media()->musicTableMouseUp(Grid(), mbLeft, {}, border.Right - 1, 5);
    Media()->SortClause = "ORDER BY 1";
    Filter()->ABookCheckBox->SetChecked(true);  // its click handler refills
    EXPECT_EQ(Media()->SortClause, "");
    EXPECT_TRUE(Media()->ListLayout().AddressBook());
    ASSERT_EQ(Grid()->ColCount(), 7);
    const char* const six[] = {"Date and time",       "Caller",       "Caller - desc", "Called party",
                               "Called party - desc", "Call duration"};
    const int widths[] = {150, 95, 160, 95, 160, 90, -1};
    for (int col = 0; col < 6; ++col) EXPECT_EQ(Grid()->Cells(col, 0), six[col]);
    for (int col = 0; col < 7; ++col) EXPECT_EQ(Grid()->ColWidths(col), widths[col]) << col;
    int described = 0, dashes = 0;
    for (int r = 1; r < Grid()->RowCount(); ++r) {
        const AnsiString number = Grid()->Cells(1, r);
        const AnsiString desc = Grid()->Cells(2, r);
        if (desc == "-") {
            ++dashes;
        } else {
            ++described;
            EXPECT_NE(desc.find("(" + number + ")"), AnsiString::npos) << desc;
        }
        EXPECT_NE(Grid()->Cells(6, r).find(".wav"), AnsiString::npos);
    }
    EXPECT_GT(described, 0);
    EXPECT_GT(dashes, 0);  // outside numbers past the book's entries
    // A refill finds the selected recording again in this layout too.
    Grid()->SetRow(5);
    const AnsiString selected = Grid()->Cells(6, 5);
    Media()->RefreshRecordings();
    EXPECT_EQ(Grid()->Row(), 5);
    EXPECT_EQ(Grid()->Cells(6, 5), selected);

    // Each column sorts by itself both ways, the descriptions by their text
    // whatever its case.
    {
        SqliteDb db;
        db.Open(program.Path("data.db"));
        db.ExecDml("UPDATE AddressBook SET opis = CASE WHEN rowid % 2 = 1 THEN 'a' || rowid ELSE 'B' || rowid END;");
        db.ExecDml("UPDATE Files SET Czas = (rowid * 37) % 11;");
    }
    const auto caseless = [](const AnsiString& x, const AnsiString& y) {
        return std::lexicographical_compare(x.begin(), x.end(), y.begin(), y.end(),
                                            [](char p, char q) { return std::tolower(p) < std::tolower(q); });
    };
    for (int col = 0; col < 6; ++col) {
        SCOPED_TRACE(col);
        const bool description = col == 2 || col == 4;
        ClickHeader(col);
        EXPECT_EQ(Grid()->Cells(col, 0), AnsiString(six[col]) + "   /");
        EXPECT_EQ(Grid()->Cells((col + 1) % 6, 0), AnsiString(six[(col + 1) % 6]) + "    ");
        std::vector<AnsiString> v = Column(col);
        if (description) {
            EXPECT_TRUE(std::is_sorted(v.begin(), v.end(), caseless));
            EXPECT_FALSE(std::is_sorted(v.begin(), v.end())) << "an upper-case B sorts after a lower-case a";
        } else {
            EXPECT_TRUE(std::is_sorted(v.begin(), v.end()));
        }
        ClickHeader(col);
        EXPECT_EQ(Grid()->Cells(col, 0), AnsiString(six[col]) + "   \\");
        v = Column(col);
        EXPECT_TRUE(description ? std::is_sorted(v.rbegin(), v.rend(), caseless)
                                : std::is_sorted(v.rbegin(), v.rend()));
        EXPECT_NE(v.front(), v.back());
    }
    // Without a right to see recordings: the plain layout's empty list.
    LogIn("ewa");
    EXPECT_EQ(Grid()->RowCount(), 1);
    EXPECT_EQ(Grid()->ColCount(), 5);
    LogIn("admin");
    EXPECT_EQ(Grid()->ColCount(), 7);

    Filter()->ABookCheckBox->SetChecked(false);
    EXPECT_EQ(Grid()->ColCount(), 5);
    EXPECT_EQ(Grid()->Cells(2, 0), "Called party");
    EXPECT_EQ(Grid()->ColWidths(1), 255);
}

TEST_F(RecordingsWindow, AClickOpensTheRecordingAndPlayPlaysItToTheEnd) {
    options.Milliseconds = 1300;
    MakeStore(5);
    const std::string out = temp.Path("device.raw");
    mediatest::AudioEnv env({{"SDL_AUDIODRIVER", "disk"}, {"SDL_DISKAUDIOFILE", out}, {"SDL_DISKAUDIODELAY", "1"}});
    framestest::WaveVolumeScope volume;
    CreateMainWindow();
    MainForm->Show();
    LogIn("admin");
    Grid()->SetRow(3);
    const std::string tmpWav = temp.Path("tmp.wav");
    // The first 60 bytes as stored, the rest deciphered: the device's own WAV.
    EXPECT_EQ(yorde::test::ReadFile(tmpWav), devicesim::MakeGsmWav(1300));
    EXPECT_EQ(std::filesystem::status(tmpWav).permissions() & std::filesystem::perms::others_all,
              std::filesystem::perms::none);
    EXPECT_TRUE(Media()->ExportImage->Visible());
    EXPECT_TRUE(Media()->SeekTrackBar->Enabled());
    EXPECT_EQ(Media()->MediaPlayer->Length(), 1300);

    Media()->PlayImageClick(nullptr);
    EXPECT_EQ(Status(), "Play");
    EXPECT_TRUE(Media()->Timer1->Enabled());
    ASSERT_TRUE(mediatest::WaitFor([&] {
        Media()->Timer1Timer(nullptr);
        return !Media()->Timer1->Enabled();
    }));
    // The end: back at the start, the recording still loaded, nothing ticking.
    EXPECT_EQ(Media()->TimeLabel->Caption(), "00:00:00");
    EXPECT_EQ(Media()->SeekTrackBar->Position(), 0);
    EXPECT_EQ(Media()->MediaPlayer->Mode(), mpStopped);
    EXPECT_EQ(Status(), "");
    Media()->MediaPlayer->Close();

    // What reached the device is the recording's own samples, as libsndfile
    // decodes the deciphered file, once and in order.
    // Full volume on the bar is 100 steps of 655 in each channel.
    mediatest::ReadBack decoded = mediatest::ReadSound(tmpWav);
    decoded.Samples.resize(1300 * 8);
    for (int16_t& v : decoded.Samples) v = ApplyGain(v, 100 * 655);
    std::vector<int16_t> left, right;
    mediatest::SplitStereo(mediatest::ReadRaw(out), left, right);
    const auto at = std::search(left.begin(), left.end(), decoded.Samples.begin(), decoded.Samples.end());
    ASSERT_NE(at, left.end()) << "the recording is not in the device output: " << left.size() << " samples, "
                              << std::count_if(left.begin(), left.end(), [](int16_t v) { return v != 0; })
                              << " not silent";
    EXPECT_TRUE(std::all_of(left.begin(), at, [](int16_t v) { return v == 0; }));
    EXPECT_TRUE(std::all_of(at + long(decoded.Samples.size()), left.end(), [](int16_t v) { return v == 0; }));
    EXPECT_TRUE(TakeSeen().size() <= 1);  // the password dialog only
}

TEST_F(RecordingsWindow, PauseSeekNextPreviousAndMuteBehaveAsTheButtonsSay) {
    options.Milliseconds = 20000;
    MakeStore(4);
    mediatest::AudioEnv env({{"SDL_AUDIODRIVER", "dummy"}});
    framestest::WaveVolumeScope volume;
    CreateMainWindow();
    MainForm->Show();
    LogIn("admin");
    TMediaFrame* m = Media();
    Grid()->SetRow(2);
    m->PlayImageClick(nullptr);
    ASSERT_EQ(m->MediaPlayer->Mode(), mpPlaying);

    m->PauseImageClick(nullptr);
    EXPECT_EQ(m->MediaPlayer->Mode(), mpPaused);
    EXPECT_EQ(Status(), "Pause");
    EXPECT_FALSE(m->Timer1->Enabled());
    m->PauseImageClick(nullptr);  // resumes
    EXPECT_EQ(m->MediaPlayer->Mode(), mpPlaying);
    EXPECT_EQ(Status(), "Play");

    // A timer tick moves the bar without seeking; the user's move seeks and keeps playing.
    m->Timer1Timer(nullptr);
    m->SeekTrackBar->SetPosition(50);
    EXPECT_EQ(m->MediaPlayer->Mode(), mpPlaying);
    EXPECT_GE(m->MediaPlayer->Position(), 10000);
    EXPECT_EQ(m->TimeLabel->Caption(), "00:00:10");
    m->Timer1Timer(nullptr);
    m->SeekTrackBar->SetPosition(75);  // the first move after a tick is not lost
    EXPECT_GE(m->MediaPlayer->Position(), 15000);
    // Past the end by keys: stopped instead.
    m->SeekTrackBar->SetPosition(98);
    WORD key = kRight;
    m->SeekTrackBarKeyDown(m->SeekTrackBar, key, {});
    EXPECT_NE(m->MediaPlayer->Mode(), mpPlaying);
    EXPECT_FALSE(m->Timer1->Enabled());
    EXPECT_EQ(m->MediaPlayer->Position(), m->MediaPlayer->Length());  // at the end, not past it

    // Stop goes back to the start, also from the end: Play then plays.
    m->PlayImageClick(nullptr);
    m->StopImageClick(nullptr);
    EXPECT_EQ(m->TimeLabel->Caption(), "00:00:00");
    EXPECT_EQ(m->SeekTrackBar->Position(), 0);
    EXPECT_EQ(m->MediaPlayer->Position(), 0);
    EXPECT_EQ(Status(), "");
    // A key step that lands exactly on the end is no step past it.
    m->PlayImageClick(nullptr);
    EXPECT_EQ(m->MediaPlayer->Mode(), mpPlaying);
    m->SeekTrackBar->SetPosition(95);
    key = kRight;
    m->SeekTrackBarKeyDown(m->SeekTrackBar, key, {});
    EXPECT_EQ(m->SeekTrackBar->Position(), 100);
    EXPECT_TRUE(m->Timer1->Enabled());
    m->StopImageClick(nullptr);

    // Next from the last row wraps to the first, Previous from the first to the last.
    Grid()->SetRow(4);
    m->NextImageClick(nullptr);
    EXPECT_EQ(Grid()->Row(), 1);
    EXPECT_EQ(m->MediaPlayer->Mode(), mpStopped);  // opened, not playing
    m->PrevImageClick(nullptr);
    EXPECT_EQ(Grid()->Row(), 4);
    m->NextImageDblClick(nullptr);  // one more step
    EXPECT_EQ(Grid()->Row(), 1);

    m->VolumeTrackBar->SetPosition(60);
    m->VolImageClick(nullptr);
    EXPECT_EQ(m->VolumeTrackBar->Position(), 0);
    EXPECT_FALSE(m->VolumeTrackBar->Enabled());
    EXPECT_EQ(GetWaveVolume(), 0u);
    EXPECT_EQ(m->VolImage->Hint(), "Restore sound");  // the button says what it does next
    m->VolImageClick(nullptr);
    EXPECT_EQ(m->VolumeTrackBar->Position(), 60);
    EXPECT_TRUE(m->VolumeTrackBar->Enabled());
    EXPECT_EQ(m->VolImage->Hint(), "Mute");
    EXPECT_EQ(GetWaveVolume(), 60u * 655 | (60u * 655) << 16);
}

// The end of playing leaves the recording loaded at its start even when its
// deciphered copy has gone meanwhile: it is not read again, nothing is
// reported, and Play plays it once more.
TEST_F(RecordingsWindow, TheEndOfPlayingNeedsNoDecipheredCopy) {
    options.Milliseconds = 600;
    MakeStore(2);
    mediatest::AudioEnv env({{"SDL_AUDIODRIVER", "dummy"}});
    OpenAs("admin");
    TMediaFrame* m = Media();
    Grid()->SetRow(1);
    m->PlayImageClick(nullptr);
    ASSERT_TRUE(std::filesystem::remove(temp.Path("tmp.wav")));
    TakeSeen();
    ASSERT_TRUE(mediatest::WaitFor([&] {
        m->Timer1Timer(nullptr);
        return !m->Timer1->Enabled();
    }));
    EXPECT_TRUE(errors.empty()) << "nothing reaches the program's last-resort message";
    EXPECT_TRUE(TakeSeen().empty());
    EXPECT_EQ(m->MediaPlayer->Mode(), mpStopped);
    EXPECT_EQ(m->MediaPlayer->Position(), 0);
    EXPECT_EQ(m->TimeLabel->Caption(), "00:00:00");
    EXPECT_EQ(Status(), "");
    EXPECT_TRUE(m->ExportImage->Visible());
    m->PlayImageClick(nullptr);
    EXPECT_EQ(m->MediaPlayer->Mode(), mpPlaying);
    m->MediaPlayer->Close();
}

// Pause holds the place: Pause again, or Play, goes on from there rather
// than from the start.
TEST_F(RecordingsWindow, PlayAfterPauseGoesOnWhereItStopped) {
    options.Milliseconds = 20000;
    MakeStore(2);
    mediatest::AudioEnv env({{"SDL_AUDIODRIVER", "dummy"}});
    OpenAs("admin");
    TMediaFrame* m = Media();
    Grid()->SetRow(1);
    for (auto resume : {&TMediaFrame::PauseImageClick, &TMediaFrame::PlayImageClick}) {
        m->PlayImageClick(nullptr);
        m->SeekTrackBar->SetPosition(50);  // ten seconds in, playing on
        ASSERT_EQ(m->MediaPlayer->Mode(), mpPlaying);
        // Played on a little past where it was put.
        ASSERT_TRUE(mediatest::WaitFor([&] { return m->MediaPlayer->Position() >= 10200; }));
        m->PauseImageClick(nullptr);
        ASSERT_EQ(m->MediaPlayer->Mode(), mpPaused);
        const int paused = m->MediaPlayer->Position();
        EXPECT_GE(paused, 10200);
        (m->*resume)(nullptr);
        EXPECT_EQ(m->MediaPlayer->Mode(), mpPlaying);
        EXPECT_GE(m->MediaPlayer->Position(), paused);
        EXPECT_EQ(Status(), "Play");
        m->StopImageClick(nullptr);
    }
    m->MediaPlayer->Close();
}

TEST_F(RecordingsWindow, ARefillKeepsTheSelectedRecordingOrClosesThePlayer) {
    MakeStore(20);
    mediatest::AudioEnv env({{"SDL_AUDIODRIVER", "dummy"}});
    CreateMainWindow();
    MainForm->Show();
    LogIn("admin");
    Grid()->SetRow(5);
    const AnsiString name = Grid()->Cells(4, 5);
    ASSERT_EQ(Media()->MediaPlayer->Mode(), mpStopped);
    Media()->PlayImageClick(nullptr);
    // A refill deciphers nothing: the played file is the one opened before.
    const auto inode = [&] {
        struct stat st {};
        ::stat(temp.Path("tmp.wav").c_str(), &st);
        return st.st_ino;
    };
    const auto before = inode();
    Media()->RefreshRecordings();
    EXPECT_EQ(inode(), before);
    EXPECT_EQ(Grid()->Cells(4, Grid()->Row()), name);
    Grid()->SetFocus();
    ASSERT_EQ(MainForm->ActiveControl(), Grid());
    Media()->RefreshRecordings();
    EXPECT_EQ(MainForm->ActiveControl(), Grid());        // arrow keys still move in the list
    EXPECT_EQ(Media()->MediaPlayer->Mode(), mpStopped);  // a refill stops playing
    EXPECT_TRUE(Media()->ExportImage->Visible());

    // Only a selection below the first row is looked for again; otherwise
    // the refill ends on the last row.
    Grid()->SetRow(1);
    Media()->RefreshRecordings();
    EXPECT_EQ(Grid()->Row(), Rows());
    Grid()->SetRow(2);
    const AnsiString second = Grid()->Cells(4, 2);
    Media()->RefreshRecordings();
    EXPECT_EQ(Grid()->Row(), 2);
    EXPECT_EQ(Grid()->Cells(4, 2), second);

    // The recording is filtered away: nothing plays that is not highlighted.
    Filter()->filtrAbAEdit->SetText("999");
    Filter()->fultrujBitBtnClick(nullptr);
    EXPECT_EQ(Rows(), 0);
    ExpectNothingOpen();
}

TEST_F(RecordingsWindow, PlayWithoutASoundDeviceSaysSoAndTheWindowGoesOn) {
    MakeStore(3);
    mediatest::AudioEnv env({{"SDL_AUDIODRIVER", "no-such-driver"}});
    CreateMainWindow();
    MainForm->Show();
    LogIn("admin");
    Grid()->SetRow(2);
    TakeSeen();
    Media()->PlayImageClick(nullptr);
    EXPECT_TRUE(TakeSeen().empty());
    EXPECT_EQ(Status(), "Cannot play: no sound device");
    EXPECT_FALSE(Media()->Timer1->Enabled());
    Grid()->SetRow(3);
    EXPECT_EQ(Media()->MediaPlayer->Mode(), mpStopped);
    EXPECT_TRUE(Media()->ExportImage->Visible());
}

TEST_F(RecordingsWindow, UnopenableRecordingsGiveTheirMessageAndNothingElse) {
    options.LinkFiles = false;  // each damaged on its own
    MakeStore(5);
    // Missing, shorter than its header, two names that point elsewhere, and
    // one cut to 100 bytes, too few for any sound.
    std::filesystem::remove(program.Path("files/" + names[0]));
    program.Write("files/" + names[1], "RIFF0123");
    std::filesystem::resize_file(program.Path("files/" + names[4]), 100);
    program.Write("outside.wav", yorde::test::ReadFile(program.Path("files/" + names[2])));
    {
        SqliteDb db;
        db.Open(program.Path("data.db"));
        db.ExecDml("UPDATE Files SET Filename = ? WHERE Filename = ?;", {"../outside.wav", names[2]});
        db.ExecDml("UPDATE Files SET Filename = ? WHERE Filename = ?;", {"sub/x.wav", names[3]});
    }
    CreateMainWindow();
    MainForm->Show();
    LogIn("admin");
    ClickHeader(0);  // call i on row i + 1
    const std::string tmpWav = temp.Path("tmp.wav");
    struct Case {
        int Row;
        const char* Message;
        const char* Status;
    } cases[] = {{1, "No recording file.", "No recording file"},
                 {2, "Cannot open file.", "Cannot open file"},
                 {3, "No recording file.", "No recording file"},
                 {4, "No recording file.", "No recording file"},
                 {5, "No recording file.", "No recording file"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Row);
        Grid()->SetRow(c.Row % 5 + 1);
        std::filesystem::remove(tmpWav);
        TakeSeen();
        Grid()->SetRow(c.Row);
        const auto shown = TakeSeen();
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].Class, "TMessageDialog");
        EXPECT_EQ(shown[0].Text, c.Message);
        EXPECT_EQ(Status(), c.Status);
        EXPECT_FALSE(std::filesystem::exists(tmpWav));
        ExpectNothingOpen();
        EXPECT_FALSE(Media()->ExportImage->Visible());
    }
    EXPECT_TRUE(std::filesystem::exists(program.Path("outside.wav")));
}

// A refill that fails leaves the rows as they were, in their own layout,
// also when it was to change the layout (the address-book switch): the
// message says why, and a row picked afterwards opens its own recording.
TEST_F(RecordingsWindow, ADatabaseFailureIsReportedAndTheListStaysUsable) {
    MakeStore(3);
    CreateMainWindow();
    MainForm->Show();
    LogIn("admin");
    ASSERT_EQ(Rows(), 3);
    Grid()->SetRow(2);
    const AnsiString second = Grid()->Cells(4, 2);
    const std::string stored = program.Read("data.db");
    program.Write("data.db", std::string(4096, 'x'));
    TakeSeen();
    Media()->RefreshRecordings();
    auto shown = TakeSeen();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].Text, "An error occurred during an operation in the database.");
    EXPECT_TRUE(Grid()->Visible());

    Filter()->ABookCheckBox->SetChecked(true);  // its click handler refills
    shown = TakeSeen();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].Text, "An error occurred during an operation in the database.");
    EXPECT_EQ(Rows(), 3);
    EXPECT_EQ(Grid()->ColCount(), 5);
    EXPECT_EQ(Grid()->Cells(4, 2), second);
    Grid()->SetRow(1);
    Grid()->SetRow(2);
    EXPECT_TRUE(TakeSeen().empty()) << "the row's own recording opens";
    EXPECT_EQ(RecordingInPlayer(), Media()->RecordingPath(second));

    // Mended, the next refill takes the address-book layout.
    program.Write("data.db", stored);
    Media()->RefreshRecordings();
    EXPECT_TRUE(TakeSeen().empty());
    EXPECT_EQ(Grid()->ColCount(), 7);
    EXPECT_EQ(Rows(), 3);
    Filter()->ABookCheckBox->SetChecked(false);
}

// The status bar's own SD request, which nothing in the program switches on,
// asks the exchange when its timer is run.
TEST_F(RecordingsWindow, TheDormantSdRequestReadsTheCardWhenRun) {
    TDeviceSimulator device;
    device.SetPassword("haslo1");
    device.SetSdState(0, 7580);
    ASSERT_TRUE(device.Start());
    CreateMainWindow();
    TStatusFrame* status = MainForm->StatusFrameBottom;
    EXPECT_FALSE(status->Timer2->Enabled());
    MainForm->ConnectFrame1->SerwerIPEdit->SetText("http://127.0.0.1:" + std::to_string(device.Port()));
    MainForm->ConnectFrame1->HasloEdit->SetText("haslo1");
    status->Timer2Timer(status->Timer2);
    EXPECT_EQ(status->SdState.load(), 0);
    EXPECT_EQ(status->SDLabel->Hint().substr(0, 22), "SD card capacity: 7580");
    device.SetSdState(1);
    status->Timer2Timer(status->Timer2);  // the same nonce, the next counter
    EXPECT_EQ(status->SdState.load(), 1);
    EXPECT_EQ(status->SDLabel->Hint(), "SD card");
    device.Stop();
    status->Timer2Timer(status->Timer2);  // no answer: nothing changes, nothing shown
    EXPECT_EQ(status->SdState.load(), 1);
}
