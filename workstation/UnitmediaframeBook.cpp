// The recordings frame's buttons of the SD-card import and the address book.
#include "workstation/Unitmediaframe.h"

#include "store/UserRecord.h"
#include "workstation/Mainunit.h"
#include "workstation/UnitImport.h"
#include "workstation/UnitImportThread.h"
#include "workstation/Unitaddressbookform.h"
#include "workstation/Unitconnect.h"
#include "workstation/Unitstatus.h"

#include <memory>

namespace {

AnsiString CurrentUserName() {
    TMainForm* main = MainForm;
    return main ? UserText(main->GetCurrentUserRecord().Name) : AnsiString();
}

}  // namespace

void TMediaFrame::ImportImageClick(TObject*) {
    // One import at a time; the status line shows the one that runs.
    if (CardImportRunning()) return;
    TMainForm* main = MainForm;
    const AnsiString password = main ? main->ConnectFrame1->HasloEdit->Text() : AnsiString();
    std::unique_ptr<TImportDialog, void (*)(TObject*)> dialog(NewForm<TImportDialog>(this, password), TObject::Free);
    const AnsiString drive = dialog->ShowModal() == mrOk ? dialog->GetDrivePath() : AnsiString();
    if (main) main->StatusFrameBottom->StatusLabel->SetCaption(AnsiString());
    // " ": OK with no medium chosen.
    if (drive.empty() || drive == " ") return;
    StartCardImport(this, drive,
                    {text("IDS_IMPORTING"), dialog->Text("IDS_ERROR"), dialog->Text("IDS_IMPORT_DISK_FULL"),
                     dialog->Text("IDS_IMPORT_FAILED")});
}

void TMediaFrame::ABookImageClick(TObject*) {
    const AnsiString user = CurrentUserName();
    // An open window of the same user comes to the front.
    if (addressBookForm_ && addressBookForm_->Visible() && addressBookForm_->UserName() == user) {
        try {
            addressBookForm_->SetFocus();
            return;
        } catch (const Exception&) {
            // It could not take the focus: a new window takes its place.
        }
    }
    // Another user's window saves that user's book and goes; a closed one
    // has saved already.
    if (addressBookForm_) {
        if (addressBookForm_->Visible()) addressBookForm_->Close();
        TObject::Free(std::exchange(addressBookForm_, nullptr));
    }
    addressBookForm_ = NewForm<TAddressBook>(this, user);
    addressBookForm_->Show();
}
