// Export of the selected recording: deciphered into a WAV file the user
// chooses, its progress in the status bar.
#include "workstation/Unitmediaframe.h"

#include "localization/Lxlnglnk.h"
#include "rtl/Folders.h"
#include "store/RecordingExport.h"
#include "store/UserRights.h"
#include "workstation/HourGlass.h"
#include "workstation/Mainunit.h"
#include "workstation/Unitdebug.h"
#include "workstation/Unitmessage.h"
#include "workstation/Unitstatus.h"

namespace {

// Media messages (catalogue 0).
constexpr int kOpenError = 0;
constexpr int kMemoryError = 1;
constexpr int kExportError = 4;
constexpr int kExportWriteError = 5;

const char* reason(TExportResult Result) {
    switch (Result) {
    case TExportResult::Ok: break;
    case TExportResult::Missing: return "no such recording file";
    case TExportResult::Damaged: return "shorter than a header";
    case TExportResult::OpenError: return "the recording cannot be read";
    case TExportResult::MemoryError: return "out of memory";
    case TExportResult::IntoStore: return "the target is in the recordings folder";
    case TExportResult::DiskFull: return "the disk is full";
    case TExportResult::WriteError: return "the target cannot be written";
    }
    return "";
}

}  // namespace

void TMediaFrame::showProgress(int Percent) {
    const auto* main = dynamic_cast<const TMainForm*>(Owner());
    if (!main || !main->StatusFrameBottom) return;
    TProgressBar* bar = main->StatusFrameBottom->StatusProgressBar;
    if (bar->Position() == Percent) return;
    bar->SetPosition(Percent);
    bar->Repaint();
}

void TMediaFrame::ExportImageClick(TObject*) {
    // Export hands out the sound itself: only with the right to listen.
    if (musicTable->Row() > 0 && MayExportRecording(currentUser())) {
        setStatus(text("IDS_EXPORTING"));
        const AnsiString name = selectedFileName();
        ExportDialog->SetFileName(ExportFileName(name));
        if (ExportDialog->Execute() && !exportRecording(name, ExportDialog->FileName())) return;
    }
    setStatus(AnsiString());
}

void TMediaFrame::op3Click(TObject* Sender) { ExportImageClick(Sender); }

bool TMediaFrame::exportRecording(const AnsiString& Name, const AnsiString& Target) {
    TExportResult result;
    {
        THourGlass hourGlass;
        result = ExportRecording(ProgramDir() + "files/", Name, Target, [this](int p) { showProgress(p); });
        showProgress(0);
    }
    if (result != TExportResult::Ok) DebugLog("Export of " + Name + " to " + Target + ": " + reason(result));
    switch (result) {
    case TExportResult::Ok: return true;
    case TExportResult::Missing:
    case TExportResult::Damaged:
        // The status line keeps saying what was being done.
        ShowMessageDialog(this, mcMedia, kExportError);
        return false;
    case TExportResult::OpenError:
        ShowMessageDialog(this, mcMedia, kOpenError);
        setStatus(text("IDS_OPEN_ERROR"));
        return false;
    case TExportResult::MemoryError: ShowMessageDialog(this, mcMedia, kMemoryError); break;
    case TExportResult::IntoStore: ShowCaptionMessage(this, text("IDS_ERROR"), text("IDS_EXPORT_INTO_STORE")); break;
    case TExportResult::DiskFull: ShowCaptionMessage(this, text("IDS_ERROR"), text("IDS_EXPORT_DISK_FULL")); break;
    case TExportResult::WriteError: ShowMessageDialog(this, mcMedia, kExportWriteError); break;
    }
    setStatus(AnsiString());
    return false;
}
