#include "workstation/UnitImportThread.h"

#include "rtl/Convert.h"
#include "rtl/Folders.h"
#include "vcl/Forms.h"
#include "workstation/Mainunit.h"
#include "workstation/Unitconnect.h"
#include "workstation/Unitdebug.h"
#include "workstation/Unitfiltr.h"
#include "workstation/Unitmediaframe.h"
#include "workstation/Unitmessage.h"
#include "workstation/Unitstatus.h"

#include <array>
#include <memory>

namespace {

// The main window while it can still be used: not being taken down.
TMainForm* LiveMainForm() {
    TMainForm* main = MainForm;
    return main && !main->ComponentState().Contains(csDestroying) ? main : nullptr;
}

// What an import that left recordings out says at its end; empty when it
// left none out.
AnsiString ClosingMessage(const TImportTexts& Texts, const TCardImportResult& Result) {
    AnsiString text;
    if (Result.DiskFull) text = Texts.DiskFull;
    if (Result.Failed > 0) {
        if (!text.empty()) text += "\n";
        text += Texts.Failed + " " + IntToStr(Result.Failed);
    }
    return text;
}

}  // namespace

ImportThread::ImportThread(const AnsiString& DriveRoot, const TImportTexts& Texts)
    : TThread(false), Drive(DriveRoot), texts_(Texts) {
    SetPriority(tpHigher);
    AfterConstruction();
}

void ImportThread::Log(const AnsiString& Line) { DebugLog(Line); }

void ImportThread::Progress(int Percent) {
    onMain([Percent](TMainForm& main) { main.StatusFrameBottom->StatusProgressBar->SetPosition(Percent); });
}

void ImportThread::Reload() {
    onMain([](TMainForm& main) { main.MediaFrame1->RefreshRecordings(); });
}

void ImportThread::onMain(const std::function<void(TMainForm&)>& Call) {
    if (Terminated()) return;
    Synchronize([this, &Call] {
        // Asked to stop while this call waited: the frames may be going.
        if (Terminated()) return;
        TMainForm* main = LiveMainForm();
        if (!main) return;
        // A list reload that fails says so itself; the import goes on.
        try {
            Call(*main);
        } catch (...) {
            DebugLog("Import: " + ExceptionText(std::current_exception()));
        }
    });
}

void ImportThread::Execute() {
    DebugLog("Import thread");
    // On the main thread, where the link's own buttons and timers run too.
    onMain([](TMainForm& main) { main.ConnectFrame1->Disconnect(); });
    onMain([this](TMainForm& main) {
        TStatusFrame* status = main.StatusFrameBottom;
        status->StatusLabel->SetCaption(texts_.Importing);
        status->StatusProgressBar->SetPosition(0);
        status->StatusLabel->Repaint();
    });
    DebugLog("Import dev: " + Drive);
    TCardImportResult result;
    try {
        result = ImportCardRecordings(ListCardRecordings(Drive, *this), ProgramDir(), *this);
    } catch (...) {
        DebugLog("Import: " + ExceptionText(std::current_exception()));
    }
    onMain([this, &result](TMainForm& main) { finish(main, result); });
}

void ImportThread::finish(TMainForm& Main, const TCardImportResult& Result) {
    // Recordings of every date come in: the coming reload shows them all.
    Main.FiltrFrame1->OdCheckBox->SetChecked(false);
    Main.FiltrFrame1->DoCheckBox->SetChecked(false);
    Main.MediaFrame1->RefreshRecordings();
    Main.StatusFrameBottom->StatusLabel->SetCaption(AnsiString());
    Main.StatusFrameBottom->StatusProgressBar->SetPosition(0);
    Main.ConnectFrame1->StartLoop();
    const AnsiString message = ClosingMessage(texts_, Result);
    if (message.empty()) return;
    // Queued, so that the import ends now and the message waits for the user alone.
    const AnsiString caption = texts_.ErrorCaption;
    TThread::Queue(nullptr, [caption, message] {
        if (TMainForm* main = LiveMainForm()) ShowCaptionMessage(main->MediaFrame1, caption, message);
    });
}

// ---------------------------------------------------------------------------
// The one import of the program and its owner

namespace {

class TImportRunner;
TImportRunner* Runner = nullptr;

// Holds the import thread for its owner. When the owner, or a frame the
// import touches, is destroyed, the import is stopped first and waited for.
class TImportRunner : public TComponent {
public:
    explicit TImportRunner(TComponent* AOwner) : TComponent(AOwner) { Runner = this; }
    ~TImportRunner() override {
        Stop();
        if (Runner == this) Runner = nullptr;
    }

    bool Running() const { return thread_ && !thread_->Finished(); }

    bool Start(const AnsiString& Drive, const TImportTexts& Texts) {
        if (Running()) return false;
        thread_.reset();
        if (TMainForm* main = LiveMainForm()) {
            watched_ = {main->StatusFrameBottom, main->FiltrFrame1, main->ConnectFrame1, main->MediaFrame1};
            for (TComponent* frame : watched_)
                if (frame) frame->FreeNotification(this);
        }
        thread_ = std::make_unique<ImportThread>(Drive, Texts);
        return true;
    }

    void Stop() {
        if (!thread_) return;
        thread_->Terminate();
        // On the main thread WaitFor serves the worker's waiting calls,
        // which see the stop and do nothing.
        thread_->WaitFor();
        thread_.reset();
    }

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override {
        TComponent::Notification(AComponent, Operation);
        // An owner tells its components of every sibling that goes: only
        // the frames the import uses matter.
        if (Operation != opRemove) return;
        for (TComponent*& frame : watched_)
            if (frame == AComponent) {
                frame = nullptr;
                Stop();
            }
    }

private:
    std::array<TComponent*, 4> watched_{};
    std::unique_ptr<ImportThread> thread_;
};

}  // namespace

bool StartCardImport(TComponent* Owner, const AnsiString& Drive, const TImportTexts& Texts) {
    if (!Runner) new TImportRunner(Owner);
    return Runner->Start(Drive, Texts);
}

bool CardImportRunning() { return Runner && Runner->Running(); }

void StopCardImport() {
    if (Runner) Runner->Stop();
}
