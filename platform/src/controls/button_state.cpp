#include "controls/button_state.h"

#include <memory>

#include "user/window_state.h"

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

UINT buttonState(HWND button) {
    const auto data = user::windowState<ButtonData>(button);
    return data ? data->state : 0;
}

void setButtonState(HWND button, UINT state) {
    if (const auto data = user::windowState<ButtonData>(button)) data->state = state;
}

HFONT buttonFont(HWND button) {
    const auto data = user::windowState<ButtonData>(button);
    return data ? data->font : nullptr;
}

HANDLE buttonImage(HWND button) {
    const auto data = user::windowState<ButtonData>(button);
    return data ? data->image : nullptr;
}

}  // namespace winplat::controls
