// Ellipses and their parts: Ellipse, Arc, Chord and Pie; and RoundRect, whose corners are
// quarters of an ellipse.
//
// The ellipse is the one the region calls scan (shape_scan.h): pixel centres inside the ellipse
// inscribed in the box, whose right and bottom edges stay outside. The one-pixel pen outlines it
// with the covered pixels that have an uncovered pixel above, below, left or right of them, a
// closed 8-connected ring; the brush fills the rest. A wider pen is centred on the box's edge
// (its whole width inside the box for PS_INSIDEFRAME): the ring is then the ellipse of the outer
// box less the ellipse of that box shrunk by the width on every side, together with the thin
// ring. With the null pen the brush fills the ellipse of the box one pixel narrower and lower, as
// a rectangle's fill is.
//
// Arc keeps the ring's pixels whose centres lie in the sweep that runs counter-clockwise on the
// screen from the ray through the start point to the ray through the end point, both rays from
// the box's centre; equal rays sweep the whole ellipse. Chord joins the arc's ends with a
// one-pixel line and fills the part of the inside on the arc's side of it; Pie joins them to the
// centre and fills the inside of the sweep. RoundRect is the same ring and inside of the rounded
// box the region calls scan: an ellipse is a round rectangle whose corner ellipse is the whole
// box, and a wider pen grows the corner ellipse with the box. Everything goes through the DC's
// binary raster operation.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/call_refusal.h"
#include "gdi/paint.h"
#include "gdi/pen_lines.h"
#include "gdi/raster.h"
#include "gdi/region.h"
#include "gdi/shape_scan.h"
#include "winplat/base.h"
#include "winplat/draw.h"

namespace winplat::gdi {
namespace {

struct RowSpan {
    int64_t left = 0;
    int64_t right = 0;  // exclusive; empty when right <= left
};

// The size of the ellipse that rounds a box's corners; the whole box for an ellipse.
struct Corner {
    int64_t width = 0;
    int64_t height = 0;
};

// The covered columns of each row of 'box' (device coordinates) with its corners rounded.
std::vector<RowSpan> roundedRows(const DeviceRect& box, const Corner& corner) {
    const int64_t width = int64_t{box.right} - box.left;
    const int64_t height = int64_t{box.bottom} - box.top;
    std::vector<RowSpan> rows;
    if (width <= 0 || height <= 0) return rows;
    rows.resize(static_cast<size_t>(height));
    for (int64_t row = 0; row < height; ++row) {
        const int64_t inset = roundRectRowInset(width, height, corner.width, corner.height, row);
        rows[static_cast<size_t>(row)] = RowSpan{box.left + inset, box.right - inset};
    }
    return rows;
}

RowSpan rowAt(const std::vector<RowSpan>& rows, int64_t top, int64_t y) {
    if (y < top || y >= top + static_cast<int64_t>(rows.size())) return RowSpan{};
    return rows[static_cast<size_t>(y - top)];
}

// A rounded box split into the pen's ring and the brush's inside, row by row: in row y the ring is
// rows[y] less inside[y].
struct EllipseParts {
    DeviceRect outer;
    std::vector<RowSpan> rows;
    std::vector<RowSpan> inside;
};

// 'corner' is nullopt for an ellipse: the corner ellipse is then always the whole box.
EllipseParts splitEllipse(const DeviceRect& box, const std::optional<Corner>& corner, const PenPaint& pen) {
    EllipseParts parts;
    DeviceRect outer = box;
    int grow = 0;
    if (!pen.visible) outer = DeviceRect{box.left, box.top, box.right - 1, box.bottom - 1};
    if (pen.visible && pen.width > 1 && pen.style != PS_INSIDEFRAME) {
        grow = pen.width / 2;
        outer = DeviceRect{box.left - grow, box.top - grow, box.right + grow, box.bottom + grow};
    }
    auto cornerOf = [&](const DeviceRect& r, int64_t growth) {
        if (!corner) return Corner{int64_t{r.right} - r.left, int64_t{r.bottom} - r.top};
        return Corner{std::max<int64_t>(0, corner->width + 2 * growth),
                      std::max<int64_t>(0, corner->height + 2 * growth)};
    };
    parts.outer = outer;
    parts.rows = roundedRows(outer, cornerOf(outer, grow));
    parts.inside.resize(parts.rows.size());
    if (!pen.visible) {
        parts.inside = parts.rows;
        return parts;
    }
    std::vector<RowSpan> inner;
    const int w = pen.width;
    const DeviceRect innerBox{outer.left + w, outer.top + w, outer.right - w, outer.bottom - w};
    if (w > 1) inner = roundedRows(innerBox, cornerOf(innerBox, grow - w));
    for (size_t i = 0; i < parts.rows.size(); ++i) {
        const int64_t y = outer.top + static_cast<int64_t>(i);
        const RowSpan here = parts.rows[i];
        const RowSpan above = rowAt(parts.rows, outer.top, y - 1);
        const RowSpan below = rowAt(parts.rows, outer.top, y + 1);
        RowSpan in{std::max({here.left + 1, above.left, below.left}),
                   std::min({here.right - 1, above.right, below.right})};
        if (w > 1) {
            const RowSpan cut = rowAt(inner, innerBox.top, y);
            in = RowSpan{std::max(in.left, cut.left), std::min(in.right, cut.right)};
        }
        if (in.right <= in.left) in = RowSpan{};
        parts.inside[i] = in;
    }
    return parts;
}

// Exact sweep tests on doubled coordinates, y turned upwards so that counter-clockwise on the
// screen is counter-clockwise in the arithmetic.
struct Vector2 {
    int64_t x = 0;
    int64_t y = 0;
};

int64_t cross(const Vector2& a, const Vector2& b) { return a.x * b.y - a.y * b.x; }
int64_t dot(const Vector2& a, const Vector2& b) { return a.x * b.x + a.y * b.y; }

class Sweep {
  public:
    Sweep(const DeviceRect& box, int64_t startX, int64_t startY, int64_t endX, int64_t endY)
        : centreX_(int64_t{box.left} + box.right), centreY_(int64_t{box.top} + box.bottom),
          start_(toVector(2 * startX, 2 * startY)), end_(toVector(2 * endX, 2 * endY)) {}

    // Whether the centre of pixel (x, y) lies in the sweep (its rays included).
    bool contains(int64_t x, int64_t y) const {
        const Vector2 p = toVector(2 * x + 1, 2 * y + 1);
        const int64_t turn = cross(start_, end_);
        if (turn == 0 && dot(start_, end_) >= 0) return true;  // the same ray: the whole ellipse
        if (turn > 0) return cross(start_, p) >= 0 && cross(p, end_) >= 0;
        if (turn < 0) return !(cross(end_, p) > 0 && cross(p, start_) > 0);
        return cross(start_, p) >= 0;  // opposite rays: the half on the left of the start ray
    }
    // Where a ray meets the ellipse of 'box', in device pixels (rounded to nearest).
    POINT rayEnd(const DeviceRect& box, bool end) const {
        const Vector2 v = end ? end_ : start_;
        const double a = (double(box.right) - box.left) / 2;
        const double b = (double(box.bottom) - box.top) / 2;
        const double dx = v.x / 2.0;
        const double dy = -v.y / 2.0;
        const double length = std::sqrt((dx / a) * (dx / a) + (dy / b) * (dy / b));
        const double cx = centreX_ / 2.0;
        const double cy = centreY_ / 2.0;
        if (!(length > 0)) return POINT{static_cast<LONG>(std::floor(cx)), static_cast<LONG>(std::floor(cy))};
        return POINT{static_cast<LONG>(std::floor(cx + dx / length)), static_cast<LONG>(std::floor(cy + dy / length))};
    }

  private:
    Vector2 toVector(int64_t x2, int64_t y2) const { return Vector2{x2 - centreX_, centreY_ - y2}; }

    int64_t centreX_;
    int64_t centreY_;
    Vector2 start_;
    Vector2 end_;
};

enum class Figure { Ellipse, Arc, Chord, Pie, RoundRect };

struct FigureCall {
    Figure figure = Figure::Ellipse;
    const char* name = "";
    DeviceRect box;  // logical, normalised
    int64_t startX = 0, startY = 0, endX = 0, endY = 0;
    std::optional<Corner> corner;  // RoundRect's
};

// Plots the columns [from, to) of row y that 'keep' accepts, in runs.
template <class Keep, class Plot>
void runs(int64_t from, int64_t to, int64_t y, Keep keep, Plot plotRun) {
    int64_t x = from;
    while (x < to) {
        while (x < to && !keep(x, y)) ++x;
        const int64_t first = x;
        while (x < to && keep(x, y)) ++x;
        if (first < x) plotRun(first, x, y);
    }
}

BOOL drawFigure(HDC dc, const FigureCall& call) {
    return onDc(dc, BOOL{FALSE}, [&](DeviceContextObject& context) -> BOOL {
        const CallRefuser refuse(call.name);
        const DeviceRect& b = call.box;
        if (!coordinatesFit({b.left, b.top, b.right, b.bottom, call.startX, call.startY, call.endX, call.endY}))
            return refuse(BOOL{FALSE}, "coordinates beyond 2^27");
        if (int64_t{b.bottom} - b.top > kMaxShapeRows) return refuse(BOOL{FALSE}, "a shape taller than 2^20 rows");
        Surface* surface = drawingSurface(context);
        if (!surface) return TRUE;
        const int64_t ox = context.origin.x;
        const int64_t oy = context.origin.y;
        const DeviceRect box{static_cast<int>(b.left + ox), static_cast<int>(b.top + oy),
                             static_cast<int>(b.right + ox), static_cast<int>(b.bottom + oy)};
        if (box.empty()) return TRUE;
        const ClipArea area = effectiveClip(context);
        const PenPaint pen = resolvePen(context, *surface);
        const bool filled = call.figure != Figure::Arc;
        if (call.figure == Figure::Arc && !pen.visible) return TRUE;
        const EllipseParts parts = splitEllipse(box, call.corner, pen);
        const Sweep sweep(parts.outer, call.startX + ox, call.startY + oy, call.endX + ox, call.endY + oy);
        const BrushPaint brush =
            filled ? BrushPaint::resolve(findBrush(context.state.brush).get(), context, *surface) : BrushPaint{};
        const uint8_t rop = ternaryFromRop2(context.state.rop2);
        const POINT arcStart = sweep.rayEnd(parts.outer, false);
        const POINT arcEnd = sweep.rayEnd(parts.outer, true);
        // The chord's side: the arc runs on the right of the line from its start to its end.
        const Vector2 chord{int64_t{arcEnd.x} - arcStart.x, int64_t{arcStart.y} - arcEnd.y};
        auto insideKept = [&](int64_t x, int64_t y) {
            switch (call.figure) {
                case Figure::Pie:
                    return sweep.contains(x, y);
                case Figure::Chord: {
                    const Vector2 p{x - arcStart.x, arcStart.y - y};
                    return cross(chord, p) <= 0;
                }
                default:
                    return true;
            }
        };
        const bool whole = call.figure == Figure::Ellipse || call.figure == Figure::RoundRect;
        auto ringKept = [&](int64_t x, int64_t y) { return whole || sweep.contains(x, y); };
        auto fillRun = [&](const BrushPaint& paint, int64_t from, int64_t to, int64_t y) {
            fillClipped(*surface, area,
                        DeviceRect{static_cast<int>(from), static_cast<int>(y), static_cast<int>(to),
                                   static_cast<int>(y) + 1},
                        paint, rop);
        };
        const BrushPaint penPaint = BrushPaint::solid(pen.value);
        for (size_t i = 0; i < parts.rows.size(); ++i) {
            const int64_t y = parts.outer.top + static_cast<int64_t>(i);
            if (y < area.box().top || y >= area.box().bottom) continue;
            const RowSpan row = parts.rows[i];
            const RowSpan in = parts.inside[i];
            if (filled && !brush.empty() && in.left < in.right)
                runs(in.left, in.right, y, insideKept,
                     [&](int64_t f, int64_t t, int64_t yy) { fillRun(brush, f, t, yy); });
            if (!pen.visible) continue;
            auto ring = [&](int64_t f, int64_t t, int64_t yy) { fillRun(penPaint, f, t, yy); };
            if (in.left < in.right) {
                runs(row.left, in.left, y, ringKept, ring);
                runs(in.right, row.right, y, ringKept, ring);
            } else {
                runs(row.left, row.right, y, ringKept, ring);
            }
        }
        if (pen.visible && (call.figure == Figure::Chord || call.figure == Figure::Pie)) {
            PenPaint thin = pen;
            thin.width = 1;
            thin.dashes = nullptr;
            uint32_t step = 0;
            if (call.figure == Figure::Chord) {
                cosmeticLine(*surface, area, arcEnd.x, arcEnd.y, arcStart.x, arcStart.y, thin, step);
            } else {
                const int64_t cx = (int64_t{parts.outer.left} + parts.outer.right) / 2;
                const int64_t cy = (int64_t{parts.outer.top} + parts.outer.bottom) / 2;
                cosmeticLine(*surface, area, arcEnd.x, arcEnd.y, cx, cy, thin, step);
                cosmeticLine(*surface, area, cx, cy, arcStart.x, arcStart.y, thin, step);
            }
        }
        return TRUE;
    });
}

DeviceRect normalisedBox(int left, int top, int right, int bottom) {
    return DeviceRect{std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom)};
}

}  // namespace
}  // namespace winplat::gdi

using namespace winplat::gdi;

BOOL Ellipse(HDC dc, int left, int top, int right, int bottom) {
    return drawFigure(dc, FigureCall{Figure::Ellipse, "winplat: Ellipse", normalisedBox(left, top, right, bottom), 0,
                                     0, 0, 0, std::nullopt});
}

BOOL RoundRect(HDC dc, int left, int top, int right, int bottom, int cornerWidth, int cornerHeight) {
    return drawFigure(dc, FigureCall{Figure::RoundRect, "winplat: RoundRect", normalisedBox(left, top, right, bottom),
                                     0, 0, 0, 0, Corner{std::max(cornerWidth, 0), std::max(cornerHeight, 0)}});
}

BOOL Arc(HDC dc, int left, int top, int right, int bottom, int startX, int startY, int endX, int endY) {
    return drawFigure(dc, FigureCall{Figure::Arc, "winplat: Arc", normalisedBox(left, top, right, bottom), startX,
                                     startY, endX, endY, std::nullopt});
}

BOOL Chord(HDC dc, int left, int top, int right, int bottom, int startX, int startY, int endX, int endY) {
    return drawFigure(dc, FigureCall{Figure::Chord, "winplat: Chord", normalisedBox(left, top, right, bottom), startX,
                                     startY, endX, endY, std::nullopt});
}

BOOL Pie(HDC dc, int left, int top, int right, int bottom, int startX, int startY, int endX, int endY) {
    return drawFigure(dc, FigureCall{Figure::Pie, "winplat: Pie", normalisedBox(left, top, right, bottom), startX,
                                     startY, endX, endY, std::nullopt});
}
