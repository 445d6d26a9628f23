// users.conf holding the administrator with every right, as the user dialog
// builds the record; for tests and benchmarks that start logged-in roads.
#pragma once

#include "rtl/Folders.h"
#include "store/Users.h"

#include <cstring>

namespace yorde::test {

// Written into Folder (the program folder in force when empty). The table in
// memory is left empty, so the program reads the file as at a start.
inline void StoreAdministrator(const char* Password, const AnsiString& Folder = AnsiString()) {
    if (!Folder.empty()) SetProgramDirOverride(Folder);
    std::memset(UserTable, 0, sizeof UserTable);
    SetUserText(UserTable[0].Name, AdminName);
    SetUserText(UserTable[0].Password, Password);
    for (TUserRight* r : {&UserTable[0].ViewRight, &UserTable[0].ListenRight, &UserTable[0].DeleteRight}) {
        r->Kind = rkAll;
        r->Set = 1;
    }
    SaveUsers();
    std::memset(UserTable, 0, sizeof UserTable);
    if (!Folder.empty()) SetProgramDirOverride(AnsiString());
}

}  // namespace yorde::test
