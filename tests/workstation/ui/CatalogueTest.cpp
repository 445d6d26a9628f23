// The texts the catalogue setters compose, in the three languages.
#include "DialogsFixture.h"

#include "rtl/Languages.h"
#include "workstation/Unitmessage.h"
#include "workstation/Unitquestion.h"

#include <functional>
#include <vector>

using namespace dialogstest;

namespace {

using Setter = std::function<void(TMessageDialog*)>;

// Every message the catalogues know, by setter and code.
std::vector<std::pair<std::string, Setter>> allMessages() {
    std::vector<std::pair<std::string, Setter>> all;
    auto add = [&](const char* name, int count, void (TMessageDialog::*set)(int)) {
        for (int code = 0; code < count; ++code)
            all.emplace_back(std::string(name) + "(" + std::to_string(code) + ")",
                             [set, code](TMessageDialog* d) { (d->*set)(code); });
    };
    add("SetUsersMessage", 8, &TMessageDialog::SetUsersMessage);
    add("SetFieldRuleMessage", 5, &TMessageDialog::SetFieldRuleMessage);
    add("SetAccountMessage", 3, &TMessageDialog::SetAccountMessage);
    add("SetAnnouncementMessage", 4, &TMessageDialog::SetAnnouncementMessage);
    add("SetMediaMessage", 6, &TMessageDialog::SetMediaMessage);
    all.emplace_back("SetAdminCreateError", [](TMessageDialog* d) { d->SetAdminCreateError(); });
    for (int reason = 0; reason < 5; ++reason)
        all.emplace_back("SetUsersFileMessage(" + std::to_string(reason) + ")",
                         [reason](TMessageDialog* d) { d->SetUsersFileMessage("/opt/yorde/users.conf", reason); });
    return all;
}

AnsiString messageText(int language, const Setter& set) {
    ProgramLanguageScope lang(language);
    Owned<TMessageDialog> dialog(NewForm<TMessageDialog>(nullptr));
    set(dialog.get());
    return dialog->MessageLabel->Caption();
}

AnsiString questionText(int language, const std::function<void(TQuestionDialog*)>& set) {
    ProgramLanguageScope lang(language);
    Owned<TQuestionDialog> dialog(NewForm<TQuestionDialog>(nullptr));
    set(dialog.get());
    return dialog->MessageLabel->Caption();
}

}  // namespace

class Catalogue : public DialogTest {};

TEST_F(Catalogue, ComposesTheUsersAndFieldRuleSentences) {
    const char* expected[][3] = {
        {"Brak zdefiniowanych użytkowników.\nAby kontynuować utwórz konto administratora.",
         "No users defined.\nCreate an admin account to continue.",
         "Пользователи не определены.\nЧтобы продолжить, создайте учётную запись администратора."},
        {"Taki użytkownik już istnieje. Zastąpić?.", "User already exists. Replace it?.",
         "Такой пользователь уже существует. Заменить?."},
        {"Nazwa użytkownika jest za krótka.\nUżyj 2-20 znaków.", "The username is too short.\nUse 2-20 characters.",
         "Слишком короткое имя пользователя.\nИспользуйте 2-20 символов."},
        {"Hasło jest za krótkie.\nUżyj 3-20 znaków.", "The passwod is too short.\nUse 3-20 characters.",
         "Слишком короткий пароль.\nИспользуйте 3-20 символов."},
        {"Wystąpił błąd podczas operacji w bazie danych.", "An error occurred during an operation in the database.",
         "Произошла ошибка при выполнении операции с базой данных."},
    };
    const Setter setters[] = {
        [](TMessageDialog* d) { d->SetUsersMessage(0); }, [](TMessageDialog* d) { d->SetUsersMessage(2); },
        [](TMessageDialog* d) { d->SetFieldRuleMessage(0); }, [](TMessageDialog* d) { d->SetFieldRuleMessage(1); },
        [](TMessageDialog* d) { d->SetUsersMessage(7); }};
    for (int i = 0; i < 5; ++i)
        for (int language = 1; language <= LanguageCount; ++language)
            EXPECT_EQ(messageText(language, setters[i]), InLanguage(language, expected[i][language - 1]))
                << "case " << i << ", language " << language;
}

TEST_F(Catalogue, EveryMessageIsTranslatedAndEndsWithTheFullStop) {
    for (const auto& [name, set] : allMessages()) {
        const AnsiString polish = messageText(1, set);
        ASSERT_FALSE(polish.empty()) << name;
        for (int language = 1; language <= LanguageCount; ++language) {
            const AnsiString text = language == 1 ? polish : messageText(language, set);
            EXPECT_EQ(text.back(), '.') << name << " in language " << language;
            // A translation that ends with its own full stop gets no second one.
            EXPECT_NE(text.substr(text.size() - 2), "..") << name << " in language " << language;
            EXPECT_EQ(text.find('\\'), AnsiString::npos) << name << ": an undecoded escape";
            // A missing translation would fall back to Polish.
            if (language > 1) {
                EXPECT_NE(text, polish) << name << " in language " << language;
            }
        }
    }
    // The announcements begin on the second line.
    for (int code = 0; code < 4; ++code)
        EXPECT_EQ(messageText(2, [code](TMessageDialog* d) { d->SetAnnouncementMessage(code); }).front(), '\n');
}

TEST_F(Catalogue, CodesOutsideATableLeaveTheLabelEmpty) {
    const Setter outside[] = {[](TMessageDialog* d) { d->SetUsersMessage(8); },
                              [](TMessageDialog* d) { d->SetUsersMessage(-1); },
                              [](TMessageDialog* d) { d->SetFieldRuleMessage(5); },
                              [](TMessageDialog* d) { d->SetAccountMessage(3); },
                              [](TMessageDialog* d) { d->SetAnnouncementMessage(4); },
                              [](TMessageDialog* d) { d->SetMediaMessage(6); },
                              [](TMessageDialog* d) { d->SetUsersFileMessage("users.conf", 5); }};
    for (const Setter& set : outside) EXPECT_EQ(messageText(2, set), "");
    EXPECT_EQ(questionText(2, [](TQuestionDialog* d) { d->SetUsersQuestion(7); }), "");
}

TEST_F(Catalogue, QuestionsHaveTheirOwnNoAdminTextAndAFullStopOnlyForCodeOne) {
    EXPECT_EQ(questionText(2, [](TQuestionDialog* d) { d->SetUsersQuestion(0); }),
              "No users defined.\nCreate admin account to continue");
    EXPECT_EQ(questionText(1, [](TQuestionDialog* d) { d->SetUsersQuestion(0); }),
              InLanguage(1, "Brak zdefiniowanych użytkowników.\nStwórz konto administratora, aby kontynuować."));
    EXPECT_EQ(questionText(2, [](TQuestionDialog* d) { d->SetUsersQuestion(1); }), "Too many users.");
    EXPECT_EQ(questionText(2, [](TQuestionDialog* d) { d->SetUsersQuestion(2); }), "User already exists. Replace it?");
    EXPECT_EQ(questionText(3, [](TQuestionDialog* d) { d->SetUsersQuestion(3); }),
              InLanguage(3, "Данные будут изменены. Выполнить?"));
    for (int code = 0; code <= 6; ++code) {
        auto set = [code](TQuestionDialog* d) { d->SetUsersQuestion(code); };
        const AnsiString polish = questionText(1, set);
        EXPECT_NE(questionText(2, set), polish) << code;
        EXPECT_NE(questionText(3, set), polish) << code;
    }
}

TEST_F(Catalogue, TheUserRemovalQuestionPutsTheNameBetweenTheTwoTexts) {
    const char* expected[] = {"Dane użytkownika jan.k zostaną usunięte.", "User data jan.k will be removed.",
                              "Данные пользователя jan.k будут удалены."};
    for (int language = 1; language <= LanguageCount; ++language)
        EXPECT_EQ(questionText(language, [](TQuestionDialog* d) { d->SetUserRemovalQuestion("jan.k"); }),
                  InLanguage(language, ForLanguage(language, expected)));
}

TEST_F(Catalogue, TheAdminCreateErrorGrowsTheDialogInRussianOnly) {
    for (int language = 1; language <= LanguageCount; ++language) {
        ProgramLanguageScope lang(language);
        Owned<TMessageDialog> dialog(NewForm<TMessageDialog>(nullptr));
        const int top = dialog->ImageOK->Top(), labelHeight = dialog->MessageLabel->Height();
        const int height = dialog->Height();
        dialog->SetAdminCreateError();
        if (language == 3) {
            EXPECT_EQ(dialog->ImageOK->Top(), 96);
            EXPECT_EQ(dialog->MessageLabel->Height(), 81);
            EXPECT_EQ(dialog->Height(), 170);
            EXPECT_EQ(dialog->MessageLabel->Font()->Charset(), RUSSIAN_CHARSET);
        } else {
            EXPECT_EQ(dialog->ImageOK->Top(), top);
            EXPECT_EQ(dialog->MessageLabel->Height(), labelHeight);
            EXPECT_EQ(dialog->Height(), height);
        }
    }
}

// The users file stands on a line of its own between the heading and the
// reason; a long name widens the dialog rather than running out of it.
TEST_F(Catalogue, TheUsersFileMessageNamesTheFileOnItsOwnLine) {
    const char* expected[] = {"Nie można używać pliku użytkowników:\n/opt/yorde/users.conf\ndysk jest pełny.",
                              "The users file cannot be used:\n/opt/yorde/users.conf\nthe disk is full.",
                              "Невозможно использовать файл пользователей:\n/opt/yorde/users.conf\nдиск заполнен."};
    for (int language = 1; language <= LanguageCount; ++language)
        EXPECT_EQ(messageText(language, [](TMessageDialog* d) { d->SetUsersFileMessage("/opt/yorde/users.conf", 3); }),
                  InLanguage(language, ForLanguage(language, expected)));

    ProgramLanguageScope lang(2);
    Owned<TMessageDialog> dialog(NewForm<TMessageDialog>(nullptr));
    const int width = dialog->ClientWidth(), height = dialog->ClientHeight();
    // No place to break the name but its slashes.
    const AnsiString longName = "/opt/rejestratorrozmowtelefonicznychcentraliabonenckiej/users.conf";
    dialog->SetUsersFileMessage(longName, 0);
    EXPECT_GT(dialog->ClientWidth(), width);
    EXPECT_GT(dialog->ClientHeight(), height);
    // The OK button stays centred below the text.
    EXPECT_NEAR(dialog->ImageOK->Left() + dialog->ImageOK->Width() / 2, dialog->ClientWidth() / 2, 2);
    EXPECT_GT(dialog->ImageOK->Top(), dialog->MessageLabel->Top() + dialog->MessageLabel->Height() - 1);
    EXPECT_TRUE(TextsThatDoNotFit(dialog.get()).empty());
}
