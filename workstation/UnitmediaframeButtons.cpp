// The player's image buttons: one picture pair each, the same in every
// language; the volume button shows the muted pair while the sound is off.
#include "workstation/Unitmediaframe.h"

#include "workstation/ImageButtons.h"

namespace {

constexpr int kPlayPicture = 0;   // in ImageListPlay
constexpr int kPausePicture = 0;  // the others in ImageListBtn
constexpr int kStopPicture = 2;
constexpr int kPrevPicture = 4;
constexpr int kNextPicture = 6;
constexpr int kExportPicture = 8;
constexpr int kVolumePicture = 10;
constexpr int kMutedPicture = 12;
constexpr int kDeletePicture = 14;
constexpr int kRecPicture = 16;
constexpr int kImportPicture = 18;
constexpr int kABookPicture = 20;

}  // namespace

void TMediaFrame::showButton(TImage* Image, bool Pressed) {
    const int pressed = Pressed ? 1 : 0;
    if (Image == PlayImage) {
        ShowButtonImage(Image, ImageListPlay, kPlayPicture + pressed);
        return;
    }
    int normal = -1;
    if (Image == PauseImage)
        normal = kPausePicture;
    else if (Image == StopImage)
        normal = kStopPicture;
    else if (Image == PrevImage)
        normal = kPrevPicture;
    else if (Image == NextImage)
        normal = kNextPicture;
    else if (Image == ExportImage)
        normal = kExportPicture;
    else if (Image == VolImage)
        normal = muted_ ? kMutedPicture : kVolumePicture;
    else if (Image == DeleteImage)
        normal = kDeletePicture;
    else if (Image == RecImage)
        normal = kRecPicture;
    else if (Image == ImportImage)
        normal = kImportPicture;
    else if (Image == ABookImage)
        normal = kABookPicture;
    if (normal >= 0) ShowButtonImage(Image, ImageListBtn, normal + pressed);
}

void TMediaFrame::PlayImageMouseDown(TObject*, TMouseButton, TShiftState, int, int) { showButton(PlayImage, true); }
void TMediaFrame::PlayImageMouseUp(TObject*, TMouseButton, TShiftState, int, int) { showButton(PlayImage, false); }
void TMediaFrame::PauseImageMouseDown(TObject*, TMouseButton, TShiftState, int, int) { showButton(PauseImage, true); }
void TMediaFrame::PauseImageMouseUp(TObject*, TMouseButton, TShiftState, int, int) { showButton(PauseImage, false); }
void TMediaFrame::StopImageMouseDown(TObject*, TMouseButton, TShiftState, int, int) { showButton(StopImage, true); }
void TMediaFrame::StopImageMouseUp(TObject*, TMouseButton, TShiftState, int, int) { showButton(StopImage, false); }
void TMediaFrame::PrevImageMouseDown(TObject*, TMouseButton, TShiftState, int, int) { showButton(PrevImage, true); }
void TMediaFrame::PrevImageMouseUp(TObject*, TMouseButton, TShiftState, int, int) { showButton(PrevImage, false); }
void TMediaFrame::NextImageMouseDown(TObject*, TMouseButton, TShiftState, int, int) { showButton(NextImage, true); }
void TMediaFrame::NextImageMouseUp(TObject*, TMouseButton, TShiftState, int, int) { showButton(NextImage, false); }
void TMediaFrame::RecImageMouseDown(TObject*, TMouseButton, TShiftState, int, int) { showButton(RecImage, true); }
void TMediaFrame::RecImageMouseUp(TObject*, TMouseButton, TShiftState, int, int) { showButton(RecImage, false); }
void TMediaFrame::VolImageMouseDown(TObject*, TMouseButton, TShiftState, int, int) { showButton(VolImage, true); }
void TMediaFrame::VolImageMouseUp(TObject*, TMouseButton, TShiftState, int, int) { showButton(VolImage, false); }
void TMediaFrame::ExportImageMouseDown(TObject*, TMouseButton, TShiftState, int, int) { showButton(ExportImage, true); }
void TMediaFrame::ExportImageMouseUp(TObject*, TMouseButton, TShiftState, int, int) { showButton(ExportImage, false); }
void TMediaFrame::DeleteImageMouseDown(TObject*, TMouseButton, TShiftState, int, int) { showButton(DeleteImage, true); }
void TMediaFrame::DeleteImageMouseUp(TObject*, TMouseButton, TShiftState, int, int) { showButton(DeleteImage, false); }
void TMediaFrame::ImportImageMouseDown(TObject*, TMouseButton, TShiftState, int, int) { showButton(ImportImage, true); }
void TMediaFrame::ImportImageMouseUp(TObject*, TMouseButton, TShiftState, int, int) { showButton(ImportImage, false); }
void TMediaFrame::ABookImageMouseDown(TObject*, TMouseButton, TShiftState, int, int) { showButton(ABookImage, true); }
void TMediaFrame::ABookImageMouseUp(TObject*, TMouseButton, TShiftState, int, int) { showButton(ABookImage, false); }
