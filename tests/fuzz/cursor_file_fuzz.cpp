// Cursor files under fuzzing, as a program hands one to the layer: the bytes are written to a file
// and loaded with LoadCursorFromFileA. What must hold for any input: a file that makes no cursor
// leaves the error of a damaged (ERROR_INVALID_DATA) or unsupported (ERROR_NOT_SUPPORTED) file,
// and a cursor that is made can be set, shows as the current cursor and is destroyed.
//
// Seeds: the cursor tests' own writer at every depth, several entries, and a PNG picture; the
// seed files add icotool's cursors.
#include <png.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "fuzz_entry.h"
#include "fuzz_scratch.h"
#include "platform/user/cursor_file_writer.h"
#include "winplat/base.h"
#include "winplat/user.h"

namespace {

namespace fs = std::filesystem;

void check(bool holds) {
    if (!holds) __builtin_trap();
}

// The file every input is written to, removed when the run ends.
struct ScratchFile {
    fs::path path = fuzzScratchPath("cursor_fuzz", ".cur");
    ~ScratchFile() {
        std::error_code ignored;
        fs::remove(path, ignored);
    }
    // The same file as a program names it: drive C: is the host root.
    std::string windowsPath() const {
        std::string name = "C:" + path.string();
        std::replace(name.begin(), name.end(), '/', '\\');
        return name;
    }
};

const ScratchFile& scratch() {
    static const ScratchFile file;
    return file;
}

// A 2 x 1 RGBA picture: opaque red, half-transparent blue.
FuzzBytes pngPicture() {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = 2;
    image.height = 1;
    image.format = PNG_FORMAT_RGBA;
    const uint8_t pixels[] = {255, 0, 0, 255, 0, 0, 255, 128};
    FuzzBytes out(256);
    png_alloc_size_t size = out.size();
    if (!png_image_write_to_memory(&image, out.data(), &size, 0, pixels, 0, nullptr)) return {};
    out.resize(size);
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    {
        std::ofstream out(scratch().path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
        check(static_cast<bool>(out));
    }
    const HCURSOR cursor = LoadCursorFromFileA(scratch().windowsPath().c_str());
    if (!cursor) {
        const DWORD error = GetLastError();
        check(error == ERROR_INVALID_DATA || error == ERROR_NOT_SUPPORTED);
        return 0;
    }
    SetCursor(cursor);
    check(GetCursor() == cursor);
    check(DestroyCursor(cursor) != FALSE);
    check(GetCursor() == nullptr);
    return 0;
}

std::vector<FuzzBytes> fuzzSeeds() {
    using cursor_file::plainPicture;
    cursor_file::Picture indexed = plainPicture(9, 7, 4, 1, {8, 6});
    indexed.mask[3] = 1;
    cursor_file::Picture png;
    png.width = 2;
    png.height = 1;
    png.hotSpot = {1, 0};
    png.png = pngPicture();
    return {cursor_file::write({plainPicture(16, 16, 1, 1, {0, 0})}),
            cursor_file::write({indexed}),
            cursor_file::write({plainPicture(8, 8, 8, 0, {1, 1})}),
            cursor_file::write({plainPicture(5, 3, 24, 0x00FF8000u, {4, 2})}),
            cursor_file::write({plainPicture(6, 6, 32, 0x80FF0000u, {0, 5}), plainPicture(32, 32, 1, 0, {3, 3})}),
            png.png.empty() ? FuzzBytes{} : cursor_file::write({png})};
}
