// The tray icon: minimising to the tray with and without a tray, what the
// icon shows, and clicks on it.
#include "MenusTestSupport.h"

#include "FakeTray.h"
#include "VclInput.h"

#include "qt/QtPlatform.h"
#include "vcl/TrayIcon.h"

#include <gtest/gtest.h>

#include <QWidget>

namespace {

struct TrayFixture {
    explicit TrayFixture(bool Available) : fake(Available), state(&fake.State()) {
        form.reset(new TForm(nullptr));
        form->OnShow = [this](TObject*) { ++shows; };
        tray = new TTrayIcon(form.get());
        tray->SetHint("Yorde001");
        tray->OnMinimize = [this](TObject*) { log.push_back("minimize"); };
        tray->OnRestore = [this](TObject*) { log.push_back("restore"); };
        tray->SetVisible(true);
        form->Show();
        window = yorde::qt::WidgetOf(form.get());
    }
    void userMinimises() {
        window->setWindowState(window->windowState() | Qt::WindowMinimized);
        yorde::test::ProcessEvents();
    }
    void userRestores() {
        window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
        yorde::test::ProcessEvents();
    }
    bool windowMinimised() const { return window->windowState() & Qt::WindowMinimized; }

    HookReset hooks;
    yorde::test::TFakeTrayScope fake;
    yorde::test::TTrayState* state;
    Owned<TForm> form;
    TTrayIcon* tray = nullptr;
    QWidget* window = nullptr;
    int shows = 0;
    std::vector<std::string> log;
};

}  // namespace

TEST(TrayIcon, WithATrayMinimisingHidesTheWindowUntilRestored) {
    TrayFixture f(true);
    ASSERT_TRUE(f.tray->InTray());
    EXPECT_TRUE(f.state->Visible);
    EXPECT_EQ(f.state->Hint, "Yorde001");

    // The minimise button goes to the tray; the form itself stays Visible.
    f.userMinimises();
    EXPECT_EQ(f.log, (std::vector<std::string>{"minimize"}));
    EXPECT_FALSE(f.window->isVisible());
    EXPECT_TRUE(f.form->Visible());
    EXPECT_EQ(f.form->WindowState(), wsNormal);
    EXPECT_TRUE(f.tray->Minimized());

    f.tray->Restore();
    yorde::test::ProcessEvents();
    EXPECT_EQ(f.log, (std::vector<std::string>{"minimize", "restore"}));
    EXPECT_TRUE(f.window->isVisible());
    EXPECT_FALSE(f.windowMinimised());
    EXPECT_EQ(f.shows, 1);

    // From code, twice in a row is once.
    f.tray->Minimize();
    f.tray->Minimize();
    EXPECT_FALSE(f.window->isVisible());
    EXPECT_EQ(f.log.size(), 3u);
    // Taking the icon away while the window is in the tray gives the window back.
    f.tray->SetVisible(false);
    EXPECT_FALSE(f.state->Visible);
    EXPECT_TRUE(f.window->isVisible());
    EXPECT_EQ(f.log, (std::vector<std::string>{"minimize", "restore", "minimize", "restore"}));
}

TEST(TrayIcon, WithoutATrayMinimisingLeavesTheWindowOnTheTaskBar) {
    TrayFixture f(false);
    EXPECT_FALSE(f.tray->InTray());

    f.userMinimises();
    EXPECT_EQ(f.log, (std::vector<std::string>{"minimize"}));
    EXPECT_TRUE(f.window->isVisible());
    EXPECT_EQ(f.form->WindowState(), wsMinimized);
    // The user brings it back from the task bar: the tray's state follows.
    f.userRestores();
    EXPECT_EQ(f.log, (std::vector<std::string>{"minimize", "restore"}));
    EXPECT_FALSE(f.tray->Minimized());
    EXPECT_EQ(f.form->WindowState(), wsNormal);

    f.tray->Minimize();
    yorde::test::ProcessEvents();
    EXPECT_TRUE(f.window->isVisible());
    EXPECT_TRUE(f.windowMinimised());
    f.tray->Restore();
    yorde::test::ProcessEvents();
    EXPECT_FALSE(f.windowMinimised());
    EXPECT_EQ(f.form->WindowState(), wsNormal);
    EXPECT_EQ(f.log, (std::vector<std::string>{"minimize", "restore", "minimize", "restore"}));
}

TEST(TrayIcon, WithoutHideTheWindowIsMinimisedBesideTheIcon) {
    TrayFixture f(true);
    f.tray->SetHide(false);
    f.userMinimises();
    EXPECT_TRUE(f.window->isVisible());
    EXPECT_TRUE(f.windowMinimised());
    EXPECT_TRUE(f.state->Visible);
    f.tray->Restore();
    yorde::test::ProcessEvents();
    EXPECT_FALSE(f.windowMinimised());
    EXPECT_EQ(f.log, (std::vector<std::string>{"minimize", "restore"}));
}

TEST(TrayIcon, ShowsTheListsIconAndAnswersClicks) {
    TrayFixture f(true);
    auto* icons = new TImageList(f.form.get());
    icons->SetWidth(4);
    icons->SetHeight(4);
    TBitmap img;
    img.SetSize(8, 4);
    for (int x = 0; x < 8; ++x)
        for (int y = 0; y < 4; ++y) img.SetPixelArgb(x, y, x < 4 ? 0xFF112233u : 0xFF445566u);
    icons->Add(&img, nullptr);
    f.tray->SetIcons(icons);
    f.tray->SetIconIndex(1);
    EXPECT_EQ(f.state->IconWidth, 4);
    EXPECT_EQ(f.state->IconPixel, 0xFF445566u);
    int sets = f.state->IconSets;
    f.tray->Update();
    EXPECT_EQ(f.state->IconSets, sets + 1);

    // The menu on the right button's release, for the tray icon.
    auto* menu = new TPopupMenu(f.form.get());
    f.tray->SetPopupMenu(menu);
    std::vector<TPoint> popups;
    SetPopupMenuHook([&](TPopupMenu* m, int x, int y) -> TMenuItem* {
        EXPECT_EQ(m->PopupComponent(), f.tray);
        popups.push_back(TPoint(x, y));
        return nullptr;
    });
    TTrayInput::ContextMenu(f.tray, 700, 10);
    EXPECT_EQ(popups, (std::vector<TPoint>{TPoint(700, 10)}));

    // With RestoreOn imNone a click is only the program's business.
    f.tray->SetRestoreOn(imNone);
    int clicks = 0, doubles = 0;
    f.tray->OnClick = [&](TObject*) { ++clicks; };
    f.tray->OnDblClick = [&](TObject*) {
        ++doubles;
        throw Exception("from the handler");
    };
    f.tray->Minimize();
    TTrayInput::Click(f.tray);
    TTrayInput::DoubleClick(f.tray);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(doubles, 1);
    EXPECT_TRUE(f.tray->Minimized());
    EXPECT_EQ(f.hooks.errors, (std::vector<AnsiString>{"from the handler"}));
    f.tray->OnDblClick = nullptr;
    f.tray->SetRestoreOn(imDoubleClick);
    TTrayInput::DoubleClick(f.tray);
    EXPECT_FALSE(f.tray->Minimized());
    EXPECT_TRUE(f.window->isVisible());
}
