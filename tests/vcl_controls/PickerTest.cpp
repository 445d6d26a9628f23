// Date-time pickers and masked edits.
#include "ControlsFixture.h"

#include "qt/QtPlatform.h"
#include "rtl/DateTime.h"
#include "vcl/DateTimePicker.h"
#include "vcl/Mask.h"

#include <QCheckBox>
#include <QDateTimeEdit>
#include <QLineEdit>

namespace {

using namespace yorde::test;

class PickerTest : public ControlsTest {
protected:
    TDateTimePicker* make(TDateTimeKind Kind) {
        auto* p = Put<TDateTimePicker>(10, 10, 180, 21);
        p->SetKind(Kind);
        p->OnChange = [this](TObject*) { ++changes; };
        return p;
    }
    static QDateTimeEdit* editor(TDateTimePicker* p) { return static_cast<QDateTimeEdit*>(yorde::qt::WidgetOf(p)); }

    int changes = 0;
    const TDateTime when = EncodeDateTime(2024, 2, 29, 13, 45, 10, 0);
};

TEST_F(PickerTest, ValuesFromCodeRaiseNothingAndKeepThePartsApart) {
    TDateTimePicker* date = make(dtkDate);
    date->SetDateTime(when);
    EXPECT_DOUBLE_EQ(date->DateTime(), when);
    EXPECT_DOUBLE_EQ(date->Date(), EncodeDate(2024, 2, 29));
    EXPECT_NEAR(date->Time(), EncodeTime(13, 45, 10, 0), 1e-9);
    EXPECT_EQ(editor(date)->date(), QDate(2024, 2, 29));
    EXPECT_EQ(editor(date)->displayFormat(), QString("yyyy-MM-dd"));

    date->SetDate(EncodeDate(2020, 1, 2));
    EXPECT_NEAR(date->DateTime(), EncodeDateTime(2020, 1, 2, 13, 45, 10, 0), 1e-9);
    date->SetTime(EncodeTime(8, 0, 0, 0));
    EXPECT_NEAR(date->DateTime(), EncodeDateTime(2020, 1, 2, 8, 0, 0, 0), 1e-9);

    TDateTimePicker* time = make(dtkTime);
    time->SetDateTime(when);
    EXPECT_EQ(editor(time)->time(), QTime(13, 45, 10));
    EXPECT_EQ(editor(time)->displayFormat(), QString("hh:mm:ss"));
    // A format of the class library's letters: "n" is minutes, "m" after an hour too.
    time->SetFormat("h:n 'h' hh:m");
    EXPECT_EQ(editor(time)->displayFormat(), QString("h:m 'h' hh:m"));
    date->SetFormat("dd.mm.yy");
    EXPECT_EQ(editor(date)->displayFormat(), QString("dd.MM.yy"));
    EXPECT_EQ(changes, 0);
}

TEST_F(PickerTest, TheUsersChangeKeepsThePartThePickerDoesNotShow) {
    TDateTimePicker* date = make(dtkDate);
    date->SetDateTime(EncodeDateTime(2024, 2, 15, 13, 45, 10, 0));
    editor(date)->setCurrentSection(QDateTimeEdit::DaySection);
    PressKey(date, VK_UP);
    EXPECT_EQ(changes, 1);
    EXPECT_NEAR(date->DateTime(), EncodeDateTime(2024, 2, 16, 13, 45, 10, 0), 1e-9);

    TDateTimePicker* time = make(dtkTime);
    time->SetDateTime(when);
    editor(time)->setCurrentSection(QDateTimeEdit::HourSection);
    PressKey(time, VK_DOWN);
    EXPECT_EQ(changes, 2);
    EXPECT_NEAR(time->DateTime(), EncodeDateTime(2024, 2, 29, 12, 45, 10, 0), 1e-6);
}

TEST_F(PickerTest, TheCheckBoxIsTheUsersToo) {
    TDateTimePicker* p = make(dtkDate);
    p->SetShowCheckbox(true);
    p->SetChecked(false);
    EXPECT_FALSE(p->Checked());
    EXPECT_EQ(changes, 0);
    auto* box = editor(p)->findChild<QCheckBox*>();
    ASSERT_TRUE(box);
    EXPECT_TRUE(box->isVisible());
    box->click();
    EXPECT_TRUE(p->Checked());
    EXPECT_EQ(changes, 1);
}

// ---------------------------------------------------------------------------

TEST_F(ControlsTest, MaskEditBehavesAsAnEditAndSeesEnterAs13) {
    auto* edit = Put<TMaskEdit>(10, 10, 120, 21);
    edit->SetPasswordChar('*');
    edit->SetEditMask("!99/99/0000;1;_");
    std::vector<int> keys;
    int changes = 0;
    edit->OnKeyPress = [&](TObject*, char& Key) { keys.push_back(Key); };
    edit->OnChange = [&](TObject*) { ++changes; };
    TypeText(edit, "ab");
    PressKey(edit, VK_RETURN);
    EXPECT_EQ(keys, (std::vector<int>{'a', 'b', 13}));
    EXPECT_EQ(edit->Text(), "ab");
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(edit->EditMask(), "!99/99/0000;1;_");
    auto* line = static_cast<QLineEdit*>(yorde::qt::WidgetOf(edit));
    EXPECT_EQ(line->echoMode(), QLineEdit::Password);
    EXPECT_TRUE(edit->ClassType()->FindProperty("EditMask"));
}

}  // namespace
