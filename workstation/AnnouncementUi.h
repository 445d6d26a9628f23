#pragma once
// The GUI side of an announcement upload: the slot dialog, the main
// window's enabling, the status line and the error message, each done on
// the GUI thread while the upload waits. Texts are the recordings frame's.
// Once the frame is gone nothing more is shown (the slot then counts as not
// chosen), so an upload never touches a destroyed window.
#include "devicelink/UploadUi.h"

#include <functional>
#include <memory>

class TMediaFrame;

class TAnnouncementUi : public TUploadUi {
public:
    // FrameAlive expires when the frame is destroyed.
    TAnnouncementUi(TMediaFrame* Frame, std::weak_ptr<char> FrameAlive);

    void Log(const AnsiString& Line) override;
    int ChooseSlot() override;
    void ShowStatus(const AnsiString& Key) override;
    void ShowSendError() override;
    void UploadFinished(TUploadResult Result) override;

private:
    // Runs Fn on the GUI thread and returns once it has run; nothing when
    // the frame is gone.
    void onGui(const std::function<void()>& Fn);
    AnsiString text(const char* Key) const;

    TMediaFrame* frame_;
    std::weak_ptr<char> frameAlive_;
};
