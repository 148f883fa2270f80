// The hidden navigation window of the headless desktop: the page requests arrive as the message
// numbers and words every sender relies on, and reach the navigation sink decoded.
#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <vector>

#include "shell/navigation_window.h"
#include "store/navigation_requests.h"
#include "winplat/module.h"
#include "winplat/testing.h"
#include "winplat_harness/harness.h"

namespace {

struct Request {
    UINT message;
    int16_t target;
    uint8_t member;
    uint16_t mark;
    bool operator==(const Request&) const = default;
    friend void PrintTo(const Request& r, std::ostream* out) {
        *out << r.message << " " << r.target << " " << int{r.member} << " " << r.mark;
    }
};

class RecordingSink : public lect32::NavigationSink {
public:
    void GoToPage(int16_t page) override { requests.push_back({lect32::kGoToPageMessage, page, 0, 0}); }
    void GoToTreeItem(int16_t item) override { requests.push_back({lect32::kGoToTreeItemMessage, item, 0, 0}); }
    void GoToPagePosition(int16_t page, uint8_t member, uint16_t mark) override {
        requests.push_back({lect32::kGoToPagePositionMessage, page, member, mark});
    }
    void OpenPopupPage(int16_t page, uint8_t member, uint16_t mark) override {
        requests.push_back({lect32::kOpenPopupPageMessage, page, member, mark});
    }
    std::vector<Request> requests;
};

class NavigationWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        lect32::SetNavigationSink(&sink_);
        window_ = lect32::CreateNavigationWindow(GetModuleHandleA(nullptr));
        ASSERT_NE(window_, nullptr);
        harness_.logMessages(window_);
    }

    void TearDown() override {
        if (IsWindow(window_)) DestroyWindow(window_);
        lect32::SetNavigationSink(nullptr);
    }

    // The page requests the window received, as sent.
    std::vector<winplat::test::LoggedMessage> received() const {
        std::vector<winplat::test::LoggedMessage> requests;
        for (const auto& logged : harness_.messages(window_)) {
            if (logged.message >= lect32::kGoToPageMessage && logged.message <= lect32::kOpenPopupPageMessage) {
                requests.push_back(logged);
            }
        }
        return requests;
    }

    winplat::test::Harness harness_;
    RecordingSink sink_;
    HWND window_ = nullptr;
};

TEST_F(NavigationWindowTest, IsAHiddenTopLevelWindowOfItsOwnClass) {
    EXPECT_EQ(harness_.findWindow(lect32::kNavigationWindowClass, nullptr), window_);
    EXPECT_EQ(lect32::GetNavigationWindow(), window_);
    EXPECT_FALSE(IsWindowVisible(window_));
    EXPECT_EQ(GetParent(window_), nullptr);
    RECT rect{};
    GetWindowRect(window_, &rect);
    EXPECT_EQ(rect.right - rect.left, 0);
    EXPECT_EQ(rect.bottom - rect.top, 0);
}

TEST_F(NavigationWindowTest, PageRequestsCarryTheirNumbersAndWords) {
    struct Case {
        const char* what;
        void (*send)();
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        Request decoded;
    };
    const Case cases[] = {
        {"a page", [] { lect32::SendGoToPage(300, false); }, 7001, 300, 0, {7001, 300, 0, 0}},
        // The id is signed: -1 arrives as -1 over the whole word, not as 0xFFFF.
        {"the contents page", [] { lect32::SendGoToPage(-1, true); }, 7002, static_cast<WPARAM>(-1), 0,
         {7002, -1, 0, 0}},
        {"a page at a mark", [] { lect32::SendGoToPagePosition(12, 3, 7, false); }, 7008, 12, 0x00070003,
         {7008, 12, 3, 7}},
        // Only the low byte of the document index travels: 0x1FF is sent as 0xFF (the current member).
        {"a document index past a byte", [] { lect32::SendGoToPagePosition(-2, 0x1FF, 0xFFFF, true); }, 7009,
         static_cast<WPARAM>(-2), static_cast<LPARAM>(0xFFFF00FFu), {7009, -2, 0xFF, 0xFFFF}},
    };
    for (const Case& c : cases) {
        harness_.clearLog();
        sink_.requests.clear();
        c.send();
        const auto messages = received();
        ASSERT_EQ(messages.size(), 1u) << c.what;
        EXPECT_EQ(messages[0].message, c.message) << c.what;
        EXPECT_EQ(messages[0].wParam, c.wParam) << c.what;
        EXPECT_EQ(messages[0].lParam, c.lParam) << c.what;
        ASSERT_EQ(sink_.requests.size(), 1u) << c.what;
        EXPECT_EQ(sink_.requests[0], c.decoded) << c.what;
    }
}

TEST_F(NavigationWindowTest, WithoutASinkARequestIsAnsweredAndDropped) {
    lect32::SetNavigationSink(nullptr);
    winplat::testing::DebugCapture debug;
    EXPECT_EQ(lect32::SendGoToPage(4, false), 0);
    EXPECT_EQ(received().size(), 1u);
    EXPECT_TRUE(debug.contains("no navigation takes the request"));
}

TEST_F(NavigationWindowTest, OnceDestroyedTheWindowIsNoLongerTheTarget) {
    DestroyWindow(window_);
    EXPECT_EQ(lect32::GetNavigationWindow(), nullptr);
    winplat::testing::DebugCapture debug;
    EXPECT_EQ(lect32::SendGoToPage(4, false), 0);
    EXPECT_EQ(lect32::SendGoToPagePosition(4, 0, 0, true), 0);
    EXPECT_TRUE(sink_.requests.empty());
    EXPECT_TRUE(debug.contains("there is no navigation window"));
}

TEST_F(NavigationWindowTest, ASecondWindowReusesTheClass) {
    const HWND second = lect32::CreateNavigationWindow(GetModuleHandleA(nullptr));
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(lect32::GetNavigationWindow(), second);
    lect32::SendGoToPage(9, false);
    EXPECT_TRUE(received().empty());
    ASSERT_EQ(sink_.requests.size(), 1u);
    EXPECT_EQ(sink_.requests[0].target, 9);
    DestroyWindow(second);
}

TEST(PagePositionPackingTest, TheMarkTakesTheHighWordAndTheMemberTheLowByte) {
    EXPECT_EQ(lect32::PackPagePosition(0x1FF, 0), 0xFF);
    EXPECT_EQ(lect32::PackPagePosition(0x100, 1), 0x10000);
    EXPECT_EQ(lect32::PackPagePosition(5, 0x8000), static_cast<LPARAM>(0x80000005u));
}

}  // namespace
