// The caption bar: where its buttons and title lie (the same slots the hit test answers with)
// and how it is drawn.
#ifndef WINPLAT_SRC_USER_CAPTION_LAYOUT_H
#define WINPLAT_SRC_USER_CAPTION_LAYOUT_H

#include "user/window.h"

namespace winplat::user {

bool hasCaption(const WindowObject& window);

// The button of a caption hit code (HTCLOSE, HTMAXBUTTON, HTMINBUTTON, HTSYSMENU), in window
// coordinates; empty when the window has no such button.
RECT captionButtonRect(const WindowObject& window, int hit);

// Draws the caption bar inside the outer frame ('inside', window coordinates): the bar in the
// active or inactive colour, the system menu box, the title and the buttons.
void paintCaption(HDC dc, WindowObject& window, const RECT& inside);

}  // namespace winplat::user

#endif
