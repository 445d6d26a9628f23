#pragma once
// The user dialog: creates the first administrator (mode 0), adds a user
// (mode 1), changes a user's password and rights or deletes users (mode 2).
// It checks what was typed and builds the record; the caller stores it.
#include "store/UserRecord.h"
#include "vcl/ComboBox.h"
#include "vcl/ExtCtrls.h"
#include "vcl/Forms.h"
#include "vcl/ImgList.h"
#include "vcl/StdCtrls.h"

class TlxLangLinked;

class TadduserDialogForm : public TForm {
    YORDE_CLASS(TadduserDialogForm, TForm)
public:
    enum TMode : int { modeFirstAdmin = 0, modeAdd = 1, modeModify = 2 };

    TLabel* adduserlabel = nullptr;
    TComboBox* usersComboBox = nullptr;
    TLabel* passwordlabel = nullptr;
    TEdit* passwordLineEdit = nullptr;
    TButton* deleteUserButton = nullptr;
    TLabel* uprPrzegLabel = nullptr;
    TComboBox* uprPrzegComboBox = nullptr;
    TEdit* uprPrzegLineEdit = nullptr;
    TLabel* uprSluchLabel = nullptr;
    TComboBox* uprSluchComboBox = nullptr;
    TEdit* uprSluchLineEdit = nullptr;
    TLabel* uprKasLabel = nullptr;
    TComboBox* uprKasComboBox = nullptr;
    TEdit* uprKasLineEdit = nullptr;
    TButton* OKButton = nullptr;
    TButton* CancelButton = nullptr;
    TEdit* adduserlineEdit = nullptr;
    TEdit* repeatPasswordLineEdit = nullptr;
    TLabel* repeatPasswordLabel = nullptr;
    TImage* ImageOK = nullptr;
    TImage* ImageAnuluj = nullptr;
    TImageList* ImageList1 = nullptr;
    TImageList* ImageList2 = nullptr;
    TImage* ImageUsun = nullptr;
    TTimer* Timer1 = nullptr;
    TlxLangLinked* lxLangLinked1 = nullptr;

    int Mode = modeFirstAdmin;

    explicit TadduserDialogForm(TComponent* AOwner);

    void SetMode(int mode);
    void Open(int mode, const AnsiString& caption);
    bool IsFirstAdmin() const { return Mode == modeFirstAdmin; }
    // The record of the dialog's fields; call after modal result 1.
    TUserRecord BuildUserRecord() const;
    void ShowSelectedUser();
    void ShowUserRecord();
    void UpdateRightEdits();
    // Account messages: 0 reserved admin name, 1 wrong repetition, 2 no user picked.
    void ShowUserMessage(int code);
    // Field rules: 0 name, 1 password, 2 view, 3 listen, 4 delete number.
    void ShowLengthError(int code);

    // Handlers.
    void OKButtonClick(TObject* Sender);
    void deleteUserButtonClick(TObject* Sender);
    void usersComboBoxChange(TObject* Sender);
    void uprPrzegComboBoxChange(TObject* Sender);
    void uprSluchComboBoxChange(TObject* Sender);
    void uprKasComboBoxChange(TObject* Sender);
    void uprPrzegLineEditChange(TObject* Sender);
    void uprSluchLineEditChange(TObject* Sender);
    void uprKasLineEditChange(TObject* Sender);
    void adduserlineEditChange(TObject* Sender);
    void FormShow(TObject* Sender);
    void FormKeyDown(TObject* Sender, WORD& Key, TShiftState Shift);
    void passwordLineEditKeyDown(TObject* Sender, WORD& Key, TShiftState Shift);
    void repeatPasswordLineEditKeyDown(TObject* Sender, WORD& Key, TShiftState Shift);
    void ImageOKClick(TObject* Sender);
    void ImageOKMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void ImageOKMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void ImageAnulujClick(TObject* Sender);
    void ImageAnulujMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void ImageAnulujMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void ImageUsunClick(TObject* Sender);
    void ImageUsunMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void ImageUsunMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void Timer1Timer(TObject* Sender);

private:
    int language() const;
    // Index of the first bitmap of this language in ImageList1 / ImageList2.
    int okCancelBase() const { return (language() - 1) * 4; }
    int deleteBase() const { return (language() - 1) * 2; }
    AnsiString text(const char* key) const;
};

// The dialog the users frame has open, or null.
extern TadduserDialogForm* adduserDialog;
