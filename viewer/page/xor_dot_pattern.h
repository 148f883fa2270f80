// Dotted lines drawn by inverting the pixels under the dots (SRCINVERT), so that drawing a line
// again takes it off. Tables draw their dotted cell edges with one pattern made per paint: the
// dots keep their places relative to the phases given, wherever a line starts.
#ifndef LECT32_PAGE_XOR_DOT_PATTERN_H
#define LECT32_PAGE_XOR_DOT_PATTERN_H

#include <cstdint>

#include "winplat/owners.h"
#include "winplat/types.h"

namespace lect32 {

class XorDotPattern {
public:
    static constexpr int16_t kVerticalPeriod = 24;

    XorDotPattern() = default;
    ~XorDotPattern() { Release(); }
    XorDotPattern(const XorDotPattern&) = delete;
    XorDotPattern& operator=(const XorDotPattern&) = delete;

    // Horizontal lines get a dot every 'spacing' pixels in a period of 24 pixels for spacing 3,
    // else 32; vertical lines a dot every 'verticalSpacing' rows in a period of 24. A dot lies
    // where the position plus the phase is a whole number of spacings from a period's start.
    // False when the bitmaps or device contexts cannot be made (nothing is drawn then).
    bool Create(HDC device, int phaseX, int phaseY, int spacing, int verticalSpacing);
    // The line from x1 to x2 (either order, the larger left out) at y.
    void DrawHorizontal(HDC device, int x1, int x2, int y) const;
    // The line from y1 to y2 (either order, the larger left out) at x.
    void DrawVertical(HDC device, int y1, int y2, int x) const;
    // Gives back the bitmaps and device contexts; the pattern may be made again.
    void Release();

    bool created() const { return horizontal_.created(); }
    int16_t horizontalPeriod() const { return horizontalPeriod_; }

private:
    // A one-bit bitmap selected into a memory device context of its own.
    class Strip {
    public:
        bool Make(HDC device, int width, int height, const uint8_t* bits);
        void Release();
        bool created() const { return static_cast<bool>(dc_); }
        HDC dc() const { return dc_.get(); }

    private:
        winplat::OwnedBitmap bitmap_;
        winplat::MemoryDc dc_;
        HGDIOBJ previous_ = nullptr;
    };

    // Pieces of one period each at -phase + k * period, clipped to [from, to), on row or column 'at'.
    static void drawAlong(HDC device, const Strip& strip, int from, int to, int at, int phase, int period,
                          bool vertical);

    Strip horizontal_;
    Strip vertical_;
    int16_t phaseX_ = 0;
    int16_t phaseY_ = 0;
    int16_t verticalPeriod_ = kVerticalPeriod;
    int16_t horizontalPeriod_ = 32;
};

}  // namespace lect32

#endif
