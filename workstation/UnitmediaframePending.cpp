// What the recordings frame does not do yet: filling the list, playing,
// recording, export, delete, import, the address book and the daily purge.
// Until each is built its handler does nothing at all, so no button or
// menu item pretends to have acted.
#include "workstation/Unitmediaframe.h"

void TMediaFrame::RefreshRecordings() {}
void TMediaFrame::OpenRecording(const AnsiString&) {}
void TMediaFrame::PurgeOldRecordings(int) {}
void TMediaFrame::UpdatePlayTime() {}
void TMediaFrame::ResetPlayTime() {}

void TMediaFrame::musicTableClick(TObject*) {}
void TMediaFrame::musicTableDblClick(TObject*) {}
void TMediaFrame::musicTableMouseUp(TObject*, TMouseButton, TShiftState, int, int) {}

void TMediaFrame::PlayImageClick(TObject*) {}
void TMediaFrame::PauseImageClick(TObject*) {}
void TMediaFrame::StopImageClick(TObject*) {}
void TMediaFrame::PrevImageClick(TObject*) {}
void TMediaFrame::PrevImageDblClick(TObject*) {}
void TMediaFrame::NextImageClick(TObject*) {}
void TMediaFrame::NextImageDblClick(TObject*) {}
void TMediaFrame::RecImageClick(TObject*) {}
void TMediaFrame::VolImageClick(TObject*) {}
void TMediaFrame::VolImageDblClick(TObject*) {}
void TMediaFrame::SeekTrackBarChange(TObject*) {}
void TMediaFrame::SeekTrackBarKeyDown(TObject*, WORD&, TShiftState) {}
void TMediaFrame::VolumeTrackBarKeyDown(TObject*, WORD&, TShiftState) {}
void TMediaFrame::Timer1Timer(TObject*) {}
void TMediaFrame::Timer2Timer(TObject*) {}

void TMediaFrame::ExportImageClick(TObject*) {}
void TMediaFrame::DeleteImageClick(TObject*) {}
void TMediaFrame::musicPopupMenuPopup(TObject*) {}
void TMediaFrame::op1Click(TObject*) {}
void TMediaFrame::op2Click(TObject*) {}
void TMediaFrame::op3Click(TObject*) {}
void TMediaFrame::Nagrywaniezapowiedzi1Click(TObject*) {}
void TMediaFrame::Zapowiedzwybranegopliku1Click(TObject*) {}
void TMediaFrame::RodoTimerTimer(TObject*) {}
