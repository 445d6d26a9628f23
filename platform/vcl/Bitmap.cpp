// Graphics: bitmaps, icons and pictures.
#include "vcl/Graphics.h"
#include "vcl/Peers.h"
#include "vcl/SoftPaint.h"

#include "classes/FileStream.h"
#include "classes/MemoryStream.h"
#include "rtl/Paths.h"
#include "rtl/StrUtils.h"

YORDE_IMPLEMENT_CLASS(TGraphic, [](TClassBuilder<TGraphic>&) {})
YORDE_IMPLEMENT_CLASS(TBitmap, [](TClassBuilder<TBitmap>&) {})
YORDE_IMPLEMENT_CLASS(TIcon, [](TClassBuilder<TIcon>&) {})
YORDE_IMPLEMENT_CLASS(TPicture, [](TClassBuilder<TPicture>&) {})

namespace {

std::string readAll(TStream* s) {
    int64_t left = s->Size() - s->Position();
    std::string bytes(size_t(left > 0 ? left : 0), '\0');
    if (!bytes.empty()) s->ReadBuffer(bytes.data(), int64_t(bytes.size()));
    return bytes;
}

std::string readFile(const AnsiString& FileName) {
    TFileStream f(FileName, fmOpenRead | fmShareDenyWrite);
    return readAll(&f);
}

void writeFile(const AnsiString& FileName, const std::string& bytes) {
    TFileStream f(FileName, fmCreate);
    f.WriteBuffer(bytes.data(), int64_t(bytes.size()));
}

void decodeImage(const std::string& bytes, int& w, int& h, std::vector<uint32_t>& px) {
    if (IsBmpData(bytes)) {
        DecodeBmp(bytes, w, h, px);
        return;
    }
    IPeerFactory* f = PeerFactory();
    if (!f || !f->DecodeImage(bytes, w, h, px)) throw EInvalidGraphic("Unknown picture file format");
}

}  // namespace

// ---------------------------------------------------------------------------
// TGraphic

void TGraphic::SetTransparent(bool Value) {
    if (runHome([this, Value] { SetTransparent(Value); })) return;
    if (Value == transparent_) return;
    transparent_ = Value;
    Changed();
}

void TGraphic::Changed() { OnChange(this); }

void TGraphic::DefineProperties(TFiler& Filer) {
    Filer.DefineBinaryProperty(
        "Data", [this](TStream& S) { ReadData(S); }, [this](TStream& S) { WriteData(S); }, !Empty());
}

void TGraphic::LoadFromFile(const AnsiString& FileName) {
    if (runHome([&] { LoadFromFile(FileName); })) return;
    TFileStream f(FileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(&f);
}

void TGraphic::SaveToFile(const AnsiString& FileName) {
    if (runHome([&] { SaveToFile(FileName); })) return;
    TFileStream f(FileName, fmCreate);
    SaveToStream(&f);
}

// ---------------------------------------------------------------------------
// TBitmap and its canvas

class TBitmapCanvas : public TCanvas {
public:
    explicit TBitmapCanvas(TBitmap* Bitmap) : bitmap_(Bitmap) {}
    void release() { owned_.reset(); }

protected:
    IPaintBackend* backend() override {
        if (IPaintBackend* b = BoundBackend()) return b;
        if (!owned_) {
            if (IPeerFactory* f = PeerFactory())
                owned_ = f->CreateBitmapBackend(bitmap_);
            else
                owned_ = std::make_unique<TSoftPaintBackend>(bitmap_);
        }
        return owned_.get();
    }

private:
    TBitmap* bitmap_;
    std::unique_ptr<IPaintBackend> owned_;
};

TBitmap::TBitmap() = default;
TBitmap::~TBitmap() = default;

void TBitmap::releaseCanvasBackend() {
    if (canvas_) static_cast<TBitmapCanvas*>(canvas_.get())->release();
}

TCanvas* TBitmap::Canvas() {
    if (awayFromHome()) return ReadOnMain([this] { return Canvas(); });
    if (!canvas_) {
        canvas_ = std::make_unique<TBitmapCanvas>(this);
        canvas_->OnChange = [this](TObject*) { Changed(); };
        if (LivesOnMainThread()) canvas_->LiveOnMainThread();
    }
    return canvas_.get();
}

void TBitmap::LiveOnMainThread() {
    TGraphic::LiveOnMainThread();
    if (canvas_) canvas_->LiveOnMainThread();
}

void TBitmap::Changed() { TGraphic::Changed(); }

void TBitmap::SetSize(int AWidth, int AHeight) {
    if (runHome([=, this] { SetSize(AWidth, AHeight); })) return;
    AWidth = std::max(0, AWidth);
    AHeight = std::max(0, AHeight);
    if (AWidth == width_ && AHeight == height_) return;
    releaseCanvasBackend();
    std::vector<uint32_t> px(size_t(AWidth) * size_t(AHeight), 0xFFFFFFFFu);
    for (int y = 0; y < std::min(height_, AHeight); ++y)
        for (int x = 0; x < std::min(width_, AWidth); ++x)
            px[size_t(y) * size_t(AWidth) + size_t(x)] = pixels_[size_t(y) * size_t(width_) + size_t(x)];
    pixels_ = std::move(px);
    width_ = AWidth;
    height_ = AHeight;
    Changed();
}

void TBitmap::SetPixels(int AWidth, int AHeight, std::vector<uint32_t> Pixels) {
    if (runHome([&] { SetPixels(AWidth, AHeight, std::move(Pixels)); })) return;
    if (AWidth < 0 || AHeight < 0 || Pixels.size() != size_t(AWidth) * size_t(AHeight))
        throw EInvalidGraphic("Bitmap image is not valid");
    releaseCanvasBackend();
    width_ = AWidth;
    height_ = AHeight;
    pixels_ = std::move(Pixels);
    Changed();
}

uint32_t TBitmap::PixelArgb(int X, int Y) const {
    if (awayFromHome()) return ReadOnMain([=, this] { return PixelArgb(X, Y); });
    if (X < 0 || Y < 0 || X >= width_ || Y >= height_) return 0;
    return pixels_[size_t(Y) * size_t(width_) + size_t(X)];
}

void TBitmap::SetPixelArgb(int X, int Y, uint32_t Argb) {
    if (runHome([=, this] { SetPixelArgb(X, Y, Argb); })) return;
    if (X < 0 || Y < 0 || X >= width_ || Y >= height_) return;
    pixels_[size_t(Y) * size_t(width_) + size_t(X)] = Argb;
    Changed();
}

void TBitmap::SetTransparentMode(TTransparentMode Value) {
    if (runHome([this, Value] { SetTransparentMode(Value); })) return;
    if (Value == transparentMode_) return;
    transparentMode_ = Value;
    Changed();
}

TColor TBitmap::TransparentColor() const {
    if (awayFromHome()) return ReadOnMain([this] { return TransparentColor(); });
    if (transparentMode_ == tmFixed && transparentColor_ != clDefault) return transparentColor_;
    if (width_ == 0 || height_ == 0) return clDefault;
    return ArgbToColor(PixelArgb(0, height_ - 1));
}

void TBitmap::SetTransparentColor(TColor Value) {
    if (runHome([this, Value] { SetTransparentColor(Value); })) return;
    transparentColor_ = Value;
    transparentMode_ = Value == clDefault ? tmAuto : tmFixed;
    Changed();
}

int32_t TBitmap::TransparentKey() const {
    TColor c = TransparentColor();
    return c == clDefault ? -1 : int32_t(ColorToRGB(c)) & 0xFFFFFF;
}

void TBitmap::Assign(TPersistent* Source) {
    if (runHome([&] { Assign(Source); })) return;
    if (!Source) {
        SetPixels(0, 0, {});
        return;
    }
    if (auto* b = dynamic_cast<TBitmap*>(Source)) {
        if (b == this) return;
        pixelFormat_ = b->pixelFormat_;
        transparentMode_ = b->transparentMode_;
        transparentColor_ = b->transparentColor_;
        if (Transparent() != b->Transparent()) TGraphic::SetTransparent(b->Transparent());
        SetPixels(b->width_, b->height_, b->pixels_);
        return;
    }
    if (auto* g = dynamic_cast<TGraphic*>(Source)) {
        std::vector<uint32_t> px;
        if (const uint32_t* d = g->PixelData()) px.assign(d, d + size_t(g->Width()) * size_t(g->Height()));
        SetPixels(px.empty() ? 0 : g->Width(), px.empty() ? 0 : g->Height(), std::move(px));
        return;
    }
    TGraphic::Assign(Source);
}

void TBitmap::LoadFromStream(TStream* Stream) {
    if (runHome([&] { LoadFromStream(Stream); })) return;
    int w = 0, h = 0;
    std::vector<uint32_t> px;
    std::string bytes = readAll(Stream);
    decodeImage(bytes, w, h, px);
    if (IsBmpData(bytes) && bytes.size() > 29) pixelFormat_ = uint8_t(bytes[28]) == 32 ? pf32bit : pf24bit;
    SetPixels(w, h, std::move(px));
}

void TBitmap::SaveToStream(TStream* Stream) {
    if (runHome([&] { SaveToStream(Stream); })) return;
    std::string bytes = EncodeBmp(width_, height_, pixels_, pixelFormat_ == pf32bit);
    Stream->WriteBuffer(bytes.data(), int64_t(bytes.size()));
}

void TBitmap::ReadData(TStream& Stream) {
    if (runHome([&] { ReadData(Stream); })) return;
    uint32_t size = 0;
    Stream.ReadBuffer(&size, 4);
    if (int64_t(size) > Stream.Size() - Stream.Position()) throw EReadError("Bitmap image is not valid");
    std::string bytes(size, '\0');
    if (size) Stream.ReadBuffer(bytes.data(), size);
    TStringStream ss(bytes);
    LoadFromStream(&ss);
}

void TBitmap::WriteData(TStream& Stream) {
    if (runHome([&] { WriteData(Stream); })) return;
    std::string bytes = EncodeBmp(width_, height_, pixels_, pixelFormat_ == pf32bit);
    uint32_t size = uint32_t(bytes.size());
    Stream.WriteBuffer(&size, 4);
    Stream.WriteBuffer(bytes.data(), int64_t(bytes.size()));
}

void TBitmap::LoadFromFile(const AnsiString& FileName) {
    if (runHome([&] { LoadFromFile(FileName); })) return;
    int w = 0, h = 0;
    std::vector<uint32_t> px;
    decodeImage(readFile(FileName), w, h, px);
    SetPixels(w, h, std::move(px));
}

void TBitmap::SaveToFile(const AnsiString& FileName) {
    if (runHome([&] { SaveToFile(FileName); })) return;
    if (!SameText(ExtractFileExt(FileName), ".png")) {
        TGraphic::SaveToFile(FileName);
        return;
    }
    std::string bytes;
    IPeerFactory* f = PeerFactory();
    TPixelsView v{width_, height_, PixelData()};
    if (!f || !f->EncodeImage(v, "PNG", bytes)) throw EInvalidGraphic("Cannot write a PNG file without the platform");
    writeFile(FileName, bytes);
}

// ---------------------------------------------------------------------------
// TIcon

void TIcon::LiveOnMainThread() {
    TGraphic::LiveOnMainThread();
    image_.LiveOnMainThread();
}

void TIcon::Assign(TPersistent* Source) {
    if (runHome([&] { Assign(Source); })) return;
    if (auto* i = dynamic_cast<TIcon*>(Source)) {
        if (i == this) return;
        data_ = i->data_;
        image_.Assign(&i->image_);
        Changed();
        return;
    }
    if (!Source) {
        data_.clear();
        image_.Assign(nullptr);
        Changed();
        return;
    }
    TGraphic::Assign(Source);
}

void TIcon::LoadFromStream(TStream* Stream) {
    if (runHome([&] { LoadFromStream(Stream); })) return;
    std::string bytes = readAll(Stream);
    int w = 0, h = 0;
    std::vector<uint32_t> px;
    // Without a platform an icon cannot be decoded; its bytes are kept all the same.
    if (PeerFactory() || IsBmpData(bytes)) decodeImage(bytes, w, h, px);
    image_.SetPixels(w, h, std::move(px));
    data_ = std::move(bytes);
    Changed();
}

void TIcon::SaveToStream(TStream* Stream) {
    if (runHome([&] { SaveToStream(Stream); })) return;
    std::string bytes = data_;
    if (bytes.empty() && !image_.Empty()) {
        IPeerFactory* f = PeerFactory();
        TPixelsView v{image_.Width(), image_.Height(), image_.PixelData()};
        if (!f || !f->EncodeImage(v, "ICO", bytes)) throw EInvalidGraphic("Cannot write an icon without the platform");
    }
    Stream->WriteBuffer(bytes.data(), int64_t(bytes.size()));
}

// ---------------------------------------------------------------------------
// TPicture

TPicture::TPicture() = default;
TPicture::~TPicture() = default;

void TPicture::changed() { OnChange(this); }

void TPicture::LiveOnMainThread() {
    TThreadHome::LiveOnMainThread();
    if (graphic_) graphic_->LiveOnMainThread();
}

void TPicture::setOwned(TGraphic* g) {
    graphic_.reset(g);
    if (!g) return;
    g->OnChange = [this](TObject*) { changed(); };
    if (LivesOnMainThread()) g->LiveOnMainThread();
}

TBitmap* TPicture::Bitmap() {
    if (awayFromHome()) return ReadOnMain([this] { return Bitmap(); });
    if (auto* b = dynamic_cast<TBitmap*>(graphic_.get())) return b;
    setOwned(new TBitmap);
    changed();
    return static_cast<TBitmap*>(graphic_.get());
}

TIcon* TPicture::Icon() {
    if (awayFromHome()) return ReadOnMain([this] { return Icon(); });
    if (auto* i = dynamic_cast<TIcon*>(graphic_.get())) return i;
    setOwned(new TIcon);
    changed();
    return static_cast<TIcon*>(graphic_.get());
}

void TPicture::SetGraphic(TGraphic* Value) {
    if (runHome([&] { SetGraphic(Value); })) return;
    if (Value == graphic_.get()) return;
    if (!Value) {
        setOwned(nullptr);
    } else {
        TGraphic* copy;
        if (dynamic_cast<TIcon*>(Value))
            copy = new TIcon;
        else
            copy = new TBitmap;
        std::unique_ptr<TGraphic> guard(copy);
        copy->Assign(Value);
        setOwned(guard.release());
    }
    changed();
}

void TPicture::Assign(TPersistent* Source) {
    if (runHome([&] { Assign(Source); })) return;
    if (!Source) {
        SetGraphic(nullptr);
        return;
    }
    if (auto* p = dynamic_cast<TPicture*>(Source)) {
        SetGraphic(p->Graphic());
        return;
    }
    if (auto* g = dynamic_cast<TGraphic*>(Source)) {
        SetGraphic(g);
        return;
    }
    TPersistent::Assign(Source);
}

void TPicture::LoadFromFile(const AnsiString& FileName) {
    if (runHome([&] { LoadFromFile(FileName); })) return;
    std::unique_ptr<TGraphic> g;
    if (SameText(ExtractFileExt(FileName), ".ico"))
        g = std::make_unique<TIcon>();
    else
        g = std::make_unique<TBitmap>();
    g->LoadFromFile(FileName);
    setOwned(g.release());
    changed();
}

void TPicture::SaveToFile(const AnsiString& FileName) {
    if (runHome([&] { SaveToFile(FileName); })) return;
    if (graphic_) graphic_->SaveToFile(FileName);
}

void TPicture::DefineProperties(TFiler& Filer) {
    Filer.DefineBinaryProperty(
        "Data", [this](TStream& S) { readData(S); }, [this](TStream& S) { writeData(S); },
        graphic_ && !graphic_->Empty());
}

// The graphic's class name as a short string; a bitmap then has a 32-bit
// size before its BMP data, an icon its file data.
void TPicture::readData(TStream& S) {
    uint8_t len = 0;
    S.ReadBuffer(&len, 1);
    AnsiString cls(len, '\0');
    if (len) S.ReadBuffer(cls.data(), len);
    std::unique_ptr<TGraphic> g;
    if (cls.empty()) {
        setOwned(nullptr);
        changed();
        return;
    }
    if (SameText(cls, "TBitmap"))
        g = std::make_unique<TBitmap>();
    else if (SameText(cls, "TIcon"))
        g = std::make_unique<TIcon>();
    else
        throw EInvalidGraphic("Unknown picture class " + cls);
    g->ReadData(S);
    setOwned(g.release());
    changed();
}

void TPicture::writeData(TStream& S) {
    AnsiString cls = graphic_ ? graphic_->ClassName() : AnsiString();
    uint8_t len = uint8_t(cls.size());
    S.WriteBuffer(&len, 1);
    S.WriteBuffer(cls.data(), len);
    if (graphic_) graphic_->WriteData(S);
}
