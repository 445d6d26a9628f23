#include "workstation/AnnouncementUi.h"

#include "localization/Lxlnglnk.h"
#include "workstation/Mainunit.h"
#include "workstation/Unitannoun.h"
#include "workstation/Unitdebug.h"
#include "workstation/Unitmediaframe.h"
#include "workstation/Unitmessage.h"
#include "workstation/Unitstatus.h"

namespace {

void EnableMainWindow(bool Enabled) {
    if (MainForm) MainForm->SetEnabled(Enabled);
}

}  // namespace

TAnnouncementUi::TAnnouncementUi(TMediaFrame* Frame, std::weak_ptr<char> FrameAlive)
    : frame_(Frame), frameAlive_(std::move(FrameAlive)) {}

void TAnnouncementUi::onGui(const std::function<void()>& Fn) {
    TThread::Synchronize(nullptr, [this, &Fn] {
        if (!frameAlive_.expired()) Fn();
    });
}

AnsiString TAnnouncementUi::text(const char* Key) const { return frame_->lxLangLinked1->GetTextOrDefault(Key); }

void TAnnouncementUi::Log(const AnsiString& Line) { DebugLog(Line); }

int TAnnouncementUi::ChooseSlot() {
    int slot = -1;
    onGui([&] {
        // Every window is a top-level one: the dialog stays usable while
        // the main window is disabled.
        EnableMainWindow(false);
        const std::unique_ptr<TAnnounDialog, void (*)(TObject*)> dialog(NewForm<TAnnounDialog>(frame_), &TObject::Free);
        if (dialog->ShowModal() == mrOk) slot = dialog->GetAnnouncementNumber();
    });
    return slot;
}

void TAnnouncementUi::ShowStatus(const AnsiString& Key) {
    onGui([&] {
        if (!MainForm || !MainForm->StatusFrameBottom) return;
        TLabel* label = MainForm->StatusFrameBottom->StatusLabel;
        label->SetCaption(Key.empty() ? AnsiString() : text(Key.c_str()));
        label->Repaint();
    });
}

void TAnnouncementUi::ShowSendError() {
    onGui([&] { ShowCaptionMessage(frame_, text("IDS_ERROR"), text("IDS_ANNOUNCE_SEND_ERROR")); });
}

void TAnnouncementUi::UploadFinished(TUploadResult) {
    // Also when the frame is gone: the window must not stay disabled.
    TThread::Synchronize(nullptr, [] { EnableMainWindow(true); });
}
