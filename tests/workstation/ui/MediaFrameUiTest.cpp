// The recordings frame read from its compiled layout: every component of
// the list, the player, the menus and dialogs; what the constructor and
// InitFrame show; the cell colours; a picture in each language.
#include "FramesUiSupport.h"

#include "localization/Lxlnglnk.h"
#include "media/Volume.h"
#include "qt/QtPlatform.h"
#include "workstation/Unitfiltr.h"
#include "workstation/Unitmediaframe.h"
#include "workstation/Unitmessage.h"

#include <QImage>

using namespace framestest;

namespace {

constexpr int kFrameWidth = 792;
constexpr int kFrameHeight = 406;
constexpr TColor kFrameColor = TColor(0x6F8A91);

using MediaHost = Hosted<TMediaFrame>;

AnsiString Header(const TMediaFrame* F, int Col) { return F->musicTable->Cells(Col, 0); }

}  // namespace

// Rows set by hand name no stored file: opening them shows a message, which
// is answered here instead of waiting for a user.
class MediaFrameUi : public FramesUiTest {
protected:
    void SetUp() override {
        SetModalHook([this](TCustomForm* form) {
            ++modals;
            (void)form;
            return TModalResult(1);
        });
    }
    int modals = 0;
};

TEST_F(MediaFrameUi, LayoutHoldsEveryComponentOfTheListPlayerAndMenus) {
    ProgramLanguageScope lang(1);
    MediaHost h(kFrameWidth, kFrameHeight);
    TMediaFrame* f = h.Frame;
    ExpectComponents(f, {{"musicTable", "TStringGrid"},
                         {"PanelMediaBottom", "TPanel"},
                         {"TimeLabel", "TLabel"},
                         {"SeekTrackBar", "TTrackBar"},
                         {"VolumeTrackBar", "TTrackBar"},
                         {"VolProgressBar", "TProgressBar"},
                         {"MediaPlayer", "TMediaPlayer"},
                         {"PlayImage", "TImage"},
                         {"PauseImage", "TImage"},
                         {"StopImage", "TImage"},
                         {"PrevImage", "TImage"},
                         {"NextImage", "TImage"},
                         {"RecImage", "TImage"},
                         {"VolImage", "TImage"},
                         {"ExportImage", "TImage"},
                         {"DeleteImage", "TImage"},
                         {"ImportImage", "TImage"},
                         {"ABookImage", "TImage"},
                         {"Timer1", "TTimer"},
                         {"Timer2", "TTimer"},
                         {"RodoTimer", "TTimer"},
                         {"ExportDialog", "TSaveDialog"},
                         {"RecDialog", "TOpenDialog"},
                         {"ImageListPlay", "TImageList"},
                         {"ImageListBtn", "TImageList"},
                         {"musicPopupMenu", "TPopupMenu"},
                         {"op1", "TMenuItem"},
                         {"op2", "TMenuItem"},
                         {"op3", "TMenuItem"},
                         {"RecPopupMenu", "TPopupMenu"},
                         {"Nagrywaniezapowiedzi1", "TMenuItem"},
                         {"Zapowiedzwybranegopliku1", "TMenuItem"},
                         {"lxLangLinked1", "TlxLangLinked"}});

    TStringGrid* grid = f->musicTable;
    EXPECT_EQ(grid->Align(), alClient);
    EXPECT_EQ(grid->DefaultRowHeight(), 22);
    EXPECT_EQ(grid->FixedCols(), 0);
    EXPECT_EQ(grid->Options(),
              (TGridOptions{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goColSizing, goRowSelect}));
    EXPECT_EQ(grid->ScrollBars(), ssNone);
    EXPECT_EQ(grid->Color(), clMenu);
    EXPECT_EQ(grid->PopupMenu(), f->musicPopupMenu);
    EXPECT_EQ(grid->OnDrawCell.MethodName(), "musicTableDrawCell");
    EXPECT_EQ(grid->OnMouseUp.MethodName(), "musicTableMouseUp");
    EXPECT_EQ(grid->OnSelectCell.MethodName(), "musicTableSelectCell");
    EXPECT_EQ(f->PanelMediaBottom->Align(), alBottom);
    EXPECT_EQ(f->PanelMediaBottom->Height(), 99);
    EXPECT_EQ(f->PanelMediaBottom->Color(), kFrameColor);
    EXPECT_EQ(grid->Height(), kFrameHeight - 99);

    EXPECT_EQ(f->PlayImage->Width(), 56);
    EXPECT_EQ(f->PlayImage->Height(), 56);
    for (TImage* i : {f->PauseImage, f->StopImage, f->PrevImage, f->NextImage, f->RecImage, f->VolImage, f->ExportImage,
                      f->DeleteImage, f->ImportImage, f->ABookImage}) {
        EXPECT_EQ(i->Width(), 44) << i->Name();
        EXPECT_EQ(i->Height(), 44) << i->Name();
        EXPECT_EQ(i->Parent(), f->PanelMediaBottom) << i->Name();
    }
    // The rights show these.
    for (TImage* i : {f->RecImage, f->ExportImage, f->DeleteImage, f->ImportImage, f->ABookImage})
        EXPECT_FALSE(i->Visible()) << i->Name();
    for (TImage* i : {f->PlayImage, f->PauseImage, f->StopImage, f->PrevImage, f->NextImage, f->VolImage})
        EXPECT_TRUE(i->Visible()) << i->Name();

    EXPECT_EQ(f->TimeLabel->Caption(), "00:00:00");
    EXPECT_EQ(f->TimeLabel->Font()->Name(), "Verdana");
    EXPECT_EQ(f->TimeLabel->Font()->Height(), -19);
    EXPECT_EQ(f->SeekTrackBar->Max(), 100);
    EXPECT_FALSE(f->SeekTrackBar->Enabled());
    EXPECT_FALSE(f->SeekTrackBar->TabStop());
    EXPECT_EQ(f->VolumeTrackBar->Max(), 100);
    EXPECT_EQ(f->VolumeTrackBar->PageSize(), 10);
    EXPECT_FALSE(f->VolumeTrackBar->TabStop());
    EXPECT_EQ(f->VolProgressBar->Max(), 100);
    EXPECT_TRUE(f->VolProgressBar->Smooth());
    EXPECT_FALSE(f->MediaPlayer->Visible());

    EXPECT_FALSE(f->Timer1->Enabled());
    EXPECT_FALSE(f->Timer2->Enabled());
    EXPECT_EQ(f->Timer2->Interval(), 250u);
    EXPECT_TRUE(f->RodoTimer->Enabled());
    EXPECT_EQ(f->RodoTimer->Interval(), 5000u);

    EXPECT_EQ(f->ExportDialog->FileName(), "export.wav");
    EXPECT_EQ(f->ExportDialog->Filter(), "wav|*.wav");
    EXPECT_EQ(f->ExportDialog->Options(),
              (TOpenOptions{ofOverwritePrompt, ofHideReadOnly, ofNoChangeDir, ofEnableSizing}));
    EXPECT_EQ(f->ExportDialog->Title(), "Export");
    EXPECT_EQ(f->RecDialog->Title(), InLanguage(1, "Zapowiedź"));
    EXPECT_EQ(f->RecDialog->Filter(), "");

    EXPECT_EQ(f->ImageListPlay->Count(), 2);
    EXPECT_EQ(f->ImageListPlay->Width(), 56);
    EXPECT_EQ(f->ImageListBtn->Count(), 22);
    EXPECT_EQ(f->ImageListBtn->Width(), 44);

    TMenuItem* items = f->musicPopupMenu->Items();
    ASSERT_EQ(items->Count(), 3);
    EXPECT_EQ(items->Items(0), f->op1);
    EXPECT_EQ(items->Items(2), f->op3);
    EXPECT_EQ(f->musicPopupMenu->AutoHotkeys(), maManual);
    ASSERT_EQ(f->RecPopupMenu->Items()->Count(), 2);
    EXPECT_EQ(f->RecPopupMenu->Items()->Items(1), f->Zapowiedzwybranegopliku1);
    EXPECT_EQ(f->SortClause, "ORDER BY 4");
}

TEST_F(MediaFrameUi, ImageButtonsShowTheirPicturesAndThePressedOneWhileHeld) {
    ProgramLanguageScope lang(2);
    MediaHost h(kFrameWidth, kFrameHeight);
    TMediaFrame* f = h.Frame;
    h.Form->Show();
    EXPECT_TRUE(ShowsBitmap(f->PlayImage, "TMediaFrame.ImageListPlay/0.png"));
    const std::pair<TImage*, const char*> buttons[] = {
        {f->PauseImage, "TMediaFrame.ImageListBtn/0.png"},   {f->StopImage, "TMediaFrame.ImageListBtn/2.png"},
        {f->PrevImage, "TMediaFrame.ImageListBtn/4.png"},    {f->NextImage, "TMediaFrame.ImageListBtn/6.png"},
        {f->ExportImage, "TMediaFrame.ImageListBtn/8.png"},  {f->VolImage, "TMediaFrame.ImageListBtn/10.png"},
        {f->DeleteImage, "TMediaFrame.ImageListBtn/14.png"}, {f->RecImage, "TMediaFrame.ImageListBtn/16.png"},
        {f->ImportImage, "TMediaFrame.ImageListBtn/18.png"}, {f->ABookImage, "TMediaFrame.ImageListBtn/20.png"}};
    for (const auto& [image, picture] : buttons) EXPECT_TRUE(ShowsBitmap(image, picture)) << image->Name();

    yorde::test::MouseDown(f->PlayImage);
    EXPECT_TRUE(ShowsBitmap(f->PlayImage, "TMediaFrame.ImageListPlay/1.png"));
    yorde::test::MouseUp(f->PlayImage);
    EXPECT_TRUE(ShowsBitmap(f->PlayImage, "TMediaFrame.ImageListPlay/0.png"));
    yorde::test::MouseDown(f->StopImage);
    EXPECT_TRUE(ShowsBitmap(f->StopImage, "TMediaFrame.ImageListBtn/3.png"));
    yorde::test::MouseUp(f->StopImage);
    EXPECT_TRUE(ShowsBitmap(f->StopImage, "TMediaFrame.ImageListBtn/2.png"));
    WaveVolumeScope volume;
    yorde::test::MouseDown(f->VolImage);
    EXPECT_TRUE(ShowsBitmap(f->VolImage, "TMediaFrame.ImageListBtn/11.png"));
    yorde::test::MouseUp(f->VolImage);  // the click mutes: the muted pair from now on
    EXPECT_TRUE(ShowsBitmap(f->VolImage, "TMediaFrame.ImageListBtn/12.png"));
    yorde::test::MouseDown(f->VolImage);
    EXPECT_TRUE(ShowsBitmap(f->VolImage, "TMediaFrame.ImageListBtn/13.png"));
    yorde::test::MouseUp(f->VolImage);
    EXPECT_TRUE(ShowsBitmap(f->VolImage, "TMediaFrame.ImageListBtn/10.png"));
}

TEST_F(MediaFrameUi, InitFrameWritesTheHeaderRowInTheActiveLanguageAndSetsUpThePlayer) {
    WaveVolumeScope volume;
    const char* const headers[3][4] = {{"Data i godzina", "Wywołujący", "Wywoływany", "Czas rozmowy"},
                                       {"Date and time", "Caller", "Called party", "Call duration"},
                                       {"Дата и время", "Вызывающий", "Вызываемый", "Длительность"}};
    InEachLanguage<TMediaFrame>(kFrameWidth, kFrameHeight, [&](int language, MediaHost& h) {
        TMediaFrame* f = h.Frame;
        SetWaveVolume(50 * 655 | (50 * 655) << 16);
        f->InitFrame();
        for (int col = 0; col < 4; ++col)
            EXPECT_EQ(Header(f, col), InLanguage(language, ForLanguage(language, headers)[col]));
        const int widths[] = {150, 255, 255, 90, -1};
        for (int col = 0; col < 5; ++col) EXPECT_EQ(f->musicTable->ColWidths(col), widths[col]) << col;
        EXPECT_EQ(f->MediaPlayer->TimeFormat(), tfMilliseconds);
        EXPECT_FALSE(f->Timer1->Enabled());
        EXPECT_EQ(f->Timer1->Interval(), 500u);
        EXPECT_EQ(f->VolumeTrackBar->Position(), 50);
        EXPECT_EQ(f->VolProgressBar->Position(), 50);
    });
}

TEST_F(MediaFrameUi, TheVolumeBarSetsBothChannelsInStepsOf655) {
    WaveVolumeScope volume;
    ProgramLanguageScope lang(1);
    MediaHost h(kFrameWidth, kFrameHeight);
    TMediaFrame* f = h.Frame;
    f->VolumeTrackBar->SetPosition(100);
    EXPECT_EQ(GetWaveVolume(), 65500u | 65500u << 16);
    EXPECT_EQ(f->GetWaveVolume(), 100);
    f->VolumeTrackBar->SetPosition(0);
    EXPECT_EQ(GetWaveVolume(), 0u);
    EXPECT_EQ(f->VolProgressBar->Position(), 0);
}

TEST_F(MediaFrameUi, RowsAreDrawnInTheLineColoursAndTheSelectedRowStandsOut) {
    ProgramLanguageScope lang(1);
    MediaHost h(kFrameWidth, kFrameHeight);
    TMediaFrame* f = h.Frame;
    f->InitFrame();
    TStringGrid* grid = f->musicTable;
    grid->SetRowCount(4);
    grid->SetFixedRows(1);
    grid->SetCells(4, 1, "20260102_123456_101_202_M_.wav");
    grid->SetCells(4, 2, "20260102_123500_101_202_.wav");
    grid->SetCells(4, 3, "20260102_123600_101_202_.wav");
    grid->SetRow(3);
    h.Form->Show();
    const std::string path = ShotPath("mediaframe_rows.png");
    ASSERT_TRUE(yorde::qt::SaveScreenshot(grid, path));
    QImage shot(QString::fromStdString(path));
    ASSERT_FALSE(shot.isNull());
    auto colourAt = [&](int row) {
        const TRect r = grid->CellRect(3, row);
        return shot.pixel((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2) & 0xFFFFFF;
    };
    EXPECT_EQ(colourAt(1), 0xCFD8CAu);  // trunk line
    EXPECT_EQ(colourAt(2), 0xEBDBB0u);  // internal
    EXPECT_EQ(colourAt(3), 0x0080FFu);  // selected
}

TEST_F(MediaFrameUi, TheHeaderRowLooksTheSameWithAndWithoutRecordings) {
    ProgramLanguageScope lang(1);
    MediaHost h(kFrameWidth, kFrameHeight);
    TMediaFrame* f = h.Frame;
    f->InitFrame();
    TStringGrid* grid = f->musicTable;
    h.Form->Show();
    // Away from the text, inside the raised edge of a fixed cell.
    auto headerColour = [&](const std::string& name) {
        const std::string path = ShotPath(name);
        EXPECT_TRUE(yorde::qt::SaveScreenshot(grid, path));
        QImage shot(QString::fromStdString(path));
        const TRect r = grid->CellRect(0, 0);
        return shot.pixel(r.Right - 6, r.Top + 4) & 0xFFFFFF;
    };
    const uint32_t fixed = uint32_t(ColorToArgb(grid->FixedColor())) & 0xFFFFFF;
    ASSERT_EQ(grid->RowCount(), 1);
    EXPECT_EQ(grid->Row(), 0) << "the header is the current row";
    EXPECT_EQ(headerColour("mediaframe_header_empty.png"), fixed);
    grid->SetRowCount(3);
    grid->SetFixedRows(1);
    grid->SetRow(1);
    EXPECT_EQ(headerColour("mediaframe_header_rows.png"), fixed);
}

TEST_F(MediaFrameUi, MenusAndHintsSpeakTheActiveLanguage) {
    const char* const play[] = {"Odtwórz", "Play", "Воспроизвести"};
    const char* const fromFile[] = {"Zapowiedź z wybranego pliku", "Announcement from a selected file",
                                    "Объявление из выбранного файла"};
    const char* const playing[] = {"Odtwarzanie", "Play", "Воспроизведение"};
    InEachLanguage<TMediaFrame>(kFrameWidth, kFrameHeight, [&](int language, MediaHost& h) {
        TMediaFrame* f = h.Frame;
        EXPECT_EQ(f->op1->Caption(), InLanguage(language, ForLanguage(language, play)));
        EXPECT_EQ(f->Zapowiedzwybranegopliku1->Caption(), InLanguage(language, ForLanguage(language, fromFile)));
        EXPECT_EQ(f->lxLangLinked1->GetTextOrDefault("IDS_PLAYING"),
                  InLanguage(language, ForLanguage(language, playing)));
        EXPECT_FALSE(f->musicTable->Hint().empty());
        for (const char* key : {"IDS_COL_NAME_5", "IDS_COL_NAME_6", "IDS_HTTP_USED", "IDS_IMPORTING", "IDS_ERROR"}) {
            const AnsiString text = f->lxLangLinked1->GetTextOrDefault(key);
            EXPECT_FALSE(text.empty()) << key;
            EXPECT_EQ(text.find_first_of("\\/"), AnsiString::npos) << key;
        }
    });
}

// The frame's own messages fit the message dialog in every language.
TEST_F(MediaFrameUi, TheFramesMessagesFitTheMessageDialog) {
    InEachLanguage<TMediaFrame>(kFrameWidth, kFrameHeight, [&](int language, MediaHost& h) {
        for (const char* key : {"IDS_NO_INPUT_DEVICE", "IDS_EXPORT_DISK_FULL", "IDS_REMOVE_FILE_ERROR"}) {
            SCOPED_TRACE(key);
            Owned<TMessageDialog> dialog(NewForm<TMessageDialog>(nullptr));
            dialog->MessageLabel->Font()->SetCharset(h.Frame->Font()->Charset());
            dialog->MessageLabel->SetCaption(h.Frame->lxLangLinked1->GetTextOrDefault(key));
            dialog->SetCaption(h.Frame->lxLangLinked1->GetTextOrDefault("IDS_ERROR"));
            ExpectTextsFitAndShown(
                dialog.get(), ShotPath(std::string("mediaframe_") + key + "_" + std::to_string(language) + ".png"));
        }
    });
}

TEST_F(MediaFrameUi, EveryTextFitsAndThePicturesShowTheFrameInEachLanguage) {
    InEachLanguage<TMediaFrame>(kFrameWidth, kFrameHeight, [&](int language, MediaHost& h) {
        TMediaFrame* f = h.Frame;
        f->InitFrame();
        h.Form->Show();
        const std::string plain = ShotPath("mediaframe_" + std::to_string(language) + ".png");
        ExpectTextsFitAndShown(h.Form.get(), plain);
        // As the administrator sees it, with a few rows.
        for (TImage* i : {f->RecImage, f->ExportImage, f->DeleteImage, f->ImportImage, f->ABookImage})
            i->SetVisible(true);
        TStringGrid* grid = f->musicTable;
        grid->SetRowCount(4);
        grid->SetFixedRows(1);
        const char* const rows[3][5] = {
            {"2026-01-02      12:34:56", "101", "202", "00:01:05", "20260102_123456_101_202_M_.wav"},
            {"2026-01-02      12:40:00", "102", "600500400", "00:00:12", "20260102_124000_102_600500400_.wav"},
            {"2026-01-03      08:00:10", "-", "101", "00:10:00", "20260103_080010__101_.wav"}};
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 5; ++c) grid->SetCells(c, r + 1, rows[r][c]);
        grid->SetRow(2);
        f->SetColumnHeaders(true, 0);
        const std::string admin = ShotPath("mediaframe_admin_" + std::to_string(language) + ".png");
        ExpectTextsFitAndShown(h.Form.get(), admin);
        // The rows and the administrator's buttons add to what the picture shows.
        EXPECT_GT(ColoursIn(admin), ColoursIn(plain));
    });
}
