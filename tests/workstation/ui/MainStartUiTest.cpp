// Start-up of the main window: what it builds and prepares, and the exit
// codes of the ways it cannot start.
#include "MainWindowFixture.h"

#include "FileModes.h"

#include "localization/Lxcomp.h"
#include "net/ServerSocket.h"
#include "rtl/Files.h"
#include "rtl/Folders.h"
#include "rtl/Languages.h"
#include "store/SqliteDb.h"
#include "workstation/Mainunit.h"
#include "workstation/Unitconnect.h"
#include "workstation/Unitdebug.h"
#include "workstation/Unitdmlang.h"
#include "workstation/Unitfiltr.h"
#include "workstation/Unitmediaframe.h"
#include "workstation/Unitstatus.h"
#include "workstation/Unitusers.h"

#include <cstring>
#include <filesystem>

using namespace mainwindowtest;

namespace {

bool EndsWith(const AnsiString& s, const char* tail) {
    const std::string t(tail);
    return s.size() >= t.size() && s.compare(s.size() - t.size(), t.size(), t) == 0;
}

// An open step that fails for the file whose name ends with Tail.
TDbPrepareSteps FailOpening(const char* Tail) {
    TDbPrepareSteps steps;
    steps.Open = [tail = std::string(Tail)](SqliteDb& db, const AnsiString& file) {
        if (EndsWith(file, tail.c_str())) throw std::runtime_error("refused by the test");
        db.Open(file);
    };
    return steps;
}

}  // namespace

class MainStart : public MainWindowTest {};

TEST_F(MainStart, BuildsTheFramesInOrderAndPreparesTheFolder) {
    StoreAdmin();
    CreateMainWindow();
    TMainForm* f = MainForm;

    // Frames in the order the layout builds them.
    const int order[] = {f->MediaFrame1->ComponentIndex(), f->StatusFrameBottom->ComponentIndex(),
                         f->FiltrFrame1->ComponentIndex(), f->ConnectFrame1->ComponentIndex(),
                         f->UsersFrame1->ComponentIndex()};
    EXPECT_TRUE(std::is_sorted(std::begin(order), std::end(order)));
    EXPECT_EQ(f->MediaFrame1->Parent(), f->PanelCentral);
    EXPECT_EQ(f->UsersFrame1->Parent(), f->Panel1);

    EXPECT_TRUE(f->ServerSocketOrvia->Active());
    EXPECT_TRUE(std::filesystem::is_directory(program.Path("files")));
    EXPECT_TRUE(program.Exists("data.db"));
    EXPECT_TRUE(program.Exists("tmp.db"));
    EXPECT_TRUE(program.Exists("config.cfg"));  // the defaults, stored at once
    EXPECT_FALSE(program.Exists("config.x"));
    EXPECT_TRUE(program.Exists("pl.lang"));

    for (TControl* c :
         {static_cast<TControl*>(f), static_cast<TControl*>(f->PanelCentral), static_cast<TControl*>(f->PanelTop),
          static_cast<TControl*>(f->Panel1), static_cast<TControl*>(f->MediaFrame1),
          static_cast<TControl*>(f->StatusFrameBottom), static_cast<TControl*>(f->FiltrFrame1),
          static_cast<TControl*>(f->ConnectFrame1), static_cast<TControl*>(f->UsersFrame1)})
        EXPECT_EQ(c->Color(), TColor(0x6F8A91)) << c->Name();

    // Nobody is logged in: only the users tab, shown selected.
    const TUserRecord nobody{};
    const TUserRecord current = f->GetCurrentUserRecord();
    EXPECT_EQ(std::memcmp(&current, &nobody, sizeof nobody), 0);
    EXPECT_TRUE(f->UsersFrame1->Visible());
    EXPECT_FALSE(f->FiltrFrame1->Visible());
    EXPECT_FALSE(f->ConnectFrame1->Visible());
    EXPECT_FALSE(f->TabImageFiltr->Visible());
    EXPECT_FALSE(f->TabImageCon->Visible());

    // First start: centred on the desktop at 800 x 600.
    EXPECT_EQ(f->Width(), 800);
    EXPECT_EQ(f->Height(), 600);
    EXPECT_EQ(f->ClientWidth(), 792);
    EXPECT_EQ(f->Left(), Screen->DesktopWidth() / 2 - 400);
    EXPECT_EQ(f->Top(), Screen->DesktopHeight() / 2 - 300);
    EXPECT_TRUE(errors.empty());
}

// The "files" folder is never writable by group or others, whatever the
// umask lets through; one an older start left so is tightened.
TEST_F(MainStart, TheFilesFolderIsWrittenByItsOwnerAlone) {
    StoreAdmin();
    yorde::test::TUmaskScope open(0);
    CreateMainWindow();
    EXPECT_EQ(yorde::test::ModeOf(program.Path("files")), 0755u);
}

TEST_F(MainStart, AFilesFolderLeftWritableByOthersIsTightened) {
    StoreAdmin();
    program.MakeDir("files");
    ASSERT_EQ(::chmod(program.Path("files").c_str(), 0777), 0);
    CreateMainWindow();
    EXPECT_EQ(yorde::test::ModeOf(program.Path("files")), 0755u);
}

TEST_F(MainStart, TheFirstShowWritesTheProgramFolderToTheDebugLog) {
    StoreAdmin();
    CreateMainWindow();
    Application->CreateForm(DebugForm);
    EXPECT_FALSE(DebugForm->Visible());
    MainForm->Show();
    ASSERT_EQ(DebugForm->Memo1->Lines()->Count(), 1);
    EXPECT_EQ(DebugForm->Memo1->Lines()->Strings(0), ProgramDir());
}

// The start-up runs before the debug log exists: what it logs waits for
// the log and comes first in it.
TEST_F(MainStart, WhatTheStartUpLogsReachesTheDebugLog) {
    StoreAdmin();
    program.Write("config.cfg", "<settings/>");
    CreateMainWindow();
    Application->CreateForm(DebugForm);
    MainForm->Show();
    const TStrings* lines = DebugForm->Memo1->Lines();
    ASSERT_EQ(lines->Count(), 2);
    EXPECT_EQ(lines->Strings(0), "Settings: config.cfg is not Base64 text; kept as config.cfg.bad");
    EXPECT_EQ(lines->Strings(1), ProgramDir());
}

TEST_F(MainStart, ASecondCopySaysItIsRunningAndEndsWithCode1) {
    StoreAdmin();
    TServerSocket first(nullptr);
    first.SetPort(port);
    first.SetActive(true);
    program.Write(".config.cfg.Ab12Cd", "the first copy's, being written");

    EXPECT_EQ(StartExitCode(), 1);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].Class, "TMessageDialog");
    EXPECT_EQ(seen[0].Caption, InLanguage(1, "Błąd"));
    EXPECT_EQ(seen[0].Text, InLanguage(1, "Program jest już uruchomiony."));
    // Nothing further was prepared.
    EXPECT_FALSE(program.Exists("data.db"));
    EXPECT_FALSE(program.Exists("files"));
    EXPECT_TRUE(program.Exists(".config.cfg.Ab12Cd"));
}

// A kill leaves the program's temporary files behind: the next start
// removes them from "files", the program folder and the temporary folder,
// and the debug log names each. Files of the same look that are not the
// program's own stay.
TEST_F(MainStart, TheNextStartRemovesWhatAKillLeftOfItsTemporaryFiles) {
    StoreAdmin();
    const std::string recording = "20240305_100000_101_202_.wav";
    const std::vector<std::string> left = {"files/." + recording + ".Ab12Cd", "files/" + recording + ".part",
                                           ".config.cfg.Qw34Er", ".users.conf.Zx56Cv", ".users.conf.bad.Tg78Yh"};
    const std::vector<std::string> leftInTemp = {".tmp.wav.Rt90Yu", ".record.wav.Op12As"};
    const std::vector<std::string> others = {"files/" + recording, "files/notes.part", "files/.notes.txt.Ab12Cd",
                                             ".profile.Ab12Cd",    ".data.db.Ab12Cd",  "config.cfg.part"};
    for (const std::string& name : left) program.Write(name, "half");
    for (const std::string& name : leftInTemp) temp.Write(name, "plain sound");
    for (const std::string& name : others) program.Write(name, "not the program's");
    temp.Write(".other.wav.Ab12Cd", "not the program's");

    CreateMainWindow();
    Application->CreateForm(DebugForm);
    std::vector<std::string> lines;
    for (int i = 0; i < DebugForm->Memo1->Lines()->Count(); ++i) lines.push_back(DebugForm->Memo1->Lines()->Strings(i));
    for (const std::string& path : left) {
        EXPECT_FALSE(program.Exists(path)) << path;
        EXPECT_NE(std::find(lines.begin(), lines.end(), "Removed the unfinished file " + program.Path(path)),
                  lines.end())
            << path;
    }
    for (const std::string& path : leftInTemp) {
        EXPECT_FALSE(temp.Exists(path)) << path;
        EXPECT_NE(std::find(lines.begin(), lines.end(), "Removed the unfinished file " + temp.Path(path)), lines.end())
            << path;
    }
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Removed 1 unfinished downloads"), lines.end());
    for (const std::string& path : others) EXPECT_EQ(program.Read(path), "not the program's") << path;
    EXPECT_TRUE(temp.Exists(".other.wav.Ab12Cd"));
}

TEST_F(MainStart, TheRunningMessageComesInTheChosenLanguage) {
    StoreAdmin();
    program.Write("en.lang", "");
    TServerSocket first(nullptr);
    first.SetPort(port);
    first.SetActive(true);
    program.Write(".config.cfg.Ab12Cd", "the first copy's, being written");

    EXPECT_EQ(StartExitCode(), 1);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].Caption, "Error");
    EXPECT_EQ(seen[0].Text, "Program is already running.");
}

TEST_F(MainStart, DatabaseFailuresEndWithTheirCodesAndMessages) {
    StoreAdmin();
    struct Case {
        const char* name;
        std::function<void()> arrange;
        int code;
        const char* text;
    };
    const Case cases[] = {
        {"data.db cannot be created", [] { SetLocalDatabaseStepsOverride(FailOpening("data.db")); }, 10,
         "Nie można utworzyć bazy danych."},
        {"data.db cannot be opened",
         [this] {
             SqliteDb db;
             db.Open(program.Path("data.db"));
             db.ExecDml("CREATE TABLE t(x);");
             SetLocalDatabaseStepsOverride(FailOpening("data.db"));
         },
         20, "Nie można otworzyć bazy danych."},
        {"tmp.db cannot be created", [] { SetLocalDatabaseStepsOverride(FailOpening("tmp.db")); }, 30,
         "Nie można utworzyć bazy danych."},
        {"tmp.db stays and cannot be opened",
         [this] {
             program.Write("tmp.db", "left by a crashed run");
             TDbPrepareSteps steps = FailOpening("tmp.db");
             steps.DeleteFile = [](const AnsiString& file) {
                 return EndsWith(file, "tmp.db") ? false : DeleteFile(file);
             };
             SetLocalDatabaseStepsOverride(steps);
         },
         40, "Nie można otworzyć bazy danych."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(program.Path("data.db"));
        std::filesystem::remove(program.Path("tmp.db"));
        seen.clear();
        c.arrange();
        EXPECT_EQ(StartExitCode(), c.code);
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(seen[0].Caption, InLanguage(1, "Błąd"));
        EXPECT_EQ(seen[0].Text, InLanguage(1, c.text));
        // The port is given back when the half-built window goes.
        TServerSocket again(nullptr);
        again.SetPort(port);
        EXPECT_NO_THROW(again.SetActive(true));
        TObject::Free(DMLang);
        DMLang = nullptr;
    }
}

TEST_F(MainStart, CancellingTheFirstAdministratorEndsWithCode2BeforeThePortAndTheDatabases) {
    // No "users.conf": the users frame asks for the administrator while the
    // layout is read.
    Respond("TadduserDialogForm", [](TCustomForm*) { return mrCancel; });
    EXPECT_EQ(StartExitCode(), 2);
    ASSERT_GE(seen.size(), 2u);
    EXPECT_EQ(seen.front().Class, "TMessageDialog");  // no administrator yet
    EXPECT_EQ(seen.back().Class, "TMessageDialog");   // cannot go on without one
    EXPECT_FALSE(program.Exists("users.conf"));
    EXPECT_FALSE(program.Exists("data.db"));
    TServerSocket probe(nullptr);
    probe.SetPort(port);
    EXPECT_NO_THROW(probe.SetActive(true));
}

TEST_F(MainStart, TheWindowStays800WideAndAtLeast600High) {
    StoreAdmin();
    CreateMainWindow();
    TMainForm* f = MainForm;
    f->SetWidth(1000);
    EXPECT_EQ(f->Width(), 800);
    f->SetWidth(500);
    EXPECT_EQ(f->Width(), 800);
    f->SetHeight(400);
    EXPECT_EQ(f->Height(), 600);
    f->SetHeight(750);
    EXPECT_EQ(f->Height(), 750);
}

TEST_F(MainStart, EachLanguageMarkerStartsThatLanguageWithEveryTextFitting) {
    StoreAdmin();
    const char* markers[] = {"pl.lang", "en.lang", "ru.lang"};
    for (int language = 1; language <= LanguageCount; ++language) {
        for (const char* m : markers) std::filesystem::remove(program.Path(m));
        program.Write(yorde::test::ForLanguage(language, markers), "");
        CreateMainWindow();
        EXPECT_EQ(DMLang->lxLangDispatcher1->ActiveLanguage(), language);
        MainForm->Show();
        yorde::test::ProcessEvents();
        yorde::test::ExpectTextsFitAndShown(MainForm, ShotPath(program, "main-" + std::to_string(language) + ".png"));
        TObject::Free(MainForm);
        MainForm = nullptr;
        TObject::Free(DMLang);
        DMLang = nullptr;
    }
    EXPECT_TRUE(errors.empty());
}
