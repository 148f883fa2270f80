// Bitmaps: DIB sections, device-dependent bitmaps (1 or 32 bits, top-down) and the copies between
// them and caller-described DIBs.
#include <algorithm>
#include <cstring>
#include <string>

#include "base/call_refusal.h"
#include "gdi/dib_format.h"
#include "gdi/dib_rle.h"
#include "gdi/objects.h"
#include "winplat/base.h"
#include "winplat/memory.h"
#include "winplat/owners.h"

namespace winplat::gdi {
namespace {

std::string compressionText(const BITMAPINFO* info) {
    return "DIB compression " + std::to_string(info->bmiHeader.biCompression) + " at " +
           std::to_string(info->bmiHeader.biBitCount) + " bits per pixel";
}

// Checks a caller's DIB header: a compression the layer does not read is an unsupported mode.
std::optional<DibLayout> acceptDib(const CallRefuser& refuse, const BITMAPINFO* info) {
    const DibCheck check = checkDib(info, kUnknownSize);
    if (check.problem == DibProblem::Unsupported)
        return refuse.unsupported(std::nullopt, compressionText(info));
    if (!check.layout) return refuse(std::nullopt, "a damaged DIB header");
    return check.layout;
}

// Checks a DIB that came as data (the clipboard's): whatever it holds is refused, never asserted.
std::optional<DibLayout> acceptStoredDib(const CallRefuser& refuse, const BITMAPINFO* info,
                                         size_t available) {
    const DibCheck check = checkDib(info, available);
    if (check.problem == DibProblem::Unsupported) return refuse(std::nullopt, compressionText(info));
    if (!check.layout) return refuse(std::nullopt, "a damaged DIB header");
    return check.layout;
}

// Checks the header of bits a caller hands in; run-length encoded bits (whose encoded size is the
// header's biSizeImage, which the caller vouches for) are expanded into 'expanded', and 'bits'
// then points at the plain rows.
std::optional<DibLayout> acceptDibBits(const CallRefuser& refuse, const BITMAPINFO* info, const uint8_t*& bits,
                                       std::vector<uint8_t>& expanded) {
    const DWORD compression = info->bmiHeader.biCompression;
    if (compression != BI_RLE8 && compression != BI_RLE4) return acceptDib(refuse, info);
    const auto layout = rleLayout(info);
    if (!layout) return refuse(std::nullopt, "a damaged run-length encoded DIB header");
    if (info->bmiHeader.biSizeImage == 0) return refuse(std::nullopt, "run-length encoded bits without their size");
    expanded = expandRle(*layout, compression == BI_RLE4, bits, info->bmiHeader.biSizeImage);
    bits = expanded.data();
    return layout;
}

bool acceptUsage(const CallRefuser& refuse, UINT usage) {
    if (usage == DIB_RGB_COLORS) return true;
    return refuse.unsupported(false, usage == DIB_PAL_COLORS ? std::string("DIB_PAL_COLORS")
                                                             : "colour usage " + std::to_string(usage));
}

// A DC argument: NULL stands for the screen, anything else must be a live DC.
bool acceptDc(HDC dc) {
    return !dc || findDc(handleValue(dc));
}

HBITMAP publish(std::shared_ptr<BitmapObject> bitmap) {
    const uint32_t handle = handleTable().add(HandleType::Bitmap, std::move(bitmap));
    if (!handle) SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return makeHandle<HBITMAP>(handle);
}

std::shared_ptr<BitmapObject> makeDdb(int width, int height, int bitsPerPixel) {
    auto bitmap = std::make_shared<BitmapObject>();
    bitmap->surface = Surface::create(width, height, bitsPerPixel, true, {},
                                      bitsPerPixel == 1 ? monochromeColors() : std::vector<RGBQUAD>{});
    if (!bitmap->surface) {
        SetLastError(imageBytes(width, height, bitsPerPixel) ? ERROR_NOT_ENOUGH_MEMORY
                                                             : ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return bitmap;
}

// The depth of a DDB made for a DC: monochrome while it holds a monochrome DDB (a fresh memory DC
// holds the stock one), else the 32 bits of the screen. Caller holds the GDI lock.
int ddbDepthFor(HDC dc) {
    if (!dc) return 32;
    auto context = findDc(handleValue(dc));
    auto bitmap = context ? findBitmap(context->bitmap) : nullptr;
    return bitmap && bitmap->monochromeDdb() ? 1 : 32;
}

// Visits DIB scan lines start .. start + lines - 1 (0 is the bottom row of a bottom-up DIB) that
// fall on the surface, the DIB laid over the surface's top-left corner; 'visit' gets the line's
// place in the caller's buffer and the surface's visual row. Returns the lines visited.
template <class Visit>
int forEachLine(const DibLayout& dib, const Surface& surface, UINT start, UINT lines, Visit visit) {
    const uint64_t end = std::min<uint64_t>(uint64_t{start} + lines, static_cast<uint64_t>(dib.height));
    int visited = 0;
    for (uint64_t line = start; line < end; ++line) {
        const int64_t visual =
            dib.topDown ? static_cast<int64_t>(line) : dib.height - 1 - static_cast<int64_t>(line);
        if (visual >= surface.height()) continue;
        visit(static_cast<size_t>(line - start), static_cast<int>(visual));
        ++visited;
    }
    return visited;
}

// Copies DIB lines into a bitmap. Caller holds the GDI lock.
int writeLines(BitmapObject& bitmap, const DibLayout& dib, const std::vector<RGBQUAD>& colors, UINT start,
               UINT lines, const uint8_t* bits) {
    Surface& surface = *bitmap.surface;
    // A DDB's two colours are fixed, so a DIB's indices only count through their colours.
    RowConverter converter(dib.format(colors), surface.format(),
                           bitmap.dibSection ? SameDepthIndices::Keep : SameDepthIndices::Rematch);
    const int width = std::min(dib.width, surface.width());
    return forEachLine(dib, surface, start, lines, [&](size_t place, int visual) {
        converter.convert(bits + place * dib.stride, surface.row(visual), width);
    });
}

// The colour table an indexed GetDIBits target gets: the source's own when the indices can be
// copied as they are, else the default of that depth.
std::vector<RGBQUAD> targetColors(const Surface& source, int bitsPerPixel) {
    std::vector<RGBQUAD> colors;
    if (source.bitsPerPixel() == bitsPerPixel) {
        colors = source.colors();
    } else {
        colors = defaultColorTable(bitsPerPixel);
    }
    colors.resize(size_t{1} << bitsPerPixel, RGBQUAD{0, 0, 0, 0});
    return colors;
}

void describeOwnFormat(const BitmapObject& bitmap, BITMAPINFOHEADER& header) {
    const Surface& surface = *bitmap.surface;
    header.biWidth = surface.width();
    header.biHeight = surface.topDown() && bitmap.dibSection ? -surface.height() : surface.height();
    header.biPlanes = 1;
    header.biBitCount = static_cast<WORD>(surface.bitsPerPixel());
    header.biCompression = bitmap.compression();
    header.biSizeImage = static_cast<DWORD>(surface.sizeBytes());
    header.biClrUsed = 0;
    header.biClrImportant = 0;
}

}  // namespace

HGLOBAL packBitmap(HBITMAP handle) {
    std::lock_guard lock(gdiMutex());
    auto bitmap = findBitmap(handleValue(handle));
    if (!bitmap) return nullptr;
    const Surface& surface = *bitmap->surface;
    const int bpp = surface.bitsPerPixel();
    std::vector<RGBQUAD> colors = surface.colors();
    if (bpp <= 8 && colors.empty()) colors.assign(size_t{1} << bpp, RGBQUAD{0, 0, 0, 0});
    const size_t maskBytes = bitmap->bitfields ? 3 * sizeof(DWORD) : 0;
    const size_t bitsOffset = sizeof(BITMAPINFOHEADER) + maskBytes + colors.size() * sizeof(RGBQUAD);

    // Zero-filled, so row padding carries nothing of the bitmap's memory beyond its pixels.
    GlobalBlock block(GlobalAlloc(GHND, bitsOffset + surface.sizeBytes()));
    const GlobalPin pin(block.get());
    if (!pin) return nullptr;
    auto* data = pin.as<uint8_t>();
    BITMAPINFOHEADER header{};
    header.biSize = sizeof(BITMAPINFOHEADER);
    describeOwnFormat(*bitmap, header);
    header.biHeight = surface.height();  // packed DIBs are bottom-up
    header.biClrUsed =
        bpp <= 8 && colors.size() != (size_t{1} << bpp) ? static_cast<DWORD>(colors.size()) : 0;
    std::memcpy(data, &header, sizeof header);
    if (maskBytes) {
        const DWORD masks[3] = {surface.masks().red, surface.masks().green, surface.masks().blue};
        std::memcpy(data + sizeof header, masks, maskBytes);
    }
    if (!colors.empty()) {
        std::memcpy(data + sizeof header + maskBytes, colors.data(), colors.size() * sizeof(RGBQUAD));
    }
    RowConverter copier(surface.format(), surface.format());
    for (int line = 0; line < surface.height(); ++line) {
        copier.convert(surface.row(surface.height() - 1 - line),
                       data + bitsOffset + static_cast<size_t>(line) * surface.stride(), surface.width());
    }
    return block.release();
}

HBITMAP bitmapFromPackedDib(const void* data, size_t size, const CallRefuser& refuse) {
    const auto* info = static_cast<const BITMAPINFO*>(data);
    const auto layout = acceptStoredDib(refuse, info, size);
    if (!layout) return nullptr;
    if (layout->bitsOffset > size || layout->imageSize > size - layout->bitsOffset)
        return refuse(HBITMAP{}, "the DIB's colour table and bits need " +
                                     std::to_string(layout->bitsOffset + layout->imageSize) + " bytes of " +
                                     std::to_string(size));
    const std::vector<RGBQUAD> colors = readColorTable(info, *layout);
    auto bitmap = makeDdb(layout->width, layout->height, 32);
    if (!bitmap) return nullptr;
    const auto* bits = static_cast<const uint8_t*>(data) + layout->bitsOffset;
    writeLines(*bitmap, *layout, colors, 0, static_cast<UINT>(layout->height), bits);
    return publish(std::move(bitmap));
}

}  // namespace winplat::gdi

using namespace winplat;
using namespace winplat::gdi;

HBITMAP CreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section,
                         DWORD offset) {
    constexpr CallRefuser refuse("winplat: CreateDIBSection");
    if (bits) *bits = nullptr;
    if (!info) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (!acceptUsage(refuse, usage)) return nullptr;
    if (section || offset) return refuse.unsupported(nullptr, "bits in a file mapping");
    {
        std::lock_guard lock(gdiMutex());
        if (!acceptDc(dc)) return nullptr;
    }
    const auto layout = acceptDib(refuse, info);
    if (!layout) return nullptr;

    auto bitmap = std::make_shared<BitmapObject>();
    bitmap->dibSection = true;
    bitmap->bitfields = layout->compression == BI_BITFIELDS;
    bitmap->surface = Surface::create(layout->width, layout->height, layout->bitsPerPixel, layout->topDown,
                                      layout->masks, readColorTable(info, *layout));
    if (!bitmap->surface) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    void* storage = bitmap->surface->bits();
    HBITMAP handle = publish(std::move(bitmap));
    if (handle && bits) *bits = storage;
    return handle;
}

HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits) {
    if (planes != 1 || width <= 0 || height <= 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (bitsPerPixel != 1 && bitsPerPixel != 32) {
        constexpr CallRefuser refuse("winplat: CreateBitmap");
        return refuse.unsupported(nullptr,
                                  std::to_string(bitsPerPixel) + " bits per pixel (DDBs have 1 or 32)");
    }
    const int bpp = static_cast<int>(bitsPerPixel);
    auto bitmap = makeDdb(width, height, bpp);
    if (!bitmap) return nullptr;
    if (bits) {
        // Rows given to CreateBitmap are WORD-aligned and top-down.
        const size_t sourceStride = *rowBytes(width, bpp, 2);
        const size_t used = (static_cast<size_t>(width) * static_cast<size_t>(bpp) + 7) / 8;
        for (int y = 0; y < height; ++y) {
            std::memcpy(bitmap->surface->row(y),
                        static_cast<const uint8_t*>(bits) + static_cast<size_t>(y) * sourceStride, used);
        }
    }
    return publish(std::move(bitmap));
}

HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height) {
    if (width <= 0 || height <= 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    int depth;
    {
        std::lock_guard lock(gdiMutex());
        if (!acceptDc(dc)) return nullptr;
        depth = ddbDepthFor(dc);
    }
    auto bitmap = makeDdb(width, height, depth);
    return bitmap ? publish(std::move(bitmap)) : nullptr;
}

HBITMAP CreateDIBitmap(HDC dc, const BITMAPINFOHEADER* header, DWORD init, const void* bits,
                       const BITMAPINFO* info, UINT usage) {
    if (!header) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    const int64_t height = header->biHeight;
    if (header->biWidth <= 0 || height == 0 || height < -kMaxSide || height > kMaxSide) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    std::optional<DibLayout> layout;
    std::vector<RGBQUAD> colors;
    const uint8_t* plainBits = nullptr;
    std::vector<uint8_t> expanded;
    const bool initialise = (init & CBM_INIT) != 0;
    if (initialise) {
        if (!bits || !info) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return nullptr;
        }
        constexpr CallRefuser refuse("winplat: CreateDIBitmap");
        if (!acceptUsage(refuse, usage)) return nullptr;
        plainBits = static_cast<const uint8_t*>(bits);
        layout = acceptDibBits(refuse, info, plainBits, expanded);
        if (!layout) return nullptr;
        colors = readColorTable(info, *layout);
    }

    std::lock_guard lock(gdiMutex());
    if (!acceptDc(dc)) return nullptr;
    auto bitmap = makeDdb(header->biWidth, static_cast<int>(height < 0 ? -height : height), ddbDepthFor(dc));
    if (!bitmap) return nullptr;
    if (initialise) {
        writeLines(*bitmap, *layout, colors, 0, static_cast<UINT>(layout->height), plainBits);
    }
    return publish(std::move(bitmap));
}

int GetDIBits(HDC dc, HBITMAP handle, UINT start, UINT lines, LPVOID bits, BITMAPINFO* info, UINT usage) {
    if (!info || info->bmiHeader.biSize < sizeof(BITMAPINFOHEADER)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    constexpr CallRefuser refuse("winplat: GetDIBits");
    if (!acceptUsage(refuse, usage)) return 0;
    std::lock_guard lock(gdiMutex());
    if (!acceptDc(dc)) return 0;
    auto bitmap = findBitmap(handleValue(handle));
    if (!bitmap) return 0;
    const Surface& surface = *bitmap->surface;
    BITMAPINFOHEADER& header = info->bmiHeader;

    if (!bits && header.biBitCount == 0) {
        // The bitmap's own format; the colour table is left alone, as the caller's buffer may end
        // with the header.
        describeOwnFormat(*bitmap, header);
        return surface.height();
    }
    auto* masks = reinterpret_cast<DWORD*>(reinterpret_cast<uint8_t*>(info) + sizeof(BITMAPINFOHEADER));
    if (header.biCompression == BI_BITFIELDS && (header.biBitCount == 16 || header.biBitCount == 32) &&
        masks[0] == 0 && masks[1] == 0 && masks[2] == 0) {
        // Masks left empty ask for the usual bit-field layout of that depth.
        const BitMasks chosen = header.biBitCount == 16 ? kMasks565 : kMasks888;
        masks[0] = chosen.red;
        masks[1] = chosen.green;
        masks[2] = chosen.blue;
    }
    const auto layout = acceptDib(refuse, info);
    if (!layout) return 0;

    std::vector<RGBQUAD> colors;
    if (layout->bitsPerPixel <= 8) {
        colors = targetColors(surface, layout->bitsPerPixel);
        std::memcpy(reinterpret_cast<uint8_t*>(info) + layout->colorOffset, colors.data(),
                    colors.size() * sizeof(RGBQUAD));
        header.biClrUsed = 0;
    }
    header.biSizeImage = static_cast<DWORD>(layout->imageSize);
    if (!bits) return surface.height();

    RowConverter converter(surface.format(), layout->format(colors));
    const int width = std::min(layout->width, surface.width());
    auto* target = static_cast<uint8_t*>(bits);
    return forEachLine(*layout, surface, start, lines, [&](size_t place, int visual) {
        converter.convert(surface.row(visual), target + place * layout->stride, width);
    });
}

int SetDIBits(HDC dc, HBITMAP handle, UINT start, UINT lines, const void* bits, const BITMAPINFO* info,
              UINT usage) {
    if (!bits || !info) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    constexpr CallRefuser refuse("winplat: SetDIBits");
    if (!acceptUsage(refuse, usage)) return 0;
    const uint8_t* plainBits = static_cast<const uint8_t*>(bits);
    std::vector<uint8_t> expanded;
    const auto layout = acceptDibBits(refuse, info, plainBits, expanded);
    if (!layout) return 0;
    const std::vector<RGBQUAD> colors = readColorTable(info, *layout);
    std::lock_guard lock(gdiMutex());
    if (!acceptDc(dc)) return 0;
    auto bitmap = findBitmap(handleValue(handle));
    if (!bitmap) return 0;
    if (bitmap->stock) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    return writeLines(*bitmap, *layout, colors, start, lines, plainBits);
}

namespace {

// The DIB section a DC holds, if it holds one with a colour table. Caller holds the GDI lock.
std::shared_ptr<BitmapObject> selectedTable(HDC dc) {
    auto context = findDc(handleValue(dc));
    if (!context) return nullptr;
    auto bitmap = findBitmap(context->bitmap);
    if (!bitmap || !bitmap->dibSection || bitmap->surface->bitsPerPixel() > 8) return nullptr;
    return bitmap;
}

UINT clampedCount(const Surface& surface, UINT start, UINT count) {
    const size_t entries = surface.colors().size();
    if (start >= entries) return 0;
    return static_cast<UINT>(std::min<size_t>(count, entries - start));
}

}  // namespace

UINT GetDIBColorTable(HDC dc, UINT start, UINT count, RGBQUAD* colors) {
    if (!colors) return 0;
    std::lock_guard lock(gdiMutex());
    const auto bitmap = selectedTable(dc);
    if (!bitmap) return 0;
    const Surface& surface = *bitmap->surface;
    const UINT copied = clampedCount(surface, start, count);
    std::copy_n(surface.colors().begin() + start, copied, colors);
    return copied;
}

UINT SetDIBColorTable(HDC dc, UINT start, UINT count, const RGBQUAD* colors) {
    if (!colors) return 0;
    std::lock_guard lock(gdiMutex());
    const auto bitmap = selectedTable(dc);
    if (!bitmap) return 0;
    Surface& surface = *bitmap->surface;
    const UINT copied = clampedCount(surface, start, count);
    std::copy_n(colors, copied, surface.colors().begin() + start);
    return copied;
}
