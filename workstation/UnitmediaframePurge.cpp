// The daily retention purge: recordings older than the period chosen on the
// users tab are deleted once a day, the first time right after start.
#include "workstation/Unitmediaframe.h"

#include "rtl/Folders.h"
#include "rtl/Paths.h"
#include "rtl/SysUtils.h"
#include "store/RecordingRemoval.h"
#include "workstation/Mainunit.h"
#include "workstation/Unitdebug.h"
#include "workstation/Unitusers.h"

namespace {

// Switches a timer off for a scope and back on after it.
class TimerPause {
public:
    explicit TimerPause(TTimer* Timer) : timer_(Timer), was_(Timer->Enabled()) { timer_->SetEnabled(false); }
    ~TimerPause() { timer_->SetEnabled(was_); }
    TimerPause(const TimerPause&) = delete;
    TimerPause& operator=(const TimerPause&) = delete;

private:
    TTimer* timer_;
    bool was_;
};

}  // namespace

void TMediaFrame::RodoTimerTimer(TObject*) {
    if (!(nextPurge_ < Now())) return;
    // Due again a day after this due time, not after now: a computer that
    // slept for days catches up one day per tick.
    nextPurge_ += 1.0;
    // No tick comes in while the purge, or its message, is under way.
    TimerPause pause(RodoTimer);
    const auto* main = dynamic_cast<const TMainForm*>(Owner());
    if (!main || !main->UsersFrame1) return;
    const int months = main->UsersFrame1->GetDeleteAfterMonths();
    if (months <= 0) return;
    PurgeOldRecordings(months);
    RefreshRecordings();
}

AnsiString TMediaFrame::playingName() const {
    const TMPModes mode = MediaPlayer->Mode();
    if (openedPath_.empty() || (mode != mpPlaying && mode != mpPaused)) return AnsiString();
    return ExtractFileName(openedPath_);
}

void TMediaFrame::PurgeOldRecordings(int Months) {
    if (Months <= 0) return;
    try {
        db_.Open(ProgramDir() + "data.db");
        const AnsiString cutoff = RetentionCutoff(db_, Now(), Months);
        // The recording being listened to stays until the next purge.
        const TPurgeResult result = PurgeRecordingsBefore(db_, ProgramDir() + "files/", cutoff, playingName());
        db_.Close();
        DebugLog("Purge before " + cutoff + ", recordings deleted: " + IntToStr(result.Purged));
        for (const AnsiString& name : result.Kept)
            DebugLog("Purge: the file of " + name + " cannot be deleted; it stays for the next purge");
    } catch (const SqliteException& e) {
        db_.Close();
        reportDbError("Purge", e);
    }
}
