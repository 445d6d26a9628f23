#include "SndLib.h"

#include <sndfile.h>

#include <atomic>
#include <dlfcn.h>

static_assert(kSfReadMode == SFM_READ);

namespace {
std::atomic<bool> gFailLoad{false};
}

void TSndFileLibrary::SetLoadFailureForTest(bool fail) { gFailLoad = fail; }

TSndFileLibrary::TSndFileLibrary() {
    if (gFailLoad) return;
    for (const char* name : {"libsndfile.so.1", "libsndfile.so"}) {
        handle_ = dlopen(name, RTLD_NOW | RTLD_LOCAL);
        if (handle_) break;
    }
    if (!handle_) return;
    open_ = reinterpret_cast<SfOpen>(dlsym(handle_, "sf_open"));
    close_ = reinterpret_cast<SfClose>(dlsym(handle_, "sf_close"));
}

TSndFileLibrary::~TSndFileLibrary() {
    if (handle_) dlclose(handle_);
}

bool ProbeSoundFile(const TSndFileLibrary& lib, const AnsiString& path, TSoundFileInfo& info) {
    if (!lib.Loaded()) return false;
    SF_INFO sf{};   // libsndfile reads the format field on open; zero means "find out"
    void* handle = lib.open_(path.c_str(), kSfReadMode, &sf);
    if (!handle) return false;
    info.SampleRate = sf.samplerate;
    info.Format = sf.format;
    lib.close_(handle);
    return true;
}
