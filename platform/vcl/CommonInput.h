#pragma once
// The way in from the screen for the memo and combo boxes, track bars and
// date-time pickers; the same rules as TPeerInput
// (PeerInput.h): every entry runs inside TPeerInput::Dispatch, and a
// handler may destroy the control.
#include "vcl/PeerInput.h"

class TCustomMemo;
class TCustomComboBox;
class TTrackBar;
class TDateTimePicker;

class TCommonInput {
public:
    // The user changed the memo's text (CR LF line breaks).
    static void MemoEdited(TCustomMemo* C, const AnsiString& Bytes);

    // A pick from the list (mouse, keys on the closed list, wheel).
    static void ComboSelected(TCustomComboBox* C, int Index);
    // The edit text of an editable combo changed by typing or pasting.
    static void ComboEdited(TCustomComboBox* C, const AnsiString& Bytes);
    static void ComboDroppedDown(TCustomComboBox* C, bool DroppedDown);

    // The thumb moved by the mouse or the wheel.
    static void TrackBarMoved(TTrackBar* C, int Position);
    // A key on the bar: TPeerInput::KeyDown, then (unless a handler zeroed
    // it) the bar's own handling of the key as the handler left it. The
    // peer handles no key itself.
    static TPeerInput::TKeyOutcome TrackBarKeyDown(TTrackBar* C, WORD& Key, TShiftState Shift);

    // The user set the part the picker edits (date or time of Value).
    static void DateTimeChanged(TDateTimePicker* C, double Value);
    static void DateTimeChecked(TDateTimePicker* C, bool Checked);
};
