#include "workstation/Unitusers.h"
#include "workstation/FormColors.h"

#include "localization/Lxcomp.h"
#include "rtl/StrUtils.h"
#include "store/Users.h"
#include "workstation/DialogLanguage.h"
#include "workstation/ImageButtons.h"
#include "workstation/Mainunit.h"
#include "workstation/Unitadduserform.h"
#include "workstation/Unitconnect.h"
#include "workstation/Unitdebug.h"
#include "workstation/Unitmediaframe.h"
#include "workstation/Unitmessage.h"
#include "workstation/Unitpaswd.h"
#include "workstation/Unitstatus.h"
#include "workstation/UserMessages.h"

#include <memory>

YORDE_IMPLEMENT_CLASS(TUsersFrame, [](TClassBuilder<TUsersFrame>& c) {
    using T = TUsersFrame;
    c.Field("usersComboBox", &T::usersComboBox);
    c.Field("AddUserButton", &T::AddUserButton);
    c.Field("modifyUsersButton", &T::modifyUsersButton);
    c.Field("UserLabel", &T::UserLabel);
    c.Field("userVisLabel", &T::userVisLabel);
    c.Field("userPlayLabel", &T::userPlayLabel);
    c.Field("userRemLabel", &T::userRemLabel);
    c.Field("userInfoLabel", &T::userInfoLabel);
    c.Field("RefreshTrackBar", &T::RefreshTrackBar);
    c.Field("RefreshLabel", &T::RefreshLabel);
    c.Field("DeleteTrackBar", &T::DeleteTrackBar);
    c.Field("DeleteLabel", &T::DeleteLabel);
    c.Field("ImageListBtn", &T::ImageListBtn);
    c.Field("DodajImage", &T::DodajImage);
    c.Field("ModyfImage", &T::ModyfImage);
    c.Field("UserImage", &T::UserImage);
    c.Field("LegPanel1", &T::LegPanel1);
    c.Field("LegPanel2", &T::LegPanel2);
    c.Field("lxLangLinked1", &T::lxLangLinked1);
    c.Field("DeleteAfterComboBox", &T::DeleteAfterComboBox);
    c.Field("DeleteAfterLabel", &T::DeleteAfterLabel);
    c.Method("usersComboBoxChange", &T::usersComboBoxChange);
    c.Method("AddUserButtonClick", &T::AddUserButtonClick);
    c.Method("modifyUsersButtonClick", &T::modifyUsersButtonClick);
    c.Method("RefreshTrackBarChange", &T::RefreshTrackBarChange);
    c.Method("DeleteTrackBarChange", &T::DeleteTrackBarChange);
    c.Method("RefreshTrackBarKeyDown", &T::RefreshTrackBarKeyDown);
    c.Method("DeleteTrackBarKeyDown", &T::DeleteTrackBarKeyDown);
    c.Method("DeleteAfterComboBoxChange", &T::DeleteAfterComboBoxChange);
    c.Method("DodajImageMouseDown", &T::DodajImageMouseDown);
    c.Method("DodajImageMouseUp", &T::DodajImageMouseUp);
    c.Method("ModyfImageMouseDown", &T::ModyfImageMouseDown);
    c.Method("ModyfImageMouseUp", &T::ModyfImageMouseUp);
})

namespace {

constexpr TColor kTrunkLineColor = TColor(0xCAD8CF);
constexpr TColor kExtensionColor = TColor(0xB0DBEB);

// Frees the user dialog and clears the global that points to it.
struct UserDialogScope {
    explicit UserDialogScope(TComponent* owner) { adduserDialog = new TadduserDialogForm(owner); }
    ~UserDialogScope() {
        TObject::Free(adduserDialog);
        adduserDialog = nullptr;
    }
    UserDialogScope(const UserDialogScope&) = delete;
    UserDialogScope& operator=(const UserDialogScope&) = delete;
};

void FocusIfPossible(TWinControl* control) {
    if (control && control->CanFocus()) control->SetFocus();
}

int ExactIndex(const TStrings* items, const AnsiString& text) {
    for (int i = 0; i < items->Count(); ++i)
        if (items->Strings(i) == text) return i;
    return -1;
}

}  // namespace

TUsersFrame::TUsersFrame(TComponent* AOwner) : TFrame(AOwner) {
    InitLayout();
    SetColor(clFormBackground);
    InstallUserStoreDialogs();
    ReloadUsers();
    ShowButtonImage(DodajImage, ImageListBtn, imageBase());
    ShowButtonImage(ModyfImage, ImageListBtn, imageBase() + 2);
    LegPanel1->SetColor(kTrunkLineColor);
    LegPanel2->SetColor(kExtensionColor);
}

AnsiString TUsersFrame::text(const char* key) const { return lxLangLinked1->GetTextOrDefault(key); }

int TUsersFrame::imageBase() const { return (ProgramLanguage() - 1) * 4; }

bool TUsersFrame::ReloadUsers() {
    try {
        if (!LoadUsers()) createFirstAdmin();
    } catch (const EUsersFileError& e) {
        // Later the table in memory serves on, and the next save says why
        // it fails; at the start nobody can log in without the store.
        if (!IsFreeSlot(FindUser(AdminName))) {
            DebugLog("Users: " + e.Message);
        } else {
            ShowUsersFileError(Owner(), e);
            Halt(2);
        }
    }

    TStrings* items = usersComboBox->Items();
    const int selected = usersComboBox->ItemIndex();
    const AnsiString remembered = selected >= 0 ? items->Strings(selected) : AnsiString();
    items->Clear();
    ListUserNames(items);
    if (!remembered.empty()) {
        const int index = ExactIndex(items, remembered);
        if (index >= 0) usersComboBox->SetItemIndex(index);
    }
    return true;
}

void TUsersFrame::createFirstAdmin() {
    // The main window is being built: it owns this frame.
    TComponent* mainWindow = Owner();
    bool told = false;
    try {
        UserDialogScope scope(mainWindow);
        adduserDialog->SetMode(TadduserDialogForm::modeFirstAdmin);
        if (adduserDialog->ShowModal() == mrOk) {
            try {
                AddUser(adduserDialog->BuildUserRecord());
            } catch (const EUsersFileError& e) {
                // Said once, with the file and the reason; asking again would not help.
                ShowUsersFileError(mainWindow, e);
                told = true;
            }
        }
    } catch (...) {
        // Whatever kept the administrator from being made, the user hears
        // it in the program's words below; the system's go to the log.
        DebugLog("Users: " + ExceptionText(std::current_exception()));
    }
    if (!IsFreeSlot(FindUser(AdminName))) return;
    if (!told) ShowAdminCreateError(mainWindow);
    Halt(2);
}

bool TUsersFrame::runUserDialog(int mode, TUserRecord& record) {
    UserDialogScope scope(MainForm);
    if (mode == TadduserDialogForm::modeModify)
        adduserDialog->Open(mode, text("IDS_PRIV_MODIFICATION"));
    else
        adduserDialog->SetMode(mode);
    adduserDialog->SetWindowState(wsMinimized);
    if (adduserDialog->ShowModal() != mrOk) return false;
    record = adduserDialog->BuildUserRecord();
    return true;
}

void TUsersFrame::AddUserButtonClick(TObject*) {
    TUserRecord record;
    if (!runUserDialog(TadduserDialogForm::modeAdd, record)) return;
    try {
        AddUser(record);
    } catch (const EUsersFileError& e) {
        ShowUsersFileError(this, e);  // the table is as it was
    }
    ReloadUsers();
}

void TUsersFrame::modifyUsersButtonClick(TObject*) {
    TUserRecord record;
    try {
        if (runUserDialog(TadduserDialogForm::modeModify, record)) ModifyUser(record);
    } catch (const EUsersFileError& e) {
        ShowUsersFileError(this, e);
    }
    // Users may have been deleted inside the dialog, whatever its result.
    ReloadUsers();
}

void TUsersFrame::usersComboBoxChange(TObject*) {
    const AnsiString name = usersComboBox->Text();
    const TUserRecord record = FindUser(name);
    // Each keystroke in the combo lands here: only a text naming a user
    // starts a login, and a typed name counts as picked.
    if (IsFreeSlot(record)) return;
    if (usersComboBox->ItemIndex() < 0) usersComboBox->SetItemIndex(ExactIndex(usersComboBox->Items(), name));

    std::unique_ptr<TuserpaswdDialog, void (*)(TObject*)> dialog(new TuserpaswdDialog(this, record), TObject::Free);
    if (dialog->ShowModal() == mrOk)
        logInAs(record);
    else
        logOut();
}

void TUsersFrame::logInAs(const TUserRecord& record) {
    setCurrentUser(record);
    userInfoLabel->SetCaption(AnsiString());
    ApplyUserRights();
    TMainForm* main = MainForm;  // null while the frame stands alone
    if (main) main->MediaFrame1->RefreshRecordings();
    if (!loggedIn() || !main) return;

    // Every login connects, or syncs at once when the link is already on.
    TConnectFrame* link = main->ConnectFrame1;
    if (link->IsConnected())
        link->RefreshButtonClick(this);
    else
        link->ConnectBitBtnClick(this);
    main->StatusFrameBottom->LoggedIn = true;
    focusAfterLogin(*main);
}

void TUsersFrame::focusAfterLogin(TMainForm& main) {
    TMediaFrame* media = main.MediaFrame1;
    FocusIfPossible(media);
    FocusIfPossible(media->musicTable);
    if (media->musicTable->RowCount() > 1) {
        media->musicTable->SetRow(1);
        media->musicTableClick(media->musicTable);
    }

    // The administrator goes where the device still needs its address or password.
    TConnectFrame* link = main.ConnectFrame1;
    const AnsiString address = link->SerwerIPEdit->Text();
    const bool passwordMissing = link->HasloEdit->Text().empty();
    if (UserText(CurrentUserRecord().Name) != AdminName || !(SameText(address, "http://") || passwordMissing)) {
        main.TabImageUserClick(this);
        return;
    }
    main.TabImageConClick(this);
    FocusIfPossible(link);
    if (address.size() >= 9 && passwordMissing)
        FocusIfPossible(link->HasloEdit);
    else
        FocusIfPossible(link->SerwerIPEdit);
}

void TUsersFrame::logOut() {
    ClearCurrentUser();
    TMainForm* main = MainForm;
    if (main) {
        main->StatusFrameBottom->LoggedIn = false;
        main->ConnectFrame1->ConnectBitBtn->SetEnabled(false);
        main->MediaFrame1->ExportImage->Hide();
    }
    ApplyUserRights();
    if (main) main->MediaFrame1->RefreshRecordings();
}

void TUsersFrame::DodajImageMouseDown(TObject*, TMouseButton, TShiftState, int, int) {
    ShowButtonImage(DodajImage, ImageListBtn, imageBase() + 1);
}
void TUsersFrame::DodajImageMouseUp(TObject*, TMouseButton, TShiftState, int, int) {
    ShowButtonImage(DodajImage, ImageListBtn, imageBase());
}
void TUsersFrame::ModyfImageMouseDown(TObject*, TMouseButton, TShiftState, int, int) {
    ShowButtonImage(ModyfImage, ImageListBtn, imageBase() + 3);
}
void TUsersFrame::ModyfImageMouseUp(TObject*, TMouseButton, TShiftState, int, int) {
    ShowButtonImage(ModyfImage, ImageListBtn, imageBase() + 2);
}
