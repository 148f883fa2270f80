// Where the targets put the files an input becomes, for the interfaces that read only files: the
// machine's memory folder (/dev/shm) where there is one, so that writing, reading and syncing every
// input costs no disk; else the temporary folder.
#ifndef PIXMILL_TESTS_FUZZ_SCRATCH_H
#define PIXMILL_TESTS_FUZZ_SCRATCH_H

#include <unistd.h>

#include <filesystem>
#include <string>

// The folder, and a name in it of this process: 'stem.<pid><suffix>'.
inline const std::filesystem::path& fuzzScratchFolder() {
    static const std::filesystem::path folder = [] {
        const std::filesystem::path memory = "/dev/shm";
        return ::access(memory.c_str(), W_OK | X_OK) == 0 ? memory : std::filesystem::temp_directory_path();
    }();
    return folder;
}

inline std::filesystem::path fuzzScratchPath(const std::string& stem, const std::string& suffix = "") {
    return fuzzScratchFolder() / (stem + "." + std::to_string(::getpid()) + suffix);
}

#endif
