#pragma once
// Image buttons: a picture from an image list, swapped for its pressed
// form while the mouse is down.
class TImage;
class TCustomImageList;

// Shows picture Index of List on Image and repaints it.
void ShowButtonImage(TImage* Image, const TCustomImageList* List, int Index);
