#pragma once
// TMediaPlayer: the class library's media player component for wave files,
// without its button bar. Times are milliseconds; Mode is mpNotReady while
// nothing is open. Failures raise EMCIDeviceError. Use from the GUI thread.
#include "MediaSession.h"
#include "classes/Classes.h"

enum TMPTimeFormats {
    tfMilliseconds,
    tfHMS,
    tfMSF,
    tfFrames,
    tfSMPTE24,
    tfSMPTE25,
    tfSMPTE30,
    tfSMPTE30Drop,
    tfBytes,
    tfSamples,
    tfTMSF
};
enum TMPDeviceTypes {
    dtAutoSelect,
    dtAVIVideo,
    dtCDAudio,
    dtDAT,
    dtDigitalVideo,
    dtMMMovie,
    dtOther,
    dtOverlay,
    dtScanner,
    dtSequencer,
    dtVCR,
    dtVideodisc,
    dtWaveAudio
};
enum TMPModes { mpNotReady, mpStopped, mpPlaying, mpRecording, mpSeeking, mpPaused, mpOpen };

YORDE_ENUM_TYPEINFO(TMPTimeFormats, "tfMilliseconds", "tfHMS", "tfMSF", "tfFrames", "tfSMPTE24", "tfSMPTE25",
                    "tfSMPTE30", "tfSMPTE30Drop", "tfBytes", "tfSamples", "tfTMSF")
YORDE_ENUM_TYPEINFO(TMPDeviceTypes, "dtAutoSelect", "dtAVIVideo", "dtCDAudio", "dtDAT", "dtDigitalVideo", "dtMMMovie",
                    "dtOther", "dtOverlay", "dtScanner", "dtSequencer", "dtVCR", "dtVideodisc", "dtWaveAudio")

class TMediaPlayer : public TComponent {
    YORDE_CLASS(TMediaPlayer, TComponent)
public:
    explicit TMediaPlayer(TComponent* AOwner);
    ~TMediaPlayer() override;

    // Published
    const AnsiString& FileName() const { return fileName_; }
    void SetFileName(const AnsiString& Value) { fileName_ = Value; }  // kept across Close
    TMPTimeFormats TimeFormat() const { return timeFormat_; }
    void SetTimeFormat(TMPTimeFormats Value);  // settable while closed; only milliseconds is supported
    TMPDeviceTypes DeviceType() const { return deviceType_; }
    void SetDeviceType(TMPDeviceTypes Value) { deviceType_ = Value; }
    bool AutoOpen() const { return autoOpen_; }
    void SetAutoOpen(bool Value) { autoOpen_ = Value; }
    bool Visible() const { return visible_; }  // kept for layouts; nothing is shown
    void SetVisible(bool Value) { visible_ = Value; }

    void Open();   // FileName; raises when it cannot be opened or decoded
    void Close();  // harmless when closed
    void Play();   // from Position; resumes after Pause; raises when nothing is open
    void Pause();
    void Resume();
    void Stop();            // keeps Position
    void Eject() {}         // a file has nothing to eject
    void StartRecording();  // from the default input until Stop
    void Save();            // the recording, to FileName

    int Position();
    void SetPosition(int Value);  // seeks; the player is not playing afterwards
    int Length();                 // grows while recording
    TMPModes Mode();              // mpNotReady when nothing is open

    void Loaded() override;

private:
    AnsiString fileName_;
    TMPTimeFormats timeFormat_ = tfMilliseconds;
    TMPDeviceTypes deviceType_ = dtAutoSelect;
    bool autoOpen_ = false;
    bool visible_ = true;
    MediaSession session_;
};
