#include "workstation/Unitaddressbookform.h"
#include "workstation/FormColors.h"

#include "localization/Lxlnglnk.h"
#include "rtl/Folders.h"
#include "workstation/AddressBookDialogUnit.h"
#include "workstation/DialogLanguage.h"
#include "workstation/ImageButtons.h"
#include "workstation/Unitdebug.h"
#include "workstation/Unitmediaframe.h"
#include "workstation/Unitmessage.h"
#include "workstation/Unitquestion.h"

#include <memory>

YORDE_IMPLEMENT_CLASS(TAddressBook, [](TClassBuilder<TAddressBook>& c) {
    using T = TAddressBook;
    c.Field("AddBitBtn", &T::AddBitBtn);
    c.Field("DelBitBtn", &T::DelBitBtn);
    c.Field("ImportBitBtn", &T::ImportBitBtn);
    c.Field("EksportBitBtn", &T::EksportBitBtn);
    c.Field("OKBitBtn", &T::OKBitBtn);
    c.Field("ABookListEditor", &T::ABookListEditor);
    c.Field("EditOpBitBtn", &T::EditOpBitBtn);
    c.Field("EditNrBitBtn", &T::EditNrBitBtn);
    c.Field("SaveDialog1", &T::SaveDialog1);
    c.Field("OpenDialog1", &T::OpenDialog1);
    c.Field("ImageList1", &T::ImageList1);
    c.Field("ImageList2", &T::ImageList2);
    c.Field("ImageOK", &T::ImageOK);
    c.Field("ImageEdNr", &T::ImageEdNr);
    c.Field("ImageEdOp", &T::ImageEdOp);
    c.Field("ImageDodaj", &T::ImageDodaj);
    c.Field("ImageUsun", &T::ImageUsun);
    c.Field("ImageImp", &T::ImageImp);
    c.Field("ImageExp", &T::ImageExp);
    c.Field("lxLangLinked1", &T::lxLangLinked1);
    c.Method("FormClose", &T::FormClose);
    c.Method("AddBitBtnClick", &T::AddBitBtnClick);
    c.Method("DelBitBtnClick", &T::DelBitBtnClick);
    c.Method("OKBitBtnClick", &T::OKBitBtnClick);
    c.Method("EditOpBitBtnClick", &T::EditOpBitBtnClick);
    c.Method("EditNrBitBtnClick", &T::EditNrBitBtnClick);
    c.Method("ABookListEditorDblClick", &T::ABookListEditorDblClick);
    c.Method("EksportBitBtnClick", &T::EksportBitBtnClick);
    c.Method("ImportBitBtnClick", &T::ImportBitBtnClick);
    c.Method("ImageClick", &T::ImageClick);
    c.Method("ImageMouseDown", &T::ImageMouseDown);
    c.Method("ImageMouseUp", &T::ImageMouseUp);
})

namespace {

using DialogPtr = std::unique_ptr<TAddressBookDialog, void (*)(TObject*)>;

DialogPtr NewEntryDialog(TComponent* Owner) { return DialogPtr(NewForm<TAddressBookDialog>(Owner), TObject::Free); }

}  // namespace

TAddressBook::TAddressBook(TComponent* AOwner, const AnsiString& UserName) : TForm(AOwner), userName_(UserName) {
    InitLayout();
    SetColor(clFormBackground);
    ABookListEditor->SetColWidths(0, 103);
    ABookListEditor->SetColWidths(1, 412);
    load();
    for (TImage* image : {ImageOK, ImageEdNr, ImageEdOp, ImageDodaj, ImageUsun, ImageImp, ImageExp})
        showButton(image, false);
}

// Changes not saved by a close are dropped, as when the program ends with
// the window open.
TAddressBook::~TAddressBook() = default;

AnsiString TAddressBook::T(const char* Key) const { return lxLangLinked1->GetTextOrDefault(Key); }

void TAddressBook::showMessage(const AnsiString& Text) { ShowCaptionMessage(this, T("IDS_ERROR"), Text); }

void TAddressBook::load() {
    try {
        AddressDb.Open(ProgramDir() + "data.db");
        for (const TAddressEntry& e : LoadAddressBook(AddressDb, userName_))
            ABookListEditor->InsertRow(e.Number, e.Description, true);
    } catch (...) {
        loadFailed_ = true;
        showMessage(T("IDS_READ_ERROR") + ".\n" + T("IDS_NOT_SAVED"));
    }
}

void TAddressBook::save() {
    if (loadFailed_) return;
    try {
        SaveAddressBook(AddressDb, userName_, Entries());
    } catch (const SqliteException&) {
        showMessage(T("IDS_SAVE_ERROR") + ".");
    }
}

TAddressEntries TAddressBook::Entries() const {
    TAddressEntries entries;
    const int first = ABookListEditor->FixedRows();
    for (int i = 0; i < ABookListEditor->Strings()->Count(); ++i)
        entries.push_back({ABookListEditor->Cells(0, first + i), ABookListEditor->Cells(1, first + i)});
    return entries;
}

int TAddressBook::selectedRow() const {
    const int row = ABookListEditor->Row();
    return row >= ABookListEditor->FixedRows() ? row : 0;
}

void TAddressBook::FormClose(TObject*, TCloseAction&) {
    save();
    AddressDb.Close();
    if (auto* media = dynamic_cast<TMediaFrame*>(Owner())) media->RefreshRecordings();
}

void TAddressBook::AddBitBtnClick(TObject*) {
    DialogPtr dialog = NewEntryDialog(this);
    while (dialog->ShowModal() == mrOk) {
        const AnsiString number = dialog->GetNumber();
        if (number.empty()) {
            // The dialog comes back with what was typed.
            showMessage("\n" + T("IDS_NUMBER_CELL"));
            continue;
        }
        try {
            ABookListEditor->InsertRow(number, dialog->GetDescription(), true);
        } catch (const EListError&) {
            showMessage("\n" + T("IDS_RECORD_EXISTS"));
        }
        return;
    }
}

void TAddressBook::DelBitBtnClick(TObject*) {
    const int row = selectedRow();
    if (row == 0) return;
    const AnsiString number = ABookListEditor->Keys(row);
    if (number.empty()) return;
    std::unique_ptr<TQuestionDialog, void (*)(TObject*)> question(NewForm<TQuestionDialog>(nullptr), TObject::Free);
    question->SetCaption(T("IDS_REMOVE"));
    question->MessageLabel->SetMixedText(
        TMixedText().Translated(T("IDS_REMOVE_QUESTION") + " ").UserText(number).Translated("?"));
    if (question->ShowModal() != mrOk) return;
    ABookListEditor->DeleteRow(row);
    ABookListEditor->SetFocus();
}

void TAddressBook::EditOpBitBtnClick(TObject*) {
    const int row = selectedRow();
    if (row == 0) return;
    DialogPtr dialog = NewEntryDialog(this);
    dialog->NrEdit->SetText(ABookListEditor->Keys(row));
    dialog->NrEdit->SetEnabled(false);
    dialog->OpisMemo->SetText(ABookListEditor->Cells(1, row));
    if (dialog->ShowModal() == mrOk) ABookListEditor->SetCells(1, row, dialog->GetDescription());
}

void TAddressBook::EditNrBitBtnClick(TObject*) {
    const int row = selectedRow();
    if (row == 0) return;
    DialogPtr dialog = NewEntryDialog(this);
    dialog->NrEdit->SetText(ABookListEditor->Keys(row));
    dialog->OpisMemo->SetText(ABookListEditor->Cells(1, row));
    dialog->OpisMemo->SetEnabled(false);
    while (dialog->ShowModal() == mrOk) {
        // The edited row counts too: OK without a change is refused as well.
        int found = 0;
        if (!ABookListEditor->FindRow(dialog->GetNumber(), found)) {
            ABookListEditor->SetKeys(row, dialog->GetNumber());
            return;
        }
        showMessage(T("IDS_RECORD_EXISTS"));
    }
}

void TAddressBook::ABookListEditorDblClick(TObject* Sender) { EditOpBitBtnClick(Sender); }

void TAddressBook::OKBitBtnClick(TObject*) { Close(); }

void TAddressBook::EksportBitBtnClick(TObject*) {
    SaveDialog1->SetTitle(T("IDS_EXPORT"));
    if (!SaveDialog1->Execute()) return;
    try {
        WriteAddressBookFile(SaveDialog1->FileName(), Entries());
    } catch (const Exception& e) {
        // Nothing of the new file is left; an older one stays as it was.
        DebugLog("Address book export: " + e.Message);
        showMessage("\n" + T("IDS_EXPORT_ERROR"));
    }
}

void TAddressBook::ImportBitBtnClick(TObject*) {
    OpenDialog1->SetTitle(T("IDS_IMPORT"));
    if (!OpenDialog1->Execute()) return;
    TAddressEntries entries;
    try {
        entries = ReadAddressBookFile(OpenDialog1->FileName());
    } catch (const Exception&) {
        showMessage("\n" + T("IDS_IMPORT_ERROR"));
        return;
    }
    for (const TAddressEntry& e : entries) {
        try {
            ABookListEditor->InsertRow(e.Number, e.Description, true);
        } catch (const EListError&) {
            // A number already in the book, or one the list cannot hold: skipped.
        }
    }
}

// ---------------------------------------------------------------------------
// Image buttons

namespace {

struct TImageButton {
    TImage* Image;
    TImageList* List;
    int Normal;  // offset of the normal picture in the language's block
    int Block;   // pictures per language
    TButton* Button;
};

TImageButton ButtonOf(const TAddressBook* F, const TObject* Image) {
    const TImageButton buttons[] = {
        {F->ImageOK, F->ImageList1, 0, 6, F->OKBitBtn},       {F->ImageEdNr, F->ImageList1, 2, 6, F->EditNrBitBtn},
        {F->ImageEdOp, F->ImageList1, 4, 6, F->EditOpBitBtn}, {F->ImageUsun, F->ImageList2, 0, 8, F->DelBitBtn},
        {F->ImageImp, F->ImageList2, 2, 8, F->ImportBitBtn},  {F->ImageExp, F->ImageList2, 4, 8, F->EksportBitBtn},
        {F->ImageDodaj, F->ImageList2, 6, 8, F->AddBitBtn},
    };
    for (const TImageButton& b : buttons)
        if (b.Image == Image) return b;
    return {nullptr, nullptr, 0, 0, nullptr};
}

}  // namespace

void TAddressBook::showButton(TImage* Image, bool Pressed) {
    const TImageButton b = ButtonOf(this, Image);
    if (!b.Image) return;
    ShowButtonImage(b.Image, b.List, (ProgramLanguage() - 1) * b.Block + b.Normal + (Pressed ? 1 : 0));
    b.Image->BringToFront();
}

void TAddressBook::ImageClick(TObject* Sender) {
    if (TButton* button = ButtonOf(this, Sender).Button) button->Click();
}

void TAddressBook::ImageMouseDown(TObject* Sender, TMouseButton, TShiftState, int, int) {
    showButton(dynamic_cast<TImage*>(Sender), true);
}

void TAddressBook::ImageMouseUp(TObject* Sender, TMouseButton, TShiftState, int, int) {
    showButton(dynamic_cast<TImage*>(Sender), false);
}
