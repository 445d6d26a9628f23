// Screenshots of forms that were never shown.
#include "MenusTestSupport.h"

#include "qt/QtPlatform.h"
#include "qt/QtScreenshots.h"
#include "vcl/StdCtrls.h"

#include <gtest/gtest.h>

#include <QImage>

TEST(Screenshot, FormNeverShownIsSavedAsItWouldLook) {
    Owned<TForm> form(new TForm(nullptr));
    form->SetBorderStyle(bsDialog);
    form->SetClientSize(200, 120);
    form->SetColor(TColor(0x6F8A91));
    auto* panel = new TPanel(form.get());
    panel->SetParent(form.get());
    panel->SetBounds(20, 20, 100, 50);
    panel->SetColor(clYellow);
    panel->SetCaption("Panel");
    auto* label = new TLabel(form.get());
    label->SetParent(form.get());
    label->SetBounds(20, 90, 150, 20);
    label->SetCaption("Never shown");

    std::string path = ShotPath("never-shown.png");
    ASSERT_TRUE(yorde::qt::SaveScreenshot(form.get(), AnsiString(path)));
    EXPECT_FALSE(form->Visible());
    QImage shot(QString::fromStdString(path));
    ASSERT_FALSE(shot.isNull());
    EXPECT_EQ(shot.width(), 200);
    EXPECT_EQ(shot.height(), 120);
    EXPECT_EQ(shot.pixel(5, 5) & 0xFFFFFFu, 0x918A6Fu);    // the form's colour
    EXPECT_EQ(shot.pixel(30, 60) & 0xFFFFFFu, 0xFFFF00u);  // inside the panel
}

TEST(Screenshot, EveryFormCanBeSavedAtOnce) {
    TTempFolder tmp("yorde-shots");
    const std::string& folder = tmp.Root();
    Owned<TForm> named(new TForm(nullptr));
    named->SetName("AddressBook");
    Owned<TForm> first(new TForm(nullptr));
    Owned<TForm> second(new TForm(nullptr));
    std::vector<AnsiString> files = yorde::qt::SaveAllScreenshots(AnsiString(folder));
    auto has = [&](const std::string& name) {
        return std::find(files.begin(), files.end(), AnsiString(folder + name)) != files.end();
    };
    EXPECT_TRUE(has("AddressBook.png"));
    EXPECT_TRUE(has("TForm.png"));
    EXPECT_TRUE(has("TForm-2.png"));
    for (const AnsiString& f : files) EXPECT_FALSE(QImage(QString::fromStdString(f)).isNull()) << f;
}
