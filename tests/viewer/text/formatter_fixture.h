// A formatter measuring with the synthetic test face on a 32-bit memory surface. The paragraph
// font is 15 points at 96 dpi: a 20-pixel em, so ascent 18, descent 6, and advances of 10 for most
// letters, 5 for the space and "il.", 15 for "mw"; 30 points doubles all of them.
#ifndef LECT32_TESTS_FORMATTER_FIXTURE_H
#define LECT32_TESTS_FORMATTER_FIXTURE_H

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "text/colour_table.h"
#include "text/font_cache.h"
#include "text/font_faces.h"
#include "text/link_colours.h"
#include "text/text_formatter.h"
#include "winplat/base.h"
#include "winplat/draw.h"
#include "winplat/gdi.h"
#include "winplat/owners.h"
#include "winplat/testing.h"

namespace lect32::test {

// Code sequences as stored text holds them.
inline std::string FontCode(int16_t size, uint8_t flags = CharFormat::kFlagsUnset, uint8_t font = 255) {
    return std::string{'\x01', static_cast<char>(font), static_cast<char>(size & 0xFF), static_cast<char>(size >> 8),
                       '\xFF', static_cast<char>(flags), '\x01'};
}
inline std::string ColourCode(uint8_t text, uint8_t background) {
    return std::string{'\x02', static_cast<char>(text), static_cast<char>(background), '\x02'};
}
inline std::string ShadowCode(uint8_t colour, int8_t dx, int8_t dy) {
    return std::string{'\x03', static_cast<char>(colour), static_cast<char>(dx), static_cast<char>(dy), '\x03'};
}
// A link of kind 0 (three body bytes) or kind 3 (six).
inline std::string LinkStart(uint8_t kind) {
    const size_t body = kind == 3 ? 6 : 3;
    std::string code{'\x14', static_cast<char>(body + 1), static_cast<char>(kind)};
    code.append(body - 1, '\x07');
    code += {static_cast<char>(body + 1), '\x14'};
    return code;
}
inline std::string LinkEnd() { return std::string{'\x15', '\x15'}; }

class FormatterFixture : public ::testing::Test {
protected:
    static constexpr int kSurfaceWidth = 240;
    static constexpr int kSurfaceHeight = 100;

    void SetUp() override {
        auto& fonts = GetDocumentFonts();
        fonts.main.Clear();
        fonts.main.Append("Arial CE", kCharsetEastEurope);
        fonts.markers.Clear();
        fonts.markers.Append("Wingdings", kCharsetSymbol);
        SetTextResolution(96);
        SetTextZoom(0);
        GetTextFontCache().Clear();
        GetLinkColours().Init();
        SelectObject(dc_.get(), surface_.get());
        formatter_.SetDC(dc_.get());
        formatter_.SetColourTable(&colours_);
        colours_.SetAll(std::vector<Rgb>{{0, 0, 0}, {255, 255, 255}, {255, 0, 0}, {0, 0, 255}, {0, 128, 0},
                                         {250, 250, 250}});
        paragraph_.SetParagraphDefaults();
        paragraph_.chars.size = 15;
    }
    void TearDown() override {
        formatter_.ReleaseFonts();
        SetPrintJobDevice(nullptr);
        GetTextFontCache().Clear();
        GetDocumentFonts().main.Clear();
        GetDocumentFonts().markers.Clear();
    }

    // Begins the paragraph and splits the text from its start.
    size_t Split(const std::string& text, int width = 0) {
        text_.assign(text.begin(), text.end());
        formatter_.BeginParagraph(paragraph_);
        return formatter_.SplitIntoSegments(text_, width);
    }
    // Split, place without alignment, break at right x, trim, place again: one line as the
    // document view lays it out. Returns the line's bytes.
    size_t LayLine(size_t from, int right, TextFormatter::Alignment alignment = TextFormatter::kLeft) {
        formatter_.SplitIntoSegments(std::span<const uint8_t>(text_).subspan(from), right);
        formatter_.LayoutLine(0, 0, TextFormatter::kLeft, false);
        size_t n = formatter_.BreakLine(static_cast<uint16_t>(right));
        if (from + n < text_.size() && text_[from + n] == ' ') ++n;
        else formatter_.TrimTrailingSpace();
        formatter_.LayoutLine(0, right, alignment, from + n >= text_.size());
        return n;
    }
    std::vector<int> Xs() const {
        std::vector<int> xs;
        for (const TextSegment& s : formatter_.Segments()) xs.push_back(s.x);
        return xs;
    }
    std::vector<int> Lengths() const {
        std::vector<int> lengths;
        for (const TextSegment& s : formatter_.Segments()) lengths.push_back(s.length);
        return lengths;
    }
    COLORREF Pixel(int x, int y) const { return GetPixel(dc_.get(), x, y) & 0xFFFFFF; }
    void Clear(COLORREF colour = RGB(255, 255, 255)) {
        winplat::GdiObject<HBRUSH> brush(CreateSolidBrush(colour));
        RECT all{0, 0, kSurfaceWidth, kSurfaceHeight};
        FillRect(dc_.get(), &all, brush.get());
    }

    winplat::testing::ScopedFontSource face_{winplat::testing::FontSource::Test};
    winplat::MemoryDc dc_{CreateCompatibleDC(nullptr)};
    winplat::OwnedBitmap surface_{CreateBitmap(kSurfaceWidth, kSurfaceHeight, 1, 32, nullptr)};
    ColourTable colours_;
    TextFormat paragraph_;
    TextFormatter formatter_;
    std::vector<uint8_t> text_;
};

}  // namespace lect32::test

#endif
