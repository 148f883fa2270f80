#include "controls/button_state.h"

namespace winplat::controls {

ButtonKind buttonKind(DWORD style) {
    switch (style & BS_TYPEMASK) {
        case BS_CHECKBOX:
        case BS_AUTOCHECKBOX:
        case BS_3STATE:
        case BS_AUTO3STATE: return ButtonKind::Check;
        case BS_RADIOBUTTON:
        case BS_AUTORADIOBUTTON: return ButtonKind::Radio;
        case BS_GROUPBOX: return ButtonKind::GroupBox;
        case BS_OWNERDRAW: return ButtonKind::OwnerDraw;
        default: return ButtonKind::Push;
    }
}

bool isDefaultPush(DWORD style) { return (style & BS_TYPEMASK) == BS_DEFPUSHBUTTON; }

bool isAutoRadio(DWORD style) { return (style & BS_TYPEMASK) == BS_AUTORADIOBUTTON; }

UINT buttonState(HWND button) { return static_cast<UINT>(GetWindowLongA(button, kButtonStateWord)); }

void setButtonState(HWND button, UINT state) { SetWindowLongA(button, kButtonStateWord, static_cast<LONG>(state)); }

HFONT buttonFont(HWND button) { return reinterpret_cast<HFONT>(GetWindowLongPtrA(button, kButtonFontWord)); }

}  // namespace winplat::controls
