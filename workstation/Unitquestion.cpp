#include "workstation/Unitquestion.h"
#include "workstation/FormColors.h"

#include "localization/Lxcomp.h"
#include "workstation/DialogLanguage.h"
#include "workstation/ImageButtons.h"
#include "workstation/Unitmessage.h"

#include <iterator>

YORDE_IMPLEMENT_CLASS(TQuestionDialog, [](TClassBuilder<TQuestionDialog>& c) {
    using T = TQuestionDialog;
    c.Field("OKBtn", &T::OKBtn);
    c.Field("CancelBtn", &T::CancelBtn);
    c.Field("MessageLabel", &T::MessageLabel);
    c.Field("ImageList1", &T::ImageList1);
    c.Field("ImageOK", &T::ImageOK);
    c.Field("ImageAnuluj", &T::ImageAnuluj);
    c.Field("Timer1", &T::Timer1);
    c.Field("lxLangLinked1", &T::lxLangLinked1);
    c.Method("ImageOKClick", &T::ImageOKClick);
    c.Method("ImageAnulujClick", &T::ImageAnulujClick);
    c.Method("ImageOKMouseDown", &T::ImageOKMouseDown);
    c.Method("ImageOKMouseUp", &T::ImageOKMouseUp);
    c.Method("ImageAnulujMouseDown", &T::ImageAnulujMouseDown);
    c.Method("ImageAnulujMouseUp", &T::ImageAnulujMouseUp);
    c.Method("FormKeyDown", &T::FormKeyDown);
    c.Method("Timer1Timer", &T::Timer1Timer);
})

namespace {

// The users questions; only the second one reads as a statement.
const char* const kQuestionKeys[] = {"IDS_NO_ADMIN",     "IDS_TOO_MANY_USERS", "IDS_USER_EXISTS", "IDS_USER_MOD",
                                     "IDS_REMOVE_ADMIN", "IDS_USER_DATA",      "IDS_BE_REMOVED"};
constexpr int kStatementCode = 1;

// Four pictures per language: No, No pressed, Yes, Yes pressed.
int noImage() { return (ProgramLanguage() - 1) * 4; }
int yesImage() { return noImage() + 2; }

}  // namespace

TQuestionDialog::TQuestionDialog(TComponent* AOwner) : TForm(AOwner) {
    InitLayout();
    SetColor(clFormBackground);
    ShowButtonImage(ImageOK, ImageList1, yesImage());
    ShowButtonImage(ImageAnuluj, ImageList1, noImage());
}

AnsiString TQuestionDialog::T(const char* Key) const { return lxLangLinked1->GetTextOrDefault(Key); }

void TQuestionDialog::SetUserRemovalQuestion(const AnsiString& Name) {
    MessageLabel->SetCaption(EndSentence(T("IDS_USER_DATA") + " " + Name + " " + T("IDS_BE_REMOVED")));
}

void TQuestionDialog::SetUsersQuestion(int code) {
    if (code < 0 || code >= int(std::size(kQuestionKeys))) return;
    AnsiString text = T(kQuestionKeys[code]);
    if (code == kStatementCode) text = EndSentence(text);
    MessageLabel->SetCaption(text);
}

void TQuestionDialog::ImageOKClick(TObject*) { OKBtn->Click(); }
void TQuestionDialog::ImageAnulujClick(TObject*) { CancelBtn->Click(); }

void TQuestionDialog::ImageOKMouseDown(TObject*, TMouseButton, TShiftState, int, int) {
    ShowButtonImage(ImageOK, ImageList1, yesImage() + 1);
}
void TQuestionDialog::ImageOKMouseUp(TObject*, TMouseButton, TShiftState, int, int) {
    ShowButtonImage(ImageOK, ImageList1, yesImage());
}
void TQuestionDialog::ImageAnulujMouseDown(TObject*, TMouseButton, TShiftState, int, int) {
    ShowButtonImage(ImageAnuluj, ImageList1, noImage() + 1);
}
void TQuestionDialog::ImageAnulujMouseUp(TObject*, TMouseButton, TShiftState, int, int) {
    ShowButtonImage(ImageAnuluj, ImageList1, noImage());
}

void TQuestionDialog::FormKeyDown(TObject*, WORD& Key, TShiftState) {
    if (Key == VK_RETURN)
        OKBtn->Click();
    else if (Key == VK_ESCAPE)
        CancelBtn->Click();
}

void TQuestionDialog::Timer1Timer(TObject*) { Invalidate(); }
