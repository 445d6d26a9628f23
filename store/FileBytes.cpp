#include "store/FileBytes.h"

#include "classes/FileStream.h"

AnsiString ReadFileBytes(const AnsiString& fileName) {
    TFileStream stream(fileName, fmOpenRead | fmShareDenyWrite);
    AnsiString bytes;
    char buffer[16384];
    // Read to the end rather than trusting the size: files of the /proc kind
    // report none.
    for (;;) {
        const int64_t n = stream.Read(buffer, sizeof buffer);
        if (n <= 0) break;
        bytes.append(buffer, std::size_t(n));
    }
    return bytes;
}
