// The connection tab read from its compiled layout: its components, the
// link off at the start with nothing pretending to connect, the button
// pictures of each language, the refresh button's rest, the text
// conversions of the link, and a picture in each language.
#include "FramesUiSupport.h"

#include "localization/Lxlnglnk.h"
#include "workstation/Unitconnect.h"

using namespace framestest;

namespace {

constexpr int kFrameWidth = 792;
constexpr int kFrameHeight = 90;

using ConnectHost = Hosted<TConnectFrame>;

// The buttons' committed bitmaps in English and in Russian.
const char* const kConnectEn = "TConnectFrame.ImageListBtn/8.png";
const char* const kConnectPressedEn = "TConnectFrame.ImageListBtn/9.png";
const char* const kRefreshEn = "TConnectFrame.ImageListBtn/14.png";
const char* const kConnectRu = "TConnectFrame.ImageListBtn/16.png";
const char* const kRefreshRu = "TConnectFrame.ImageListBtn/22.png";
const char* const kRefreshPressedRu = "TConnectFrame.ImageListBtn/23.png";

}  // namespace

class ConnectFrameUi : public FramesUiTest {};

TEST_F(ConnectFrameUi, LayoutHoldsEveryComponent) {
    ProgramLanguageScope lang(1);
    ConnectHost h(kFrameWidth, kFrameHeight);
    TConnectFrame* f = h.Frame;
    ExpectComponents(f, {{"Label1", "TLabel"},
                         {"Label2", "TLabel"},
                         {"SerwerIPEdit", "TEdit"},
                         {"HasloEdit", "TMaskEdit"},
                         {"StatusLabel", "TLabel"},
                         {"PolaczImage", "TImage"},
                         {"OdswiezImage", "TImage"},
                         {"ConnectBitBtn", "TBitBtn"},
                         {"RefreshButton", "TButton"},
                         {"ProgressBarHttp", "TProgressBar"},
                         {"EarthImage", "TImage"},
                         {"LockImage", "TImage"},
                         {"LegPanel1", "TPanel"},
                         {"LegPanel2", "TPanel"},
                         {"ImageListBtn", "TImageList"},
                         {"Timer1", "TTimer"},
                         {"Timer2", "TTimer"},
                         {"lxLangLinked1", "TlxLangLinked"}});

    EXPECT_EQ(f->Label1->Caption(), "URL");
    EXPECT_EQ(f->SerwerIPEdit->Text(), "http://");
    EXPECT_EQ(f->SerwerIPEdit->OnKeyPress.MethodName(), "SerwerIPEditKeyPress");
    EXPECT_EQ(f->HasloEdit->PasswordChar(), '*');
    EXPECT_EQ(f->HasloEdit->Text(), "47150392");
    EXPECT_EQ(f->HasloEdit->OnKeyPress.MethodName(), "HasloEditKeyPress");
    EXPECT_EQ(f->StatusLabel->Alignment(), taCenter);
    EXPECT_TRUE(f->StatusLabel->WordWrap());
    EXPECT_TRUE(f->StatusLabel->Font()->Style().Contains(fsBold));
    EXPECT_EQ(f->StatusLabel->Font()->Color(), clMaroon);
    EXPECT_EQ(f->StatusLabel->Caption(), "");
    EXPECT_EQ(f->PolaczImage->OnClick.MethodName(), "ConnectBitBtnClick");
    EXPECT_EQ(f->PolaczImage->OnDblClick.MethodName(), "PolaczImageDblClick");
    EXPECT_EQ(f->OdswiezImage->OnClick.MethodName(), "RefreshButtonClick");
    EXPECT_FALSE(f->ConnectBitBtn->Visible());
    EXPECT_FALSE(f->ConnectBitBtn->Enabled());
    EXPECT_EQ(f->ConnectBitBtn->Caption(), InLanguage(1, "Połącz"));
    EXPECT_FALSE(f->RefreshButton->Visible());
    EXPECT_EQ(f->RefreshButton->Caption(), InLanguage(1, "Odśwież"));
    EXPECT_FALSE(f->ProgressBarHttp->Visible());
    EXPECT_TRUE(f->ProgressBarHttp->Smooth());
    EXPECT_EQ(f->ProgressBarHttp->Step(), 1);
    EXPECT_EQ(f->ProgressBarHttp->Max(), 100);
    EXPECT_EQ(f->EarthImage->Picture()->Width(), 24);
    EXPECT_EQ(f->LockImage->Picture()->Height(), 24);
    EXPECT_EQ(f->LegPanel1->Color(), TColor(0xCAD8CF));
    EXPECT_EQ(f->LegPanel2->Color(), TColor(0xB0DBEB));
    EXPECT_EQ(f->ImageListBtn->Count(), 24);
    EXPECT_EQ(f->ImageListBtn->Width(), 88);
    EXPECT_FALSE(f->Timer1->Enabled());
    EXPECT_EQ(f->Timer1->Interval(), 3000u);
    EXPECT_FALSE(f->Timer2->Enabled());
    EXPECT_EQ(f->Timer2->Interval(), 2000u);
    EXPECT_EQ(f->RefreshSeconds.load(), 0);
    EXPECT_EQ(f->StorageQuota.load(), 0);
}

// The address the layout starts with is no address: every way of
// connecting refuses it and the link stays off.
TEST_F(ConnectFrameUi, TheStartingAddressIsRefused) {
    ProgramLanguageScope lang(2);
    ConnectHost h(kFrameWidth, kFrameHeight);
    TConnectFrame* f = h.Frame;
    h.Form->Show();
    EXPECT_FALSE(f->IsConnected());
    EXPECT_TRUE(ShowsBitmap(f->PolaczImage, kConnectEn));
    EXPECT_TRUE(ShowsBitmap(f->OdswiezImage, kRefreshEn));

    yorde::test::MouseDown(f->PolaczImage);
    EXPECT_TRUE(ShowsBitmap(f->PolaczImage, kConnectPressedEn));
    EXPECT_EQ(f->ButtonState.load(), 1);
    yorde::test::MouseUp(f->PolaczImage);
    EXPECT_TRUE(ShowsBitmap(f->PolaczImage, kConnectEn));
    EXPECT_EQ(f->ButtonState.load(), 0);
    yorde::test::DoubleClick(f->PolaczImage);
    yorde::test::PressKey(f->SerwerIPEdit, VK_RETURN);
    yorde::test::PressKey(f->HasloEdit, VK_RETURN);
    EXPECT_FALSE(f->IsConnected());
    EXPECT_EQ(f->StatusLabel->Caption(), f->lxLangLinked1->GetTextOrDefault("IDS_NOURL"));
    EXPECT_FALSE(f->ProgressBarHttp->Visible());
}

TEST_F(ConnectFrameUi, TheRefreshButtonRestsTwoSecondsWithItsPressedPicture) {
    ProgramLanguageScope lang(3);
    ConnectHost h(kFrameWidth, kFrameHeight);
    TConnectFrame* f = h.Frame;
    h.Form->Show();
    yorde::test::Click(f->OdswiezImage);
    EXPECT_FALSE(f->OdswiezImage->Enabled());
    EXPECT_TRUE(f->Timer2->Enabled());
    EXPECT_TRUE(ShowsBitmap(f->OdswiezImage, kRefreshPressedRu));
    // A mouse-up while it rests keeps the pressed picture.
    f->OdswiezImageMouseUp(f->OdswiezImage, mbLeft, {}, 1, 1);
    EXPECT_TRUE(ShowsBitmap(f->OdswiezImage, kRefreshPressedRu));

    f->Timer2Timer(f->Timer2);
    EXPECT_TRUE(f->OdswiezImage->Enabled());
    EXPECT_FALSE(f->Timer2->Enabled());
    EXPECT_TRUE(ShowsBitmap(f->OdswiezImage, kRefreshRu));
    EXPECT_FALSE(f->IsConnected());

    // The connect button's rest ends the same way.
    f->PolaczImage->SetEnabled(false);
    f->Timer1->SetEnabled(true);
    f->Timer1Timer(f->Timer1);
    EXPECT_TRUE(f->PolaczImage->Enabled());
    EXPECT_FALSE(f->Timer1->Enabled());
    EXPECT_EQ(f->ButtonState.load(), 4);
    EXPECT_TRUE(ShowsBitmap(f->PolaczImage, kConnectRu));
}

TEST_F(ConnectFrameUi, TextsInEachLanguageAndPictures) {
    const char* const password[] = {"Hasło", "Password", "Пароль"};
    const char* const connectHint[] = {"Połącz z centralą", "Connect to PBX", "Подключиться к АТС"};
    const char* const extension[] = {"Linia wewnętrzna", "Extension", "Внутренняя линия"};
    InEachLanguage<TConnectFrame>(kFrameWidth, kFrameHeight, [&](int language, ConnectHost& h) {
        TConnectFrame* f = h.Frame;
        EXPECT_EQ(f->Label2->Caption(), InLanguage(language, ForLanguage(language, password)));
        EXPECT_EQ(f->PolaczImage->Hint(), InLanguage(language, ForLanguage(language, connectHint)));
        EXPECT_EQ(f->LegPanel2->Caption(), InLanguage(language, ForLanguage(language, extension)));
        for (const char* key :
             {"IDS_NOURL", "IDS_NOPASSWORD", "IDS_SHORTPASSWORD", "IDS_CONNECT", "IDS_DISCONNECT", "IDS_CONNECTING",
              "IDS_OLDFIRMWARE", "IDS_CONNECT_ERROR_4", "IDS_RECEIVING", "IDS_FROM", "IDS_SD_HINT", "IDS_NOSPACELEFT"})
            EXPECT_FALSE(f->lxLangLinked1->GetTextOrDefault(key).empty()) << key;
        h.Form->Show();
        Shoot(h.Form.get(), "connectframe", language);
        f->StatusLabel->SetCaption(f->lxLangLinked1->GetTextOrDefault("IDS_CONNECT_ERROR_1"));
        f->ProgressBarHttp->SetVisible(true);
        f->ProgressBarHttp->SetPosition(40);
        Shoot(h.Form.get(), "connectframe_status", language);
    });
}
