// The SD-card import from the recordings frame's button, and the address
// book's button, in the real main window: the drive dialog, the import run
// on its thread with the window kept working, and one address-book window
// per user.
#include "UsersUiSupport.h"

#include "classes/Thread.h"
#include "qt/QtPlatform.h"
#include "shell/Drives.h"
#include "store/SqliteDb.h"
#include "workstation/Mainunit.h"
#include "workstation/RegisterWorkstation.h"
#include "workstation/UnitImport.h"
#include "workstation/UnitImportThread.h"
#include "workstation/Unitaddressbookform.h"
#include "workstation/Unitfiltr.h"
#include "workstation/Unitmediaframe.h"
#include "workstation/Unitpaswd.h"
#include "workstation/Unitstatus.h"
#include "workstation/Unitusers.h"

#include "DialogsFixture.h"
#include "FullDatabase.h"
#include "TempFolder.h"
#include "rtl/Languages.h"

#include <filesystem>

using namespace userstest;
using yorde::test::Click;
using yorde::test::ForLanguage;
using yorde::test::InLanguage;
using yorde::test::PressKey;
using yorde::test::ProgramLanguageScope;

namespace {

using Strings = std::vector<std::string>;

// The drive dialog answered with the item at Index (-1: none) and the OK image.
Responder ChooseDrive(int Index) {
    return [Index](TCustomForm* f) {
        auto* d = static_cast<TImportDialog*>(f);
        if (Index >= 0) {
            d->DriveComboBox->SetItemIndex(Index);
            d->DriveComboBoxChange(d->DriveComboBox);
        }
        d->ImageOKClick(d->ImageOK);
        return d->ModalResult();
    };
}

class ImportUiTest : public UsersUiTest {
protected:
    void SetUp() override {
        UsersUiTest::SetUp();
        SetDriveListProvider([this] { return std::vector<AnsiString>{card.Dir()}; });
    }
    void TearDown() override {
        SetDriveListProvider({});
        UsersUiTest::TearDown();
    }
    void Start() {
        UseLanguage(2);
        StoreUsers({MakeUser("anna", "haslo1"), MakeUser("olek", "haslo2"), MakeUser("admin", "tajne1")});
        CreateMainWindow();
        main = MainForm;
        main->Show();
    }
    void LogIn(const std::string& Name, const std::string& Password) {
        Respond("TuserpaswdDialog", [Password](TCustomForm* f) {
            auto* d = static_cast<TuserpaswdDialog*>(f);
            d->paswdLineEdit->SetText(Password);
            d->ImageOK->OnClick(d->ImageOK);
            return d->ModalResult();
        });
        TComboBox* combo = main->UsersFrame1->usersComboBox;
        combo->SetItemIndex(combo->Items()->IndexOf(Name));
        main->UsersFrame1->usersComboBoxChange(combo);
    }
    // Serves the import's calls to the main thread until it has ended,
    // then runs what it queued last.
    void WaitForImport() {
        while (CardImportRunning()) CheckSynchronize(50);
        yorde::test::ProcessEvents();
    }
    Strings Files() {
        SqliteDb db;
        db.Open(program.Path("data.db"));
        Strings names;
        for (SqliteQuery q = db.ExecQuery("SELECT Filename FROM Files;"); !q.Eof(); q.NextRow())
            names.push_back(q.GetStringField(0));
        return names;
    }
    int Seen(const std::string& Class) const {
        return int(std::count_if(seen.begin(), seen.end(), [&](const ModalSeen& s) { return s.Class == Class; }));
    }
    std::vector<TAddressBook*> Books() const {
        std::vector<TAddressBook*> books;
        for (int i = 0; i < main->MediaFrame1->ComponentCount(); ++i)
            if (auto* b = dynamic_cast<TAddressBook*>(main->MediaFrame1->Components(i))) books.push_back(b);
        return books;
    }

    yorde::test::TTempFolder card{"yorde-card"};
    TMainForm* main = nullptr;
};

}  // namespace

TEST_F(ImportUiTest, TheCardIsImportedOnItsThreadAndTheWindowComesBackToItsRestingState) {
    Start();
    card.Write("Rozmowy/2024/03/05/20240305_100000_101_202_.WAV", std::string(3250, 'n'));
    card.Write("ROZMOWY/2024/03/05/20240305_110000_101_202_.wav", std::string(1625, 's'));
    card.Write("ROZMOWY/2024/3/06/20240306_120000_101_202_.wav", std::string(1625, 'd'));
    card.Write("ROZMOWY/2024/03/06/..\\..\\evil.wav", std::string(1625, 'e'));
    {
        SqliteDb db;
        db.Open(program.Path("data.db"));
        db.ExecDml(
            "INSERT INTO Files VALUES('2024-03-05      11:00:00', '101', '202', 1, "
            "'20240305_110000_101_202_.wav');");
        db.ExecDml("INSERT INTO DeletedFiles VALUES('20240306_120000_101_202_.wav');");
    }
    program.Write("files/20240305_110000_101_202_.wav", "stored before");
    TFiltrFrame* filter = main->FiltrFrame1;
    filter->OdCheckBox->SetChecked(true);
    filter->DoCheckBox->SetChecked(true);
    main->StatusFrameBottom->StatusLabel->SetCaption("old status");

    Respond("TImportDialog", ChooseDrive(0));
    main->MediaFrame1->ImportImageClick(nullptr);
    EXPECT_TRUE(CardImportRunning());
    // A second press while it runs opens nothing.
    main->MediaFrame1->ImportImageClick(nullptr);
    EXPECT_EQ(Seen("TImportDialog"), 1);
    WaitForImport();

    EXPECT_EQ(Files(), (Strings{"20240305_110000_101_202_.wav", "20240305_100000_101_202_.WAV"}));
    EXPECT_EQ(program.Read("files/20240305_100000_101_202_.WAV"), std::string(3250, 'n'));
    EXPECT_EQ(program.Read("files/20240305_110000_101_202_.wav"), "stored before");
    EXPECT_FALSE(program.Exists("files/20240306_120000_101_202_.wav"));
    EXPECT_FALSE(program.Exists("evil.wav"));
    EXPECT_FALSE(filter->OdCheckBox->Checked());
    EXPECT_FALSE(filter->DoCheckBox->Checked());
    EXPECT_EQ(main->StatusFrameBottom->StatusLabel->Caption(), "");
    EXPECT_EQ(main->StatusFrameBottom->StatusProgressBar->Position(), 0);
    // The hostile name is the one recording left out, and the user is told.
    ASSERT_EQ(Seen("TMessageDialog"), 1);
    EXPECT_EQ(seen.back().Caption, "Error");
    EXPECT_EQ(seen.back().Text, "Recordings not imported: 1");

    // The same card again: nothing new, nothing copied twice, nothing to report.
    seen.clear();
    main->MediaFrame1->ImportImageClick(nullptr);
    WaitForImport();
    EXPECT_EQ(Files().size(), 2u);
    EXPECT_EQ(Seen("TMessageDialog"), 1) << "the hostile name is refused again";
}

// A full disk cuts the import short, and its end says so: the disk-full
// message, not a count of recordings left out; the window is back at rest.
TEST_F(ImportUiTest, AnImportCutShortByAFullDiskSaysSoAtItsEnd) {
    Start();
    card.Write("ROZMOWY/2024/03/05/20240305_100000_101_202_.wav", std::string(1625, 'a'));
    card.Write("ROZMOWY/2024/03/05/20240305_110000_101_202_.wav", std::string(1625, 'b'));
    {
        SqliteDb db;
        db.Open(program.Path("data.db"));
        db.ExecDml(yorde::test::TFullDatabase::GrowOnInsertSql());
    }
    const yorde::test::TFullDatabase full;

    Respond("TImportDialog", ChooseDrive(0));
    main->MediaFrame1->ImportImageClick(nullptr);
    WaitForImport();
    EXPECT_TRUE(Files().empty());
    EXPECT_TRUE(std::filesystem::is_empty(program.Path("files")));
    EXPECT_EQ(main->StatusFrameBottom->StatusLabel->Caption(), "");
    EXPECT_EQ(main->StatusFrameBottom->StatusProgressBar->Position(), 0);
    ASSERT_EQ(Seen("TMessageDialog"), 1);
    EXPECT_EQ(seen.back().Caption, "Error");
    EXPECT_EQ(seen.back().Text, "The disk is full. The import was stopped.");
}

TEST_F(ImportUiTest, NoMediumChosenOrCancelStartsNothing) {
    Start();
    card.Write("ROZMOWY/2024/03/05/x.wav", "x");
    main->StatusFrameBottom->StatusLabel->SetCaption("old status");
    Respond("TImportDialog", ChooseDrive(-1));
    main->MediaFrame1->ImportImageClick(nullptr);
    EXPECT_FALSE(CardImportRunning());
    Respond("TImportDialog", [](TCustomForm* f) {
        static_cast<TImportDialog*>(f)->ImageAnulujClick(nullptr);
        return f->ModalResult();
    });
    main->MediaFrame1->ImportImageClick(nullptr);
    EXPECT_FALSE(CardImportRunning());
    EXPECT_TRUE(Files().empty());
    EXPECT_EQ(main->StatusFrameBottom->StatusLabel->Caption(), "");
}

TEST_F(ImportUiTest, EachUserGetsAnAddressBookWindowOfTheirOwn) {
    Start();
    LogIn("anna", "haslo1");
    main->MediaFrame1->ABookImageClick(nullptr);
    ASSERT_EQ(Books().size(), 1u);
    TAddressBook* first = Books()[0];
    EXPECT_EQ(first->UserName(), "anna");
    EXPECT_TRUE(first->Visible());
    // Pressed again while it is open: the same window.
    main->MediaFrame1->ABookImageClick(nullptr);
    EXPECT_EQ(Books(), std::vector<TAddressBook*>{first});
    first->ABookListEditor->InsertRow("601", "anna's", true);

    // Another user: anna's window saves her book and goes.
    LogIn("olek", "haslo2");
    main->MediaFrame1->ABookImageClick(nullptr);
    ASSERT_EQ(Books().size(), 1u);
    TAddressBook* second = Books()[0];
    EXPECT_EQ(second->UserName(), "olek");
    EXPECT_TRUE(second->Entries().empty());
    // Closed, it is replaced by a new one at the next press.
    second->Close();
    main->MediaFrame1->ABookImageClick(nullptr);
    ASSERT_EQ(Books().size(), 1u);
    EXPECT_TRUE(Books()[0]->Visible());

    LogIn("anna", "haslo1");
    main->MediaFrame1->ABookImageClick(nullptr);
    ASSERT_EQ(Books().size(), 1u);
    EXPECT_EQ(Books()[0]->Entries(), (TAddressEntries{{"601", "anna's"}}));
}

// The drive dialog alone.
class ImportDialogTest : public dialogstest::DialogTest {
protected:
    void TearDown() override {
        SetDriveListProvider({});
        dialogstest::DialogTest::TearDown();
    }
};

TEST_F(ImportDialogTest, ListsTheMountedMediaAndGivesTheChosenFolder) {
    ProgramLanguageScope lang(1);
    SetDriveListProvider([] { return std::vector<AnsiString>{"/media/jan/KARTA SD", "/run/media/jan/USB"}; });
    Owned<TImportDialog> dialog(NewForm<TImportDialog>(nullptr, AnsiString("password")));
    TComboBox* drives = dialog->DriveComboBox;
    ASSERT_EQ(drives->Items()->Count(), 2);
    EXPECT_EQ(drives->Items()->Strings(0), "/media/jan/KARTA SD");
    EXPECT_EQ(drives->ItemIndex(), -1);
    EXPECT_FALSE(dialog->OKBtn->Enabled());
    EXPECT_EQ(dialog->GetDrivePath(), "");
    TModalResult result = dialogstest::RunModal(dialog.get(), [&](TCustomForm*) {
        PressKey(drives, VK_DOWN);
        PressKey(drives, VK_DOWN);
        EXPECT_TRUE(dialog->OKBtn->Enabled());
        Click(dialog->ImageOK);
    });
    EXPECT_EQ(result, mrOk);
    EXPECT_EQ(dialog->GetDrivePath(), "/run/media/jan/USB/");
}

TEST_F(ImportDialogTest, TheOkImageWithNothingChosenGivesOneBlankAndCancelNothing) {
    ProgramLanguageScope lang(1);
    SetDriveListProvider([] { return std::vector<AnsiString>{}; });
    Owned<TImportDialog> dialog(NewForm<TImportDialog>(nullptr, AnsiString()));
    EXPECT_EQ(dialogstest::RunModal(dialog.get(), [&](TCustomForm*) { Click(dialog->ImageOK); }), mrOk);
    EXPECT_EQ(dialog->GetDrivePath(), " ");

    Owned<TImportDialog> other(NewForm<TImportDialog>(nullptr, AnsiString()));
    EXPECT_EQ(dialogstest::RunModal(other.get(), [&](TCustomForm*) { Click(other->ImageAnuluj); }), mrCancel);
    EXPECT_EQ(other->GetDrivePath(), "");
}

TEST_F(ImportDialogTest, SpeaksEachLanguage) {
    SetDriveListProvider([] { return std::vector<AnsiString>{"/media/jan/KARTA"}; });
    const char* const texts[][4] = {
        {"Import", "Wybierz napęd z kartą SD", "Napęd z kartą SD", "Nie zaimportowano nagrań:"},
        {"Import", "Select SD card drive", "SD card drive", "Recordings not imported:"},
        {"Импортировать", "Выбрать привод с SD-картой", "привод с картой SD", "Не импортировано записей:"}};
    const char* const okPictures[] = {"TImportDialog.ImageList1/2.png", "TImportDialog.ImageList1/6.png",
                                      "TImportDialog.ImageList1/10.png"};
    const char* const cancelPictures[] = {"TImportDialog.ImageList1/0.png", "TImportDialog.ImageList1/4.png",
                                          "TImportDialog.ImageList1/8.png"};
    for (int language = 1; language <= LanguageCount; ++language) {
        SCOPED_TRACE(language);
        ProgramLanguageScope lang(language);
        Owned<TImportDialog> d(NewForm<TImportDialog>(nullptr, AnsiString()));
        EXPECT_EQ(d->Caption(), InLanguage(language, ForLanguage(language, texts)[0]));
        EXPECT_EQ(d->DiskLabel->Caption(), InLanguage(language, ForLanguage(language, texts)[1]));
        EXPECT_EQ(d->DriveComboBox->Hint(), InLanguage(language, ForLanguage(language, texts)[2]));
        EXPECT_EQ(d->Text("IDS_IMPORT_FAILED"), InLanguage(language, ForLanguage(language, texts)[3]));
        EXPECT_FALSE(d->Text("IDS_IMPORT_DISK_FULL").empty());
        EXPECT_FALSE(d->Text("IDS_ERROR").empty());
        EXPECT_TRUE(ShowsBitmap(d->ImageOK, ForLanguage(language, okPictures)));
        EXPECT_TRUE(ShowsBitmap(d->ImageAnuluj, ForLanguage(language, cancelPictures)));
        d->DriveComboBox->SetItemIndex(0);
        const std::string path =
            yorde::test::ShotPath(std::string("import_dialog_") + LanguageNumbered(language)->Code + ".png");
        EXPECT_TRUE(yorde::qt::SaveScreenshot(d.get(), path)) << path;
    }
}
