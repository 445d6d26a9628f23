// The administrator's settings on the users tab: sync interval, buffer size
// and retention period.
#include "localization/Lxcomp.h"
#include "rtl/SysUtils.h"
#include "store/UserRights.h"
#include "workstation/Mainunit.h"
#include "workstation/Unitconnect.h"
#include "workstation/Unitusers.h"
#include "workstation/UserMessages.h"

void TUsersFrame::RefreshTrackBarChange(TObject*) {
    const int step = RefreshTrackBar->Position();
    if (MainForm) MainForm->ConnectFrame1->RefreshSeconds = step * 120;
    RefreshLabel->SetCaption(text("IDS_REFRESH") + " " + IntToStr(step * 2) + " " + text("IDS_REFRESH_MIN"));
}

void TUsersFrame::DeleteTrackBarChange(TObject*) {
    const int gigabytes = DeleteTrackBar->Position();
    if (MainForm) MainForm->ConnectFrame1->StorageQuota = gigabytes;
    DeleteLabel->SetCaption(text("IDS_BUFFER") + ": " + IntToStr(gigabytes) + " GB");
}

namespace {
// Up raises the bar and Down lowers it, the way the bars are read.
void SwapUpDown(WORD& Key) {
    if (Key == VK_UP)
        Key = VK_DOWN;
    else if (Key == VK_DOWN)
        Key = VK_UP;
}
}  // namespace

void TUsersFrame::RefreshTrackBarKeyDown(TObject*, WORD& Key, TShiftState) { SwapUpDown(Key); }

void TUsersFrame::DeleteTrackBarKeyDown(TObject*, WORD& Key, TShiftState) { SwapUpDown(Key); }

int TUsersFrame::GetDeleteAfterMonths() const {
    // The accepted choice only: the purge must not act on a period that
    // is still waiting for the user's confirmation.
    return RetentionMonths(RetentionIndex);
}

void TUsersFrame::DeleteAfterComboBoxChange(TObject*) {
    const int choice = DeleteAfterComboBox->ItemIndex();
    if (RetentionChangeNeedsConfirmation(choice, RetentionIndex) &&
        !ConfirmDeletion(this, text("IDS_CHANGE_RODO_CONFIRM"))) {
        DeleteAfterComboBox->SetItemIndex(RetentionIndex);
        return;
    }
    RetentionIndex = choice;
}
