// The "LISTBOX" class: one ListBox object per window, looked up by the window procedure.
#include <memory>
#include <unordered_map>

#include "controls/control_support.h"
#include "controls/list_box.h"
#include "controls/list_box_window.h"
#include "user/builtin_classes.h"

namespace winplat::controls {
namespace {

std::unordered_map<HWND, std::shared_ptr<ListBox>>& listBoxes() {
    static auto* table = new std::unordered_map<HWND, std::shared_ptr<ListBox>>;
    return *table;
}

void registerListBoxClass() { registerControlClass("LISTBOX", listBoxProcedure, CS_DBLCLKS); }

}  // namespace

std::shared_ptr<ListBox> listBoxOf(HWND window) {
    const auto found = listBoxes().find(window);
    return found == listBoxes().end() ? nullptr : found->second;
}

LRESULT CALLBACK listBoxProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        try {
            listBoxes()[window] = std::make_shared<ListBox>(window, *create);
        } catch (const std::bad_alloc&) {
            return FALSE;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }
    // Kept alive until this message is answered, whatever the answer does to the window.
    const std::shared_ptr<ListBox> list = listBoxOf(window);
    if (message == WM_NCDESTROY) listBoxes().erase(window);
    if (list) {
        if (const auto answer = list->handle(message, wParam, lParam)) return *answer;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace winplat::controls

WINPLAT_BUILTIN_CLASS(listBox, "LISTBOX", winplat::controls::registerListBoxClass);
