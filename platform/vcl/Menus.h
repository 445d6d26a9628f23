#pragma once
// Menus: items in a tree under a menu, popup menus shown at a screen point
// (also by a control's right click), and main menus (kept as state only:
// no form shows a menu bar).
//
// Items are components owned by the form or frame; the tree is kept by the
// items themselves (Parent, Items). Freeing an item frees its sub-items.
// The platform is handed a snapshot of the visible items when the menu
// pops up, so captions follow the current code page of the menu's owner.
#include "vcl/Graphics.h"
#include "vcl/Marshal.h"
#include "vcl/Peers.h"

#include <functional>
#include <memory>
#include <vector>

class TMenu;
class TMenuItem;
class TCustomImageList;
class TBasicAction;

using TShortCut = uint16_t;

enum TMenuAutoFlag : int { maAutomatic, maManual, maParent };
YORDE_ENUM_TYPEINFO(TMenuAutoFlag, "maAutomatic", "maManual", "maParent")

enum TPopupAlignment : int { paLeft, paRight, paCenter };
YORDE_ENUM_TYPEINFO(TPopupAlignment, "paLeft", "paRight", "paCenter")

enum TTrackButton : int { tbRightButton, tbLeftButton };
YORDE_ENUM_TYPEINFO(TTrackButton, "tbRightButton", "tbLeftButton")

// Owner-draw handlers are accepted and kept; items are always drawn by the
// platform as ordinary text.
using TMenuDrawItemEvent = TEvent<TObject*, TCanvas*, TRect, bool>;
using TMenuMeasureItemEvent = TEvent<TObject*, TCanvas*, int&, int&>;
YORDE_EVENT_TYPEINFO(TMenuDrawItemEvent)
YORDE_EVENT_TYPEINFO(TMenuMeasureItemEvent)

YORDE_DECLARE_EXCEPTION(EMenuError, Exception)

class TMenuItem : public TComponent {
    YORDE_CLASS(TMenuItem, TComponent)
public:
    explicit TMenuItem(TComponent* AOwner);
    // Leaves its parent and frees its sub-items.
    ~TMenuItem() override;

    AnsiString Caption() const;
    void SetCaption(const AnsiString& Value);
    bool Enabled() const;
    void SetEnabled(bool Value);
    bool Visible() const;
    void SetVisible(bool Value);
    bool Checked() const;
    void SetChecked(bool Value);
    bool RadioItem() const { return radioItem_; }
    void SetRadioItem(bool Value) { radioItem_ = Value; }
    int GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int Value) { groupIndex_ = Value; }
    bool AutoCheck() const { return autoCheck_; }
    void SetAutoCheck(bool Value) { autoCheck_ = Value; }
    bool Default() const { return default_; }
    void SetDefault(bool Value) { default_ = Value; }
    AnsiString Hint() const { return hint_; }
    void SetHint(const AnsiString& Value) { hint_ = Value; }
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int Value) { imageIndex_ = Value; }
    TShortCut ShortCut() const { return shortCut_; }
    void SetShortCut(TShortCut Value) { shortCut_ = Value; }
    TMenuAutoFlag AutoHotkeys() const { return autoHotkeys_; }
    void SetAutoHotkeys(TMenuAutoFlag Value) { autoHotkeys_ = Value; }
    // There are no actions in this program; always null (see TControl::Action).
    TBasicAction* Action() const { return nullptr; }

    // A caption of "-" makes the item a separator line.
    bool IsLine() const { return Caption() == "-"; }
    // The identifier the platform reports when the item is chosen.
    unsigned Command() const { return command_; }

    // Sub-items.
    int Count() const { return int(items_.size()); }
    TMenuItem* Items(int Index) const;  // EMenuError out of range
    void Add(TMenuItem* Item);
    void Insert(int Index, TMenuItem* Item);
    // Takes the item out of this one without freeing it.
    void Delete(int Index);
    void Remove(TMenuItem* Item);
    // Frees every sub-item.
    void Clear();
    int IndexOf(const TMenuItem* Item) const;
    // The sub-item whose caption matches (without '&', case-insensitive), or null.
    TMenuItem* Find(const AnsiString& ACaption) const;
    TMenuItem* Parent() const { return parent_; }
    int MenuIndex() const;
    void SetMenuIndex(int Value);
    // The menu whose tree holds this item, or null.
    TMenu* GetParentMenu() const;

    // Runs OnClick when the item is enabled (AutoCheck toggles Checked first).
    virtual void Click();

    bool HasParent() const override { return true; }
    TComponent* GetParentComponent() const override;
    void SetParentComponent(TComponent* Value) override;
    void GetChildren(TGetChildProc Proc, TComponent* Root) override;
    void SetChildOrder(TComponent* Child, int Order) override;

    TNotifyEvent OnClick;
    TMenuDrawItemEvent OnDrawItem;
    TMenuMeasureItemEvent OnMeasureItem;

private:
    friend class TMenu;
    TLifeToken life_;
    TMenuItem* parent_ = nullptr;
    TMenu* menu_ = nullptr;  // set on a menu's root item only
    std::vector<TMenuItem*> items_;
    AnsiString caption_;
    AnsiString hint_;
    bool enabled_ = true;
    bool visible_ = true;
    bool checked_ = false;
    bool radioItem_ = false;
    bool autoCheck_ = false;
    bool default_ = false;
    int groupIndex_ = 0;
    int imageIndex_ = -1;
    TShortCut shortCut_ = 0;
    TMenuAutoFlag autoHotkeys_ = maParent;
    unsigned command_;
};

class TMenu : public TComponent {
    YORDE_CLASS(TMenu, TComponent)
public:
    explicit TMenu(TComponent* AOwner);
    ~TMenu() override;

    // The invisible root item; its sub-items are the menu's items.
    TMenuItem* Items() const { return items_; }
    // Captions get no automatic '&' in either mode; the value is kept for
    // the layouts and the code that reads it.
    TMenuAutoFlag AutoHotkeys() const { return autoHotkeys_; }
    void SetAutoHotkeys(TMenuAutoFlag Value) { autoHotkeys_ = Value; }
    // Redundant separators (first, last, doubled) are left out when shown.
    TMenuAutoFlag AutoLineReduction() const { return autoLineReduction_; }
    void SetAutoLineReduction(TMenuAutoFlag Value) { autoLineReduction_ = Value; }
    bool OwnerDraw() const { return ownerDraw_; }
    void SetOwnerDraw(bool Value) { ownerDraw_ = Value; }
    TCustomImageList* Images() const { return images_; }
    void SetImages(TCustomImageList* Value);

    // The item with this command anywhere in the tree, or null.
    TMenuItem* FindItem(unsigned Command) const;
    // Clicks the item with this command when it can be chosen (it and its
    // parents enabled and visible); true when one was clicked.
    bool DispatchCommand(unsigned Command);
    // The code page the captions are shown in: the nearest control among
    // the owners, else the ANSI code page.
    int CodePage() const;
    // The visible items as the platform shows them.
    std::vector<TMenuEntry> BuildEntries() const;

    void GetChildren(TGetChildProc Proc, TComponent* Root) override;
    void SetChildOrder(TComponent* Child, int Order) override;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    IMenuPeer* MenuPeer();
    void DestroyMenuPeer() { peer_.reset(); }

private:
    void addEntries(const TMenuItem* Parent, std::vector<TMenuEntry>& Out) const;

    TMenuItem* items_;
    TMenuAutoFlag autoHotkeys_ = maAutomatic;
    TMenuAutoFlag autoLineReduction_ = maAutomatic;
    bool ownerDraw_ = false;
    TCustomImageList* images_ = nullptr;
    std::unique_ptr<IMenuPeer> peer_;
};

class TPopupMenu : public TMenu {
    YORDE_CLASS(TPopupMenu, TMenu)
public:
    explicit TPopupMenu(TComponent* AOwner);
    ~TPopupMenu() override;

    // Runs OnPopup, then shows the visible items at the screen point and
    // returns; a chosen item's OnClick runs from the event loop.
    virtual void Popup(int X, int Y);
    // The screen point of the last Popup.
    TPoint PopupPoint() const { return popupPoint_; }
    // The control (or tray icon) the menu was last popped up for.
    TComponent* PopupComponent() const { return popupComponent_; }
    void SetPopupComponent(TComponent* Value);
    // Whether a control's right click shows the menu.
    bool AutoPopup() const { return autoPopup_; }
    void SetAutoPopup(bool Value) { autoPopup_ = Value; }
    TPopupAlignment Alignment() const { return alignment_; }
    void SetAlignment(TPopupAlignment Value) { alignment_ = Value; }
    TTrackButton TrackButton() const { return trackButton_; }
    void SetTrackButton(TTrackButton Value) { trackButton_ = Value; }
    // Closes the menu when it is open.
    void CloseMenu();

    TNotifyEvent OnPopup;

protected:
    virtual void DoPopup();
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    TLifeToken life_;
    TPoint popupPoint_;
    TComponent* popupComponent_ = nullptr;
    bool autoPopup_ = true;
    TPopupAlignment alignment_ = paLeft;
    TTrackButton trackButton_ = tbRightButton;
};

class TMainMenu : public TMenu {
    YORDE_CLASS(TMainMenu, TMenu)
public:
    explicit TMainMenu(TComponent* AOwner) : TMenu(AOwner) {}
};

// Input from a menu peer, inside the exception barrier of TPeerInput.
class TMenuInput {
public:
    static void Command(TMenu* Menu, unsigned Command);
};

// Tests: sees every popup menu after its OnPopup, instead of the screen. The
// item returned is chosen as by the user (nothing happens when it cannot be
// chosen); null chooses nothing. Null removes the hook.
using TPopupMenuHook = std::function<TMenuItem*(TPopupMenu* Menu, int X, int Y)>;
void SetPopupMenuHook(TPopupMenuHook Hook);
