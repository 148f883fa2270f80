// The reader's cursor-image read under fuzzing: the bytes are written to a file and read with
// ReadCursorImage, whole and through a window that starts inside a larger file. What must hold for
// any input: the answer is 0 or 1, both reads agree, and (under the sanitizers) nothing is read or
// written outside the file's bytes and the record's 512-byte areas. Seeds are the cursor tests' own
// monochrome files, at the largest masks that fit and one row beyond.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "fuzz_entry.h"
#include "fuzz_scratch.h"
#include "store/cursor_file_bytes.h"
#include "store/cursor_image.h"

namespace {

namespace fs = std::filesystem;

constexpr size_t kWindowStart = 37;

void check(bool holds) {
    if (!holds) __builtin_trap();
}

// The files every input is written to, removed when the run ends: the input alone, and the input
// behind kWindowStart bytes of something else.
fs::path scratchPath(const char* suffix) {
    return fuzzScratchPath("cursor_image_fuzz", suffix);
}

struct ScratchFiles {
    fs::path plain = scratchPath(".cur");
    fs::path inside = scratchPath(".lnp");
    ~ScratchFiles() {
        std::error_code ignored;
        fs::remove(plain, ignored);
        fs::remove(inside, ignored);
    }
};

const ScratchFiles& scratch() {
    static const ScratchFiles files;
    return files;
}

// The same file as the reader names it: drive C: is the host root.
std::string windowsPath(const fs::path& host) {
    std::string path = "C:" + host.string();
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

void write(const fs::path& path, const std::string& prefix, const uint8_t* data, size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << prefix;
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    check(static_cast<bool>(out));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    write(scratch().plain, "", data, size);
    write(scratch().inside, std::string(kWindowStart, '\xA5'), data, size);
    lect32::CursorImage whole;
    lect32::CursorImage windowed;
    const int plain = lect32::ReadCursorImage(whole, windowsPath(scratch().plain).c_str(), 0, 0);
    const int inside = lect32::ReadCursorImage(windowed, windowsPath(scratch().inside).c_str(), kWindowStart,
                                               static_cast<uint32_t>(size));
    check(plain == 0 || plain == 1);
    check(inside == plain || size == 0);
    if (plain == 1 && inside == 1) {
        check(whole.colourMask == windowed.colourMask);
        check(whole.transparencyMask == windowed.transparencyMask);
    }
    return 0;
}

std::vector<FuzzBytes> fuzzSeeds() {
    cursor_test::CursorFile small;
    cursor_test::CursorFile largest;
    largest.width = 64;
    largest.height = 128;
    largest.rowBytes = 8;
    largest.rowsWritten = 128;
    cursor_test::CursorFile beyond = largest;
    beyond.height = 130;
    beyond.rowsWritten = 130;
    cursor_test::CursorFile later;
    later.offset = 60;
    return {small.bytes(), largest.bytes(), beyond.bytes(), later.bytes()};
}
