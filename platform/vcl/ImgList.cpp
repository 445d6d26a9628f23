// Image lists.
#include "vcl/ImgList.h"

#include "classes/Streams.h"

#include <algorithm>

YORDE_IMPLEMENT_CLASS(TCustomImageList, [](TClassBuilder<TCustomImageList>&) {})

YORDE_IMPLEMENT_CLASS(TImageList, [](TClassBuilder<TImageList>& c) {
    c.Property("AllocBy", &TImageList::AllocBy, &TImageList::SetAllocBy).Default(4);
    c.Property("BkColor", &TImageList::BkColor, &TImageList::SetBkColor).Default(clNone);
    c.Property("BlendColor", &TImageList::BlendColor, &TImageList::SetBlendColor).Default(clNone);
    c.Property("DrawingStyle", &TImageList::DrawingStyle, &TImageList::SetDrawingStyle).Default(dsNormal);
    c.Property("Height", &TImageList::Height, &TImageList::SetHeight).Default(16);
    c.Property("ImageType", &TImageList::ImageType, &TImageList::SetImageType).Default(itImage);
    c.Property("Masked", &TImageList::Masked, &TImageList::SetMasked).Default(1);
    c.Property("ShareImages", &TImageList::ShareImages, &TImageList::SetShareImages);
    c.Property("Width", &TImageList::Width, &TImageList::SetWidth).Default(16);
    c.Event("OnChange", static_cast<TNotifyEvent TImageList::*>(&TCustomImageList::OnChange));
})

namespace {

constexpr uint32_t transparentPixel = 0x00000000u;

uint32_t readU32(const std::string& b, size_t at) {
    return uint32_t(uint8_t(b[at])) | uint32_t(uint8_t(b[at + 1])) << 8 | uint32_t(uint8_t(b[at + 2])) << 16 |
           uint32_t(uint8_t(b[at + 3])) << 24;
}

void writeU32(std::string& b, uint32_t v) {
    for (int i = 0; i < 4; ++i) b += char((v >> (8 * i)) & 0xFF);
}

// Source over destination, both 0xAARRGGBB.
uint32_t blend(uint32_t src, uint32_t dst) {
    uint32_t a = src >> 24;
    if (a == 255) return src;
    if (a == 0) return dst;
    auto mix = [&](int shift) {
        uint32_t s = (src >> shift) & 0xFF, d = (dst >> shift) & 0xFF;
        return ((s * a + d * (255 - a) + 127) / 255) << shift;
    };
    uint32_t da = dst >> 24;
    uint32_t outA = a + (da * (255 - a) + 127) / 255;
    return (outA << 24) | mix(16) | mix(8) | mix(0);
}

}  // namespace

TCustomImageList::TCustomImageList(TComponent* AOwner) : TComponent(AOwner) {}

TCustomImageList::~TCustomImageList() = default;

void TCustomImageList::Change() { OnChange(this); }

void TCustomImageList::SetWidth(int Value) {
    Value = std::max(1, Value);
    if (Value == width_) return;
    if (ComponentState().Contains(csLoading)) {
        refit(Value, height_);
    } else {
        images_.clear();
        width_ = Value;
    }
    Change();
}

void TCustomImageList::SetHeight(int Value) {
    Value = std::max(1, Value);
    if (Value == height_) return;
    if (ComponentState().Contains(csLoading)) {
        refit(width_, Value);
    } else {
        images_.clear();
        height_ = Value;
    }
    Change();
}

void TCustomImageList::refit(int NewWidth, int NewHeight) {
    for (Cell& c : images_) {
        // Stored bytes are fitted to the cell size when they are decoded.
        if (!c.Decoded) continue;
        const std::vector<uint32_t>& old = c.Pixels;
        std::vector<uint32_t> px(size_t(NewWidth) * size_t(NewHeight), transparentPixel);
        for (int y = 0; y < std::min(height_, NewHeight); ++y)
            for (int x = 0; x < std::min(width_, NewWidth); ++x)
                px[size_t(y) * size_t(NewWidth) + size_t(x)] = old[size_t(y) * size_t(width_) + size_t(x)];
        c.Pixels = std::move(px);
        c.Encoded.clear();
    }
    width_ = NewWidth;
    height_ = NewHeight;
}

void TCustomImageList::checkIndex(int Index) const {
    if (Index < 0 || Index >= Count()) throw EInvalidOperation("Invalid ImageList Index");
}

// ---------------------------------------------------------------------------
// Cells

void TCustomImageList::decode(const Cell& C) const {
    if (C.Decoded) return;
    int w = 0, h = 0;
    std::vector<uint32_t> px;
    bool ok = false;
    if (IsBmpData(C.Encoded)) {
        DecodeBmp(C.Encoded, w, h, px);
        ok = true;
    } else if (IPeerFactory* f = PeerFactory()) {
        ok = f->DecodeImage(C.Encoded, w, h, px);
        if (!ok) throw EInvalidGraphic("Image list " + Name() + ": an image cannot be decoded");
    }
    size_t cellSize = size_t(width_) * size_t(height_);
    if (!ok) {
        // Without a platform the bytes stay, to be decoded once there is one.
        if (C.Pixels.size() != cellSize) C.Pixels.assign(cellSize, transparentPixel);
        return;
    }
    std::vector<uint32_t> cell(cellSize, transparentPixel);
    if (px.size() >= size_t(w) * size_t(h))
        for (int y = 0; y < std::min(h, height_); ++y)
            for (int x = 0; x < std::min(w, width_); ++x)
                cell[size_t(y) * size_t(width_) + size_t(x)] = px[size_t(y) * size_t(w) + size_t(x)];
    C.Pixels = std::move(cell);
    C.Decoded = true;
    C.Encoded.clear();
}

const std::vector<uint32_t>& TCustomImageList::pixels(int Index) const {
    const Cell& c = images_[size_t(Index)];
    decode(c);
    return c.Pixels;
}

TCustomImageList::Cell TCustomImageList::makeCell(const TBitmap& Image, int Left, const TBitmap* Mask,
                                                  int32_t MaskKey) const {
    Cell c;
    c.Pixels.assign(size_t(width_) * size_t(height_), transparentPixel);
    for (int y = 0; y < std::min(height_, Image.Height()); ++y)
        for (int x = 0; x < width_ && Left + x < Image.Width(); ++x) {
            uint32_t p = Image.PixelArgb(Left + x, y);
            bool clear = false;
            if (Mask && Left + x < Mask->Width() && y < Mask->Height())
                clear = (Mask->PixelArgb(Left + x, y) & 0xFFFFFF) == 0xFFFFFF;
            if (MaskKey >= 0 && int32_t(p & 0xFFFFFF) == MaskKey) clear = true;
            c.Pixels[size_t(y) * size_t(width_) + size_t(x)] = clear ? transparentPixel : p;
        }
    return c;
}

std::vector<TCustomImageList::Cell> TCustomImageList::cellsOf(TBitmap* Image, TBitmap* Mask, int32_t MaskKey) const {
    if (!Image) throw EInvalidOperation("Invalid image");
    int n = std::max(1, Image->Width() / width_);
    std::vector<Cell> cells;
    for (int i = 0; i < n; ++i) cells.push_back(makeCell(*Image, i * width_, Mask, MaskKey));
    return cells;
}

// ---------------------------------------------------------------------------
// Changing the list

int TCustomImageList::Add(TBitmap* Image, TBitmap* Mask) {
    std::vector<Cell> cells = cellsOf(Image, Mask, -1);
    int first = Count();
    for (Cell& c : cells) images_.push_back(std::move(c));
    Change();
    return first;
}

int TCustomImageList::AddMasked(TBitmap* Image, TColor MaskColor) {
    if (!Image) throw EInvalidOperation("Invalid image");
    int32_t key = -1;
    if (MaskColor == clDefault) {
        if (Image->Width() > 0 && Image->Height() > 0)
            key = int32_t(Image->PixelArgb(0, Image->Height() - 1) & 0xFFFFFF);
    } else if (MaskColor != clNone) {
        key = int32_t(ColorToArgb(MaskColor) & 0xFFFFFF);
    }
    std::vector<Cell> cells = cellsOf(Image, nullptr, key);
    int first = Count();
    for (Cell& c : cells) images_.push_back(std::move(c));
    Change();
    return first;
}

void TCustomImageList::Insert(int Index, TBitmap* Image, TBitmap* Mask) {
    if (Index < 0 || Index > Count()) throw EInvalidOperation("Invalid ImageList Index");
    std::vector<Cell> cells = cellsOf(Image, Mask, -1);
    images_.insert(images_.begin() + Index, std::make_move_iterator(cells.begin()),
                   std::make_move_iterator(cells.end()));
    Change();
}

void TCustomImageList::Replace(int Index, TBitmap* Image, TBitmap* Mask) {
    checkIndex(Index);
    if (!Image) throw EInvalidOperation("Invalid image");
    images_[size_t(Index)] = makeCell(*Image, 0, Mask, -1);
    Change();
}

void TCustomImageList::Delete(int Index) {
    checkIndex(Index);
    images_.erase(images_.begin() + Index);
    Change();
}

void TCustomImageList::Move(int CurIndex, int NewIndex) {
    checkIndex(CurIndex);
    checkIndex(NewIndex);
    if (CurIndex == NewIndex) return;
    Cell c = std::move(images_[size_t(CurIndex)]);
    images_.erase(images_.begin() + CurIndex);
    images_.insert(images_.begin() + NewIndex, std::move(c));
    Change();
}

void TCustomImageList::Clear() {
    if (images_.empty()) return;
    images_.clear();
    Change();
}

// ---------------------------------------------------------------------------
// Reading images

TPixelsView TCustomImageList::ImageView(int Index) const {
    if (Index < 0 || Index >= Count()) return TPixelsView{};
    return TPixelsView{width_, height_, pixels(Index).data()};
}

bool TCustomImageList::GetBitmap(int Index, TBitmap* Image) const {
    // The list is read, and a control's bitmap written, where they live.
    if (!IsMainThread()) return ReadOnMain([=, this] { return GetBitmap(Index, Image); });
    if (!Image || Index < 0 || Index >= Count()) return false;
    const std::vector<uint32_t>& src = pixels(Index);
    Image->SetSize(width_, height_);
    std::vector<uint32_t> px(src.size());
    const uint32_t* dst = Image->PixelData();
    for (size_t i = 0; i < src.size(); ++i) px[i] = blend(src[i], dst[i]);
    Image->SetPixels(width_, height_, std::move(px));
    return true;
}

void TCustomImageList::Draw(TCanvas* Canvas, int X, int Y, int Index, bool Enabled) const {
    if (!IsMainThread()) {
        RunOnMain([=, this] { Draw(Canvas, X, Y, Index, Enabled); });
        return;
    }
    if (!Canvas || Index < 0 || Index >= Count()) return;
    TBitmap bmp;
    bmp.SetPixels(width_, height_, pixels(Index));
    Canvas->Draw(X, Y, &bmp);
}

// ---------------------------------------------------------------------------
// Streaming

void TCustomImageList::DefineProperties(TFiler& Filer) {
    TComponent::DefineProperties(Filer);
    Filer.DefineBinaryProperty(
        "Bitmap", [this](TStream& S) { ReadImages(S); }, [this](TStream& S) { WriteImages(S); }, Count() > 0);
}

void TCustomImageList::ReadImages(TStream& Stream) {
    int64_t size = Stream.Size() - Stream.Position();
    std::string bytes(size_t(std::max<int64_t>(size, 0)), '\0');
    if (!bytes.empty()) Stream.ReadBuffer(bytes.data(), int64_t(bytes.size()));
    if (bytes.size() < 4) throw EReadError("Image list " + Name() + ": the image data is cut short");
    uint32_t count = readU32(bytes, 0);
    // Each image needs at least its length field.
    if (count > (bytes.size() - 4) / 4) throw EReadError("Image list " + Name() + ": the image data is cut short");
    std::vector<Cell> cells;
    cells.reserve(count);
    size_t at = 4;
    for (uint32_t i = 0; i < count; ++i) {
        if (bytes.size() - at < 4) throw EReadError("Image list " + Name() + ": the image data is cut short");
        uint32_t len = readU32(bytes, at);
        at += 4;
        if (bytes.size() - at < len) throw EReadError("Image list " + Name() + ": the image data is cut short");
        Cell c;
        c.Encoded = bytes.substr(at, len);
        c.Decoded = false;
        at += len;
        cells.push_back(std::move(c));
    }
    images_ = std::move(cells);
    // Decode now when a platform is there, so bad data shows while the layout is read.
    if (PeerFactory())
        for (const Cell& c : images_) decode(c);
    Change();
}

void TCustomImageList::WriteImages(TStream& Stream) const {
    std::string out;
    writeU32(out, uint32_t(images_.size()));
    IPeerFactory* f = PeerFactory();
    for (const Cell& c : images_) {
        std::string bytes;
        if (!c.Decoded) {
            bytes = c.Encoded;
        } else {
            TPixelsView view{width_, height_, c.Pixels.data()};
            if (!f || !f->EncodeImage(view, "PNG", bytes)) bytes = EncodeBmp(width_, height_, c.Pixels, true);
        }
        writeU32(out, uint32_t(bytes.size()));
        out += bytes;
    }
    Stream.WriteBuffer(out.data(), int64_t(out.size()));
}
