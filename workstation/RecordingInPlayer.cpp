#include "workstation/RecordingInPlayer.h"

#include <mutex>

namespace {

std::mutex gMutex;
AnsiString gPath;

}  // namespace

void SetRecordingInPlayer(const AnsiString& Path) {
    std::lock_guard lk(gMutex);
    gPath = Path;
}

AnsiString RecordingInPlayer() {
    std::lock_guard lk(gMutex);
    return gPath;
}

AnsiString RecordingInPlayerName(const AnsiString& Folder) {
    const AnsiString path = RecordingInPlayer();
    const AnsiString files = Folder + "files/";
    if (path.size() <= files.size() || path.compare(0, files.size(), files) != 0) return AnsiString();
    return path.substr(files.size());
}
