// The address-book window over a real data.db: loading and saving one
// user's book, the add, edit and delete rules, and the exchange with a
// "number;description" file.
#include "DialogsFixture.h"

#include "SmallDisk.h"
#include "TempFolder.h"
#include "qt/QtPlatform.h"
#include "rtl/CodePages.h"
#include "rtl/Folders.h"
#include "rtl/Languages.h"
#include "store/LocalDatabases.h"
#include "vcl/FileDialogs.h"
#include "workstation/AddressBookDialogUnit.h"
#include "workstation/Unitaddressbookform.h"
#include "workstation/Unitmessage.h"
#include "workstation/Unitquestion.h"

#include <algorithm>
#include <deque>
#include <filesystem>
#include <functional>

using namespace dialogstest;

namespace {

using Answer = std::function<TModalResult(TCustomForm*)>;
using Texts = std::vector<std::string>;

// Types into the entry dialog and presses OK (or Cancel with Ok false).
Answer Entry(const std::string& Number, const std::string& Description = "", bool Ok = true) {
    return [=](TCustomForm* f) {
        auto* d = dynamic_cast<TAddressBookDialog*>(f);
        EXPECT_TRUE(d) << f->ClassName();
        if (!d) return mrCancel;
        if (d->NrEdit->Enabled()) d->NrEdit->SetText(Number);
        if (d->OpisMemo->Enabled()) d->OpisMemo->SetText(Description);
        (Ok ? d->OKBtn : d->CancelBtn)->Click();
        return d->ModalResult();
    };
}

TModalResult Yes(TCustomForm*) { return mrOk; }

// The names in a folder, sorted.
Texts Names(const std::string& Folder) {
    Texts names;
    for (const auto& e : std::filesystem::directory_iterator(Folder)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}
TModalResult No(TCustomForm*) { return mrCancel; }

}  // namespace

class AddressBookTest : public DialogTest {
protected:
    void SetUp() override {
        SetProgramDirOverride(program.Root());
        SqliteDb db;
        db.Open(program.Path("data.db"));
        for (const char* sql : DataDbCreateStatements) db.ExecDml(sql);
        // Messages are noted and confirmed; other modal forms get the queued
        // answers in turn, and questions are noted too.
        SetModalHook([this](TCustomForm* f) -> TModalResult {
            if (auto* m = dynamic_cast<TMessageDialog*>(f)) {
                messages.push_back(m->Caption() + "|" + m->MessageLabel->Caption());
                return mrOk;
            }
            if (auto* q = dynamic_cast<TQuestionDialog*>(f))
                questions.push_back(q->Caption() + "|" + q->MessageLabel->Caption());
            if (dynamic_cast<TAddressBookDialog*>(f)) ++entryDialogs;
            if (answers.empty()) {
                ADD_FAILURE() << "no answer for " << f->ClassName();
                return mrCancel;
            }
            Answer a = answers.front();
            answers.pop_front();
            return a(f);
        });
        SetFileDialogHook([this](TOpenDialog* d) {
            titles.push_back(d->Title());
            if (chosenFile.empty()) return false;
            d->SetFileName(chosenFile);
            return true;
        });
    }
    void TearDown() override {
        SetFileDialogHook(nullptr);
        SetProgramDirOverride(AnsiString());
        EXPECT_TRUE(answers.empty()) << answers.size() << " answers left";
        DialogTest::TearDown();
    }

    void Store(const std::string& User, const std::string& Nr, const std::string& Opis) {
        SqliteDb db;
        db.Open(program.Path("data.db"));
        db.ExecDml("INSERT INTO AddressBook VALUES(?, ?, ?);", {User, Nr, Opis});
    }
    // One user's rows as "nr=opis", in table order.
    Texts Stored(const std::string& User) {
        SqliteDb db;
        db.Open(program.Path("data.db"));
        Texts rows;
        for (SqliteQuery q = db.ExecQuery("SELECT nr, opis FROM AddressBook WHERE user = ?;", {User}); !q.Eof();
             q.NextRow())
            rows.push_back(q.GetStringField(0) + "=" + q.GetStringField(1));
        return rows;
    }
    TAddressBook* Open(const std::string& User = "jan") {
        book.reset(NewForm<TAddressBook>(nullptr, User));
        return book.get();
    }
    // The list's lines, "number=description".
    Texts Lines() const {
        Texts lines;
        TStrings* s = book->ABookListEditor->Strings();
        for (int i = 0; i < s->Count(); ++i) lines.push_back(s->Strings(i));
        return lines;
    }
    void Select(int Row) { book->ABookListEditor->SetRow(Row); }
    AnsiString T(const char* Key) const { return book->lxLangLinked1->GetTextOrDefault(Key); }

    yorde::test::TTempFolder program;
    ProgramLanguageScope lang{2};
    Owned<TAddressBook> book;
    std::deque<Answer> answers;
    Texts messages;
    Texts questions;
    Texts titles;
    int entryDialogs = 0;
    std::string chosenFile;
};

TEST_F(AddressBookTest, TheBookOfTheUserLoadsInNumberOrderAndSavesAtCloseInListOrder) {
    Store("jan", "300", "Biuro");
    Store("jan", "1000", "Dom");
    Store("ola", "300", "her office");
    Open();
    EXPECT_EQ(Lines(), (Texts{"1000=Dom", "300=Biuro"}));
    EXPECT_EQ(book->ABookListEditor->Cells(0, 0), "Number");
    EXPECT_EQ(book->ABookListEditor->Cells(1, 0), "Description");

    answers = {Entry("55", "Kasia"), Entry("", "")};
    book->AddBitBtnClick(nullptr);
    Select(1);
    book->EditNrBitBtnClick(nullptr);  // the number emptied: the row goes at the next save
    EXPECT_EQ(Lines(), (Texts{"=Dom", "300=Biuro", "55=Kasia"}));
    book->Close();
    EXPECT_EQ(Stored("jan"), (Texts{"300=Biuro", "55=Kasia"}));
    EXPECT_EQ(Stored("ola"), (Texts{"300=her office"}));
    EXPECT_TRUE(messages.empty());
}

TEST_F(AddressBookTest, AddRefusesADuplicateAtOnceAndAsksAgainForAMissingNumber) {
    Store("jan", "123", "");
    Open();
    answers = {Entry("123", "again")};
    book->AddBitBtnClick(nullptr);
    EXPECT_EQ(messages, (Texts{"Error|\nThe record for this number already exists in phonebook"}));
    EXPECT_EQ(entryDialogs, 1) << "a refused entry is dropped";
    EXPECT_EQ(Lines(), (Texts{"123="}));

    messages.clear();
    answers = {Entry("", "kept"), [](TCustomForm* f) {
                   auto* d = dynamic_cast<TAddressBookDialog*>(f);
                   EXPECT_EQ(d->OpisMemo->Text(), "kept") << "what was typed stays";
                   return Entry("77", "kept")(f);
               }};
    book->AddBitBtnClick(nullptr);
    EXPECT_EQ(messages, (Texts{"Error|\nFill in the cell with number"}));
    EXPECT_EQ(Lines(), (Texts{"123=", "77=kept"}));

    answers = {Entry("88", "", false)};
    book->AddBitBtnClick(nullptr);
    EXPECT_EQ(Lines().size(), 2u);
}

TEST_F(AddressBookTest, EditingTheNumberRefusesAnyNumberInTheBookTheEditedOneIncluded) {
    Store("jan", "100", "a");
    Store("jan", "200", "b");
    Open();
    Select(1);
    answers = {[](TCustomForm* f) {
                   auto* d = dynamic_cast<TAddressBookDialog*>(f);
                   EXPECT_FALSE(d->OpisMemo->Enabled());
                   EXPECT_EQ(d->NrEdit->Text(), "100");
                   return Entry("100")(f);
               },
               Entry("200"), Entry("300")};
    book->EditNrBitBtnClick(nullptr);
    EXPECT_EQ(messages, (Texts{"Error|The record for this number already exists in phonebook",
                               "Error|The record for this number already exists in phonebook"}));
    EXPECT_EQ(Lines(), (Texts{"300=a", "200=b"}));

    // The description alone: the number box is locked, the text not checked.
    Select(2);
    answers = {[](TCustomForm* f) {
        auto* d = dynamic_cast<TAddressBookDialog*>(f);
        EXPECT_FALSE(d->NrEdit->Enabled());
        EXPECT_EQ(d->OpisMemo->Text(), "b");
        return Entry("", "Pan O'Hara\r\nbiuro")(f);
    }};
    book->ABookListEditorDblClick(nullptr);
    EXPECT_EQ(Lines(), (Texts{"300=a", "200=Pan O'Hara, biuro"}));
}

TEST_F(AddressBookTest, DeleteAsksAboutTheNumberFirst) {
    Store("jan", "123", "x");
    Store("jan", "456", "y");
    Open();
    Select(1);
    answers = {No};
    book->DelBitBtnClick(nullptr);
    answers = {Yes};
    book->DelBitBtnClick(nullptr);
    EXPECT_EQ(questions, (Texts{"Delete|Are you sure to delete the record for the number 123?",
                                "Delete|Are you sure to delete the record for the number 123?"}));
    EXPECT_EQ(Lines(), (Texts{"456=y"}));

    // The title row is no entry: nothing is asked, edited or deleted.
    Select(0);
    questions.clear();
    book->DelBitBtnClick(nullptr);
    book->EditOpBitBtnClick(nullptr);
    book->EditNrBitBtnClick(nullptr);
    EXPECT_TRUE(questions.empty());
    EXPECT_EQ(entryDialogs, 0);
    EXPECT_EQ(Lines(), (Texts{"456=y"}));
}

TEST_F(AddressBookTest, ExportWritesEveryEntryWithCrLfAndAnEmptyBookNothing) {
    chosenFile = program.Path("out.csv");
    Open();
    book->EksportBitBtnClick(nullptr);
    EXPECT_EQ(program.Read("out.csv"), "") << "the empty list's placeholder row is no entry";

    answers = {Entry("123", "Jan; biuro"), Entry("456")};
    book->AddBitBtnClick(nullptr);
    book->AddBitBtnClick(nullptr);
    book->EksportBitBtnClick(nullptr);
    EXPECT_EQ(program.Read("out.csv"), "123;Jan; biuro\r\n456;\r\n");
    EXPECT_EQ(titles, (Texts{"Export", "Export"}));
    EXPECT_EQ(book->SaveDialog1->Filter(), "csv|*.csv");
    EXPECT_EQ(book->SaveDialog1->DefaultExt(), "") << "no extension is added";
}

// A file that cannot be written (no such folder, a folder of that name, a
// full disk) is said in the window's own words; an older file stays whole
// and nothing half written is left beside it.
TEST_F(AddressBookTest, AnExportThatCannotBeWrittenSaysSoAndLeavesTheOldFile) {
    Open();
    answers = {Entry("123", "Jan")};
    book->AddBitBtnClick(nullptr);
    program.Write("folder.csv/inside", "");
    const Texts refused{"Error|\nCannot write phonebook file"};
    for (const char* name : {"nowhere/out.csv", "folder.csv"}) {
        SCOPED_TRACE(name);
        messages.clear();
        chosenFile = program.Path(name);
        book->EksportBitBtnClick(nullptr);
        EXPECT_EQ(messages, refused);
    }
    EXPECT_FALSE(program.Exists("nowhere"));
    EXPECT_EQ(Names(program.Path("folder.csv")), (Texts{"inside"}));

    yorde::test::SmallDisk disk(program.Path("small"), 64);
    if (!disk.Mounted()) GTEST_SKIP() << "no small disk: " << disk.Error();
    chosenFile = program.Path("small/book.csv");
    program.Write("small/book.csv", "1;old\r\n");
    disk.Fill();
    for (int i = 0; i < 2000; ++i)
        book->ABookListEditor->InsertRow(std::to_string(1000 + i), std::string(60, 'd'), true);
    messages.clear();
    book->EksportBitBtnClick(nullptr);
    EXPECT_EQ(messages, refused);
    EXPECT_EQ(program.Read("small/book.csv"), "1;old\r\n");
    EXPECT_EQ(Names(program.Path("small")), (Texts{"book.csv", "filler"}));
}

TEST_F(AddressBookTest, ImportSkipsWhatTheListRefusesAndAddsNothingTheSecondTime) {
    Store("jan", "x1", "old");
    Open();
    const std::string seventy(70, 'd');
    program.Write("in.csv", "123;Jan; biuro\nX1;refused: x1 is there\n1=2;refused\nabc\n456;" + seventy + "\n");
    chosenFile = program.Path("in.csv");
    book->ImportBitBtnClick(nullptr);
    const Texts once{"x1=old", "123=Jan; biuro", "=abc", "456=" + std::string(64, 'd')};
    EXPECT_EQ(Lines(), once);
    book->ImportBitBtnClick(nullptr);
    EXPECT_EQ(Lines(), once);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(titles, (Texts{"Import", "Import"}));

    chosenFile = program.Path("missing.csv");
    book->ImportBitBtnClick(nullptr);
    EXPECT_EQ(messages, (Texts{"Error|\nCannot open phonebook file"}));
    EXPECT_EQ(Lines(), once);

    book->Close();
    EXPECT_EQ(Stored("jan"), (Texts{"x1=old", "123=Jan; biuro", "456=" + std::string(64, 'd')}));
}

TEST_F(AddressBookTest, AFileWithPolishLettersAndAnApostropheRoundTrips) {
    // Written by the Windows program: Windows-1250 bytes, CR LF.
    const AnsiString file = Utf8ToCodePage(
        "601234567;Łódź - biuro pani O'Hary\r\n"
        "*22#;Żaneta Ślęczkowska\r\n"
        "48;Spółka \"Gęś\"; dział kadr\r\n",
        1250);
    program.Write("book.csv", file);
    chosenFile = program.Path("book.csv");
    Open();
    book->ImportBitBtnClick(nullptr);
    book->Close();
    EXPECT_EQ(Stored("jan"), (Texts{Utf8ToCodePage("601234567=Łódź - biuro pani O'Hary", 1250),
                                    Utf8ToCodePage("*22#=Żaneta Ślęczkowska", 1250),
                                    Utf8ToCodePage("48=Spółka \"Gęś\"; dział kadr", 1250)}));

    // A new window reads it back in number order and exports the same lines.
    Open();
    chosenFile = program.Path("again.csv");
    book->EksportBitBtnClick(nullptr);
    EXPECT_EQ(program.Read("again.csv"), Utf8ToCodePage("*22#;Żaneta Ślęczkowska\r\n"
                                                        "48;Spółka \"Gęś\"; dział kadr\r\n"
                                                        "601234567;Łódź - biuro pani O'Hary\r\n",
                                                        1250));
    // Another user's book holds none of it.
    book->Close();
    Open("ola");
    EXPECT_TRUE(Lines().empty());
}

TEST_F(AddressBookTest, TheBookIsSavedForTheUserItWasOpenedFor) {
    Store("jan", "1", "jan's");
    Store("ola", "2", "ola's");
    Open("jan");
    answers = {Entry("3", "new")};
    book->AddBitBtnClick(nullptr);
    // Whoever logs in meanwhile, the close writes jan's book only.
    book->Close();
    EXPECT_EQ(Stored("jan"), (Texts{"1=jan's", "3=new"}));
    EXPECT_EQ(Stored("ola"), (Texts{"2=ola's"}));
    EXPECT_EQ(book->UserName(), "jan");
}

TEST_F(AddressBookTest, AFailedSaveKeepsTheOldRowsAndSaysSo) {
    Store("jan", "1", "a");
    Store("jan", "2", "b");
    {
        SqliteDb db;
        db.Open(program.Path("data.db"));
        db.ExecDml(
            "CREATE TRIGGER refuse BEFORE INSERT ON AddressBook WHEN NEW.nr = '999' "
            "BEGIN SELECT RAISE(ABORT, 'refused'); END;");
    }
    Open();
    answers = {Entry("999", "x")};
    book->AddBitBtnClick(nullptr);
    book->Close();
    EXPECT_EQ(messages, (Texts{"Error|Cannot save phonebook to database."}));
    EXPECT_EQ(Stored("jan"), (Texts{"1=a", "2=b"}));
}

TEST_F(AddressBookTest, ABookReadOnlyInPartIsNeverWrittenBack) {
    // Two numbers the list takes for one: the second cannot be loaded.
    Store("jan", "abc", "first");
    Store("jan", "ABC", "second");
    Store("jan", "zzz", "third");
    Open();
    EXPECT_EQ(messages,
              (Texts{"Error|Cannot read phonebook from database.\nChanges made in this window will not be saved."}));
    answers = {Entry("5", "lost")};
    book->AddBitBtnClick(nullptr);
    book->Close();
    EXPECT_EQ(Stored("jan"), (Texts{"abc=first", "ABC=second", "zzz=third"}));

    // No data.db to read at all: the same.
    messages.clear();
    SetProgramDirOverride(program.Path("nowhere/"));
    Open();
    EXPECT_EQ(messages.size(), 1u);
    book->Close();
    EXPECT_FALSE(program.Exists("nowhere/data.db"));
}

TEST_F(AddressBookTest, ImageButtonsShowTheLanguagesPicturesAndClickTheHiddenButtons) {
    Open();
    TAddressBook* b = book.get();
    struct Case {
        TImage* Image;
        const char *Normal, *Pressed;
    };
    // The English buttons.
    const Case cases[] = {{b->ImageOK, "TAddressBook.ImageList1/6.png", "TAddressBook.ImageList1/7.png"},
                          {b->ImageEdNr, "TAddressBook.ImageList1/8.png", "TAddressBook.ImageList1/9.png"},
                          {b->ImageEdOp, "TAddressBook.ImageList1/10.png", "TAddressBook.ImageList1/11.png"},
                          {b->ImageUsun, "TAddressBook.ImageList2/8.png", "TAddressBook.ImageList2/9.png"},
                          {b->ImageImp, "TAddressBook.ImageList2/10.png", "TAddressBook.ImageList2/11.png"},
                          {b->ImageExp, "TAddressBook.ImageList2/12.png", "TAddressBook.ImageList2/13.png"},
                          {b->ImageDodaj, "TAddressBook.ImageList2/14.png", "TAddressBook.ImageList2/15.png"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Image->Name());
        EXPECT_TRUE(ShowsBitmap(c.Image, c.Normal));
        MouseDown(c.Image);
        EXPECT_TRUE(ShowsBitmap(c.Image, c.Pressed));
        MouseUp(c.Image, mbLeft, 500, 500);  // released elsewhere: no click
        EXPECT_TRUE(ShowsBitmap(c.Image, c.Normal));
    }
    answers = {Entry("12", "x")};
    b->ImageClick(b->ImageDodaj);
    EXPECT_EQ(Lines(), (Texts{"12=x"}));
    b->ImageClick(b->ImageOK);
    EXPECT_EQ(Stored("jan"), (Texts{"12=x"}));
}

TEST_F(DialogTest, TheAddressBookSpeaksEachLanguage) {
    yorde::test::TTempFolder program;
    SetProgramDirOverride(program.Root());
    {
        SqliteDb db;
        db.Open(program.Path("data.db"));
        for (const char* sql : DataDbCreateStatements) db.ExecDml(sql);
        db.ExecDml("INSERT INTO AddressBook VALUES('jan', '601234567', ?);", {Utf8ToCodePage("Łódź, biuro", 1250)});
        db.ExecDml("INSERT INTO AddressBook VALUES('jan', '22', 'Pan O''Hara');");
    }
    const char* const captions[] = {"Książka adresowa", "Phonebook", "Телефонная книга"};
    const char* const titles[][2] = {{"Numer", "Opis"}, {"Number", "Description"}, {"Номер", "описание"}};
    const char* const keys[] = {"IDS_ERROR",       "IDS_READ_ERROR",   "IDS_SAVE_ERROR",      "IDS_RECORD_EXISTS",
                                "IDS_NUMBER_CELL", "IDS_REMOVE",       "IDS_REMOVE_QUESTION", "IDS_IMPORT",
                                "IDS_EXPORT",      "IDS_IMPORT_ERROR", "IDS_NOT_SAVED",       "IDS_EXPORT_ERROR"};
    for (int language = 1; language <= LanguageCount; ++language) {
        SCOPED_TRACE(language);
        ProgramLanguageScope lang(language);
        Owned<TAddressBook> b(NewForm<TAddressBook>(nullptr, AnsiString("jan")));
        EXPECT_EQ(b->Caption(), InLanguage(language, ForLanguage(language, captions)));
        EXPECT_EQ(b->ABookListEditor->Cells(0, 0), InLanguage(language, ForLanguage(language, titles)[0]));
        EXPECT_EQ(b->ABookListEditor->Cells(1, 0), InLanguage(language, ForLanguage(language, titles)[1]));
        EXPECT_EQ(b->ClientWidth(), 554);
        EXPECT_EQ(b->ClientHeight(), 386);
        EXPECT_EQ(b->ABookListEditor->ColWidths(0), 103);
        for (const char* key : keys) EXPECT_FALSE(b->lxLangLinked1->GetText(key).empty()) << key;
        {
            // As the window shows it: after a line break, in the window's charset.
            Owned<TMessageDialog> message(NewForm<TMessageDialog>(nullptr));
            message->MessageLabel->Font()->SetCharset(b->Font()->Charset());
            message->MessageLabel->SetCaption("\n" + b->lxLangLinked1->GetText("IDS_EXPORT_ERROR"));
            ExpectTextsFitAndShown(message.get(), ShotPath(std::string("address_book_export_error_") +
                                                           LanguageNumbered(language)->Code + ".png"));
        }
        b->ABookListEditor->SetRow(2);
        const std::string path = ShotPath(std::string("address_book_") + LanguageNumbered(language)->Code + ".png");
        EXPECT_TRUE(yorde::qt::SaveScreenshot(b.get(), path)) << path;
    }
    SetProgramDirOverride(AnsiString());
}
