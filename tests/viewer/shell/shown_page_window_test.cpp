// The current page window answers for "the document on screen".
#include "shell/shown_page_window.h"

#include <gtest/gtest.h>

#include "shell/current_document.h"

namespace {

// Rows of one empty row and no objects, as a page record holds them.
std::vector<uint8_t> OneRow() { return {0, 0, 1, 0, 7, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 5, 0, 0}; }

struct Host : lect32::PageWindowHost {
    bool ReadPage(int16_t, uint8_t, lect32::PageContent& out) override {
        out = lect32::PageContent{"P", lect32::PageStyle{}, OneRow()};
        return true;
    }
    lect32::PageStyle DefaultStyle(uint8_t) override { return {}; }
    uint8_t ResolveMember(uint8_t document, uint8_t) override { return document; }
    HWND MainWindow() override { return nullptr; }
};

TEST(ShownPageWindowTest, TheCurrentPageWindowsMemberIsTheShownDocument) {
    Host host;
    lect32::PageWindowParams params;
    params.host = &host;
    lect32::PageWindow first(params), second(params);
    ASSERT_TRUE(first.ShowPage(1, 3));
    ASSERT_TRUE(second.ShowPage(1, 5));
    EXPECT_EQ(lect32::GetCurrentDocumentIndex(), 0) << "no page window yet";
    lect32::SetShownPageWindow(&first);
    EXPECT_EQ(lect32::GetCurrentDocumentIndex(), 3);
    ASSERT_TRUE(first.ShowPage(1, 4));
    EXPECT_EQ(lect32::GetCurrentDocumentIndex(), 4) << "it follows the page shown";
    lect32::SetShownPageWindow(&second);
    lect32::ForgetShownPageWindow(first);
    EXPECT_EQ(lect32::GetCurrentDocumentIndex(), 5) << "another window going changes nothing";
    lect32::ForgetShownPageWindow(second);
    EXPECT_EQ(lect32::GetCurrentDocumentIndex(), 0);
}

}  // namespace
