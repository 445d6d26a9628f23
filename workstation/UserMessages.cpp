#include "workstation/UserMessages.h"

#include "store/Users.h"
#include "workstation/Unitdebug.h"
#include "workstation/Unitdelete.h"
#include "workstation/Unitmessage.h"
#include "workstation/Unitquestion.h"

#include <memory>

namespace {

struct FreeForm {
    void operator()(TObject* o) const { TObject::Free(o); }
};
template <class T>
using FormPtr = std::unique_ptr<T, FreeForm>;

template <class Setter>
TModalResult ShowMessageWith(TComponent* owner, Setter set) {
    FormPtr<TMessageDialog> dialog(new TMessageDialog(owner));
    set(*dialog);
    return dialog->ShowModal();
}

// The store's captions are fixed Windows-1250 literals in every language;
// the dialog's font may carry another charset (Russian), so the title gets
// its own code page.
constexpr int StoreCaptionCodePage = 1250;

template <class Setter>
bool AskWith(const AnsiString& caption, Setter set) {
    FormPtr<TQuestionDialog> dialog(new TQuestionDialog(nullptr));
    dialog->SetCaption(caption);
    dialog->SetCaptionCodePage(StoreCaptionCodePage);
    set(*dialog);
    return dialog->ShowModal() == mrOk;
}

class UserStoreDialogs : public IUserStoreUi {
public:
    void ShowMessage(const AnsiString& caption, int code) override {
        ShowMessageWith(nullptr, [&](TMessageDialog& d) {
            d.SetUsersMessage(code);
            d.SetCaption(caption);
            d.SetCaptionCodePage(StoreCaptionCodePage);
        });
    }
    bool AskQuestion(const AnsiString& caption, int code) override {
        return AskWith(caption, [&](TQuestionDialog& d) { d.SetUsersQuestion(code); });
    }
    bool AskRemoval(const AnsiString& caption, const AnsiString& name) override {
        return AskWith(caption, [&](TQuestionDialog& d) { d.SetUserRemovalQuestion(name); });
    }
    void Log(const AnsiString& line) override { DebugLog(line); }
};

}  // namespace

void ShowAccountMessage(TComponent* Owner, int Code) {
    ShowMessageWith(Owner, [&](TMessageDialog& d) { d.SetAccountMessage(Code); });
}

void ShowFieldRuleMessage(TComponent* Owner, int Code) {
    ShowMessageWith(Owner, [&](TMessageDialog& d) { d.SetFieldRuleMessage(Code); });
}

void ShowAdminCreateError(TComponent* Owner) {
    ShowMessageWith(Owner, [](TMessageDialog& d) { d.SetAdminCreateError(); });
}

void ShowTextMessage(const AnsiString& Caption, const AnsiString& Text) {
    ShowMessageWith(nullptr, [&](TMessageDialog& d) {
        d.MessageLabel->SetCaption(Text);
        d.SetCaption(Caption);
    });
}

void ShowUsersFileError(TComponent* Owner, const EUsersFileError& Error) {
    DebugLog("Users: " + Error.Message);
    ShowMessageWith(Owner, [&](TMessageDialog& d) {
        d.SetUsersFileMessage(Error.FileName, int(Error.Problem));
        d.SetCaption(UsersErrorCaption);
        d.SetCaptionCodePage(StoreCaptionCodePage);
    });
}

bool ConfirmDeletion(TComponent* Owner, const AnsiString& Text) {
    FormPtr<TDeleteDialog> dialog(new TDeleteDialog(Owner, Text));
    return dialog->ShowModal() == mrOk;
}

void InstallUserStoreDialogs() {
    static UserStoreDialogs dialogs;
    SetUserStoreUi(&dialogs);
}
