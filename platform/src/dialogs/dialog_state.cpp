#include "dialogs/dialog_state.h"

#include <new>
#include <utility>

#include "user/window_state.h"

namespace winplat::dialogs {

std::shared_ptr<DialogState> dialogState(HWND dialog) { return user::windowState<DialogState>(dialog); }

std::shared_ptr<DialogState> attachDialogState(HWND dialog, DialogState state) {
    try {
        auto made = std::make_shared<DialogState>(std::move(state));
        return user::attachWindowState(dialog, made) ? made : nullptr;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

void dropDialogState(HWND dialog) { user::detachWindowState<DialogState>(dialog); }

}  // namespace winplat::dialogs
