// Export from the recordings window: the save dialog with the recording's
// date and time, the WAV that libsndfile reads as the recording, and the
// message of each way it fails, a full disk included.
#include "FramesUiSupport.h"
#include "MediaTestSupport.h"
#include "RecordingsWindowFixture.h"

#include "SimRecordings.h"
#include "SmallDisk.h"
#include "store/SqliteDb.h"
#include "store/Users.h"
#include "vcl/FileDialogs.h"
#include "workstation/Mainunit.h"
#include "workstation/Unitfiltr.h"
#include "workstation/Unitmediaframe.h"
#include "workstation/Unitstatus.h"

#include <sndfile.h>

#include <filesystem>

using namespace mainwindowtest;

namespace {

namespace fs = std::filesystem;

using yorde::test::SmallDisk;

}  // namespace

class RecordingsExport : public RecordingsWindow {
protected:
    void SetUp() override {
        RecordingsWindow::SetUp();
        SetFileDialogHook([this](TOpenDialog* d) {
            ++dialogs;
            offered = d->FileName();
            title = d->Title();
            filter = d->Filter();
            overwritePrompt = d->Options().Contains(ofOverwritePrompt);
            if (chosen.empty()) return false;
            d->SetFileName(chosen);
            return true;
        });
    }
    void TearDown() override {
        SetFileDialogHook(nullptr);
        RecordingsWindow::TearDown();
    }
    int Progress() const { return MainForm->StatusFrameBottom->StatusProgressBar->Position(); }
    // The single message shown since the last look.
    AnsiString Message() {
        const auto shown = TakeSeen();
        if (shown.size() != 1) {
            ADD_FAILURE() << shown.size() << " messages";
            return AnsiString();
        }
        return shown[0].Text;
    }

    int dialogs = 0;
    AnsiString offered, title, filter;
    bool overwritePrompt = false;
    std::string chosen;
};

TEST_F(RecordingsExport, TheSavedWavIsTheRecordingAsLibsndfileReadsIt) {
    options.Milliseconds = 1300;
    MakeStore(5);
    OpenAs("admin");
    ClickHeader(0);  // call i on row i + 1
    Grid()->SetRow(3);
    ASSERT_EQ(Grid()->Cells(4, 3), names[2]);

    chosen = temp.Path("call.wav");
    TakeSeen();
    Media()->ExportImageClick(nullptr);
    EXPECT_TRUE(TakeSeen().empty());
    // Calls are 7 minutes apart from 2024-03-01 08:00:00.
    EXPECT_EQ(offered, "2024-03-01_08-14-00.wav");
    EXPECT_EQ(title, "Export");
    EXPECT_EQ(filter, "wav|*.wav");
    EXPECT_TRUE(overwritePrompt);
    EXPECT_EQ(Status(), "");
    EXPECT_EQ(Progress(), 0);

    // The stored file deciphered here, apart from the program.
    const std::string plain = devicesim::EncipherRecording(yorde::test::ReadFile(program.Path("files/" + names[2])));
    EXPECT_EQ(yorde::test::ReadFile(chosen), plain);
    yorde::test::WriteFile(temp.Path("reference.wav"), plain);
    const mediatest::ReadBack exported = mediatest::ReadSound(chosen);
    const mediatest::ReadBack reference = mediatest::ReadSound(temp.Path("reference.wav"));
    EXPECT_EQ(exported.Format, SF_FORMAT_WAV | SF_FORMAT_GSM610);
    EXPECT_EQ(exported.SampleRate, 8000);
    EXPECT_EQ(exported.Channels, 1);
    ASSERT_GE(exported.Samples.size(), 1300u * 8);
    EXPECT_EQ(exported.Samples, reference.Samples);
    EXPECT_TRUE(std::any_of(exported.Samples.begin(), exported.Samples.end(), [](int16_t v) { return v != 0; }));

    // The context menu's Export does the same; a cancelled dialog writes nothing.
    chosen.clear();
    Grid()->SetRow(5);
    Media()->musicPopupMenuPopup(nullptr);
    ASSERT_TRUE(Media()->op3->Enabled());
    Media()->op3Click(nullptr);
    EXPECT_EQ(dialogs, 2);
    EXPECT_EQ(offered, "2024-03-01_08-28-00.wav");
    EXPECT_EQ(Status(), "");
    EXPECT_FALSE(fs::exists(temp.Path("2024-03-01_08-28-00.wav")));

    // An empty list offers nothing to export.
    Filter()->filtrAbAEdit->SetText("999");
    Filter()->fultrujBitBtnClick(nullptr);
    ASSERT_EQ(Rows(), 0);
    chosen = temp.Path("nothing.wav");
    Media()->ExportImageClick(nullptr);
    EXPECT_EQ(dialogs, 2);
    EXPECT_EQ(Status(), "");
    EXPECT_FALSE(fs::exists(chosen));
}

TEST_F(RecordingsExport, EachFailureSaysWhatWentWrong) {
    MakeStore(4);
    OpenAs("admin");
    ClickHeader(0);
    Grid()->SetRow(2);

    // Nowhere to write: the message asks to check the right to save. So it
    // does where no file can be made though the place reports no byte free.
    for (const std::string& target : {temp.Path("no/such/folder/out.wav"), std::string("/proc/out.wav")}) {
        SCOPED_TRACE(target);
        chosen = target;
        TakeSeen();
        Media()->ExportImageClick(nullptr);
        EXPECT_EQ(Message(),
                  "The selected recording cannot be exported.\nMake sure you have the privilege for saving.");
        EXPECT_EQ(Status(), "");
    }

    // Into the program's own recordings: refused, the stored file untouched.
    const std::string stored = program.Path("files/" + names[1]);
    const std::string before = yorde::test::ReadFile(stored);
    chosen = stored;
    Media()->ExportImageClick(nullptr);
    EXPECT_EQ(Message(),
              "Recordings cannot be exported into the program's own recordings folder. Choose another folder.");
    EXPECT_EQ(yorde::test::ReadFile(stored), before);
    EXPECT_EQ(Status(), "");

    // The file went away after the list was filled: the status keeps saying
    // what was being done.
    fs::remove(stored);
    chosen = temp.Path("out.wav");
    Media()->ExportImageClick(nullptr);
    EXPECT_EQ(Message(), "The file selected to be exported does not exist or is dammaged.");
    EXPECT_EQ(Status(), "Exporting");
    EXPECT_FALSE(fs::exists(chosen));
}

TEST_F(RecordingsExport, OnlyAUserWhoMayListenCanExport) {
    MakeStore(3);
    StoreUsers([] {
        PutUser(0, "admin", rkAll, "");
        PutUser(1, "ewa", rkAll, "");
        UserTable[1].ListenRight.Kind = rkNone;
    });
    OpenAs("ewa");
    ASSERT_EQ(Rows(), 3);
    Grid()->SetRow(2);
    EXPECT_FALSE(Media()->ExportImage->Visible());
    Media()->musicPopupMenuPopup(nullptr);
    EXPECT_FALSE(Media()->op3->Enabled());
    EXPECT_TRUE(Media()->op1->Enabled());
    chosen = temp.Path("out.wav");
    Media()->op3Click(nullptr);
    Media()->ExportImageClick(nullptr);
    EXPECT_EQ(dialogs, 0);
    EXPECT_FALSE(fs::exists(chosen));
}

TEST_F(RecordingsExport, AFullDiskSaysSoAndLeavesNothingBehind) {
    options.Milliseconds = 60000;  // about 100 kB
    MakeStore(2);
    SmallDisk disk(temp.Path("usb"), 64);
    if (!disk.Mounted()) GTEST_SKIP() << "no small disk to fill: " << disk.Error();
    OpenAs("admin");
    Grid()->SetRow(1);
    chosen = temp.Path("usb/call.wav");
    TakeSeen();
    Media()->ExportImageClick(nullptr);
    EXPECT_EQ(Message(), "The disk is full. The recording was not exported.");
    EXPECT_EQ(Status(), "");
    EXPECT_EQ(Progress(), 0);
    EXPECT_TRUE(fs::is_empty(temp.Path("usb")));
}
