#pragma once
// Image lists: numbered images of one cell size (Width x Height).
//
// A layout fills a list through the binary property "Bitmap": a 32-bit
// little-endian count, then for each image in index order a 32-bit
// little-endian length and that many bytes of a PNG (BMP is accepted too).
// PNG is decoded by the platform; without one the bytes are kept and decoded
// when a platform is there, else the images read as transparent.
#include "vcl/Graphics.h"
#include "vcl/Peers.h"

#include <string>
#include <vector>

enum TDrawingStyle : int { dsFocus, dsSelected, dsNormal, dsTransparent };
YORDE_ENUM_TYPEINFO(TDrawingStyle, "dsFocus", "dsSelected", "dsNormal", "dsTransparent")
enum TImageType : int { itImage, itMask };
YORDE_ENUM_TYPEINFO(TImageType, "itImage", "itMask")

class TCustomImageList : public TComponent {
    YORDE_CLASS(TCustomImageList, TComponent)
public:
    explicit TCustomImageList(TComponent* AOwner);
    ~TCustomImageList() override;

    // Changing the cell size empties the list (while a layout is read, the
    // images already read are cut or padded to the new size instead).
    int Width() const { return width_; }
    void SetWidth(int Value);
    int Height() const { return height_; }
    void SetHeight(int Value);
    int Count() const { return int(images_.size()); }

    int AllocBy() const { return allocBy_; }
    void SetAllocBy(int Value) { allocBy_ = Value; }
    TColor BkColor() const { return bkColor_; }
    void SetBkColor(TColor Value) { bkColor_ = Value; }
    TColor BlendColor() const { return blendColor_; }
    void SetBlendColor(TColor Value) { blendColor_ = Value; }
    TDrawingStyle DrawingStyle() const { return drawingStyle_; }
    void SetDrawingStyle(TDrawingStyle Value) { drawingStyle_ = Value; }
    TImageType ImageType() const { return imageType_; }
    void SetImageType(TImageType Value) { imageType_ = Value; }
    bool Masked() const { return masked_; }
    void SetMasked(bool Value) { masked_ = Value; }
    bool ShareImages() const { return shareImages_; }
    void SetShareImages(bool Value) { shareImages_ = Value; }

    // Adds the bitmap cut into cells from the left (a bitmap as wide as n
    // cells gives n images); Mask: white pixels are transparent. Returns the
    // index of the first image added. EInvalidOperation for a null image.
    int Add(TBitmap* Image, TBitmap* Mask);
    // Pixels of MaskColor become transparent (clDefault: the bottom-left pixel's colour).
    int AddMasked(TBitmap* Image, TColor MaskColor);
    void Insert(int Index, TBitmap* Image, TBitmap* Mask);
    void Replace(int Index, TBitmap* Image, TBitmap* Mask);
    // EInvalidOperation "Invalid ImageList Index" out of range.
    void Delete(int Index);
    void Move(int CurIndex, int NewIndex);
    void Clear();

    // Sets Image to the cell size and draws the image into it (transparent
    // pixels keep what the bitmap held). False, with nothing changed, for an
    // index out of range or a null bitmap.
    bool GetBitmap(int Index, TBitmap* Image) const;
    void Draw(TCanvas* Canvas, int X, int Y, int Index, bool Enabled = true) const;
    // The image's pixels (cell size), valid until the list changes; empty
    // view out of range.
    TPixelsView ImageView(int Index) const;

    void DefineProperties(TFiler& Filer) override;
    // The stored form (see the top of the file).
    void ReadImages(TStream& Stream);
    void WriteImages(TStream& Stream) const;

    TNotifyEvent OnChange;

protected:
    virtual void Change();

private:
    struct Cell {
        mutable std::vector<uint32_t> Pixels;  // width_ x height_ once decoded
        mutable std::string Encoded;           // the stored bytes, until decoded
        mutable bool Decoded = true;
    };
    Cell makeCell(const TBitmap& Image, int Left, const TBitmap* Mask, int32_t MaskKey) const;
    const std::vector<uint32_t>& pixels(int Index) const;
    void decode(const Cell& C) const;
    void refit(int NewWidth, int NewHeight);
    void checkIndex(int Index) const;
    std::vector<Cell> cellsOf(TBitmap* Image, TBitmap* Mask, int32_t MaskKey) const;

    int width_ = 16;
    int height_ = 16;
    int allocBy_ = 4;
    TColor bkColor_ = clNone;
    TColor blendColor_ = clNone;
    TDrawingStyle drawingStyle_ = dsNormal;
    TImageType imageType_ = itImage;
    bool masked_ = true;
    bool shareImages_ = false;
    std::vector<Cell> images_;
};

class TImageList : public TCustomImageList {
    YORDE_CLASS(TImageList, TCustomImageList)
public:
    explicit TImageList(TComponent* AOwner) : TCustomImageList(AOwner) {}
};
