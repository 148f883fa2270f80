// Pages for the document view's tests: page records the independent document writer builds from
// JSON descriptions, and a view in an LCNDOCUMENT window of the headless desktop, laid out and
// painted with the synthetic test face (a 15-point letter 10 pixels wide, a space 5, lines 24
// pixels high).
#ifndef LECT32_TESTS_DOCUMENT_VIEW_SUPPORT_H
#define LECT32_TESTS_DOCUMENT_VIEW_SUPPORT_H

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "page/document_view.h"
#include "page/table_object_row.h"
#include "page_test_support.h"
#include "support/tool_runner.h"
#include "text/colour_table.h"
#include "text/font_cache.h"
#include "text/font_faces.h"
#include "text/style_sheet.h"
#include "winplat/gdi.h"
#include "winplat/testing.h"
#include "winplat/user.h"
#include "winplat_harness/harness.h"

namespace document_view_test {

using page_test::Bytes;

// The writer's 'page' command over one description; empty when the writer failed.
inline Bytes writtenPage(const std::string& description) {
    const auto folder = std::filesystem::temp_directory_path() /
                        ("lect32_document_view_" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "page.json") << description;
    Bytes page;
    if (tool_runner::run(page_test::writer() + " page " + tool_runner::quoted(folder / "page.json") + " " +
                         tool_runner::quoted(folder / "page.bin")))
        page = vazazi_test::fileBytes(folder / "page.bin");
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    return page;
}

// A row description in the writer's terms: 15-point black text on white, of single spacing, with more format
// parts when given ("\"border\": [...]" and so on).
inline std::string row(const std::string& text, const std::string& moreFormat = "", const std::string& more = "") {
    std::string format = "\"char\": {\"font\": 0, \"size\": 15, \"weight\": 3, \"flags\": 0}, \"line\": -100, \"colours\": [0, 1]";
    if (!moreFormat.empty()) format += ", " + moreFormat;
    return "{\"text\": \"" + text + "\", \"format\": {" + format + "}" + (more.empty() ? "" : ", " + more) + "}";
}

inline std::string pageOf(const std::vector<std::string>& rows, const std::string& objects = "[]") {
    std::string out = "{\"rows\": [";
    for (size_t i = 0; i < rows.size(); ++i) out += (i ? ", " : "") + rows[i];
    return out + "], \"objects\": " + objects + "}";
}

// A view with its window on the headless desktop: 200 x 150 pixels, page width following the
// window, margins of 10, white page.
class WindowedView : public ::testing::Test {
protected:
    static constexpr int kWidth = 200;
    static constexpr int kHeight = 150;
    static constexpr int kLine = 24;

    void SetUp() override {
        page_test::UseTestText();
        auto& markers = lect32::GetDocumentFonts().markers;
        markers.Clear();
        markers.Append("Wingdings", lect32::kCharsetSymbol);
        colours_.SetAll(std::vector<lect32::Rgb>{{0, 0, 0}, {255, 255, 255}, {255, 0, 0}, {0, 0, 255}, {0, 160, 0}, {200, 200, 200}});
        ASSERT_TRUE(lect32::RegisterDocumentWindowClass());
        parent_ = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, kWidth + 40, kHeight + 40, nullptr, nullptr,
                                  nullptr, nullptr);
        window_ = CreateWindowExA(0, "LCNDOCUMENT", "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, kWidth, kHeight,
                                  parent_, nullptr, nullptr, nullptr);
        ASSERT_NE(window_, nullptr);
        SetWindowLongPtrA(window_, lect32::DocumentView::kViewWord, reinterpret_cast<LONG_PTR>(&view_));
        view_.SetWindow(window_);
        style_.widthMode = 0;
        style_.margins = lect32::ShortRect{10, 10, 10, 10};
        style_.backgroundColour = 1;
        view_.SetPageStyle(style_);
        view_.OnSize(kWidth, kHeight);
    }
    void TearDown() override {
        if (window_) SetWindowLongPtrA(window_, lect32::DocumentView::kViewWord, 0);
        DestroyWindow(parent_);
        lect32::GetTextFormatter().ReleaseFonts();
        lect32::GetTextFontCache().Clear();
        lect32::GetDocumentFonts().main.Clear();
        lect32::GetDocumentFonts().markers.Clear();
    }
    // Loads the described page (the test is skipped without the writer) and paints it whole.
    bool Show(const std::string& description) {
        if (!page_test::pythonRuns()) return false;
        const Bytes page = writtenPage(description);
        if (page.empty()) {
            ADD_FAILURE() << "the writer made no page of " << description;
            return false;
        }
        winplat::ByteReader in(page);
        if (!view_.LoadPage(in)) {
            ADD_FAILURE() << "the page did not load";
            return false;
        }
        view_.SetPageStyle(style_);
        RepaintAll();
        return true;
    }
    void RepaintAll() {
        InvalidateRect(window_, nullptr, FALSE);
        UpdateWindow(window_);
    }
    winplat::test::Image Client() const { return harness_.windowImage(window_, true); }

    winplat::test::Harness harness_{{.width = 320, .height = 240, .goldenFolder = PAGE_GOLDEN_DIR, .diffFolder = "", .startMs = 1000}};
    winplat::testing::ScopedFontSource face_{winplat::testing::FontSource::Test};
    lect32::StyleSheet styles_;
    lect32::ColourTable colours_;
    lect32::PageStyle style_;
    page_test::TestPage page_;
    lect32::DocumentView view_{page_.services(), lect32::ViewServices{&styles_, &colours_, lect32::TableObjectReader(&colours_)}};
    HWND parent_ = nullptr;
    HWND window_ = nullptr;
};

#define REQUIRE_PAGE(description)                                                             \
    do {                                                                                      \
        if (!::page_test::pythonRuns()) GTEST_SKIP() << "python3 is missing: no document writer"; \
        ASSERT_TRUE(Show(description));                                                       \
    } while (0)

}  // namespace document_view_test

#endif
