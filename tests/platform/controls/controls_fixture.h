// What the scroll bar, trackbar and up-down tests share beside control_parent.h: a plain parent
// window at the screen's top-left (client coordinates are screen coordinates) whose messages are
// logged, and readers of the scroll messages it was told.
#ifndef TESTS_PLATFORM_CONTROLS_CONTROLS_FIXTURE_H
#define TESTS_PLATFORM_CONTROLS_CONTROLS_FIXTURE_H

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "control_parent.h"
#include "winplat/controls.h"
#include "winplat/testing.h"
#include "winplat_harness/harness.h"

namespace controls_test {

using winplat::test::Harness;

using control_test::smallScreen;

// A borderless 300 x 200 parent at (0, 0), logged from its creation on.
inline HWND makeParent(Harness& h) {
    WNDCLASSA parentClass{};
    parentClass.lpfnWndProc = DefWindowProcA;
    parentClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    parentClass.lpszClassName = "ControlParent";
    RegisterClassA(&parentClass);
    HWND parent = CreateWindowExA(0, "ControlParent", "", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 300,
                                  200, nullptr, nullptr, nullptr, nullptr);
    h.logMessages(parent);
    return parent;
}

inline HWND makeChild(HWND parent, const char* className, DWORD style, int x, int y, int width, int height,
                      UINT id = 100, const char* text = "") {
    return control_test::makeControl(parent, className, text, style, x, y, width, height, static_cast<int>(id));
}

// The parent's WM_HSCROLL/WM_VSCROLL from one control: "code pos" each, the position only for the
// codes that carry one (thumb codes; all of them when 'withPos').
inline std::vector<std::string> scrollsFrom(const Harness& h, HWND parent, HWND control,
                                            bool withPos = false) {
    std::vector<std::string> out;
    for (const auto& m : h.messages(parent)) {
        if ((m.message != WM_HSCROLL && m.message != WM_VSCROLL) ||
            reinterpret_cast<HWND>(m.lParam) != control) {
            continue;
        }
        const WORD code = LOWORD(m.wParam);
        const bool thumb = code == SB_THUMBTRACK || code == SB_THUMBPOSITION;
        out.push_back(std::to_string(code) +
                      (thumb || withPos ? " " + std::to_string(static_cast<short>(HIWORD(m.wParam))) : ""));
    }
    return out;
}

// A press at one point, a move to another and the release, queued together and then pumped
// (the press's tracking loop takes the rest).
inline void dragNow(Harness& h, POINT from, POINT to) {
    using winplat::host::MouseButton;
    winplat::testing::mouseMove(from.x, from.y);
    winplat::testing::mouseButton(MouseButton::Left, true);
    winplat::testing::mouseMove(to.x, to.y);
    winplat::testing::mouseButton(MouseButton::Left, false);
    h.pump();
}

}  // namespace controls_test

#endif
