#include "workstation/Unitquestion.h"

#include "localization/Lxcomp.h"
#include "workstation/DialogLanguage.h"
#include "workstation/Unitmessage.h"

#include <iterator>

YORDE_IMPLEMENT_CLASS(TQuestionDialog, [](TClassBuilder<TQuestionDialog>& c) {
    using T = TQuestionDialog;
    c.Field("MessageLabel", &T::MessageLabel);
    c.Field("lxLangLinked1", &T::lxLangLinked1);
    c.Method("FormKeyDown", &T::FormKeyDown);
})

namespace {

// The users questions; only the second one reads as a statement.
const char* const kQuestionKeys[] = {"IDS_NO_ADMIN",     "IDS_TOO_MANY_USERS", "IDS_USER_EXISTS", "IDS_USER_MOD",
                                     "IDS_REMOVE_ADMIN", "IDS_USER_DATA",      "IDS_BE_REMOVED"};
constexpr int kStatementCode = 1;

}  // namespace

TQuestionDialog::TQuestionDialog(TComponent* AOwner) : TImageButtonDialog(AOwner) {
    InitLayout();
    InitButtons();
}

AnsiString TQuestionDialog::T(const char* Key) const { return lxLangLinked1->GetTextOrDefault(Key); }

void TQuestionDialog::SetUserRemovalQuestion(const AnsiString& Name) {
    MessageLabel->SetMixedText(TMixedText()
                                   .Translated(T("IDS_USER_DATA") + " ")
                                   .UserText(Name)
                                   .Translated(EndSentence(" " + T("IDS_BE_REMOVED"))));
}

void TQuestionDialog::SetUsersQuestion(int code) {
    if (code < 0 || code >= int(std::size(kQuestionKeys))) return;
    AnsiString text = T(kQuestionKeys[code]);
    if (code == kStatementCode) text = EndSentence(text);
    MessageLabel->SetCaption(text);
}

void TQuestionDialog::FormKeyDown(TObject*, WORD& Key, TShiftState) {
    if (Key == VK_RETURN)
        OKBtn->Click();
    else if (Key == VK_ESCAPE)
        CancelBtn->Click();
}
