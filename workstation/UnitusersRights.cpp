// The logged-in user and the controls of the main window that user sees.
#include "localization/Lxcomp.h"
#include "store/UserRights.h"
#include "store/Users.h"
#include "workstation/Mainunit.h"
#include "workstation/Unitconnect.h"
#include "workstation/Unitmediaframe.h"
#include "workstation/Unitusers.h"

TUserRecord TUsersFrame::CurrentUserRecord() const {
    std::lock_guard<std::mutex> lock(currentLock_);
    return currentUser_;
}

void TUsersFrame::setCurrentUser(const TUserRecord& record) {
    std::lock_guard<std::mutex> lock(currentLock_);
    currentUser_ = record;
}

bool TUsersFrame::loggedIn() const { return !IsFreeSlot(CurrentUserRecord()); }

void TUsersFrame::ClearCurrentUser() {
    setCurrentUser(TUserRecord{});
    const AnsiString selectUser = text("IDS_SELECT_USER");
    userInfoLabel->SetCaption(selectUser);
    usersComboBox->SetItemIndex(-1);
    // The prompt is a translation standing among the users' names.
    usersComboBox->SetTranslatedText(selectUser);
}

void TUsersFrame::DescribeRight(const AnsiString& action, TLabel* label, const TUserRight& right) {
    label->SetCaption(RightSentence(right, action, [this](const char* key) { return text(key); }));
}

void TUsersFrame::ApplyUserRights() {
    userVisLabel->SetCaption(AnsiString());
    userRemLabel->SetCaption(AnsiString());
    userVisLabel->Hide();
    userRemLabel->Hide();

    auto showSettings = [this](bool show) {
        for (TControl* c : std::initializer_list<TControl*>{DodajImage, ModyfImage, RefreshTrackBar, DeleteAfterLabel,
                                                            DeleteAfterComboBox, DeleteTrackBar})
            c->SetVisible(show);
    };
    TMainForm* main = MainForm;  // null while the frame stands alone
    TMediaFrame* media = main ? main->MediaFrame1 : nullptr;
    TConnectFrame* link = main ? main->ConnectFrame1 : nullptr;

    if (usersComboBox->ItemIndex() == -1) {
        ClearCurrentUser();
        showSettings(false);
        if (!main) return;
        for (TImage* image :
             {media->RecImage, media->ImportImage, media->ExportImage, media->ABookImage, media->DeleteImage})
            image->Hide();
        link->ConnectBitBtn->SetEnabled(false);
        main->TabImageFiltr->Hide();
        main->TabImageCon->Hide();
        return;
    }

    const TUserRecord user = CurrentUserRecord();
    if (UserText(user.Name) == AdminName) {
        showSettings(true);
        if (!main) return;
        // A running link keeps its fields as they are.
        if (!link->IsConnected()) {
            link->SerwerIPEdit->SetEnabled(true);
            link->HasloEdit->SetEnabled(true);
            link->ConnectBitBtn->SetEnabled(true);
        }
        for (TImage* image :
             {media->ExportImage, media->DeleteImage, media->RecImage, media->ImportImage, media->ABookImage})
            image->Show();
        main->TabImageFiltr->Show();
        main->TabImageCon->Show();
        return;
    }

    showSettings(false);
    DescribeRight(text("IDS_VIEW"), userVisLabel, user.ViewRight);
    DescribeRight(text("IDS_REMOVE"), userRemLabel, user.DeleteRight);
    userVisLabel->Show();
    userRemLabel->Show();
    if (!main) return;
    link->ConnectBitBtn->SetEnabled(true);
    media->RecImage->Hide();
    media->ImportImage->Hide();
    media->ABookImage->Show();
    main->TabImageFiltr->Show();
    main->TabImageCon->Hide();
    media->ExportImage->SetVisible(user.ListenRight.Kind != rkNone);
    media->DeleteImage->SetVisible(user.DeleteRight.Kind != rkNone);
}
