// A face at one size and style, as the fonts and text output see it: its metrics, each byte's
// advance and ABC widths, and the ink of each glyph. The synthetic test face and the faces read by
// FreeType implement it.
//
// Faces are shared between fonts and threads: every method may be called from any thread, and
// what they return stays valid while the face lives.
#ifndef WINPLAT_SRC_TEXT_FACE_H
#define WINPLAT_SRC_TEXT_FACE_H

#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "winplat/text.h"

namespace winplat::text {

// Offsets from the baseline, positive downwards: the first row and the number of rows of a line
// drawn under or through the text.
struct TextLine {
    int top = 0;
    int thickness = 1;
};

struct FaceMetrics {
    TEXTMETRICA text{};  // everything GetTextMetricsA reports
    TextLine underline;
    TextLine strikeOut;
};

// A rectangle of ink relative to the glyph's origin on the baseline, y growing downwards; right
// and bottom excluded.
struct InkBox {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// A glyph's ink and the rectangle its boxes span, which text output checks against the clip once
// for the whole glyph; a glyph without ink has no boxes.
struct GlyphInk {
    std::span<const InkBox> boxes;
    InkBox bounds;
};

// What every face reports alike from the logical font: the weight class, the style flags, the
// device's aspect and the character range of a single-byte font.
inline void fillStyleMetrics(TEXTMETRICA& tm, const LOGFONTA& font) {
    tm.tmWeight = font.lfWeight >= FW_SEMIBOLD ? FW_BOLD : FW_NORMAL;
    tm.tmDigitizedAspectX = 96;
    tm.tmDigitizedAspectY = 96;
    tm.tmFirstChar = 0x1E;
    tm.tmLastChar = 0xFF;
    tm.tmDefaultChar = 0x1F;
    tm.tmBreakChar = ' ';
    tm.tmItalic = font.lfItalic ? 1 : 0;
    tm.tmUnderlined = font.lfUnderline ? 1 : 0;
    tm.tmStruckOut = font.lfStrikeOut ? 1 : 0;
}

class Face {
  public:
    virtual ~Face() = default;
    virtual const FaceMetrics& metrics() const = 0;
    // The family name GetTextFaceA reports.
    virtual const std::string& name() const = 0;
    // Whole pixels from one glyph's origin to the next.
    virtual int advance(uint8_t byte) const = 0;
    virtual ABC abc(uint8_t byte) const = 0;
    // The glyph's ink as boxes that do not overlap, kept by the face: drawing reads them in place.
    virtual GlyphInk glyphInk(uint8_t byte) const = 0;
    std::span<const InkBox> ink(uint8_t byte) const { return glyphInk(byte).boxes; }
};

// The synthetic test face for a logical font already checked by CreateFontIndirectA.
std::shared_ptr<const Face> makeTestFace(const LOGFONTA& font);

}  // namespace winplat::text

#endif
