// fuzz_seeds FOLDER: writes every target's seeds to FOLDER/<target>/, the
// corpora scripts/fuzz starts libFuzzer from.
#include "FuzzTarget.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_seeds FOLDER\n");
        return 2;
    }
    for (const yorde::fuzz::TFuzzTarget& target : yorde::fuzz::FuzzTargets()) {
        const std::filesystem::path dir = std::filesystem::path(argv[1]) / target.Name;
        std::filesystem::create_directories(dir);
        const std::vector<std::string> seeds = yorde::fuzz::AllSeeds(target);
        for (size_t i = 0; i < seeds.size(); ++i) {
            char name[32];
            std::snprintf(name, sizeof name, "seed-%03zu", i);
            std::ofstream out(dir / name, std::ios::binary);
            out.write(seeds[i].data(), std::streamsize(seeds[i].size()));
        }
        std::printf("%s: %zu seeds\n", target.Name, seeds.size());
    }
    return 0;
}
