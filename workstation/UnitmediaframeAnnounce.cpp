// Announcements: recorded through the player or picked as a file, then
// uploaded into the slot the user chooses. Both need the connection frame's
// address and password, not the link itself.
#include "workstation/Unitmediaframe.h"

#include "devicelink/AnnouncementUpload.h"
#include "localization/Lxlnglnk.h"
#include "rtl/AtomicFile.h"
#include "rtl/Files.h"
#include "rtl/Folders.h"
#include "store/Recordings.h"
#include "workstation/AnnouncementFile.h"
#include "workstation/AnnouncementUi.h"
#include "workstation/Mainunit.h"
#include "workstation/Unitconnect.h"
#include "workstation/Unitdebug.h"
#include "workstation/Unitmessage.h"

namespace {

// Where an announcement waits for its upload.
AnsiString UploadFileName() { return TempDir() + "record.wav"; }

TUploadSettings LinkSettings() {
    const TConnectFrame* link = MainForm ? MainForm->ConnectFrame1 : nullptr;
    return link ? TUploadSettings{link->SerwerIPEdit->Text(), link->HasloEdit->Text()} : TUploadSettings{};
}

// The key of the status text that ends an attempt because the address or
// password cannot serve; empty when they can.
AnsiString LinkRefusal() {
    const TUploadSettings link = LinkSettings();
    return AnnouncementAddressRefusal(link.Address, link.Password);
}

}  // namespace

void TMediaFrame::Nagrywaniezapowiedzi1Click(TObject*) {
    if (const AnsiString refusal = LinkRefusal(); !refusal.empty()) return setStatus(text(refusal.c_str()));
    // Whatever the player held (a recording playing, or an announcement
    // being recorded) is dropped.
    if (recording_) {
        recording_ = false;
        Timer2->SetEnabled(false);
        MediaPlayer->Stop();
        MediaPlayer->Close();
    }
    closePlayer();

    const AnsiString path = UploadFileName();
    const auto& header = GsmWavHeader();
    // Written whole or not at all: an older announcement never survives here.
    DeleteFile(path);
    // The user's voice: readable by the user alone, as the recording the
    // player saves over it keeps this file's mode.
    if (!TryWriteFileAtomically(path, std::string_view(reinterpret_cast<const char*>(header.data()), header.size()),
                                kUploadFileOptions)) {
        DebugLog("Record announcement: cannot write " + path);
        setStatus(AnsiString());
        ShowMessageDialog(this, mcMedia, kRecordFileMessage);
        return;
    }
    try {
        MediaPlayer->SetFileName(path);
        MediaPlayer->Open();
        Timer1->SetEnabled(false);
        Timer2->SetEnabled(true);
        MediaPlayer->StartRecording();
    } catch (const std::exception& e) {
        DebugLog("Record announcement: " + AnsiString(e.what()));
        Timer2->SetEnabled(false);
        MediaPlayer->Close();
        MediaPlayer->SetFileName(AnsiString());
        DeleteFile(path);
        // Said in a message, as every failure of the player is: the status
        // line keeps no stale text.
        setStatus(AnsiString());
        if (dynamic_cast<const EMCINoInputDevice*>(&e))
            ShowCaptionMessage(this, text("IDS_ERROR"), text("IDS_NO_INPUT_DEVICE"));
        else
            ShowMessageDialog(this, mcMedia, kRecordFileMessage);
        return;
    }
    recording_ = true;
    setStatus(text("IDS_RECORDING"));
}

void TMediaFrame::Zapowiedzwybranegopliku1Click(TObject*) {
    if (const AnsiString refusal = LinkRefusal(); !refusal.empty()) return setStatus(text(refusal.c_str()));
    if (!RecDialog->Execute()) return;
    const TAnnouncementFileCheck check = PrepareAnnouncementFile(RecDialog->FileName(), UploadFileName());
    if (check != afAccepted) {
        ShowMessageDialog(this, mcAnnouncements, check);
        return;
    }
    startAnnouncementUpload(UploadFileName());
}

void TMediaFrame::startAnnouncementUpload(const AnsiString& FileName) {
    // The thread frees itself; the program's exit waits for it.
    new POSTThread(FileName, LinkSettings(), std::make_shared<TAnnouncementUi>(this, Life().Watch()));
}
