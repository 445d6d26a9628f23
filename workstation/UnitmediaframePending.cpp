// What the recordings frame does not do yet: export, delete and the daily
// purge. Until each is built its handler does nothing at all, so no button
// or menu item pretends to have acted.
#include "workstation/Unitmediaframe.h"

void TMediaFrame::PurgeOldRecordings(int) {}

void TMediaFrame::ExportImageClick(TObject*) {}
void TMediaFrame::DeleteImageClick(TObject*) {}
void TMediaFrame::musicPopupMenuPopup(TObject*) {}
void TMediaFrame::op1Click(TObject*) {}
void TMediaFrame::op2Click(TObject*) {}
void TMediaFrame::op3Click(TObject*) {}
void TMediaFrame::RodoTimerTimer(TObject*) {}
