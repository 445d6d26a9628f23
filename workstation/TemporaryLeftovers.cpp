#include "workstation/TemporaryLeftovers.h"

#include "devicelink/PartFile.h"
#include "rtl/AtomicFile.h"
#include "workstation/Unitdebug.h"

#include <initializer_list>

namespace {

// A temporary copy of one of Targets, or of a copy a damaged one is kept
// as ("<target>.bad", "<target>.bad1", ...).
bool IsCopyOf(const AnsiString& Name, std::initializer_list<const char*> Targets, bool KeptAside) {
    const AnsiString target = AtomicFileTarget(Name);
    for (const AnsiString file : Targets)
        if (target == file || (KeptAside && target.starts_with(file + ".bad"))) return true;
    return false;
}

}  // namespace

void RemoveTemporaryLeftovers(const AnsiString& ProgramFolder, const AnsiString& TempFolder) {
    const TLeftoverLog log = [](const AnsiString& line) { DebugLog(line); };
    RemoveLeftovers(ProgramFolder + "files/", IsStoreLeftover, log);
    RemoveLeftovers(
        ProgramFolder,
        [](const AnsiString& name) {
            return IsCopyOf(name, {"config.cfg", "users.conf"}, true);
        },
        log);
    if (TempFolder.empty()) return;
    RemoveLeftovers(
        TempFolder,
        [](const AnsiString& name) {
            return IsCopyOf(name, {"tmp.wav", "record.wav"}, false);
        },
        log);
}
