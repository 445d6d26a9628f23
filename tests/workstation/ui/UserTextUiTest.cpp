// What users typed and the store keeps (names, address-book descriptions)
// is in the ANSI code page in every language: in the Russian interface it
// shows as typed, also beside a Russian text in one label.
#include "CanvasRecorder.h"
#include "FramesUiSupport.h"
#include "RecordingsWindowFixture.h"

#include "rtl/CodePages.h"
#include "store/SqliteDb.h"
#include "workstation/Mainunit.h"
#include "workstation/Unitaddressbookform.h"
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

class RussianUserText : public RecordingsWindow {
protected:
    void SetUp() override {
        RecordingsWindow::SetUp();
        std::filesystem::remove(program.Path("en.lang"));
        program.Write("ru.lang", "");
        StoreUsers([] {
            PutUser(0, "admin", rkAll, "");
            PutUser(1, kName.c_str(), rkAll, "");
        });
        MakeStore(12);
        // The book describes the calling number of every stored call.
        SqliteDb db;
        db.Open(program.Path("data.db"));
        db.ExecDml("DELETE FROM AddressBook;");
        db.ExecDml("INSERT INTO AddressBook SELECT DISTINCT ?, AbA, ? FROM Files;", {kName, kDescription});
    }
};

TEST_F(RussianUserText, TheStatusBarNamesThePolishUserBesideTheRussianText) {
    OpenAs(kName.c_str());
    TStatusFrame* status = MainForm->StatusFrameBottom;
    status->Timer1Timer(status->Timer1);
    EXPECT_EQ(DrawnTexts(status->UserLabel), std::vector<std::string>{"Вход выполнен как Paweł"});
    EXPECT_EQ(status->UserLabel->Caption(), Utf8ToCodePage("Вход выполнен как ", 1251) + kName);
}

TEST_F(RussianUserText, TheListAndTheAddressBookShowTheDescriptionsAsTyped) {
    OpenAs(kName.c_str());
    Filter()->ABookCheckBox->SetChecked(true);
    ASSERT_EQ(Grid()->ColCount(), 7);
    ASSERT_EQ(Grid()->Cells(2, 1), kDescription);
    const std::vector<std::string> list = DrawnTexts(Grid());
    EXPECT_TRUE(Contains(list, "Вызывающий - описание")) << "the header stays Russian";
    EXPECT_TRUE(Contains(list, "Biuro Zażółć"));

    Media()->ABookImageClick(nullptr);
    TAddressBook* book = nullptr;
    for (int i = 0; i < Screen->FormCount(); ++i)
        if (auto* b = dynamic_cast<TAddressBook*>(Screen->Forms(i))) book = b;
    ASSERT_NE(book, nullptr);
    const std::vector<std::string> rows = DrawnTexts(book->ABookListEditor);
    EXPECT_TRUE(Contains(rows, "Номер")) << "the titles stay Russian";
    EXPECT_TRUE(Contains(rows, "Biuro Zażółć"));

    // A number the import took as it stood in the file, in the question.
    book->ABookListEditor->InsertRow(Utf8ToCodePage("Łódź", 1250), "", true);
    book->ABookListEditor->SetRow(book->ABookListEditor->RowCount() - 1);
    std::vector<std::string> asked;
    Respond("TQuestionDialog", [&](TCustomForm* f) {
        asked = DrawnTexts(static_cast<TQuestionDialog*>(f)->MessageLabel);
        return mrCancel;
    });
    book->DelBitBtnClick(nullptr);
    EXPECT_EQ(asked, std::vector<std::string>{"Вы точно хотите удалить запись для номера Łódź?"});
    book->Close();
}

class UserRemovalQuestion : public framestest::FramesUiTest {};

TEST_F(UserRemovalQuestion, NamesThePolishUserInEveryLanguage) {
    const char* const expected[] = {"Dane użytkownika Paweł zostaną usunięte.", "User data Paweł will be removed.",
                                    "Данные пользователя Paweł будут удалены."};
    for (int language = 1; language <= 3; ++language) {
        SCOPED_TRACE(language);
        yorde::test::ProgramLanguageScope lang(language);
        Owned<TQuestionDialog> dialog(new TQuestionDialog(nullptr));
        dialog->SetUserRemovalQuestion(kName);
        EXPECT_EQ(DrawnTexts(dialog->MessageLabel), std::vector<std::string>{expected[language - 1]});
        EXPECT_TRUE(yorde::test::TextsThatDoNotFit(dialog.get()).empty());
    }
}

}  // namespace
