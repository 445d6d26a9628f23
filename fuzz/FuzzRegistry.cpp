#include "FuzzTarget.h"
#include "FuzzTargets.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace yorde::fuzz {

void Fail(const std::string& What) { throw TFuzzFailure{What}; }

// The suite's share: a second or two of each in the normal build.
const std::vector<TFuzzTarget>& FuzzTargets() {
    static const std::vector<TFuzzTarget> targets = {
        {"recordlist", RunRecordList, RecordListSeeds, 30000},
        {"sdstate", RunSdState, SdStateSeeds, 30000},
        {"preload", RunPreload, PreloadSeeds, 100000},
        {"usersconf", RunUsersFile, UsersFileSeeds, 4000},
        {"configcfg", RunConfigFile, ConfigFileSeeds, 10000},
        {"addressbook", RunAddressBookFile, AddressBookFileSeeds, 10000},
        {"componentimage", RunComponentImage, ComponentImageSeeds, 15000},
        {"lxb", RunLxbFile, LxbFileSeeds, 10000},
        {"initranslations", RunIniTranslations, IniTranslationsSeeds, 2000},
        {"layoutc", RunLayoutCompiler, LayoutCompilerSeeds, 5000},
    };
    return targets;
}

const TFuzzTarget* FindFuzzTarget(std::string_view Name) {
    for (const TFuzzTarget& t : FuzzTargets())
        if (Name == t.Name) return &t;
    return nullptr;
}

std::vector<std::string> AllSeeds(const TFuzzTarget& Target) {
    std::vector<std::string> seeds = Target.Seeds();
    const std::filesystem::path dir = std::filesystem::path(YORDE_FUZZ_SEEDS_DIR) / Target.Name;
    std::error_code ec;
    if (!std::filesystem::is_directory(dir, ec)) return seeds;
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    for (const auto& file : files) {
        std::ifstream in(file, std::ios::binary);
        seeds.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    return seeds;
}

namespace {

struct TScratch {
    std::string Dir;
    TScratch() {
        // In memory where there is such a place: the file targets write and
        // flush a file or two for every input.
        std::error_code ec;
        const std::filesystem::path base = std::filesystem::is_directory("/dev/shm", ec)
                                               ? std::filesystem::path("/dev/shm")
                                               : std::filesystem::temp_directory_path();
        std::string pattern = (base / "yorde-fuzz-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) std::abort();
        Dir = pattern + "/";
    }
    ~TScratch() {
        std::error_code ec;
        std::filesystem::remove_all(Dir, ec);
    }
};

}  // namespace

const std::string& FuzzScratchDir() {
    static const TScratch scratch;
    return scratch.Dir;
}

}  // namespace yorde::fuzz
