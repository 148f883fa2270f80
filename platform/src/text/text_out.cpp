// Drawing text: TextOutA and ExtTextOutA.
//
// The reference point (x, y) is placed by the DC's text alignment: TA_TOP puts it at the top of the
// cell, TA_BASELINE on the baseline, TA_BOTTOM at the bottom of the cell; TA_LEFT at the start of
// the text, TA_RIGHT at its end, TA_CENTER at its middle (the start half the width, rounded down, to
// the left). Each character moves the pen by its advance, plus its justification extra on a break
// character; with a dx array by that entry alone. In OPAQUE background mode the cells
// [start, start + width) x [baseline - ascent, baseline + descent) take the background colour
// before the glyphs are drawn in the text colour; underline and strike-out run the same width.
// Everything goes through the DC's clip (and ETO_CLIPPED's rectangle), and text is copied
// whatever the DC's binary raster operation: glyph ink is written straight into the rows.
#include <string>
#include <vector>

#include "base/call_refusal.h"
#include "gdi/dc_origin.h"
#include "gdi/objects.h"
#include "gdi/paint.h"
#include "gdi/raster.h"
#include "text/face.h"
#include "text/face_source.h"
#include "text/ink_painter.h"
#include "text/text_run.h"
#include "winplat/base.h"
#include "winplat/text.h"

namespace winplat::text {
namespace {

using namespace gdi;

DeviceRect deviceRect(const RECT& r) {
    return DeviceRect{r.left, r.top, r.right, r.bottom};
}

void fill(Surface& surface, const ClipArea& area, const DeviceRect& r, uint32_t value) {
    fillClipped(surface, area, r, BrushPaint::solid(value), ropIndex(PATCOPY));
}

// The advance of each character: the dx entry, else the face's advance with the justification
// extra of a break (using the breaks up).
std::vector<int> advancesOf(DeviceContextObject& dc, const Face& face, const TextRun& run) {
    std::vector<int> advances(static_cast<size_t>(run.count));
    Justification& justification = dc.state.justification;
    const BYTE breakChar = face.metrics().text.tmBreakChar;
    int breaks = 0;
    for (int i = 0; i < run.count; ++i) {
        const auto byte = static_cast<uint8_t>(run.text[i]);
        int advance = run.dx ? run.dx[i] : face.advance(byte);
        if (!run.dx && byte == breakChar) advance += justification.extraOf(breaks++);
        advances[static_cast<size_t>(i)] = advance;
    }
    if (justification.count > 0) justification.used += breaks;
    return advances;
}

void drawGlyphs(Surface& surface, const ClipArea& area, const Face& face, const TextRun& run,
                const std::vector<int>& advances, int64_t start, int64_t baseline, uint32_t value) {
    InkPainter painter(surface, area, value);
    int64_t pen = start;
    for (int i = 0; i < run.count; ++i) {
        for (const InkBox& box : face.ink(static_cast<uint8_t>(run.text[i]))) painter.paint(pen, baseline, box);
        pen += advances[static_cast<size_t>(i)];
    }
}

}  // namespace

BOOL drawRun(DeviceContextObject& dc, const TextRun& run, const CallRefuser& refuse) {
    auto font = findFont(dc.state.font);
    if (!font) return FALSE;
    const Face& face = fontFace(*font);
    const TEXTMETRICA& tm = face.metrics().text;
    const std::vector<int> advances = advancesOf(dc, face, run);
    int64_t width = 0;
    for (int advance : advances) width += advance;

    const UINT align = run.align;
    const bool updateCp = (align & TA_UPDATECP) != 0;
    const int64_t x = updateCp ? dc.state.positionX : run.x;
    const int64_t y = updateCp ? dc.state.positionY : run.y;
    if (!coordinatesFit({x, y, width, x + width})) return refuse(BOOL{FALSE}, "text beyond 2^27 pixels");
    if (updateCp) dc.state.positionX = static_cast<int32_t>(x + width);

    // From here on device coordinates: the DC's origin moves the reference point and the rectangle.
    int64_t start = x + dc.origin.x;
    if ((align & TA_CENTER) == TA_CENTER) {
        start -= width / 2;
    } else if (align & TA_RIGHT) {
        start -= width;
    }
    const int64_t deviceY = y + dc.origin.y;
    int64_t baseline = deviceY + tm.tmAscent;
    if ((align & TA_BASELINE) == TA_BASELINE) {
        baseline = deviceY;
    } else if (align & TA_BOTTOM) {
        baseline = deviceY - tm.tmDescent;
    }

    Surface* surface = drawingSurface(dc);
    if (!surface) return TRUE;
    ClipArea area = effectiveClip(dc);
    const uint32_t background = valueOf(*surface, colorOf(dc, dc.state.backgroundColor));
    const DeviceRect rect = run.rect ? toDevice(dc, deviceRect(*run.rect)) : DeviceRect{};
    if (run.rect && (run.options & ETO_OPAQUE)) fill(*surface, area, rect, background);
    if (run.rect && (run.options & ETO_CLIPPED)) area = area.within(rect);

    const auto left = static_cast<int>(start);
    const auto right = static_cast<int>(start + width);
    const auto base = static_cast<int>(baseline);
    if (dc.state.backgroundMode == OPAQUE)
        fill(*surface, area, DeviceRect{left, base - tm.tmAscent, right, base + tm.tmDescent}, background);
    const uint32_t ink = valueOf(*surface, colorOf(dc, dc.state.textColor));
    drawGlyphs(*surface, area, face, run, advances, start, baseline, ink);
    for (const auto& [line, on] : {std::pair{face.metrics().underline, tm.tmUnderlined != 0},
                                   std::pair{face.metrics().strikeOut, tm.tmStruckOut != 0}}) {
        if (on)
            fill(*surface, area, DeviceRect{left, base + line.top, right, base + line.top + line.thickness},
                 ink);
    }
    if (run.prefixed >= 0 && run.prefixed < run.count) {
        int64_t from = start;
        for (int i = 0; i < run.prefixed; ++i) from += advances[static_cast<size_t>(i)];
        const int64_t to = from + advances[static_cast<size_t>(run.prefixed)];
        const TextLine& line = face.metrics().underline;
        fill(*surface, area,
             DeviceRect{static_cast<int>(from), base + line.top, static_cast<int>(to),
                        base + line.top + line.thickness},
             ink);
    }
    return TRUE;
}

}  // namespace winplat::text

using namespace winplat;
using namespace winplat::gdi;
using winplat::text::TextRun;

BOOL TextOutA(HDC dc, int x, int y, LPCSTR text, int count) {
    constexpr CallRefuser refuse("winplat: TextOutA");
    if (count < 0 || (count > 0 && !text)) return refuse(BOOL{FALSE}, "no text");
    return onDc(dc, BOOL{FALSE}, [&](DeviceContextObject& context) {
        return text::drawRun(
            context, TextRun{x, y, context.state.textAlign, 0, nullptr, text, count, nullptr}, refuse);
    });
}

BOOL ExtTextOutA(HDC dc, int x, int y, UINT options, const RECT* rect, LPCSTR text, UINT count,
                 const int* dx) {
    constexpr CallRefuser refuse("winplat: ExtTextOutA");
    if ((options & ~UINT{ETO_OPAQUE | ETO_CLIPPED}) != 0)
        return refuse.unsupported(BOOL{FALSE}, "options " + std::to_string(options));
    if (count > INT32_MAX || (count > 0 && !text)) return refuse(BOOL{FALSE}, "no text");
    if (options != 0 && !rect) refuse.log("ETO_OPAQUE or ETO_CLIPPED without a rectangle: drawn without");
    return onDc(dc, BOOL{FALSE}, [&](DeviceContextObject& context) {
        return text::drawRun(
            context, TextRun{x, y, context.state.textAlign, options, rect, text, static_cast<int>(count), dx},
            refuse);
    });
}
