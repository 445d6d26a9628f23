#include "CanvasRecorder.h"

#include <algorithm>
#include <cstdio>

namespace {

std::string rgb(TColor c) {
    char b[8];
    std::snprintf(b, sizeof b, "#%06X", unsigned(c) & 0xFFFFFFu);
    return b;
}

std::string rect(const TRect& r) {
    return std::to_string(r.Left) + "," + std::to_string(r.Top) + "," + std::to_string(r.Right) + "," +
           std::to_string(r.Bottom);
}

}  // namespace

void TCanvasRecorder::FillRect(const TRect& R, TColor Color) {
    Calls.push_back("FillRect " + rect(R) + " " + rgb(Color));
    TSoftPaintBackend::FillRect(R, Color);
}

void TCanvasRecorder::Line(TPoint From, TPoint To, const TPenData& Pen) {
    if (inner_ == 0)
        Calls.push_back("Line " + std::to_string(From.X) + "," + std::to_string(From.Y) + "-" + std::to_string(To.X) +
                        "," + std::to_string(To.Y) + " " + rgb(Pen.Color));
    TSoftPaintBackend::Line(From, To, Pen);
}

void TCanvasRecorder::Polygon(const std::vector<TPoint>& Points, const TBrushData& Brush, const TPenData& Pen) {
    Calls.push_back("Polygon " + std::to_string(Points.size()) + " " + rgb(Brush.Color) + " " + rgb(Pen.Color));
    ++inner_;
    TSoftPaintBackend::Polygon(Points, Brush, Pen);
    --inner_;
}

void TCanvasRecorder::Rectangle(const TRect& R, const TBrushData& Brush, const TPenData& Pen) {
    Calls.push_back("Rectangle " + rect(R) + " " + rgb(Brush.Color) + " " + rgb(Pen.Color));
    ++inner_;
    TSoftPaintBackend::Rectangle(R, Brush, Pen);
    --inner_;
}

void TCanvasRecorder::TextOut(int X, int Y, const std::string& Utf8, const TFontData& Font, const TRect* Clip,
                              const TColor* Opaque) {
    Calls.push_back("TextOut " + std::to_string(X) + "," + std::to_string(Y) + " '" + Utf8 + "' " + rgb(Font.Color));
    Texts.push_back(Utf8);
    TSoftPaintBackend::TextOut(X, Y, Utf8, Font, Clip, Opaque);
}

int TCanvasRecorder::DrawText(const std::string& Utf8, TRect& R, unsigned Format, const TFontData& Font) {
    Calls.push_back("DrawText " + rect(R) + " '" + Utf8 + "'");
    Texts.push_back(Utf8);
    return TSoftPaintBackend::DrawText(Utf8, R, Format, Font);
}

std::vector<std::string> RecordPaint(TControl* Control, TBitmap& Bitmap) {
    Bitmap.SetSize(Control->ClientWidth(), Control->ClientHeight());
    TCanvasRecorder recorder(&Bitmap);
    TPeerInput::Paint(Control, recorder, TRect(0, 0, Bitmap.Width(), Bitmap.Height()));
    return recorder.Calls;
}

std::vector<std::string> DrawnTexts(TControl* Control) {
    TBitmap bitmap;
    bitmap.SetSize(std::max(1, Control->ClientWidth()), std::max(1, Control->ClientHeight()));
    TCanvasRecorder recorder(&bitmap);
    TPeerInput::Paint(Control, recorder, TRect(0, 0, bitmap.Width(), bitmap.Height()));
    return recorder.Texts;
}
