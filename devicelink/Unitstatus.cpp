#include "devicelink/Unitstatus.h"

#include "localization/Lxlnglnk.h"

YORDE_IMPLEMENT_CLASS(TStatusFrame, [](TClassBuilder<TStatusFrame>& c) {
    using T = TStatusFrame;
    c.Field("FreeSpaceLabel", &T::FreeSpaceLabel);
    c.Field("FilesLabel", &T::FilesLabel);
    c.Field("UserLabel", &T::UserLabel);
    c.Field("SDLabel", &T::SDLabel);
    c.Field("StatusLabel", &T::StatusLabel);
    c.Field("StatusProgressBar", &T::StatusProgressBar);
    c.Field("Timer1", &T::Timer1);
    c.Field("Timer2", &T::Timer2);
    c.Field("lxLangLinked1", &T::lxLangLinked1);
    c.Method("Timer1Timer", &T::Timer1Timer);
    c.Method("Timer2Timer", &T::Timer2Timer);
})

namespace {
constexpr TColor kFrameColor = TColor(0x6F8A91);
}

TStatusFrame::TStatusFrame(TComponent* AOwner) : TFrame(AOwner) {
    InitLayout();
    SetColor(kFrameColor);
}

// The 3-second refresh of the labels names the logged-in user, which only
// the main window knows, and the SD request belongs to the device link;
// neither is built yet, so the labels keep their first texts.
void TStatusFrame::Timer1Timer(TObject*) {}
void TStatusFrame::Timer2Timer(TObject*) {}
