#include "workstation/Unitadduserform.h"
#include "workstation/FormColors.h"

#include "localization/Lxcomp.h"
#include "store/Users.h"
#include "workstation/DialogLanguage.h"
#include "workstation/ImageButtons.h"
#include "workstation/TextFilters.h"
#include "workstation/UserMessages.h"

TadduserDialogForm* adduserDialog = nullptr;

YORDE_IMPLEMENT_CLASS(TadduserDialogForm, [](TClassBuilder<TadduserDialogForm>& c) {
    using T = TadduserDialogForm;
    c.Field("adduserlabel", &T::adduserlabel);
    c.Field("usersComboBox", &T::usersComboBox);
    c.Field("passwordlabel", &T::passwordlabel);
    c.Field("passwordLineEdit", &T::passwordLineEdit);
    c.Field("deleteUserButton", &T::deleteUserButton);
    c.Field("uprPrzegLabel", &T::uprPrzegLabel);
    c.Field("uprPrzegComboBox", &T::uprPrzegComboBox);
    c.Field("uprPrzegLineEdit", &T::uprPrzegLineEdit);
    c.Field("uprSluchLabel", &T::uprSluchLabel);
    c.Field("uprSluchComboBox", &T::uprSluchComboBox);
    c.Field("uprSluchLineEdit", &T::uprSluchLineEdit);
    c.Field("uprKasLabel", &T::uprKasLabel);
    c.Field("uprKasComboBox", &T::uprKasComboBox);
    c.Field("uprKasLineEdit", &T::uprKasLineEdit);
    c.Field("OKButton", &T::OKButton);
    c.Field("CancelButton", &T::CancelButton);
    c.Field("adduserlineEdit", &T::adduserlineEdit);
    c.Field("repeatPasswordLineEdit", &T::repeatPasswordLineEdit);
    c.Field("repeatPasswordLabel", &T::repeatPasswordLabel);
    c.Field("ImageOK", &T::ImageOK);
    c.Field("ImageAnuluj", &T::ImageAnuluj);
    c.Field("ImageList1", &T::ImageList1);
    c.Field("ImageList2", &T::ImageList2);
    c.Field("ImageUsun", &T::ImageUsun);
    c.Field("Timer1", &T::Timer1);
    c.Field("lxLangLinked1", &T::lxLangLinked1);
    c.Method("OKButtonClick", &T::OKButtonClick);
    c.Method("deleteUserButtonClick", &T::deleteUserButtonClick);
    c.Method("usersComboBoxChange", &T::usersComboBoxChange);
    c.Method("uprPrzegComboBoxChange", &T::uprPrzegComboBoxChange);
    c.Method("uprSluchComboBoxChange", &T::uprSluchComboBoxChange);
    c.Method("uprKasComboBoxChange", &T::uprKasComboBoxChange);
    c.Method("uprPrzegLineEditChange", &T::uprPrzegLineEditChange);
    c.Method("uprSluchLineEditChange", &T::uprSluchLineEditChange);
    c.Method("uprKasLineEditChange", &T::uprKasLineEditChange);
    c.Method("adduserlineEditChange", &T::adduserlineEditChange);
    c.Method("FormShow", &T::FormShow);
    c.Method("FormKeyDown", &T::FormKeyDown);
    c.Method("passwordLineEditKeyDown", &T::passwordLineEditKeyDown);
    c.Method("repeatPasswordLineEditKeyDown", &T::repeatPasswordLineEditKeyDown);
    c.Method("ImageOKClick", &T::ImageOKClick);
    c.Method("ImageOKMouseDown", &T::ImageOKMouseDown);
    c.Method("ImageOKMouseUp", &T::ImageOKMouseUp);
    c.Method("ImageAnulujClick", &T::ImageAnulujClick);
    c.Method("ImageAnulujMouseDown", &T::ImageAnulujMouseDown);
    c.Method("ImageAnulujMouseUp", &T::ImageAnulujMouseUp);
    c.Method("ImageUsunClick", &T::ImageUsunClick);
    c.Method("ImageUsunMouseDown", &T::ImageUsunMouseDown);
    c.Method("ImageUsunMouseUp", &T::ImageUsunMouseUp);
    c.Method("Timer1Timer", &T::Timer1Timer);
})

namespace {

constexpr TColor kDisabledEditColor = TColor(0xC0C0C0);
constexpr int kSelectedNumber = rkNumber;  // the right combos' index of "only this number"

void FillNumber(char (&field)[UserTextSize], const TEdit* edit) { SetUserText(field, edit->Text()); }

// A combo standing at no item (an unreadable stored kind) grants nothing.
std::uint8_t KindOf(const TComboBox* combo) {
    const int index = combo->ItemIndex();
    return std::uint8_t(index >= rkNone && index <= rkNumber ? index : rkNone);
}

}  // namespace

TadduserDialogForm::TadduserDialogForm(TComponent* AOwner) : TForm(AOwner) {
    InitLayout();
    SetColor(clFormBackground);
    ShowButtonImage(ImageOK, ImageList1, okCancelBase() + 2);
    ShowButtonImage(ImageAnuluj, ImageList1, okCancelBase());
    ShowButtonImage(ImageUsun, ImageList2, deleteBase());
}

int TadduserDialogForm::language() const { return ProgramLanguage(); }

AnsiString TadduserDialogForm::text(const char* key) const { return lxLangLinked1->GetTextOrDefault(key); }

void TadduserDialogForm::SetMode(int mode) {
    Mode = mode;
    lxLangLinked1->SetActLang(language());

    if (Mode == modeModify) {
        adduserlineEdit->Hide();
        usersComboBox->Items()->Clear();
        ListUserNames(usersComboBox->Items());
        ImageUsun->Show();
    } else {
        usersComboBox->Hide();
        ImageUsun->Hide();
    }

    TStrings* kinds = uprPrzegComboBox->Items();
    kinds->Clear();
    kinds->Add(text("IDS_NONE"));
    kinds->Add(text("IDS_ALL"));
    kinds->Add(text("IDS_SELECTED"));
    uprSluchComboBox->Items()->Assign(kinds);
    uprKasComboBox->Items()->Assign(kinds);
    for (TComboBox* combo : {uprPrzegComboBox, uprSluchComboBox, uprKasComboBox}) combo->SetItemIndex(rkNone);

    if (Mode == modeFirstAdmin) {
        adduserlineEdit->SetText(AdminName);
        adduserlineEdit->SetEnabled(false);
        for (TComboBox* combo : {uprPrzegComboBox, uprSluchComboBox, uprKasComboBox}) {
            combo->SetItemIndex(rkAll);
            combo->SetEnabled(false);
        }
    }
    ShowSelectedUser();
}

void TadduserDialogForm::Open(int mode, const AnsiString& caption) {
    SetCaption(caption);
    SetMode(mode);
}

TUserRecord TadduserDialogForm::BuildUserRecord() const {
    TUserRecord record{};
    SetUserText(record.Name, Mode == modeModify ? usersComboBox->Text() : adduserlineEdit->Text());
    SetUserText(record.Password, passwordLineEdit->Text());
    record.ViewRight.Kind = KindOf(uprPrzegComboBox);
    record.ListenRight.Kind = KindOf(uprSluchComboBox);
    record.DeleteRight.Kind = KindOf(uprKasComboBox);
    record.ViewRight.Set = record.ListenRight.Set = record.DeleteRight.Set = 1;
    FillNumber(record.ViewRight.Number, uprPrzegLineEdit);
    FillNumber(record.ListenRight.Number, uprSluchLineEdit);
    FillNumber(record.DeleteRight.Number, uprKasLineEdit);
    return record;
}

void TadduserDialogForm::ShowSelectedUser() {
    if (Mode != modeModify) return;
    ShowUserRecord();
    const bool admin = usersComboBox->Text() == AdminName;
    for (TComboBox* combo : {uprPrzegComboBox, uprSluchComboBox, uprKasComboBox}) combo->SetEnabled(!admin);
    UpdateRightEdits();
}

void TadduserDialogForm::ShowUserRecord() {
    if (Mode != modeModify) return;
    const TUserRecord record = FindUser(usersComboBox->Text());
    passwordLineEdit->SetText(UserText(record.Password));
    repeatPasswordLineEdit->SetText(UserText(record.Password));
    uprPrzegComboBox->SetItemIndex(record.ViewRight.Kind);
    uprSluchComboBox->SetItemIndex(record.ListenRight.Kind);
    uprKasComboBox->SetItemIndex(record.DeleteRight.Kind);
    uprPrzegLineEdit->SetText(UserText(record.ViewRight.Number));
    uprSluchLineEdit->SetText(UserText(record.ListenRight.Number));
    uprKasLineEdit->SetText(UserText(record.DeleteRight.Number));
}

void TadduserDialogForm::UpdateRightEdits() {
    const std::pair<TComboBox*, TEdit*> rights[] = {
        {uprPrzegComboBox, uprPrzegLineEdit}, {uprSluchComboBox, uprSluchLineEdit}, {uprKasComboBox, uprKasLineEdit}};
    for (const auto& [combo, edit] : rights) {
        const bool number = combo->ItemIndex() == kSelectedNumber;
        edit->SetEnabled(number);
        edit->SetColor(number ? clWindow : kDisabledEditColor);
    }
}

void TadduserDialogForm::ShowUserMessage(int code) { ShowAccountMessage(this, code); }

void TadduserDialogForm::ShowLengthError(int code) { ShowFieldRuleMessage(this, code); }

void TadduserDialogForm::OKButtonClick(TObject*) {
    const AnsiString name = adduserlineEdit->Text();
    const AnsiString password = passwordLineEdit->Text();
    if (Mode != modeModify && name.size() < 2) return ShowLengthError(0);
    if (Mode != modeFirstAdmin && name == AdminName) return ShowUserMessage(0);
    if (password.size() < 3) return ShowLengthError(1);
    if (password != repeatPasswordLineEdit->Text()) return ShowUserMessage(1);
    if (uprPrzegComboBox->ItemIndex() == kSelectedNumber && uprPrzegLineEdit->Text().size() < 2)
        return ShowLengthError(2);
    if (uprSluchComboBox->ItemIndex() == kSelectedNumber && uprSluchLineEdit->Text().size() < 2)
        return ShowLengthError(3);
    if (uprKasComboBox->ItemIndex() == kSelectedNumber && uprKasLineEdit->Text().size() < 2) return ShowLengthError(4);
    if (Mode == modeModify && usersComboBox->ItemIndex() < 0) return ShowUserMessage(2);
    SetModalResult(mrOk);
}

void TadduserDialogForm::deleteUserButtonClick(TObject*) {
    if (usersComboBox->ItemIndex() < 0) return;
    try {
        DeleteUser(usersComboBox->Text());
    } catch (const EUsersFileError& e) {
        ShowUsersFileError(this, e);  // the user stays
        return;
    }
    usersComboBox->Items()->Clear();
    ListUserNames(usersComboBox->Items());
    usersComboBox->SetItemIndex(1);
    ShowSelectedUser();
}

void TadduserDialogForm::usersComboBoxChange(TObject*) { ShowSelectedUser(); }

void TadduserDialogForm::uprPrzegComboBoxChange(TObject*) { UpdateRightEdits(); }
void TadduserDialogForm::uprSluchComboBoxChange(TObject*) { UpdateRightEdits(); }
void TadduserDialogForm::uprKasComboBoxChange(TObject*) { UpdateRightEdits(); }

void TadduserDialogForm::uprPrzegLineEditChange(TObject*) { FilterEditText(uprPrzegLineEdit, StripNumberChars); }
void TadduserDialogForm::uprSluchLineEditChange(TObject*) { FilterEditText(uprSluchLineEdit, StripNumberChars); }
void TadduserDialogForm::uprKasLineEditChange(TObject*) { FilterEditText(uprKasLineEdit, StripNumberChars); }
void TadduserDialogForm::adduserlineEditChange(TObject*) { FilterEditText(adduserlineEdit, StripNameChars); }

void TadduserDialogForm::FormShow(TObject*) {
    // The caller shows the dialog minimised; restoring it brings it above the main window.
    SetWindowState(wsMinimized);
    SetWindowState(wsNormal);
    SetFormStyle(fsStayOnTop);
}

void TadduserDialogForm::FormKeyDown(TObject*, WORD& Key, TShiftState) {
    // The form sees keys first (KeyPreview); taking the key keeps the
    // password edits from handling the same Enter a second time.
    if (Key == VK_RETURN) {
        Key = 0;
        OKButton->Click();
    } else if (Key == VK_ESCAPE) {
        Key = 0;
        CancelButton->Click();
    }
}

void TadduserDialogForm::passwordLineEditKeyDown(TObject*, WORD& Key, TShiftState) {
    if (Key == VK_RETURN) OKButton->Click();
}

void TadduserDialogForm::repeatPasswordLineEditKeyDown(TObject*, WORD& Key, TShiftState) {
    if (Key == VK_RETURN) OKButton->Click();
}

void TadduserDialogForm::ImageOKClick(TObject*) { OKButton->Click(); }
void TadduserDialogForm::ImageOKMouseDown(TObject*, TMouseButton, TShiftState, int, int) {
    ShowButtonImage(ImageOK, ImageList1, okCancelBase() + 3);
}
void TadduserDialogForm::ImageOKMouseUp(TObject*, TMouseButton, TShiftState, int, int) {
    ShowButtonImage(ImageOK, ImageList1, okCancelBase() + 2);
}

void TadduserDialogForm::ImageAnulujClick(TObject*) { CancelButton->Click(); }
void TadduserDialogForm::ImageAnulujMouseDown(TObject*, TMouseButton, TShiftState, int, int) {
    ShowButtonImage(ImageAnuluj, ImageList1, okCancelBase() + 1);
}
void TadduserDialogForm::ImageAnulujMouseUp(TObject*, TMouseButton, TShiftState, int, int) {
    ShowButtonImage(ImageAnuluj, ImageList1, okCancelBase());
}

void TadduserDialogForm::ImageUsunClick(TObject*) { deleteUserButton->Click(); }
void TadduserDialogForm::ImageUsunMouseDown(TObject*, TMouseButton, TShiftState, int, int) {
    ShowButtonImage(ImageUsun, ImageList2, deleteBase() + 1);
}
void TadduserDialogForm::ImageUsunMouseUp(TObject*, TMouseButton, TShiftState, int, int) {
    ShowButtonImage(ImageUsun, ImageList2, deleteBase());
}

void TadduserDialogForm::Timer1Timer(TObject*) { Invalidate(); }
