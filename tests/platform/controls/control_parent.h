// What the control tests share: a harness on a small screen with goldens from this folder, and a
// parent window that records the notifications its controls send and may answer owner drawing.
#ifndef TESTS_PLATFORM_CONTROLS_CONTROL_PARENT_H
#define TESTS_PLATFORM_CONTROLS_CONTROL_PARENT_H

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "winplat/controls.h"
#include "winplat_harness/harness.h"

namespace control_test {


struct Notification {
    WORD id;
    WORD code;
    bool operator==(const Notification&) const = default;
};

// The notifications and owner-draw requests the parent got, and what it answers.
struct ParentRecord {
    std::vector<Notification> commands;
    std::vector<DRAWITEMSTRUCT> drawn;
    std::function<LRESULT(UINT message, WPARAM, LPARAM)> colours;  // WM_CTLCOLOR* answer; none: default
};

inline ParentRecord& parentRecord() {
    static ParentRecord record;
    return record;
}

namespace detail {

constexpr const char* kParentClass = "ControlTestParent";

inline std::string windowTextOf(HWND window) {
    char text[256] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

inline LRESULT CALLBACK parentProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    ParentRecord& record = parentRecord();
    switch (message) {
        case WM_COMMAND: record.commands.push_back({LOWORD(wParam), HIWORD(wParam)}); return 0;
        case WM_DRAWITEM: record.drawn.push_back(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)); return TRUE;
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORSTATIC:
            if (record.colours) return record.colours(message, wParam, lParam);
            return DefWindowProcA(window, message, wParam, lParam);
        default: return DefWindowProcA(window, message, wParam, lParam);
    }
}

}  // namespace detail

// 320 x 240, goldens in tests/platform/controls/golden.
inline winplat::test::Harness::Options smallScreen() {
    winplat::test::Harness::Options options;
    options.width = 320;
    options.height = 240;
    // Beside the user tests' goldens, whose folder the build names with its full path.
    options.goldenFolder = (std::filesystem::path(WINPLAT_GOLDEN_DIR).parent_path().parent_path() / "controls" / "golden").string();
    return options;
}

// A visible pop-up of that size at (20, 20) on the screen, without a frame.
inline HWND makeParent(int width, int height) {
    parentRecord() = ParentRecord{};
    WNDCLASSA parent{};
    parent.lpfnWndProc = detail::parentProcedure;
    parent.lpszClassName = detail::kParentClass;
    parent.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_3DFACE + 1);
    RegisterClassA(&parent);
    return CreateWindowExA(0, detail::kParentClass, "", WS_POPUP | WS_VISIBLE, 20, 20, width, height, nullptr, nullptr,
                           nullptr, nullptr);
}

// A visible child control of the parent.
inline HWND makeControl(HWND parent, const char* className, const char* text, DWORD style, int x, int y,
                        int width, int height, int id) {
    return CreateWindowExA(0, className, text, WS_CHILD | WS_VISIBLE | style, x, y, width, height, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
}

}  // namespace control_test

#endif
