// Texts are code-page bytes shown by the effective font charset.
#include "CanvasRecorder.h"
#include "VclTestSupport.h"

#include "qt/QtGridPeer.h"
#include "qt/QtPlatform.h"
#include "rtl/MixedText.h"
#include "vcl/ComboBox.h"
#include "vcl/ExtCtrls.h"
#include "vcl/Grids.h"
#include "vcl/StdCtrls.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>

namespace {

TEST(CodePages, PolishAndRussianTextsShowInOneWindowByFontCharset) {
    HookScope hooks;
    const AnsiString polish = Utf8ToCodePage("Zażółć gęślą jaźń", 1250);
    const AnsiString russian = Utf8ToCodePage("Съешь же ещё этих булок", 1251);
    Owned<TForm> form(new TForm(nullptr));
    form->SetClientSize(360, 170);
    form->SetCaption(Utf8ToCodePage("Okno – próba", 1250));
    auto* plLabel = Put<TLabel>(form.get(), form.get(), 10, 10, 340, 20);
    plLabel->SetCaption(polish);
    auto* ruPanel = Put<TPanel>(form.get(), form.get(), 10, 35, 340, 95);
    ruPanel->Font()->SetCharset(RUSSIAN_CHARSET);
    ruPanel->SetCaption(russian);
    ruPanel->SetAlignment(taLeftJustify);
    // An edit showing a translated text follows the charset; one holding
    // user data shows the ANSI code page in a Russian panel too.
    auto* ruEdit = Put<TEdit>(form.get(), ruPanel, 5, 5, 330, 21);
    ruEdit->SetUserData(false);
    ruEdit->SetText(russian);
    auto* dataEdit = Put<TEdit>(form.get(), ruPanel, 5, 38, 330, 21);
    dataEdit->SetText(polish);
    auto* ruCheck = Put<TCheckBox>(form.get(), ruPanel, 5, 70, 330, 20);
    ruCheck->SetCaption(russian);
    auto* plEdit = Put<TEdit>(form.get(), form.get(), 10, 140, 340, 21);
    plEdit->Font()->SetCharset(EASTEUROPE_CHARSET);
    plEdit->SetText(polish + AnsiString("\0hidden", 7));
    form->Show();

    EXPECT_EQ(static_cast<QLineEdit*>(yorde::qt::WidgetOf(ruEdit))->text(),
              QString::fromUtf8("Съешь же ещё этих булок"));
    EXPECT_EQ(static_cast<QLineEdit*>(yorde::qt::WidgetOf(dataEdit))->text(), QString::fromUtf8("Zażółć gęślą jaźń"));
    EXPECT_EQ(static_cast<QCheckBox*>(yorde::qt::WidgetOf(ruCheck))->text(),
              QString::fromUtf8("Съешь же ещё этих булок"));
    // A NUL byte ends the shown text; the stored bytes keep everything.
    EXPECT_EQ(static_cast<QLineEdit*>(yorde::qt::WidgetOf(plEdit))->text(), QString::fromUtf8("Zażółć gęślą jaźń"));
    EXPECT_EQ(plEdit->Text().size(), polish.size() + 7);
    EXPECT_EQ(yorde::qt::WidgetOf(form.get())->windowTitle(), QString::fromUtf8("Okno – próba"));
    std::string path = ShotPath("codepages-polish-russian.png");
    EXPECT_TRUE(yorde::qt::SaveScreenshot(form.get(), path));
    EXPECT_FALSE(QImage(QString::fromStdString(path)).isNull());
}

TEST(CodePages, AChangedCharsetRedecodesTheTextsOfTheControlAndItsFollowers) {
    HookScope hooks;
    const AnsiString bytes = Utf8ToCodePage("Łódź", 1250);
    Owned<TForm> form(new TForm(nullptr));
    auto* panel = Put<TPanel>(form.get(), form.get(), 0, 0, 200, 100);
    auto* edit = Put<TEdit>(form.get(), panel, 5, 5, 150, 21);
    auto* own = Put<TEdit>(form.get(), panel, 5, 40, 150, 21);
    auto* data = Put<TEdit>(form.get(), panel, 5, 75, 150, 21);
    edit->SetUserData(false);
    own->SetUserData(false);
    own->Font()->SetName("Verdana");
    edit->SetText(bytes);
    own->SetText(bytes);
    data->SetText(bytes);
    form->Show();
    auto* line = static_cast<QLineEdit*>(yorde::qt::WidgetOf(edit));
    auto* ownLine = static_cast<QLineEdit*>(yorde::qt::WidgetOf(own));
    auto* dataLine = static_cast<QLineEdit*>(yorde::qt::WidgetOf(data));
    EXPECT_EQ(line->text(), QString::fromUtf8("Łódź"));
    form->Font()->SetCharset(RUSSIAN_CHARSET);
    // The same bytes read as Windows-1251.
    EXPECT_EQ(line->text(), QString::fromStdString(CodePageToUtf8(bytes, 1251)));
    EXPECT_EQ(ownLine->text(), QString::fromUtf8("Łódź"));
    EXPECT_EQ(dataLine->text(), QString::fromUtf8("Łódź")) << "user data keeps the ANSI code page";
    EXPECT_EQ(edit->Text(), bytes);
    form->Font()->SetCharset(DEFAULT_CHARSET);
    EXPECT_EQ(line->text(), QString::fromUtf8("Łódź"));
    // Marking a control re-decodes its text at once.
    form->Font()->SetCharset(RUSSIAN_CHARSET);
    data->SetUserData(false);
    EXPECT_EQ(dataLine->text(), QString::fromStdString(CodePageToUtf8(bytes, 1251)));
}

TEST(CodePages, AFormsCaptionCodePageDecodesItsTitleOnly) {
    HookScope hooks;
    const AnsiString polish = Utf8ToCodePage("Błąd", 1250);
    const AnsiString russian = Utf8ToCodePage("Ошибка", 1251);
    Owned<TForm> form(new TForm(nullptr));
    form->Font()->SetCharset(RUSSIAN_CHARSET);
    auto* label = Put<TLabel>(form.get(), form.get(), 10, 10, 100, 20);
    label->SetCaption(russian);
    form->SetCaption(polish);
    form->SetCaptionCodePage(1250);
    form->Show();
    QWidget* window = yorde::qt::WidgetOf(form.get());
    EXPECT_EQ(window->windowTitle(), QString::fromUtf8("Błąd"));
    // The children still follow the font.
    EXPECT_EQ(label->CodePage(), 1251);
    // A charset change leaves the fixed title alone; new caption bytes keep the code page.
    form->Font()->SetCharset(GREEK_CHARSET);
    EXPECT_EQ(window->windowTitle(), QString::fromUtf8("Błąd"));
    form->SetCaption(Utf8ToCodePage("Zażółć", 1250));
    EXPECT_EQ(window->windowTitle(), QString::fromUtf8("Zażółć"));
    // 0 follows the font again.
    form->Font()->SetCharset(RUSSIAN_CHARSET);
    form->SetCaption(russian);
    EXPECT_EQ(window->windowTitle(), QString::fromStdString(CodePageToUtf8(russian, 1250)));
    form->SetCaptionCodePage(0);
    EXPECT_EQ(window->windowTitle(), QString::fromUtf8("Ошибка"));
    EXPECT_EQ(form->Caption(), russian);
}

// A Russian prompt and a Polish name in one label, one check box and one
// form of the Russian language.
TEST(CodePages, AMixedTextShowsEachPartInItsOwnCodePage) {
    HookScope hooks;
    const AnsiString prompt = Utf8ToCodePage("Вход: ", 1251);
    const AnsiString name = Utf8ToCodePage("Zażółć", 1250);
    const TMixedText mixed = TMixedText().Translated(prompt).UserText(name).Translated("!");
    Owned<TForm> form(new TForm(nullptr));
    form->Font()->SetCharset(RUSSIAN_CHARSET);
    form->SetClientSize(300, 80);
    auto* label = Put<TLabel>(form.get(), form.get(), 10, 10, 20, 20);
    auto* check = Put<TCheckBox>(form.get(), form.get(), 10, 40, 280, 20);
    label->SetMixedText(mixed);
    check->SetMixedText(mixed);
    form->Show();
    const std::string shown = "Вход: Zażółć!";
    EXPECT_EQ(DrawnTexts(label), std::vector<std::string>{shown});
    EXPECT_EQ(static_cast<QCheckBox*>(yorde::qt::WidgetOf(check))->text(), QString::fromStdString(shown));
    // Code reads the bytes; the label is sized for what it shows.
    EXPECT_EQ(label->Caption(), prompt + name + "!");
    TRect needed(0, 0, 0x7FFF, 0);
    MeasureTextBlock(label->Font()->Data(), shown, needed, DT_EXPANDTABS);
    EXPECT_EQ(label->Width(), needed.Width());

    // The translated parts follow the font; the user's part stays.
    form->Font()->SetCharset(DEFAULT_CHARSET);
    EXPECT_EQ(DrawnTexts(label), std::vector<std::string>{CodePageToUtf8(prompt, 1250) + "Zażółć!"});
    // A plain text ends the mixed one, even with the same bytes.
    form->Font()->SetCharset(RUSSIAN_CHARSET);
    check->SetCaption(check->Caption());
    EXPECT_EQ(static_cast<QCheckBox*>(yorde::qt::WidgetOf(check))->text(),
              QString::fromStdString(CodePageToUtf8(prompt + name + "!", 1251)));
    // A mixed text stands only until the text changes otherwise: a pick in
    // a combo of user names shows the name.
    auto* combo = Put<TComboBox>(form.get(), form.get(), 10, 60, 200, 21);
    combo->SetUserData(true);
    combo->Items()->Add(name);
    combo->SetMixedText(mixed);
    auto* line = static_cast<QComboBox*>(yorde::qt::WidgetOf(combo))->lineEdit();
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->text(), QString::fromStdString(shown));
    combo->SetItemIndex(0);
    EXPECT_EQ(line->text(), QString::fromUtf8("Zażółć"));
    // The same bytes split otherwise show otherwise.
    label->SetMixedText(TMixedText().Translated(prompt + name + "!"));
    EXPECT_EQ(DrawnTexts(label), std::vector<std::string>{CodePageToUtf8(prompt + name + "!", 1251)});
    label->SetMixedText(mixed);
    EXPECT_EQ(DrawnTexts(label), std::vector<std::string>{shown});
    check->SetMixedText(mixed);
    EXPECT_EQ(static_cast<QCheckBox*>(yorde::qt::WidgetOf(check))->text(), QString::fromStdString(shown));
}

TEST(CodePages, AGridOfUserDataShowsItsRowsInTheAnsiCodePageAndItsTitlesInTheFonts) {
    HookScope hooks;
    yorde::qt::RegisterGridPeers();
    const AnsiString title = Utf8ToCodePage("Описание", 1251);
    const AnsiString description = Utf8ToCodePage("Biuro Zażółć", 1250);
    Owned<TForm> form(new TForm(nullptr));
    form->Font()->SetCharset(RUSSIAN_CHARSET);
    auto* grid = Put<TStringGrid>(form.get(), form.get(), 0, 0, 300, 100);
    grid->SetColCount(1);
    grid->SetFixedCols(0);
    grid->SetRowCount(2);
    grid->SetColWidths(0, 280);
    grid->SetCells(0, 0, title);
    grid->SetCells(0, 1, description);
    form->Show();
    EXPECT_EQ(DrawnTexts(grid), (std::vector<std::string>{"Описание", CodePageToUtf8(description, 1251)}))
        << "without UserData every cell is a translated text";
    grid->SetUserData(true);
    EXPECT_EQ(DrawnTexts(grid), (std::vector<std::string>{"Описание", "Biuro Zażółć"}));
    EXPECT_EQ(grid->CellCodePage(0), 1251);
    EXPECT_EQ(grid->CellCodePage(1), 1250);
}

}  // namespace
