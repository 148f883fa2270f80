// The pictures inside a cursor file, each made into a cursor object: a bitmap of double height
// (the colour rows, then the AND mask, both bottom row first) or a PNG image. The caller hands
// over exactly the bytes the file's directory gives the picture; nothing outside them is read.
#ifndef WINPLAT_SRC_USER_CURSOR_IMAGES_H
#define WINPLAT_SRC_USER_CURSOR_IMAGES_H

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <utility>

#include "user/cursors.h"
#include "winplat/refusal.h"

namespace winplat::user {

// A cursor read from stored bytes, or why there is none, the check that said so and the error a
// caller is left with.
struct CursorRead {
    std::shared_ptr<CursorObject> cursor;
    std::string why;
    DWORD error = ERROR_INVALID_DATA;
    CodePlace where{};
};

inline CursorRead madeRead(std::shared_ptr<CursorObject> cursor) {
    CursorRead read;
    read.cursor = std::move(cursor);
    read.error = NO_ERROR;
    return read;
}

inline CursorRead refusedRead(std::string why, DWORD error = ERROR_INVALID_DATA,
                              CodePlace where = CodePlace::here()) {
    return {nullptr, std::move(why), error, where};
}

// Cursor pictures are 1 to 256 pixels a side.
constexpr int kMaxCursorSide = 256;

// Whether the picture is a PNG image (by its signature).
bool isPngImage(std::span<const uint8_t> image);

// The bit count a bitmap picture says it has, 0 when its header is cut short.
unsigned bitmapBitCount(std::span<const uint8_t> image);

// The picture as a cursor with its hot spot still at (0, 0): the file's directory gives it.
CursorRead cursorFromBitmap(std::span<const uint8_t> image);
CursorRead cursorFromPng(std::span<const uint8_t> image);

// The read cursor with its hot spot set; refused when the spot lies off the picture.
CursorRead withHotSpot(CursorRead read, POINT hotSpot);

// A new cursor object of the given size, every pixel letting the screen through.
inline std::shared_ptr<CursorObject> blankCursor(int width, int height) {
    auto cursor = std::make_shared<CursorObject>();
    cursor->width = width;
    cursor->height = height;
    const auto pixels = static_cast<size_t>(width) * static_cast<size_t>(height);
    cursor->andMask.assign(pixels, 1);
    cursor->xorColour.assign(pixels, RGB(0, 0, 0));
    return cursor;
}

}  // namespace winplat::user

#endif
