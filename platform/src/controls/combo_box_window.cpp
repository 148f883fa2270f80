// The "COMBOBOX" class, the "ComboLBox" class of its list, and the hook on its edit: one ComboBox
// object per combo box window, held while each message runs.
#include "controls/combo_box.h"
#include "controls/control_support.h"
#include "controls/list_box_window.h"
#include "user/builtin_classes.h"
#include "user/window_state.h"

namespace winplat::controls {
namespace {

// The combo box a part (its list or edit) belongs to.
std::shared_ptr<ComboBox> comboOfPart(HWND part) {
    for (HWND up = GetParent(part); up; up = GetParent(up)) {
        if (auto combo = comboBoxOf(up)) return combo;
    }
    // A drop-down list is a popup: its combo box is its owner's child, named in its properties.
    return comboBoxOf(static_cast<HWND>(GetPropA(part, "winplat.combo")));
}

LRESULT CALLBACK comboBoxProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return user::procedureWithState<ComboBox>(window, message, wParam, lParam);
}

bool isMouseButton(UINT message) {
    return message == WM_MOUSEMOVE || message == WM_LBUTTONDOWN || message == WM_LBUTTONUP ||
           message == WM_LBUTTONDBLCLK;
}

// The list of a combo box: a list box, except that while it drops down the combo box works its
// mouse (it never takes the focus nor activates).
LRESULT CALLBACK comboListProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_MOUSEACTIVATE) return MA_NOACTIVATE;
    if (isMouseButton(message) && (GetWindowLongA(window, GWL_STYLE) & WS_POPUP)) {
        if (const auto combo = comboOfPart(window)) {
            combo->listMouse(message, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            return 0;
        }
    }
    if (message == WM_NCDESTROY) RemovePropA(window, "winplat.combo");
    return listBoxProcedure(window, message, wParam, lParam);
}

void registerComboBoxClass() {
    registerControlClass("COMBOBOX", comboBoxProcedure, CS_DBLCLKS | CS_VREDRAW | CS_HREDRAW);
}

void registerComboListClass() { registerControlClass("ComboLBox", comboListProcedure, CS_DBLCLKS | CS_SAVEBITS); }

}  // namespace

std::shared_ptr<ComboBox> comboBoxOf(HWND window) { return user::windowState<ComboBox>(window); }

// The combo box's edit is subclassed so that the drop-down keys reach the combo box first.
LRESULT CALLBACK comboEditProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto original = reinterpret_cast<WNDPROC>(GetPropA(window, "winplat.edit"));
    if (message == WM_KEYDOWN || message == WM_SYSKEYDOWN || message == WM_CHAR || message == WM_GETDLGCODE) {
        if (const auto combo = comboOfPart(window)) {
            if (message == WM_GETDLGCODE && combo->dropped()) {
                return CallWindowProcA(original, window, message, wParam, lParam) | DLGC_WANTALLKEYS;
            }
            if (message != WM_GETDLGCODE && combo->editKey(message, wParam)) return 0;
        }
    }
    if (message == WM_NCDESTROY) RemovePropA(window, "winplat.edit");
    return original ? CallWindowProcA(original, window, message, wParam, lParam)
                    : DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace winplat::controls

WINPLAT_BUILTIN_CLASS(comboBox, "COMBOBOX", winplat::controls::registerComboBoxClass);
WINPLAT_BUILTIN_CLASS(comboList, "ComboLBox", winplat::controls::registerComboListClass);
