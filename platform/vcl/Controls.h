#pragma once
// TControl and TWinControl: the state every control keeps (position, text,
// font, colour, visibility ...), the parent/child tree with alignment, the
// event rules, and the link to the control's peer.
//
// A control's peer is created when its form is first shown or a handle is
// needed, and mirrors the state from then on. Setters called on a worker
// thread are queued to the main thread, getters wait for it (Marshal.h).
#include "vcl/Graphics.h"
#include "vcl/Marshal.h"
#include "vcl/Peers.h"

#include "rtl/MixedText.h"

#include <memory>
#include <vector>

using WORD = uint16_t;

class TWinControl;
class TCustomForm;
class TPopupMenu;
class TBasicAction;

enum TAlign : int { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
YORDE_ENUM_TYPEINFO(TAlign, "alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient", "alCustom")

enum TAlignment : int { taLeftJustify, taRightJustify, taCenter };
YORDE_ENUM_TYPEINFO(TAlignment, "taLeftJustify", "taRightJustify", "taCenter")

enum TMouseButton : int { mbLeft, mbRight, mbMiddle };
YORDE_ENUM_TYPEINFO(TMouseButton, "mbLeft", "mbRight", "mbMiddle")

enum TShiftStateItem { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = TSet<TShiftStateItem>;
YORDE_ENUM_TYPEINFO(TShiftStateItem, "ssShift", "ssAlt", "ssCtrl", "ssLeft", "ssRight", "ssMiddle", "ssDouble")
YORDE_SET_TYPEINFO(TShiftState, TShiftStateItem)

enum THelpType : int { htKeyword, htContext };
YORDE_ENUM_TYPEINFO(THelpType, "htKeyword", "htContext")

enum TCursor : int {
    crDefault = 0,
    crNone = -1,
    crArrow = -2,
    crCross = -3,
    crIBeam = -4,
    crSizeNESW = -6,
    crSizeNS = -7,
    crSizeNWSE = -8,
    crSizeWE = -9,
    crUpArrow = -10,
    crHourGlass = -11,
    crDrag = -12,
    crNoDrop = -13,
    crHSplit = -14,
    crVSplit = -15,
    crMultiDrag = -16,
    crSQLWait = -17,
    crNo = -18,
    crAppStart = -19,
    crHelp = -20,
    crHandPoint = -21,
    crSizeAll = -22,
    crSize = -22
};
YORDE_IDENT_TYPEINFO(TCursor, {crDefault, "crDefault"}, {crNone, "crNone"}, {crArrow, "crArrow"}, {crCross, "crCross"},
                     {crIBeam, "crIBeam"}, {crSizeNESW, "crSizeNESW"}, {crSizeNS, "crSizeNS"},
                     {crSizeNWSE, "crSizeNWSE"}, {crSizeWE, "crSizeWE"}, {crUpArrow, "crUpArrow"},
                     {crHourGlass, "crHourGlass"}, {crDrag, "crDrag"}, {crNoDrop, "crNoDrop"}, {crHSplit, "crHSplit"},
                     {crVSplit, "crVSplit"}, {crMultiDrag, "crMultiDrag"}, {crSQLWait, "crSQLWait"}, {crNo, "crNo"},
                     {crAppStart, "crAppStart"}, {crHelp, "crHelp"}, {crHandPoint, "crHandPoint"},
                     {crSizeAll, "crSizeAll"})

enum TFormBorderStyle : int { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
YORDE_ENUM_TYPEINFO(TFormBorderStyle, "bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow", "bsSizeToolWin")
// Controls use bsNone and bsSingle of the same type.
using TBorderStyle = TFormBorderStyle;

using TModalResult = int;
constexpr TModalResult mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5, mrYes = 6, mrNo = 7,
                       mrAll = 8, mrNoToAll = 9, mrYesToAll = 10;

enum TControlStyleItem {
    csAcceptsControls,
    csCaptureMouse,
    csDesignInteractive,
    csClickEvents,
    csFramed,
    csSetCaption,
    csOpaque,
    csDoubleClicks,
    csFixedWidth,
    csFixedHeight,
    csNoDesignVisible,
    csReplicatable,
    csNoStdEvents,
    csDisplayDragImage,
    csReflector,
    csActionClient,
    csMenuEvents
};
using TControlStyle = TSet<TControlStyleItem>;

// Virtual key codes (the Windows values; letters and digits are their ASCII codes).
constexpr WORD VK_BACK = 8, VK_TAB = 9, VK_RETURN = 13, VK_SHIFT = 16, VK_CONTROL = 17, VK_MENU = 18, VK_PAUSE = 19,
               VK_CAPITAL = 20, VK_ESCAPE = 27, VK_SPACE = 32, VK_PRIOR = 33, VK_NEXT = 34, VK_END = 35, VK_HOME = 36,
               VK_LEFT = 37, VK_UP = 38, VK_RIGHT = 39, VK_DOWN = 40, VK_INSERT = 45, VK_DELETE = 46, VK_F1 = 112,
               VK_F2 = 113, VK_F3 = 114, VK_F4 = 115, VK_F5 = 116, VK_F6 = 117, VK_F7 = 118, VK_F8 = 119, VK_F9 = 120,
               VK_F10 = 121, VK_F11 = 122, VK_F12 = 123, VK_NUMLOCK = 144, VK_SCROLL = 145;

using TMouseEvent = TEvent<TObject*, TMouseButton, TShiftState, int, int>;
using TMouseMoveEvent = TEvent<TObject*, TShiftState, int, int>;
using TKeyEvent = TEvent<TObject*, WORD&, TShiftState>;
using TKeyPressEvent = TEvent<TObject*, char&>;
using TCanResizeEvent = TEvent<TObject*, int&, int&, bool&>;
YORDE_EVENT_TYPEINFO(TMouseEvent)
YORDE_EVENT_TYPEINFO(TMouseMoveEvent)
YORDE_EVENT_TYPEINFO(TKeyEvent)
YORDE_EVENT_TYPEINFO(TKeyPressEvent)
YORDE_EVENT_TYPEINFO(TCanResizeEvent)

// The part of a hint before "|".
AnsiString GetShortHint(const AnsiString& Hint);
AnsiString GetLongHint(const AnsiString& Hint);

class TControl : public TComponent {
    YORDE_CLASS(TControl, TComponent)
public:
    explicit TControl(TComponent* AOwner);
    ~TControl() override;

    TWinControl* Parent() const { return parent_; }
    virtual void SetParent(TWinControl* AParent);
    bool HasParent() const override { return true; }
    TComponent* GetParentComponent() const override;
    void SetParentComponent(TComponent* Value) override;

    int Left() const;
    int Top() const;
    int Width() const;
    int Height() const;
    void SetLeft(int Value);
    void SetTop(int Value);
    void SetWidth(int Value);
    void SetHeight(int Value);
    // A size change asks CanResize (OnCanResize) first, also when made from code.
    virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
    TRect BoundsRect() const;
    void SetBoundsRect(const TRect& R) { SetBounds(R.Left, R.Top, R.Width(), R.Height()); }
    virtual int ClientWidth() const;
    virtual int ClientHeight() const;
    void SetClientWidth(int Value);
    void SetClientHeight(int Value);
    virtual void SetClientSize(int AWidth, int AHeight);
    TRect ClientRect() const { return TRect(0, 0, ClientWidth(), ClientHeight()); }
    // The client area's top-left corner on the screen.
    TPoint ClientOrigin() const { return ClientToScreen(TPoint(0, 0)); }
    TPoint ClientToScreen(const TPoint& P) const;
    TPoint ScreenToClient(const TPoint& P) const;

    TAlign Align() const;
    void SetAlign(TAlign Value);

    bool Visible() const;
    virtual void SetVisible(bool Value);
    void Show();
    void Hide();
    // Visible, and every parent up to a shown form.
    bool Showing() const;
    bool Enabled() const;
    virtual void SetEnabled(bool Value);

    // Caption and Text are one value (published under the name each class uses).
    AnsiString Text() const;
    void SetText(const AnsiString& Value);
    AnsiString Caption() const { return Text(); }
    void SetCaption(const AnsiString& Value) { SetText(Value); }
    int GetTextLen() const { return int(Text().size()); }

    AnsiString Hint() const;
    void SetHint(const AnsiString& Value);
    bool ShowHint() const;
    void SetShowHint(bool Value);
    bool ParentShowHint() const;
    void SetParentShowHint(bool Value);

    TColor Color() const;
    void SetColor(TColor Value);
    bool ParentColor() const;
    void SetParentColor(bool Value);
    // Changing the font (or any of its properties) clears ParentFont.
    TFont* Font() const { return font_.get(); }
    void SetFont(TFont* Value);
    bool ParentFont() const;
    void SetParentFont(bool Value);
    // The code page of the effective font charset: texts are shown decoded with it.
    int CodePage() const { return font_->CodePage(); }
    // Whether the control's text (and a list's items) is user data: names,
    // passwords and numbers that are typed, stored and compared byte for
    // byte. Those are held in the program's ANSI code page in every language,
    // whatever the font's charset; a character it cannot hold cannot be typed.
    // Other texts (captions, hints, items from the translations) are in the
    // code page of the font's charset, as the translations give them. Edits
    // hold user data from the start.
    bool UserData() const;
    void SetUserData(bool Value);
    // Puts a translated text (a prompt such as "Select user") into a control
    // that holds user data: it shows in the font's code page while it stands.
    void SetTranslatedText(const AnsiString& Value);
    // Puts a text joined from translated parts and user data ("Logged in as"
    // and a name) into the control: each part shows in its own code page
    // while it stands. Text() reads the parts' bytes.
    void SetMixedText(const TMixedText& Value);
    // The code page of what the control holds (what is typed, its items):
    // the ANSI one for user data.
    int DataCodePage() const { return userData_ ? GetACP() : CodePage(); }
    // The code page its text shows in: DataCodePage, the font's while a
    // translated text stands there, UTF-8 while a mixed text does.
    int TextCodePage() const;
    // The text as it is shown, in TextCodePage: Text(), or a mixed text
    // already decoded part by part.
    AnsiString ShownText() const;

    TCursor Cursor() const;
    void SetCursor(TCursor Value);
    TPopupMenu* PopupMenu() const { return popupMenu_; }
    void SetPopupMenu(TPopupMenu* Value);
    // There are no actions in this program; the property exists (always null)
    // so code that asks whether a control has one gets its answer.
    TBasicAction* Action() const { return nullptr; }
    THelpType HelpType() const { return helpType_; }
    void SetHelpType(THelpType Value) { helpType_ = Value; }
    AnsiString HelpKeyword() const { return helpKeyword_; }
    void SetHelpKeyword(const AnsiString& Value) { helpKeyword_ = Value; }
    int HelpContext() const { return helpContext_; }
    void SetHelpContext(int Value) { helpContext_ = Value; }

    TControlStyle ControlStyle() const { return controlStyle_; }
    void SetControlStyle(TControlStyle Value) { controlStyle_ = Value; }

    void Invalidate();
    // Paints at once.
    void Repaint();
    void Refresh() { Repaint(); }
    // Paints what is waiting to be painted.
    void Update();
    void BringToFront();
    void SendToBack();

    // The peer, created on demand (forms when shown, others with their form).
    IControlPeer* Peer() const { return peer_.get(); }
    bool HandleAllocated() const { return peer_ != nullptr; }
    virtual void HandleNeeded();

    void Loaded() override;

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TNotifyEvent OnResize;
    TCanResizeEvent OnCanResize;

protected:
    friend class TPeerInput;
    friend class TWinControl;

    virtual void Click();
    virtual void DblClick();
    virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseMove(TShiftState Shift, int X, int Y);
    virtual bool CanResize(int& NewWidth, int& NewHeight);
    virtual void Resize();
    // Draws the control through Backend (painted controls); the default draws nothing.
    virtual void PaintControl(IPaintBackend& Backend, const TRect& ClipRect);
    // A form, a frame and so on that can live without a parent.
    virtual bool IsTopLevel() const { return false; }

    // Hooks after a change of the named state (the class library's CM_ messages).
    virtual void TextChanged();
    virtual void FontChanged();
    virtual void ColorChanged();
    virtual void EnabledChanged();
    virtual void VisibleChanged();
    virtual void ShowHintChanged();
    // The effective code page changed: texts are pushed to the peer again.
    virtual void CodePageChanged();
    // The parent's font/colour/hint setting changed (followed when Parent* is true).
    virtual void ParentFontChanged();
    virtual void ParentColorChanged();
    virtual void ParentShowHintChanged();
    // After Left/Top/Width/Height changed (the peer has them already).
    virtual void BoundsChanged(bool Resized);
    // Lets labels and the like size themselves to their contents.
    virtual void AdjustSize() {}
    // Asks the parent to lay out its aligned children again.
    void RequestAlign();

    // Peer life. InitPeer pushes the whole state to a fresh peer; subclasses
    // push their own state after calling the inherited one.
    virtual void CreatePeerTree(IControlPeer* ParentPeer);
    virtual void InitPeer();
    virtual void DestroyPeerTree();
    virtual void PushBounds();
    void PushText();
    void PushFont();
    void PushColor();
    void PushHint();
    // Peer of the given interface (null when there is none or it is another kind).
    template <class P>
    P* PeerAs() const {
        return dynamic_cast<P*>(peer_.get());
    }
    bool EffectiveShowHint() const { return showHint_; }
    bool Loading() const { return ComponentState().Contains(csLoading); }
    bool Destroying() const { return ComponentState().Contains(csDestroying); }
    const TLifeToken& Life() const { return life_; }

    // Stored bounds, written without side effects (alignment and peers).
    void StoreBounds(int ALeft, int ATop, int AWidth, int AHeight) {
        left_ = ALeft;
        top_ = ATop;
        width_ = AWidth;
        height_ = AHeight;
    }

    TControlStyle controlStyle_;
    AnsiString text_;
    TColor color_ = clWindow;
    bool visible_ = true;
    bool enabled_ = true;
    bool userData_ = false;

    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    bool IsFontStored() const { return !parentFont_; }
    bool IsColorStored() const { return !parentColor_; }
    bool IsShowHintStored() const { return !parentShowHint_; }
    void fontObjectChanged();
    void syncParentFont();
    void syncParentColor();
    void syncParentShowHint();

    template <class T>
    friend void PublishControl(TClassBuilder<T>& c, unsigned Features);

    TLifeToken life_;
    TWinControl* parent_ = nullptr;
    int left_ = 0;
    int top_ = 0;
    int width_ = 0;
    int height_ = 0;
    TAlign align_ = alNone;
    AnsiString hint_;
    bool showHint_ = false;
    bool parentShowHint_ = true;
    bool parentColor_ = true;
    std::unique_ptr<TFont> font_;
    bool parentFont_ = true;
    bool syncingFont_ = false;
    int lastCodePage_ = 0;
    AnsiString translated_;
    TMixedText mixed_;
    TCursor cursor_ = crDefault;
    TPopupMenu* popupMenu_ = nullptr;
    THelpType helpType_ = htContext;
    AnsiString helpKeyword_;
    int helpContext_ = 0;
    bool clicked_ = false;
    std::unique_ptr<IControlPeer> peer_;
};

class TWinControl : public TControl {
    YORDE_CLASS(TWinControl, TControl)
public:
    explicit TWinControl(TComponent* AOwner);
    // Destroys the child controls first (whoever owns them).
    ~TWinControl() override;

    int ControlCount() const { return int(controls_.size()); }
    TControl* Controls(int Index) const;  // EListError out of range
    void InsertControl(TControl* AControl);
    void RemoveControl(TControl* AControl);
    bool ContainsControl(TControl* Control) const;
    void GetChildren(TGetChildProc Proc, TComponent* Root) override;
    void SetChildOrder(TComponent* Child, int Order) override;

    // Position among the parent's windowed children in keyboard order.
    int TabOrder() const;
    void SetTabOrder(int Value);
    bool TabStop() const;
    void SetTabStop(bool Value);
    // The windowed children in tab order.
    std::vector<TWinControl*> TabList() const;

    // Visible and enabled up to a shown form.
    virtual bool CanFocus() const;
    bool Focused() const;
    // EInvalidOperation "Cannot focus a disabled or invisible window" when it cannot.
    virtual void SetFocus();

    void DisableAlign();
    void EnableAlign();
    void Realign();

    void HandleNeeded() override;
    void Loaded() override;

    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;
    TKeyPressEvent OnKeyPress;

protected:
    friend class TPeerInput;
    friend class TControl;

    // Lays out the aligned children inside Rect (the client area, adjusted).
    virtual void AlignControls(TControl* AControl, TRect& Rect);
    virtual void AdjustClientRect(TRect& Rect) const { (void)Rect; }
    // The key handlers; a handler that zeroes Key stops the key.
    virtual void KeyDown(WORD& Key, TShiftState Shift);
    virtual void KeyUp(WORD& Key, TShiftState Shift);
    virtual void KeyPress(char& Key);
    // With the form's KeyPreview the form sees the key first. False: consumed.
    virtual bool DoKeyDown(WORD& Key, TShiftState Shift);
    virtual bool DoKeyUp(WORD& Key, TShiftState Shift);
    virtual bool DoKeyPress(char& Key);
    // Keys the control handles itself, so Enter and Esc do not go to the
    // form's Default and Cancel buttons.
    virtual bool WantSpecialKey(WORD Key) const {
        (void)Key;
        return false;
    }
    // Enter/Esc offered to the buttons; true when one took it.
    virtual bool DialogKey(WORD Key, TShiftState Shift, TWinControl* FocusedControl);
    virtual void DoEnter();
    virtual void DoExit();

    void CreatePeerTree(IControlPeer* ParentPeer) override;
    void DestroyPeerTree() override;
    void BoundsChanged(bool Resized) override;
    void FontChanged() override;
    void ColorChanged() override;
    void ShowHintChanged() override;
    void PushTabChain();

private:
    void alignNow();
    void renumberTabs(std::vector<TWinControl*>& list);

    std::vector<TControl*> controls_;
    int tabOrder_ = -1;
    bool tabStop_ = false;
    int alignDisabled_ = 0;
    bool aligning_ = false;
    bool alignPending_ = false;
};

// A control without a window of its own that paints itself on its parent.
class TGraphicControl : public TControl {
    YORDE_CLASS(TGraphicControl, TControl)
public:
    explicit TGraphicControl(TComponent* AOwner);
    ~TGraphicControl() override;
    TCanvas* Canvas() const { return canvas_.get(); }

protected:
    virtual void Paint() {}
    void PaintControl(IPaintBackend& Backend, const TRect& ClipRect) override;

private:
    std::unique_ptr<TCanvas> canvas_;
};

// A windowed control that paints itself.
class TCustomControl : public TWinControl {
    YORDE_CLASS(TCustomControl, TWinControl)
public:
    explicit TCustomControl(TComponent* AOwner);
    ~TCustomControl() override;
    TCanvas* Canvas() const { return canvas_.get(); }

protected:
    virtual void Paint() {}
    void PaintControl(IPaintBackend& Backend, const TRect& ClipRect) override;

private:
    std::unique_ptr<TCanvas> canvas_;
};

// The form a control sits on (the control itself when it is a form), or null.
TCustomForm* GetParentForm(const TControl* Control);
// The innermost form or frame the control sits on.
TWinControl* GetParentRoot(const TControl* Control);

// Which groups of TControl properties and events a class publishes.
enum : unsigned {
    pcAlign = 1u << 0,
    pcCaption = 1u << 1,
    pcText = 1u << 2,
    pcColor = 1u << 3,
    pcFont = 1u << 4,
    pcEnabled = 1u << 5,
    pcVisible = 1u << 6,
    pcHints = 1u << 7,
    pcPopupMenu = 1u << 8,
    pcMouseEvents = 1u << 9,
    pcClickEvents = 1u << 10,
    pcKeyEvents = 1u << 11,
    pcFocus = 1u << 12,
    pcResize = 1u << 13,
    pcAction = 1u << 14,
    pcStandard = pcAlign | pcColor | pcFont | pcEnabled | pcVisible | pcHints | pcPopupMenu | pcMouseEvents |
                 pcClickEvents | pcAction
};

// Publishes the chosen groups of TControl/TWinControl members on class T
// (used from each control's YORDE_IMPLEMENT_CLASS).
template <class T>
void PublishControl(TClassBuilder<T>& c, unsigned Features);

#include "vcl/ControlsPublish.h"
