#pragma once
// A multipart/form-data body of file fields, laid out byte for byte as the
// device expects it:
//
//   "--" B CRLF
//   Content-Disposition: form-data; name="<field>"; filename="<file name>" CRLF
//   Content-Type: <type> CRLF CRLF
//   <file bytes> CRLF
//   (next part, if any)
//   CRLF "--" B "--"                       (no line end after it)
//
// B is eight hyphens and the local time as month, day, two-digit year, hour,
// minute, second and millisecond. Each file is opened when it is added and
// stays open until the form is destroyed; the body is streamed from it.
#include "rtl/AnsiString.h"
#include "rtl/FileDescriptor.h"

#include <cstddef>
#include <cstdint>
#include <vector>

struct TBoundaryStamp {
    int Year = 2000;
    int Month = 1;
    int Day = 1;
    int Hour = 0;
    int Minute = 0;
    int Second = 0;
    int Millisecond = 0;

    static TBoundaryStamp Now();  // local time
};

class TMultipartForm {
public:
    TMultipartForm();  // boundary from the local time now
    explicit TMultipartForm(const TBoundaryStamp& stamp);
    TMultipartForm(const TMultipartForm&) = delete;
    TMultipartForm& operator=(const TMultipartForm&) = delete;

    // Opens the file read-only (EFOpenError when it cannot be opened). The
    // file name goes into the part header as given. Texts holding a line
    // break or a double quote would break the header: EInvalidOperation.
    void AddFile(const AnsiString& fieldName, const AnsiString& fileName, const AnsiString& contentType);

    const AnsiString& Boundary() const { return boundary_; }
    AnsiString RequestContentType() const { return "multipart/form-data; boundary=" + boundary_; }

    // The whole body's length, fixed when the files are added.
    int64_t Size() const;

    // Streams the body: copies up to count bytes from offset into buf; 0 at
    // the end. A file that shrank since it was added raises EReadError.
    size_t Read(int64_t offset, char* buf, size_t count) const;

    // The whole body (for small bodies and tests).
    AnsiString ReadAll() const;

    static AnsiString MakeBoundary(const TBoundaryStamp& stamp);

private:
    struct TSegment {
        AnsiString Text;  // used when File is not valid
        TUniqueFd File;
        int64_t Length = 0;
    };
    void addText(AnsiString text);
    size_t readSegment(const TSegment& s, int64_t offset, char* buf, size_t count) const;

    AnsiString boundary_;
    std::vector<TSegment> segments_;  // parts; the closing line is added by Size/Read
    TSegment closing_;
};
