// What a BUTTON keeps in its window words: the BST_ state bits, the font from WM_SETFONT and the
// image from BM_SETIMAGE.
#ifndef WINPLAT_SRC_CONTROLS_BUTTON_STATE_H
#define WINPLAT_SRC_CONTROLS_BUTTON_STATE_H

#include "winplat/controls.h"

namespace winplat::controls {

constexpr int kButtonStateWord = 0;
constexpr int kButtonFontWord = 4;
constexpr int kButtonImageWord = 8;
constexpr int kButtonExtraBytes = 12;

// The kinds of button that draw and behave alike.
enum class ButtonKind { Push, Check, Radio, GroupBox, OwnerDraw };

ButtonKind buttonKind(DWORD style);
bool isDefaultPush(DWORD style);
bool isAutoRadio(DWORD style);

UINT buttonState(HWND button);
void setButtonState(HWND button, UINT state);
HFONT buttonFont(HWND button);

}  // namespace winplat::controls

#endif
