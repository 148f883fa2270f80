// What a BUTTON keeps with its window (user/window_state.h): the BST_ state bits, the font from
// WM_SETFONT and the image from BM_SETIMAGE.
#ifndef WINPLAT_SRC_CONTROLS_BUTTON_STATE_H
#define WINPLAT_SRC_CONTROLS_BUTTON_STATE_H

#include "winplat/controls.h"

namespace winplat::controls {

struct ButtonData {
    UINT state = 0;
    HFONT font = nullptr;
    HANDLE image = nullptr;
};

// The kinds of button that draw and behave alike.
enum class ButtonKind { Push, Check, Radio, GroupBox, OwnerDraw };

ButtonKind buttonKind(DWORD style);
bool isDefaultPush(DWORD style);
bool isAutoRadio(DWORD style);

// Of a window of the BUTTON class; 0 or null for any other window.
UINT buttonState(HWND button);
void setButtonState(HWND button, UINT state);
HFONT buttonFont(HWND button);
HANDLE buttonImage(HWND button);

}  // namespace winplat::controls

#endif
