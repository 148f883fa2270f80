// Lines, rectangles and single pixels.
//
// Lines. A one-pixel line from (x0, y0) to (x1, y1) lights one pixel per step along its longer
// axis, from the start up to but not including the end point. At step k the other coordinate is
// the nearest to the ideal line, an exact half going to the smaller coordinate:
// y = y0 + ceil(k * dy / |dx| - 1/2) for lines longer in x (and likewise with x and y swapped).
// Styled one-pixel pens run their dash pattern on from one LineTo to the next; the gaps take the
// background colour in OPAQUE mode and are left alone in TRANSPARENT mode. Wider pens draw solid,
// with round ends: every pixel whose centre lies closer than half the width to the segment.
//
// Rectangles exclude the right and bottom edge: the pen outlines [left, right) x [top, bottom)
// and the brush fills inside the outline; with the null pen the brush fills
// [left, right - 1) x [top, bottom - 1). Both go through the DC's binary raster operation.
#include <algorithm>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "base/call_refusal.h"
#include "gdi/dc_origin.h"
#include "gdi/paint.h"
#include "gdi/pen_lines.h"
#include "gdi/raster.h"
#include "gdi/recorder.h"
#include "winplat/base.h"
#include "winplat/draw.h"

namespace winplat::gdi {

// Dash patterns of the styled one-pixel pens: lengths of on, off, on, off ... in pixels.
struct Dashes {
    int runs[6];
    int count;
    int period;
};

namespace {

int64_t floorDiv(int64_t a, int64_t b) {
    int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
    return q;
}

const Dashes* dashesOf(int style) {
    static const Dashes dash{{18, 6}, 2, 24};
    static const Dashes dot{{3, 3}, 2, 6};
    static const Dashes dashDot{{9, 6, 3, 6}, 4, 24};
    static const Dashes dashDotDot{{9, 3, 3, 3, 3, 3}, 6, 24};
    switch (style) {
        case PS_DASH:
            return &dash;
        case PS_DOT:
            return &dot;
        case PS_DASHDOT:
            return &dashDot;
        case PS_DASHDOTDOT:
            return &dashDotDot;
        default:
            return nullptr;
    }
}

bool dashOn(const Dashes& dashes, uint32_t step) {
    int position = static_cast<int>(step % static_cast<uint32_t>(dashes.period));
    for (int i = 0; i < dashes.count; ++i) {
        if (position < dashes.runs[i]) return i % 2 == 0;
        position -= dashes.runs[i];
    }
    return true;
}

}  // namespace

PenPaint resolvePen(const DeviceContextObject& dc, const Surface& surface) {
    PenPaint pen;
    auto object = findPen(dc.state.pen);
    if (!object || object->style == PS_NULL) return pen;
    pen.visible = true;
    pen.width = static_cast<int>(std::clamp<int64_t>(object->width, 1, kMaxCoordinate));
    pen.style = object->style;
    if (pen.width == 1) pen.dashes = dashesOf(object->style);
    pen.value = valueOf(surface, colorOf(dc, object->color));
    pen.gapValue = valueOf(surface, colorOf(dc, dc.state.backgroundColor));
    pen.opaqueGaps = dc.state.backgroundMode == OPAQUE;
    pen.rop = ternaryFromRop2(dc.state.rop2);
    return pen;
}

void plot(Surface& surface, int x, int y, uint32_t value, uint8_t rop) {
    uint32_t d = surface.value(x, y);
    applyRop(rop, &value, nullptr, &d, 1);
    surface.setValue(x, y, d);
}

void cosmeticLine(Surface& surface, const ClipArea& clip, int64_t x0, int64_t y0, int64_t x1, int64_t y1,
                  const PenPaint& pen, uint32_t& step) {
    const int64_t dx = x1 - x0;
    const int64_t dy = y1 - y0;
    const bool xMajor = std::llabs(dx) >= std::llabs(dy);
    const int64_t steps = xMajor ? std::llabs(dx) : std::llabs(dy);
    const DeviceRect& area = clip.box();
    if (steps == 0 || area.empty()) return;
    const int64_t start = xMajor ? x0 : y0;
    const int64_t direction = (xMajor ? dx : dy) < 0 ? -1 : 1;
    const int64_t minorStart = xMajor ? y0 : x0;
    const int64_t minorDelta = xMajor ? dy : dx;
    // Only the steps whose major coordinate lies in the area.
    const int64_t low = xMajor ? area.left : area.top;
    const int64_t high = xMajor ? area.right : area.bottom;
    int64_t first = direction > 0 ? low - start : start - high + 1;
    int64_t last = direction > 0 ? high - start : start - low + 1;  // exclusive
    first = std::max<int64_t>(first, 0);
    last = std::min<int64_t>(last, steps);
    for (int64_t k = first; k < last; ++k) {
        const int64_t major = start + direction * k;
        const int64_t minor = minorStart + floorDiv(2 * k * minorDelta + steps - 1, 2 * steps);
        const int64_t x = xMajor ? major : minor;
        const int64_t y = xMajor ? minor : major;
        if (!clip.contains(x, y)) continue;
        const bool on = !pen.dashes || dashOn(*pen.dashes, step + static_cast<uint32_t>(k));
        if (on) {
            plot(surface, static_cast<int>(x), static_cast<int>(y), pen.value, pen.rop);
        } else if (pen.opaqueGaps) {
            plot(surface, static_cast<int>(x), static_cast<int>(y), pen.gapValue, pen.rop);
        }
    }
    step += static_cast<uint32_t>(steps);
}

namespace {

// The open interval of x where the row at height y comes closer than 'radius' to the segment;
// false when it does not. The shape is convex, so its pieces (the two end discs and the band
// along the segment) together make one interval.
bool capsuleSpan(const Segment& s, double y, double radius, double& lo, double& hi) {
    lo = INFINITY;
    hi = -INFINITY;
    auto add = [&](double a, double b) {
        if (a < b) {
            lo = std::min(lo, a);
            hi = std::max(hi, b);
        }
    };
    for (const auto& [cx, cy] : {std::pair{s.ax, s.ay}, std::pair{s.bx, s.by}}) {
        const double dy = y - cy;
        if (std::fabs(dy) < radius) {
            const double half = std::sqrt(radius * radius - dy * dy);
            add(cx - half, cx + half);
        }
    }
    const double length = std::hypot(s.bx - s.ax, s.by - s.ay);
    if (length > 0) {
        const double ux = (s.bx - s.ax) / length;
        const double uy = (s.by - s.ay) / length;
        const double ry = y - s.ay;
        double a = -INFINITY;
        double b = INFINITY;
        auto cut = [&](double p, double q) {
            a = std::max(a, std::min(p, q));
            b = std::min(b, std::max(p, q));
        };
        // Across the segment: |(x - ax) * uy - ry * ux| < radius.
        if (uy != 0) {
            cut(s.ax + (ry * ux - radius) / uy, s.ax + (ry * ux + radius) / uy);
        } else if (std::fabs(ry) >= radius) {
            b = a;
        }
        // Along it: 0 <= (x - ax) * ux + ry * uy <= length.
        if (ux != 0) {
            cut(s.ax + (0 - ry * uy) / ux, s.ax + (length - ry * uy) / ux);
        } else if (ry * uy < 0 || ry * uy > length) {
            b = a;
        }
        add(a, b);
    }
    return lo < hi;
}

}  // namespace

// Pixels of a wide pen along the segments (each pixel once, however many segments cover it).
void wideSegments(Surface& surface, const ClipArea& clip, const std::vector<Segment>& segments,
                  const PenPaint& pen) {
    const DeviceRect& area = clip.box();
    if (area.empty() || segments.empty()) return;
    const double radius = pen.width / 2.0;
    // Pixel centres: pixel (x, y) is at (x, y) for odd widths and at (x + 0.5, y + 0.5) for even
    // ones, so that a pen of width w covers exactly w rows of a horizontal line.
    const double offset = pen.width % 2 == 0 ? 0.5 : 0.0;
    double top = INFINITY;
    double bottom = -INFINITY;
    for (const Segment& s : segments) {
        top = std::min({top, s.ay, s.by});
        bottom = std::max({bottom, s.ay, s.by});
    }
    const int64_t fromRow =
        std::max<int64_t>(area.top, static_cast<int64_t>(std::floor(top - radius - offset)));
    const int64_t toRow =
        std::min<int64_t>(area.bottom, static_cast<int64_t>(std::ceil(bottom + radius - offset)) + 1);
    std::vector<std::pair<int64_t, int64_t>> spans;
    for (int64_t y = fromRow; y < toRow; ++y) {
        spans.clear();
        for (const Segment& s : segments) {
            double lo, hi;
            if (!capsuleSpan(s, static_cast<double>(y) + offset, radius, lo, hi)) continue;
            const int64_t first =
                std::max<int64_t>(area.left, static_cast<int64_t>(std::floor(lo - offset)) + 1);
            const int64_t last = std::min<int64_t>(area.right, static_cast<int64_t>(std::ceil(hi - offset)));
            if (first < last) spans.emplace_back(first, last);
        }
        std::sort(spans.begin(), spans.end());
        int64_t done = INT64_MIN;
        for (const auto& [first, last] : spans) {
            const int64_t from = std::max(first, done);
            if (from < last) {
                const DeviceRect run{static_cast<int>(from), static_cast<int>(y), static_cast<int>(last),
                                     static_cast<int>(y) + 1};
                clip.forEach(run, [&](const DeviceRect& piece) {
                    for (int x = piece.left; x < piece.right; ++x) plot(surface, x, piece.top, pen.value, pen.rop);
                });
            }
            done = std::max(done, last);
        }
    }
}

namespace {

// A cosmetic outline of [left, right) x [top, bottom), every border pixel once.
void cosmeticFrame(Surface& surface, const ClipArea& area, const DeviceRect& r, const PenPaint& pen) {
    uint32_t step = 0;
    const int64_t l = r.left, t = r.top, right = r.right - 1, bottom = r.bottom - 1;
    if (r.right - r.left == 1) return cosmeticLine(surface, area, l, t, l, r.bottom, pen, step);
    if (r.bottom - r.top == 1) return cosmeticLine(surface, area, l, t, r.right, t, pen, step);
    cosmeticLine(surface, area, l, t, right, t, pen, step);
    cosmeticLine(surface, area, right, t, right, bottom, pen, step);
    cosmeticLine(surface, area, right, bottom, l, bottom, pen, step);
    cosmeticLine(surface, area, l, bottom, l, t, pen, step);
}

void fillWithPen(Surface& surface, const ClipArea& area, const DeviceRect& r, const PenPaint& pen) {
    fillClipped(surface, area, r, BrushPaint::solid(pen.value), pen.rop);
}

void frame(Surface& surface, const ClipArea& area, const DeviceRect& r, const PenPaint& pen) {
    if (pen.width == 1) return cosmeticFrame(surface, area, r, pen);
    if (pen.style == PS_INSIDEFRAME) {
        // The whole width inside the rectangle: four bands that do not overlap.
        const int w = pen.width;
        if (2 * w >= r.right - r.left || 2 * w >= r.bottom - r.top) return fillWithPen(surface, area, r, pen);
        fillWithPen(surface, area, DeviceRect{r.left, r.top, r.right, r.top + w}, pen);
        fillWithPen(surface, area, DeviceRect{r.left, r.bottom - w, r.right, r.bottom}, pen);
        fillWithPen(surface, area, DeviceRect{r.left, r.top + w, r.left + w, r.bottom - w}, pen);
        fillWithPen(surface, area, DeviceRect{r.right - w, r.top + w, r.right, r.bottom - w}, pen);
        return;
    }
    const double l = r.left, t = r.top, right = r.right - 1, bottom = r.bottom - 1;
    wideSegments(surface, area,
                 {Segment{l, t, right, t}, Segment{right, t, right, bottom},
                  Segment{right, bottom, l, bottom}, Segment{l, bottom, l, t}},
                 pen);
}


std::string rectText(int left, int top, int right, int bottom) {
    return std::to_string(left) + " " + std::to_string(top) + " " + std::to_string(right) + " " +
           std::to_string(bottom);
}

}  // namespace
}  // namespace winplat::gdi

using namespace winplat;
using namespace winplat::gdi;

BOOL Rectangle(HDC dc, int left, int top, int right, int bottom) {
    return onDc(dc, BOOL{FALSE}, [&](DeviceContextObject& context) -> BOOL {
        if (!coordinatesFit({left, top, right, bottom})) {
            constexpr CallRefuser refuse("winplat: Rectangle");
            return refuse(BOOL{FALSE}, "coordinates beyond 2^27");
        }
        if (recording(handleValue(dc)))
            record(handleValue(dc), "Rectangle " + rectText(left, top, right, bottom));
        Surface* surface = drawingSurface(context);
        if (!surface) return TRUE;
        const DeviceRect r = toDevice(context, DeviceRect{std::min(left, right), std::min(top, bottom),
                                                          std::max(left, right), std::max(top, bottom)});
        if (r.empty()) return TRUE;
        const ClipArea area = effectiveClip(context);
        const PenPaint pen = resolvePen(context, *surface);
        const BrushPaint brush = BrushPaint::resolve(findBrush(context.state.brush).get(), context, *surface);
        DeviceRect inner{r.left, r.top, r.right - 1, r.bottom - 1};
        if (pen.visible) {
            const int w = pen.style == PS_INSIDEFRAME && pen.width > 1 ? pen.width : 1;
            inner = DeviceRect{r.left + w, r.top + w, r.right - w, r.bottom - w};
        }
        if (!inner.empty())
            fillClipped(*surface, area, inner, brush, ternaryFromRop2(context.state.rop2));
        if (pen.visible) frame(*surface, area, r, pen);
        return TRUE;
    });
}

int FillRect(HDC dc, const RECT* rect, HBRUSH brush) {
    if (!rect) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    return onDc(dc, 0, [&](DeviceContextObject& context) -> int {
        auto object = findBrush(handleValue(brush));
        if (!object) return 0;
        if (recording(handleValue(dc)))
            record(handleValue(dc), "FillRect " + rectText(rect->left, rect->top, rect->right, rect->bottom));
        Surface* surface = drawingSurface(context);
        if (!surface) return 1;
        const DeviceRect r = toDevice(context, DeviceRect{rect->left, rect->top, rect->right, rect->bottom});
        if (r.empty()) return 1;
        fillClipped(*surface, effectiveClip(context), r, BrushPaint::resolve(object.get(), context, *surface),
                    ropIndex(PATCOPY));
        return 1;
    });
}

BOOL MoveToEx(HDC dc, int x, int y, LPPOINT previous) {
    return onDc(dc, BOOL{FALSE}, [&](DeviceContextObject& context) -> BOOL {
        if (previous) *previous = POINT{context.state.positionX, context.state.positionY};
        context.state.positionX = x;
        context.state.positionY = y;
        context.penStyleStep = 0;
        return TRUE;
    });
}

BOOL LineTo(HDC dc, int x, int y) {
    return onDc(dc, BOOL{FALSE}, [&](DeviceContextObject& context) -> BOOL {
        const int64_t x0 = context.state.positionX;
        const int64_t y0 = context.state.positionY;
        if (!coordinatesFit({x0, y0, x, y})) {
            constexpr CallRefuser refuse("winplat: LineTo");
            return refuse(BOOL{FALSE}, "coordinates beyond 2^27");
        }
        context.state.positionX = x;
        context.state.positionY = y;
        Surface* surface = drawingSurface(context);
        if (!surface) return TRUE;
        const PenPaint pen = resolvePen(context, *surface);
        if (!pen.visible) return TRUE;
        const ClipArea area = effectiveClip(context);
        const int64_t dx = context.origin.x;
        const int64_t dy = context.origin.y;
        if (pen.width == 1) {
            cosmeticLine(*surface, area, x0 + dx, y0 + dy, x + dx, y + dy, pen, context.penStyleStep);
        } else if (x0 != x || y0 != y) {
            wideSegments(*surface, area,
                         {Segment{static_cast<double>(x0 + dx), static_cast<double>(y0 + dy),
                                  static_cast<double>(x + dx), static_cast<double>(y + dy)}},
                         pen);
        }
        return TRUE;
    });
}

COLORREF SetPixel(HDC dc, int x, int y, COLORREF color) {
    return onDc(dc, COLORREF{CLR_INVALID}, [&](DeviceContextObject& context) -> COLORREF {
        if (context.kind == DcKind::Metafile) return color & 0xFFFFFF;
        Surface* surface = drawingSurface(context);
        const int px = x + context.origin.x;
        const int py = y + context.origin.y;
        if (!surface || !effectiveClip(context).contains(px, py)) return CLR_INVALID;
        const uint32_t value = valueOf(*surface, colorOf(context, color));
        surface->setValue(px, py, value);
        return colorRefOf(colorOfValue(*surface, value));
    });
}

COLORREF GetPixel(HDC dc, int x, int y) {
    return onDc(dc, COLORREF{CLR_INVALID}, [&](DeviceContextObject& context) -> COLORREF {
        Surface* surface = drawingSurface(context);
        const int px = x + context.origin.x;
        const int py = y + context.origin.y;
        if (!surface || !effectiveClip(context).contains(px, py)) return CLR_INVALID;
        return colorRefOf(colorOfValue(*surface, surface->value(px, py)));
    });
}
