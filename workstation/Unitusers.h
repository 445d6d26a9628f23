#pragma once
// The users tab of the main window: makes sure an administrator exists,
// logs users in, keeps the logged-in user's record, shows or hides the
// controls of the whole window by that user's rights, and carries the
// administrator's settings (sync interval, buffer size, retention).
#include "store/UserRecord.h"
#include "vcl/ComboBox.h"
#include "vcl/ExtCtrls.h"
#include "vcl/Forms.h"
#include "vcl/ImgList.h"
#include "vcl/StdCtrls.h"
#include "vcl/TrackBar.h"

#include <mutex>

class TlxLangLinked;
class TMainForm;

class TUsersFrame : public TFrame {
    YORDE_CLASS(TUsersFrame, TFrame)
public:
    TComboBox* usersComboBox = nullptr;
    TButton* AddUserButton = nullptr;
    TButton* modifyUsersButton = nullptr;
    TLabel* UserLabel = nullptr;
    TLabel* userVisLabel = nullptr;
    TLabel* userPlayLabel = nullptr;
    TLabel* userRemLabel = nullptr;
    TLabel* userInfoLabel = nullptr;
    TTrackBar* RefreshTrackBar = nullptr;
    TLabel* RefreshLabel = nullptr;
    TTrackBar* DeleteTrackBar = nullptr;
    TLabel* DeleteLabel = nullptr;
    TImageList* ImageListBtn = nullptr;
    TImage* DodajImage = nullptr;
    TImage* ModyfImage = nullptr;
    TImage* UserImage = nullptr;
    TPanel* LegPanel1 = nullptr;
    TPanel* LegPanel2 = nullptr;
    TlxLangLinked* lxLangLinked1 = nullptr;
    TComboBox* DeleteAfterComboBox = nullptr;
    TLabel* DeleteAfterLabel = nullptr;

    // The accepted retention choice (0 off, 1..9); the settings set it
    // together with the combo's index at start and save it at exit.
    int RetentionIndex = 0;

    // Loads the user store; at the first start (or without an "admin") it
    // forces the administrator, ending the program with code 2 when that fails.
    explicit TUsersFrame(TComponent* AOwner);

    bool ReloadUsers();
    void ClearCurrentUser();
    void DescribeRight(const AnsiString& action, TLabel* label, const TUserRight& right);
    void ApplyUserRights();
    // Months after which recordings are purged; -1 when retention is off.
    int GetDeleteAfterMonths() const;
    // A copy of the logged-in user's record (all zero: nobody); any thread.
    TUserRecord CurrentUserRecord() const;

    void usersComboBoxChange(TObject* Sender);
    void AddUserButtonClick(TObject* Sender);
    void modifyUsersButtonClick(TObject* Sender);
    void RefreshTrackBarChange(TObject* Sender);
    void DeleteTrackBarChange(TObject* Sender);
    void RefreshTrackBarKeyDown(TObject* Sender, WORD& Key, TShiftState Shift);
    void DeleteTrackBarKeyDown(TObject* Sender, WORD& Key, TShiftState Shift);
    void DeleteAfterComboBoxChange(TObject* Sender);
    void DodajImageMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void DodajImageMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void ModyfImageMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void ModyfImageMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);

private:
    AnsiString text(const char* key) const;
    int imageBase() const;
    void setCurrentUser(const TUserRecord& record);
    bool loggedIn() const;
    // Runs the first-administrator dialog; ends the program when it fails.
    void createFirstAdmin();
    // The user dialog in a mode; true and the record on modal result 1.
    bool runUserDialog(int mode, TUserRecord& record);
    void logInAs(const TUserRecord& record);
    void logOut();
    void focusAfterLogin(TMainForm& main);

    mutable std::mutex currentLock_;
    TUserRecord currentUser_{};
};
