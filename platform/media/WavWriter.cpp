#include "WavWriter.h"

#include "rtl/Exceptions.h"

#include <sndfile.h>

#include <cstdio>
#include <memory>

static_assert(kGsmWaveFormat == (SF_FORMAT_WAV | SF_FORMAT_GSM610));

void WriteAudioFile(const AnsiString& path, const AudioClip& clip, int format) {
    SF_INFO info{};
    info.samplerate = clip.SampleRate;
    info.channels = clip.Channels;
    info.format = format;
    if (!sf_format_check(&info))
        throw EMCIDeviceError("Cannot save \"" + path + "\": the sound format is not supported");

    const AnsiString temp = path + ".part";
    {
        std::unique_ptr<SNDFILE, int (*)(SNDFILE*)> sf(sf_open(temp.c_str(), SFM_WRITE, &info), &sf_close);
        if (!sf) throw EMCIDeviceError("Cannot create \"" + temp + "\": " + FromCStr(sf_strerror(nullptr)));
        const sf_count_t frames = clip.Frames();
        if (frames > 0 && sf_writef_short(sf.get(), clip.Samples.data(), frames) != frames) {
            const AnsiString reason = FromCStr(sf_strerror(sf.get()));
            sf.reset();
            std::remove(temp.c_str());
            throw EMCIDeviceError("Cannot write \"" + temp + "\": " + reason);
        }
        // sf_close finishes the header; its failure is a failed save.
        if (sf_close(sf.release()) != 0) {
            std::remove(temp.c_str());
            throw EMCIDeviceError("Cannot finish \"" + temp + "\"");
        }
    }
    if (std::rename(temp.c_str(), path.c_str()) != 0) {
        std::remove(temp.c_str());
        throw EMCIDeviceError("Cannot replace \"" + path + "\" with the recording");
    }
}
