#include "RecordingsWindowFixture.h"

#include "store/SqliteDb.h"
#include "store/Users.h"
#include "workstation/Mainunit.h"
#include "workstation/Unitfiltr.h"
#include "workstation/Unitmediaframe.h"
#include "workstation/Unitstatus.h"
#include "workstation/Unitusers.h"

#include <cstring>
#include <filesystem>

namespace mainwindowtest {

void PutUser(int Slot, const char* Name, TRightKind View, const char* Number) {
    TUserRecord& u = UserTable[Slot];
    SetUserText(u.Name, Name);
    SetUserText(u.Password, "secret");
    u.ViewRight.Kind = View;
    SetUserText(u.ViewRight.Number, Number);
    u.ListenRight.Kind = rkAll;
    u.DeleteRight.Kind = View;
    SetUserText(u.DeleteRight.Number, Number);
    for (TUserRight* r : {&u.ViewRight, &u.ListenRight, &u.DeleteRight}) r->Set = 1;
}

void RecordingsWindow::SetUp() {
    MainWindowTest::SetUp();
    StoreUsers([] {
        PutUser(0, "admin", rkAll, "");
        PutUser(1, "jan", rkNumber, "201");
    });
    program.Write("en.lang", "");
}

void RecordingsWindow::StoreUsers(const std::function<void()>& PutAll) {
    std::memset(UserTable, 0, sizeof UserTable);
    PutAll();
    SaveUsers();
    std::memset(UserTable, 0, sizeof UserTable);
}

void RecordingsWindow::TearDown() {
    if (MainForm) MainForm->MediaFrame1->MediaPlayer->Close();
    MainWindowTest::TearDown();
}

void RecordingsWindow::MakeStore(int Count) {
    options.Count = Count;
    names = devicesim::WriteStoredRecordings(program.Root(), options);
}

void RecordingsWindow::LogIn(const char* Name) {
    Respond("TuserpaswdDialog", [](TCustomForm*) { return TModalResult(1); });
    TUsersFrame* users = MainForm->UsersFrame1;
    users->usersComboBox->SetItemIndex(users->usersComboBox->Items()->IndexOf(Name));
    users->usersComboBoxChange(users->usersComboBox);
}

void RecordingsWindow::OpenAs(const char* Name) {
    CreateMainWindow();
    MainForm->Show();
    LogIn(Name);
}

std::set<std::string> RecordingsWindow::Stored(const char* Sql) {
    SqliteDb db;
    db.Open(program.Path("data.db"));
    std::set<std::string> out;
    for (SqliteQuery q = db.ExecQuery(Sql); !q.Eof(); q.NextRow()) out.insert(q.FieldValue(0).c_str());
    return out;
}

bool RecordingsWindow::HasFile(const std::string& Name) const {
    return std::filesystem::exists(program.Path("files/" + Name));
}

TMediaFrame* RecordingsWindow::Media() const { return MainForm->MediaFrame1; }
TStringGrid* RecordingsWindow::Grid() const { return MainForm->MediaFrame1->musicTable; }
TFiltrFrame* RecordingsWindow::Filter() const { return MainForm->FiltrFrame1; }

std::vector<AnsiString> RecordingsWindow::Column(int Col) const {
    std::vector<AnsiString> out;
    for (int r = 1; r < Grid()->RowCount(); ++r) out.push_back(Grid()->Cells(Col, r));
    return out;
}

AnsiString RecordingsWindow::Status() const { return MainForm->StatusFrameBottom->StatusLabel->Caption(); }

void RecordingsWindow::ClickHeader(int Col) {
    const TRect r = Grid()->CellRect(Col, 0);
    yorde::test::Click(Grid(), (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
}

void RecordingsWindow::ExpectNothingOpen() {
    EXPECT_EQ(Media()->MediaPlayer->Mode(), mpNotReady);
    EXPECT_EQ(Media()->MediaPlayer->FileName(), "");  // not the copy that is gone
    EXPECT_FALSE(Media()->SeekTrackBar->Enabled());
}

}  // namespace mainwindowtest
