#pragma once
// Forms, frames, data modules, the application object and the screen.
//
// A form, frame or data module class with a layout reads it as the first
// statement of its most-derived constructor:
//
//   TMessageDialog::TMessageDialog(TComponent* AOwner) : TForm(AOwner) {
//       InitLayout();   // components, properties, events, fields; then Loaded
//       ...             // the constructor body
//   }
//
// OnCreate runs after the constructor body when the object is made through
// NewForm<T>(...) or Application->CreateForm(ref); plain `new` gives no OnCreate.
#include "vcl/Controls.h"

#include <exception>
#include <functional>
#include <new>
#include <type_traits>
#include <utility>
#include <vector>

enum TBorderIcon : int { biSystemMenu, biMinimize, biMaximize, biHelp };
YORDE_ENUM_TYPEINFO(TBorderIcon, "biSystemMenu", "biMinimize", "biMaximize", "biHelp")
YORDE_SET_TYPEINFO(TBorderIcons, TBorderIcon)

enum TPosition : int {
    poDesigned,
    poDefault,
    poDefaultPosOnly,
    poDefaultSizeOnly,
    poScreenCenter,
    poDesktopCenter,
    poMainFormCenter,
    poOwnerFormCenter
};
YORDE_ENUM_TYPEINFO(TPosition, "poDesigned", "poDefault", "poDefaultPosOnly", "poDefaultSizeOnly", "poScreenCenter",
                    "poDesktopCenter", "poMainFormCenter", "poOwnerFormCenter")

enum TFormStyle : int { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
YORDE_ENUM_TYPEINFO(TFormStyle, "fsNormal", "fsMDIChild", "fsMDIForm", "fsStayOnTop")

enum TWindowState : int { wsNormal, wsMinimized, wsMaximized };
YORDE_ENUM_TYPEINFO(TWindowState, "wsNormal", "wsMinimized", "wsMaximized")

enum TCloseAction : int { caNone, caHide, caFree, caMinimize };
YORDE_ENUM_TYPEINFO(TCloseAction, "caNone", "caHide", "caFree", "caMinimize")

using TCloseEvent = TEvent<TObject*, TCloseAction&>;
using TCloseQueryEvent = TEvent<TObject*, bool&>;
YORDE_EVENT_TYPEINFO(TCloseEvent)
YORDE_EVENT_TYPEINFO(TCloseQueryEvent)

// Reads Root's layout: the linked resource named after Root's class.
// EResNotFound when there is none.
void ReadComponentLayout(TComponent* Root);

class TScrollingWinControl : public TWinControl {
    YORDE_CLASS(TScrollingWinControl, TWinControl)
public:
    explicit TScrollingWinControl(TComponent* AOwner) : TWinControl(AOwner) {}
};

class TCustomForm : public TScrollingWinControl {
    YORDE_CLASS(TCustomForm, TScrollingWinControl)
public:
    explicit TCustomForm(TComponent* AOwner);
    ~TCustomForm() override;

    // Runs OnCreate (and shows a form whose layout made it visible); NewForm
    // and CreateForm call it after the constructor. An exception in OnCreate
    // is shown and construction goes on.
    virtual void AfterConstruction();
    void BeforeDestruction() override;

    TFormBorderStyle BorderStyle() const;
    void SetBorderStyle(TFormBorderStyle Value);
    TBorderIcons BorderIcons() const;
    void SetBorderIcons(TBorderIcons Value);
    TPosition Position() const { return position_; }
    void SetPosition(TPosition Value) { position_ = Value; }
    TFormStyle FormStyle() const { return formStyle_; }
    void SetFormStyle(TFormStyle Value);
    TWindowState WindowState() const;
    void SetWindowState(TWindowState Value);
    bool KeyPreview() const { return keyPreview_; }
    void SetKeyPreview(bool Value) { keyPreview_ = Value; }
    TModalResult ModalResult() const;
    void SetModalResult(TModalResult Value);
    TWinControl* ActiveControl() const { return activeControl_; }
    // Focuses the control when the form is showing; EInvalidOperation when
    // the control cannot be focused then.
    void SetActiveControl(TWinControl* Control);
    TIcon* Icon() const { return icon_.get(); }
    void SetIcon(TIcon* Value);
    TCanvas* Canvas() const { return canvas_.get(); }
    bool Active() const;
    bool Modal() const { return modal_; }
    // The code page the title is decoded with; 0 (the default) follows the
    // font's charset. For a fixed-literal caption whose bytes do not change
    // with the language.
    int CaptionCodePage() const { return captionCodePage_; }
    void SetCaptionCodePage(int Value);
    // The outer size includes the frame: ClientWidth = Width - 8 and
    // ClientHeight = Height - 34 for every framed style, both equal for bsNone.
    int ClientWidth() const override;
    int ClientHeight() const override;
    void SetClientSize(int AWidth, int AHeight) override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    static void FrameSize(TFormBorderStyle Style, int& DX, int& DY);

    void SetVisible(bool Value) override;
    void Show();
    void Hide();
    // Modeless: CloseQuery, OnClose, then hide (or free, minimise, or end the
    // program for the main form). Modal: ModalResult becomes mrCancel.
    void Close();
    virtual bool CloseQuery();
    // Shows the form and handles events until ModalResult is set (checked
    // after each handled event), then hides it and returns the result.
    virtual TModalResult ShowModal();
    // Frees the form from the event loop, after the running handler.
    void Release();
    void SetFocus() override;
    bool CanFocus() const override;
    void GetChildren(TGetChildProc Proc, TComponent* Root) override;

    TNotifyEvent OnCreate;
    TNotifyEvent OnDestroy;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TNotifyEvent OnPaint;

protected:
    friend class TPeerInput;
    friend class TApplication;
    friend class TWinControl;
    // Reads the layout named after this object's class (see the top of the file).
    void InitLayout() { ReadComponentLayout(this); }

    virtual void DoCreate();
    virtual void DoDestroy();
    virtual void DoShow();
    virtual void DoHide();
    virtual void DoClose(TCloseAction& Action);
    virtual void Activate();
    virtual void Deactivate();
    virtual void Paint();

    bool IsTopLevel() const override { return true; }
    void PaintControl(IPaintBackend& Backend, const TRect& ClipRect) override;
    void InitPeer() override;
    void PushBounds() override;
    void TextChanged() override;
    void CodePageChanged() override;
    void VisibleChanged() override;
    bool DialogKey(WORD Key, TShiftState Shift, TWinControl* FocusedControl) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Loaded() override;
    void CloseModal();

private:
    void pushBorder();
    void pushTitle();
    void placeOnShow();
    void focusFirst();
    void userResized(int ClientWidth, int ClientHeight);
    void userMoved(int ALeft, int ATop);
    void activeChanged(bool Active);
    void windowStateChanged(TWindowState State);

    TFormBorderStyle borderStyle_ = bsSizeable;
    TBorderIcons borderIcons_{biSystemMenu, biMinimize, biMaximize};
    TPosition position_ = poDefaultPosOnly;
    TFormStyle formStyle_ = fsNormal;
    TWindowState windowState_ = wsNormal;
    bool keyPreview_ = false;
    TModalResult modalResult_ = mrNone;
    int captionCodePage_ = 0;
    TWinControl* activeControl_ = nullptr;
    std::unique_ptr<TIcon> icon_;
    std::unique_ptr<TCanvas> canvas_;
    bool modal_ = false;
    bool shownOnce_ = false;
    bool showAfterCreate_ = false;
    bool active_ = false;
    bool created_ = false;
};

class TForm : public TCustomForm {
    YORDE_CLASS(TForm, TCustomForm)
public:
    explicit TForm(TComponent* AOwner) : TCustomForm(AOwner) {}
};

class TCustomFrame : public TScrollingWinControl {
    YORDE_CLASS(TCustomFrame, TScrollingWinControl)
public:
    explicit TCustomFrame(TComponent* AOwner);
    TComponent* GetChildOwner() override { return this; }
    void GetChildren(TGetChildProc Proc, TComponent* Root) override;

protected:
    void InitLayout() { ReadComponentLayout(this); }
    bool IsTopLevel() const override { return false; }
    void PaintControl(IPaintBackend& Backend, const TRect& ClipRect) override;
};

class TFrame : public TCustomFrame {
    YORDE_CLASS(TFrame, TCustomFrame)
public:
    explicit TFrame(TComponent* AOwner) : TCustomFrame(AOwner) {}
};

// A non-visual root: holds components, has a layout, is a global root.
class TDataModule : public TComponent {
    YORDE_CLASS(TDataModule, TComponent)
public:
    explicit TDataModule(TComponent* AOwner);
    ~TDataModule() override;
    virtual void AfterConstruction();
    void BeforeDestruction() override;
    void GetChildren(TGetChildProc Proc, TComponent* Root) override;

    TNotifyEvent OnCreate;
    TNotifyEvent OnDestroy;

protected:
    void InitLayout() { ReadComponentLayout(this); }

private:
    void destroyed();  // OnDestroy, once, when OnCreate ran
    bool created_ = false;
};

// Makes a form, frame or data module and runs its OnCreate after the constructor body.
template <class T, class... A>
T* NewForm(A&&... Args) {
    T* obj = new T(std::forward<A>(Args)...);
    obj->AfterConstruction();
    return obj;
}

// ---------------------------------------------------------------------------
// Test seams

// Sees every form about to run modally (after it is shown). A non-zero result
// becomes the modal result; zero lets the form run its loop (the hook may have
// queued input for it). Null removes the hook.
using TModalHook = std::function<TModalResult(TCustomForm* Form)>;
void SetModalHook(TModalHook Hook);

// Halt ends the process at once with the exit code (no cleanup), also while
// a form is being built. A hook replaces the exit (tests throw from it).
[[noreturn]] void Halt(int ExitCode);
void SetHaltHook(std::function<void(int ExitCode)> Hook);

// Lets a layer with its own exception type (not derived from std::exception)
// give its message to the standard error display: returns true and sets Text
// when it recognises the exception.
using TExceptionTextFn = std::function<bool(const std::exception_ptr& E, AnsiString& Text)>;
void RegisterExceptionText(TExceptionTextFn Fn);
// The message of any exception: Exception::Message, what(), a registered
// text, else "Unknown exception".
AnsiString ExceptionText(const std::exception_ptr& E);

// ---------------------------------------------------------------------------
// The application

using TExceptionHook = TEvent<TObject*, std::exception_ptr>;

class TApplication : public TComponent {
    YORDE_CLASS(TApplication, TComponent)
public:
    explicit TApplication(TComponent* AOwner);
    ~TApplication() override;

    void Initialize() {}
    AnsiString Title() const { return title_; }
    void SetTitle(const AnsiString& Value);
    TIcon* Icon() const { return icon_.get(); }
    // Copies the icon.
    void SetIcon(TIcon* Value);
    // The language of the platform's own texts: its file dialogs and the
    // buttons of its message boxes ("pl", "ru"; "en" or empty: English).
    // False when the platform has no texts in that language (they stay
    // English).
    bool SetLanguage(const AnsiString& Code);

    // Creates the form (or data module) owned by the application. Reference
    // is set before the constructor runs, so the global is valid inside it.
    // The first form made so becomes the main form.
    template <class T>
    void CreateForm(T*& Reference);

    TCustomForm* MainForm() const { return mainForm_; }
    bool ShowMainForm() const { return showMainForm_; }
    void SetShowMainForm(bool Value) { showMainForm_ = Value; }
    // Shows the main form and handles events until Terminate.
    void Run();
    // Ends Run's loop; no OnClose runs.
    void Terminate();
    bool Terminated() const { return terminated_; }
    // Tests: lets Run and modal loops run again after a Terminate.
    void ClearTerminated() { terminated_ = false; }
    // Handles what is pending, without waiting.
    void ProcessMessages();
    // Waits for an event and handles what is pending, queued calls included.
    void HandleMessage();

    // Shows the exception's message and returns (EAbort is silent). With
    // OnException set, the hook gets it instead.
    void HandleException(std::exception_ptr E);
    void HandleException(TObject* Sender);
    void ShowException(std::exception_ptr E);
    int MessageBox(const AnsiString& Text, const AnsiString& Caption, int Flags);

    TExceptionHook OnException;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;

private:
    friend class TCustomForm;
    void formDestroyed(TCustomForm* Form);

    AnsiString title_;
    std::unique_ptr<TIcon> icon_;
    TCustomForm* mainForm_ = nullptr;
    bool showMainForm_ = true;
    bool terminated_ = false;
};

extern TApplication* Application;

template <class T>
void TApplication::CreateForm(T*& Reference) {
    // The reference is valid while the constructor runs, as frames and
    // dialogs made during the construction of the main form expect.
    void* memory = ::operator new(sizeof(T));
    Reference = static_cast<T*>(memory);
    T* obj;
    try {
        obj = new (memory) T(this);
    } catch (...) {
        Reference = nullptr;
        ::operator delete(memory);
        throw;
    }
    if constexpr (std::is_base_of_v<TCustomForm, T>) {
        if (!mainForm_) mainForm_ = obj;
    }
    obj->AfterConstruction();
}

// ---------------------------------------------------------------------------
// The screen

class TScreen : public TComponent {
    YORDE_CLASS(TScreen, TComponent)
public:
    explicit TScreen(TComponent* AOwner) : TComponent(AOwner) {}

    // crDefault: each control's own cursor; anything else overrides them all.
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor Value);

    int FormCount() const { return int(forms_.size()); }
    TCustomForm* Forms(int Index) const;
    int CustomFormCount() const { return FormCount(); }
    TCustomForm* CustomForms(int Index) const { return Forms(Index); }
    int DataModuleCount() const { return int(dataModules_.size()); }
    TDataModule* DataModules(int Index) const;
    TCustomForm* ActiveForm() const { return activeForm_; }
    TWinControl* ActiveControl() const;

    // The primary screen.
    int Width() const;
    int Height() const;
    TRect WorkAreaRect() const;
    // All screens together.
    int DesktopLeft() const;
    int DesktopTop() const;
    int DesktopWidth() const;
    int DesktopHeight() const;
    int PixelsPerInch() const { return ::PixelsPerInch; }

private:
    friend class TCustomForm;
    friend class TDataModule;
    std::vector<TCustomForm*> forms_;
    std::vector<TDataModule*> dataModules_;
    TCustomForm* activeForm_ = nullptr;
    TCursor cursor_ = crDefault;
};

extern TScreen* Screen;

class TMouse {
public:
    TPoint CursorPos() const;
};
extern TMouse* Mouse;
