#include "classes/FileStream.h"

#include "rtl/AtomicFile.h"
#include "rtl/CodePages.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

YORDE_IMPLEMENT_CLASS(THandleStream, [](TClassBuilder<THandleStream>&) {})
YORDE_IMPLEMENT_CLASS(TFileStream, [](TClassBuilder<TFileStream>&) {})

namespace {

// strerror_r comes in two flavours; take whichever this C library has.
[[maybe_unused]] const char* pickError(int /*xsi*/, const char* buf) { return buf; }
[[maybe_unused]] const char* pickError(const char* gnu, const char* /*buf*/) { return gnu; }

AnsiString osErrorText(int err) {
    char buf[256] = {};
    return FromOsText(pickError(strerror_r(err, buf, sizeof buf), buf));
}

constexpr int64_t kMaxChunk = int64_t(1) << 30;

}  // namespace

// ---------------------------------------------------------------------------
// THandleStream

int64_t THandleStream::Read(void* Buffer, int64_t Count) {
    auto* p = static_cast<char*>(Buffer);
    int64_t done = 0;
    while (done < Count) {
        const ssize_t n = ::read(handle_, p + done, size_t(std::min(Count - done, kMaxChunk)));
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            if (done > 0) break;  // hand over what arrived; the error shows on the next read
            throw EReadError("Stream read error: " + osErrorText(errno));
        }
        done += n;
    }
    return done;
}

int64_t THandleStream::Write(const void* Buffer, int64_t Count) {
    const auto* p = static_cast<const char*>(Buffer);
    int64_t done = 0;
    while (done < Count) {
        const ssize_t n = ::write(handle_, p + done, size_t(std::min(Count - done, kMaxChunk)));
        if (n < 0) {
            if (errno == EINTR) continue;
            break;
        }
        if (n == 0) break;
        done += n;
    }
    return done;
}

int64_t THandleStream::Seek(int64_t Offset, TSeekOrigin Origin) {
    int whence = SEEK_SET;
    switch (Origin) {
    case soBeginning: whence = SEEK_SET; break;
    case soCurrent: whence = SEEK_CUR; break;
    case soEnd: whence = SEEK_END; break;
    default: return -1;
    }
    return int64_t(::lseek(handle_, off_t(Offset), whence));
}

int64_t THandleStream::Size() {
    struct stat st {};
    if (::fstat(handle_, &st) == 0 && S_ISREG(st.st_mode)) return int64_t(st.st_size);
    return inherited::Size();
}

void THandleStream::SetSize(int64_t NewSize) {
    if (NewSize < 0 || Seek(NewSize, soBeginning) < 0 || ::ftruncate(handle_, off_t(NewSize)) != 0)
        throw EStreamError("Cannot change the size of the stream: " + osErrorText(NewSize < 0 ? EINVAL : errno));
}

// ---------------------------------------------------------------------------
// TFileStream

TFileStream::TFileStream(const AnsiString& FileName, uint16_t Mode, unsigned Rights)
    : THandleStream(-1), fileName_(FileName) {
    const bool create = (Mode & fmCreate) == fmCreate;
    int flags = O_CLOEXEC;
    if (create) {
        flags |= O_RDWR | O_CREAT | O_TRUNC;
    } else {
        switch (Mode & 0x0003) {
        case fmOpenRead: flags |= O_RDONLY; break;
        case fmOpenWrite: flags |= O_WRONLY; break;
        case fmOpenReadWrite: flags |= O_RDWR; break;
        default: throw EFOpenError("Cannot open file " + FileName + ": " + osErrorText(EINVAL));
        }
    }
    auto fail = [&](int err) {
        const AnsiString reason = ": " + osErrorText(err);
        if (create) throw EFCreateError("Cannot create file " + FileName + reason);
        throw EFOpenError("Cannot open file " + FileName + reason);
    };
    file_.Reset(::open(ToOsText(FileName).c_str(), flags, mode_t(Rights)));
    if (!file_) fail(errno);
    // A folder opens read-only on Linux; as a file it is useless, so refuse it here.
    struct stat st {};
    if (::fstat(file_.Get(), &st) != 0) fail(errno);
    if (S_ISDIR(st.st_mode)) fail(EISDIR);
    handle_ = file_.Get();
}

TFileStream::~TFileStream() = default;

// ---------------------------------------------------------------------------
// ReplaceFile

void ReplaceFile(const AnsiString& FileName, const void* Data, int64_t Size) {
    WriteFileAtomically(FileName, std::string_view(static_cast<const char*>(Data), size_t(Size)));
}
