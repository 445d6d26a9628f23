#pragma once
// Scroll bars of controls that scroll their own contents (grids): the
// component decides ranges and positions, the peer shows native bars and
// reports the user's scroll actions back through TScrollInput.
#include "vcl/Controls.h"

enum TScrollStyle : int { ssNone, ssHorizontal, ssVertical, ssBoth };
YORDE_ENUM_TYPEINFO(TScrollStyle, "ssNone", "ssHorizontal", "ssVertical", "ssBoth")

enum TScrollBarKind : int { sbHorizontal, sbVertical };
YORDE_ENUM_TYPEINFO(TScrollBarKind, "sbHorizontal", "sbVertical")

enum TScrollCode : int {
    scLineUp,
    scLineDown,
    scPageUp,
    scPageDown,
    scPosition,
    scTrack,
    scTop,
    scBottom,
    scEndScroll
};
YORDE_ENUM_TYPEINFO(TScrollCode, "scLineUp", "scLineDown", "scPageUp", "scPageDown", "scPosition", "scTrack", "scTop",
                    "scBottom", "scEndScroll")

// The thickness of a scroll bar and of a control's sunken border, in pixels;
// the peer sizes its bars and frame to match, so the client area the
// component computes is the one on screen.
constexpr int ScrollBarSize = 17;
constexpr int SunkenBorderSize = 2;

// A bar's state. Positions run from Min to Max - Page + 1; Page is the part
// that is in view.
struct TScrollBarState {
    bool Visible = false;
    int Min = 0;
    int Max = 0;
    int Page = 1;
    int Position = 0;
    bool operator==(const TScrollBarState&) const = default;
};

// Implemented by the peers of self-scrolling controls, next to IControlPeer
// (the control finds it with dynamic_cast on its peer).
class IScrollBarsPeer {
public:
    virtual ~IScrollBarsPeer() = default;
    // bsSingle: a sunken frame SunkenBorderSize wide; bsNone: none.
    virtual void SetBorderStyle(TBorderStyle Style) = 0;
    virtual void SetScrollBar(TScrollBarKind Kind, const TScrollBarState& State) = 0;
};

// What a self-scrolling control does with the user's scroll actions.
class IScrollTarget {
public:
    virtual ~IScrollTarget() = default;
    // Pos matters for scPosition and scTrack (the thumb's position).
    virtual void ScrollBarAction(TScrollBarKind Kind, TScrollCode Code, int Pos) = 0;
    // WheelDelta in the Windows unit: 120 per notch, positive away from the user.
    virtual void MouseWheel(TShiftState Shift, int WheelDelta, TPoint ClientPos) = 0;
};

// The way in for peers, inside the same exception barrier as TPeerInput.
class TScrollInput {
public:
    static void ScrollBar(TControl* C, TScrollBarKind Kind, TScrollCode Code, int Pos);
    static void MouseWheel(TControl* C, TShiftState Shift, int WheelDelta, TPoint ClientPos);
};
