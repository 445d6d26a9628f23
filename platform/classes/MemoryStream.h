#pragma once
// Streams over memory: a view on a block (TCustomMemoryStream), a growable
// buffer (TMemoryStream) and its byte-vector and string flavours.
#include "classes/Streams.h"

#include <vector>

// Reads, seeks and saves a block it does not own. As in the class library a
// position may be set before the start or past the end; reads there give 0 bytes.
class TCustomMemoryStream : public TStream {
    YORDE_CLASS(TCustomMemoryStream, TStream)
public:
    int64_t Read(void* Buffer, int64_t Count) override;
    int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
    int64_t Size() override { return size_; }
    void* Memory() const { return memory_; }
    void SaveToStream(TStream* Stream);
    void SaveToFile(const AnsiString& FileName);  // replaces the file through a temporary one

protected:
    void SetPointer(void* Ptr, int64_t Size);
    int64_t memorySize() const { return size_; }
    int64_t position_ = 0;

private:
    void* memory_ = nullptr;
    int64_t size_ = 0;
};

class TMemoryStream : public TCustomMemoryStream {
    YORDE_CLASS(TMemoryStream, TCustomMemoryStream)
public:
    TMemoryStream() = default;
    // Writing past the end grows the stream; a gap is filled with zeros.
    int64_t Write(const void* Buffer, int64_t Count) override;
    // Keeps the position unless it lies beyond the new end, where it moves to the end.
    void SetSize(int64_t NewSize) override;
    void Clear();
    // The whole of Stream, from its start; the position here stays.
    void LoadFromStream(TStream* Stream);
    void LoadFromFile(const AnsiString& FileName);

private:
    void resize(int64_t NewSize);
    std::vector<uint8_t> buffer_;
};

class TBytesStream : public TMemoryStream {
    YORDE_CLASS(TBytesStream, TMemoryStream)
public:
    TBytesStream() = default;
    explicit TBytesStream(const std::vector<uint8_t>& ABytes);
    std::vector<uint8_t> Bytes() const;
};

class TStringStream : public TMemoryStream {
    YORDE_CLASS(TStringStream, TMemoryStream)
public:
    TStringStream() = default;
    explicit TStringStream(const AnsiString& AString);  // position 0
    AnsiString DataString() const;
    // Up to Count bytes from the position on.
    AnsiString ReadString(int64_t Count);
    void WriteString(const AnsiString& AString);
};
