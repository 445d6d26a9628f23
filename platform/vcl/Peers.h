#pragma once
// What a control needs from the screen, as interfaces. A component keeps all
// its state itself and pushes it to its peer; the peer reports input back
// through TPeerInput (PeerInput.h). The Qt platform implements these; without
// an installed platform controls are plain state holders.
//
// Every call on a peer happens on the main thread.
#include "vcl/Graphics.h"
#include "vcl/Types.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class TControl;
class TWinControl;
class TCustomForm;
class TTimer;
class TBitmap;
enum TCursor : int;
enum TCheckBoxState : int;
enum TFormBorderStyle : int;
enum TFormStyle : int;
enum TWindowState : int;
enum TBorderIcon : int;
using TBorderIcons = TSet<TBorderIcon>;

// ---------------------------------------------------------------------------
// Painting

struct TPixelsView {
    int Width = 0;
    int Height = 0;
    const uint32_t* Pixels = nullptr;  // 0xAARRGGBB, rows top first
};

// Draws into a widget during its paint, into a bitmap, or only measures.
// Colours are plain RGB (ColorToRGB done); texts are UTF-8.
class IPaintBackend {
public:
    virtual ~IPaintBackend() = default;
    virtual void FillRect(const TRect& R, TColor Color) = 0;
    // From one point to the other, the last pixel excluded.
    virtual void Line(TPoint From, TPoint To, const TPenData& Pen) = 0;
    virtual void Polyline(const std::vector<TPoint>& Points, const TPenData& Pen) = 0;
    virtual void Polygon(const std::vector<TPoint>& Points, const TBrushData& Brush, const TPenData& Pen) = 0;
    virtual void Rectangle(const TRect& R, const TBrushData& Brush, const TPenData& Pen) = 0;
    virtual void Ellipse(const TRect& R, const TBrushData& Brush, const TPenData& Pen) = 0;
    // One line at X, Y (top-left of the text cell); Opaque: fill the cell first.
    virtual void TextOut(int X, int Y, const std::string& Utf8, const TFontData& Font, const TRect* Clip,
                         const TColor* Opaque) = 0;
    // DT_ flags; DT_CALCRECT measures only and adjusts R. Returns the height.
    virtual int DrawText(const std::string& Utf8, TRect& R, unsigned Format, const TFontData& Font) = 0;
    virtual TSize TextExtent(const std::string& Utf8, const TFontData& Font) = 0;
    // TransparentKey: an RGB colour left unpainted, or -1.
    virtual void DrawPixels(const TRect& Dest, const TPixelsView& Image, int32_t TransparentKey) = 0;
    virtual TColor GetPixel(int X, int Y) = 0;
    virtual void SetPixel(int X, int Y, TColor Color) = 0;
    virtual TRect ClipRect() = 0;
};

// ---------------------------------------------------------------------------
// Controls

class IControlPeer {
public:
    virtual ~IControlPeer() = default;
    // Relative to the parent's client area (forms: see IFormPeer).
    virtual void SetBounds(int Left, int Top, int Width, int Height) = 0;
    virtual void SetVisible(bool Visible) = 0;
    virtual void SetEnabled(bool Enabled) = 0;
    // Caption or text as code-page bytes; the peer shows them decoded, cut at NUL.
    virtual void SetText(const AnsiString& Bytes, int CodePage) = 0;
    virtual void SetFont(const TFontData& Font) = 0;
    // Color: plain RGB; ParentBackground: draw nothing, the parent shows through.
    virtual void SetColor(TColor Color, bool ParentBackground) = 0;
    // Empty: no tooltip.
    virtual void SetHint(const AnsiString& Bytes, int CodePage) = 0;
    virtual void SetCursor(TCursor Cursor) = 0;
    virtual void Invalidate() = 0;
    // Paints now, before returning.
    virtual void Repaint() = 0;
    // Paints what is pending now.
    virtual void Update() = 0;
    virtual bool SetFocus() = 0;
    virtual bool Focused() const = 0;
    virtual void BringToFront() = 0;
    virtual void SendToBack() = 0;
    virtual TPoint ClientToScreen(TPoint P) const = 0;
    virtual TPoint ScreenToClient(TPoint P) const = 0;
    // Keyboard focus order of windowed children (first to last).
    virtual void SetTabChain(const std::vector<IControlPeer*>& Chain) { (void)Chain; }
    // Whether Tab reaches the control (it can still be clicked into).
    virtual void SetTabStop(bool TabStop) { (void)TabStop; }
};

class IFormPeer : public IControlPeer {
public:
    // Left/Top: the outer frame; ClientWidth/ClientHeight: the inside.
    virtual void SetFormBounds(int Left, int Top, int ClientWidth, int ClientHeight) = 0;
    virtual void SetBorder(TFormBorderStyle Style, TBorderIcons Icons) = 0;
    virtual void SetFormStyle(TFormStyle Style) = 0;
    virtual void SetWindowState(TWindowState State) = 0;
    // Blocks input to the other windows while shown.
    virtual void SetModal(bool Modal) = 0;
    virtual void Activate() = 0;
    virtual bool Active() const = 0;
    virtual void SetIcon(const TPixelsView& Icon) = 0;
};

class IEditPeer : public IControlPeer {
public:
    virtual void SetMaxLength(int MaxLength) = 0;  // 0: none; limits typing and pasting only
    virtual void SetPasswordChar(char PasswordChar) = 0;
    virtual void SetReadOnly(bool ReadOnly) = 0;
    virtual void SetSelection(int Start, int Length) = 0;
    virtual void GetSelection(int& Start, int& Length) const = 0;
};

class IButtonPeer : public IControlPeer {
public:
    virtual void SetDefault(bool Default) = 0;
    // TBitBtn's glyph; empty view: none.
    virtual void SetGlyph(const TPixelsView& Glyph, int32_t TransparentKey) {
        (void)Glyph;
        (void)TransparentKey;
    }
};

class ICheckBoxPeer : public IControlPeer {
public:
    virtual void SetState(TCheckBoxState State) = 0;
};

// ---------------------------------------------------------------------------
// Non-visual peers

class ITimerPeer {
public:
    virtual ~ITimerPeer() = default;
    // Interval > 0 and Enabled: fires TPeerInput::TimerFired every Interval ms.
    virtual void Set(bool Enabled, unsigned Interval) = 0;
};

// A notification-area icon. Clicks come back through TTrayInput (vcl/TrayIcon.h).
class ITrayPeer {
public:
    virtual ~ITrayPeer() = default;
    virtual bool Available() const = 0;
    virtual void SetVisible(bool Visible) = 0;
    virtual void SetIcon(const TPixelsView& Icon) = 0;
    virtual void SetHint(const AnsiString& Bytes, int CodePage) = 0;
};

// Message-box flags and results (the Windows values).
constexpr int MB_OK = 0x0, MB_OKCANCEL = 0x1, MB_ABORTRETRYIGNORE = 0x2, MB_YESNOCANCEL = 0x3, MB_YESNO = 0x4,
              MB_RETRYCANCEL = 0x5, MB_ICONHAND = 0x10, MB_ICONSTOP = 0x10, MB_ICONERROR = 0x10, MB_ICONQUESTION = 0x20,
              MB_ICONEXCLAMATION = 0x30, MB_ICONWARNING = 0x30, MB_ICONASTERISK = 0x40, MB_ICONINFORMATION = 0x40,
              MB_DEFBUTTON2 = 0x100, MB_DEFBUTTON3 = 0x200;
constexpr int IDOK = 1, IDCANCEL = 2, IDABORT = 3, IDRETRY = 4, IDIGNORE = 5, IDYES = 6, IDNO = 7;

// An open or save file dialog (TOpenDialog/TSaveDialog fill it in). Texts
// are UTF-8; paths are file-system texts.
struct TFileDialogData {
    struct Filter {
        std::string Description;
        std::vector<std::string> Masks;  // "*.csv", "*.*" ...
    };
    bool Save = false;
    std::string Title;            // empty: the platform's own
    std::vector<Filter> Filters;  // empty: every file
    int FilterIndex = 0;          // 0-based, in and out
    std::string Directory;        // where the dialog opens; empty: the current folder
    std::string FileName;         // the name proposed (no folder)
    std::string DefaultExt;       // without the dot; empty: nothing is appended
    bool OverwritePrompt = false;
    bool FileMustExist = false;
    bool PathMustExist = false;
    bool AllowMultiSelect = false;
    bool ShowHidden = false;
    std::vector<std::string> Files;  // out: the chosen paths
};

class IDialogPeer {
public:
    virtual ~IDialogPeer() = default;
    // Runs modally (timers and queued calls go on); returns an ID* value.
    virtual int MessageBox(const std::string& TextUtf8, const std::string& CaptionUtf8, int Flags) = 0;
    // Runs modally (timers and queued calls go on); true with Data.Files set
    // when the user chose. Never changes the process's current folder.
    virtual bool FileDialog(TFileDialogData& Data) {
        (void)Data;
        return false;
    }
};

// ---------------------------------------------------------------------------
// Menus

// One entry of a popup menu as the platform shows it.
struct TMenuEntry {
    unsigned Command = 0;  // reported back when chosen (TMenuInput::Command)
    std::string Caption;   // UTF-8; '&' marks the accelerator, "&&" is a '&'
    bool Separator = false;
    bool Enabled = true;
    bool Checked = false;
    bool RadioItem = false;
    bool Default = false;  // shown bold
    int IconWidth = 0;
    int IconHeight = 0;
    std::vector<uint32_t> Icon;     // 0xAARRGGBB, empty: none
    std::vector<TMenuEntry> Items;  // a submenu when not empty
};

class IMenuPeer {
public:
    virtual ~IMenuPeer() = default;
    // Shows the entries at a screen point and returns at once; a chosen
    // entry comes back through TMenuInput::Command. A new popup replaces
    // one still open.
    virtual void Popup(const std::vector<TMenuEntry>& Items, TPoint ScreenPos) = 0;
    virtual void Close() = 0;
};

// The event loop and the screen.
class IApplicationPeer {
public:
    virtual ~IApplicationPeer() = default;
    // Handles what is pending, without waiting.
    virtual void ProcessMessages() = 0;
    // Waits for at least one event and handles what is pending.
    virtual void HandleMessage() = 0;
    // Makes a waiting HandleMessage return (any thread).
    virtual void Wake() = 0;
    virtual TRect ScreenRect() const = 0;    // the primary screen
    virtual TRect WorkAreaRect() const = 0;  // without panels and docks
    virtual TRect DesktopRect() const = 0;   // all screens together
    virtual TPoint CursorPos() const = 0;
    // crDefault: no override cursor.
    virtual void SetOverrideCursor(TCursor Cursor) = 0;
    virtual void SetTitle(const std::string& Utf8) = 0;
    virtual void SetIcon(const TPixelsView& Icon) = 0;
    virtual void Beep() = 0;
    // The language of the platform's own texts (file dialogs, standard
    // buttons): a language code such as "pl"; "en" or empty: English.
    // False when the platform has no texts in that language.
    virtual bool SetLanguage(const std::string& Code) = 0;
};

// Creates the peers; installed once by the platform.
class IPeerFactory {
public:
    virtual ~IPeerFactory() = default;
    virtual IApplicationPeer& Application() = 0;
    virtual IDialogPeer& Dialogs() = 0;
    // The peer for the nearest class in Control's class chain that has one;
    // Parent is the parent's peer (null for forms).
    virtual std::unique_ptr<IControlPeer> CreateControlPeer(TControl* Control, IControlPeer* Parent) = 0;
    virtual std::unique_ptr<ITimerPeer> CreateTimerPeer(TTimer* Timer) = 0;
    // Null when the desktop has no tray.
    virtual std::unique_ptr<ITrayPeer> CreateTrayPeer(TComponent* Tray) = 0;
    // Null: the platform shows no popup menus.
    virtual std::unique_ptr<IMenuPeer> CreateMenuPeer(TComponent* Menu) {
        (void)Menu;
        return nullptr;
    }
    // Draws into the bitmap's pixels, which must not move while it lives.
    virtual std::unique_ptr<IPaintBackend> CreateBitmapBackend(TBitmap* Bitmap) = 0;
    // Measures text (drawing through it does nothing).
    virtual IPaintBackend& Measurer() = 0;
    // Image files other than BMP (PNG, ICO ...).
    virtual bool DecodeImage(const std::string& Bytes, int& Width, int& Height, std::vector<uint32_t>& Pixels) = 0;
    virtual bool EncodeImage(const TPixelsView& Image, const char* Format, std::string& Bytes) = 0;
};

// The installed platform, or null.
IPeerFactory* PeerFactory();
void InstallPeerFactory(IPeerFactory* Factory);
