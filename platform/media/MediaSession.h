#pragma once
// The player and recorder behind TMediaPlayer: one sound file held in
// memory, played on the default output and recorded from the default
// input. Positions are in milliseconds. Used from one thread; only the
// audio devices' own threads run beside it, through AudioOutput and
// AudioCapture.
//
// Errors are EMCIDeviceError. Recording replaces whatever followed the
// current position with the recorded sound.
#include "AudioClip.h"
#include "rtl/AnsiString.h"
#include "rtl/Exceptions.h"

#include <memory>

class AudioOutput;
class AudioCapture;

enum class MediaState { NotReady, Stopped, Playing, Paused, Recording };

// Recording found no input device it could open (no sound driver, no
// microphone, or one that refuses).
YORDE_DECLARE_EXCEPTION(EMCINoInputDevice, EMCIDeviceError)

class MediaSession {
public:
    MediaSession();
    ~MediaSession();
    MediaSession(const MediaSession&) = delete;
    MediaSession& operator=(const MediaSession&) = delete;

    void Open(const AnsiString& path);  // closes what was open first; stopped at 0 afterwards
    void Close();                       // harmless when nothing is open
    bool IsOpen() const { return state_ != MediaState::NotReady; }

    void Play();                        // from the current position; after Pause it resumes
    void Pause();                       // playing or recording; otherwise nothing
    void Resume();                      // after Pause: plays or records on
    void Stop();                        // keeps the position; a recording ends here
    void Seek(int64_t ms);              // clamped to the length; leaves the session stopped
    void StartRecording();              // at the current position, in the open file's rate and channels
    void Save(const AnsiString& path);  // in the open file's format

    MediaState State();
    int64_t Position();
    int64_t Length();

private:
    void RequireOpen(const char* operation) const;
    void Sync();  // notices the end of playing
    // Stops feeding the output but keeps the device open: a later Play
    // goes on without opening it again (no gap, no click).
    void HaltOutput();
    void ReleaseOutput();
    void FinishRecording();
    bool RecordingRuns() const { return capture_ != nullptr; }

    AudioClip clip_;
    MediaState state_ = MediaState::NotReady;
    int64_t position_ = 0;     // frames, while neither playing nor recording
    int64_t recordStart_ = 0;  // frames kept in front of the recording
    // Both below are released before clip_, whose samples they may read or
    // fill. The output stays open from the first Play until Close.
    std::unique_ptr<AudioOutput> output_;
    std::unique_ptr<AudioCapture> capture_;
};
