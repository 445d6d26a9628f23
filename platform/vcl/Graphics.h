#pragma once
// Colours, fonts, brushes, pens, the canvas and bitmaps. Everything here is
// plain state; drawing goes to an IPaintBackend (Peers.h) that the platform
// supplies, or to a small built-in one on bitmaps when there is no platform.
#include "classes/Classes.h"
#include "rtl/CodePages.h"
#include "vcl/Marshal.h"
#include "vcl/Types.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class IPaintBackend;
class TStream;

// ---------------------------------------------------------------------------
// Colours: 0x00BBGGRR, or a system colour 0x80000000 | index.

constexpr int32_t SysColor(int index) { return int32_t(0x80000000u | unsigned(index)); }

enum TColor : int32_t {
    clBlack = 0x000000,
    clMaroon = 0x000080,
    clGreen = 0x008000,
    clOlive = 0x008080,
    clNavy = 0x800000,
    clPurple = 0x800080,
    clTeal = 0x808000,
    clGray = 0x808080,
    clSilver = 0xC0C0C0,
    clRed = 0x0000FF,
    clLime = 0x00FF00,
    clYellow = 0x00FFFF,
    clBlue = 0xFF0000,
    clFuchsia = 0xFF00FF,
    clAqua = 0xFFFF00,
    clWhite = 0xFFFFFF,
    clLtGray = 0xC0C0C0,
    clDkGray = 0x808080,
    clMoneyGreen = 0xC0DCC0,
    clSkyBlue = 0xF0CAA6,
    clCream = 0xF0FBFF,
    clMedGray = 0xA4A0A0,
    clNone = 0x1FFFFFFF,
    clDefault = 0x20000000,

    clScrollBar = SysColor(0),
    clBackground = SysColor(1),
    clActiveCaption = SysColor(2),
    clInactiveCaption = SysColor(3),
    clMenu = SysColor(4),
    clWindow = SysColor(5),
    clWindowFrame = SysColor(6),
    clMenuText = SysColor(7),
    clWindowText = SysColor(8),
    clCaptionText = SysColor(9),
    clActiveBorder = SysColor(10),
    clInactiveBorder = SysColor(11),
    clAppWorkSpace = SysColor(12),
    clHighlight = SysColor(13),
    clHighlightText = SysColor(14),
    clBtnFace = SysColor(15),
    clBtnShadow = SysColor(16),
    clGrayText = SysColor(17),
    clBtnText = SysColor(18),
    clInactiveCaptionText = SysColor(19),
    clBtnHighlight = SysColor(20),
    cl3DDkShadow = SysColor(21),
    cl3DLight = SysColor(22),
    clInfoText = SysColor(23),
    clInfoBk = SysColor(24),
    clHotLight = SysColor(26),
    clGradientActiveCaption = SysColor(27),
    clGradientInactiveCaption = SysColor(28),
    clMenuHighlight = SysColor(29),
    clMenuBar = SysColor(30)
};
YORDE_IDENT_TYPEINFO(TColor, {clBlack, "clBlack"}, {clMaroon, "clMaroon"}, {clGreen, "clGreen"}, {clOlive, "clOlive"},
                     {clNavy, "clNavy"}, {clPurple, "clPurple"}, {clTeal, "clTeal"}, {clGray, "clGray"},
                     {clSilver, "clSilver"}, {clRed, "clRed"}, {clLime, "clLime"}, {clYellow, "clYellow"},
                     {clBlue, "clBlue"}, {clFuchsia, "clFuchsia"}, {clAqua, "clAqua"}, {clWhite, "clWhite"},
                     {clMoneyGreen, "clMoneyGreen"}, {clSkyBlue, "clSkyBlue"}, {clCream, "clCream"},
                     {clMedGray, "clMedGray"}, {clNone, "clNone"}, {clDefault, "clDefault"},
                     {clScrollBar, "clScrollBar"}, {clBackground, "clBackground"}, {clActiveCaption, "clActiveCaption"},
                     {clInactiveCaption, "clInactiveCaption"}, {clMenu, "clMenu"}, {clWindow, "clWindow"},
                     {clWindowFrame, "clWindowFrame"}, {clMenuText, "clMenuText"}, {clWindowText, "clWindowText"},
                     {clCaptionText, "clCaptionText"}, {clActiveBorder, "clActiveBorder"},
                     {clInactiveBorder, "clInactiveBorder"}, {clAppWorkSpace, "clAppWorkSpace"},
                     {clHighlight, "clHighlight"}, {clHighlightText, "clHighlightText"}, {clBtnFace, "clBtnFace"},
                     {clBtnShadow, "clBtnShadow"}, {clGrayText, "clGrayText"}, {clBtnText, "clBtnText"},
                     {clInactiveCaptionText, "clInactiveCaptionText"}, {clBtnHighlight, "clBtnHighlight"},
                     {cl3DDkShadow, "cl3DDkShadow"}, {cl3DLight, "cl3DLight"}, {clInfoText, "clInfoText"},
                     {clInfoBk, "clInfoBk"}, {clHotLight, "clHotLight"},
                     {clGradientActiveCaption, "clGradientActiveCaption"},
                     {clGradientInactiveCaption, "clGradientInactiveCaption"}, {clMenuHighlight, "clMenuHighlight"},
                     {clMenuBar, "clMenuBar"})

// A system colour becomes the fixed value of our palette; others pass unchanged
// (without the top byte).
TColor ColorToRGB(TColor Color);
// Bitmap pixels are 0xAARRGGBB.
inline uint32_t ColorToArgb(TColor Color) {
    uint32_t c = uint32_t(ColorToRGB(Color));
    return 0xFF000000u | ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}
inline TColor ArgbToColor(uint32_t argb) {
    return TColor(int32_t(((argb >> 16) & 0xFF) | (argb & 0xFF00) | ((argb & 0xFF) << 16)));
}
bool ColorToIdent(int32_t Color, AnsiString& Ident);
bool IdentToColor(const AnsiString& Ident, int32_t& Color);
AnsiString ColorToString(TColor Color);  // identifier, else "$00BBGGRR"

// ---------------------------------------------------------------------------
// Fonts

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = TSet<TFontStyle>;
YORDE_ENUM_TYPEINFO(TFontStyle, "fsBold", "fsItalic", "fsUnderline", "fsStrikeOut")
YORDE_SET_TYPEINFO(TFontStyles, TFontStyle)

enum TFontPitch { fpDefault, fpVariable, fpFixed };
YORDE_ENUM_TYPEINFO(TFontPitch, "fpDefault", "fpVariable", "fpFixed")

// 0..255, streamed by the charset identifiers (the constants are in rtl/CodePages.h).
enum TFontCharset : uint8_t {};
YORDE_IDENT_TYPEINFO(TFontCharset, {ANSI_CHARSET, "ANSI_CHARSET"}, {DEFAULT_CHARSET, "DEFAULT_CHARSET"},
                     {SYMBOL_CHARSET, "SYMBOL_CHARSET"}, {MAC_CHARSET, "MAC_CHARSET"},
                     {SHIFTJIS_CHARSET, "SHIFTJIS_CHARSET"}, {HANGEUL_CHARSET, "HANGEUL_CHARSET"},
                     {JOHAB_CHARSET, "JOHAB_CHARSET"}, {GB2312_CHARSET, "GB2312_CHARSET"},
                     {CHINESEBIG5_CHARSET, "CHINESEBIG5_CHARSET"}, {GREEK_CHARSET, "GREEK_CHARSET"},
                     {TURKISH_CHARSET, "TURKISH_CHARSET"}, {VIETNAMESE_CHARSET, "VIETNAMESE_CHARSET"},
                     {HEBREW_CHARSET, "HEBREW_CHARSET"}, {ARABIC_CHARSET, "ARABIC_CHARSET"},
                     {BALTIC_CHARSET, "BALTIC_CHARSET"}, {RUSSIAN_CHARSET, "RUSSIAN_CHARSET"},
                     {THAI_CHARSET, "THAI_CHARSET"}, {EASTEUROPE_CHARSET, "EASTEUROPE_CHARSET"},
                     {OEM_CHARSET, "OEM_CHARSET"})
bool CharsetToIdent(int Charset, AnsiString& Ident);
bool IdentToCharset(const AnsiString& Ident, int& Charset);

// Screen resolution used to convert point sizes to pixel heights.
constexpr int PixelsPerInch = 96;

// What a peer or paint backend needs to make a font.
struct TFontData {
    AnsiString Name;
    int Height = -11;  // negative: character height in pixels; positive: cell height
    TFontStyles Style;
    TColor Color = clBlack;  // already a plain RGB value
    int Charset = DEFAULT_CHARSET;
    TFontPitch Pitch = fpDefault;
    bool operator==(const TFontData&) const = default;
};

// Fonts, brushes and pens: a control's own live on the main thread (see TThreadHome).
class TGraphicsObject : public TPersistent, public TThreadHome {
    YORDE_CLASS(TGraphicsObject, TPersistent)
public:
    TNotifyEvent OnChange;

protected:
    virtual void Changed();
};

class TFont : public TGraphicsObject {
    YORDE_CLASS(TFont, TGraphicsObject)
public:
    TFont();
    void Assign(TPersistent* Source) override;

    AnsiString Name() const {
        return readHome([this] { return name_; });
    }
    void SetName(const AnsiString& Value);
    int Height() const {
        return readHome([this] { return height_; });
    }
    void SetHeight(int Value);
    // Points: Size = -Height * 72 / PixelsPerInch.
    int Size() const;
    void SetSize(int Value);
    TFontStyles Style() const {
        return readHome([this] { return style_; });
    }
    void SetStyle(TFontStyles Value);
    TColor Color() const {
        return readHome([this] { return color_; });
    }
    void SetColor(TColor Value);
    TFontCharset Charset() const {
        return readHome([this] { return charset_; });
    }
    void SetCharset(int Value);
    TFontPitch Pitch() const {
        return readHome([this] { return pitch_; });
    }
    void SetPitch(TFontPitch Value);

    // The code page that texts drawn or shown in this font are decoded with.
    int CodePage() const { return CharsetToCodePage(Charset()); }
    TFontData Data() const;
    bool SameAs(const TFont& Other) const;

private:
    struct State {
        AnsiString Name;
        int Height;
        TFontStyles Style;
        TColor Color;
        TFontCharset Charset;
        TFontPitch Pitch;
        bool operator==(const State&) const = default;
    };
    State state() const;
    void assign(const State& S);

    AnsiString name_ = "Tahoma";
    int height_ = -11;
    TFontStyles style_;
    TColor color_ = clWindowText;
    TFontCharset charset_ = TFontCharset(DEFAULT_CHARSET);
    TFontPitch pitch_ = fpDefault;
};

// ---------------------------------------------------------------------------
// Brushes and pens

enum TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };
YORDE_ENUM_TYPEINFO(TBrushStyle, "bsSolid", "bsClear", "bsHorizontal", "bsVertical", "bsFDiagonal", "bsBDiagonal",
                    "bsCross", "bsDiagCross")
enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
YORDE_ENUM_TYPEINFO(TPenStyle, "psSolid", "psDash", "psDot", "psDashDot", "psDashDotDot", "psClear", "psInsideFrame")

struct TBrushData {
    TColor Color = clWhite;  // RGB
    TBrushStyle Style = bsSolid;
};
struct TPenData {
    TColor Color = clBlack;  // RGB
    int Width = 1;
    TPenStyle Style = psSolid;
};

class TBrush : public TGraphicsObject {
    YORDE_CLASS(TBrush, TGraphicsObject)
public:
    TBrush() = default;
    void Assign(TPersistent* Source) override;
    TColor Color() const {
        return readHome([this] { return color_; });
    }
    void SetColor(TColor Value);
    TBrushStyle Style() const {
        return readHome([this] { return style_; });
    }
    void SetStyle(TBrushStyle Value);
    TBrushData Data() const {
        return readHome([this] { return TBrushData{ColorToRGB(color_), style_}; });
    }

private:
    void assign(TColor Color, TBrushStyle Style);

    TColor color_ = clWhite;
    TBrushStyle style_ = bsSolid;
};

class TPen : public TGraphicsObject {
    YORDE_CLASS(TPen, TGraphicsObject)
public:
    TPen() = default;
    void Assign(TPersistent* Source) override;
    TColor Color() const {
        return readHome([this] { return color_; });
    }
    void SetColor(TColor Value);
    int Width() const {
        return readHome([this] { return width_; });
    }
    void SetWidth(int Value);
    TPenStyle Style() const {
        return readHome([this] { return style_; });
    }
    void SetStyle(TPenStyle Value);
    TPenData Data() const {
        return readHome([this] { return TPenData{ColorToRGB(color_), width_, style_}; });
    }

private:
    void assign(TColor Color, int Width, TPenStyle Style);

    TColor color_ = clBlack;
    int width_ = 1;
    TPenStyle style_ = psSolid;
};

// ---------------------------------------------------------------------------
// Graphics: bitmaps, icons, pictures

class TCanvas;

// Bitmaps, icons and pictures: a control's own live on the main thread (see
// TThreadHome); a change made on a worker runs there while the worker waits.
class TGraphic : public TPersistent, public TThreadHome {
    YORDE_CLASS(TGraphic, TPersistent)
public:
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual bool Empty() const { return Width() == 0 || Height() == 0; }
    bool Transparent() const { return transparent_; }
    virtual void SetTransparent(bool Value);
    // Pixels as 0xAARRGGBB rows, top row first; empty when there is no image.
    virtual const uint32_t* PixelData() const = 0;
    // The colour that stays unpainted when drawn transparently (RGB), or -1.
    virtual int32_t TransparentKey() const { return -1; }

    virtual void LoadFromStream(TStream* Stream) = 0;
    virtual void SaveToStream(TStream* Stream) = 0;
    // By content (BMP, PNG, ICO ...); EFOpenError when missing, EInvalidGraphic when unreadable.
    virtual void LoadFromFile(const AnsiString& FileName);
    virtual void SaveToFile(const AnsiString& FileName);

    // Streamed as the binary property "Data" (ReadData/WriteData).
    void DefineProperties(TFiler& Filer) override;
    // The stored form: the graphic's data (a bitmap puts its size first).
    virtual void ReadData(TStream& Stream) { LoadFromStream(&Stream); }
    virtual void WriteData(TStream& Stream) { SaveToStream(&Stream); }

    TNotifyEvent OnChange;

protected:
    virtual void Changed();

private:
    bool transparent_ = false;
};

YORDE_DECLARE_EXCEPTION(EInvalidGraphic, Exception)

enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };
YORDE_ENUM_TYPEINFO(TPixelFormat, "pfDevice", "pf1bit", "pf4bit", "pf8bit", "pf15bit", "pf16bit", "pf24bit", "pf32bit",
                    "pfCustom")
enum TTransparentMode { tmAuto, tmFixed };
YORDE_ENUM_TYPEINFO(TTransparentMode, "tmAuto", "tmFixed")

class TBitmap : public TGraphic {
    YORDE_CLASS(TBitmap, TGraphic)
public:
    TBitmap();
    ~TBitmap() override;

    int Width() const override {
        return readHome([this] { return width_; });
    }
    int Height() const override {
        return readHome([this] { return height_; });
    }
    void SetWidth(int Value) { SetSize(Value, Height()); }
    void SetHeight(int Value) { SetSize(Width(), Value); }
    // Keeps the overlapping pixels; new ones are white.
    void SetSize(int AWidth, int AHeight);

    TPixelFormat PixelFormat() const { return pixelFormat_; }
    void SetPixelFormat(TPixelFormat Value) {
        if (!runHome([this, Value] { SetPixelFormat(Value); })) pixelFormat_ = Value;
    }
    TTransparentMode TransparentMode() const { return transparentMode_; }
    void SetTransparentMode(TTransparentMode Value);
    // tmAuto: the bottom-left pixel.
    TColor TransparentColor() const;
    void SetTransparentColor(TColor Value);
    int32_t TransparentKey() const override;

    TCanvas* Canvas();

    const uint32_t* PixelData() const override { return pixels_.empty() ? nullptr : pixels_.data(); }
    uint32_t* PixelData() { return pixels_.empty() ? nullptr : pixels_.data(); }
    uint32_t PixelArgb(int X, int Y) const;
    void SetPixelArgb(int X, int Y, uint32_t Argb);
    // Takes a whole image (Pixels: Width*Height values).
    void SetPixels(int AWidth, int AHeight, std::vector<uint32_t> Pixels);

    void Assign(TPersistent* Source) override;
    // BMP data; PNG data is accepted too when a platform can decode it.
    void LoadFromStream(TStream* Stream) override;
    void SaveToStream(TStream* Stream) override;
    void LoadFromFile(const AnsiString& FileName) override;
    // ".png" writes PNG (through the platform), anything else BMP.
    void SaveToFile(const AnsiString& FileName) override;
    // Tells the bitmap that its pixels were changed through PixelData()
    // (on the main thread for a control's bitmap).
    void Modified() {
        if (!runHome([this] { Modified(); })) Changed();
    }
    void LiveOnMainThread() override;
    // A 32-bit size, then the BMP data.
    void ReadData(TStream& Stream) override;
    void WriteData(TStream& Stream) override;

protected:
    void Changed() override;

private:
    friend class TBitmapCanvas;
    void releaseCanvasBackend();

    int width_ = 0;
    int height_ = 0;
    std::vector<uint32_t> pixels_;
    TPixelFormat pixelFormat_ = pfDevice;
    TTransparentMode transparentMode_ = tmAuto;
    TColor transparentColor_ = clDefault;
    std::unique_ptr<TCanvas> canvas_;
};

// A window icon: the decoded image plus the file's bytes (written back unchanged).
class TIcon : public TGraphic {
    YORDE_CLASS(TIcon, TGraphic)
public:
    TIcon() = default;
    void LiveOnMainThread() override;
    int Width() const override { return image_.Width(); }
    int Height() const override { return image_.Height(); }
    bool Empty() const override { return data_.empty() && image_.Empty(); }
    const uint32_t* PixelData() const override { return image_.PixelData(); }
    void Assign(TPersistent* Source) override;
    void LoadFromStream(TStream* Stream) override;
    void SaveToStream(TStream* Stream) override;
    const TBitmap& Image() const { return image_; }

private:
    TBitmap image_;
    std::string data_;
};

class TPicture : public TPersistent, public TThreadHome {
    YORDE_CLASS(TPicture, TPersistent)
public:
    TPicture();
    ~TPicture() override;
    // The graphic it holds lives there too.
    void LiveOnMainThread() override;

    TGraphic* Graphic() const {
        return readHome([this] { return graphic_.get(); });
    }
    void SetGraphic(TGraphic* Value);  // copies
    // The bitmap, made (replacing another kind of graphic) on first use.
    TBitmap* Bitmap();
    void SetBitmap(TBitmap* Value) { SetGraphic(Value); }
    TIcon* Icon();
    int Width() const {
        return readHome([this] { return graphic_ ? graphic_->Width() : 0; });
    }
    int Height() const {
        return readHome([this] { return graphic_ ? graphic_->Height() : 0; });
    }

    void Assign(TPersistent* Source) override;
    // ".ico" makes an icon, anything else a bitmap.
    void LoadFromFile(const AnsiString& FileName);
    void SaveToFile(const AnsiString& FileName);
    // Streamed as "Data": the graphic's class name (short string), then its data.
    void DefineProperties(TFiler& Filer) override;

    TNotifyEvent OnChange;

private:
    void changed();
    void setOwned(TGraphic* g);
    void readData(TStream& S);
    void writeData(TStream& S);

    std::unique_ptr<TGraphic> graphic_;
};

// BMP files (1, 4, 8, 24 and 32 bits, uncompressed or RLE; written as 24 or 32 bits).
bool IsBmpData(const std::string& Bytes);
void DecodeBmp(const std::string& Bytes, int& Width, int& Height, std::vector<uint32_t>& Pixels);  // EInvalidGraphic
std::string EncodeBmp(int Width, int Height, const std::vector<uint32_t>& Pixels, bool WithAlpha);

// ---------------------------------------------------------------------------
// The canvas

// DrawText format flags (the Windows values).
constexpr unsigned DT_TOP = 0x0, DT_LEFT = 0x0, DT_CENTER = 0x1, DT_RIGHT = 0x2, DT_VCENTER = 0x4, DT_BOTTOM = 0x8,
                   DT_WORDBREAK = 0x10, DT_SINGLELINE = 0x20, DT_EXPANDTABS = 0x40, DT_NOCLIP = 0x100,
                   DT_CALCRECT = 0x400, DT_NOPREFIX = 0x800, DT_END_ELLIPSIS = 0x8000;

// A control's canvas and the canvas of a control's bitmap live on the main
// thread (see TThreadHome): drawing on them from a worker runs there while
// the worker waits.
class TCanvas : public TPersistent, public TThreadHome {
    YORDE_CLASS(TCanvas, TPersistent)
public:
    TCanvas();
    ~TCanvas() override;
    // Its font, brush and pen live there too.
    void LiveOnMainThread() override;

    TFont* Font() const { return font_.get(); }
    void SetFont(TFont* Value) { font_->Assign(Value); }
    TBrush* Brush() const { return brush_.get(); }
    void SetBrush(TBrush* Value) { brush_->Assign(Value); }
    TPen* Pen() const { return pen_.get(); }
    void SetPen(TPen* Value) { pen_->Assign(Value); }
    TPoint PenPos() const {
        return readHome([this] { return penPos_; });
    }
    void SetPenPos(TPoint Value) {
        if (!runHome([this, Value] { SetPenPos(Value); })) penPos_ = Value;
    }

    void MoveTo(int X, int Y) { SetPenPos(TPoint(X, Y)); }
    void LineTo(int X, int Y);
    void FillRect(const TRect& R);
    void FrameRect(const TRect& R);
    void Rectangle(int X1, int Y1, int X2, int Y2);
    void Rectangle(const TRect& R) { Rectangle(R.Left, R.Top, R.Right, R.Bottom); }
    void Ellipse(int X1, int Y1, int X2, int Y2);
    // Points_Size is the index of the last point.
    void Polygon(const TPoint* Points, int Points_Size);
    void Polygon(const std::vector<TPoint>& Points);
    void Polyline(const TPoint* Points, int Points_Size);
    void Polyline(const std::vector<TPoint>& Points);
    // Texts are decoded with CodePage; 0 is the font's (its charset's).
    // Fills behind the text with the brush unless the brush is clear.
    void TextOut(int X, int Y, const AnsiString& Text, int CodePage = 0);
    // The same, clipped to R, which is filled first.
    void TextRect(const TRect& R, int X, int Y, const AnsiString& Text, int CodePage = 0);
    // Multi-line text in R with DT_ flags; DT_CALCRECT only measures and
    // adjusts R. Returns the text's height.
    int DrawText(const AnsiString& Text, TRect& R, unsigned Format, int CodePage = 0);
    TSize TextExtent(const AnsiString& Text);
    int TextWidth(const AnsiString& Text) { return TextExtent(Text).cx; }
    int TextHeight(const AnsiString& Text) { return TextExtent(Text).cy; }
    void Draw(int X, int Y, TGraphic* Graphic);
    void StretchDraw(const TRect& R, TGraphic* Graphic);
    TColor Pixels(int X, int Y);
    void SetPixels(int X, int Y, TColor Value);
    TRect ClipRect();

    // The backend that drawing goes to: bound by a paint, owned by a bitmap.
    bool HandleAllocated() { return backend() != nullptr; }
    void SetBackend(IPaintBackend* Backend) { bound_ = Backend; }
    IPaintBackend* BoundBackend() const { return bound_; }

    TNotifyEvent OnChange;

protected:
    virtual IPaintBackend* backend() { return bound_; }
    // Measuring works without a bound backend (through the platform).
    IPaintBackend* measureBackend();
    void changed();

private:
    std::string utf8(const AnsiString& Text, int CodePage = 0) const;
    int codePageOr(int CodePage) const;

    std::unique_ptr<TFont> font_;
    std::unique_ptr<TBrush> brush_;
    std::unique_ptr<TPen> pen_;
    TPoint penPos_;
    IPaintBackend* bound_ = nullptr;
};

// Text metrics without a canvas (through the platform when installed,
// else an estimate).
TSize MeasureText(const TFontData& Font, const std::string& Utf8);
int MeasureTextBlock(const TFontData& Font, const std::string& Utf8, TRect& R, unsigned Format);
