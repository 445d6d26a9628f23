// Every dialog in the three languages with its longest texts: each text fits
// its control and the picture shows the dialog. YORDE_SHOT_DIR keeps the
// pictures for a person to look at.
#include "DialogsFixture.h"

#include "rtl/Languages.h"
#include "workstation/Unitannoun.h"
#include "workstation/Unitdelete.h"
#include "workstation/Unitmessage.h"
#include "workstation/Unitquestion.h"

#include <functional>

using namespace dialogstest;

namespace {

void shoot(TCustomForm* Form, const std::string& Name, int Language) {
    ExpectTextsFitAndShown(Form, ShotPath(Name + "_" + LanguageNumbered(Language)->Code + ".png"));
}

}  // namespace

class DialogShots : public DialogTest {};

TEST_F(DialogShots, MessageDialogs) {
    const std::pair<const char*, std::function<void(TMessageDialog*)>> cases[] = {
        {"message_no_admin", [](TMessageDialog* d) { d->SetUsersMessage(0); }},
        {"message_db_error", [](TMessageDialog* d) { d->SetUsersMessage(7); }},
        {"message_field_rule", [](TMessageDialog* d) { d->SetFieldRuleMessage(4); }},
        {"message_admin_create", [](TMessageDialog* d) { d->SetAdminCreateError(); }},
        {"message_announce", [](TMessageDialog* d) { d->SetAnnouncementMessage(2); }},
        {"message_libsnd", [](TMessageDialog* d) { d->SetAnnouncementMessage(3); }},
        {"message_export", [](TMessageDialog* d) { d->SetMediaMessage(5); }},
        {"message_export_missing", [](TMessageDialog* d) { d->SetMediaMessage(4); }},
        {"message_remove_admin", [](TMessageDialog* d) { d->SetUsersMessage(4); }},
        {"message_users_file", [](TMessageDialog* d) { d->SetUsersFileMessage("/opt/yorde/users.conf", 2); }},
        {"message_users_file_long",
         [](TMessageDialog* d) {
             d->SetUsersFileMessage("/opt/rejestratorrozmowtelefonicznychcentraliabonenckiej/users.conf", 4);
         }},
    };
    for (int language = 1; language <= LanguageCount; ++language) {
        ProgramLanguageScope lang(language);
        for (const auto& [name, set] : cases) {
            Owned<TMessageDialog> dialog(NewForm<TMessageDialog>(nullptr));
            dialog->SetCaption("Info");
            set(dialog.get());
            shoot(dialog.get(), name, language);
        }
    }
}

TEST_F(DialogShots, QuestionDeleteAndSlotDialogs) {
    const char* const deleteTexts[] = {"Czy na pewno usunąć to nagranie?", "Are you sure to delete this recording?",
                                       "Вы действительно хотите удалить эту запись?"};
    for (int language = 1; language <= LanguageCount; ++language) {
        ProgramLanguageScope lang(language);
        Owned<TQuestionDialog> question(NewForm<TQuestionDialog>(nullptr));
        question->SetUserRemovalQuestion("kowalski_jan");
        shoot(question.get(), "question_removal", language);
        Owned<TQuestionDialog> noAdmin(NewForm<TQuestionDialog>(nullptr));
        noAdmin->SetUsersQuestion(0);
        shoot(noAdmin.get(), "question_no_admin", language);

        Owned<TDeleteDialog> remove(
            NewForm<TDeleteDialog>(nullptr, InLanguage(language, ForLanguage(language, deleteTexts))));
        shoot(remove.get(), "delete", language);

        Owned<TAnnounDialog> slot(NewForm<TAnnounDialog>(nullptr));
        shoot(slot.get(), "announcement", language);
    }
}
