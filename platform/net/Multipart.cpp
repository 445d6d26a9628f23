#include "Multipart.h"

#include "rtl/Exceptions.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>

TBoundaryStamp TBoundaryStamp::Now() {
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    tm lt{};
    localtime_r(&ts.tv_sec, &lt);
    TBoundaryStamp s;
    s.Year = lt.tm_year + 1900;
    s.Month = lt.tm_mon + 1;
    s.Day = lt.tm_mday;
    s.Hour = lt.tm_hour;
    s.Minute = lt.tm_min;
    s.Second = lt.tm_sec;
    s.Millisecond = int(ts.tv_nsec / 1000000);
    return s;
}

AnsiString TMultipartForm::MakeBoundary(const TBoundaryStamp& s) {
    char digits[32];
    std::snprintf(digits, sizeof digits, "%02d%02d%02d%02d%02d%02d%03d", s.Month % 100, s.Day % 100, s.Year % 100,
                  s.Hour % 100, s.Minute % 100, s.Second % 100, s.Millisecond % 1000);
    return "--------" + AnsiString(digits);
}

TMultipartForm::TMultipartForm() : TMultipartForm(TBoundaryStamp::Now()) {}

TMultipartForm::TMultipartForm(const TBoundaryStamp& stamp) : boundary_(MakeBoundary(stamp)) {
    closing_.Text = "\r\n--" + boundary_ + "--";
    closing_.Length = int64_t(closing_.Text.size());
}

static void CheckHeaderText(const AnsiString& text) {
    if (text.find_first_of("\r\n\"") != AnsiString::npos)
        throw EInvalidOperation("Form field text holds a line break or a double quote: " + text);
}

void TMultipartForm::addText(AnsiString text) {
    TSegment s;
    s.Length = int64_t(text.size());
    s.Text = std::move(text);
    segments_.push_back(std::move(s));
}

void TMultipartForm::AddFile(const AnsiString& fieldName, const AnsiString& fileName, const AnsiString& contentType) {
    CheckHeaderText(fieldName);
    CheckHeaderText(fileName);
    CheckHeaderText(contentType);

    TUniqueFd fd(::open(fileName.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd) throw EFOpenError("Cannot open file \"" + fileName + "\". " + std::strerror(errno));
    struct stat st {};
    if (::fstat(fd.Get(), &st) != 0 || S_ISDIR(st.st_mode))
        throw EFOpenError("Cannot open file \"" + fileName + "\". Not a readable file");

    addText("--" + boundary_ + "\r\n" + "Content-Disposition: form-data; name=\"" + fieldName + "\"; filename=\"" +
            fileName + "\"\r\n" + "Content-Type: " + contentType + "\r\n\r\n");
    TSegment file;
    file.File = std::move(fd);
    file.Length = int64_t(st.st_size);
    segments_.push_back(std::move(file));
    addText("\r\n");
}

int64_t TMultipartForm::Size() const {
    int64_t n = closing_.Length;
    for (const TSegment& s : segments_) n += s.Length;
    return n;
}

size_t TMultipartForm::readSegment(const TSegment& s, int64_t offset, char* buf, size_t count) const {
    if (!s.File) {
        std::memcpy(buf, s.Text.data() + offset, count);
        return count;
    }
    size_t done = 0;
    while (done < count) {
        ssize_t r = ::pread(s.File.Get(), buf + done, count - done, offset + int64_t(done));
        if (r < 0 && errno == EINTR) continue;
        if (r < 0) throw EReadError(AnsiString("Cannot read the form's file: ") + std::strerror(errno));
        if (r == 0) throw EReadError("The form's file became shorter after it was added");
        done += size_t(r);
    }
    return done;
}

size_t TMultipartForm::Read(int64_t offset, char* buf, size_t count) const {
    size_t done = 0;
    int64_t start = 0;
    auto visit = [&](const TSegment& s) {
        int64_t end = start + s.Length;
        int64_t at = offset + int64_t(done);
        if (done < count && at >= start && at < end) {
            size_t n = size_t(std::min<int64_t>(end - at, int64_t(count - done)));
            readSegment(s, at - start, buf + done, n);
            done += n;
        }
        start = end;
    };
    for (const TSegment& s : segments_) visit(s);
    visit(closing_);
    return done;
}

AnsiString TMultipartForm::ReadAll() const {
    AnsiString body(size_t(Size()), '\0');
    size_t got = 0;
    while (got < body.size()) {
        size_t n = Read(int64_t(got), body.data() + got, body.size() - got);
        if (n == 0) break;
        got += n;
    }
    body.resize(got);
    return body;
}
