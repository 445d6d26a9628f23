#pragma once
// Streams: the abstract TStream and memory, file, string and resource streams.
#include "Classes.h"

#include <cstdio>

enum TSeekOrigin { soBeginning, soCurrent, soEnd };

// File open modes and share modes (share modes have no meaning here and are ignored).
enum : uint16_t {
    fmOpenRead = 0x0000,
    fmOpenWrite = 0x0001,
    fmOpenReadWrite = 0x0002,
    fmShareCompat = 0x0000,
    fmShareExclusive = 0x0010,
    fmShareDenyWrite = 0x0020,
    fmShareDenyRead = 0x0030,
    fmShareDenyNone = 0x0040,
    fmCreate = 0xFF00
};

class TStream : public TObject {
    YORDE_CLASS(TStream, TObject)
public:
    virtual int64_t Read(void* Buffer, int64_t Count) = 0;         // returns bytes read
    virtual int64_t Write(const void* Buffer, int64_t Count) = 0;  // returns bytes written
    virtual int64_t Seek(int64_t Offset, TSeekOrigin Origin) = 0;  // returns the new position
    int64_t Position() { return Seek(0, soCurrent); }
    void SetPosition(int64_t Pos) { Seek(Pos, soBeginning); }
    virtual int64_t Size();
    virtual void SetSize(int64_t NewSize);
    void ReadBuffer(void* Buffer, int64_t Count);         // EReadError "Stream read error"
    void WriteBuffer(const void* Buffer, int64_t Count);  // EWriteError "Stream write error"
    int64_t CopyFrom(TStream* Source, int64_t Count);     // Count 0: all of Source from its start
    // Component images (signature "TPF0"), implemented with TReader/TWriter.
    TComponent* ReadComponent(TComponent* Instance);
    void WriteComponent(TComponent* Instance);
};
