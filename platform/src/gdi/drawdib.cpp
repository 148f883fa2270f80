// A software video drawing service: DrawDibDraw is StretchDIBits with SRCCOPY, averaging boxes of
// source pixels where DDF_HALFTONE asks for it and the picture shrinks. Source rectangles count
// rows from the top of the picture, whichever way its rows are stored.
#include <atomic>
#include <stdexcept>
#include <string>

#include "base/call_refusal.h"
#include "gdi/blit.h"
#include "gdi/dib_format.h"
#include "gdi/objects.h"
#include "gdi/raster.h"
#include "gdi/recorder.h"
#include "winplat/base.h"
#include "winplat/draw.h"
#include "winplat/drawdib.h"
#include "winplat/testing.h"

namespace winplat::gdi {
namespace {

struct DrawDibObject final : HandleObject {
    uint32_t palette = 0;  // set by DrawDibSetPalette, realised by DrawDibRealize
};

std::atomic<int> failuresPlanned{0};

std::shared_ptr<DrawDibObject> findDrawDib(HDRAWDIB handle) {
    return handleTable().getAs<DrawDibObject>(handleValue(handle), HandleType::DrawDib);
}

std::optional<DibLayout> acceptFormat(const CallRefuser& refuse, const BITMAPINFOHEADER* format) {
    const DibCheck check = checkDib(reinterpret_cast<const BITMAPINFO*>(format), kUnknownSize);
    if (check.problem == DibProblem::Unsupported) return refuse.unsupported(std::nullopt, "a compressed DIB");
    if (!check.layout) return refuse(std::nullopt, "a damaged DIB header");
    return check.layout;
}

}  // namespace
}  // namespace winplat::gdi

using namespace winplat;
using namespace winplat::gdi;

namespace winplat::testing {

DrawDibFailure::DrawDibFailure() {
    failuresPlanned.fetch_add(1);
}

DrawDibFailure::~DrawDibFailure() {
    failuresPlanned.fetch_sub(1);
}

}  // namespace winplat::testing

HDRAWDIB DrawDibOpen(void) {
    const uint32_t handle = handleTable().add(HandleType::DrawDib, std::make_shared<DrawDibObject>());
    if (!handle) SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return makeHandle<HDRAWDIB>(handle);
}

BOOL DrawDibClose(HDRAWDIB drawdib) {
    return handleTable().remove(handleValue(drawdib), HandleType::DrawDib) ? TRUE : FALSE;
}

BOOL DrawDibBegin(HDRAWDIB drawdib, HDC dc, int, int, LPBITMAPINFOHEADER format, int, int, UINT) {
    // Drawing needs no preparation: each DrawDibDraw carries everything. Begin only checks what
    // it is given (the DC may be null: the one of each DrawDibDraw is used).
    if (!findDrawDib(drawdib)) return FALSE;
    if (dc) {
        std::lock_guard lock(gdiMutex());
        if (!findDc(handleValue(dc))) return FALSE;
    }
    constexpr CallRefuser refuse("winplat: DrawDibBegin");
    return !format || acceptFormat(refuse, format) ? TRUE : FALSE;
}

BOOL DrawDibDraw(HDRAWDIB drawdib, HDC dc, int x, int y, int width, int height, LPBITMAPINFOHEADER format,
                 LPVOID bits, int sx, int sy, int sw, int sh, UINT flags) {
    if (failuresPlanned.load() > 0)
        throw std::runtime_error("DrawDibDraw: the video drawing service faulted");
    if (!findDrawDib(drawdib)) return FALSE;
    if (!format || !bits) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    constexpr CallRefuser refuse("winplat: DrawDibDraw");
    const auto layout = acceptFormat(refuse, format);
    if (!layout) return FALSE;
    // -1 stands for the whole picture (source) and for the source's size (destination).
    if (sw == -1) sw = layout->width;
    if (sh == -1) sh = layout->height;
    if (width == -1) width = sw;
    if (height == -1) height = sh;
    const SignedRect dest{x, y, width, height};
    const SignedRect source{sx, sy, sw, sh};
    if (!rectFits(dest) || !rectFits(source)) return refuse(BOOL{FALSE}, "coordinates beyond 2^27");
    const auto* info = reinterpret_cast<const BITMAPINFO*>(format);
    const std::vector<RGBQUAD> colors = readColorTable(info, *layout);

    std::lock_guard lock(gdiMutex());
    auto context = findDc(handleValue(dc));
    if (!context) return FALSE;
    if (recording(handleValue(dc))) {
        record(handleValue(dc), "DrawDibDraw " + std::to_string(x) + " " + std::to_string(y) + " " +
                                    std::to_string(width) + " " + std::to_string(height) + " <- " +
                                    std::to_string(sx) + " " + std::to_string(sy) + " " + std::to_string(sw) +
                                    " " + std::to_string(sh));
    }
    drawDibRect(*context, *layout, colors, bits, dest, source, ropIndex(SRCCOPY),
                (flags & DDF_HALFTONE) != 0);
    return TRUE;
}

BOOL DrawDibEnd(HDRAWDIB drawdib) {
    return findDrawDib(drawdib) ? TRUE : FALSE;
}

BOOL DrawDibSetPalette(HDRAWDIB drawdib, HPALETTE palette) {
    auto object = findDrawDib(drawdib);
    if (!object) return FALSE;
    std::lock_guard lock(gdiMutex());
    if (palette && !findPalette(handleValue(palette))) return FALSE;
    object->palette = handleValue(palette);
    return TRUE;
}

UINT DrawDibRealize(HDRAWDIB drawdib, HDC dc, BOOL background) {
    // The palette set with DrawDibSetPalette is selected into the DC and realised there (it stays
    // selected, as the DC's palette); without one there is nothing to realise.
    auto object = findDrawDib(drawdib);
    if (!object) return 0;
    uint32_t palette;
    {
        std::lock_guard lock(gdiMutex());
        palette = object->palette;
    }
    if (!palette || !SelectPalette(dc, makeHandle<HPALETTE>(palette), background)) return 0;
    return RealizePalette(dc);
}
