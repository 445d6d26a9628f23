#pragma once
// Shared pieces of the users-tab, user-dialog and password-dialog tests,
// on top of the start-up fixture (program folder, DMLang, modal recorder,
// Halt hook): the language by its marker file, users written through the
// store, the texts of catalogue messages, and the Caps Lock state.
#include "MainWindowFixture.h"

#include "store/UserRecord.h"

class TlxLangDispatcher;

namespace userstest {

using mainwindowtest::HaltCalled;
using mainwindowtest::ModalSeen;
using mainwindowtest::Owned;
using mainwindowtest::Responder;
using mainwindowtest::ShowsBitmap;

class UsersUiTest : public mainwindowtest::MainWindowTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // The program's language (1 Polish, 2 English, 3 Russian) through its
    // marker file; creates DMLang.
    void UseLanguage(int Language);
    // Switches the running DMLang to another language.
    void SwitchLanguage(int Language);
    // Writes "users.conf" holding these records (slot order) through the store.
    void StoreUsers(const std::vector<TUserRecord>& Users);
    std::vector<std::string> SeenClasses() const;

    bool capsLock = false;
    // The texts the delete-confirmation dialogs showed.
    std::vector<AnsiString> deleteQuestions;
};

TUserRecord MakeUser(const std::string& Name, const std::string& Password, int View = rkAll, int Listen = rkAll,
                     int Delete = rkAll, const std::string& Number = "");

// The text the real message dialog shows for a catalogue entry.
AnsiString FieldRuleText(int Code);
AnsiString AccountText(int Code);

using mainwindowtest::ShotPath;

}  // namespace userstest
