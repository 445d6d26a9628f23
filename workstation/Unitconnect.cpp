#include "workstation/Unitconnect.h"
#include "workstation/FormColors.h"

#include "localization/Lxcomp.h"
#include "rtl/CodePages.h"

YORDE_IMPLEMENT_CLASS(TConnectFrame, [](TClassBuilder<TConnectFrame>& c) {
    using T = TConnectFrame;
    c.Field("Label1", &T::Label1);
    c.Field("Label2", &T::Label2);
    c.Field("SerwerIPEdit", &T::SerwerIPEdit);
    c.Field("HasloEdit", &T::HasloEdit);
    c.Field("StatusLabel", &T::StatusLabel);
    c.Field("PolaczImage", &T::PolaczImage);
    c.Field("OdswiezImage", &T::OdswiezImage);
    c.Field("ConnectBitBtn", &T::ConnectBitBtn);
    c.Field("RefreshButton", &T::RefreshButton);
    c.Field("ProgressBarHttp", &T::ProgressBarHttp);
    c.Field("EarthImage", &T::EarthImage);
    c.Field("LockImage", &T::LockImage);
    c.Field("LegPanel1", &T::LegPanel1);
    c.Field("LegPanel2", &T::LegPanel2);
    c.Field("ImageListBtn", &T::ImageListBtn);
    c.Field("Timer1", &T::Timer1);
    c.Field("Timer2", &T::Timer2);
    c.Field("lxLangLinked1", &T::lxLangLinked1);

    c.Method("ConnectBitBtnClick", &T::ConnectBitBtnClick);
    c.Method("RefreshButtonClick", &T::RefreshButtonClick);
    c.Method("Timer1Timer", &T::Timer1Timer);
    c.Method("Timer2Timer", &T::Timer2Timer);
    c.Method("PolaczImageDblClick", &T::PolaczImageDblClick);
    c.Method("PolaczImageMouseDown", &T::PolaczImageMouseDown);
    c.Method("PolaczImageMouseUp", &T::PolaczImageMouseUp);
    c.Method("OdswiezImageMouseDown", &T::OdswiezImageMouseDown);
    c.Method("OdswiezImageMouseUp", &T::OdswiezImageMouseUp);
    c.Method("SerwerIPEditKeyPress", &T::SerwerIPEditKeyPress);
    c.Method("HasloEditKeyPress", &T::HasloEditKeyPress);
})

namespace {

constexpr TColor kTrunkLineColor = TColor(0xCAD8CF);
constexpr TColor kExtensionColor = TColor(0xB0DBEB);

// Eight pictures per language.
constexpr int kPicturesPerLanguage = 8;
constexpr int kConnect = 0;
constexpr int kConnectPressed = 1;
constexpr int kDisconnect = 4;
constexpr int kDisconnectPressed = 5;
constexpr int kRefresh = 6;
constexpr int kRefreshPressed = 7;

}  // namespace

TConnectFrame::TConnectFrame(TComponent* AOwner) : TFrame(AOwner) {
    InitLayout();
    SetColor(clFormBackground);
    LinkOn = false;
    static const AnsiString connectCaption = Utf8ToCodePage("Połącz", 1250);
    ConnectBitBtn->SetCaption(connectCaption);
    showButton(PolaczImage, kConnect, false);
    showButton(OdswiezImage, kRefresh, false);
    LegPanel1->SetColor(kTrunkLineColor);
    LegPanel2->SetColor(kExtensionColor);
}

void TConnectFrame::showButton(TImage* Image, int K, bool ToFront) {
    // The language of the dispatcher this frame's translations follow.
    const TlxLangDispatcher* dispatcher = lxLangLinked1->LangDispatcher();
    int language = dispatcher ? dispatcher->ActiveLanguage() : 1;
    if (language < 1 || language > 3) language = 1;
    ImageListBtn->GetBitmap((language - 1) * kPicturesPerLanguage + K, Image->Picture()->Bitmap());
    Image->Repaint();
    if (ToFront) Image->BringToFront();
}

void TConnectFrame::RefreshButtonClick(TObject*) {
    try {
        OdswiezImage->SetEnabled(false);
        showButton(OdswiezImage, kRefreshPressed, true);
        Timer2->SetEnabled(true);
        if (LinkOn) Refresh();
    } catch (...) {
    }
}

void TConnectFrame::Timer1Timer(TObject*) {
    showButton(PolaczImage, kConnect, true);
    PolaczImage->SetEnabled(true);
    ButtonState = kDisconnect;
    Timer1->SetEnabled(false);
}

void TConnectFrame::Timer2Timer(TObject*) {
    showButton(OdswiezImage, kRefresh, true);
    OdswiezImage->SetEnabled(true);
    Timer2->SetEnabled(false);
}

void TConnectFrame::PolaczImageDblClick(TObject* Sender) { ConnectBitBtnClick(Sender); }

void TConnectFrame::PolaczImageMouseDown(TObject*, TMouseButton, TShiftState, int, int) {
    if (LinkOn) {
        showButton(PolaczImage, kDisconnectPressed, true);
        ButtonState = kDisconnectPressed;
    } else {
        showButton(PolaczImage, kConnectPressed, true);
        ButtonState = kConnectPressed;
    }
}

void TConnectFrame::PolaczImageMouseUp(TObject*, TMouseButton, TShiftState, int, int) {
    // After a disconnect (state -1) the click has already set the look.
    if (ButtonState <= 0) return;
    if (LinkOn) {
        showButton(PolaczImage, kDisconnect, true);
        ButtonState = kDisconnect;
    } else {
        showButton(PolaczImage, kConnect, true);
        ButtonState = kConnect;
    }
}

void TConnectFrame::OdswiezImageMouseDown(TObject*, TMouseButton, TShiftState, int, int) {
    showButton(OdswiezImage, kRefreshPressed, true);
}

void TConnectFrame::OdswiezImageMouseUp(TObject*, TMouseButton, TShiftState, int, int) {
    // While the button rests after a refresh it keeps the pressed look.
    if (!Timer2->Enabled()) showButton(OdswiezImage, kRefresh, true);
}

void TConnectFrame::SerwerIPEditKeyPress(TObject* Sender, char& Key) {
    if (Key == 13 && PolaczImage->Visible() && !LinkOn) ConnectBitBtnClick(Sender);
}

void TConnectFrame::HasloEditKeyPress(TObject* Sender, char& Key) {
    if (Key == 13 && PolaczImage->Visible() && !LinkOn) ConnectBitBtnClick(Sender);
}

// The link itself (validation, the sync run and the refresh loop) is not
// built yet: connecting does nothing, so the link stays off and
// IsConnected stays false; there is no loop to pause or resume.
void TConnectFrame::ConnectBitBtnClick(TObject*) {}
void TConnectFrame::ResetToConnect() {}
void TConnectFrame::StartConnectUI() {}
void TConnectFrame::Refresh() {}
void TConnectFrame::Disconnect() {}
void TConnectFrame::StartLoop() {}
