// What the list and combo box tests share: a harness desktop (test face, virtual clock), a parent
// window that records the WM_COMMAND notifications, WM_MEASUREITEM, WM_DRAWITEM and WM_COMPAREITEM it
// gets and answers them as a test asks (items compare by their values), and helpers to make controls and read their items.
#ifndef TESTS_PLATFORM_CONTROLS_LIST_FIXTURE_H
#define TESTS_PLATFORM_CONTROLS_LIST_FIXTURE_H

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "winplat/controls.h"
#include "winplat_harness/harness.h"

namespace list_test {

// The line of the control font in the test face: "MS Sans Serif" 8 points is an 11-pixel em,
// ascent 900 * 11 / 1000 = 10 and descent 300 * 11 / 1000 = 3 pixels.
constexpr int kLineHeight = 13;

struct Command {
    WORD id;
    WORD code;
    HWND control;
    bool operator==(const Command&) const = default;
};

struct ParentLog {
    std::vector<Command> commands;
    std::vector<MEASUREITEMSTRUCT> measures;
    std::vector<DRAWITEMSTRUCT> draws;
    std::vector<COMPAREITEMSTRUCT> compares;
    std::vector<HWND> colourAsks;  // the control of each WM_CTLCOLORLISTBOX
    // The height WM_MEASUREITEM answers for an item (0: leave the one offered).
    std::function<UINT(const MEASUREITEMSTRUCT&)> height;
    HBRUSH listBrush = nullptr;    // what WM_CTLCOLORLISTBOX answers
    std::vector<WPARAM> keysAsked;  // wParam of each WM_VKEYTOITEM and WM_CHARTOITEM
    // The answer to WM_VKEYTOITEM and WM_CHARTOITEM (none: -1, the list's own handling).
    std::function<LRESULT(UINT message, WORD key)> keyAnswer;
    void clear() { *this = ParentLog{}; }
};

ParentLog& parentLog();

class ListTest : public ::testing::Test {
protected:
    static winplat::test::Harness::Options options() {
        winplat::test::Harness::Options o;
        o.width = 320;
        o.height = 240;
        // Beside the window tests' goldens: tests/platform/controls/golden.
        o.goldenFolder = (std::filesystem::path(WINPLAT_GOLDEN_DIR).parent_path().parent_path() / "controls" / "golden").string();
        return o;
    }

    void SetUp() override;
    void TearDown() override { parentLog().clear(); }

    // A control of the class as a child of the parent, which fills the screen from (0, 0) with
    // no frame: client coordinates of the parent are screen coordinates.
    HWND make(const char* className, DWORD style, int x, int y, int width, int height, UINT id = 100) const;
    HWND makeList(DWORD style, int x, int y, int width, int height, UINT id = 100) const {
        return make("LISTBOX", style, x, y, width, height, id);
    }

    static LRESULT send(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        return SendMessageA(window, message, wParam, lParam);
    }
    static LRESULT add(HWND list, const char* text) { return send(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)); }
    static std::string textAt(HWND list, int index, UINT getText = LB_GETTEXT, UINT getLength = LB_GETTEXTLEN);
    static std::vector<std::string> texts(HWND list);
    // The notification codes the parent got from one control, in order.
    static std::vector<WORD> codesFrom(HWND control);
    // The screen point of a client point of a window.
    static POINT onScreen(HWND window, int x, int y);

    winplat::test::Harness h{options()};
    HWND parent = nullptr;
};

}  // namespace list_test

#endif
