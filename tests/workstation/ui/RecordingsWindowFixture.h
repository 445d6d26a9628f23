#pragma once
// The real main window over a program folder of stored recordings made as
// the client stores them, with an administrator and a user "jan" whose view
// and delete rights are those of number 201.
#include "MainWindowFixture.h"

#include "SimStore.h"
#include "store/UserRecord.h"
#include "vcl/Grids.h"

#include <functional>
#include <set>
#include <string>
#include <vector>

class TMediaFrame;
class TFiltrFrame;

namespace mainwindowtest {

// A user with the given view and delete right, the right to listen to all.
void PutUser(int Slot, const char* Name, TRightKind View, const char* Number);

class RecordingsWindow : public MainWindowTest {
protected:
    void SetUp() override;
    void TearDown() override;

    void MakeStore(int Count);
    // users.conf with the users PutAll puts into the table (PutUser).
    void StoreUsers(const std::function<void()>& PutAll);
    // Chooses the user in the users tab and answers the password dialog.
    void LogIn(const char* Name);
    // The main window made and shown, Name logged in.
    void OpenAs(const char* Name);
    TMediaFrame* Media() const;
    TStringGrid* Grid() const;
    TFiltrFrame* Filter() const;
    int Rows() const { return Grid()->RowCount() - 1; }
    std::vector<AnsiString> Column(int Col) const;
    AnsiString Status() const;
    // The header cell's middle, where a user clicks to sort.
    void ClickHeader(int Col);
    std::vector<ModalSeen> TakeSeen() { return std::exchange(seen, {}); }
    // The player holds nothing and its seek bar is off (Export is the rights'
    // and the last open's business).
    void ExpectNothingOpen();
    // The first column of each row of Sql over the program's data.db.
    std::set<std::string> Stored(const char* Sql);
    std::set<std::string> Listed() { return Stored("SELECT Filename FROM Files;"); }
    std::set<std::string> Deleted() { return Stored("SELECT Filename FROM DeletedFiles;"); }
    bool HasFile(const std::string& Name) const;

    devicesim::TStoreOptions options;
    std::vector<std::string> names;
};

}  // namespace mainwindowtest
