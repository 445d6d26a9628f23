#include "workstation/Mainunit.h"
#include "workstation/FormColors.h"

#include "localization/Lxcomp.h"
#include "rtl/Files.h"
#include "rtl/Folders.h"
#include "shell/Power.h"
#include "vcl/PeerInput.h"
#include "workstation/DialogLanguage.h"
#include "workstation/ImageButtons.h"
#include "workstation/TemporaryLeftovers.h"
#include "workstation/Unitconnect.h"
#include "workstation/Unitdebug.h"
#include "workstation/Unitfiltr.h"
#include "workstation/Unitmediaframe.h"
#include "workstation/Unitmessage.h"
#include "workstation/Unitstatus.h"
#include "workstation/Unitusers.h"

#include <iostream>

TMainForm* MainForm = nullptr;

YORDE_IMPLEMENT_CLASS(TMainForm, [](TClassBuilder<TMainForm>& c) {
    using T = TMainForm;
    c.Field("PanelCentral", &T::PanelCentral);
    c.Field("MediaFrame1", &T::MediaFrame1);
    c.Field("ConnectFrame1", &T::ConnectFrame1);
    c.Field("FiltrFrame1", &T::FiltrFrame1);
    c.Field("UsersFrame1", &T::UsersFrame1);
    c.Field("StatusFrameBottom", &T::StatusFrameBottom);
    c.Field("TrayIconOrvia", &T::TrayIconOrvia);
    c.Field("ServerSocketOrvia", &T::ServerSocketOrvia);
    c.Field("PopupMenuTray", &T::PopupMenuTray);
    c.Field("Item1", &T::Item1);
    c.Field("Item2", &T::Item2);
    c.Field("Item3", &T::Item3);
    c.Field("ImageListTray", &T::ImageListTray);
    c.Field("Timer1", &T::Timer1);
    c.Field("PanelTab", &T::PanelTab);
    c.Field("TabImageUser", &T::TabImageUser);
    c.Field("TabImageFiltr", &T::TabImageFiltr);
    c.Field("TabImageCon", &T::TabImageCon);
    c.Field("TabImageBack", &T::TabImageBack);
    c.Field("ImageListTab", &T::ImageListTab);
    c.Field("PanelTop", &T::PanelTop);
    c.Field("Panel1", &T::Panel1);
    c.Field("lxLang1", &T::lxLang1);
    c.Field("ImagePL", &T::ImagePL);
    c.Field("ImageEN", &T::ImageEN);
    c.Field("ImageRU", &T::ImageRU);
    c.Method("FormCreate", &T::FormCreate);
    c.Method("FormShow", &T::FormShow);
    c.Method("FormClose", &T::FormClose);
    c.Method("FormCanResize", &T::FormCanResize);
    c.Method("Timer1Timer", &T::Timer1Timer);
    c.Method("Item1Click", &T::Item1Click);
    c.Method("Item2Click", &T::Item2Click);
    c.Method("Item3Click", &T::Item3Click);
    c.Method("TrayIconOrviaMinimize", &T::TrayIconOrviaMinimize);
    c.Method("TrayIconOrviaRestore", &T::TrayIconOrviaRestore);
    c.Method("TrayIconOrviaClick", &T::TrayIconOrviaClick);
    c.Method("TabImageUserClick", &T::TabImageUserClick);
    c.Method("TabImageFiltrClick", &T::TabImageFiltrClick);
    c.Method("TabImageConClick", &T::TabImageConClick);
    c.Method("ImagePLClick", &T::ImagePLClick);
    c.Method("ImageENClick", &T::ImageENClick);
    c.Method("ImageRUClick", &T::ImageRUClick);
})

namespace {

constexpr int kFixedWidth = 800;
constexpr int kMinHeight = 600;

// Tab bitmaps: six per language, k as below.
enum : int {
    kUsersTab = 0,
    kUsersTabSelected = 1,
    kFilterTab = 2,
    kFilterTabSelected = 3,
    kConnectionTab = 4,
    kConnectionTabSelected = 5,
};

int gPortOverride = 0;
TDbPrepareSteps gDbSteps;

}  // namespace

void SetSingleInstancePortOverride(int Port) { gPortOverride = Port; }
void SetLocalDatabaseStepsOverride(TDbPrepareSteps Steps) { gDbSteps = std::move(Steps); }

TMainForm::TMainForm(TComponent* AOwner) : TForm(AOwner) {
    // Reading the layout builds the frames in order: recordings, status
    // bar, filter, connection, users (which may end the program).
    InitLayout();
    takeSingleInstancePort();
    prepareFolderAndDatabases();
    paintBackgrounds();
    showTabs(kUsersTabSelected, kFilterTab, kConnectionTab);

    // A resume from sleep arrives as the power broadcast.
    resumeWatcher_ = std::make_unique<TResumeWatcher>([this] {
        TPeerInput::Dispatch([this] {
            TMessage message;
            message.Msg = WM_POWERBROADCAST;
            message.WParam = PBT_APMRESUMESUSPEND;
            Dispatch(message);
        });
    });
}

TMainForm::~TMainForm() = default;

AnsiString TMainForm::text(const char* Key) const { return lxLang1->GetTextOrDefault(Key); }

int TMainForm::tabBase() const { return (ProgramLanguage() - 1) * 6; }

void TMainForm::failStart(const char* MessageKey, int ExitCode) {
    ShowCaptionMessage(this, text("IDS_ERROR"), text(MessageKey));
    Halt(ExitCode);
}

void TMainForm::takeSingleInstancePort() {
    try {
        ServerSocketOrvia->SetPort(gPortOverride ? gPortOverride : SingleInstancePort);
        ServerSocketOrvia->SetActive(true);
    } catch (...) {
        failStart("IDS_RUNNING", 1);
    }
}

void TMainForm::prepareFolderAndDatabases() {
    const AnsiString dir = ProgramDir();
    ForceOwnFolder(dir + "files");
    // Only now: until the port was ours, another copy may have been writing them.
    RemoveTemporaryLeftovers(dir, TempDir());
    const TDbPreparation result = PrepareLocalDatabases(dir, gDbSteps);
    for (const AnsiString& note : result.Notes) DebugLog(note);
    if (result.ExitCode == DB_READY) return;
    // The debug log does not exist yet.
    std::clog << result.Detail << '\n';
    failStart(result.MessageKey.c_str(), result.ExitCode);
}

void TMainForm::paintBackgrounds() {
    SetColor(clFormBackground);
    for (TControl* c : std::initializer_list<TControl*>{PanelCentral, PanelTop, Panel1, MediaFrame1, StatusFrameBottom,
                                                        FiltrFrame1, ConnectFrame1, UsersFrame1})
        c->SetColor(clFormBackground);
}

void TMainForm::FormCreate(TObject*) {
    UsersFrame1->ClearCurrentUser();
    UsersFrame1->ApplyUserRights();
    MediaFrame1->InitFrame();
    loadSettings();
}

void TMainForm::FormShow(TObject*) { DebugLog(ProgramDir()); }

void TMainForm::FormCanResize(TObject*, int& NewWidth, int& NewHeight, bool& Resize) {
    NewWidth = kFixedWidth;
    if (NewHeight < kMinHeight) NewHeight = kMinHeight;
    Resize = true;
}

// ---------------------------------------------------------------------------
// Tray icon

void TMainForm::Timer1Timer(TObject*) { TrayIconOrvia->Update(); }

void TMainForm::Item1Click(TObject*) { TrayIconOrvia->Restore(); }

void TMainForm::Item2Click(TObject*) { TrayIconOrvia->Minimize(); }

void TMainForm::Item3Click(TObject*) { Close(); }

void TMainForm::TrayIconOrviaMinimize(TObject*) {
    Item1->SetEnabled(true);
    Item2->SetEnabled(false);
}

void TMainForm::TrayIconOrviaRestore(TObject*) {
    Item2->SetEnabled(true);
    Item1->SetEnabled(false);
}

void TMainForm::TrayIconOrviaClick(TObject*) {
    if (Item1->Enabled())
        TrayIconOrvia->Restore();
    else
        TrayIconOrvia->Minimize();
}

// ---------------------------------------------------------------------------
// Tabs

void TMainForm::showTabs(int UserK, int FiltrK, int ConK) {
    const int base = tabBase();
    ShowButtonImage(TabImageUser, ImageListTab, base + UserK);
    ShowButtonImage(TabImageFiltr, ImageListTab, base + FiltrK);
    ShowButtonImage(TabImageCon, ImageListTab, base + ConK);
}

void TMainForm::showPage(TFrame* Shown, TWinControl* Focus) {
    for (TFrame* page : std::initializer_list<TFrame*>{UsersFrame1, FiltrFrame1, ConnectFrame1})
        page->SetVisible(page == Shown);
    // The window may be hidden in the tray, where nothing takes the focus.
    if (Focus->CanFocus()) Focus->SetFocus();
    Shown->Invalidate();
}

void TMainForm::TabImageUserClick(TObject*) {
    showTabs(kUsersTabSelected, kFilterTab, kConnectionTab);
    showPage(UsersFrame1, UsersFrame1->usersComboBox);
}

void TMainForm::TabImageFiltrClick(TObject*) {
    showTabs(kUsersTab, kFilterTabSelected, kConnectionTab);
    showPage(FiltrFrame1, FiltrFrame1->ABookCheckBox);
}

void TMainForm::TabImageConClick(TObject*) {
    showTabs(kUsersTab, kFilterTab, kConnectionTabSelected);
    showPage(ConnectFrame1, ConnectFrame1->SerwerIPEdit);
}

// ---------------------------------------------------------------------------
// Resume from sleep

void TMainForm::Dispatch(TMessage& Message) {
    if (Message.Msg == WM_POWERBROADCAST) WMPowerBroadcast(Message);
}

void TMainForm::WMPowerBroadcast(TMessage& Message) {
    if (Message.WParam != PBT_APMRESUMESUSPEND) return;
    // The link is not made again by itself.
    if (ConnectFrame1->IsConnected()) ConnectFrame1->ConnectBitBtnClick(nullptr);
    StatusFrameBottom->StatusProgressBar->SetPosition(0);
    StatusFrameBottom->StatusLabel->SetCaption("");
}

// ---------------------------------------------------------------------------

void TMainForm::ApplyFilterRange() {
    MediaFrame1->SetDateFrom(FiltrFrame1->GetDateFrom());
    MediaFrame1->SetDateTo(FiltrFrame1->GetDateTo());
}

TUserRecord TMainForm::GetCurrentUserRecord() const { return UsersFrame1->CurrentUserRecord(); }
