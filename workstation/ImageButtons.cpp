#include "workstation/ImageButtons.h"

#include "vcl/ExtCtrls.h"
#include "vcl/ImgList.h"

void ShowButtonImage(TImage* Image, const TCustomImageList* List, int Index) {
    if (!Image || !List) return;
    List->GetBitmap(Index, Image->Picture()->Bitmap());
    Image->Repaint();
}
