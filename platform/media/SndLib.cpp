#include "SndLib.h"

#include <sndfile.h>

#include <atomic>

static_assert(kSfReadMode == SFM_READ);

namespace {
std::atomic<bool> gFailLoad{false};
}

void TSndFileLibrary::SetLoadFailureForTest(bool fail) { gFailLoad = fail; }

TSndFileLibrary::TSndFileLibrary() {
    if (gFailLoad) return;
    if (!lib_.Load("libsndfile.so.1") && !lib_.Load("libsndfile.so")) return;
    open_ = lib_.Function<SfOpen>("sf_open");
    close_ = lib_.Function<SfClose>("sf_close");
}

bool ProbeSoundFile(const TSndFileLibrary& lib, const AnsiString& path, TSoundFileInfo& info) {
    if (!lib.Loaded()) return false;
    SF_INFO sf{};  // libsndfile reads the format field on open; zero means "find out"
    void* handle = lib.open_(path.c_str(), kSfReadMode, &sf);
    if (!handle) return false;
    info.SampleRate = sf.samplerate;
    info.Format = sf.format;
    lib.close_(handle);
    return true;
}
