#include "store/Recordings.h"

#include "rtl/CodePages.h"
#include "rtl/Files.h"
#include "rtl/Folders.h"
#include "store/FileBytes.h"
#include "store/Rc4.h"
#include "store/RecordingNames.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <new>
#include <string>
#include <string_view>

namespace {

void Put32(unsigned char* at, std::uint32_t v) {
    for (int n = 0; n < 4; ++n) at[n] = static_cast<unsigned char>(v >> (8 * n));
}

void Put16(unsigned char* at, std::uint16_t v) {
    at[0] = static_cast<unsigned char>(v);
    at[1] = static_cast<unsigned char>(v >> 8);
}

void PutId(unsigned char* at, const char (&id)[5]) {
    for (int n = 0; n < 4; ++n) at[n] = static_cast<unsigned char>(id[n]);
}

std::array<unsigned char, RecordingHeaderSize> MakeHeader() {
    std::array<unsigned char, RecordingHeaderSize> h{};
    PutId(&h[0], "RIFF");
    Put32(&h[4], RecordingHeaderSize - 8);
    PutId(&h[8], "WAVE");
    PutId(&h[12], "fmt ");
    Put32(&h[16], 20);
    Put16(&h[20], 0x0031);  // GSM 6.10
    Put16(&h[22], 1);
    Put32(&h[24], 8000);
    Put32(&h[28], RecordingBytesPerSecond);
    Put16(&h[32], 65);
    Put16(&h[34], 0);
    Put16(&h[36], 2);
    Put16(&h[38], 320);
    PutId(&h[40], "fact");
    Put32(&h[44], 4);
    Put32(&h[48], 0);
    PutId(&h[52], "data");
    Put32(&h[56], 0);
    return h;
}

class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() { Close(); }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    int Close() {
        if (fd_ < 0) return 0;
        const int rc = ::close(fd_);
        fd_ = -1;
        return rc;
    }

private:
    int fd_;
};

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(std::size_t(n));
    }
    return true;
}

// The temporary file is created exclusively (mkstemp: 0600, never through
// a link someone left there) and renamed over the target, which replaces a
// link rather than writing where it points.
bool WriteThroughTemporary(const std::string& target, std::string_view bytes) {
    std::string temp = target + ".XXXXXX";
    Fd fd(::mkostemp(temp.data(), O_CLOEXEC));
    if (!fd.valid()) return false;
    struct stat st;
    bool ok = WriteAll(fd.get(), bytes);
    // An existing target keeps its permissions.
    if (ok && ::lstat(target.c_str(), &st) == 0 && S_ISREG(st.st_mode)) ok = ::fchmod(fd.get(), st.st_mode & 0777) == 0;
    ok = fd.Close() == 0 && ok;
    ok = ok && ::rename(temp.c_str(), target.c_str()) == 0;
    if (!ok) ::unlink(temp.c_str());
    return ok;
}

}  // namespace

const std::array<unsigned char, RecordingHeaderSize>& GsmWavHeader() {
    static const std::array<unsigned char, RecordingHeaderSize> header = MakeHeader();
    return header;
}

void CryptRecording(unsigned char* bytes, std::size_t size) {
    if (size <= RecordingHeaderSize) return;
    Rc4State state;
    Rc4Init(state, RecordingKey);
    Rc4Crypt(state, bytes + RecordingHeaderSize, size - RecordingHeaderSize);
}

void CryptRecording(AnsiString& bytes) { CryptRecording(reinterpret_cast<unsigned char*>(bytes.data()), bytes.size()); }

TRecordingDecipher DecipherRecordingFile(const AnsiString& source, const AnsiString& target) {
    if (!FileExists(source)) return rdMissing;
    AnsiString bytes;
    try {
        bytes = ReadFileBytes(source);
    } catch (const std::bad_alloc&) {
        return rdMemoryError;
    } catch (...) {
        return rdOpenError;
    }
    if (bytes.size() < RecordingHeaderSize) return rdOpenError;
    CryptRecording(bytes);
    try {
        if (!WriteThroughTemporary(ToOsText(target), bytes)) return rdWriteError;
    } catch (const std::bad_alloc&) {
        return rdMemoryError;
    }
    return rdOk;
}

AnsiString PlayingFileName() { return TempDir() + "tmp.wav"; }

TRecordingDecipher DecipherForPlaying(const AnsiString& source) {
    AnsiString target;
    try {
        target = PlayingFileName();
    } catch (...) {
        return rdWriteError;
    }
    DeleteFile(target);
    return DecipherRecordingFile(source, target);
}

bool IsStoredRecordingName(const AnsiString& name) {
    static constexpr std::string_view kExtension = ".wav";
    if (!IsPlainRecordingName(name) || name.size() <= kExtension.size()) return false;
    if (name.find("..") != AnsiString::npos) return false;
    const std::string_view tail = std::string_view(name).substr(name.size() - kExtension.size());
    for (std::size_t i = 0; i < tail.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(tail[i])) != kExtension[i]) return false;
    return true;
}
