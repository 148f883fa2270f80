// A page window on the headless desktop for the input tests: pages from a host that hands out
// their parts, a reader around the view that answers its questions, and a recording navigation
// window.
#ifndef LECT32_TESTS_PAGE_WINDOW_SUPPORT_H
#define LECT32_TESTS_PAGE_WINDOW_SUPPORT_H

#include <algorithm>
#include <array>
#include <optional>
#include <span>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "page/page_window.h"
#include "page_test_support.h"
#include "store/link_target.h"
#include "store/navigation_requests.h"
#include "text/colour_table.h"
#include "text/font_cache.h"
#include "text/font_faces.h"
#include "text/style_sheet.h"
#include "text/text_formatter.h"
#include "winplat/clipboard.h"
#include "winplat/memory.h"
#include "winplat/testing.h"
#include "winplat/user.h"
#include "winplat_harness/harness.h"

namespace page_window_test {

using Bytes = std::vector<uint8_t>;

inline void Word(Bytes& out, int value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

inline Bytes Text(const std::string& s) { return Bytes(s.begin(), s.end()); }

// A link of the kind around 'text', framed as page text stores it.
inline Bytes Linked(const lect32::LinkTarget& target, const std::string& text) {
    std::array<uint8_t, lect32::LinkTarget::kMaxEncoded> frame{};
    const size_t length = target.Encode(frame, true);
    Bytes out(frame.begin(), frame.begin() + static_cast<std::ptrdiff_t>(length));
    for (const char c : text) out.push_back(static_cast<uint8_t>(c));
    out.insert(out.end(), {21, 21});
    return out;
}

inline lect32::LinkTarget Target(uint8_t kind, uint16_t a = 0, uint16_t b = 0, uint8_t document = 0, uint32_t d = 0) {
    lect32::LinkTarget target;
    target.kind = kind;
    target.a = a;
    target.b = b;
    target.document = document;
    target.d = d;
    return target;
}

struct Row {
    Bytes text;
    uint16_t anchor = 0;  // index mark number, 0: none
};

// Rows in style 0 and no objects, as a page record holds them.
inline Bytes Content(const std::vector<Row>& rows) {
    Bytes out;
    Word(out, 0);
    Word(out, static_cast<int>(rows.size()));
    for (const Row& row : rows) {
        Word(out, row.anchor ? 9 : 7);
        out.insert(out.end(), 5, 0);
        Word(out, row.anchor ? 1 : 0);
        if (row.anchor) Word(out, row.anchor);
        Word(out, 0);
        Word(out, static_cast<int>(row.text.size()));
        out.insert(out.end(), row.text.begin(), row.text.end());
    }
    out.push_back(0);
    out.push_back(5);  // object list version
    Word(out, 0);
    return out;
}

struct FakeHost : lect32::PageWindowHost {
    std::map<int16_t, lect32::PageContent> pages;
    lect32::PageStyle defaults;
    HWND main = nullptr;
    bool copyAllowed = true;
    std::vector<uint8_t> activated;
    std::vector<lect32::PageWindow*> created, destroyed;

    bool ReadPage(int16_t page, uint8_t, lect32::PageContent& out) override {
        const auto found = pages.find(page);
        if (found == pages.end()) return false;
        out = found->second;
        return true;
    }
    lect32::PageStyle DefaultStyle(uint8_t) override { return defaults; }
    uint8_t ResolveMember(uint8_t document, uint8_t) override { return document; }
    HWND MainWindow() override { return main; }
    bool CopyAllowed(uint8_t) override { return copyAllowed; }
    void ActivateDocument(uint8_t document) override { activated.push_back(document); }
    void PageWindowCreated(lect32::PageWindow& window) override { created.push_back(&window); }
    void PageWindowDestroyed(lect32::PageWindow& window) override { destroyed.push_back(&window); }
};

struct FakeReader : lect32::RichTextHost {
    bool popupOpen = false;
    uint8_t popupMember = 0;
    uint8_t options = 0;
    size_t members = 1;
    std::map<std::pair<uint8_t, int16_t>, std::string> names;
    int historyBacks = 0;

    bool PopupOpen() const override { return popupOpen; }
    uint8_t TopPopupMember() const override { return popupMember; }
    uint8_t ViewOptions() const override { return options; }
    size_t MemberCount() const override { return members; }
    std::string PageName(uint8_t document, int16_t page) const override {
        const auto found = names.find({document, page});
        return found == names.end() ? std::string{} : found->second;
    }
    void HistoryBack() override { ++historyBacks; }
};

// The CF_TEXT text on the clipboard.
inline std::string ClipboardText() {
    if (!OpenClipboard(nullptr)) return "<not open>";
    std::string text;
    if (auto data = static_cast<HGLOBAL>(GetClipboardData(CF_TEXT))) {
        text = static_cast<const char*>(GlobalLock(data));
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

// A point of a window as mouse messages carry it.
inline LPARAM At(int x, int y) { return static_cast<LPARAM>((static_cast<uint32_t>(y & 0xFFFF) << 16) | (x & 0xFFFF)); }

// Plain matching of each word's bytes, enough to place marks.
inline lect32::ViewWordFinder Finder(std::vector<std::string> words) {
    return [words](size_t word, std::span<const uint8_t> text, size_t from, bool) -> std::optional<lect32::FoundRange> {
        const std::string& w = words[word];
        if (from > text.size()) return std::nullopt;
        const auto at = std::search(text.begin() + static_cast<std::ptrdiff_t>(from), text.end(), w.begin(), w.end());
        if (at == text.end()) return std::nullopt;
        const auto start = static_cast<uint16_t>(at - text.begin());
        return lect32::FoundRange{start, static_cast<uint16_t>(start + w.size())};
    };
}

using Request = std::tuple<UINT, WPARAM, LPARAM>;

// What the navigation window received; an address (7007) is kept with its text.
inline std::vector<Request> requests;
inline std::vector<std::string> addresses;
inline std::vector<WPARAM> mainCommands;

inline LRESULT CALLBACK RecordingNavigation(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message >= 7000 && message < 7100) {
        if (message == 7007) {
            addresses.emplace_back(reinterpret_cast<const char*>(lParam));
            lParam = 0;
        }
        requests.emplace_back(message, wParam, lParam);
        return 1;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

inline LRESULT CALLBACK RecordingMain(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND) mainCommands.push_back(wParam);
    return DefWindowProcA(window, message, wParam, lParam);
}

class PageWindowFixture : public ::testing::Test {
protected:
    void SetUp() override {
        page_test::UseTestText();
        colours_.SetAll(std::vector<lect32::Rgb>{{0, 0, 0}, {255, 255, 255}});
        requests.clear();
        addresses.clear();
        mainCommands.clear();
        WNDCLASSA wc{};
        wc.lpfnWndProc = RecordingMain;
        wc.lpszClassName = "INPUTTESTMAIN";
        RegisterClassA(&wc);
        wc.lpfnWndProc = RecordingNavigation;
        wc.lpszClassName = "VOZADERAZ";
        RegisterClassA(&wc);
        host_.main = CreateWindowExA(0, "INPUTTESTMAIN", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        navigation_ = CreateWindowExA(0, "VOZADERAZ", "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
        lect32::SetNavigationWindow(navigation_);
        lect32::RichTextObject::ProgramLinkStep() = lect32::LinkStep{};
        ASSERT_TRUE(lect32::RegisterPageWindowClass());
    }
    void TearDown() override {
        if (window_) DestroyWindow(window_);
        lect32::SetNavigationWindow(nullptr);
        DestroyWindow(navigation_);
        DestroyWindow(host_.main);
        lect32::GetTextFormatter().ReleaseFonts();
        lect32::GetTextFontCache().Clear();
        lect32::GetDocumentFonts().main.Clear();
    }
    lect32::PageWindow& Open(int width = 300, int height = 200) {
        params_ = lect32::PageWindowParams{&host_, page_.services(), lect32::ViewServices{&styles_, &colours_, {}},
                                           lect32::BannerServices{&styles_, &colours_}, &reader_};
        window_ = CreateWindowExA(0, "LCNPAGE", "", WS_POPUP | WS_VISIBLE, 0, 0, width, height, nullptr, nullptr,
                                  nullptr, &params_);
        EXPECT_NE(window_, nullptr);
        auto& page = *reinterpret_cast<lect32::PageWindow*>(GetWindowLongPtrA(window_, lect32::PageWindow::kWindowWord));
        page.OnSize(width, height);
        return page;
    }
    // Shows the page's rows and lays them out.
    lect32::PageWindow& Show(const std::vector<Row>& rows, const std::string& name = "Strana") {
        host_.pages[1] = lect32::PageContent{name, lect32::PageStyle{}, Content(rows)};
        lect32::PageWindow& page = window_ ? *reinterpret_cast<lect32::PageWindow*>(GetWindowLongPtrA(window_, 0)) : Open();
        EXPECT_TRUE(page.ShowPage(1, 0));
        page.View().Layout(nullptr);
        return page;
    }

    winplat::test::Harness harness_{{.width = 320, .height = 240, .goldenFolder = "", .diffFolder = "", .startMs = 1000}};
    winplat::testing::ScopedFontSource face_{winplat::testing::FontSource::Test};
    lect32::StyleSheet styles_;
    lect32::ColourTable colours_;
    page_test::TestPage page_;
    FakeHost host_;
    FakeReader reader_;
    lect32::PageWindowParams params_;
    HWND window_ = nullptr;
    HWND navigation_ = nullptr;
};

}  // namespace page_window_test

#endif
