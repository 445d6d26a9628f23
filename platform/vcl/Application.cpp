// TApplication, TScreen, TMouse and the process-level hooks.
#include "vcl/Dialogs.h"
#include "vcl/Forms.h"
#include "vcl/PeerInput.h"
#include "vcl/Register.h"

#include "rtl/Convert.h"

#include <cstdio>
#include <cstdlib>
#include <mutex>

YORDE_IMPLEMENT_CLASS(TApplication, [](TClassBuilder<TApplication>& c) {
    c.Property("Title", &TApplication::Title, &TApplication::SetTitle);
})
YORDE_IMPLEMENT_CLASS(TScreen, [](TClassBuilder<TScreen>&) {})

namespace {
const bool classesRegistered = (RegisterVclClasses(), true);
}

// They live as long as the process: forms may still refer to them while
// static objects are destroyed at exit.
TApplication* Application = new TApplication(nullptr);
TScreen* Screen = new TScreen(nullptr);
TMouse* Mouse = new TMouse;

namespace {

std::function<void(int)>& haltHook() {
    static std::function<void(int)> hook;
    return hook;
}

struct ExceptionTexts {
    std::mutex mutex;
    std::vector<TExceptionTextFn> fns;
};

ExceptionTexts& exceptionTexts() {
    static ExceptionTexts* t = new ExceptionTexts;
    return *t;
}

}  // namespace

// ---------------------------------------------------------------------------
// Process hooks

void SetHaltHook(std::function<void(int)> Hook) { haltHook() = std::move(Hook); }

void Halt(int ExitCode) {
    if (haltHook()) haltHook()(ExitCode);
    std::fflush(nullptr);
    std::_Exit(ExitCode);
}

void RegisterExceptionText(TExceptionTextFn Fn) {
    auto& t = exceptionTexts();
    std::lock_guard lock(t.mutex);
    t.fns.push_back(std::move(Fn));
}

AnsiString ExceptionText(const std::exception_ptr& E) {
    if (!E) return AnsiString();
    try {
        std::rethrow_exception(E);
    } catch (const Exception& e) {
        return e.Message;
    } catch (const std::exception& e) {
        return FromCStr(e.what());
    } catch (...) {
    }
    std::vector<TExceptionTextFn> fns;
    {
        auto& t = exceptionTexts();
        std::lock_guard lock(t.mutex);
        fns = t.fns;
    }
    for (const auto& fn : fns) {
        AnsiString text;
        try {
            if (fn(E, text)) return text;
        } catch (...) {
        }
    }
    return "Unknown exception";
}

// ---------------------------------------------------------------------------
// TApplication

TApplication::TApplication(TComponent* AOwner) : TComponent(AOwner), icon_(std::make_unique<TIcon>()) {}

TApplication::~TApplication() = default;

void TApplication::SetTitle(const AnsiString& Value) {
    title_ = Value;
    if (IPeerFactory* f = PeerFactory()) f->Application().SetTitle(AnsiToUtf8(Value));
}

void TApplication::SetIcon(TIcon* Value) {
    icon_->Assign(Value);
    if (IPeerFactory* f = PeerFactory())
        f->Application().SetIcon(TPixelsView{icon_->Width(), icon_->Height(), icon_->PixelData()});
}

bool TApplication::SetLanguage(const AnsiString& Code) {
    IPeerFactory* f = PeerFactory();
    return f && f->Application().SetLanguage(Code);
}

void TApplication::formDestroyed(TCustomForm* Form) {
    if (mainForm_ == Form) mainForm_ = nullptr;
}

void TApplication::Run() {
    if (!mainForm_) return;
    if (showMainForm_) {
        try {
            mainForm_->Show();
        } catch (...) {
            HandleException(std::current_exception());
        }
    }
    while (!terminated_) HandleMessage();
}

void TApplication::Terminate() {
    terminated_ = true;
    if (IPeerFactory* f = PeerFactory()) f->Application().Wake();
}

namespace {

// Runs the queued calls; a failing one is reported and the rest still run.
void serveQueue() {
    for (int round = 0; round < 1000; ++round) {
        try {
            CheckSynchronize();
            return;
        } catch (...) {
            Application->HandleException(std::current_exception());
        }
    }
}

}  // namespace

void TApplication::ProcessMessages() {
    if (IPeerFactory* f = PeerFactory()) f->Application().ProcessMessages();
    serveQueue();
}

void TApplication::HandleMessage() {
    if (IPeerFactory* f = PeerFactory()) {
        f->Application().HandleMessage();
    } else {
        // No event loop: wait a little for queued calls.
        try {
            CheckSynchronize(20);
        } catch (...) {
            HandleException(std::current_exception());
        }
    }
    serveQueue();
}

void TApplication::HandleException(TObject* /*Sender*/) { HandleException(std::current_exception()); }

void TApplication::HandleException(std::exception_ptr E) {
    if (!E) return;
    try {
        std::rethrow_exception(E);
    } catch (const EAbort&) {
        return;
    } catch (...) {
    }
    try {
        if (OnException)
            OnException(this, E);
        else
            ShowException(E);
    } catch (...) {
        // Nothing may leave the error display.
        std::fprintf(stderr, "Exception in the exception handler: %s\n",
                     ExceptionText(std::current_exception()).c_str());
    }
}

void TApplication::ShowException(std::exception_ptr E) {
    AnsiString msg = ExceptionText(E);
    if (!msg.empty() && static_cast<unsigned char>(msg.back()) > '.') msg += '.';
    MessageBox(msg, title_, MB_OK | MB_ICONSTOP);
}

int TApplication::MessageBox(const AnsiString& Text, const AnsiString& Caption, int Flags) {
    return ShowMessageBox(Text, Caption, Flags);
}

// ---------------------------------------------------------------------------
// TScreen

void TScreen::SetCursor(TCursor Value) {
    if (!IsMainThread()) {
        TThread::Queue(nullptr, [this, Value] { SetCursor(Value); });
        return;
    }
    if (Value == cursor_) return;
    cursor_ = Value;
    if (IPeerFactory* f = PeerFactory()) f->Application().SetOverrideCursor(Value);
}

TCustomForm* TScreen::Forms(int Index) const {
    if (Index < 0 || Index >= int(forms_.size()))
        throw EListError("List index out of bounds (" + IntToStr(Index) + ")");
    return forms_[size_t(Index)];
}

TDataModule* TScreen::DataModules(int Index) const {
    if (Index < 0 || Index >= int(dataModules_.size()))
        throw EListError("List index out of bounds (" + IntToStr(Index) + ")");
    return dataModules_[size_t(Index)];
}

TWinControl* TScreen::ActiveControl() const { return activeForm_ ? activeForm_->ActiveControl() : nullptr; }

namespace {
TRect screenRect() {
    IPeerFactory* f = PeerFactory();
    return f ? f->Application().ScreenRect() : TRect(0, 0, 1024, 768);
}
TRect desktopRect() {
    IPeerFactory* f = PeerFactory();
    return f ? f->Application().DesktopRect() : TRect(0, 0, 1024, 768);
}
}  // namespace

int TScreen::Width() const { return screenRect().Width(); }
int TScreen::Height() const { return screenRect().Height(); }
TRect TScreen::WorkAreaRect() const {
    IPeerFactory* f = PeerFactory();
    return f ? f->Application().WorkAreaRect() : TRect(0, 0, 1024, 768);
}
int TScreen::DesktopLeft() const { return desktopRect().Left; }
int TScreen::DesktopTop() const { return desktopRect().Top; }
int TScreen::DesktopWidth() const { return desktopRect().Width(); }
int TScreen::DesktopHeight() const { return desktopRect().Height(); }

TPoint TMouse::CursorPos() const {
    IPeerFactory* f = PeerFactory();
    return f ? f->Application().CursorPos() : TPoint();
}
