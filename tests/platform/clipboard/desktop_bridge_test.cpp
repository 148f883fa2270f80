// The clipboard shared with the desktop, driven through a double of the desktop: our text goes out
// when a change is closed, the desktop's newer text comes in when a program looks, and the owner,
// WM_DESTROYCLIPBOARD and the sequence number follow as they would for another program's copy.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "../user/window_fixture.h"
#include "desktop_double.h"
#include "winplat/clipboard.h"
#include "winplat/host.h"
#include "winplat/memory.h"
#include "winplat/testing.h"

namespace {

using namespace std::string_literals;
using clipboard_test::DesktopDouble;
using winplat::testing::liveGlobalBlocks;

HGLOBAL blockWith(const std::string& bytes) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    std::memcpy(GlobalLock(block), bytes.data(), bytes.size());
    GlobalUnlock(block);
    return block;
}

std::string contents(HANDLE data) {
    auto block = static_cast<HGLOBAL>(data);
    if (!block) return "(none)";
    const auto* bytes = static_cast<const char*>(GlobalLock(block));
    std::string text(bytes, GlobalSize(block));
    GlobalUnlock(block);
    return text;
}

const std::string kCzechLocale = "\x05\x04\x00\x00"s;

class DesktopBridge : public window_test::WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        winplat::testing::resetClipboard();
        blocksBefore_ = liveGlobalBlocks();
    }
    void TearDown() override {
        winplat::testing::resetClipboard();
        EXPECT_EQ(liveGlobalBlocks(), blocksBefore_) << "the clipboard frees what it owns";
        WindowTest::TearDown();
    }

    // What a program does to copy text: open, empty, set, close.
    static void copy(HWND owner, const std::string& text, const std::string* locale = nullptr) {
        ASSERT_TRUE(OpenClipboard(owner));
        ASSERT_TRUE(EmptyClipboard());
        ASSERT_TRUE(SetClipboardData(CF_TEXT, blockWith(text + '\0')));
        if (locale) {
            ASSERT_TRUE(SetClipboardData(CF_LOCALE, blockWith(*locale)));
        }
        ASSERT_TRUE(CloseClipboard());
    }

    // What a program pastes: CF_TEXT and CF_LOCALE as they are held.
    static std::pair<std::string, std::string> paste(HWND opener = nullptr) {
        if (!OpenClipboard(opener)) return {"(not opened)", ""};
        std::pair<std::string, std::string> got{contents(GetClipboardData(CF_TEXT)), contents(GetClipboardData(CF_LOCALE))};
        CloseClipboard();
        return got;
    }

    HWND window() { return make(WS_OVERLAPPEDWINDOW, 0, 0, 100, 100); }

    static int destroyClipboardsTo(HWND window) {
        const auto messages = window_test::recorder().messagesOf(window, true, {WM_DESTROYCLIPBOARD});
        return static_cast<int>(messages.size());
    }

    DesktopDouble desktop_;
    size_t blocksBefore_ = 0;
};

TEST_F(DesktopBridge, OurTextGoesOutWhenTheClipboardCloses) {
    ASSERT_TRUE(OpenClipboard(nullptr));
    ASSERT_TRUE(EmptyClipboard());
    ASSERT_TRUE(SetClipboardData(CF_TEXT, blockWith("\xC8\x65\x9Atina\r\n\xF8\xE1\x64\x65k\0"s)));
    ASSERT_TRUE(SetClipboardData(CF_LOCALE, blockWith(kCzechLocale)));
    EXPECT_TRUE(desktop_.offers.empty()) << "nothing goes out while the program still writes";
    ASSERT_TRUE(CloseClipboard());
    EXPECT_EQ(desktop_.offers, std::vector<std::string>{"Čeština\nřádek"});
}

TEST_F(DesktopBridge, WithoutALocaleTheTextStillGoesOutAsCp1250) {
    copy(nullptr, "\x9Elu\x9Dou\xE8k\xFD");
    EXPECT_EQ(desktop_.offers, std::vector<std::string>{"žluťoučký"});
}

TEST_F(DesktopBridge, ALookWithoutAChangeOffersNothing) {
    copy(nullptr, "abc");
    desktop_.offers.clear();
    EXPECT_EQ(paste().first, "abc"s + '\0');
    ASSERT_TRUE(OpenClipboard(nullptr));
    ASSERT_TRUE(CloseClipboard());
    EXPECT_TRUE(desktop_.offers.empty());
}

TEST_F(DesktopBridge, EmptiedWithoutTextTheDesktopPastesNothing) {
    copy(nullptr, "old");
    ASSERT_TRUE(OpenClipboard(nullptr));
    ASSERT_TRUE(EmptyClipboard());
    ASSERT_TRUE(CloseClipboard());
    EXPECT_EQ(desktop_.offers, (std::vector<std::string>{"old", ""}));
    EXPECT_EQ(paste().first, "(none)") << "the empty text offered is not news from the desktop";
}

TEST_F(DesktopBridge, NewerDesktopTextComesInWhenOpened) {
    copy(nullptr, "ours", &kCzechLocale);
    desktop_.copyElsewhere("Žluťoučký\nkůň 日");
    const auto [text, locale] = paste();
    EXPECT_EQ(text, "\x8Elu\x9Dou\xE8k\xFD\r\nk\xF9\xF2 ?\0"s);
    EXPECT_EQ(locale, kCzechLocale);
    EXPECT_EQ(desktop_.offers, std::vector<std::string>{"ours"}) << "what came in does not go back out";
}

TEST_F(DesktopBridge, NewerDesktopTextShowsAsAvailableWhileClosed) {
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_TEXT));
    desktop_.copyElsewhere("x");
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_LOCALE));
    EXPECT_EQ(paste().first, "x\0"s);
}

TEST_F(DesktopBridge, OursStaysWhenTheDesktopHasNothingNew) {
    struct Case {
        const char* name;
        std::optional<std::string> desktop;
    };
    const Case cases[] = {
        {"the desktop holds what we offered", "ours\nline"},
        {"the desktop holds no text", std::nullopt},
        {"the desktop holds empty text", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HWND owner = window();
        copy(owner, "ours\r\nline");
        ASSERT_TRUE(OpenClipboard(owner));
        HANDLE ours = GetClipboardData(CF_TEXT);
        ASSERT_TRUE(CloseClipboard());
        const DWORD sequence = GetClipboardSequenceNumber();
        desktop_.copyElsewhere(c.desktop);
        const int readsBefore = desktop_.reads;

        EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
        ASSERT_TRUE(OpenClipboard(nullptr));
        EXPECT_EQ(GetClipboardData(CF_TEXT), ours) << "the very block we put there";
        ASSERT_TRUE(CloseClipboard());
        EXPECT_GT(desktop_.reads, readsBefore) << "the desktop was asked";
        EXPECT_EQ(GetClipboardOwner(), owner);
        EXPECT_EQ(GetClipboardSequenceNumber(), sequence);
        EXPECT_EQ(destroyClipboardsTo(owner), 0);
        DestroyWindow(owner);
    }
}

TEST_F(DesktopBridge, DesktopTextComesInOnce) {
    desktop_.copyElsewhere("once");
    ASSERT_TRUE(OpenClipboard(nullptr));
    HANDLE first = GetClipboardData(CF_TEXT);
    ASSERT_TRUE(CloseClipboard());
    const DWORD sequence = GetClipboardSequenceNumber();
    ASSERT_TRUE(OpenClipboard(nullptr));
    EXPECT_EQ(GetClipboardData(CF_TEXT), first);
    ASSERT_TRUE(CloseClipboard());
    EXPECT_EQ(GetClipboardSequenceNumber(), sequence);
}

TEST_F(DesktopBridge, DesktopTextReplacesOursAndOurOwnerIsTold) {
    HWND owner = window();
    copy(owner, "ours");
    ASSERT_TRUE(OpenClipboard(owner));
    ASSERT_TRUE(SetClipboardData(CF_DIB, blockWith(std::string(40, '\0'))));
    ASSERT_TRUE(CloseClipboard());
    EXPECT_EQ(GetClipboardOwner(), owner);
    const DWORD sequence = GetClipboardSequenceNumber();

    desktop_.copyElsewhere("theirs");
    EXPECT_EQ(destroyClipboardsTo(owner), 0) << "nothing happens until someone looks";
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
    EXPECT_EQ(destroyClipboardsTo(owner), 1);
    EXPECT_EQ(GetClipboardOwner(), nullptr) << "the desktop's text has no owner of ours";
    EXPECT_NE(GetClipboardSequenceNumber(), sequence);
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_DIB)) << "the other program's copy replaced all of ours";
    EXPECT_EQ(paste().first, "theirs\0"s);
    EXPECT_EQ(destroyClipboardsTo(owner), 1) << "told once";
}

TEST_F(DesktopBridge, WhileOpenTheOpenersViewStays) {
    copy(nullptr, "ours");
    ASSERT_TRUE(OpenClipboard(nullptr));
    HANDLE ours = GetClipboardData(CF_TEXT);
    desktop_.copyElsewhere("theirs");
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
    EXPECT_EQ(GetClipboardData(CF_TEXT), ours) << "a handle the opener holds stays valid";
    EXPECT_TRUE(OpenClipboard(nullptr)) << "opening again while open";
    EXPECT_EQ(GetClipboardData(CF_TEXT), ours);
    ASSERT_TRUE(CloseClipboard());
    EXPECT_EQ(paste().first, "theirs\0"s) << "the next open takes it";
}

// Emptying makes the opener the owner and tells the one before; every change moves the number on.
TEST_F(DesktopBridge, OwnerAndSequenceFollowOurOwnChanges) {
    HWND first = window();
    HWND second = window();
    DWORD sequence = GetClipboardSequenceNumber();
    ASSERT_TRUE(OpenClipboard(first));
    EXPECT_EQ(GetClipboardOwner(), nullptr) << "opening alone takes nothing over";
    EXPECT_EQ(GetClipboardSequenceNumber(), sequence);
    ASSERT_TRUE(EmptyClipboard());
    EXPECT_EQ(GetClipboardOwner(), first);
    EXPECT_EQ(GetClipboardSequenceNumber(), sequence + 1);
    ASSERT_TRUE(SetClipboardData(CF_TEXT, blockWith("a\0"s)));
    EXPECT_EQ(GetClipboardSequenceNumber(), sequence + 2);
    {
        winplat::testing::ScopedDebugAsserts off(false);  // delayed rendering is refused
        EXPECT_EQ(SetClipboardData(CF_TEXT, nullptr), nullptr) << "refused: no change";
    }
    EXPECT_EQ(GetClipboardSequenceNumber(), sequence + 2);
    ASSERT_TRUE(CloseClipboard());
    EXPECT_EQ(destroyClipboardsTo(first), 0);

    ASSERT_TRUE(OpenClipboard(second));
    ASSERT_TRUE(EmptyClipboard());
    EXPECT_EQ(destroyClipboardsTo(first), 1);
    EXPECT_EQ(destroyClipboardsTo(second), 0);
    EXPECT_EQ(GetClipboardOwner(), second);
    ASSERT_TRUE(CloseClipboard());
    EXPECT_EQ(GetClipboardOwner(), second) << "closing keeps the owner";

    ASSERT_TRUE(OpenClipboard(nullptr));
    ASSERT_TRUE(EmptyClipboard());
    EXPECT_EQ(destroyClipboardsTo(second), 1);
    EXPECT_EQ(GetClipboardOwner(), nullptr);
    ASSERT_TRUE(CloseClipboard());
}

// The headless host has no desktop: the clipboard stays in the process and nothing is asked.
TEST(HeadlessClipboard, KeepsItsStoreInTheProcess) {
    ASSERT_EQ(winplat::host::desktopClipboard(), nullptr);
    winplat::testing::resetClipboard();
    ASSERT_TRUE(OpenClipboard(nullptr));
    ASSERT_TRUE(EmptyClipboard());
    HGLOBAL text = blockWith("a\r\nb\0"s);
    ASSERT_EQ(SetClipboardData(CF_TEXT, text), text);
    ASSERT_TRUE(CloseClipboard());
    ASSERT_TRUE(OpenClipboard(nullptr));
    EXPECT_EQ(GetClipboardData(CF_TEXT), text);
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_LOCALE));
    ASSERT_TRUE(CloseClipboard());
    winplat::testing::resetClipboard();
}

}  // namespace
