#include "page/xor_dot_pattern.h"

#include <algorithm>
#include <array>
#include <utility>

#include "winplat/draw.h"
#include "winplat/gdi.h"
#include "winplat/refusal.h"

namespace lect32 {
namespace {

constexpr winplat::Refuser refuse("lect32: dotted lines");

int wrap(int value, int period) { return ((value % period) + period) % period; }

// Dots take the device's colours under SRCINVERT: a set bit the background colour (white inverts),
// a clear one the text colour (black leaves the pixel alone).
class InvertingColours {
public:
    explicit InvertingColours(HDC device)
        : device_(device), text_(SetTextColor(device, RGB(0, 0, 0))), back_(SetBkColor(device, RGB(255, 255, 255))) {}
    ~InvertingColours() {
        SetTextColor(device_, text_);
        SetBkColor(device_, back_);
    }
    InvertingColours(const InvertingColours&) = delete;
    InvertingColours& operator=(const InvertingColours&) = delete;

private:
    HDC device_;
    COLORREF text_;
    COLORREF back_;
};

}  // namespace

bool XorDotPattern::Strip::Make(HDC device, int width, int height, const uint8_t* bits) {
    bitmap_.reset(CreateBitmap(width, height, 1, 1, bits));
    dc_.reset(CreateCompatibleDC(device));
    if (!bitmap_ || !dc_) {
        Release();
        return false;
    }
    previous_ = SelectObject(dc_.get(), bitmap_.get());
    return true;
}

void XorDotPattern::Strip::Release() {
    if (dc_ && previous_) SelectObject(dc_.get(), previous_);
    previous_ = nullptr;
    dc_.reset();
    bitmap_.reset();
}

bool XorDotPattern::Create(HDC device, int phaseX, int phaseY, int spacing, int verticalSpacing) {
    Release();
    spacing = std::max(spacing, 1);
    verticalSpacing = std::max(verticalSpacing, 1);
    horizontalPeriod_ = spacing == 3 ? 24 : 32;
    verticalPeriod_ = kVerticalPeriod;
    phaseX_ = static_cast<int16_t>(wrap(phaseX, horizontalPeriod_));
    // Each direction wraps its phase in its own period: the dots of vertical lines stay where the
    // phase puts them even when the two periods differ.
    phaseY_ = static_cast<int16_t>(wrap(phaseY, verticalPeriod_));

    // One row, packed from the high bit of each byte, padded to a word.
    std::array<uint8_t, 4> row{};
    for (int x = 0; x < horizontalPeriod_; x += spacing) row[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
    // One pixel wide: each row a word, its first byte 255 for a dot.
    std::array<uint8_t, 2 * kVerticalPeriod> column{};
    for (int y = 0; y < verticalPeriod_; y += verticalSpacing) column[2 * y] = 0xFF;

    if (!horizontal_.Make(device, horizontalPeriod_, 1, row.data()) ||
        !vertical_.Make(device, 1, verticalPeriod_, column.data())) {
        Release();
        return refuse(false, "the dot bitmaps cannot be made");
    }
    return true;
}

void XorDotPattern::Release() {
    horizontal_.Release();
    vertical_.Release();
    phaseX_ = phaseY_ = 0;
}

void XorDotPattern::drawAlong(HDC device, const Strip& strip, int from, int to, int at, int phase, int period,
                              bool vertical) {
    if (from > to) std::swap(from, to);
    const InvertingColours colours(device);
    for (int start = from - wrap(from + phase, period); start < to; start += period) {
        const int first = std::max(start, from), end = std::min(start + period, to);
        if (vertical) StretchBlt(device, at, first, 1, end - first, strip.dc(), 0, first - start, 1, end - first, SRCINVERT);
        else StretchBlt(device, first, at, end - first, 1, strip.dc(), first - start, 0, end - first, 1, SRCINVERT);
    }
}

void XorDotPattern::DrawHorizontal(HDC device, int x1, int x2, int y) const {
    if (!horizontal_.created()) return;
    drawAlong(device, horizontal_, x1, x2, y, phaseX_, horizontalPeriod_, false);
}

void XorDotPattern::DrawVertical(HDC device, int y1, int y2, int x) const {
    if (!vertical_.created()) return;
    drawAlong(device, vertical_, y1, y2, x, phaseY_, verticalPeriod_, true);
}

}  // namespace lect32
