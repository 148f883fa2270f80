// Where the items of a drop-down menu go: rows as high as the menu font's line (separators
// thinner), columns started by MF_MENUBREAK / MF_MENUBARBREAK, each column as wide as its widest
// label plus the widest key text, with room for a check mark on the left and a sub-menu arrow on
// the right.
#ifndef WINPLAT_SRC_USER_MENU_LAYOUT_H
#define WINPLAT_SRC_USER_MENU_LAYOUT_H

#include <string>
#include <string_view>
#include <vector>

#include "user/menu_object.h"
#include "winplat/owners.h"

namespace winplat::user {

// The classic menu font ("MS Sans Serif" 8 pt, the test face in tests).
GdiObject<HFONT> makeMenuFont();

// An item's label (its text up to a '\t') and its key text (after the '\t').
std::string_view labelOf(std::string_view text);
std::string_view keyTextOf(std::string_view text);

// The label as shown, "&&" as '&' and the mnemonic's '&' left out.
std::string withoutPrefixes(std::string_view label);

// The mnemonic character after a single '&', lower-cased; 0 when there is none.
char mnemonicOf(std::string_view text);

struct PopupLayout {
    SIZE size{};               // the whole menu window, its raised border included
    std::vector<RECT> items;   // one per item, in the menu window's coordinates
    std::vector<int> keyColumn;  // per item: where its column's key texts start
};

constexpr int kMenuBorder = 3;  // the raised edge and one pixel of the menu colour

// Measures the items with the menu font selected into 'dc'.
PopupLayout layOutPopup(HDC dc, const MenuObject& menu);

// The item under a point of the menu window, or -1.
int itemAt(const PopupLayout& layout, POINT point);

}  // namespace winplat::user

#endif
