// Drawing a drop-down menu in the classic look: a raised frame in the menu colour, etched
// separators, check marks, grey items embossed, sub-menu arrows, '&' underlines, key texts in
// their own column and the highlighted item in the selection colours.
#ifndef WINPLAT_SRC_USER_MENU_DRAWING_H
#define WINPLAT_SRC_USER_MENU_DRAWING_H

#include "user/menu_layout.h"

namespace winplat::user {

// Draws the whole menu window; 'hot' is the highlighted item or -1.
void drawPopup(HDC dc, const MenuObject& menu, const PopupLayout& layout, int hot);

}  // namespace winplat::user

#endif
