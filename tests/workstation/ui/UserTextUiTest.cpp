// What users typed and the store keeps (names, address-book descriptions)
// is in the ANSI code page in every language: it shows as typed in each
// interface language, also beside a translated text in one label.
#include "CanvasRecorder.h"
#include "FramesUiSupport.h"
#include "RecordingsWindowFixture.h"

#include "rtl/CodePages.h"
#include "rtl/Languages.h"
#include "store/SqliteDb.h"
#include "workstation/Mainunit.h"
#include "workstation/Unitaddressbookform.h"
#include "workstation/Unitdmlang.h"
#include "workstation/Unitfiltr.h"
#include "workstation/Unitmediaframe.h"
#include "workstation/Unitquestion.h"
#include "workstation/Unitstatus.h"

#include <algorithm>
#include <filesystem>

using namespace mainwindowtest;

namespace {

const AnsiString kName = Utf8ToCodePage("Paweł", 1250);
const AnsiString kDescription = Utf8ToCodePage("Biuro Zażółć", 1250);

bool Contains(const std::vector<std::string>& Texts, const std::string& Text) {
    return std::find(Texts.begin(), Texts.end(), Text) != Texts.end();
}

// The program in one language (the parameter), a user named "Paweł" whose
// book describes every calling number as "Biuro Zażółć".
class UserTextInEachLanguage : public RecordingsWindow, public ::testing::WithParamInterface<int> {
protected:
    void SetUp() override {
        RecordingsWindow::SetUp();
        std::filesystem::remove(program.Path("en.lang"));
        program.Write(LanguageMarkerFile(GetParam()), "");
        StoreUsers([] {
            PutUser(0, "admin", rkAll, "");
            PutUser(1, kName.c_str(), rkAll, "");
        });
        MakeStore(12);
        SqliteDb db;
        db.Open(program.Path("data.db"));
        db.ExecDml("DELETE FROM AddressBook;");
        db.ExecDml("INSERT INTO AddressBook SELECT DISTINCT ?, AbA, ? FROM Files;", {kName, kDescription});
    }
    // The text of this test's language.
    const char* In(const char* Pl, const char* En, const char* Ru) const {
        return yorde::test::ForLanguage(GetParam(), {Pl, En, Ru});
    }
};

TEST_P(UserTextInEachLanguage, TheStatusBarAndTheListShowThePolishTextAsTyped) {
    OpenAs(kName.c_str());
    TStatusFrame* status = MainForm->StatusFrameBottom;
    status->Timer1Timer(status->Timer1);
    EXPECT_EQ(DrawnTexts(status->UserLabel),
              std::vector<std::string>{In("Zalogowany jako Paweł", "Logged in as Paweł", "Вход выполнен как Paweł")});

    Filter()->ABookCheckBox->SetChecked(true);
    ASSERT_EQ(Grid()->ColCount(), 7);
    ASSERT_EQ(Grid()->Cells(2, 1), kDescription);
    const std::vector<std::string> list = DrawnTexts(Grid());
    EXPECT_TRUE(Contains(list, In("Wywołujący - opis", "Caller - desc", "Вызывающий - описание")));
    EXPECT_TRUE(Contains(list, "Biuro Zażółć"));
    yorde::test::Shoot(MainForm, "user-text-main-window", GetParam());
}

TEST_P(UserTextInEachLanguage, TheAddressBookShowsThePolishTextAsTyped) {
    OpenAs(kName.c_str());
    Media()->ABookImageClick(nullptr);
    TAddressBook* book = nullptr;
    for (int i = 0; i < Screen->FormCount(); ++i)
        if (auto* b = dynamic_cast<TAddressBook*>(Screen->Forms(i))) book = b;
    ASSERT_NE(book, nullptr);
    const std::vector<std::string> rows = DrawnTexts(book->ABookListEditor);
    EXPECT_TRUE(Contains(rows, In("Numer", "Number", "Номер")));
    EXPECT_TRUE(Contains(rows, "Biuro Zażółć"));
    yorde::test::Shoot(book, "user-text-address-book", GetParam());

    // A number the import took as it stood in the file, in the question.
    book->ABookListEditor->InsertRow(Utf8ToCodePage("Łódź", 1250), "", true);
    book->ABookListEditor->SetRow(book->ABookListEditor->RowCount() - 1);
    std::vector<std::string> asked;
    Respond("TQuestionDialog", [&](TCustomForm* f) {
        auto* question = static_cast<TQuestionDialog*>(f);
        asked = DrawnTexts(question->MessageLabel);
        EXPECT_TRUE(yorde::test::TextsThatDoNotFit(question).empty());
        yorde::test::Shoot(question, "user-text-delete-question", GetParam());
        return mrCancel;
    });
    book->DelBitBtnClick(nullptr);
    EXPECT_EQ(asked, std::vector<std::string>{In("Czy na pewno chcesz usunąć wpis dla numeru Łódź?",
                                                 "Are you sure to delete the record for the number Łódź?",
                                                 "Вы точно хотите удалить запись для номера Łódź?")});
    book->Close();
}

INSTANTIATE_TEST_SUITE_P(Languages, UserTextInEachLanguage, ::testing::Range(1, LanguageCount + 1));

class UserRemovalQuestion : public framestest::FramesUiTest {};

TEST_F(UserRemovalQuestion, NamesThePolishUserInEveryLanguage) {
    const char* const expected[] = {"Dane użytkownika Paweł zostaną usunięte.", "User data Paweł will be removed.",
                                    "Данные пользователя Paweł будут удалены."};
    for (int language = 1; language <= LanguageCount; ++language) {
        SCOPED_TRACE(language);
        yorde::test::ProgramLanguageScope lang(language);
        Owned<TQuestionDialog> dialog(new TQuestionDialog(nullptr));
        dialog->SetUserRemovalQuestion(kName);
        EXPECT_EQ(DrawnTexts(dialog->MessageLabel),
                  std::vector<std::string>{yorde::test::ForLanguage(language, expected)});
        EXPECT_TRUE(yorde::test::TextsThatDoNotFit(dialog.get()).empty());
        yorde::test::Shoot(dialog.get(), "user-text-removal-question", language);
    }
}

}  // namespace
