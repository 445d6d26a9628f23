#include "classes/MemoryStream.h"

#include "classes/FileStream.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>
#include <stdexcept>

YORDE_IMPLEMENT_CLASS(TCustomMemoryStream, [](TClassBuilder<TCustomMemoryStream>&) {})
YORDE_IMPLEMENT_CLASS(TMemoryStream, [](TClassBuilder<TMemoryStream>&) {})
YORDE_IMPLEMENT_CLASS(TBytesStream, [](TClassBuilder<TBytesStream>&) {})
YORDE_IMPLEMENT_CLASS(TStringStream, [](TClassBuilder<TStringStream>&) {})

// ---------------------------------------------------------------------------
// TCustomMemoryStream

void TCustomMemoryStream::SetPointer(void* Ptr, int64_t Size) {
    memory_ = Ptr;
    size_ = Size;
}

int64_t TCustomMemoryStream::Read(void* Buffer, int64_t Count) {
    if (position_ < 0 || Count <= 0 || position_ >= size_) return 0;
    const int64_t n = std::min(Count, size_ - position_);
    std::memcpy(Buffer, static_cast<const uint8_t*>(memory_) + position_, size_t(n));
    position_ += n;
    return n;
}

int64_t TCustomMemoryStream::Seek(int64_t Offset, TSeekOrigin Origin) {
    switch (Origin) {
    case soBeginning: position_ = Offset; break;
    case soCurrent: position_ += Offset; break;
    case soEnd: position_ = size_ + Offset; break;
    default: return -1;
    }
    return position_;
}

void TCustomMemoryStream::SaveToStream(TStream* Stream) {
    if (size_ > 0) Stream->WriteBuffer(memory_, size_);
}

void TCustomMemoryStream::SaveToFile(const AnsiString& FileName) { ReplaceFile(FileName, memory_, size_); }

// ---------------------------------------------------------------------------
// TMemoryStream

void TMemoryStream::resize(int64_t NewSize) {
    if (NewSize < 0) throw EStreamError("Invalid stream size");
    try {
        if (uint64_t(NewSize) > buffer_.max_size()) throw std::length_error("too large");
        buffer_.resize(size_t(NewSize));
    } catch (const std::exception&) {  // bad_alloc, length_error: keep to our hierarchy
        throw EStreamError("Out of memory while expanding memory stream");
    }
    SetPointer(buffer_.data(), NewSize);
}

int64_t TMemoryStream::Write(const void* Buffer, int64_t Count) {
    if (position_ < 0 || Count <= 0) return 0;
    if (Count > std::numeric_limits<int64_t>::max() - position_) return 0;
    const int64_t end = position_ + Count;
    if (end > Size()) resize(end);
    std::memcpy(buffer_.data() + position_, Buffer, size_t(Count));
    position_ = end;
    return Count;
}

void TMemoryStream::SetSize(int64_t NewSize) {
    const int64_t old = position_;
    resize(NewSize);
    if (NewSize < int64_t(buffer_.capacity() / 2)) buffer_.shrink_to_fit();
    SetPointer(buffer_.data(), NewSize);
    if (old > NewSize) position_ = NewSize;
}

void TMemoryStream::Clear() {
    std::vector<uint8_t>().swap(buffer_);
    SetPointer(nullptr, 0);
    position_ = 0;
}

void TMemoryStream::LoadFromStream(TStream* Stream) {
    Stream->SetPosition(0);
    const int64_t count = Stream->Size();
    SetSize(count);
    if (count > 0) Stream->ReadBuffer(buffer_.data(), count);
}

void TMemoryStream::LoadFromFile(const AnsiString& FileName) {
    TFileStream stream(FileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(&stream);
}

// ---------------------------------------------------------------------------
// TBytesStream, TStringStream

TBytesStream::TBytesStream(const std::vector<uint8_t>& ABytes) {
    if (!ABytes.empty()) WriteBuffer(ABytes.data(), int64_t(ABytes.size()));
    position_ = 0;
}

std::vector<uint8_t> TBytesStream::Bytes() const {
    const auto* p = static_cast<const uint8_t*>(Memory());
    return std::vector<uint8_t>(p, p + memorySize());
}

TStringStream::TStringStream(const AnsiString& AString) {
    WriteString(AString);
    position_ = 0;
}

AnsiString TStringStream::DataString() const {
    return AnsiString(static_cast<const char*>(Memory()), size_t(memorySize()));
}

AnsiString TStringStream::ReadString(int64_t Count) {
    const int64_t avail = std::max<int64_t>(0, Size() - position_);
    AnsiString s(size_t(std::clamp<int64_t>(Count, 0, avail)), '\0');
    s.resize(size_t(Read(s.data(), int64_t(s.size()))));
    return s;
}

void TStringStream::WriteString(const AnsiString& AString) {
    if (!AString.empty()) WriteBuffer(AString.data(), int64_t(AString.size()));
}
