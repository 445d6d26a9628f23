#include "store/Users.h"

#include "classes/Strings.h"
#include "rtl/AtomicFile.h"
#include "rtl/CodePages.h"
#include "rtl/SysUtils.h"
#include "store/Base64File.h"
#include "store/FileBytes.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

TUserTable UserTable{};

namespace {

const AnsiString kInfo = "Info";
const AnsiString kError = UsersErrorCaption;

class NoUi : public IUserStoreUi {
public:
    void ShowMessage(const AnsiString&, int) override {}
    bool AskQuestion(const AnsiString&, int) override { return false; }
    bool AskRemoval(const AnsiString&, const AnsiString&) override { return false; }
    void Log(const AnsiString&) override {}
};

NoUi noUi;
IUserStoreUi* ui = &noUi;

AnsiString StoreFile() { return ProgramDir() + "users.conf"; }
AnsiString PlainFile() { return ProgramDir() + "users.x"; }

// Free slots are nobody's: an empty name finds none.
int FindSlot(const char* name) {
    if (!*name) return -1;
    for (int slot = 0; slot < MaxUsers; ++slot)
        if (std::strcmp(UserTable[slot].Name, name) == 0) return slot;
    return -1;
}

bool AnyUser() {
    for (const TUserRecord& record : UserTable)
        if (!IsFreeSlot(record)) return true;
    return false;
}

// Moves a store that cannot be used out of the way of the next save.
void SetAside(const AnsiString& fileName) {
    const AnsiString target = SetFileAside(fileName, false);
    if (target.empty())
        ui->Log("Users: " + ExtractFileName(fileName) + " could not be set aside");
    else
        ui->Log("Users: " + ExtractFileName(fileName) + " set aside as " + ExtractFileName(target));
}

TUsersFileProblem ProblemOf(int err) {
    switch (err) {
    case EISDIR: return TUsersFileProblem::Folder;
    case EACCES:
    case EPERM:
    case EROFS: return TUsersFileProblem::NoPermission;
    case ENOSPC:
    case EDQUOT: return TUsersFileProblem::DiskFull;
    default: return TUsersFileProblem::WriteFailed;
    }
}

// Something in the store's place that no file can replace and no reader
// should open: a folder, or a pipe that would block the reader.
void RefuseWhatIsNoFile(const AnsiString& fileName) {
    struct stat st;
    if (::stat(ToOsText(fileName).c_str(), &st) != 0 || S_ISREG(st.st_mode)) return;
    const bool folder = S_ISDIR(st.st_mode);
    throw EUsersFileError(fileName + (folder ? " is a folder" : " is no file"), fileName,
                          folder ? TUsersFileProblem::Folder : TUsersFileProblem::NotAFile);
}

}  // namespace

void SetUserStoreUi(IUserStoreUi* newUi) { ui = newUi ? newUi : &noUi; }

void SaveUsers() {
    const AnsiString storeFile = StoreFile();
    // It holds every password: the owner's alone, an older file's looser
    // mode included; a link in its place is replaced, never written through.
    TAtomicFile file(ToOsText(storeFile), {.NewMode = 0600, .KeepMode = false, .ReplaceLink = true});
    file.Write(Base64Encode(UserTableToBytes(UserTable)));
    if (const int err = file.Commit())
        throw EUsersFileError("Cannot write file " + storeFile + ": " + FromOsText(std::strerror(err)), storeFile,
                              ProblemOf(err));
}

bool LoadUsers() {
    const AnsiString storeFile = StoreFile();
    // Before the table is cleared: the users already in it stay usable.
    RefuseWhatIsNoFile(storeFile);
    std::memset(UserTable, 0, sizeof UserTable);
    const AnsiString plainFile = PlainFile();
    const bool fromStore = FileExists(storeFile);
    bool read = false;
    AnsiString bytes;
    try {
        if (fromStore) {
            const AnsiString text = ReadFileBytes(storeFile);
            // Foreign bytes would decode, skipped, into junk users beside the new administrator.
            if (IsBase64Text(text)) {
                bytes = Base64Decode(text);
                read = true;
            } else {
                ui->Log("Users: users.conf is not Base64 text");
            }
        } else if (FileExists(plainFile)) {
            // The plain table an interrupted save of an older version left.
            bytes = ReadFileBytes(plainFile);
            read = true;
        }
    } catch (const Exception& e) {
        ui->Log("Users: " + e.Message);
    }
    DeleteFile(plainFile);

    if (read) UserTableFromBytes(bytes, UserTable);
    if (fromStore && !AnyUser()) {
        if (read) ui->Log("Users: users.conf holds no user");
        SetAside(storeFile);
    } else if (fromStore && read && (bytes.size() != UserFileSize || !bytes.ends_with(UserFileTrailer))) {
        // Cut short or another program's: the users it holds are used, and
        // a copy is kept from the next save, which writes a whole table.
        const AnsiString target = SetFileAside(storeFile, true);
        ui->Log("Users: users.conf is not a whole user table" +
                (target.empty() ? AnsiString("; no copy could be kept")
                                : "; a copy is kept as " + ExtractFileName(target)));
    }
    if (FindSlot(AdminName) < 0) {
        if (AnyUser()) ui->Log("Users: no admin account among the stored users");
        ui->ShowMessage(kInfo, ucNoAdmin);
        return false;
    }
    return true;
}

void PutUser(TUserRecord record, int slot) {
    if (slot < 0 || slot >= MaxUsers) throw EListError("User slot index out of bounds (" + IntToStr(slot) + ")");
    TerminateUserTexts(record);
    const TUserRecord previous = UserTable[slot];
    UserTable[slot] = record;
    try {
        SaveUsers();
    } catch (...) {
        UserTable[slot] = previous;
        throw;
    }
}

void StoreUser(TUserRecord record, int questionCode) {
    TerminateUserTexts(record);
    // A nameless record would only "replace" a free slot.
    if (IsFreeSlot(record)) return;
    const int slot = FindSlot(record.Name);
    if (slot >= 0) {
        if (ui->AskQuestion(kInfo, questionCode)) PutUser(record, slot);
        return;
    }
    for (int free = 0; free < MaxUsers; ++free) {
        if (IsFreeSlot(UserTable[free])) {
            PutUser(record, free);
            return;
        }
    }
    ui->ShowMessage(kError, ucTooManyUsers);
}

void AddUser(TUserRecord record) { StoreUser(record, ucUserExists); }

void ModifyUser(TUserRecord record) { StoreUser(record, ucUserModify); }

void DeleteUser(const AnsiString& name) {
    if (name == AdminName) {
        ui->ShowMessage(kInfo, ucRemoveAdmin);
        return;
    }
    const int slot = FindSlot(name.c_str());
    const TUserRecord previous = slot >= 0 ? UserTable[slot] : TUserRecord{};
    if (slot >= 0 && ui->AskRemoval(kInfo, UserText(UserTable[slot].Name)))
        std::memset(&UserTable[slot], 0, sizeof(TUserRecord));
    try {
        SaveUsers();
    } catch (...) {
        if (slot >= 0) UserTable[slot] = previous;
        throw;
    }
}

TUserRecord FindUser(const AnsiString& name) {
    const int slot = FindSlot(name.c_str());
    return slot >= 0 ? UserTable[slot] : TUserRecord{};
}

void ListUserNames(TStrings* list) {
    for (const TUserRecord& record : UserTable)
        if (!IsFreeSlot(record)) list->Add(UserText(record.Name));
}
