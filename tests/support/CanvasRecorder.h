#pragma once
// Records what a control draws through its canvas, one readable line per
// drawing call, while still drawing into a bitmap (shapes only; text is
// recorded, not rendered). Tests assert on the lines instead of on pixels.
#include "vcl/Controls.h"
#include "vcl/Graphics.h"
#include "vcl/PeerInput.h"
#include "vcl/SoftPaint.h"

#include <string>
#include <vector>

class TCanvasRecorder : public TSoftPaintBackend {
public:
    explicit TCanvasRecorder(TBitmap* Bitmap) : TSoftPaintBackend(Bitmap) {}

    void FillRect(const TRect& R, TColor Color) override;
    void Line(TPoint From, TPoint To, const TPenData& Pen) override;
    void Polygon(const std::vector<TPoint>& Points, const TBrushData& Brush, const TPenData& Pen) override;
    void Rectangle(const TRect& R, const TBrushData& Brush, const TPenData& Pen) override;
    void TextOut(int X, int Y, const std::string& Utf8, const TFontData& Font, const TRect* Clip,
                 const TColor* Opaque) override;
    int DrawText(const std::string& Utf8, TRect& R, unsigned Format, const TFontData& Font) override;

    // "FillRect 0,0,10,22 #RRGGBB", "TextOut 2,3 'text' #RRGGBB", "Polygon 3 #fill #pen" ...
    std::vector<std::string> Calls;
    // Just the texts, in drawing order.
    std::vector<std::string> Texts;

private:
    int inner_ = 0;  // inside a shape the software backend draws with lines
};

// Paints Control (its whole client area) into Bitmap through a recorder and
// returns what was drawn.
std::vector<std::string> RecordPaint(TControl* Control, TBitmap& Bitmap);

// The texts Control draws when painted (its whole client area), in drawing
// order, as they reach the screen.
std::vector<std::string> DrawnTexts(TControl* Control);
