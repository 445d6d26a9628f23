// The settings applied at start and saved at exit, the exit question and
// the clean-up.
#include "MainWindowFixture.h"

#include "net/ServerSocket.h"
#include "workstation/Mainunit.h"
#include "workstation/Unitconnect.h"
#include "workstation/Unitfiltr.h"
#include "workstation/Unitusers.h"

#include <filesystem>

using namespace mainwindowtest;

namespace {

const std::vector<std::string> kStoredLines = {"2024-03-05      08:15:30",
                                               "2024-04-06      17:45:00",
                                               "123",
                                               "*",
                                               "30",
                                               "5",
                                               "http://192.168.1.20",
                                               "tajne",
                                               "120",
                                               "80",
                                               "800",
                                               "640",
                                               "3"};

}  // namespace

class MainSettings : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        StoreAdmin();
    }
};

TEST_F(MainSettings, TheStoredListReachesTheControlsAndComesBackUnchanged) {
    program.Write("config.cfg", EncodeConfig(kStoredLines));
    CreateMainWindow();
    TMainForm* f = MainForm;
    EXPECT_EQ(f->FiltrFrame1->GetDateFrom(), kStoredLines[0]);
    EXPECT_EQ(f->FiltrFrame1->GetDateTo(), kStoredLines[1]);
    EXPECT_EQ(f->FiltrFrame1->filtrAbAEdit->Text(), "123");
    EXPECT_EQ(f->FiltrFrame1->filtrAbBEdit->Text(), "");
    EXPECT_EQ(f->UsersFrame1->RefreshTrackBar->Position(), 30);
    EXPECT_EQ(f->UsersFrame1->DeleteTrackBar->Position(), 5);
    EXPECT_EQ(f->ConnectFrame1->SerwerIPEdit->Text(), "http://192.168.1.20");
    EXPECT_EQ(f->ConnectFrame1->HasloEdit->Text(), "tajne");
    EXPECT_EQ(f->Left(), 120);
    EXPECT_EQ(f->Top(), 80);
    EXPECT_EQ(f->Height(), 640);
    EXPECT_EQ(f->UsersFrame1->RetentionIndex, 3);
    EXPECT_EQ(f->UsersFrame1->DeleteAfterComboBox->ItemIndex(), 3);
    EXPECT_FALSE(program.Exists("config.x"));

    f->SaveConfigAndCleanup();
    EXPECT_EQ(program.Read("config.cfg"), EncodeConfig(kStoredLines));
}

TEST_F(MainSettings, ABadSliderLineResetsTheWholeDeviceLinkGroup) {
    std::vector<std::string> lines = kStoredLines;
    lines[5] = "x";
    lines[12] = "not a number";
    lines.resize(13);
    program.Write("config.cfg", EncodeConfig(lines));
    CreateMainWindow();
    TMainForm* f = MainForm;
    EXPECT_EQ(f->UsersFrame1->RefreshTrackBar->Position(), 1);
    EXPECT_EQ(f->UsersFrame1->DeleteTrackBar->Position(), 1);
    EXPECT_EQ(f->ConnectFrame1->SerwerIPEdit->Text(), "http://");
    EXPECT_EQ(f->ConnectFrame1->HasloEdit->Text(), "");
    EXPECT_EQ(f->UsersFrame1->RetentionIndex, 0);
    // The other groups are read as they stand.
    EXPECT_EQ(f->FiltrFrame1->filtrAbAEdit->Text(), "123");
    EXPECT_EQ(f->Left(), 120);
}

TEST_F(MainSettings, AShortListLeavesTheMissingGroupsAtTheirFallbacksAndTheFileAlone) {
    const std::vector<std::string> lines(kStoredLines.begin(), kStoredLines.begin() + 9);
    const std::string stored = EncodeConfig(lines);
    program.Write("config.cfg", stored);
    CreateMainWindow();
    TMainForm* f = MainForm;
    EXPECT_EQ(f->ConnectFrame1->SerwerIPEdit->Text(), "http://192.168.1.20");
    EXPECT_EQ(f->Left(), 10);
    EXPECT_EQ(f->Top(), 10);
    EXPECT_EQ(f->Width(), 800);
    EXPECT_EQ(f->Height(), 600);
    EXPECT_EQ(program.Read("config.cfg"), stored);
}

class MainClose : public MainSettings {
protected:
    void Show() {
        CreateMainWindow();
        MainForm->Show();
    }
};

TEST_F(MainClose, AnsweringNoKeepsTheProgramRunningWithNothingSaved) {
    Show();
    const std::string before = program.Read("config.cfg");
    MainForm->ConnectFrame1->SerwerIPEdit->SetText("http://10.1.1.1");
    Respond("TQuestionDialog", [](TCustomForm*) { return mrCancel; });
    MainForm->Item3Click(nullptr);

    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].Class, "TQuestionDialog");
    EXPECT_EQ(seen[0].Caption, "Zamykanie");
    EXPECT_EQ(seen[0].Text, InLanguage(1, "Czy na pewno chcesz zamknąć program Yorde001?"));
    EXPECT_TRUE(MainForm->Visible());
    EXPECT_FALSE(Application->Terminated());
    EXPECT_EQ(program.Read("config.cfg"), before);
    EXPECT_TRUE(program.Exists("tmp.db"));
}

TEST_F(MainClose, AnsweringYesSavesCleansUpAndEndsTheProgram) {
    Show();
    MainForm->ConnectFrame1->SerwerIPEdit->SetText("http://10.1.1.1");
    yorde::test::CloseBox(MainForm);

    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].Class, "TQuestionDialog");
    EXPECT_TRUE(Application->Terminated());
    EXPECT_EQ(DecodeConfig(program.Read("config.cfg")).at(6), "http://10.1.1.1");
    EXPECT_FALSE(program.Exists("tmp.db"));
    EXPECT_FALSE(MainForm->ServerSocketOrvia->Active());
    EXPECT_FALSE(MainForm->TrayIconOrvia->Visible());
}

TEST_F(MainClose, TheCleanUpDeletesTheTemporaryFilesAndWritesTheSettingsFromTheControls) {
    CreateMainWindow();
    TMainForm* f = MainForm;
    for (const char* name : {"config.x", "users.x"}) program.Write(name, "plain");
    for (const char* name : {"tmp.wav", "record.wav"}) temp.Write(name, "RIFF");
    f->FiltrFrame1->filtrAbBEdit->SetText("77");
    f->ConnectFrame1->HasloEdit->SetText("pass word");
    f->SetBounds(33, 44, 800, 700);

    f->SaveConfigAndCleanup();

    for (const char* name : {"config.x", "users.x", "tmp.db"}) EXPECT_FALSE(program.Exists(name)) << name;
    for (const char* name : {"tmp.wav", "record.wav"}) EXPECT_FALSE(temp.Exists(name)) << name;
    EXPECT_TRUE(program.Exists("users.conf"));
    const std::vector<std::string> expected = {f->FiltrFrame1->GetDateFrom(),
                                               f->FiltrFrame1->GetDateTo(),
                                               "*",
                                               "77",
                                               "1",
                                               "1",
                                               "http://",
                                               "pass word",
                                               "33",
                                               "44",
                                               "800",
                                               "700",
                                               "0"};
    EXPECT_EQ(program.Read("config.cfg"), EncodeConfig(expected));
    EXPECT_FALSE(f->ServerSocketOrvia->Active());
}

TEST_F(MainClose, ASettingsFileThatCannotBeWrittenStillLetsTheFilesGo) {
    CreateMainWindow();
    TMainForm* f = MainForm;
    std::filesystem::remove(program.Path("config.cfg"));
    std::filesystem::create_directory(program.Path("config.cfg"));
    program.Write("users.x", "plain");
    temp.Write("tmp.wav", "RIFF");

    f->SaveConfigAndCleanup();

    EXPECT_FALSE(program.Exists("users.x"));
    EXPECT_FALSE(temp.Exists("tmp.wav"));
    EXPECT_FALSE(program.Exists("tmp.db"));
    // The rest of the guarded block was skipped.
    EXPECT_TRUE(f->ServerSocketOrvia->Active());
    EXPECT_TRUE(errors.empty());
}
