#pragma once
// The user store: one table of 200 users in memory, mirrored to
// "users.conf" in the program folder after every change. Names compare byte
// for byte and case-sensitively; the first matching slot wins. "admin" is
// the administrator; the store only keeps it from being deleted.
// User-interface thread only.
#include "rtl/AnsiString.h"
#include "rtl/Exceptions.h"
#include "store/UserRecord.h"

class TStrings;

extern TUserTable UserTable;

constexpr const char* AdminName = "admin";
// The caption of the store's error messages in every language: "Błąd" in Windows-1250.
constexpr const char* UsersErrorCaption =
    "B\xB3\xB9"
    "d";

// Codes of the users catalogue that the store shows.
enum : int {
    ucNoAdmin = 0,       // IDS_NO_ADMIN
    ucTooManyUsers = 1,  // IDS_TOO_MANY_USERS
    ucUserExists = 2,    // IDS_USER_EXISTS (question)
    ucUserModify = 3,    // IDS_USER_MOD (question)
    ucRemoveAdmin = 4,   // IDS_REMOVE_ADMIN
};

// Why "users.conf" cannot hold the store.
enum class TUsersFileProblem {
    Folder,        // a folder has its name
    NotAFile,      // something else that is no file (a pipe, a device)
    NoPermission,  // it, or its folder, may not be written
    DiskFull,      // no room or no quota left
    WriteFailed,   // any other failure to put it in place
};

// "users.conf" cannot hold the store. Message carries the system's reason
// for the debug log; FileName and Problem are for the user.
class EUsersFileError : public EFCreateError {
public:
    EUsersFileError(const AnsiString& Message, AnsiString FileName_, TUsersFileProblem Problem_)
        : EFCreateError(Message), FileName(std::move(FileName_)), Problem(Problem_) {}
    const char* ClassName() const noexcept override { return "EUsersFileError"; }
    AnsiString FileName;
    TUsersFileProblem Problem;
};

// How the store talks to the user. Captions are fixed texts in every
// language ("Info", "Błąd" in the ANSI code page).
class IUserStoreUi {
public:
    virtual ~IUserStoreUi() = default;
    // A users-catalogue message, shown modally.
    virtual void ShowMessage(const AnsiString& caption, int code) = 0;
    // A users-catalogue question; true for yes.
    virtual bool AskQuestion(const AnsiString& caption, int code) = 0;
    // The question whether the named user's data is to be removed.
    virtual bool AskRemoval(const AnsiString& caption, const AnsiString& name) = 0;
    // A line for the debug log.
    virtual void Log(const AnsiString& line) = 0;
};

// Not owned. Without one, messages and log lines go nowhere and every
// question is answered no.
void SetUserStoreUi(IUserStoreUi* ui);

// Replaces "users.conf" as a whole, readable by its owner alone; no plain
// table is written anywhere, and a link at that name is replaced, never
// written through. On failure (EUsersFileError) the previous file stays.
void SaveUsers();

// Fills the table from "users.conf". False, after the IDS_NO_ADMIN
// message, when there is no usable store or it holds no "admin": the users
// it does hold stay in the table, so adding the administrator keeps them.
// A "users.conf" that cannot be read, is not Base64 text or holds no user
// at all is renamed to "users.conf.bad" (and the debug log says so), so that
// the next save cannot destroy it; one that holds users but is no whole
// table (cut short, or another program's) is used, and a copy is kept as
// "users.conf.bad". Something in its place that is no file (a folder, a
// pipe) is left as it is: EUsersFileError, and no message.
bool LoadUsers();

// Copies the record into the slot and saves; on a failed save the slot
// gets its old content back before the error passes on.
void PutUser(TUserRecord record, int slot);
// A record of the same name is replaced after the question (ucUserExists or
// ucUserModify); otherwise the first free slot takes it; a full table
// gives IDS_TOO_MANY_USERS and stores nothing.
void StoreUser(TUserRecord record, int questionCode);
void AddUser(TUserRecord record);
void ModifyUser(TUserRecord record);
// Refuses "admin" (no question, no save). Otherwise clears the first slot
// of that name when the user agrees, and saves in every case.
void DeleteUser(const AnsiString& name);
// A copy of the first record of that name, or an all-zero record.
TUserRecord FindUser(const AnsiString& name);
// Appends every name in slot order; the list is not cleared first.
void ListUserNames(TStrings* list);
