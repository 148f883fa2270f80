// The "LISTBOX" class: one ListBox object per window, looked up by the window procedure.
#include "controls/control_support.h"
#include "controls/control_table.h"
#include "controls/list_box.h"
#include "controls/list_box_window.h"
#include "user/builtin_classes.h"

namespace winplat::controls {
namespace {

// Made on first use and never destroyed, so windows still alive at exit find it.
ControlTable<ListBox>& listBoxes() {
    static auto* table = new ControlTable<ListBox>;
    return *table;
}

void registerListBoxClass() { registerControlClass("LISTBOX", listBoxProcedure, CS_DBLCLKS); }

}  // namespace

std::shared_ptr<ListBox> listBoxOf(HWND window) { return listBoxes().find(window); }

LRESULT CALLBACK listBoxProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return listBoxes().dispatch(window, message, wParam, lParam);
}

}  // namespace winplat::controls

WINPLAT_BUILTIN_CLASS(listBox, "LISTBOX", winplat::controls::registerListBoxClass);
