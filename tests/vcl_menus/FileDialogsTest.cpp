// The open and save dialogs: filters, the test hook, the real Qt dialog.
#include "MenusTestSupport.h"

#include "VclInput.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <thread>

namespace {

std::vector<std::string> Describe(const AnsiString& Filter) {
    std::vector<std::string> out;
    for (const TFileFilter& f : ParseFileFilter(Filter)) {
        std::string s = f.Description + ":";
        for (const AnsiString& m : f.Masks) s += "[" + m + "]";
        out.push_back(s);
    }
    return out;
}

// Runs Fn on the file dialog once it is open and Ready() holds. A dialog
// still open a while later is cancelled, so a failure cannot hang the run.
void AnswerDialog(
    std::function<void(QFileDialog*)> Fn, std::function<bool()> Ready = [] { return true; }, int Tries = 500) {
    auto* dlg = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (!dlg || !Ready()) {
        if (Tries > 0)
            QTimer::singleShot(10, [Fn, Ready, Tries] { AnswerDialog(Fn, Ready, Tries - 1); });
        else if (dlg)
            dlg->reject();
        return;
    }
    Fn(dlg);
    QPointer<QFileDialog> left(dlg);
    QTimer::singleShot(2000, [left] {
        if (left && left->isVisible()) left->reject();
    });
}

}  // namespace

TEST(FileDialogs, FilterTextBecomesDescriptionMaskPairs) {
    EXPECT_EQ(Describe("wav|*.wav"), (std::vector<std::string>{"wav:[*.wav]"}));
    EXPECT_EQ(Describe("CSV files (*.csv)|*.csv|All|*.*"),
              (std::vector<std::string>{"CSV files (*.csv):[*.csv]", "All:[*.*]"}));
    EXPECT_EQ(Describe("Sound| *.wav ; *.gsm;;|"), (std::vector<std::string>{"Sound:[*.wav][*.gsm]"}));
    EXPECT_TRUE(Describe("").empty());
    EXPECT_TRUE(Describe("no mask").empty());
}

TEST(FileDialogs, HookAnswersAndNoExtensionIsAddedWithoutDefaultExt) {
    HookReset hooks;
    TTempFolder tmp("yorde-dialogs");
    const std::string& folder = tmp.Root();
    auto cwd = std::filesystem::current_path();
    Owned<TForm> form(new TForm(nullptr));
    auto* save = new TSaveDialog(form.get());
    save->SetFilter("csv|*.csv");
    save->SetFileName("addressbook.csv");
    save->SetTitle("Export");
    std::vector<std::string> order;
    save->OnShow = [&](TObject*) { order.push_back("show"); };
    save->OnClose = [&](TObject*) { order.push_back("close"); };

    bool answer = true;
    SetFileDialogHook([&](TOpenDialog* d) {
        order.push_back("hook");
        EXPECT_EQ(d, save);
        EXPECT_EQ(d->FileName(), "addressbook.csv");
        // Whatever a dialog does to the current folder is undone.
        std::filesystem::current_path(folder);
        d->SetFileName(AnsiString(folder) + "book");
        return answer;
    });
    EXPECT_TRUE(save->Execute());
    EXPECT_EQ(save->FileName(), AnsiString(folder) + "book");
    EXPECT_EQ(std::filesystem::current_path(), cwd);
    EXPECT_EQ(order, (std::vector<std::string>{"show", "hook", "close"}));

    // A default extension is added to a name without one only.
    save->SetDefaultExt("csv");
    save->SetFileName("addressbook.csv");
    EXPECT_TRUE(save->Execute());
    EXPECT_EQ(save->FileName(), AnsiString(folder) + "book.csv");
    ASSERT_EQ(save->Files()->Count(), 1);
    EXPECT_EQ(save->Files()->Strings(0), AnsiString(folder) + "book.csv");

    answer = false;
    save->SetFileName("addressbook.csv");
    EXPECT_FALSE(save->Execute());
    EXPECT_EQ(std::filesystem::current_path(), cwd);
}

TEST(FileDialogs, QtDialogServesTimersAndQueuedCallsAndKeepsTheNameAsTyped) {
    HookReset hooks;
    TTempFolder tmp("yorde-dialogs");
    const std::string& folder = tmp.Root();
    std::ofstream(folder + "export") << "old";  // replaced without a question
    auto cwd = std::filesystem::current_path();
    Owned<TForm> form(new TForm(nullptr));
    auto* save = new TSaveDialog(form.get());
    save->SetFilter("wav|*.wav|All|*.*");
    save->SetFilterIndex(2);
    save->SetInitialDir(AnsiString(folder));
    save->SetTitle("Export");
    auto* timer = new TTimer(form.get());
    timer->SetInterval(10);
    int ticks = 0;
    timer->OnTimer = [&](TObject*) { ++ticks; };

    // A worker's queued call is served while the dialog is open.
    std::atomic<bool> queued{false};
    std::thread worker([&] { TThread::Queue(nullptr, [&] { queued = true; }); });

    QStringList filters;
    bool confirms = true;
    QString suffix = "x", title;
    QTimer::singleShot(0, [&] {
        AnswerDialog(
            [&](QFileDialog* dlg) {
                filters = dlg->nameFilters();
                confirms = !dlg->testOption(QFileDialog::DontConfirmOverwrite);
                suffix = dlg->defaultSuffix();
                title = dlg->windowTitle();
                // Typed by the user, without an extension.
                auto* edit = dlg->findChild<QLineEdit*>("fileNameEdit");
                ASSERT_NE(edit, nullptr);
                edit->setText(QString::fromStdString(folder + "export"));
                static_cast<QDialog*>(dlg)->accept();  // through the dialog's own checks
            },
            [&] { return ticks >= 3 && queued; });
    });
    bool chosen = save->Execute();
    worker.join();
    ASSERT_TRUE(chosen);
    EXPECT_GE(ticks, 3);
    EXPECT_TRUE(queued);
    EXPECT_EQ(filters, (QStringList{"wav (*.wav)", "All (*.*)"}));
    EXPECT_FALSE(confirms);
    EXPECT_TRUE(suffix.isEmpty());
    EXPECT_EQ(title, QString("Export"));
    EXPECT_EQ(save->FileName(), AnsiString(folder) + "export");
    EXPECT_EQ(save->FilterIndex(), 2);
    EXPECT_EQ(std::filesystem::current_path(), cwd);

    // Cancelled: false, FileName as it was.
    QTimer::singleShot(0, [] { AnswerDialog([](QFileDialog* dlg) { dlg->reject(); }); });
    EXPECT_FALSE(save->Execute());
    EXPECT_EQ(save->FileName(), AnsiString(folder) + "export");
}

namespace {

// Puts the platform's texts back into English when it goes.
struct PlatformLanguageScope {
    ~PlatformLanguageScope() { Application->SetLanguage(AnsiString()); }
};

}  // namespace

TEST(FileDialogs, TheQtDialogSpeaksThePlatformsLanguage) {
    HookReset hooks;
    PlatformLanguageScope english;
    TTempFolder tmp("yorde-dialogs");
    Owned<TForm> form(new TForm(nullptr));
    auto* open = new TOpenDialog(form.get());
    open->SetInitialDir(AnsiString(tmp.Root()));
    struct Expected {
        const char* Code;
        const char* Title;  // the dialog's own when the program gives none
        const char* Accept;
        const char* Cancel;
    };
    const Expected languages[] = {{"pl", "Otwórz", "&Otwórz", "Anuluj"},
                                  {"ru", "Открыть", "&Открыть", "Отмена"},
                                  {"en", "Open", "&Open", "Cancel"}};
    for (const Expected& e : languages) {
        SCOPED_TRACE(e.Code);
        ASSERT_TRUE(Application->SetLanguage(e.Code)) << "Debian package qt6-translations-l10n";
        QString title;
        QStringList buttons;
        QTimer::singleShot(0, [&] {
            AnswerDialog([&](QFileDialog* dlg) {
                title = dlg->windowTitle();
                for (const QPushButton* b : dlg->findChildren<QPushButton*>()) buttons << b->text();
                dlg->grab().save(QString::fromStdString(ShotPath(std::string("file-dialog_") + e.Code + ".png")));
                dlg->reject();
            });
        });
        EXPECT_FALSE(open->Execute());
        EXPECT_EQ(title, QString::fromUtf8(e.Title));
        EXPECT_TRUE(buttons.contains(QString::fromUtf8(e.Accept))) << buttons.join('|').toStdString();
        EXPECT_TRUE(buttons.contains(QString::fromUtf8(e.Cancel))) << buttons.join('|').toStdString();
    }
    EXPECT_FALSE(Application->SetLanguage("xx")) << "a language without texts";
}
