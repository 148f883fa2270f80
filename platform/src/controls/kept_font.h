// The font a list or combo box measures and draws its items with, kept for its lifetime: the one
// WM_SETFONT gave it, else a dialog font of its own, since item heights are worked out from it
// outside of painting.
#ifndef WINPLAT_SRC_CONTROLS_KEPT_FONT_H
#define WINPLAT_SRC_CONTROLS_KEPT_FONT_H

#include "winplat/owners.h"

namespace winplat::controls {

class KeptFont {
public:
    KeptFont();

    // The font to select for drawing.
    HFONT get() const { return given_ ? given_ : own_.get(); }
    // What WM_GETFONT answers: the font given, null while the control draws with its own.
    HFONT given() const { return given_; }
    void set(HFONT font) { given_ = font; }

    // The height of a line of text in the font (tmHeight).
    int lineHeight() const;

private:
    GdiObject<HFONT> own_;
    HFONT given_ = nullptr;  // the program's, never deleted here
};

}  // namespace winplat::controls

#endif
