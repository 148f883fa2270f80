// The synthetic test face: no file and no rasteriser, every metric a formula, so layout and paint
// tests come out exact on every machine.
//
// Design units: 1000 per em, ascent 900, descent 300 (internal leading em / 5), no external
// leading. Advances are 250 for the space, the no-break space and "iljI.,;:!'|", 750 for "mwMW@%",
// 500 for the rest (an accented letter as its base letter), 600 for everything in the fixed-pitch
// variant (FIXED_PITCH or FF_MODERN). Bold and italic keep the advances.
//
// Scaling: a negative height -h makes the em h pixels (scale h / 1000); a positive height h makes
// the cell h pixels (scale h / 1200); every pixel value is MulDiv(units, scale numerator, scale
// denominator). The descent is the cell less the ascent, so a positive height is always the cell
// exactly.
//
// Glyphs: a filled box from the baseline up to 7/10 em. Upright, the box is one pixel narrower than
// the advance: A = 0, B = advance - 1, C = 1. Italic leans past its advance: C = -em/10 and the box
// reaches to the C edge, so B = advance - C. The space and the no-break space have no ink.
//
// Lines: underline em/20 thick (at least one row) starting em/10 below the baseline; strike-out as
// thick, starting 350 units above the baseline (the middle of the glyph box).
#include <algorithm>
#include <cstring>
#include <string_view>

#include "text/face.h"
#include "winplat/base.h"
#include "winplat/cp1250.h"

namespace winplat::text {
namespace {

constexpr int kUnitsPerEm = 1000;
constexpr int kAscent = 900;
constexpr int kDescent = 300;
constexpr int kBoxTop = 700;
constexpr int kNarrow = 250;
constexpr int kNormal = 500;
constexpr int kWide = 750;
constexpr int kFixed = 600;
constexpr int kItalicOverhang = 100;
constexpr int kUnderlineTop = 100;
constexpr int kLineThickness = 50;
constexpr int kStrikeOutTop = 350;
// A height of 0 asks for the default size: a 16-pixel cell.
constexpr int kDefaultCell = 16;

// The unaccented letter of the Latin-1 and Latin Extended-A letters ('?' for letters without
// one), indexed from U+00C0.
constexpr std::string_view kBaseLetters =
    "AAAAAA?CEEEEIIII"
    "DNOOOOO?OUUUUY??"
    "aaaaaa?ceeeeiiii"
    "dnooooo?ouuuuy?y"
    "AaAaAaCcCcCcCcDd"
    "DdEeEeEeEeEeGgGg"
    "GgGgHhHhIiIiIiIi"
    "Ii??JjKk?LlLlLlL"
    "lLlNnNnNn???OoOo"
    "Oo??RrRrRrSsSsSs"
    "SsTtTtTtUuUuUuUu"
    "UuUuWwYyYZzZzZz?";

char32_t baseLetter(char32_t c) {
    if (c < 0xC0 || c >= 0xC0 + kBaseLetters.size()) return c;
    const char base = kBaseLetters[c - 0xC0];
    return base == '?' ? c : static_cast<char32_t>(base);
}

// The character a byte stands for: cp1250 for the Latin character sets; elsewhere only ASCII and
// the no-break space are known to the test face.
char32_t characterOf(uint8_t byte, BYTE charSet) {
    if (charSet == SYMBOL_CHARSET || charSet == RUSSIAN_CHARSET)
        return byte < 0x80 || byte == 0xA0 ? byte : U'\uFFFD';
    return cp1250::toUnicode(byte);
}

int unitsOf(char32_t c) {
    if (c == U' ' || c == 0xA0) return kNarrow;
    constexpr std::u32string_view narrow = U"iljI.,;:!'|";
    constexpr std::u32string_view wide = U"mwMW@%";
    const char32_t base = baseLetter(c);
    if (narrow.find(base) != std::u32string_view::npos) return kNarrow;
    if (wide.find(base) != std::u32string_view::npos) return kWide;
    return kNormal;
}

bool isFixedPitch(BYTE pitchAndFamily) {
    return (pitchAndFamily & 0x03) == FIXED_PITCH || (pitchAndFamily & 0xF0) == FF_MODERN;
}

class TestFace final : public Face {
  public:
    explicit TestFace(const LOGFONTA& font) {
        numerator_ = font.lfHeight < 0 ? -font.lfHeight : font.lfHeight;
        denominator_ = font.lfHeight < 0 ? kUnitsPerEm : kAscent + kDescent;
        if (font.lfHeight == 0) numerator_ = kDefaultCell;
        fixed_ = isFixedPitch(font.lfPitchAndFamily);
        italic_ = font.lfItalic != 0;
        const BYTE charSet = font.lfCharSet == DEFAULT_CHARSET ? ANSI_CHARSET : font.lfCharSet;
        for (int byte = 0; byte < 256; ++byte) {
            const int units = fixed_ ? kFixed : unitsOf(characterOf(static_cast<uint8_t>(byte), charSet));
            advances_[byte] = std::max(1, scale(units));
        }
        blank_[0x20] = true;  // the space
        blank_[0xA0] = true;
        fillMetrics(font, charSet);
        name_ = font.lfFaceName[0] ? std::string(font.lfFaceName) : defaultName(font.lfPitchAndFamily);
    }

    const FaceMetrics& metrics() const override { return metrics_; }
    const std::string& name() const override { return name_; }
    int advance(uint8_t byte) const override { return advances_[byte]; }

    ABC abc(uint8_t byte) const override {
        const int advance = advances_[byte];
        if (italic_) {
            const int c = -scale(kItalicOverhang);
            return ABC{0, static_cast<UINT>(advance - c), c};
        }
        return ABC{0, static_cast<UINT>(advance - 1), 1};
    }

    GlyphInk glyphInk(uint8_t byte) const override {
        return GlyphInk{{&boxes_[byte], blank_[byte] ? 0u : 1u}, boxes_[byte]};
    }

  private:
    int scale(int units) const { return MulDiv(units, numerator_, denominator_); }

    static std::string defaultName(BYTE pitchAndFamily) {
        if (isFixedPitch(pitchAndFamily)) return "Courier New";
        return (pitchAndFamily & 0xF0) == FF_ROMAN ? "Times New Roman" : "Arial";
    }

    void fillMetrics(const LOGFONTA& font, BYTE charSet) {
        TEXTMETRICA& tm = metrics_.text;
        const int em = scale(kUnitsPerEm);
        tm.tmHeight = scale(kAscent + kDescent);
        tm.tmAscent = scale(kAscent);
        tm.tmDescent = tm.tmHeight - tm.tmAscent;
        tm.tmInternalLeading = tm.tmHeight - em;
        tm.tmExternalLeading = 0;
        tm.tmAveCharWidth = std::max(1, scale(fixed_ ? kFixed : kNormal));
        tm.tmMaxCharWidth = std::max(1, scale(fixed_ ? kFixed : kWide));
        fillStyleMetrics(tm, font);
        BYTE family = static_cast<BYTE>(font.lfPitchAndFamily & 0xF0);
        if (family == FF_DONTCARE) family = fixed_ ? FF_MODERN : FF_SWISS;
        tm.tmPitchAndFamily =
            static_cast<BYTE>(family | TMPF_VECTOR | TMPF_TRUETYPE | (fixed_ ? 0 : TMPF_FIXED_PITCH));
        tm.tmCharSet = charSet;
        fillBoxes(scale(kBoxTop));
        const int thickness = std::max(1, scale(kLineThickness));
        metrics_.underline = TextLine{scale(kUnderlineTop), thickness};
        metrics_.strikeOut = TextLine{-scale(kStrikeOutTop), thickness};
    }

    void fillBoxes(int boxTop) {
        for (int byte = 0; byte < 256; ++byte) {
            const ABC widths = abc(static_cast<uint8_t>(byte));
            const int right = widths.abcA + static_cast<int>(widths.abcB);
            if (right <= widths.abcA) blank_[byte] = true;
            boxes_[byte] = InkBox{widths.abcA, -boxTop, right, 0};
        }
    }

    int numerator_ = 0;
    int denominator_ = 1;
    bool fixed_ = false;
    bool italic_ = false;
    int advances_[256] = {};
    bool blank_[256] = {};
    InkBox boxes_[256] = {};
    FaceMetrics metrics_;
    std::string name_;
};

}  // namespace

std::shared_ptr<const Face> makeTestFace(const LOGFONTA& font) {
    return std::make_shared<TestFace>(font);
}

}  // namespace winplat::text
