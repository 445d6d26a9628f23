#include "store/RecordingExport.h"

#include "rtl/AtomicFile.h"
#include "rtl/CodePages.h"
#include "rtl/Files.h"
#include "rtl/Paths.h"
#include "rtl/StrUtils.h"
#include "store/FileBytes.h"
#include "store/Rc4.h"
#include "store/RecordingNames.h"
#include "store/Recordings.h"

#include <cerrno>
#include <filesystem>
#include <new>
#include <system_error>

namespace {

// Deciphering goes in steps of this size, each one a step of progress.
constexpr std::size_t kStep = 256 * 1024;

int WriteWhole(const AnsiString& target, std::string_view bytes) {
    TAtomicFile file(ToOsText(target));
    file.Write(bytes);
    return file.Commit();
}

// Whether `target` names a file inside `folder`, links followed.
bool InsideFolder(const AnsiString& folder, const AnsiString& target) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path store = fs::weakly_canonical(ToOsText(ExcludeTrailingPathDelimiter(folder)), ec);
    if (ec) return false;
    const fs::path chosen = fs::weakly_canonical(ToOsText(ExpandFileName(target)), ec);
    return !ec && chosen.parent_path() == store;
}

}  // namespace

AnsiString ExportFileName(const AnsiString& recordingName) {
    AnsiString rest = "_" + recordingName;
    AnsiString date = NextNameToken(rest);
    Insert("-", date, 5);
    Insert("-", date, 8);
    Insert("_", date, 11);
    AnsiString time = NextNameToken(rest);
    Insert("-", time, 3);
    Insert("-", time, 6);
    return date + time + ".wav";
}

TExportResult ExportRecording(const AnsiString& storeFolder, const AnsiString& name, const AnsiString& target,
                              const TExportProgress& progress, const TExportFiles& files) {
    const auto report = [&](int percent) {
        if (progress) progress(percent);
    };
    if (!IsStoredRecordingName(name)) return TExportResult::Missing;
    const AnsiString source = storeFolder + name;
    if (!FileExists(source)) return TExportResult::Missing;
    if (InsideFolder(storeFolder, target)) return TExportResult::IntoStore;
    report(0);
    AnsiString bytes;
    try {
        bytes = ReadFileBytes(source);
    } catch (const std::bad_alloc&) {
        return TExportResult::MemoryError;
    } catch (...) {
        return TExportResult::OpenError;
    }
    if (bytes.size() < RecordingHeaderSize) return TExportResult::Damaged;

    // RC4 runs on where it stopped, so the audio can be deciphered in steps.
    Rc4State state;
    Rc4Init(state, RecordingKey);
    auto* audio = reinterpret_cast<unsigned char*>(bytes.data());
    const std::size_t total = bytes.size();
    for (std::size_t at = RecordingHeaderSize; at < total; at += kStep) {
        Rc4Crypt(state, audio + at, std::min(kStep, total - at));
        report(int(50 * (at - RecordingHeaderSize) / (total - RecordingHeaderSize)));
    }
    report(50);

    int err = 0;
    try {
        err = files.Write ? files.Write(target, bytes) : WriteWhole(target, bytes);
    } catch (const std::bad_alloc&) {
        return TExportResult::MemoryError;
    }
    // The free space a place reports proves nothing (a place that takes no
    // file may report none): only the write's own error says the disk is full.
    if (err == ENOSPC || err == EDQUOT) return TExportResult::DiskFull;
    if (err != 0) return TExportResult::WriteError;
    report(100);
    return TExportResult::Ok;
}
