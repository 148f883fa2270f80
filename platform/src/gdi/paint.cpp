#include "gdi/paint.h"

#include <algorithm>

#include "gdi/raster.h"
#include "gdi/screen_surface.h"

namespace winplat::gdi {

bool coordinatesFit(std::initializer_list<int64_t> values) {
    return std::all_of(values.begin(), values.end(),
                       [](int64_t v) { return v >= -kMaxCoordinate && v <= kMaxCoordinate; });
}

Surface* drawingSurface(const DeviceContextObject& dc) {
    if (dc.kind == DcKind::Metafile) return nullptr;
    auto bitmap = findBitmap(dc.bitmap);
    return bitmap ? bitmap->surface.get() : nullptr;
}

RGBQUAD colorOf(const DeviceContextObject& dc, COLORREF color) {
    if ((color >> 24) == 1) {
        // PALETTEINDEX: the entry of the selected logical palette (black past its end).
        const uint32_t index = color & 0xFFFF;
        auto palette = findPalette(dc.state.palette);
        if (!palette || index >= palette->entries.size()) return RGBQUAD{0, 0, 0, 0};
        const PALETTEENTRY& entry = palette->entries[index];
        return RGBQUAD{entry.peBlue, entry.peGreen, entry.peRed, 0};
    }
    return RGBQUAD{GetBValue(color), GetGValue(color), GetRValue(color), 0};
}

uint32_t valueOf(const Surface& surface, const RGBQUAD& color) {
    if (surface.bitsPerPixel() <= 8)
        return ColourMatcher(surface.colors()).nearest(color.rgbRed, color.rgbGreen, color.rgbBlue);
    return encodeDirect(surface.format(), color);
}

RGBQUAD colorOfValue(const Surface& surface, uint32_t value) {
    if (surface.bitsPerPixel() <= 8) {
        if (value >= surface.colors().size()) return RGBQUAD{0, 0, 0, 0};
        RGBQUAD color = surface.colors()[value];
        color.rgbReserved = 0;
        return color;
    }
    return decodeDirect(surface.format(), value);
}

void hatchPattern(int style, uint8_t rows[8]) {
    // Lines through device row 0 and column 0 and diagonals through (0, 0) and (7, 0), so a
    // hatch tiles seamlessly and adjacent fills line up.
    for (int y = 0; y < 8; ++y) {
        uint8_t bits = 0;
        for (int x = 0; x < 8; ++x) {
            const bool horizontal = y == 0;
            const bool vertical = x == 0;
            const bool forward = x == y;       // "\" from the top left
            const bool backward = x + y == 7;  // "/" from the bottom left
            bool on = false;
            switch (style) {
                case HS_HORIZONTAL:
                    on = horizontal;
                    break;
                case HS_VERTICAL:
                    on = vertical;
                    break;
                case HS_FDIAGONAL:
                    on = forward;
                    break;
                case HS_BDIAGONAL:
                    on = backward;
                    break;
                case HS_CROSS:
                    on = horizontal || vertical;
                    break;
                case HS_DIAGCROSS:
                    on = forward || backward;
                    break;
                default:
                    break;
            }
            if (on) bits = static_cast<uint8_t>(bits | (0x80u >> x));
        }
        rows[y] = bits;
    }
}

BrushPaint BrushPaint::solid(uint32_t value) {
    BrushPaint paint;
    paint.kind_ = Kind::Solid;
    paint.foreground_ = value;
    return paint;
}

BrushPaint BrushPaint::resolve(const BrushObject* brush, const DeviceContextObject& dc,
                               const Surface& target) {
    BrushPaint paint;
    if (!brush) return paint;
    paint.origin_ = dc.origin;
    switch (brush->kind) {
        case BrushObject::Kind::Null:
            return paint;
        case BrushObject::Kind::Solid:
            return solid(valueOf(target, colorOf(dc, brush->color)));
        case BrushObject::Kind::Hatch:
            paint.kind_ = Kind::Hatch;
            paint.foreground_ = valueOf(target, colorOf(dc, brush->color));
            paint.background_ = valueOf(target, colorOf(dc, dc.state.backgroundColor));
            paint.transparentGaps_ = dc.state.backgroundMode == TRANSPARENT;
            hatchPattern(brush->hatch, paint.hatchRows_);
            return paint;
        case BrushObject::Kind::Pattern: {
            const Surface& pattern = *brush->pattern;
            paint.kind_ = Kind::Pattern;
            paint.patternWidth_ = pattern.width();
            paint.patternHeight_ = pattern.height();
            paint.pattern_.resize(static_cast<size_t>(pattern.width()) *
                                  static_cast<size_t>(pattern.height()));
            // A monochrome pattern takes the DC's colours as a monochrome source bitmap would:
            // 0 the text colour, 1 the background colour.
            const bool monochrome = pattern.bitsPerPixel() == 1;
            const uint32_t zero = valueOf(target, colorOf(dc, dc.state.textColor));
            const uint32_t one = valueOf(target, colorOf(dc, dc.state.backgroundColor));
            std::optional<ColourMatcher> matcher;
            if (target.bitsPerPixel() <= 8) matcher.emplace(target.colors());
            size_t i = 0;
            for (int y = 0; y < pattern.height(); ++y) {
                for (int x = 0; x < pattern.width(); ++x, ++i) {
                    if (monochrome) {
                        paint.pattern_[i] = pattern.value(x, y) ? one : zero;
                        continue;
                    }
                    const RGBQUAD c = pattern.pixel(x, y);
                    paint.pattern_[i] = matcher ? matcher->find(c.rgbRed, c.rgbGreen, c.rgbBlue)
                                                : encodeDirect(target.format(), c);
                }
            }
            return paint;
        }
    }
    return paint;
}

void BrushPaint::row(int x, int y, int count, uint32_t* values, uint8_t* keep) const {
    switch (kind_) {
        case Kind::None:
            return;
        case Kind::Solid:
            std::fill_n(values, count, foreground_);
            return;
        case Kind::Hatch: {
            const uint8_t bits = hatchRows_[(y - origin_.y) & 7];
            for (int i = 0; i < count; ++i) {
                const bool on = (bits >> (7 - ((x - origin_.x + i) & 7))) & 1;
                values[i] = on ? foreground_ : background_;
                if (keep) keep[i] = !on && transparentGaps_;
            }
            return;
        }
        case Kind::Pattern: {
            const int ly = y - origin_.y;
            const int lx = x - origin_.x;
            const int py = ((ly % patternHeight_) + patternHeight_) % patternHeight_;
            const uint32_t* line =
                pattern_.data() + static_cast<size_t>(py) * static_cast<size_t>(patternWidth_);
            int px = ((lx % patternWidth_) + patternWidth_) % patternWidth_;
            for (int i = 0; i < count; ++i) {
                values[i] = line[px];
                if (++px == patternWidth_) px = 0;
            }
            return;
        }
    }
}

void fillArea(Surface& surface, const DeviceRect& area, const BrushPaint& paint, uint8_t ropIndex) {
    if (area.empty()) return;
    const bool usesPattern = ropUsesPattern(ropIndex);
    if (usesPattern && paint.empty()) return;
    const int width = area.right - area.left;
    std::vector<uint32_t> pattern(usesPattern ? static_cast<size_t>(width) : 0);
    std::vector<uint32_t> dest(static_cast<size_t>(width));
    std::vector<uint32_t> before;
    std::vector<uint8_t> keep;
    const bool gaps = usesPattern && paint.leavesGaps();
    if (gaps) {
        keep.resize(static_cast<size_t>(width));
        before.resize(static_cast<size_t>(width));
    }
    const int bpp = surface.bitsPerPixel();
    for (int y = area.top; y < area.bottom; ++y) {
        uint8_t* row = surface.row(y);
        if (usesPattern) paint.row(area.left, y, width, pattern.data(), gaps ? keep.data() : nullptr);
        if (ropUsesDestination(ropIndex) || gaps) readValues(row, bpp, area.left, width, dest.data());
        if (gaps) before = dest;
        applyRop(ropIndex, usesPattern ? pattern.data() : nullptr, nullptr, dest.data(), dest.size());
        if (gaps) {
            for (int i = 0; i < width; ++i) {
                if (keep[static_cast<size_t>(i)])
                    dest[static_cast<size_t>(i)] = before[static_cast<size_t>(i)];
            }
        }
        writeValues(row, bpp, area.left, width, dest.data());
    }
}

void fillClipped(Surface& surface, const ClipArea& clip, const DeviceRect& rect, const BrushPaint& paint,
                 uint8_t ropIndex) {
    clip.forEach(rect, [&](const DeviceRect& piece) { fillArea(surface, piece, paint, ropIndex); });
}

uint32_t screenBitmap() {
    static const uint32_t handle = [] {
        auto bitmap = std::make_shared<BitmapObject>();
        const ScreenExtent screen = screenExtent();
        bitmap->surface = Surface::create(screen.width, screen.height, 32, true);
        if (!bitmap->surface) return uint32_t{0};
        bitmap->dibSection = true;
        bitmap->deviceSurface = true;
        bitmap->stock = true;
        return handleTable().add(HandleType::Bitmap, std::move(bitmap));
    }();
    return handle;
}

}  // namespace winplat::gdi
