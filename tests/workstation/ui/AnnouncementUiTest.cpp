// Announcements in the real main window: recorded from a file-fed capture
// (SDL's disk input) or picked as a file, the slot chosen in its dialog, and
// uploaded to the simulated exchange; the messages of every refusal; the
// storage quota sparing the recording in the player.
#include "MainWindowFixture.h"
#include "MediaTestSupport.h"

#include "DeviceSim.h"
#include "SimRecordings.h"
#include "SimStore.h"
#include "devicelink/StorageQuota.h"
#include "devicelink/SyncRun.h"
#include "localization/Lxlnglnk.h"
#include "media/SndLib.h"
#include "vcl/ComboBox.h"
#include "vcl/FileDialogs.h"
#include "vcl/Grids.h"
#include "workstation/Mainunit.h"
#include "workstation/Unitannoun.h"
#include "workstation/Unitconnect.h"
#include "workstation/Unitmediaframe.h"
#include "workstation/Unitstatus.h"
#include "workstation/Unitusers.h"

#include <sndfile.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <thread>

using namespace mainwindowtest;

namespace {

class Announcements : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        NetInit();
        StoreAdmin();
        program.Write("en.lang", "");
        Sim.SetPassword("47150392");
        ASSERT_TRUE(Sim.Start(0));
        SetSyncBaseOverride(Sim.BaseUrl());
    }
    void TearDown() override {
        // No upload outlives the window it reports to.
        EXPECT_TRUE(WaitForFreeOnTerminateThreads(60000, true));
        if (MainForm) MainForm->MediaFrame1->MediaPlayer->Close();
        SetFileDialogHook(nullptr);
        SetSyncBaseOverride("");
        MainWindowTest::TearDown();
        Sim.Stop();
    }
    void Open() {
        CreateMainWindow();
        Link()->SerwerIPEdit->SetText("http://127.0.0.2");
        Link()->HasloEdit->SetText("47150392");
    }
    // Serves the window's events until Ready holds (a minute at most).
    bool PumpUntil(const std::function<bool()>& Ready) {
        return mediatest::WaitFor(
            [&] {
                yorde::test::ProcessEvents();
                return Ready();
            },
            std::chrono::seconds(60));
    }
    // Answers the slot dialog with slot Slot (0: Cancel).
    void ChooseSlot(int Slot, std::function<void()> Meanwhile = {}) {
        Respond("TAnnounDialog", [Slot, Meanwhile](TCustomForm* f) {
            if (Meanwhile) Meanwhile();
            if (Slot == 0) return TModalResult(mrCancel);
            auto* d = static_cast<TAnnounDialog*>(f);
            d->zapComboBox->SetItemIndex(Slot - 1);
            d->zapComboBoxChange(d->zapComboBox);
            d->OKBtn->Click();
            return TModalResult(mrOk);
        });
    }
    // Picks Path in the announcement file dialog (empty: the user cancels).
    void Pick(const std::string& Path) {
        SetFileDialogHook([Path](TOpenDialog* d) {
            if (Path.empty()) return false;
            d->SetFileName(Path);
            return true;
        });
        Media()->Zapowiedzwybranegopliku1->Click();
    }
    // Waits until the upload has given the main window back.
    bool UploadDone() {
        return PumpUntil([&] { return MainForm->Enabled() && Sim.Counters().Upload + Sim.Counters().Nonce > 0; }) &&
               WaitForFreeOnTerminateThreads(60000);
    }
    std::vector<ModalSeen> Dialogs(const std::string& Class) const {
        std::vector<ModalSeen> out;
        for (const ModalSeen& s : seen)
            if (s.Class == Class) out.push_back(s);
        return out;
    }
    TMediaFrame* Media() const { return MainForm->MediaFrame1; }
    TConnectFrame* Link() const { return MainForm->ConnectFrame1; }
    AnsiString Status() const { return MainForm->StatusFrameBottom->StatusLabel->Caption(); }
    AnsiString Text(const char* Key) const { return Media()->lxLangLinked1->GetTextOrDefault(Key); }
    std::string UploadFile() const { return temp.Path("record.wav"); }

    TDeviceSimulator Sim;
};

double Rms(const std::vector<int16_t>& s, size_t From, size_t To) {
    double sum = 0;
    for (size_t i = From; i < To; ++i) sum += double(s[i]) * s[i];
    return std::sqrt(sum / double(To - From));
}

}  // namespace

// Recorded from the capture device (a file here), stopped, a slot chosen:
// the exchange's slot holds the very bytes the recorder saved, GSM 6.10 at
// 8000 Hz with the tone in it; the window comes back with nothing left over.
TEST_F(Announcements, ARecordedAnnouncementReachesTheChosenSlot) {
    const std::string input = temp.Path("microphone.raw");
    const std::vector<int16_t> tone = mediatest::Tone(8000, 1, 8000);
    mediatest::WriteRaw(input, tone);
    mediatest::AudioEnv env({{"SDL_AUDIODRIVER", "disk"}, {"SDL_DISKAUDIOFILEIN", input}, {"SDL_DISKAUDIODELAY", "2"}});
    Open();

    Media()->Nagrywaniezapowiedzi1->Click();
    EXPECT_EQ(Status(), Text("IDS_RECORDING"));
    EXPECT_EQ(Media()->MediaPlayer->Mode(), mpRecording);
    EXPECT_TRUE(Media()->Timer2->Enabled());
    ASSERT_TRUE(mediatest::WaitFor([&] { return Media()->MediaPlayer->Length() >= 1500; }));
    // A list reload in the middle of it changes nothing.
    Media()->RefreshRecordings();
    EXPECT_EQ(Media()->MediaPlayer->Mode(), mpRecording);

    std::string recorded;
    ChooseSlot(5, [&] {
        recorded = yorde::test::ReadFile(UploadFile());
        EXPECT_EQ(std::filesystem::status(UploadFile()).permissions(), std::filesystem::perms(0600));
        EXPECT_FALSE(MainForm->Enabled());
    });
    Media()->StopImageClick(nullptr);
    ASSERT_TRUE(UploadDone());

    ASSERT_GT(recorded.size(), 60u);
    EXPECT_EQ(Sim.Announcement(5), recorded);
    const std::vector<uint8_t> bytes(recorded.begin(), recorded.end());
    EXPECT_GE(mediatest::ExpectGsmHeader(bytes), 8000u * 3 / 2);
    const std::string copy = temp.Path("sent.wav");
    yorde::test::WriteFile(copy, recorded);
    const mediatest::ReadBack sent = mediatest::ReadSound(copy);
    EXPECT_EQ(sent.Format, SF_FORMAT_WAV | SF_FORMAT_GSM610);
    EXPECT_EQ(sent.SampleRate, 8000);
    EXPECT_GT(Rms(sent.Samples, 400, 7600), 0.5 * Rms(tone, 400, 7600));

    EXPECT_EQ(Dialogs("TAnnounDialog").size(), 1u);
    EXPECT_TRUE(MainForm->Enabled());
    EXPECT_EQ(Status(), "");
    EXPECT_FALSE(std::filesystem::exists(UploadFile()));
    EXPECT_EQ(Media()->MediaPlayer->Mode(), mpNotReady);
}

// A chosen file is sent when it is an 8000 Hz WAV of GSM 6.10 or A-law of
// at most 100000 bytes; anything else gets its one message and no upload.
TEST_F(Announcements, AChosenFileIsCheckedBeforeItIsSent) {
    Open();
    auto message = [&](const char* Part) {
        const std::vector<ModalSeen> shown = Dialogs("TMessageDialog");
        seen.clear();
        if (shown.size() != 1) return std::string("(" + std::to_string(shown.size()) + " messages)");
        return std::string(shown[0].Text).find(Part) != std::string::npos ? std::string(Part)
                                                                          : std::string(shown[0].Text);
    };

    const std::string pcm = temp.Path("pcm.wav");
    mediatest::WriteSound(pcm, mediatest::Tone(4000, 1, 8000), 1, 8000, SF_FORMAT_WAV | SF_FORMAT_PCM_16);
    Pick(pcm);
    EXPECT_EQ(message("not compatible"), "not compatible");
    const std::string wide = temp.Path("gsm16k.wav");
    mediatest::WriteSound(wide, mediatest::Tone(8000, 1, 16000), 1, 16000, SF_FORMAT_WAV | SF_FORMAT_GSM610);
    Pick(wide);
    EXPECT_EQ(message("not compatible"), "not compatible");

    // A valid recording padded to the limit is taken; one byte more is too big.
    std::string padded = devicesim::MakeGsmWav(4000);
    padded.resize(100000, '\0');
    const std::string atLimit = temp.Write("limit.wav", padded);
    const std::string overLimit = temp.Write("over.wav", padded + '\0');
    Pick(overLimit);
    EXPECT_EQ(message("too big"), "too big");
    Pick(temp.Path("nothing-here.wav"));
    EXPECT_EQ(message("does not exist"), "does not exist");
    TSndFileLibrary::SetLoadFailureForTest(true);
    Pick(atLimit);
    TSndFileLibrary::SetLoadFailureForTest(false);
    EXPECT_EQ(message("libsndfile"), "libsndfile");
    Pick("");  // cancelled
    EXPECT_TRUE(seen.empty());
    // The upload file cannot be written (a folder holds its name): the
    // user is told, and nothing else is sent in its place.
    std::filesystem::create_directory(UploadFile());
    Pick(atLimit);
    EXPECT_EQ(message("does not exist"), "does not exist");
    std::filesystem::remove(UploadFile());
    EXPECT_EQ(Sim.Counters().Nonce + Sim.Counters().Upload, 0);

    // A link planted at the upload file's fixed name is replaced, and what
    // it points at is left alone.
    const std::string victim = temp.Write("victim.txt", "not an announcement");
    std::filesystem::create_symlink(victim, UploadFile());
    ChooseSlot(8, [&] {
        // The copy waiting for its upload is the user's alone.
        EXPECT_FALSE(std::filesystem::is_symlink(UploadFile()));
        EXPECT_EQ(std::filesystem::status(UploadFile()).permissions(), std::filesystem::perms(0600));
    });
    Pick(atLimit);
    ASSERT_TRUE(UploadDone());
    EXPECT_EQ(Sim.Announcement(8), padded);
    EXPECT_EQ(yorde::test::ReadFile(victim), "not an announcement");

    const std::string alaw = temp.Path("alaw.wav");
    mediatest::WriteSound(alaw, mediatest::Tone(8000, 1, 8000), 1, 8000, SF_FORMAT_WAV | SF_FORMAT_ALAW);
    ChooseSlot(1);
    Pick(alaw);
    ASSERT_TRUE(PumpUntil([&] { return !Sim.Announcement(1).empty() && MainForm->Enabled(); }));
    EXPECT_EQ(Sim.Announcement(1), yorde::test::ReadFile(alaw));
    EXPECT_TRUE(Dialogs("TMessageDialog").empty());
}

// Each refusal of the exchange leaves its message on the status line, in
// the window's language; cancelling the slot dialog sends nothing.
TEST_F(Announcements, RefusalsLeaveTheirMessageAndCancelSendsNothing) {
    Open();
    const std::string file = temp.Write("ann.wav", devicesim::MakeGsmWav(1000));
    const std::pair<int, const char*> cases[] = {{405, "Wrong password. Announcement has not been sent."},
                                                 {403, "Announcement file exceeds the maximum allowed size."},
                                                 {500, "No possibility of memory locking on announcement."},
                                                 {503, "PBX connection error."},
                                                 {418, "Announcement file is currently in use."}};
    for (const auto& [status, shown] : cases) {
        SCOPED_TRACE(status);
        Sim.SetUploadStatus(status);
        ChooseSlot(2);
        Pick(file);
        ASSERT_TRUE(PumpUntil([&] { return MainForm->Enabled() && Status() == shown; })) << Status();
        EXPECT_TRUE(WaitForFreeOnTerminateThreads(60000));
        EXPECT_EQ(Status(), shown);
    }
    EXPECT_EQ(Sim.Announcement(2), "");

    Sim.SetUploadStatus(0);
    const int64_t nonces = Sim.Counters().Nonce;
    ChooseSlot(0);
    Pick(file);
    ASSERT_TRUE(PumpUntil([&] { return Dialogs("TAnnounDialog").size() == 6 && MainForm->Enabled(); }));
    EXPECT_TRUE(WaitForFreeOnTerminateThreads(60000));
    EXPECT_EQ(Sim.Counters().Nonce, nonces);
    EXPECT_EQ(Status(), "");
    EXPECT_FALSE(std::filesystem::exists(UploadFile())) << "nothing is left after a cancelled choice";
}

// An unusable address or password ends both menu items on the status line,
// before anything is recorded or picked.
TEST_F(Announcements, AddressAndPasswordAreCheckedFirst) {
    Open();
    SetFileDialogHook([](TOpenDialog*) {
        ADD_FAILURE() << "no file should be asked for";
        return false;
    });
    Link()->SerwerIPEdit->SetText("http://10.0.0.1:8080");
    Media()->Zapowiedzwybranegopliku1->Click();
    EXPECT_EQ(Status(), "No PBX URL address");
    Link()->SerwerIPEdit->SetText("10.0.0.1");
    Link()->HasloEdit->SetText("");
    Media()->Nagrywaniezapowiedzi1->Click();
    EXPECT_EQ(Status(), "No password");
    EXPECT_EQ(Media()->MediaPlayer->Mode(), mpNotReady);
    Link()->HasloEdit->SetText("1234567");
    Media()->Nagrywaniezapowiedzi1->Click();
    EXPECT_EQ(Status(), "Password is too short");

    // Eight characters pass the menu's check but not the upload's.
    Link()->HasloEdit->SetText("47150392");
    SetFileDialogHook([&](TOpenDialog* d) {
        d->SetFileName(temp.Write("a.wav", devicesim::MakeGsmWav(500)));
        return true;
    });
    Media()->Zapowiedzwybranegopliku1->Click();
    ASSERT_TRUE(PumpUntil([&] { return Status() == "No PBX URL address"; }));
    EXPECT_TRUE(WaitForFreeOnTerminateThreads(60000));
    EXPECT_TRUE(Dialogs("TAnnounDialog").empty());
    EXPECT_TRUE(MainForm->Enabled());
    EXPECT_EQ(Sim.Requests().size(), 0u);
}

// A run over the quota deletes the oldest recordings, but not the one open
// in the player.
TEST_F(Announcements, TheQuotaSparesTheRecordingInThePlayer) {
    // Ten files of a tenth of a step each after the oldest, which is a
    // playable recording of its own: together just over one step.
    devicesim::TStoreOptions options;
    options.Count = 11;
    options.FileBytes = kQuotaStepBytes / 10;
    const std::vector<std::string> names = devicesim::WriteStoredRecordings(program.Root(), options);
    std::filesystem::remove(program.Path("files/" + names[0]));
    program.Write("files/" + names[0], devicesim::EncipherRecording(devicesim::MakeGsmWav(1000)));
    Open();
    TUsersFrame* users = MainForm->UsersFrame1;
    // The run the login starts keeps everything: only the smaller buffer
    // set once the recording is open may delete.
    users->DeleteTrackBar->SetPosition(users->DeleteTrackBar->Max());
    ASSERT_GT(Link()->StorageQuota, 1);
    Respond("TuserpaswdDialog", [](TCustomForm*) { return TModalResult(1); });
    users->usersComboBox->SetItemIndex(users->usersComboBox->Items()->IndexOf("admin"));
    users->usersComboBoxChange(users->usersComboBox);
    TStringGrid* grid = Media()->musicTable;
    int oldest = -1;
    for (int r = 1; r < grid->RowCount(); ++r)
        if (grid->Cells(Media()->ListLayout().IndexOf(TRecordingColumn::FileName), r) == names[0]) oldest = r;
    ASSERT_GT(oldest, 0);
    grid->SetRow(oldest);
    ASSERT_EQ(Media()->MediaPlayer->Mode(), mpStopped);

    // The buffer slider at 1 GB; the login switched the link on.
    users->DeleteTrackBar->SetPosition(1);
    EXPECT_EQ(Link()->StorageQuota, 1);
    if (!Link()->IsConnected()) Link()->ConnectBitBtnClick(nullptr);
    ASSERT_TRUE(PumpUntil([&] {
        Link()->Refresh();  // a run already under way drops it
        return !program.Exists("files/" + names[1]);
    }));
    EXPECT_TRUE(program.Exists("files/" + names[0]));
    EXPECT_TRUE(program.Exists("files/" + names[2]));
    // The list is filled again without the deleted row.
    ASSERT_TRUE(PumpUntil([&] { return grid->RowCount() == 11; }));
    Link()->ConnectBitBtnClick(nullptr);
}

// Leaving the program while the exchange keeps an upload waiting: the
// upload gives up without a message, the window comes back and the
// temporary file goes with the rest.
TEST_F(Announcements, LeavingEndsAnUploadUnderWay) {
    Open();
    Sim.SetFault(TSimRequest::Upload, TReplyFault::NoAnswer);
    ChooseSlot(4);
    Pick(temp.Write("ann.wav", devicesim::MakeGsmWav(800)));
    ASSERT_TRUE(PumpUntil([&] { return Sim.Counters().Upload == 1; }));
    EXPECT_FALSE(MainForm->Enabled());
    MainForm->SaveConfigAndCleanup();
    EXPECT_TRUE(WaitForFreeOnTerminateThreads(0));
    EXPECT_TRUE(MainForm->Enabled());
    EXPECT_TRUE(Dialogs("TMessageDialog").empty());
    EXPECT_FALSE(std::filesystem::exists(UploadFile()));
}

// A recording that cannot be saved at its end (a folder took the file's
// name), ended by Stop or by Pause: the catalogue's message in the
// window's language, nothing sent, and the player free for the next one.
TEST_F(Announcements, ARecordingThatCannotBeSavedSaysSoAndSendsNothing) {
    const std::string input = temp.Path("microphone.raw");
    mediatest::WriteRaw(input, mediatest::Tone(8000, 1, 8000));
    mediatest::AudioEnv env({{"SDL_AUDIODRIVER", "disk"}, {"SDL_DISKAUDIOFILEIN", input}, {"SDL_DISKAUDIODELAY", "2"}});
    Open();
    for (auto end : {&TMediaFrame::StopImageClick, &TMediaFrame::PauseImageClick}) {
        Media()->Nagrywaniezapowiedzi1->Click();
        ASSERT_EQ(Media()->MediaPlayer->Mode(), mpRecording);
        ASSERT_TRUE(std::filesystem::remove(UploadFile()));
        std::filesystem::create_directory(UploadFile());
        seen.clear();
        (Media()->*end)(nullptr);
        EXPECT_TRUE(errors.empty()) << "nothing reaches the program's last-resort message";
        const std::vector<ModalSeen> shown = Dialogs("TMessageDialog");
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].Text, "Cannot create record file.");
        EXPECT_TRUE(Dialogs("TAnnounDialog").empty());
        EXPECT_EQ(Status(), "");
        EXPECT_EQ(Media()->MediaPlayer->Mode(), mpNotReady);
        EXPECT_EQ(Media()->MediaPlayer->FileName(), "");
        EXPECT_FALSE(Media()->Timer2->Enabled());
        std::filesystem::remove(UploadFile());
    }
    EXPECT_EQ(Sim.Counters().Nonce + Sim.Counters().Upload, 0);
}

// No microphone: the user is told so in the catalogue's words and the
// status line does not keep a stale text; nothing is left to send.
TEST_F(Announcements, RecordingWithoutAnInputDeviceSaysSo) {
    mediatest::AudioEnv env({{"SDL_AUDIODRIVER", "no-such-driver"}});
    Open();
    MainForm->StatusFrameBottom->StatusLabel->SetCaption("an earlier text");
    Media()->Nagrywaniezapowiedzi1->Click();
    EXPECT_TRUE(errors.empty());
    const std::vector<ModalSeen> shown = Dialogs("TMessageDialog");
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].Text, "Cannot record: there is no sound input device (microphone).");
    EXPECT_EQ(shown[0].Caption, "Error");
    EXPECT_EQ(Status(), "");
    EXPECT_EQ(Media()->MediaPlayer->Mode(), mpNotReady);
    EXPECT_FALSE(Media()->Timer2->Enabled());
    EXPECT_FALSE(std::filesystem::exists(UploadFile()));
    EXPECT_TRUE(Dialogs("TAnnounDialog").empty());

    // The upload file cannot even be made (a folder holds its name): the
    // catalogue's record-file message, and again no stale status.
    std::filesystem::create_directory(UploadFile());
    MainForm->StatusFrameBottom->StatusLabel->SetCaption("an earlier text");
    seen.clear();
    Media()->Nagrywaniezapowiedzi1->Click();
    const std::vector<ModalSeen> again = Dialogs("TMessageDialog");
    ASSERT_EQ(again.size(), 1u);
    EXPECT_EQ(again[0].Text, "Cannot create record file.");
    EXPECT_EQ(Status(), "");
    EXPECT_EQ(Media()->MediaPlayer->Mode(), mpNotReady);
}
