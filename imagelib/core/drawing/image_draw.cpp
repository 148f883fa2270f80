// Drawing images on device contexts: the whole picture, tiles of a large enlargement (only those
// the clip rectangle needs), a hatched placeholder, a zoom and colour plates.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <optional>

#include "core/drawing/tile_grid.h"
#include "core/rows/bitmap_math.h"
#include "core/registry/image_registry.h"
#include "core/registry/library_state.h"
#include "winplat/drawdib.h"
#include "winplat/owners.h"

using namespace pixmill;

namespace {

constexpr int kPrinterWholeBytes = 5000000;
constexpr int kPrinterWholeRatio = 15;
constexpr COLORREF kPlaceholderGrey = RGB(0xC0, 0xC0, 0xC0);
constexpr UINT kDrawDibFlags = DDF_HALFTONE | DDF_SAME_HDC;

struct Rect {
    int left, top, right, bottom;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
};

bool isDisplay(HDC dc) { return GetDeviceCaps(dc, TECHNOLOGY) == DT_RASDISPLAY; }

// A light grey diagonal-cross hatch over the area, then the destination outlined in black.
void drawPlaceholder(HDC dc, const Rect& hatchArea, const Rect& outline) {
    if (const winplat::GdiObject<HBRUSH> hatch(CreateHatchBrush(HS_DIAGCROSS, kPlaceholderGrey)); hatch) {
        const RECT area{hatchArea.left, hatchArea.top, hatchArea.right, hatchArea.bottom};
        FillRect(dc, &area, hatch.get());
    }
    const winplat::Selection pen(dc, GetStockObject(BLACK_PEN));
    const winplat::Selection brush(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, outline.left, outline.top, outline.right, outline.bottom);
}

// The bits of a sub-rectangle of a DIB (rows counted from the top) as a DIB of its own, so that
// every drawing call gets a whole picture and never a source rectangle inside a bottom-up DIB.
class DibCut {
public:
    DibCut(const BITMAPINFO* info, const uint8_t* bits, int x, int y, int width, int height) {
        const BITMAPINFOHEADER& h = info->bmiHeader;
        const int bitsPerPixel = h.biBitCount;
        const size_t headerBytes = static_cast<size_t>(h.biSize) + colorBytes(h);
        const int64_t sourceStride = scanBytesForWidth(h.biWidth, bitsPerPixel);
        const int64_t cutStride = scanBytesForWidth(width, bitsPerPixel);
        info_.reset(new (std::nothrow) uint8_t[headerBytes]);
        bits_.reset(new (std::nothrow) uint8_t[static_cast<size_t>(cutStride * height)]());
        if (!info_ || !bits_) return;
        std::memcpy(info_.get(), info, headerBytes);
        auto* cut = reinterpret_cast<BITMAPINFOHEADER*>(info_.get());
        cut->biWidth = width;
        cut->biHeight = height;
        cut->biSizeImage = static_cast<DWORD>(cutStride * height);
        for (int row = 0; row < height; ++row) {
            const uint8_t* from = bits + (h.biHeight - 1 - (y + row)) * sourceStride;
            uint8_t* to = bits_.get() + (height - 1 - row) * cutStride;
            for (int column = 0; column < width; ++column) copyBits(from, x + column, to, column, bitsPerPixel);
        }
    }
    const BITMAPINFO* info() const { return reinterpret_cast<const BITMAPINFO*>(info_.get()); }
    const uint8_t* bits() const { return bits_.get(); }
    explicit operator bool() const { return info_ && bits_; }

private:
    static size_t colorBytes(const BITMAPINFOHEADER& h) {
        if (h.biCompression == BI_BITFIELDS) return 12;
        return h.biBitCount <= 8 ? 4 * static_cast<size_t>(paletteSizeForBits(h.biBitCount)) : 0;
    }
    static void copyBits(const uint8_t* from, int sx, uint8_t* to, int tx, int bits) {
        if (bits >= 8) {
            std::memcpy(to + tx * (bits / 8), from + sx * (bits / 8), static_cast<size_t>(bits / 8));
            return;
        }
        const int perByte = 8 / bits;
        const int mask = (1 << bits) - 1;
        const int value = (from[sx / perByte] >> ((perByte - 1 - sx % perByte) * bits)) & mask;
        const int shift = (perByte - 1 - tx % perByte) * bits;
        to[tx / perByte] = static_cast<uint8_t>((to[tx / perByte] & ~(mask << shift)) | (value << shift));
    }
    std::unique_ptr<uint8_t[]> info_;
    std::unique_ptr<uint8_t[]> bits_;
};

// Draws source rectangle 'source' of the picture into 'dest' by one of the three routes.
class Painter {
public:
    Painter(const BITMAPINFO* info, const uint8_t* bits, HDC dc, HBITMAP bitmap, DWORD rop, bool drawDib)
        : info_(info), bits_(bits), dc_(dc), rop_(rop) {
        if (drawDib) {
            drawDib_.reset(DrawDibOpen());
        } else if (bitmap) {
            memoryDc_.reset(CreateCompatibleDC(dc));
            if (memoryDc_) selected_.emplace(memoryDc_.get(), bitmap);
        }
    }
    Painter(const Painter&) = delete;
    Painter& operator=(const Painter&) = delete;

    void begin(int destWidth, int destHeight, int sourceWidth, int sourceHeight) {
        if (drawDib_) {
            DrawDibBegin(drawDib_.get(), nullptr, destWidth, destHeight,
                         const_cast<LPBITMAPINFOHEADER>(&info_->bmiHeader), sourceWidth, sourceHeight,
                         kDrawDibFlags);
        }
    }

    // A drawing service that faults counts as a drawing not made.
    bool draw(const Rect& dest, const Rect& source) {
        try {
            return drawOnce(dest, source);
        } catch (...) {
            return false;
        }
    }

private:
    bool drawOnce(const Rect& dest, const Rect& source) {
        if (drawDib_) {
            return DrawDibDraw(drawDib_.get(), dc_, dest.left, dest.top, dest.width(), dest.height(),
                               const_cast<LPBITMAPINFOHEADER>(&info_->bmiHeader), const_cast<uint8_t*>(bits_),
                               source.left, source.top, source.width(), source.height(), kDrawDibFlags) != 0;
        }
        if (selected_ && *selected_) {
            return StretchBlt(dc_, dest.left, dest.top, dest.width(), dest.height(), memoryDc_.get(),
                              source.left, source.top, source.width(), source.height(), rop_) != 0;
        }
        DibCut cut(info_, bits_, source.left, source.top, source.width(), source.height());
        return cut && StretchDIBits(dc_, dest.left, dest.top, dest.width(), dest.height(), 0, 0, source.width(),
                                    source.height(), cut.bits(), cut.info(), DIB_RGB_COLORS, rop_) != 0;
    }

    const BITMAPINFO* info_;
    const uint8_t* bits_;
    HDC dc_;
    DWORD rop_;
    winplat::DrawDibSession drawDib_;
    // The memory-bitmap route: the picture's bitmap selected into a DC of its own (put back first).
    winplat::MemoryDc memoryDc_;
    std::optional<winplat::Selection> selected_;
};

bool drawTiles(Painter& painter, const Rect& dest, const Rect& source, const Rect& clip, int tile) {
    const int dw = dest.width(), dh = dest.height(), sw = source.width(), sh = source.height();
    const TileGrid grid = tileGridFor(dw, dh, sw, sh, tile);
    const int across = grid.across, down = grid.down;
    const double dx = double(dw) / across, dy = double(dh) / down, sx = double(sw) / across, sy = double(sh) / down;
    painter.begin(static_cast<int>(std::ceil(dx)), static_cast<int>(std::ceil(dy)), static_cast<int>(std::ceil(sx)),
                  static_cast<int>(std::ceil(sy)));
    bool allDrawn = true;
    for (int j = 0; j < down; ++j) {
        const Rect rows{0, dest.top + tileEdge(j, down, dh), 0, dest.top + tileEdge(j + 1, down, dh)};
        if (rows.top > clip.bottom || rows.bottom < clip.top) continue;
        for (int k = 0; k < across; ++k) {
            const Rect tileDest{dest.left + tileEdge(k, across, dw), rows.top, dest.left + tileEdge(k + 1, across, dw),
                                rows.bottom};
            if (tileDest.left > clip.right || tileDest.right < clip.left) continue;
            const Rect tileSource{source.left + tileEdge(k, across, sw), source.top + tileEdge(j, down, sh),
                                  source.left + tileEdge(k + 1, across, sw), source.top + tileEdge(j + 1, down, sh)};
            if (tileDest.width() <= 0 || tileDest.height() <= 0 || tileSource.width() <= 0 ||
                tileSource.height() <= 0) {
                continue;
            }
            allDrawn = painter.draw(tileDest, tileSource) && allDrawn;
        }
    }
    return allDrawn;
}

// The source rectangle, kept inside the picture.
bool clipSource(const BITMAPINFO* info, Rect& source) {
    const int width = info->bmiHeader.biWidth, height = std::abs(info->bmiHeader.biHeight);
    source.left = std::clamp(source.left, 0, width);
    source.right = std::clamp(source.right, 0, width);
    source.top = std::clamp(source.top, 0, height);
    source.bottom = std::clamp(source.bottom, 0, height);
    return source.width() > 0 && source.height() > 0;
}

int16_t drawImage(HDC dc, const Rect& dest, PxlImageId id, const Rect& clip, int16_t mode, DWORD rop) {
    ImageLock image = lockImage(id, Access::Read);
    if (!image || !image->header) return 0;
    const bool display = isDisplay(dc);
    if ((mode == PXL_DRAW_PLACEHOLDER && display) || image->rotateAngle != 0) {
        drawPlaceholder(dc, dest, dest);
        return 1;
    }
    if (!display) {
        if (dest.width() == 0 || dest.height() == 0) return 0;
        const int w = image->width(), h = image->height();
        const int dw = std::max(1, std::abs(dest.width())), dh = std::max(1, std::abs(dest.height()));
        const int ratioW = std::max(w / dw, dw / w), ratioH = std::max(h / dh, dh / h);
        const int64_t bytes = int64_t{scanBytesForWidth(w, image->bitCount())} * h;
        if (bytes < kPrinterWholeBytes && ratioW < kPrinterWholeRatio && ratioH < kPrinterWholeRatio) {
            mode = PXL_DRAW_WHOLE;
        }
    }
    const BITMAPINFO* info = image->info();
    const uint8_t* bits = image->bits;
    const HBITMAP bitmap = image->bitmap.get();
    const int width = image->width(), height = image->height();
    image.release();
    return PXLBitmapDrawVFW(id, info, bits, dc, dest.left, dest.top, dest.right, dest.bottom, 0, 0, width, height,
                            clip.left, clip.top, clip.right, clip.bottom, mode, rop, bitmap);
}

}  // namespace

int16_t PXLBitmapDrawVFW(PxlImageId id, const BITMAPINFO* info, const uint8_t* bits, HDC dc, int left, int top,
                         int right, int bottom, int sourceLeft, int sourceTop, int sourceRight, int sourceBottom,
                         int clipLeft, int clipTop, int clipRight, int clipBottom, int16_t mode, DWORD rop,
                         HBITMAP bitmap) {
    // Drawing only reads the pixels, so it shares the image with other readers.
    ImageLock image = lockImage(id, Access::Draw);
    if (!image || !info || !bits || !dc) return 0;
    GdiFlush();
    SetStretchBltMode(dc, COLORONCOLOR);
    const Rect dest{left, top, right, bottom};
    const Rect clip{clipLeft, clipTop, clipRight, clipBottom};
    Rect source{sourceLeft, sourceTop, sourceRight, sourceBottom};
    if (mode == PXL_DRAW_PLACEHOLDER) {
        drawPlaceholder(dc, clip, dest);
        return 1;
    }
    if (dest.width() <= 0 || dest.height() <= 0 || !clipSource(info, source)) return 0;
    const int technology = GetDeviceCaps(dc, TECHNOLOGY);
    const bool display = technology == DT_RASDISPLAY;
    if (technology == DT_METAFILE) mode = PXL_DRAW_WHOLE;
    const bool drawDib = display && GetDeviceCaps(dc, BITSPIXEL) <= 8 && rop == SRCCOPY &&
                         mode != PXL_DRAW_TILED_GDI && mode != PXL_DRAW_TILED && PXLUseVFW();
    if (mode == PXL_DRAW_TILED_GDI) mode = PXL_DRAW_TILED;
    // Off the screen the memory-bitmap route is not taken: the picture goes as DIB bits.
    Painter painter(info, bits, dc, display ? bitmap : nullptr, rop, drawDib);
    bool drawn;
    if (mode == PXL_DRAW_TILED) {
        drawn = drawTiles(painter, dest, source, clip,
                          tileSizeFor(dest.width(), dest.height(), source.width(), source.height(), display));
    } else {
        painter.begin(dest.width(), dest.height(), source.width(), source.height());
        drawn = painter.draw(dest, source);
    }
    GdiFlush();
    return drawn ? 1 : 0;
}

int16_t PXLBitmapDrawVFWWhole(const BITMAPINFO* info, const uint8_t* bits, HDC dc, int left, int top, int right,
                              int bottom, int sourceX, int sourceY, HDC sourceDc) {
    if (!info || !dc) return 0;
    // Aligned to 8 pixels across and 4 rows down, as the fast drawing paths like it.
    const int dx = left % 8, dy = top % 4;
    int x = left - dx, y = top - dy;
    int width = std::abs(right - left + dx), height = std::abs(bottom - top + dy);
    sourceX -= dx;
    sourceY -= dy;
    // Never before the first pixel: move the destination instead.
    if (sourceX < 0) {
        x -= sourceX;
        width += sourceX;
        sourceX = 0;
    }
    if (sourceY < 0) {
        y -= sourceY;
        height += sourceY;
        sourceY = 0;
    }
    width = std::min(width, static_cast<int>(info->bmiHeader.biWidth) - sourceX);
    height = std::min(height, std::abs(static_cast<int>(info->bmiHeader.biHeight)) - sourceY);
    if (width <= 0 || height <= 0) return 0;
    SetStretchBltMode(dc, COLORONCOLOR);
    if (!PXLUseVFW() || !bits) {
        return sourceDc && BitBlt(dc, x, y, width, height, sourceDc, sourceX, sourceY, SRCCOPY) ? 1 : 0;
    }
    Painter painter(info, bits, dc, nullptr, SRCCOPY, true);
    painter.begin(width, height, width, height);
    return painter.draw({x, y, x + width, y + height}, {sourceX, sourceY, sourceX + width, sourceY + height}) ? 1 : 0;
}

int16_t PXLStretchBlt(HDC dc, int left, int top, int right, int bottom, PxlImageId id, int clipLeft, int clipTop,
                      int clipRight, int clipBottom, int16_t mode, DWORD rop) {
    if (id == 0 || !dc) return 0;
    return drawImage(dc, {left, top, right, bottom}, id, {clipLeft, clipTop, clipRight, clipBottom}, mode, rop);
}

int16_t PXLBitBlt(HDC dc, int left, int top, int right, int bottom, PxlImageId id, int clipLeft, int clipTop,
                  int clipRight, int clipBottom, int16_t mode, DWORD rop, int) {
    return PXLStretchBlt(dc, left, top, right, bottom, id, clipLeft, clipTop, clipRight, clipBottom, mode, rop);
}

int16_t PXLStretchBltZoom(HDC dc, int left, int top, int right, int bottom, PxlImageId id, int clipLeft,
                          int clipTop, int clipRight, int clipBottom, int16_t mode, DWORD rop, int, int zoomPercent) {
    if (zoomPercent < 101 || left > 0 || top > 0) {
        const int16_t drawn =
            PXLStretchBlt(dc, left, top, right, bottom, id, clipLeft, clipTop, clipRight, clipBottom, mode, rop);
        if (drawn) return drawn;
    }
    const HBITMAP bitmap = PXLGetBitmap(id);
    if (!bitmap || !dc) return 0;
    // A whole-number zoom of the picture's own pixels: the destination starts inside the first
    // visible source pixel.
    const int f = std::max(1, zoomPercent / 100);
    const int w = (right - left + f - 1) / f * f, h = (bottom - top + f - 1) / f * f;
    bool drawn = false;
    if (ImageLock image = lockImage(id, Access::Draw); image && w > 0 && h > 0) {
        if (const winplat::MemoryDc memory(CreateCompatibleDC(dc)); memory) {
            if (const winplat::Selection selected(memory.get(), bitmap); selected) {
                drawn = StretchBlt(dc, left % f, top % f, w, h, memory.get(), std::abs(left) / f,
                                   std::abs(top) / f, w / f, h / f, rop) != 0;
            }
        }
    }
    if (drawn) return 1;
    return PXLStretchBlt(dc, left, top, right, bottom, id, clipLeft, clipTop, clipRight, clipBottom, PXL_DRAW_TILED,
                         rop);
}

int16_t PXLStretchBltSeparate(HDC dc, int left, int top, int right, int bottom, PxlImageId id, int clipLeft,
                              int clipTop, int clipRight, int clipBottom, int16_t mode, DWORD rop, int16_t plate,
                              int16_t keep) {
    if (plate == 0 || plate == 1) {
        return PXLStretchBlt(dc, left, top, right, bottom, id, clipLeft, clipTop, clipRight, clipBottom, mode, rop);
    }
    const PxlImageId plateImage = PXLCreateImageSeparateColor(id, plate, keep);
    if (plateImage == 0) return 0;
    const int16_t drawn =
        PXLStretchBlt(dc, left, top, right, bottom, plateImage, clipLeft, clipTop, clipRight, clipBottom, mode, rop);
    PXLDeleteImage(plateImage);
    return drawn;
}

int16_t PXLSet256PaletteToDC(HDC dc, int16_t forceBackground) {
    if (!dc || GetDeviceCaps(dc, BITSPIXEL) != 8) return 0;
    if (PXLUseVFW()) {
        if (const winplat::DrawDibSession drawDib(DrawDibOpen()); drawDib) {
            DrawDibSetPalette(drawDib.get(), PXLGetHPalette());
            DrawDibRealize(drawDib.get(), dc, forceBackground);
        }
        return 0;
    }
    UnrealizeObject(GetStockObject(DEFAULT_PALETTE));
    SelectPalette(dc, PXLGetHPalette(), forceBackground);
    return static_cast<int16_t>(RealizePalette(dc));
}

namespace {

constexpr int kProbeSide = 32;

// Whether the printer's own white, painted into a bitmap of its kind, reads back as the same
// pixels as white sent to it as DIB pixels ('white', a blank 24-bit image), both read in the
// format of 'probe'.
bool printsWhiteAsWhite(HDC dc, PxlImageId white, PxlImageId probe) {
    const winplat::OwnedBitmap painted(CreateCompatibleBitmap(dc, kProbeSide, kProbeSide));
    const winplat::OwnedBitmap printed(CreateCompatibleBitmap(dc, kProbeSide, kProbeSide));
    const winplat::MemoryDc memory(CreateCompatibleDC(dc));
    if (!painted || !printed || !memory) return false;
    {
        const winplat::Selection target(memory.get(), painted.get());
        const winplat::Selection pen(memory.get(), GetStockObject(NULL_PEN));
        const winplat::Selection brush(memory.get(), GetStockObject(WHITE_BRUSH));
        Rectangle(memory.get(), 0, 0, kProbeSide + 1, kProbeSide + 1);
    }
    std::memset(PXLGetBits(white), 0xFF, static_cast<size_t>(PXLSizeImage(white)));
    {
        const winplat::Selection target(memory.get(), printed.get());
        SetDIBitsToDevice(memory.get(), 0, 0, kProbeSide, kProbeSide, 0, 0, 0, kProbeSide, PXLGetBits(white),
                          PXLGetBitmapInfoHeader(white), DIB_RGB_COLORS);
    }
    const size_t bytes = static_cast<size_t>(PXLSizeImage(probe));
    std::unique_ptr<uint8_t[]> first(new uint8_t[bytes]()), second(new uint8_t[bytes]());
    BITMAPINFO* header = PXLGetBitmapInfoHeader(probe);
    const int a = GetDIBits(memory.get(), painted.get(), 0, kProbeSide, first.get(), header, DIB_RGB_COLORS);
    const int b = GetDIBits(memory.get(), printed.get(), 0, kProbeSide, second.get(), header, DIB_RGB_COLORS);
    return a == kProbeSide && b == kProbeSide && std::memcmp(first.get(), second.get(), bytes) == 0;
}

}  // namespace

int16_t PXLIsPrintedColorWhite(HDC dc) {
    if (!dc || GetDeviceCaps(dc, TECHNOLOGY) != DT_RASPRINTER) return 0;
    const PxlImageId white = PXLCreateImage(kProbeSide, kProbeSide, 24);
    const PxlImageId probe = PXLCreateImage(kProbeSide, kProbeSide, GetDeviceCaps(dc, BITSPIXEL));
    const int16_t result = white && probe && printsWhiteAsWhite(dc, white, probe) ? 1 : 0;
    PXLDeleteImage(white);
    PXLDeleteImage(probe);
    return result;
}
