#include "WavWriter.h"

#include "rtl/AtomicFile.h"
#include "rtl/Exceptions.h"

#include <sndfile.h>

#include <cstring>
#include <memory>

static_assert(kGsmWaveFormat == (SF_FORMAT_WAV | SF_FORMAT_GSM610));

void WriteAudioFile(const AnsiString& path, const AudioClip& clip, int format) {
    SF_INFO info{};
    info.samplerate = clip.SampleRate;
    info.channels = clip.Channels;
    info.format = format;
    if (!sf_format_check(&info))
        throw EMCIDeviceError("Cannot save \"" + path + "\": the sound format is not supported");

    TAtomicFile out(path, {.Sync = false});
    if (out.Error() != 0) throw EMCIDeviceError("Cannot create \"" + path + "\": " + std::strerror(out.Error()));
    {
        // libsndfile writes through the temporary file's descriptor and leaves it open.
        std::unique_ptr<SNDFILE, int (*)(SNDFILE*)> sf(sf_open_fd(out.Fd(), SFM_WRITE, &info, 0), &sf_close);
        if (!sf) throw EMCIDeviceError("Cannot create \"" + path + "\": " + FromCStr(sf_strerror(nullptr)));
        const sf_count_t frames = clip.Frames();
        if (frames > 0 && sf_writef_short(sf.get(), clip.Samples.data(), frames) != frames)
            throw EMCIDeviceError("Cannot write \"" + path + "\": " + FromCStr(sf_strerror(sf.get())));
        // sf_close finishes the header; its failure is a failed save.
        if (sf_close(sf.release()) != 0) throw EMCIDeviceError("Cannot finish \"" + path + "\"");
    }
    if (const int err = out.Commit(); err != 0)
        throw EMCIDeviceError("Cannot replace \"" + path + "\" with the recording: " + std::strerror(err));
}
