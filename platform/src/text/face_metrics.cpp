#include "text/face_metrics.h"

#include <algorithm>

#include "winplat/base.h"

namespace winplat::text {
namespace {

// A height of 0 asks for the default size: a 16-pixel cell.
constexpr int kDefaultCell = 16;
// Ems beyond this are no text: four times the tallest font CreateFontIndirectA lets through.
constexpr int kMaxEm = 65536;

void classicDialogMetrics(TEXTMETRICA& tm) {
    tm.tmHeight = 13;
    tm.tmAscent = 11;
    tm.tmDescent = 2;
    tm.tmInternalLeading = 2;
    tm.tmExternalLeading = 0;
    tm.tmAveCharWidth = 5;
    tm.tmMaxCharWidth = 11;
}

// Underline rows from the baseline: the line centred where the face puts it, kept below the
// baseline and, where the descent has room, inside it.
TextLine underlineOf(const DesignMetrics& design, const CellScale& scale, int descent) {
    const int thickness = std::max(1, scale.scale(design.underlineThickness));
    int top = scale.scale(-design.underlineCentre) - thickness / 2;
    top = std::min(top, descent - thickness);
    return TextLine{std::max(0, top), thickness};
}

TextLine strikeOutOf(const DesignMetrics& design, const CellScale& scale) {
    return TextLine{-scale.scale(design.strikeOutTop), std::max(1, scale.scale(design.strikeOutThickness))};
}

void fillSizes(TEXTMETRICA& tm, const DesignMetrics& design, const CellScale& scale, bool syntheticBold) {
    tm.tmAscent = scale.scale(design.winAscent);
    tm.tmDescent = scale.cellHeight ? scale.numerator - tm.tmAscent : scale.scale(design.winDescent);
    tm.tmHeight = tm.tmAscent + tm.tmDescent;
    tm.tmInternalLeading = tm.tmHeight - scale.em;
    // What of the hhea line gap the Windows ascent and descent do not already hold.
    const int hheaLine = design.lineAscent - design.lineDescent;
    const int cell = design.winAscent + design.winDescent;
    tm.tmExternalLeading = std::max(0, scale.scale(design.lineGap - (cell - hheaLine)));
    const int bold = syntheticBold ? 1 : 0;
    tm.tmAveCharWidth = std::max(1, scale.scale(design.averageWidth)) + bold;
    tm.tmMaxCharWidth = std::max(1, scale.scale(design.maxAdvance)) + bold;
}

BYTE pitchAndFamily(const DesignMetrics& design, const FaceSource& source) {
    BYTE family = design.family;
    if (source.bytes == ByteMap::Symbol || source.bytes == ByteMap::Wingdings) family = FF_DECORATIVE;
    // Windows' TMPF_FIXED_PITCH bit is set for a face that is NOT fixed pitch.
    const BYTE variable = design.fixedPitch ? 0 : TMPF_FIXED_PITCH;
    return static_cast<BYTE>(family | TMPF_VECTOR | TMPF_TRUETYPE | variable);
}

}  // namespace

int CellScale::scale(int units) const {
    return MulDiv(units, numerator, denominator);
}

std::optional<CellScale> cellScale(const DesignMetrics& design, LONG height) {
    const int cell = design.winAscent + design.winDescent;
    if (design.unitsPerEm <= 0 || cell <= 0 || height < -kMaxEm || height > kMaxEm) return std::nullopt;
    CellScale scale;
    if (height < 0) {
        scale = CellScale{static_cast<int>(-height), design.unitsPerEm, static_cast<int>(-height), false};
    } else {
        const int pixels = height == 0 ? kDefaultCell : static_cast<int>(height);
        const int64_t em = (int64_t{pixels} * design.unitsPerEm * 2 + cell) / (int64_t{cell} * 2);
        if (em > kMaxEm) return std::nullopt;
        scale = CellScale{pixels, cell, static_cast<int>(em), true};
    }
    if (scale.em < 1) scale.em = 1;
    return scale;
}

FaceMetrics scaledMetrics(const DesignMetrics& design, const CellScale& scale, const LOGFONTA& font,
                          const FaceSource& source) {
    FaceMetrics metrics;
    TEXTMETRICA& tm = metrics.text;
    fillSizes(tm, design, scale, source.syntheticBold);
    if (source.classicDialogMetrics) classicDialogMetrics(tm);
    fillStyleMetrics(tm, font);
    tm.tmPitchAndFamily = pitchAndFamily(design, source);
    tm.tmCharSet = source.charSet;
    metrics.underline = underlineOf(design, scale, tm.tmDescent);
    metrics.strikeOut = strikeOutOf(design, scale);
    return metrics;
}

}  // namespace winplat::text
