#pragma once
// The program's main window: hosts the five frames (recordings, status bar,
// filter, connection, users), the tab strip and the language flags, the
// tray icon with its menu and the single-instance guard. It prepares the
// program folder and the databases when it is built, applies the settings
// when it is created, asks before closing, and saves the settings and
// removes the temporary files at exit.
#include "net/ServerSocket.h"
#include "store/LocalDatabases.h"
#include "store/UserRecord.h"
#include "vcl/ExtCtrls.h"
#include "vcl/Forms.h"
#include "vcl/ImgList.h"
#include "vcl/Menus.h"
#include "vcl/TrayIcon.h"

#include <cstdint>
#include <memory>

class TlxLang;
class TMediaFrame;
class TConnectFrame;
class TFiltrFrame;
class TUsersFrame;
class TStatusFrame;
class TResumeWatcher;

// A window message as the main window's dispatcher sees it; only the power
// broadcast is ever delivered (by the resume watcher).
struct TMessage {
    unsigned Msg = 0;
    std::uintptr_t WParam = 0;
    std::intptr_t LParam = 0;
    std::intptr_t Result = 0;
};
constexpr unsigned WM_POWERBROADCAST = 0x0218;
constexpr std::uintptr_t PBT_APMRESUMESUSPEND = 7;

// The single-instance guard's port.
constexpr int SingleInstancePort = 50505;

class TMainForm : public TForm {
    YORDE_CLASS(TMainForm, TForm)
public:
    TPanel* PanelCentral = nullptr;
    TMediaFrame* MediaFrame1 = nullptr;
    TConnectFrame* ConnectFrame1 = nullptr;
    TFiltrFrame* FiltrFrame1 = nullptr;
    TUsersFrame* UsersFrame1 = nullptr;
    TStatusFrame* StatusFrameBottom = nullptr;
    TTrayIcon* TrayIconOrvia = nullptr;
    TServerSocket* ServerSocketOrvia = nullptr;
    TPopupMenu* PopupMenuTray = nullptr;
    TMenuItem* Item1 = nullptr;
    TMenuItem* Item2 = nullptr;
    TMenuItem* Item3 = nullptr;
    TImageList* ImageListTray = nullptr;
    TTimer* Timer1 = nullptr;
    TPanel* PanelTab = nullptr;
    TImage* TabImageUser = nullptr;
    TImage* TabImageFiltr = nullptr;
    TImage* TabImageCon = nullptr;
    TImage* TabImageBack = nullptr;
    TImageList* ImageListTab = nullptr;
    TPanel* PanelTop = nullptr;
    TPanel* Panel1 = nullptr;
    TlxLang* lxLang1 = nullptr;
    TImage* ImagePL = nullptr;
    TImage* ImageEN = nullptr;
    TImage* ImageRU = nullptr;

    // Builds the frames from the layout (the users frame may end the program
    // with code 2), then takes the single-instance port (code 1), creates
    // the "files" folder and prepares the databases (codes 10 to 40).
    explicit TMainForm(TComponent* AOwner);
    ~TMainForm() override;

    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);
    void FormClose(TObject* Sender, TCloseAction& Action);
    void FormCanResize(TObject* Sender, int& NewWidth, int& NewHeight, bool& Resize);
    void Timer1Timer(TObject* Sender);
    void Item1Click(TObject* Sender);
    void Item2Click(TObject* Sender);
    void Item3Click(TObject* Sender);
    void TrayIconOrviaMinimize(TObject* Sender);
    void TrayIconOrviaRestore(TObject* Sender);
    void TrayIconOrviaClick(TObject* Sender);
    void TabImageUserClick(TObject* Sender);
    void TabImageFiltrClick(TObject* Sender);
    void TabImageConClick(TObject* Sender);
    void ImagePLClick(TObject* Sender);
    void ImageENClick(TObject* Sender);
    void ImageRUClick(TObject* Sender);

    // Routes the power broadcast to WMPowerBroadcast; nothing else arrives.
    void Dispatch(TMessage& Message);
    void WMPowerBroadcast(TMessage& Message);

    // Hands the filter frame's bounds to the recordings frame.
    void ApplyFilterRange();
    // A copy of the logged-in user's record (all zero: nobody). Any thread.
    TUserRecord GetCurrentUserRecord() const;
    // Writes the settings, releases the port, the tray icon and the link,
    // and deletes the temporary files.
    void SaveConfigAndCleanup();

private:
    AnsiString text(const char* Key) const;
    int tabBase() const;
    void takeSingleInstancePort();
    void prepareFolderAndDatabases();
    void failStart(const char* MessageKey, int ExitCode);
    void paintBackgrounds();
    void showTabs(int UserK, int FiltrK, int ConK);
    void showPage(TFrame* Shown, TWinControl* Focus);
    // Switches to the language whose flag is Flag.
    void flagClick(const TImage* Flag);
    void switchLanguage(int Language);
    // The settings list (config.cfg) into the controls and back.
    void loadSettings();
    void saveSettings();
    void deleteTemporaryFiles();

    std::unique_ptr<TResumeWatcher> resumeWatcher_;
};

extern TMainForm* MainForm;

// Test seams. The port the single-instance guard takes (0: the program's
// own port), and the steps the database preparation runs with.
void SetSingleInstancePortOverride(int Port);
void SetLocalDatabaseStepsOverride(TDbPrepareSteps Steps);
