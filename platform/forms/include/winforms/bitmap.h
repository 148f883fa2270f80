// A bitmap the program draws on and keeps: a device-independent bitmap of a chosen depth held in
// a memory DC, with a canvas over it, loaded from and saved to BMP files.
//
// BMP files are read field by field through the bounded reader: 1, 4, 8, 16, 24 and 32 bits per
// pixel, uncompressed or run-length encoded (4 and 8 bits), bottom-up or top-down, with the 12-byte
// core header or a 40-byte or longer info header; 16-bit files become 24-bit bitmaps. Bitmaps of
// more than 32768 pixels a side or 2^26 pixels in all are refused. The pixels go through the platform's DIB calls.
// A damaged file leaves the bitmap as it was. Saving writes a temporary file beside the target and
// renames it over, so a failed save leaves the old file whole.
#ifndef WINFORMS_BITMAP_H
#define WINFORMS_BITMAP_H

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "winforms/canvas.h"
#include "winforms/graphics.h"
#include "winplat/gdi.h"
#include "winplat/owners.h"

namespace winforms {

enum class PixelFormat : uint8_t {
    Bits1,  // two colours (black and white until a file brings its own)
    Bits4,  // sixteen (the VGA colours until a file brings its own)
    Bits8,  // 256 (a grey ramp until a file brings its own)
    Bits24,
    Bits32,
};

WINFORMS_API int BitsOf(PixelFormat format);

class WINFORMS_API Bitmap {
public:
    // An empty bitmap (0 x 0); its canvas draws nothing.
    Bitmap();
    Bitmap(int width, int height, PixelFormat format = PixelFormat::Bits24);
    ~Bitmap();
    Bitmap(const Bitmap&) = delete;
    Bitmap& operator=(const Bitmap&) = delete;
    Bitmap(Bitmap&& other) noexcept;
    Bitmap& operator=(Bitmap&& other) noexcept;

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Empty() const { return width_ <= 0 || height_ <= 0; }
    PixelFormat Format() const { return format_; }
    // A new size keeps the pixels that still fit (new ones white); a new format converts the
    // pixels (to the nearest colour of an indexed format's table). False when the platform
    // refused the bitmap (the refusal is in the debug output); the bitmap is then unchanged.
    bool SetSize(int width, int height);
    bool SetFormat(PixelFormat format);

    // The colour table of an indexed bitmap (empty for 24 and 32 bits). Setting it changes what
    // the stored indices show.
    std::vector<RGBQUAD> ColorTable() const;
    bool SetColorTable(std::span<const RGBQUAD> colors);

    // A canvas over the bitmap, alive as long as the bitmap.
    Canvas& GetCanvas() { return canvas_; }
    HBITMAP Handle() const { return bitmap_.get(); }
    // The memory DC holding the bitmap (null for an empty one).
    HDC DC() const { return dc_.get(); }

    // When set, Draw leaves the pixels of the transparent colour alone. The colour is the bottom
    // left pixel's unless set.
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool transparent) { transparent_ = transparent; }
    COLORREF TransparentColor() const;
    void SetTransparentColor(COLORREF color) { transparentColor_ = color; }

    // The stored bits of a row (0 at the top), as many bytes as a padded row holds; empty for a
    // row outside the bitmap.
    std::span<const uint8_t> Row(int y) const;

    // A BMP file (a Windows path, Windows-1250); false, with the refusal in the debug output, when
    // it cannot be read or is damaged.
    bool LoadFromFile(const std::string& path);
    bool LoadFromBytes(std::span<const uint8_t> bytes);
    // The bitmap as a BMP file of its own depth, uncompressed, bottom-up, with a 40-byte header.
    std::vector<uint8_t> SaveToBytes() const;
    bool SaveToFile(const std::string& path) const;

private:
    struct Pixels;
    bool Adopt(Pixels pixels);
    void Clear();

    int width_ = 0;
    int height_ = 0;
    PixelFormat format_ = PixelFormat::Bits24;
    winplat::MemoryDc dc_;
    winplat::OwnedBitmap bitmap_;
    HGDIOBJ originalBitmap_ = nullptr;
    uint8_t* bits_ = nullptr;  // the DIB section's bits, bottom-up
    size_t stride_ = 0;
    bool transparent_ = false;
    std::optional<COLORREF> transparentColor_;
    Canvas canvas_;
};

}  // namespace winforms

#endif
