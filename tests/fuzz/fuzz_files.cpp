#include "fuzz_files.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

std::optional<std::vector<FuzzFile>> fuzzReadFolder(const char* folder) {
    namespace fs = std::filesystem;
    std::error_code error;
    fs::directory_iterator entries(folder, error);
    if (error) {
        std::fprintf(stderr, "cannot read the folder %s: %s\n", folder, error.message().c_str());
        return std::nullopt;
    }
    std::vector<FuzzFile> files;
    for (const fs::directory_entry& entry : entries) {
        const std::string name = entry.path().filename().string();
        if (name.starts_with('.') || !entry.is_regular_file()) continue;
        std::ifstream in(entry.path(), std::ios::binary);
        if (!in) {
            std::fprintf(stderr, "cannot open %s\n", entry.path().c_str());
            return std::nullopt;
        }
        files.push_back(
            {name, FuzzBytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>())});
    }
    std::sort(files.begin(), files.end(),
              [](const FuzzFile& a, const FuzzFile& b) { return a.name < b.name; });
    return files;
}
