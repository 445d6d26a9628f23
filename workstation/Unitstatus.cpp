#include "workstation/Unitstatus.h"
#include "workstation/FormColors.h"

#include "localization/Lxlnglnk.h"
#include "rtl/Convert.h"
#include "rtl/Files.h"
#include "rtl/FindFiles.h"
#include "rtl/Folders.h"
#include "workstation/Mainunit.h"

#include <cstring>

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

// The stored recordings: every entry "files/*.wav" names, whatever its kind.
int countRecordings() {
    int n = 0;
    TSearchRec rec;
    for (int found = FindFirst(ProgramDir() + "files/*.wav", faAnyFile, rec); found == 0; found = FindNext(rec)) ++n;
    FindClose(rec);
    return n;
}

AnsiString loggedInUserName() {
    if (!MainForm) return AnsiString();
    const TUserRecord user = MainForm->GetCurrentUserRecord();
    return AnsiString(user.Name, strnlen(user.Name, sizeof user.Name));
}

}  // namespace

TStatusFrame::TStatusFrame(TComponent* AOwner) : TFrame(AOwner) {
    InitLayout();
    SetColor(clFormBackground);
}

AnsiString TStatusFrame::text(const char* Key) const { return lxLangLinked1->GetTextOrDefault(Key); }

void TStatusFrame::Timer1Timer(TObject*) {
    // "GB" and "MB" here are 1 024 000 000 and 1 024 000 bytes; a failed
    // query (-1) shows 0 MB.
    const int64_t freeBytes = DiskFree(ProgramDir());
    const int64_t mb = freeBytes / 1024 / 1000;
    const int64_t gb = mb / 1000;
    FreeSpaceLabel->SetCaption(text("IDS_FREESPACE") + ": " + (gb > 0 ? IntToStr(gb) + " GB" : IntToStr(mb) + " MB"));
    const int files = countRecordings();
    if (!LoggedIn) {
        UserLabel->SetCaption(text("IDS_NOTLOGGED"));
        FilesLabel->SetCaption(text("IDS_FILES_COUNT") + ": -");
        SDLabel->SetCaption(text("IDS_SD") + ": -");
        return;
    }
    UserLabel->SetCaption(text("IDS_LOGGED") + " " + loggedInUserName());
    FilesLabel->SetCaption(text("IDS_FILES_COUNT") + ": " + IntToStr(files));
    const char* state = nullptr;
    switch (SdState.load()) {
    case -1: SDLabel->SetCaption(text("IDS_SD") + ": -"); return;
    case 0: state = "IDS_SD_INSTALLED"; break;
    case 1: state = "IDS_SD_NONE"; break;
    case 2: state = "IDS_SD_INIT"; break;
    case 3:
    case 4: state = "IDS_SD_ERROR"; break;
    default: return;  // an unknown state leaves the label as it was
    }
    SDLabel->SetCaption(text("IDS_SD") + ": " + text(state));
}

// The SD request of its own is never switched on in the program; it belongs
// to the device link, which is not built yet.
void TStatusFrame::Timer2Timer(TObject*) {}
