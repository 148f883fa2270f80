// The objects behind the windows of one control class: each made at WM_NCCREATE from the
// creation data and dropped at WM_NCDESTROY. The window procedure holds the object while a
// message runs, so a parent that destroys the control while answering its notification does not
// pull the object away underneath it.
#ifndef WINPLAT_SRC_CONTROLS_CONTROL_TABLE_H
#define WINPLAT_SRC_CONTROLS_CONTROL_TABLE_H

#include <memory>
#include <new>
#include <optional>
#include <unordered_map>

#include "winplat/user.h"

namespace winplat::controls {

// Control: constructible from (HWND, const CREATESTRUCTA&), with
// std::optional<LRESULT> handle(UINT, WPARAM, LPARAM) (none: DefWindowProcA's answer).
template <class Control>
class ControlTable {
public:
    std::shared_ptr<Control> find(HWND window) const {
        const auto found = objects_.find(window);
        return found == objects_.end() ? nullptr : found->second;
    }

    LRESULT dispatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE) {
            try {
                objects_[window] = std::make_shared<Control>(window, *reinterpret_cast<const CREATESTRUCTA*>(lParam));
            } catch (const std::bad_alloc&) {
                return FALSE;
            }
            return DefWindowProcA(window, message, wParam, lParam);
        }
        const std::shared_ptr<Control> control = find(window);
        if (message == WM_NCDESTROY) objects_.erase(window);
        if (control) {
            if (const std::optional<LRESULT> answer = control->handle(message, wParam, lParam)) return *answer;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }

private:
    std::unordered_map<HWND, std::shared_ptr<Control>> objects_;
};

}  // namespace winplat::controls

#endif
