#pragma once
// The notification-area ("tray") icon, and minimising the main window to it.
//
// While MinimizeToTray is set the component takes the main window's minimise
// over: the user's minimise button runs Minimize(). Minimize() hides the
// window (with Hide set the program thus leaves the task bar) and fires
// OnMinimize; Restore() shows and activates it again and fires OnRestore.
// The form stays Visible throughout, so its OnShow/OnHide do not run.
//
// When the desktop has no tray (or the icon is not visible) a hidden window
// could not be brought back: Minimize() then minimises the window normally
// and the user's restore from the task bar fires OnRestore, so the two
// states stay in step with what the user sees.
#include "vcl/Graphics.h"
#include "vcl/Marshal.h"
#include "vcl/Peers.h"

#include <functional>
#include <memory>

class TCustomForm;
class TCustomImageList;
class TPopupMenu;

// What the user does with the icon, for RestoreOn and PopupMenuOn.
enum TTrayIconMessage : int {
    imClick,
    imDoubleClick,
    imMouseDown,
    imMouseUp,
    imLeftClickUp,
    imLeftDoubleClick,
    imRightClickUp,
    imRightDoubleClick,
    imNone
};
YORDE_ENUM_TYPEINFO(TTrayIconMessage, "imClick", "imDoubleClick", "imMouseDown", "imMouseUp", "imLeftClickUp",
                    "imLeftDoubleClick", "imRightClickUp", "imRightDoubleClick", "imNone")

class TTrayIcon : public TComponent {
    YORDE_CLASS(TTrayIcon, TComponent)
public:
    explicit TTrayIcon(TComponent* AOwner);
    ~TTrayIcon() override;

    bool Visible() const;
    void SetVisible(bool Value);
    AnsiString Hint() const;
    void SetHint(const AnsiString& Value);
    // The icon shown: Icons[IconIndex] when that exists, else Icon, else the
    // application's icon.
    TIcon* Icon() const { return icon_.get(); }
    void SetIcon(TIcon* Value);
    TCustomImageList* Icons() const { return icons_; }
    void SetIcons(TCustomImageList* Value);
    int IconIndex() const { return iconIndex_; }
    void SetIconIndex(int Value);
    TPopupMenu* PopupMenu() const { return popupMenu_; }
    void SetPopupMenu(TPopupMenu* Value);
    TTrayIconMessage PopupMenuOn() const { return popupMenuOn_; }
    void SetPopupMenuOn(TTrayIconMessage Value) { popupMenuOn_ = Value; }
    TTrayIconMessage RestoreOn() const { return restoreOn_; }
    void SetRestoreOn(TTrayIconMessage Value) { restoreOn_ = Value; }
    // Leave the task bar while in the tray (else the window is minimised
    // normally and the icon stays beside it).
    bool Hide() const { return hide_; }
    void SetHide(bool Value) { hide_ = Value; }
    bool MinimizeToTray() const { return minimizeToTray_; }
    void SetMinimizeToTray(bool Value) { minimizeToTray_ = Value; }

    void Minimize();
    void Restore();
    // Sets the icon and the tooltip again (while visible).
    void Update();
    // True while minimised by Minimize() (or by the user).
    bool Minimized() const { return minimized_; }
    // Whether the icon really shows in a tray now.
    bool InTray();

    void Loaded() override;

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TNotifyEvent OnMinimize;
    TNotifyEvent OnRestore;

protected:
    friend class TTrayInput;
    virtual void Click();
    virtual void DblClick();
    virtual void ContextMenu(int X, int Y);
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    ITrayPeer* peer();
    void pushIcon();
    void pushHint();
    void pushAll();
    TCustomForm* window() const;
    bool windowStateChanging(TCustomForm* Form, TWindowState State);
    void popup(int X, int Y);

    TLifeToken life_;
    bool visible_ = false;
    AnsiString hint_;
    std::unique_ptr<TIcon> icon_;
    TCustomImageList* icons_ = nullptr;
    int iconIndex_ = 0;
    TPopupMenu* popupMenu_ = nullptr;
    TTrayIconMessage popupMenuOn_ = imRightClickUp;
    TTrayIconMessage restoreOn_ = imDoubleClick;
    bool hide_ = true;
    bool minimizeToTray_ = true;
    bool minimized_ = false;
    bool hiddenInTray_ = false;  // the window was hidden by Minimize()
    bool peerAsked_ = false;
    std::unique_ptr<ITrayPeer> peer_;
    int observerId_ = 0;
};

// Input from a tray peer, inside the exception barrier of TPeerInput.
class TTrayInput {
public:
    static void Click(TTrayIcon* Tray);
    static void DoubleClick(TTrayIcon* Tray);
    // The right button released over the icon, at a screen point.
    static void ContextMenu(TTrayIcon* Tray, int ScreenX, int ScreenY);
};

// Tests: supplies the tray peer instead of the platform (the offscreen
// platform has no tray). Null removes the hook.
using TTrayPeerHook = std::function<std::unique_ptr<ITrayPeer>(TTrayIcon* Tray)>;
void SetTrayPeerHook(TTrayPeerHook Hook);
