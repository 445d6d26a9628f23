#pragma once
// A user's address book: numbers and their descriptions, which the
// recordings list can show beside the calling and called numbers. The
// window works on the list loaded when it was built and writes the whole
// list back when it closes; it exchanges entries with a "number;description"
// text file.
#include "store/AddressBook.h"
#include "store/SqliteDb.h"
#include "vcl/Buttons.h"
#include "vcl/ExtCtrls.h"
#include "vcl/FileDialogs.h"
#include "vcl/Forms.h"
#include "vcl/ImgList.h"
#include "vcl/ValEdit.h"

class TlxLangLinked;

class TAddressBook : public TForm {
    YORDE_CLASS(TAddressBook, TForm)
public:
    TBitBtn* AddBitBtn = nullptr;
    TBitBtn* DelBitBtn = nullptr;
    TBitBtn* ImportBitBtn = nullptr;
    TBitBtn* EksportBitBtn = nullptr;
    TBitBtn* OKBitBtn = nullptr;
    TValueListEditor* ABookListEditor = nullptr;
    TBitBtn* EditOpBitBtn = nullptr;
    TBitBtn* EditNrBitBtn = nullptr;
    TSaveDialog* SaveDialog1 = nullptr;
    TOpenDialog* OpenDialog1 = nullptr;
    TImageList* ImageList1 = nullptr;
    TImageList* ImageList2 = nullptr;
    TImage* ImageOK = nullptr;
    TImage* ImageEdNr = nullptr;
    TImage* ImageEdOp = nullptr;
    TImage* ImageDodaj = nullptr;
    TImage* ImageUsun = nullptr;
    TImage* ImageImp = nullptr;
    TImage* ImageExp = nullptr;
    TlxLangLinked* lxLangLinked1 = nullptr;

    // The book of UserName, the user logged in when the window was opened:
    // it is loaded now and saved for that same user at close, whoever is
    // logged in by then.
    TAddressBook(TComponent* AOwner, const AnsiString& UserName);
    ~TAddressBook() override;

    const AnsiString& UserName() const { return userName_; }
    // The entries as the list holds them, top to bottom.
    TAddressEntries Entries() const;

    // Handlers.
    void FormClose(TObject* Sender, TCloseAction& Action);
    void AddBitBtnClick(TObject* Sender);
    void DelBitBtnClick(TObject* Sender);
    void OKBitBtnClick(TObject* Sender);
    void EditOpBitBtnClick(TObject* Sender);
    void EditNrBitBtnClick(TObject* Sender);
    void ABookListEditorDblClick(TObject* Sender);
    void EksportBitBtnClick(TObject* Sender);
    void ImportBitBtnClick(TObject* Sender);
    void ImageClick(TObject* Sender);
    void ImageMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void ImageMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);

    SqliteDb AddressDb;

private:
    AnsiString T(const char* Key) const;
    void showMessage(const AnsiString& Text);
    // The picture of one of the seven image buttons, normal or pressed.
    void showButton(TImage* Image, bool Pressed);
    void load();
    void save();
    // The selected data row, or 0.
    int selectedRow() const;

    AnsiString userName_;
    // A book that could not be read completely is never written back: the
    // rows missing from the list would be lost.
    bool loadFailed_ = false;
};
