#include "vcl/CommonInput.h"

#include "vcl/ComboBox.h"
#include "vcl/DateTimePicker.h"
#include "vcl/Memo.h"
#include "vcl/TrackBar.h"

void TCommonInput::MemoEdited(TCustomMemo* C, const AnsiString& Bytes) {
    TPeerInput::Dispatch([&] { C->UserEdited(Bytes); });
}

void TCommonInput::ComboSelected(TCustomComboBox* C, int Index) {
    TPeerInput::Dispatch([&] { C->UserSelected(Index); });
}

void TCommonInput::ComboEdited(TCustomComboBox* C, const AnsiString& Bytes) {
    TPeerInput::Dispatch([&] { C->UserEdited(Bytes); });
}

void TCommonInput::ComboDroppedDown(TCustomComboBox* C, bool DroppedDown) {
    TPeerInput::Dispatch([&] { C->UserDroppedDown(DroppedDown); });
}

void TCommonInput::TrackBarMoved(TTrackBar* C, int Position) {
    TPeerInput::Dispatch([&] { C->UserMoved(Position); });
}

TPeerInput::TKeyOutcome TCommonInput::TrackBarKeyDown(TTrackBar* C, WORD& Key, TShiftState Shift) {
    auto alive = C->Life().Watch();
    TPeerInput::TKeyOutcome outcome = TPeerInput::KeyDown(C, Key, Shift);
    if (outcome == TPeerInput::TKeyOutcome::Default && !alive.expired())
        TPeerInput::Dispatch([&] { C->KeyAction(Key); });
    return outcome;
}

void TCommonInput::DateTimeChanged(TDateTimePicker* C, double Value) {
    TPeerInput::Dispatch([&] { C->UserChanged(Value); });
}

void TCommonInput::DateTimeChecked(TDateTimePicker* C, bool Checked) {
    TPeerInput::Dispatch([&] { C->UserChecked(Checked); });
}
