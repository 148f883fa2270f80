// The font a control draws with: the one WM_SETFONT gave it, else a font of its own in the dialog
// face ("MS Sans Serif" 8 points), which the control owns for its lifetime.
#ifndef WINPLAT_SRC_CONTROLS_CONTROL_FONT_H
#define WINPLAT_SRC_CONTROLS_CONTROL_FONT_H

#include "winplat/owners.h"
#include "winplat/text.h"

namespace winplat::controls {

class ControlFont {
public:
    ControlFont();

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
