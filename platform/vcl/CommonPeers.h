#pragma once
// Peer interfaces of the memo and combo boxes, track and progress bars and
// date-time pickers. As with Peers.h: the component
// pushes its state, the peer reports the user's input through TCommonInput
// (CommonInput.h) and never changes the component on its own.
#include "vcl/CommonTypes.h"
#include "vcl/Peers.h"

#include <vector>

class IMemoPeer : public IEditPeer {
public:
    // Adds Bytes (which may hold line breaks) at the end of the shown text.
    virtual void AppendText(const AnsiString& Bytes, int CodePage) = 0;
    // Replaces Count lines from line First, each with the break after it (the
    // last line has none), by Bytes. Lines are counted as Lines counts them,
    // an empty one after a final break included. The caret goes after Bytes.
    virtual void ReplaceLines(int First, int Count, const AnsiString& Bytes, int CodePage) = 0;
    virtual void SetWordWrap(bool WordWrap) = 0;
    virtual void SetScrollBars(TScrollStyle ScrollBars) = 0;
    virtual void SetAlignment(TAlignment Alignment) = 0;
    // Enter and Tab typed into the text, or left to the form.
    virtual void SetWantKeys(bool WantReturns, bool WantTabs) = 0;
};

class IComboBoxPeer : public IControlPeer {
public:
    virtual void SetStyle(TComboBoxStyle Style) = 0;
    virtual void SetItems(const std::vector<AnsiString>& Items, int CodePage) = 0;
    // -1: nothing selected. The edit text comes separately through SetText.
    virtual void SetItemIndex(int Index) = 0;
    virtual void SetMaxLength(int MaxLength) = 0;  // 0: none; typing and pasting only
    virtual void SetDropDownCount(int Count) = 0;
    virtual void SetDroppedDown(bool DroppedDown) = 0;
};

class ITrackBarPeer : public IControlPeer {
public:
    virtual void SetRange(int Min, int Max) = 0;
    virtual void SetPosition(int Position) = 0;
    virtual void SetOrientation(TTrackBarOrientation Orientation) = 0;
    // Frequency: a tick every that many units (tsAuto).
    virtual void SetTicks(TTickStyle Style, TTickMark Marks, int Frequency) = 0;
    // Clicking beside the thumb moves it by PageSize.
    virtual void SetPageSize(int PageSize) = 0;
    virtual void SetSliderVisible(bool Visible) = 0;
};

class IProgressBarPeer : public IControlPeer {
public:
    // Max <= Min shows an empty bar (never a busy indicator).
    virtual void SetProgress(int Min, int Max, int Position) = 0;
    virtual void SetOrientation(TProgressBarOrientation Orientation) = 0;
    virtual void SetSmooth(bool Smooth) = 0;
};

class IDateTimePickerPeer : public IControlPeer {
public:
    // Format: format letters of FormatDateTime (never empty).
    virtual void SetKind(TDateTimeKind Kind, const AnsiString& Format, TDTDateMode Mode) = 0;
    virtual void SetDateTime(double DateTime) = 0;
    // MinDate/MaxDate: 0 for no limit.
    virtual void SetRange(double MinDate, double MaxDate) = 0;
    virtual void SetCheckbox(bool ShowCheckbox, bool Checked) = 0;
};
