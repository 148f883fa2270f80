// Logical fonts of the test face for the text tests, and a font selected into a DC for a scope.
#ifndef WINPLAT_TESTS_GDI_TEXT_HELPERS_H
#define WINPLAT_TESTS_GDI_TEXT_HELPERS_H

#include <cstring>

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

}  // namespace texttest

#endif
