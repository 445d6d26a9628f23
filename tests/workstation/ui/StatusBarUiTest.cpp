// The status bar inside the real main window: after a login its 3-second
// refresh names the user the users tab logged in, with the stored files.
#include "FramesUiSupport.h"
#include "MainWindowFixture.h"

#include "vcl/ComboBox.h"
#include "workstation/Mainunit.h"
#include "workstation/Unitstatus.h"
#include "workstation/Unitusers.h"

#include <filesystem>

using namespace mainwindowtest;

class StatusBar : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        StoreAdmin();
    }
};

TEST_F(StatusBar, NamesTheLoggedInUserAndCountsTheRecordings) {
    CreateMainWindow();
    program.Write("files/20260102_123456_101_202_.wav", "x");
    TStatusFrame* status = MainForm->StatusFrameBottom;
    status->Timer1Timer(status->Timer1);
    EXPECT_EQ(status->UserLabel->Caption(), "Niezalogowany");
    EXPECT_EQ(status->FilesLabel->Caption(), InLanguage(1, "Liczba plików: -"));

    Respond("TuserpaswdDialog", [](TCustomForm*) { return TModalResult(1); });
    TUsersFrame* users = MainForm->UsersFrame1;
    users->usersComboBox->SetItemIndex(users->usersComboBox->Items()->IndexOf("admin"));
    users->usersComboBoxChange(users->usersComboBox);
    ASSERT_TRUE(status->LoggedIn.load());
    // The count is made off the GUI thread: a tick shows the latest one.
    ASSERT_TRUE(framestest::TickUntilRecordingCount(status, 1));
    status->Timer1Timer(status->Timer1);
    EXPECT_EQ(status->UserLabel->Caption(), "Zalogowany jako admin");
    EXPECT_EQ(status->FilesLabel->Caption(), InLanguage(1, "Liczba plików: 1"));
    EXPECT_EQ(status->SDLabel->Caption(), "Karta SD: -");
}
