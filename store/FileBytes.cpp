#include "store/FileBytes.h"

#include "classes/FileStream.h"
#include "rtl/AtomicFile.h"
#include "rtl/Files.h"
#include "rtl/SysUtils.h"

#include <cerrno>

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

AnsiString SetFileAside(const AnsiString& fileName, bool copy) {
    AnsiString bytes;
    if (copy) {
        try {
            bytes = ReadFileBytes(fileName);
        } catch (const Exception&) {
            return AnsiString();
        }
    }
    for (int i = 0; i < 100; ++i) {
        const AnsiString target = fileName + ".bad" + (i ? IntToStr(i) : AnsiString());
        if (copy) {
            try {
                WriteFileAtomically(target, bytes, {.NewMode = 0600, .NoReplace = true});
                return target;
            } catch (const Exception&) {
                if (!FileExists(target)) return AnsiString();
            }
        } else {
            if (RenameFile(fileName, target)) return target;
            if (!FileExists(target)) return AnsiString();
        }
    }
    return AnsiString();
}
