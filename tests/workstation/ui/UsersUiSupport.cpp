#include "UsersUiSupport.h"

#include "localization/Lxcomp.h"
#include "shell/CapsLock.h"
#include "store/Users.h"
#include "workstation/Unitdelete.h"
#include "workstation/Unitdmlang.h"
#include "workstation/Unitmessage.h"

#include <cstring>

namespace userstest {

void UsersUiTest::SetUp() {
    MainWindowTest::SetUp();
    SetCapsLockProvider([this] { return capsLock; });
    Respond("TDeleteDialog", [this](TCustomForm* f) {
        deleteQuestions.push_back(static_cast<TDeleteDialog*>(f)->InfoLabel->Caption());
        return mrOk;
    });
}

void UsersUiTest::TearDown() {
    SetCapsLockProvider(nullptr);
    MainWindowTest::TearDown();
}

void UsersUiTest::UseLanguage(int Language) {
    program.Write(LanguageMarkerFile(Language), "");
    CreateLanguageModule();
}

void UsersUiTest::SwitchLanguage(int Language) { DMLang->lxLangDispatcher1->SetActiveLanguage(Language); }

void UsersUiTest::StoreUsers(const std::vector<TUserRecord>& Users) {
    std::memset(UserTable, 0, sizeof UserTable);
    for (size_t i = 0; i < Users.size(); ++i) UserTable[i] = Users[i];
    SaveUsers();
    std::memset(UserTable, 0, sizeof UserTable);
}

std::vector<std::string> UsersUiTest::SeenClasses() const {
    std::vector<std::string> v;
    for (const ModalSeen& s : seen) v.push_back(s.Class);
    return v;
}

TUserRecord MakeUser(const std::string& Name, const std::string& Password, int View, int Listen, int Delete,
                     const std::string& Number) {
    TUserRecord r{};
    SetUserText(r.Name, Name);
    SetUserText(r.Password, Password);
    r.ViewRight.Kind = std::uint8_t(View);
    r.ListenRight.Kind = std::uint8_t(Listen);
    r.DeleteRight.Kind = std::uint8_t(Delete);
    for (TUserRight* right : {&r.ViewRight, &r.ListenRight, &r.DeleteRight}) {
        right->Set = 1;
        SetUserText(right->Number, Number);
    }
    return r;
}

AnsiString FieldRuleText(int Code) {
    Owned<TMessageDialog> d(new TMessageDialog(nullptr));
    d->SetFieldRuleMessage(Code);
    return d->MessageLabel->Caption();
}

AnsiString AccountText(int Code) {
    Owned<TMessageDialog> d(new TMessageDialog(nullptr));
    d->SetAccountMessage(Code);
    return d->MessageLabel->Caption();
}

}  // namespace userstest
