#include <cstdio>
#include <filesystem>
#include <fstream>

#include "fuzz_entry.h"

bool fuzzWriteSeeds(const char* folder) {
    namespace fs = std::filesystem;
    const std::vector<FuzzBytes> seeds = fuzzSeeds();
    if (seeds.empty()) {
        std::fprintf(stderr, "no seeds\n");
        return false;
    }
    std::error_code error;
    fs::create_directories(folder, error);
    if (error) {
        std::fprintf(stderr, "cannot create %s: %s\n", folder, error.message().c_str());
        return false;
    }
    for (size_t i = 0; i < seeds.size(); ++i) {
        if (seeds[i].empty()) {
            std::fprintf(stderr, "seed %zu could not be written\n", i);
            return false;
        }
        char name[32];
        std::snprintf(name, sizeof name, "seed-%02zu", i);
        std::ofstream out(fs::path(folder) / name, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(seeds[i].data()),
                  static_cast<std::streamsize>(seeds[i].size()));
        if (!out) {
            std::fprintf(stderr, "cannot write %s/%s\n", folder, name);
            return false;
        }
    }
    return true;
}
