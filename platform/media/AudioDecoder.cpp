#include "AudioDecoder.h"

#include "WaveHeader.h"
#include "rtl/Exceptions.h"

#include <sndfile.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

// The whole file is read first so that a header with wrong sizes can be
// corrected before libsndfile sees it; recordings are small.
std::vector<uint8_t> ReadWholeFile(const AnsiString& path) {
    std::unique_ptr<FILE, int (*)(FILE*)> f(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!f) throw EMCIDeviceError("Cannot open the sound file \"" + path + "\"");
    std::vector<uint8_t> data;
    uint8_t chunk[65536];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, f.get())) > 0) data.insert(data.end(), chunk, chunk + n);
    if (std::ferror(f.get())) throw EMCIDeviceError("Cannot read the sound file \"" + path + "\"");
    return data;
}

struct MemoryFile {
    const std::vector<uint8_t>* data;
    sf_count_t pos = 0;
};

sf_count_t MemLength(void* user) { return sf_count_t(static_cast<MemoryFile*>(user)->data->size()); }

sf_count_t MemSeek(sf_count_t offset, int whence, void* user) {
    auto* m = static_cast<MemoryFile*>(user);
    sf_count_t base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? m->pos : sf_count_t(m->data->size());
    sf_count_t target = base + offset;
    if (target < 0) return -1;
    m->pos = target;
    return m->pos;
}

sf_count_t MemRead(void* ptr, sf_count_t count, void* user) {
    auto* m = static_cast<MemoryFile*>(user);
    const sf_count_t size = sf_count_t(m->data->size());
    if (count <= 0 || m->pos >= size) return 0;
    const sf_count_t n = std::min(count, size - m->pos);
    std::memcpy(ptr, m->data->data() + m->pos, size_t(n));
    m->pos += n;
    return n;
}

sf_count_t MemWrite(const void*, sf_count_t, void*) { return 0; }
sf_count_t MemTell(void* user) { return static_cast<MemoryFile*>(user)->pos; }

}  // namespace

AudioClip DecodeAudioFile(const AnsiString& path) {
    std::vector<uint8_t> image = ReadWholeFile(path);
    RepairWaveSizes(image);
    const int64_t ownFrames = FactSampleCount(image);
    const int64_t wholeFrames = WholeBlockFrames(image);

    SF_VIRTUAL_IO io{&MemLength, &MemSeek, &MemRead, &MemWrite, &MemTell};
    MemoryFile mem{&image};
    SF_INFO info{};
    std::unique_ptr<SNDFILE, int (*)(SNDFILE*)> sf(sf_open_virtual(&io, SFM_READ, &info, &mem), &sf_close);
    if (!sf)
        throw EMCIDeviceError("\"" + path +
                              "\" is not a sound file that can be played: " + FromCStr(sf_strerror(nullptr)));
    if (info.channels < 1 || info.channels > 2)
        throw EMCIDeviceError("\"" + path + "\" has " + std::to_string(info.channels) +
                              " channels; only mono and stereo can be played");
    if (info.samplerate <= 0) throw EMCIDeviceError("\"" + path + "\" has no sample rate");

    AudioClip clip;
    clip.SampleRate = info.samplerate;
    clip.Channels = info.channels;
    clip.Format = info.format;
    // The frame count in the header is a hint only: read until the data ends.
    if (info.frames > 0 && info.frames < (sf_count_t(1) << 31) / info.channels)
        clip.Samples.reserve(size_t(info.frames * info.channels));
    int16_t block[4096];
    const sf_count_t blockFrames = sf_count_t(sizeof block / sizeof block[0]) / info.channels;
    sf_count_t got;
    while ((got = sf_readf_short(sf.get(), block, blockFrames)) > 0)
        clip.Samples.insert(clip.Samples.end(), block, block + got * info.channels);
    // A damaged tail still leaves what was decoded before it playable.
    if (sf_error(sf.get()) != SF_ERR_NO_ERROR && clip.Samples.empty())
        throw EMCIDeviceError("\"" + path + "\" cannot be decoded: " + FromCStr(sf_strerror(sf.get())));
    // GSM and the like decode whole blocks: the silence that fills up the
    // last one is no part of the recording (0 means the count was never
    // written, as in a file still being recorded).
    const bool pcm = (info.format & SF_FORMAT_SUBMASK) <= SF_FORMAT_PCM_U8 ||
                     (info.format & SF_FORMAT_SUBMASK) == SF_FORMAT_FLOAT ||
                     (info.format & SF_FORMAT_SUBMASK) == SF_FORMAT_DOUBLE;
    if (!pcm && ownFrames > 0 && ownFrames < clip.Frames())
        clip.Samples.resize(size_t(ownFrames) * size_t(clip.Channels));
    // What a cut-off block decodes to is noise, not the recording.
    if (!pcm && wholeFrames >= 0 && wholeFrames < clip.Frames())
        clip.Samples.resize(size_t(wholeFrames) * size_t(clip.Channels));
    return clip;
}
