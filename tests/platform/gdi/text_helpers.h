// Logical fonts of the test face for the text tests, a font selected into a DC for a scope, and a
// canvas to draw text on with pictures of boxes to compare it with.
#ifndef WINPLAT_TESTS_GDI_TEXT_HELPERS_H
#define WINPLAT_TESTS_GDI_TEXT_HELPERS_H

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "canvas.h"
#include "winplat/text.h"

namespace texttest {

inline LOGFONTA logFont(LONG height, LONG weight = FW_NORMAL, bool italic = false, BYTE pitchAndFamily = 0,
                        const char* face = "Arial") {
    LOGFONTA font{};
    font.lfHeight = height;
    font.lfWeight = weight;
    font.lfItalic = italic ? 1 : 0;
    font.lfCharSet = EASTEUROPE_CHARSET;
    font.lfPitchAndFamily = pitchAndFamily;
    std::strncpy(font.lfFaceName, face, LF_FACESIZE - 1);
    return font;
}

inline HFONT makeFont(const LOGFONTA& font) {
    return CreateFontIndirectA(&font);
}

// Selects a new font into the DC while it lives, then puts the previous one back and deletes it.
class SelectedFont {
  public:
    SelectedFont(HDC dc, const LOGFONTA& font) : dc_(dc), font_(CreateFontIndirectA(&font)) {
        previous_ = SelectObject(dc_, font_);
    }
    ~SelectedFont() {
        SelectObject(dc_, previous_);
        DeleteObject(font_);
    }
    SelectedFont(const SelectedFont&) = delete;
    SelectedFont& operator=(const SelectedFont&) = delete;
    bool ok() const { return font_ && previous_; }
    HFONT font() const { return font_; }

  private:
    HDC dc_;
    HFONT font_;
    HGDIOBJ previous_ = nullptr;
};

using drawtest::Canvas;
using drawtest::Rgb;

inline constexpr Rgb kRed = 0xFF0000;
inline const std::map<Rgb, char> kArt = {{dibtest::kWhite, '.'}, {dibtest::kBlack, '#'}, {kRed, 'R'}};

struct Box {
    int left, top, right, bottom;
    char c = '#';
};

// A picture of '.' with the boxes painted over it in order.
inline std::vector<std::string> picture(int width, int height, const std::vector<Box>& boxes) {
    std::vector<std::string> rows(static_cast<size_t>(height), std::string(static_cast<size_t>(width), '.'));
    for (const Box& b : boxes)
        for (int y = b.top; y < b.bottom; ++y)
            for (int x = b.left; x < b.right; ++x) rows[static_cast<size_t>(y)][static_cast<size_t>(x)] = b.c;
    return rows;
}

// A white canvas with black text on red, the font selected.
class TextCanvas {
  public:
    TextCanvas(int width, int height, const LOGFONTA& font, int bpp = 24)
        : canvas(width, height, bpp), selected(canvas.dc(), font) {
        canvas.fill(dibtest::kWhite);
        SetTextColor(canvas.dc(), RGB(0, 0, 0));
        SetBkColor(canvas.dc(), RGB(255, 0, 0));
        SetBkMode(canvas.dc(), TRANSPARENT);
    }
    bool ok() const { return canvas.ok() && selected.ok(); }
    HDC dc() const { return canvas.dc(); }
    std::vector<std::string> art() const { return canvas.art(kArt); }

    Canvas canvas;
    SelectedFont selected;
};

}  // namespace texttest

#endif
