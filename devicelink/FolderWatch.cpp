#include "devicelink/FolderWatch.h"

#include "rtl/CodePages.h"

#include <sys/inotify.h>

#include <cerrno>
#include <cstring>

namespace {

constexpr uint32_t kEntryChanges = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_CLOSE_WRITE;
constexpr uint32_t kLostTrack = IN_Q_OVERFLOW | IN_DELETE_SELF | IN_MOVE_SELF | IN_UNMOUNT | IN_IGNORED;

}  // namespace

TFolderWatch::TFolderWatch(const AnsiString& Folder) : fd_(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
    whole_ = fd_ && ::inotify_add_watch(fd_.Get(), ToOsText(Folder).c_str(),
                                        kEntryChanges | IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR) >= 0;
}

void TFolderWatch::Collect() {
    std::lock_guard lk(mu_);
    if (!whole_) return;
    alignas(inotify_event) char buffer[64 * 1024];
    for (;;) {
        const ssize_t n = ::read(fd_.Get(), buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            // Nothing more for now; any other failure leaves changes unread.
            if (n == 0 || errno != EAGAIN) whole_ = false;
            return;
        }
        for (ssize_t at = 0; at < n;) {
            inotify_event event;
            std::memcpy(&event, buffer + at, sizeof event);
            if (event.mask & kLostTrack) {
                whole_ = false;
                return;
            }
            if (event.len > 0) changed_.emplace(buffer + at + sizeof event);
            at += ssize_t(sizeof event + event.len);
        }
    }
}

bool TFolderWatch::Changes(std::vector<std::string>& Names) {
    Collect();
    std::lock_guard lk(mu_);
    Names.assign(changed_.begin(), changed_.end());
    return whole_;
}
