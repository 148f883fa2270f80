// A face's metrics in design units, and GetTextMetricsA's numbers worked out from them for one
// logical font.
#ifndef WINPLAT_SRC_TEXT_FACE_METRICS_H
#define WINPLAT_SRC_TEXT_FACE_METRICS_H

#include <optional>

#include "text/face.h"
#include "text/face_source.h"
#include "winplat/text.h"

namespace winplat::text {

// Units of the face's design grid, as its tables give them.
struct DesignMetrics {
    int unitsPerEm = 0;
    int winAscent = 0;   // OS/2 usWinAscent (hhea or the bounding box without one)
    int winDescent = 0;  // OS/2 usWinDescent, positive below the baseline
    int lineAscent = 0;  // hhea ascender
    int lineDescent = 0; // hhea descender, negative below the baseline
    int lineGap = 0;     // hhea line gap
    int averageWidth = 0;
    int maxAdvance = 0;
    int underlineCentre = 0;  // negative below the baseline
    int underlineThickness = 0;
    int strikeOutTop = 0;  // positive above the baseline
    int strikeOutThickness = 0;
    bool fixedPitch = false;
    BYTE family = FF_SWISS;  // FF_ROMAN, FF_SWISS, FF_MODERN or FF_DECORATIVE
};

// How design units become pixels for one requested height: pixels = MulDiv(units, numerator,
// denominator); 'em' is the whole-pixel size glyphs are rasterised at. A cell height scales the
// cell (win ascent + win descent) to it, an em height the units per em.
struct CellScale {
    int numerator = 1;
    int denominator = 1;
    int em = 1;
    bool cellHeight = false;  // the height asked for is the cell's
    int scale(int units) const;
};

// The scale of LOGFONTA::lfHeight (0 asks for a 16-pixel cell); nullopt when the face's numbers
// give no usable size (no em or cell, or an em beyond what the layer rasterises).
std::optional<CellScale> cellScale(const DesignMetrics& design, LONG height);

// The metrics GetTextMetricsA reports and the underline and strike-out lines. Synthetic bold
// widens every glyph by a pixel and so the average and widest character too; "MS Sans Serif"'s
// classic metrics replace the sizes the file would give.
FaceMetrics scaledMetrics(const DesignMetrics& design, const CellScale& scale, const LOGFONTA& font,
                          const FaceSource& source);

}  // namespace winplat::text

#endif
