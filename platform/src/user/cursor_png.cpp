// PNG pictures of cursor files (the large cursors of later systems store them so): decoded with
// libpng's simplified reader into RGBA, the alpha channel kept for drawing and the fully
// transparent pixels marked in the AND mask.
#include <png.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "user/cursor_images.h"

namespace winplat::user {
namespace {

constexpr std::array<uint8_t, 8> kPngSignature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

// libpng's state of one read, freed on every way out.
struct PngRead {
    png_image image{};
    PngRead() { image.version = PNG_IMAGE_VERSION; }
    ~PngRead() { png_image_free(&image); }
    PngRead(const PngRead&) = delete;
    PngRead& operator=(const PngRead&) = delete;

    std::string message() const { return std::string("PNG picture: ") + image.message; }
};

void fillFromRgba(CursorObject& cursor, const std::vector<uint8_t>& rgba) {
    for (size_t at = 0; at < cursor.xorColour.size(); ++at) {
        const uint8_t* pixel = rgba.data() + at * 4;
        cursor.xorColour[at] = RGB(pixel[0], pixel[1], pixel[2]);
        cursor.alpha[at] = pixel[3];
        cursor.andMask[at] = pixel[3] == 0 ? 1 : 0;
    }
}

}  // namespace

bool isPngImage(std::span<const uint8_t> image) {
    return image.size() >= kPngSignature.size() && std::equal(kPngSignature.begin(), kPngSignature.end(), image.begin());
}

CursorRead cursorFromPng(std::span<const uint8_t> image) {
    PngRead png;
    if (!png_image_begin_read_from_memory(&png.image, image.data(), image.size())) return refusedRead(png.message());
    // The size is checked before the pixels are allocated.
    if (png.image.width < 1 || png.image.width > kMaxCursorSide || png.image.height < 1 ||
        png.image.height > kMaxCursorSide)
        return refusedRead("PNG picture of " + std::to_string(png.image.width) + " x " +
                           std::to_string(png.image.height) + " (1 to 256 a side)");
    png.image.format = PNG_FORMAT_RGBA;
    std::vector<uint8_t> rgba(PNG_IMAGE_SIZE(png.image));
    if (!png_image_finish_read(&png.image, nullptr, rgba.data(), 0, nullptr)) return refusedRead(png.message());
    auto cursor = blankCursor(static_cast<int>(png.image.width), static_cast<int>(png.image.height));
    cursor->alpha.assign(cursor->andMask.size(), 0);
    fillFromRgba(*cursor, rgba);
    return madeRead(cursor);
}

}  // namespace winplat::user
