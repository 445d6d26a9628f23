// The standard pictures of the message dialogs, drawn: a yellow triangle
// with "!", a red disc with a cross, and blue discs with "i" and "?".
#include "localization/LxMessageDialog.h"

#include <vector>

namespace {
constexpr TColor yellow = TColor(0x00C8FF), red = TColor(0x2020D0), blue = TColor(0xC06010), black = clBlack,
                 white = clWhite;

void disc(TCanvas* C, TColor Fill) {
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(Fill);
    C->Pen()->SetColor(Fill);
    C->Ellipse(1, 1, 31, 31);
}

void bar(TCanvas* C, int X1, int Y1, int X2, int Y2, TColor Color) {
    C->Brush()->SetColor(Color);
    C->Pen()->SetColor(Color);
    C->Rectangle(X1, Y1, X2, Y2);
}

void dot(TCanvas* C, int X, int Y, TColor Color) {
    C->Brush()->SetColor(Color);
    C->Pen()->SetColor(Color);
    C->Ellipse(X - 2, Y - 2, X + 2, Y + 2);
}
}  // namespace

void lxDrawDialogIcon(TMsgDlgType Type, TBitmap* Bitmap) {
    if (Type == mtCustom || !Bitmap) return;
    Bitmap->SetSize(32, 32);
    TCanvas* c = Bitmap->Canvas();
    // The button face around the shape, as the dialog's background.
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(clBtnFace);
    c->FillRect(TRect(0, 0, 32, 32));
    switch (Type) {
    case mtWarning: {
        c->Brush()->SetColor(yellow);
        c->Pen()->SetColor(black);
        c->Polygon(std::vector<TPoint>{{16, 1}, {31, 30}, {1, 30}});
        bar(c, 14, 9, 18, 22, black);
        dot(c, 16, 26, black);
        break;
    }
    case mtError:
        disc(c, red);
        c->Pen()->SetColor(white);
        c->Pen()->SetWidth(4);
        c->MoveTo(10, 10);
        c->LineTo(22, 22);
        c->MoveTo(22, 10);
        c->LineTo(10, 22);
        c->Pen()->SetWidth(1);
        break;
    case mtInformation:
        disc(c, blue);
        dot(c, 16, 9, white);
        bar(c, 14, 13, 18, 25, white);
        break;
    case mtConfirmation:
        disc(c, blue);
        c->Pen()->SetColor(white);
        c->Pen()->SetWidth(3);
        c->Polyline(std::vector<TPoint>{{11, 12}, {12, 9}, {16, 7}, {20, 9}, {21, 12}, {20, 15}, {16, 17}, {16, 21}});
        c->Pen()->SetWidth(1);
        dot(c, 16, 25, white);
        break;
    default: break;
    }
    Bitmap->Modified();
}
