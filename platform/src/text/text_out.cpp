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
#include <array>
#include <span>
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
// extra of a break (using the breaks up). A line of text fits the buffer on the stack; only a
// longer run takes its advances from the heap.
class Advances {
  public:
    Advances(DeviceContextObject& dc, const Face& face, const TextRun& run) {
        const auto count = static_cast<size_t>(run.count);
        if (count > local_.size()) heap_.resize(count);
        advances_ = count > local_.size() ? std::span<int>(heap_) : std::span<int>(local_).first(count);
        Justification& justification = dc.state.justification;
        const BYTE breakChar = face.metrics().text.tmBreakChar;
        int breaks = 0;
        for (size_t i = 0; i < count; ++i) {
            const auto byte = static_cast<uint8_t>(run.text[i]);
            int advance = run.dx ? run.dx[i] : face.advance(byte);
            if (!run.dx && Justification::IsBreak(byte, breakChar)) advance += justification.extraOf(breaks++);
            advances_[i] = advance;
        }
        if (justification.count > 0) justification.used += breaks;
    }
    Advances(const Advances&) = delete;
    Advances& operator=(const Advances&) = delete;

    int operator[](int i) const { return advances_[static_cast<size_t>(i)]; }
    int64_t sum() const {
        int64_t width = 0;
        for (const int advance : advances_) width += advance;
        return width;
    }

  private:
    std::array<int, 256> local_;
    std::vector<int> heap_;
    std::span<int> advances_;
};

void drawGlyphs(Surface& surface, const ClipArea& area, const Face& face, const TextRun& run,
                const Advances& advances, int64_t start, int64_t baseline, uint32_t value) {
    InkPainter painter(surface, area, value);
    int64_t pen = start;
    for (int i = 0; i < run.count; ++i) {
        painter.paint(pen, baseline, face.glyphInk(static_cast<uint8_t>(run.text[i])));
        pen += advances[i];
    }
}

}  // namespace

BOOL drawRun(DeviceContextObject& dc, const TextRun& run, const CallRefuser& refuse) {
    auto font = findFont(dc.state.font);
    if (!font) return FALSE;
    const Face& face = fontFace(*font);
    const TEXTMETRICA& tm = face.metrics().text;
    const Advances advances(dc, face, run);
    const int64_t width = advances.sum();

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
        for (int i = 0; i < run.prefixed; ++i) from += advances[i];
        const int64_t to = from + advances[run.prefixed];
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
