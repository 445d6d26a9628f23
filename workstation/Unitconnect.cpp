#include "workstation/Unitconnect.h"
#include "workstation/FormColors.h"

#include "devicelink/DeviceText.h"
#include "devicelink/RefreshLoop.h"
#include "devicelink/SyncRun.h"
#include "localization/Lxcomp.h"
#include "net/NetUtils.h"
#include "rtl/CodePages.h"
#include "rtl/StrUtils.h"
#include "workstation/Mainunit.h"
#include "workstation/UnitconnectSync.h"
#include "workstation/Unitdebug.h"
#include "workstation/Unitstatus.h"

#include <cstring>

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

TConnectFrame::TConnectFrame(TComponent* AOwner) : TFrame(AOwner), live_(std::make_shared<TLiveRuns>()) {
    InitLayout();
    SetColor(clFormBackground);
    linkOn_ = false;
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
        if (linkOn_) Refresh();
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
    if (linkOn_) {
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
    if (linkOn_) {
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
    if (Key == 13 && PolaczImage->Visible() && !linkOn_) ConnectBitBtnClick(Sender);
}

void TConnectFrame::HasloEditKeyPress(TObject* Sender, char& Key) {
    if (Key == 13 && PolaczImage->Visible() && !linkOn_) ConnectBitBtnClick(Sender);
}

namespace {

// The texts that StartConnectUI leaves when the address or password is refused.
constexpr const char* kRefusals[] = {"IDS_NOURL", "IDS_NOPASSWORD", "IDS_SHORTPASSWORD"};

}  // namespace

void TConnectFrame::StartConnectUI() {
    const AnsiString address = SerwerIPEdit->Text();
    const AnsiString password = HasloEdit->Text();
    // Only the comparison ignores case: the address keeps its capitals.
    const bool prefixed = LowerCase(address.substr(0, 7)) == "http://";
    const AnsiString rest = prefixed ? address.substr(7) : AnsiString();
    auto switchOn = [&] {
        showButton(PolaczImage, kDisconnect, true);
        PolaczImage->SetHint(lxLangLinked1->GetTextOrDefault("IDS_DISCONNECT"));
        linkOn_ = true;
        StatusLabel->SetCaption("");
    };
    const char* refusal = nullptr;
    if (prefixed && IsValidIP(rest) && password.size() > 7) {
        switchOn();
    } else if (!prefixed && IsValidIP(address) && password.size() > 7) {
        SerwerIPEdit->SetText("http://" + address);
        switchOn();
    } else if (!prefixed && (address.size() < 8 || !IsValidIP(address))) {
        refusal = "IDS_NOURL";
    } else if (prefixed && !IsValidIP(rest)) {
        refusal = "IDS_NOURL";
    } else {
        refusal = password.empty() ? "IDS_NOPASSWORD" : "IDS_SHORTPASSWORD";
    }
    if (!refusal) return;
    const AnsiString shown = lxLangLinked1->GetTextOrDefault(refusal);
    StatusLabel->SetCaption(shown);
    if (MainForm && MainForm->StatusFrameBottom) MainForm->StatusFrameBottom->StatusLabel->SetCaption(shown);
}

void TConnectFrame::ConnectBitBtnClick(TObject*) {
    if (linkOn_) {
        ResetToConnect();
        stopLoopThread();
        if (syncThread_.Thread) {
            DebugLog("ConnectBtn -> Disconnect -> Terminate");
            letRunGo();
        }
        return;
    }
    StartConnectUI();
    for (const char* key : kRefusals)
        if (StatusLabel->Caption() == lxLangLinked1->GetTextOrDefault(key)) return;
    if (syncThread_.Thread) {
        DebugLog("ConnectBtn -> Reconnect -> Terminate");
        letRunGo();
    }
    startRun();
    stopLoopThread();
    startLoopThread();
    const AnsiString connecting = lxLangLinked1->GetTextOrDefault("IDS_CONNECTING");
    StatusLabel->SetCaption(connecting);
    if (MainForm && MainForm->StatusFrameBottom) MainForm->StatusFrameBottom->StatusLabel->SetCaption(connecting);
}

void TConnectFrame::ResetToConnect() {
    showButton(PolaczImage, kDisconnectPressed, false);
    PolaczImage->SetHint(lxLangLinked1->GetTextOrDefault("IDS_CONNECT"));
    if (MainForm) {
        const TUserRecord user = MainForm->GetCurrentUserRecord();
        if (AnsiString(user.Name, strnlen(user.Name, sizeof user.Name)) == "admin") {
            SerwerIPEdit->SetEnabled(true);
            HasloEdit->SetEnabled(true);
        }
    }
    PolaczImage->SetEnabled(false);
    linkOn_ = false;
    ButtonState = -1;
    Timer1->SetEnabled(true);
}

void TConnectFrame::HexToBytes(const AnsiString& Hex, unsigned char* Out, int N) { ::HexToBytes(Hex, Out, N); }
AnsiString TConnectFrame::ByteToHex(unsigned char B) { return ::ByteToHex(B); }
AnsiString TConnectFrame::UrlEncode(const AnsiString& Text) { return ::UrlEncode(Text); }
