// The status bar read from its compiled layout: its components and start
// state, its texts in each language, and a picture in each language.
#include "FramesUiSupport.h"

#include "TempFolder.h"
#include "classes/Thread.h"
#include "localization/Lxlnglnk.h"
#include "rtl/Folders.h"
#include "workstation/Unitstatus.h"

#include <filesystem>
#include <regex>
#include <thread>

using namespace framestest;

namespace {

constexpr int kFrameWidth = 792;
constexpr int kFrameHeight = 48;

using StatusHost = Hosted<TStatusFrame>;

// The program folder of the test, with its "files" folder.
struct ProgramFolder {
    yorde::test::TTempFolder folder;
    ProgramFolder() {
        std::filesystem::create_directories(folder.Path("files"));
        SetProgramDirOverride(folder.Root());
    }
    ~ProgramFolder() { SetProgramDirOverride(""); }
};

}  // namespace

class StatusFrameUi : public FramesUiTest {};

TEST_F(StatusFrameUi, LayoutHoldsEveryComponent) {
    ProgramLanguageScope lang(1);
    StatusHost h(kFrameWidth, kFrameHeight);
    TStatusFrame* f = h.Frame;
    ExpectComponents(f, {{"FreeSpaceLabel", "TLabel"},
                         {"FilesLabel", "TLabel"},
                         {"UserLabel", "TLabel"},
                         {"SDLabel", "TLabel"},
                         {"StatusLabel", "TLabel"},
                         {"StatusProgressBar", "TProgressBar"},
                         {"Timer1", "TTimer"},
                         {"Timer2", "TTimer"},
                         {"lxLangLinked1", "TlxLangLinked"}});
    EXPECT_EQ(f->FreeSpaceLabel->Caption(), "Wolne miejsce: ");
    EXPECT_EQ(f->FilesLabel->Caption(), InLanguage(1, "Liczba plików: "));
    EXPECT_EQ(f->UserLabel->Caption(), "Niezalogowany");
    EXPECT_EQ(f->UserLabel->Alignment(), taRightJustify);
    EXPECT_EQ(f->SDLabel->Caption(), "Stan karty SD: ");
    EXPECT_EQ(f->SDLabel->Hint(), "Stan karty SD w centrali");
    EXPECT_EQ(f->StatusLabel->Caption(), "");
    EXPECT_EQ(f->StatusLabel->Alignment(), taCenter);
    EXPECT_TRUE(f->StatusLabel->WordWrap());
    EXPECT_TRUE(f->StatusLabel->Transparent());
    EXPECT_EQ(f->StatusProgressBar->Min(), 0);
    EXPECT_EQ(f->StatusProgressBar->Max(), 100);
    EXPECT_TRUE(f->Timer1->Enabled());
    EXPECT_EQ(f->Timer1->Interval(), 3000u);
    EXPECT_EQ(f->Timer1->OnTimer.MethodName(), "Timer1Timer");
    EXPECT_FALSE(f->Timer2->Enabled());
    EXPECT_EQ(f->Timer2->Interval(), 10000u);
    EXPECT_FALSE(f->LoggedIn.load());
    EXPECT_EQ(f->SdState.load(), -1);
}

TEST_F(StatusFrameUi, TheTimerShowsDiskFilesAndCardOnlyForALoggedInUser) {
    ProgramFolder program;
    program.folder.Write("files/a.wav", "x");
    program.folder.Write("files/B.WAV", "x");
    program.folder.Write("files/note.txt", "x");
    std::filesystem::create_directories(program.folder.Path("files/old.wav"));
    ProgramLanguageScope lang(2);
    StatusHost h(kFrameWidth, kFrameHeight);
    TStatusFrame* f = h.Frame;

    // Nobody logged in: the label shows no count, and nothing is counted.
    for (int tick = 0; tick < 3; ++tick) {
        f->Timer1Timer(f->Timer1);
        CheckSynchronize(20);
    }
    EXPECT_TRUE(std::regex_match(f->FreeSpaceLabel->Caption(), std::regex("Free space: [0-9]+ (GB|MB)")))
        << f->FreeSpaceLabel->Caption();
    EXPECT_EQ(f->UserLabel->Caption(), "Not logged in");
    EXPECT_EQ(f->FilesLabel->Caption(), "Number of files: -");
    EXPECT_EQ(f->SDLabel->Caption(), "SD card: -");
    EXPECT_EQ(f->RecordingCount(), -1);

    // The count shows as soon as it is in, without waiting for a tick.
    f->LoggedIn = true;
    f->Timer1Timer(f->Timer1);
    while (f->FilesLabel->Caption() == "Number of files: -") ASSERT_TRUE(CheckSynchronize(5000));
    EXPECT_EQ(f->FilesLabel->Caption(), "Number of files: 3");
    ASSERT_TRUE(TickUntilRecordingCount(f, 3));
    // The count follows the folder: a new recording, then none at all.
    program.folder.Write("files/c.wav", "x");
    EXPECT_TRUE(TickUntilRecordingCount(f, 4));
    std::filesystem::remove_all(program.folder.Path("files"));
    EXPECT_TRUE(TickUntilRecordingCount(f, 0));
    f->Timer1Timer(f->Timer1);
    EXPECT_EQ(f->FilesLabel->Caption(), "Number of files: 0");
    std::filesystem::create_directories(program.folder.Path("files/old.wav"));
    for (const char* name : {"files/a.wav", "files/B.WAV", "files/note.txt"}) program.folder.Write(name, "x");
    ASSERT_TRUE(TickUntilRecordingCount(f, 3));
    f->Timer1Timer(f->Timer1);
    // A folder named like a recording counts as well.
    EXPECT_EQ(f->FilesLabel->Caption(), "Number of files: 3");
    EXPECT_EQ(f->SDLabel->Caption(), "SD card: -");
    EXPECT_EQ(f->UserLabel->Caption().substr(0, 12), "Logged in as");
    const std::pair<int, const char*> states[] = {{0, "SD card: installed"},  {1, "SD card: none"},
                                                  {2, "SD card: initiating"}, {3, "SD card: error"},
                                                  {4, "SD card: error"},      {5, "SD card: error"}};
    for (const auto& [state, shown] : states) {
        f->SdState = state;
        f->Timer1Timer(f->Timer1);
        EXPECT_EQ(f->SDLabel->Caption(), shown) << state;
    }
    // A state the device has no text for leaves the label as it was.
    f->SdState = 0;
    f->Timer1Timer(f->Timer1);
    f->SdState = 7;
    f->Timer1Timer(f->Timer1);
    EXPECT_EQ(f->SDLabel->Caption(), "SD card: installed");
    f->SdState = 4;
    f->Timer1Timer(f->Timer1);
    EXPECT_EQ(f->SDLabel->Caption(), "SD card: error") << "a damaged card is an error as well";
    f->SdState = -1;
    f->Timer1Timer(f->Timer1);
    EXPECT_EQ(f->SDLabel->Caption(), "SD card: -");

    // A count asked for before a logout that arrives after the next login
    // is not shown: the folder changed meanwhile.
    program.folder.Write("files/d.wav", "x");
    f->Timer1Timer(f->Timer1);
    while (f->RecordingCount() != 4) std::this_thread::yield();
    f->LoggedIn = false;
    f->Timer1Timer(f->Timer1);
    EXPECT_EQ(f->FilesLabel->Caption(), "Number of files: -");
    program.folder.Write("files/e.wav", "x");
    f->LoggedIn = true;
    f->Timer1Timer(f->Timer1);
    EXPECT_EQ(f->FilesLabel->Caption(), "Number of files: -");
    while (f->FilesLabel->Caption() == "Number of files: -") ASSERT_TRUE(CheckSynchronize(5000));
    EXPECT_EQ(f->FilesLabel->Caption(), "Number of files: 5");
}

TEST(StatusFreeSpace, GigabytesFromAThousandMegabytesOnAndAFailedQueryAsNothingFree) {
    constexpr int64_t kMB = 1024 * 1000;
    EXPECT_EQ(FreeSpaceAmount(-1), "0 MB");
    EXPECT_EQ(FreeSpaceAmount(0), "0 MB");
    EXPECT_EQ(FreeSpaceAmount(kMB - 1), "0 MB");
    EXPECT_EQ(FreeSpaceAmount(kMB), "1 MB");
    EXPECT_EQ(FreeSpaceAmount(1000 * kMB - 1), "999 MB");
    EXPECT_EQ(FreeSpaceAmount(1000 * kMB), "1 GB");
    EXPECT_EQ(FreeSpaceAmount(2000 * kMB - 1), "1 GB");
    EXPECT_EQ(FreeSpaceAmount(int64_t(4000) * 1000 * kMB), "4000 GB");
}

TEST_F(StatusFrameUi, TextsInEachLanguageAndPictures) {
    const char* const notLogged[] = {"Niezalogowany", "Not logged in", "Вход не выполнен"};
    const char* const sd[] = {"Karta SD", "SD card", "SD-карта"};
    const char* const freeSpace[] = {"Wolne miejsce: ", "Free space: ", "Свободное место: "};
    const char* const filesHint[] = {"Liczba plików nagrań", "Number of recording files", "Количество файлов записей"};
    InEachLanguage<TStatusFrame>(kFrameWidth, kFrameHeight, [&](int language, StatusHost& h) {
        TStatusFrame* f = h.Frame;
        EXPECT_EQ(f->UserLabel->Caption(), InLanguage(language, ForLanguage(language, notLogged)));
        EXPECT_EQ(f->FreeSpaceLabel->Caption(), InLanguage(language, ForLanguage(language, freeSpace)));
        EXPECT_EQ(f->FilesLabel->Hint(), InLanguage(language, ForLanguage(language, filesHint)));
        EXPECT_EQ(f->lxLangLinked1->GetTextOrDefault("IDS_SD"), InLanguage(language, ForLanguage(language, sd)));
        for (const char* key : {"IDS_FREESPACE", "IDS_FILES_COUNT", "IDS_LOGGED", "IDS_NOTLOGGED", "IDS_SD_INSTALLED",
                                "IDS_SD_NONE", "IDS_SD_INIT", "IDS_SD_ERROR", "IDS_SD_CAPACITY", "IDS_SD_SIZE"})
            EXPECT_FALSE(f->lxLangLinked1->GetTextOrDefault(key).empty()) << key;
        h.Form->Show();
        Shoot(h.Form.get(), "statusframe", language);
        f->Timer1Timer(f->Timer1);
        Shoot(h.Form.get(), "statusframe_tick", language);
        f->StatusLabel->SetCaption(f->lxLangLinked1->GetTextOrDefault("IDS_SD_CAPACITY"));
        f->StatusProgressBar->SetPosition(60);
        Shoot(h.Form.get(), "statusframe_busy", language);
    });
}
