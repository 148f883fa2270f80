// The "LISTBOX" class: one ListBox object per window, kept with the window.
#include "controls/control_support.h"
#include "controls/list_box.h"
#include "controls/list_box_window.h"
#include "user/builtin_classes.h"
#include "user/window_state.h"

namespace winplat::controls {
namespace {

void registerListBoxClass() { registerControlClass("LISTBOX", listBoxProcedure, CS_DBLCLKS); }

}  // namespace

std::shared_ptr<ListBox> listBoxOf(HWND window) { return user::windowState<ListBox>(window); }

LRESULT CALLBACK listBoxProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return user::procedureWithState<ListBox>(window, message, wParam, lParam);
}

}  // namespace winplat::controls

WINPLAT_BUILTIN_CLASS(listBox, "LISTBOX", winplat::controls::registerListBoxClass);
