// The main window at work: the language switch with the restart, the tabs
// and the resume from sleep.
#include "MainWindowFixture.h"

#include "FakeTray.h"

#include "localization/Lxcomp.h"
#include "qt/QtPlatform.h"
#include "rtl/Folders.h"
#include "rtl/Languages.h"
#include "rtl/Paths.h"
#include "shell/Power.h"
#include "vcl/ComCtrls.h"
#include "workstation/Mainunit.h"
#include "workstation/Unitconnect.h"
#include "workstation/Unitfiltr.h"
#include "workstation/Unitmessage.h"
#include "workstation/Unitstatus.h"
#include "workstation/Unitusers.h"

#include <QWidget>

#include <cstring>
#include <filesystem>

using namespace mainwindowtest;

namespace {

constexpr int kRussianCharset = 204;

}  // namespace

class MainWindow : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        StoreAdmin();
    }
};

TEST_F(MainWindow, ConfirmingALanguageLeavesOnlyItsMarkerAndRestarts) {
    program.Write("ru.lang", "");  // left over; pl.lang is made at start
    program.Write("pl.lang", "");
    CreateMainWindow();
    MainForm->Show();
    MainForm->ImageENClick(nullptr);

    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].Class, "TMessageDialog");
    EXPECT_EQ(seen[0].Caption, "Info");
    EXPECT_EQ(seen[0].Text, "Close and run program again to change language");
    EXPECT_TRUE(program.Exists("en.lang"));
    EXPECT_FALSE(program.Exists("pl.lang"));
    EXPECT_FALSE(program.Exists("ru.lang"));
    // Saved and cleaned up as at exit.
    EXPECT_FALSE(program.Exists("tmp.db"));
    EXPECT_FALSE(MainForm->ServerSocketOrvia->Active());
    ASSERT_EQ(launches.size(), 1u);
    // The helper shipped beside the program.
    EXPECT_EQ(ExtractFileName(launches[0].Program), "restart");
    EXPECT_EQ(launches[0].Args, std::vector<AnsiString>{ProgramDir()});
    EXPECT_TRUE(Application->Terminated());
}

// A click on a flag of the window switches to that flag's language.
class LanguageFlag : public MainWindow, public ::testing::WithParamInterface<int> {};

TEST_P(LanguageFlag, LeavesOnlyTheMarkerOfItsLanguage) {
    const char* const markers[] = {"pl.lang", "en.lang", "ru.lang"};
    for (const char* m : markers) program.Write(m, "");
    CreateMainWindow();
    MainForm->Show();
    auto* flag = dynamic_cast<TImage*>(MainForm->FindComponent(LanguageNumbered(GetParam())->Flag));
    ASSERT_NE(flag, nullptr);
    yorde::test::Click(flag);
    for (int language = 1; language <= LanguageCount; ++language)
        EXPECT_EQ(program.Exists(yorde::test::ForLanguage(language, markers)), language == GetParam()) << language;
    EXPECT_TRUE(Application->Terminated());
}

INSTANTIATE_TEST_SUITE_P(Languages, LanguageFlag, ::testing::Range(1, LanguageCount + 1));

TEST_F(MainWindow, TheQuestionIsShownInTheNewLanguageWithItsCharset) {
    CreateMainWindow();
    MainForm->Show();
    MainForm->ImageRUClick(nullptr);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].Text, InLanguage(3, "Чтобы сменить язык, закройте и снова запустите программу"));
    EXPECT_EQ(seen[0].Charset, kRussianCharset);
    EXPECT_TRUE(program.Exists("ru.lang"));
}

TEST_F(MainWindow, DecliningALanguageRestoresTheTextsAndWritesNoMarker) {
    CreateMainWindow();
    MainForm->Show();
    const AnsiString polishCaption = MainForm->Caption();
    // The dialog's close box: anything but OK.
    Respond("TMessageDialog", [](TCustomForm* f) {
        EXPECT_EQ(MainForm->Caption(), "Yorde001 - Veltor sp. z o.o. sp.k. - V 1.00.18 Eng");
        (void)f;
        return mrCancel;
    });
    MainForm->ImageENClick(nullptr);

    EXPECT_EQ(MainForm->Caption(), polishCaption);
    EXPECT_EQ(MainForm->Item1->Caption(), InLanguage(1, "Pokaż program"));
    EXPECT_EQ(MainForm->lxLang1->ActiveLanguage(), 1);
    EXPECT_FALSE(program.Exists("en.lang"));
    EXPECT_TRUE(program.Exists("pl.lang"));
    EXPECT_TRUE(program.Exists("tmp.db"));
    EXPECT_TRUE(launches.empty());
    EXPECT_FALSE(Application->Terminated());
}

// The chosen language's marker cannot be made (a folder took its name):
// the session's language says so, and nothing is saved, removed or
// restarted.
TEST_F(MainWindow, ALanguageThatCannotBeKeptSaysSoAndChangesNothing) {
    program.MakeDir("en.lang");
    CreateMainWindow();
    MainForm->Show();
    const AnsiString polishCaption = MainForm->Caption();
    MainForm->ImageENClick(nullptr);

    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].Text, "Close and run program again to change language");
    EXPECT_EQ(seen[1].Caption, InLanguage(1, "Błąd"));
    EXPECT_EQ(seen[1].Text, InLanguage(1, "Nie można zmienić języka: folder programu nie pozwala na zapis."));
    EXPECT_EQ(MainForm->Caption(), polishCaption);
    EXPECT_TRUE(program.Exists("pl.lang"));
    EXPECT_TRUE(std::filesystem::is_directory(program.Path("en.lang")));
    EXPECT_TRUE(program.Exists("tmp.db"));
    EXPECT_TRUE(MainForm->ServerSocketOrvia->Active());
    EXPECT_TRUE(launches.empty());
    EXPECT_FALSE(Application->Terminated());

    // The message fits its dialog in every language.
    for (int language = 1; language <= LanguageCount; ++language) {
        MainForm->lxLang1->SetActLang(language);
        Owned<TMessageDialog> message(NewForm<TMessageDialog>(nullptr));
        message->MessageLabel->Font()->SetCharset(MainForm->Font()->Charset());
        message->MessageLabel->SetCaption(MainForm->lxLang1->GetTextOrDefault("IDS_LANG_ERROR"));
        yorde::test::ExpectTextsFitAndShown(message.get(),
                                            ShotPath(temp, "language_error_" + std::to_string(language) + ".png"));
    }
    MainForm->lxLang1->SetActLang(1);
}

TEST_F(MainWindow, ATabShowsItsFrameAndTheSelectedBitmapsOfTheLanguage) {
    program.Write("en.lang", "");
    CreateMainWindow();
    MainForm->Show();
    TMainForm* f = MainForm;
    // The English tabs: users, filter and connection, each behind or selected.
    const char* const users = "TMainForm.ImageListTab/6.png";
    const char* const usersSelected = "TMainForm.ImageListTab/7.png";
    const char* const filter = "TMainForm.ImageListTab/8.png";
    const char* const filterSelected = "TMainForm.ImageListTab/9.png";
    const char* const connection = "TMainForm.ImageListTab/10.png";
    const char* const connectionSelected = "TMainForm.ImageListTab/11.png";
    EXPECT_TRUE(ShowsBitmap(f->TabImageUser, usersSelected));
    EXPECT_TRUE(ShowsBitmap(f->TabImageFiltr, filter));
    EXPECT_TRUE(ShowsBitmap(f->TabImageCon, connection));

    f->TabImageFiltrClick(nullptr);
    EXPECT_TRUE(ShowsBitmap(f->TabImageUser, users));
    EXPECT_TRUE(ShowsBitmap(f->TabImageFiltr, filterSelected));
    EXPECT_TRUE(f->FiltrFrame1->Visible());
    EXPECT_FALSE(f->UsersFrame1->Visible());
    EXPECT_FALSE(f->ConnectFrame1->Visible());
    EXPECT_EQ(f->ActiveControl(), f->FiltrFrame1->ABookCheckBox);

    f->TabImageConClick(nullptr);
    EXPECT_TRUE(ShowsBitmap(f->TabImageCon, connectionSelected));
    EXPECT_TRUE(f->ConnectFrame1->Visible());
    EXPECT_FALSE(f->FiltrFrame1->Visible());

    f->TabImageUserClick(nullptr);
    EXPECT_TRUE(ShowsBitmap(f->TabImageUser, usersSelected));
    EXPECT_TRUE(f->UsersFrame1->Visible());
    EXPECT_EQ(f->ActiveControl(), f->UsersFrame1->usersComboBox);
}

TEST_F(MainWindow, AResumeWhileNotConnectedOnlyClearsTheStatusBar) {
    CreateMainWindow();
    TStatusFrame* status = MainForm->StatusFrameBottom;
    status->StatusLabel->SetCaption("Pobieranie");
    status->StatusProgressBar->SetPosition(40);

    TMessage other;
    other.Msg = WM_POWERBROADCAST;
    other.WParam = 4;  // going to sleep
    MainForm->Dispatch(other);
    EXPECT_EQ(status->StatusProgressBar->Position(), 40);

    TResumeWatcher::RaiseResumeForTest();
    EXPECT_EQ(status->StatusLabel->Caption(), "");
    EXPECT_EQ(status->StatusProgressBar->Position(), 0);
}

namespace {

// Visible controls whose bounds leave their parent's client area.
void CollectOverhangs(TWinControl* Parent, std::vector<std::string>& Out) {
    const TRect client = Parent->ClientRect();
    for (int i = 0; i < Parent->ControlCount(); ++i) {
        TControl* c = Parent->Controls(i);
        if (!c->Visible()) continue;
        const TRect r = c->BoundsRect();
        if (r.Left < client.Left || r.Top < client.Top || r.Right > client.Right || r.Bottom > client.Bottom)
            Out.push_back(c->Name() + " in " + Parent->Name() + ": " + std::to_string(r.Left) + "," +
                          std::to_string(r.Top) + " " + std::to_string(r.Width()) + "x" + std::to_string(r.Height()) +
                          " outside " + std::to_string(client.Width()) + "x" + std::to_string(client.Height()));
        if (auto* w = dynamic_cast<TWinControl*>(c)) CollectOverhangs(w, Out);
    }
}

}  // namespace

TEST_F(MainWindow, NoControlSticksOutOfItsParent) {
    CreateMainWindow();
    MainForm->Show();
    yorde::test::ProcessEvents();
    EXPECT_EQ(MainForm->ClientHeight(), 566);
    std::vector<std::string> overhangs;
    CollectOverhangs(MainForm, overhangs);
    for (const std::string& o : overhangs) ADD_FAILURE() << o;
    EXPECT_TRUE(yorde::qt::SaveScreenshot(MainForm, ShotPath(program, "main-window.png")));
}

TEST_F(MainWindow, TheTrayMenuOffersOnlyWhatTheWindowCanDoNext) {
    yorde::test::TFakeTrayScope tray;
    CreateMainWindow();
    MainForm->Show();
    yorde::test::ProcessEvents();
    TMainForm* f = MainForm;
    QWidget* window = yorde::qt::WidgetOf(f);
    ASSERT_TRUE(f->TrayIconOrvia->InTray());
    EXPECT_TRUE(tray.State().Visible);
    EXPECT_EQ(tray.State().IconWidth, 32);
    EXPECT_FALSE(f->Item1->Enabled());  // "show": already shown
    EXPECT_TRUE(f->Item2->Enabled());

    f->Item2->Click();  // hide to the tray
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(f->Item1->Enabled());
    EXPECT_FALSE(f->Item2->Enabled());

    // A click on the icon does what the menu offers: back, then away again.
    TTrayInput::Click(f->TrayIconOrvia);
    yorde::test::ProcessEvents();
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(f->Item1->Enabled());
    EXPECT_TRUE(f->Item2->Enabled());
    TTrayInput::Click(f->TrayIconOrvia);
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(f->Item1->Enabled());
    f->Item1->Click();
    yorde::test::ProcessEvents();
    EXPECT_TRUE(window->isVisible());
}
