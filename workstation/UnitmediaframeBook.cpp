// The recordings frame's address-book button.
#include "workstation/Unitmediaframe.h"

#include "store/UserRecord.h"
#include "workstation/Mainunit.h"
#include "workstation/Unitaddressbookform.h"

#include <memory>

namespace {

AnsiString CurrentUserName() {
    TMainForm* main = MainForm;
    return main ? UserText(main->GetCurrentUserRecord().Name) : AnsiString();
}

}  // namespace

void TMediaFrame::ABookImageClick(TObject*) {
    const AnsiString user = CurrentUserName();
    // An open window of the same user comes to the front.
    if (addressBookForm && addressBookForm->Visible() && addressBookForm->UserName() == user) {
        try {
            addressBookForm->SetFocus();
            return;
        } catch (const Exception&) {
            // It could not take the focus: a new window takes its place.
        }
    }
    // Another user's window saves that user's book and goes; a closed one
    // has saved already.
    if (addressBookForm) {
        if (addressBookForm->Visible()) addressBookForm->Close();
        TObject::Free(std::exchange(addressBookForm, nullptr));
    }
    addressBookForm = NewForm<TAddressBook>(this, user);
    addressBookForm->Show();
}
