#pragma once
// Streams over operating-system file descriptors.
#include "classes/Streams.h"
#include "rtl/FileDescriptor.h"

// A descriptor the caller owns.
class THandleStream : public TStream {
    YORDE_CLASS(THandleStream, TStream)
public:
    explicit THandleStream(int AHandle) : handle_(AHandle) {}
    int Handle() const { return handle_; }
    // Fewer bytes than asked at the end of the file; EReadError on an I/O
    // error, so that an error never reads as the end of the file.
    int64_t Read(void* Buffer, int64_t Count) override;
    // Returns the bytes written; fewer (0 included) when the system refuses more.
    int64_t Write(const void* Buffer, int64_t Count) override;
    // -1 when the position cannot be set (before the start); it then stays.
    int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
    int64_t Size() override;
    // Truncates or extends the file and leaves the position at NewSize.
    void SetSize(int64_t NewSize) override;

protected:
    int handle_;
};

// Opens or creates a file by name (ANSI text, converted for the file system)
// and closes it with the stream.
//   fmCreate         create, or truncate an existing file; read and write
//   fmOpenRead       existing file, read only
//   fmOpenWrite      existing file, write only
//   fmOpenReadWrite  existing file, read and write
// The share modes (fmShare*) are accepted and ignored: Linux has no
// mandatory sharing locks. Rights are the permission bits of a new file
// (before the umask). Errors: EFCreateError "Cannot create file %s" and
// EFOpenError "Cannot open file %s", followed by the system's reason.
// Descriptors are close-on-exec, so programs started later do not inherit them.
class TFileStream : public THandleStream {
    YORDE_CLASS(TFileStream, THandleStream)
public:
    TFileStream(const AnsiString& FileName, uint16_t Mode, unsigned Rights = 0666);
    ~TFileStream() override;
    const AnsiString& FileName() const { return fileName_; }

private:
    AnsiString fileName_;
    TUniqueFd file_;
};

// Writes Data as the whole new content of FileName through
// WriteFileAtomically: a failure leaves the old file intact, the file keeps
// its permission bits and a symbolic link keeps pointing at the replaced
// file. EFCreateError or EWriteError with the system's reason.
void ReplaceFile(const AnsiString& FileName, const void* Data, int64_t Size);
