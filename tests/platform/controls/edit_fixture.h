// What the EDIT window tests share: a harness desktop, a parent window whose messages are logged,
// the test face at 20 pixels to the em (advances: 10 for most letters, 5 for blanks and 'i l j
// I . , ; : ! ' |', 15 for 'm w M W @ %'; lines 24 high), and helpers to read an edit's state,
// its notifications and the clipboard.
#ifndef TESTS_PLATFORM_CONTROLS_EDIT_FIXTURE_H
#define TESTS_PLATFORM_CONTROLS_EDIT_FIXTURE_H

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "winplat/clipboard.h"
#include "winplat/controls.h"
#include "winplat/memory.h"
#include "winplat/owners.h"
#include "winplat/text.h"
#include "winplat_harness/harness.h"

namespace edit_test {

constexpr int kEditId = 101;
constexpr int kLineHeight = 24;

inline LRESULT CALLBACK parentProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

inline winplat::test::Harness::Options harnessOptions() {
    winplat::test::Harness::Options options;
    options.width = 640;
    options.height = 480;
    // Beside the window tests' goldens (whose folder the build names): controls/golden.
    options.goldenFolder =
        (std::filesystem::path(WINPLAT_GOLDEN_DIR).parent_path().parent_path() / "controls" / "golden").string();
    return options;
}

class EditTest : public ::testing::Test {
protected:
    EditTest() : h_(harnessOptions()) {
        WNDCLASSA plain{};
        plain.lpfnWndProc = parentProcedure;
        plain.lpszClassName = "EditTestParent";
        plain.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        RegisterClassA(&plain);
        parent_ = CreateWindowExA(0, "EditTestParent", "", WS_POPUP | WS_VISIBLE, 0, 0, 640, 480, nullptr, nullptr,
                                  nullptr, nullptr);
        font_.reset(CreateFontA(-20, 0, 0, 0, FW_NORMAL, 0, 0, 0, EASTEUROPE_CHARSET, 0, 0, 0, 0, "MS Sans Serif"));
        h_.logMessages(parent_);
        winplat::testing::resetClipboard();
    }
    ~EditTest() override { winplat::testing::resetClipboard(); }

    // An edit at (x, y) of the parent's client area (the screen's, since the parent fills it).
    HWND makeEdit(DWORD style, int x, int y, int width, int height, const char* text = "", DWORD exStyle = 0) {
        HWND edit = CreateWindowExA(exStyle, "EDIT", text, WS_CHILD | WS_VISIBLE | style, x, y, width, height, parent_,
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(kEditId)), nullptr, nullptr);
        EXPECT_NE(edit, nullptr);
        SendMessageA(edit, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), TRUE);
        h_.pump();
        return edit;
    }

    static std::string text(HWND edit) {
        std::string out(static_cast<size_t>(GetWindowTextLengthA(edit)) + 1, '\0');
        out.resize(static_cast<size_t>(GetWindowTextA(edit, out.data(), static_cast<int>(out.size()))));
        return out;
    }

    static std::pair<DWORD, DWORD> selection(HWND edit) {
        DWORD start = 0;
        DWORD end = 0;
        SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        return {start, end};
    }

    static LRESULT send(HWND edit, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        return SendMessageA(edit, message, wParam, lParam);
    }

    // The notification codes the parent got from the edit since the log was last cleared.
    std::vector<WORD> notifications() const {
        std::vector<WORD> codes;
        for (const auto& m : h_.messages(parent_)) {
            if (m.message == WM_COMMAND && LOWORD(m.wParam) == kEditId) codes.push_back(HIWORD(m.wParam));
        }
        return codes;
    }

    static void setClipboard(const std::string& text) {
        winplat::GlobalBlock block(GlobalAlloc(GMEM_MOVEABLE, text.size() + 1));
        ASSERT_TRUE(block);
        {
            winplat::GlobalPin pin(block.get());
            std::memcpy(pin.data(), text.c_str(), text.size() + 1);
        }
        winplat::OpenedClipboard opened(nullptr);
        ASSERT_TRUE(opened);
        EmptyClipboard();
        ASSERT_TRUE(SetClipboardData(CF_TEXT, block.get()));
        (void)block.release();
    }

    // The clipboard's text; "<none>" when it holds none.
    static std::string clipboard() {
        winplat::OpenedClipboard opened(nullptr);
        if (!opened) return "<open elsewhere>";
        HANDLE data = GetClipboardData(CF_TEXT);
        if (!data) return "<none>";
        winplat::GlobalPin pin(static_cast<HGLOBAL>(data));
        return pin.as<const char>();
    }

    winplat::test::Harness h_;
    HWND parent_ = nullptr;
    winplat::GdiObject<HFONT> font_;
};

}  // namespace edit_test

#endif
