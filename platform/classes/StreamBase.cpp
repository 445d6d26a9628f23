// The non-abstract members of TStream.
#include "classes/Filer.h"
#include "classes/Streams.h"

#include <algorithm>
#include <vector>

YORDE_IMPLEMENT_CLASS(TStream, [](TClassBuilder<TStream>&) {})

int64_t TStream::Size() {
    int64_t pos = Seek(0, soCurrent);
    int64_t size = Seek(0, soEnd);
    Seek(pos, soBeginning);
    return size;
}

void TStream::SetSize(int64_t) { throw EStreamError("Stream cannot change its size"); }

void TStream::ReadBuffer(void* Buffer, int64_t Count) {
    if (Count < 0) throw EReadError("Stream read error");
    auto* p = static_cast<char*>(Buffer);
    while (Count > 0) {
        int64_t n = Read(p, Count);
        if (n <= 0) throw EReadError("Stream read error");
        p += n;
        Count -= n;
    }
}

void TStream::WriteBuffer(const void* Buffer, int64_t Count) {
    if (Count < 0) throw EWriteError("Stream write error");
    auto* p = static_cast<const char*>(Buffer);
    while (Count > 0) {
        int64_t n = Write(p, Count);
        if (n <= 0) throw EWriteError("Stream write error");
        p += n;
        Count -= n;
    }
}

int64_t TStream::CopyFrom(TStream* Source, int64_t Count) {
    if (!Source) throw EReadError("Stream read error");
    if (Count < 0) throw EReadError("Stream read error");
    if (Count == 0) {
        Source->SetPosition(0);
        Count = Source->Size();
    }
    constexpr int64_t kChunk = 64 * 1024;
    std::vector<char> buffer(size_t(std::min(Count, kChunk)));
    int64_t left = Count;
    while (left > 0) {
        int64_t n = std::min(left, kChunk);
        Source->ReadBuffer(buffer.data(), n);
        WriteBuffer(buffer.data(), n);
        left -= n;
    }
    return Count;
}

TComponent* TStream::ReadComponent(TComponent* Instance) {
    TReader reader(*this);
    return reader.ReadRootComponent(Instance);
}

void TStream::WriteComponent(TComponent* Instance) {
    TWriter writer(*this);
    writer.WriteRootComponent(Instance);
}
