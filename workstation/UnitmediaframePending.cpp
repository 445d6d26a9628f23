// What the recordings frame does not do yet: recording and uploading
// announcements. Until each is built its handler does nothing at all, so no
// menu item pretends to have acted.
#include "workstation/Unitmediaframe.h"

void TMediaFrame::Nagrywaniezapowiedzi1Click(TObject*) {}
void TMediaFrame::Zapowiedzwybranegopliku1Click(TObject*) {}
void TMediaFrame::startAnnouncementUpload(const AnsiString&) {}
