#include <cstring>
#include <latch>
#include <thread>

#include "support/wait_probe.h"
#include "user/input_state.h"
#include "window_fixture.h"

namespace window_test {
namespace {

using MessagesTest = WindowTest;

TEST_F(MessagesTest, SendInsideSendNestsAndReturnsEachResult) {
    HWND outer = make(WS_POPUP, 0, 0, 10, 10);
    HWND inner = make(WS_POPUP, 0, 0, 10, 10);
    std::vector<std::string> trace;
    recorder().handlers[outer] = [&](HWND, UINT message, WPARAM wParam, LPARAM, bool& handled) -> LRESULT {
        if (message != WM_USER) return 0;
        handled = true;
        trace.push_back("outer in " + std::to_string(wParam));
        const LRESULT nested = SendMessageA(inner, WM_USER, wParam + 1, 0);
        trace.push_back("outer out");
        return nested * 10;
    };
    recorder().handlers[inner] = [&](HWND, UINT message, WPARAM wParam, LPARAM, bool& handled) -> LRESULT {
        if (message != WM_USER) return 0;
        handled = true;
        trace.push_back("inner " + std::to_string(wParam));
        if (wParam < 3) return SendMessageA(outer, WM_USER, wParam + 1, 0) + 1;  // back into outer
        return 5;
    };
    EXPECT_EQ(SendMessageA(outer, WM_USER, 0, 0), 510);
    EXPECT_EQ(trace, (std::vector<std::string>{"outer in 0", "inner 1", "outer in 2", "inner 3", "outer out",
                                               "outer out"}));
}

TEST_F(MessagesTest, PostedMessagesComeInOrderBeforeTimers) {
    HWND window = make(WS_POPUP, 0, 0, 10, 10);
    SetTimer(window, 1, 10, nullptr);
    clock_.advance(100);  // the timer is due before anything is posted
    PostMessageA(window, WM_USER + 1, 0, 0);
    PostMessageA(window, WM_USER + 2, 0, 0);
    PostThreadMessageA(GetCurrentThreadId(), WM_USER + 3, 0, 0);
    std::vector<UINT> order;
    MSG msg{};
    for (int i = 0; i < 4 && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); ++i) order.push_back(msg.message);
    EXPECT_EQ(order, (std::vector<UINT>{WM_USER + 1, WM_USER + 2, WM_USER + 3, WM_TIMER}));
}

TEST_F(MessagesTest, PeekFiltersByWindowRangeAndThreadMessages) {
    HWND a = make(WS_POPUP, 0, 0, 10, 10);
    HWND aChild = make(WS_CHILD, 0, 0, 1, 1, a);
    HWND b = make(WS_POPUP, 0, 0, 10, 10);
    PostMessageA(b, WM_USER + 1, 0, 0);
    PostMessageA(aChild, WM_USER + 2, 0, 0);
    PostThreadMessageA(GetCurrentThreadId(), WM_USER + 3, 0, 0);
    PostMessageA(a, WM_APP, 0, 0);
    MSG msg{};
    ASSERT_TRUE(PeekMessageA(&msg, a, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(msg.message, WM_USER + 2u) << "a window filter takes its descendants' messages";
    ASSERT_TRUE(PeekMessageA(&msg, reinterpret_cast<HWND>(static_cast<LONG_PTR>(-1)), 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_USER + 3u) << "-1 takes thread messages only";
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_APP, WM_APP, PM_REMOVE));
    EXPECT_EQ(msg.hwnd, a);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_USER + 3, WM_USER + 3, PM_REMOVE));
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_USER + 1, WM_USER + 2, PM_NOREMOVE | PM_NOYIELD));
    EXPECT_EQ(msg.message, WM_USER + 1u);
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_USER + 1u) << "PM_NOREMOVE left it at the head";
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_USER + 2u);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(MessagesTest, QuitEndsGetMessageAfterPostedMessagesAndPassesEveryFilter) {
    HWND window = make(WS_POPUP, 0, 0, 10, 10);
    PostQuitMessage(3);
    PostMessageA(window, WM_USER, 0, 0);
    MSG msg{};
    EXPECT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER));
    EXPECT_FALSE(GetMessageA(&msg, window, WM_USER, WM_USER));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(msg.wParam, 3u);
}

TEST_F(MessagesTest, DispatchCallsTheWindowProcedureAndPrivateNumbersPassUntouched) {
    HWND window = make(WS_POPUP, 0, 0, 10, 10);
    const UINT privates[] = {WM_USER + 135, 7001, 7013, 9000, 9019, 19990, 19994, 0x6A02, 0x6A0D};
    for (UINT number : privates) PostMessageA(window, number, number * 2, -static_cast<LPARAM>(number));
    recorder().clear();
    MSG msg{};
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    ASSERT_EQ(recorder().received.size(), std::size(privates));
    for (size_t i = 0; i < std::size(privates); ++i) {
        EXPECT_EQ(recorder().received[i].message, privates[i]);
        EXPECT_EQ(recorder().received[i].wParam, privates[i] * 2);
        EXPECT_EQ(recorder().received[i].lParam, -static_cast<LPARAM>(privates[i]));
    }
}

TEST_F(MessagesTest, RegisteredMessagesAreStablePerNameWhateverTheCase) {
    const UINT first = RegisterWindowMessageA("LecternSearch");
    EXPECT_GE(first, 0xC000u);
    EXPECT_LE(first, 0xFFFFu);
    EXPECT_EQ(RegisterWindowMessageA("lecternsearch"), first);
    EXPECT_EQ(RegisterWindowMessageA("\xC8" "esk\xFD"), RegisterWindowMessageA("\xE8" "ESK\xDD")) << "cp1250 case";
    EXPECT_NE(RegisterWindowMessageA("Other"), first);
    EXPECT_EQ(RegisterWindowMessageA(""), 0u);
}

TEST_F(MessagesTest, CopyDataReachesTheReceiverAsACopy) {
    HWND receiver = make(WS_POPUP, 0, 0, 10, 10);
    std::string seen;
    ULONG_PTR seenNumber = 0;
    const void* seenAddress = nullptr;
    recorder().handlers[receiver] = [&](HWND, UINT message, WPARAM, LPARAM lParam, bool& handled) -> LRESULT {
        if (message != WM_COPYDATA) return 0;
        handled = true;
        const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        seenNumber = data->dwData;
        seenAddress = data->lpData;
        seen.assign(static_cast<const char*>(data->lpData), data->cbData);
        return data->lpData ? 1 : 0;
    };
    char query[] = "hledat";
    COPYDATASTRUCT data{7, sizeof query, query};
    EXPECT_EQ(SendMessageA(receiver, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data)), 1);
    EXPECT_EQ(seen, std::string(query, sizeof query));
    EXPECT_EQ(seenNumber, 7u);
    EXPECT_NE(seenAddress, static_cast<const void*>(query)) << "the receiver reads a copy";
    COPYDATASTRUCT empty{1, 0, nullptr};
    EXPECT_EQ(SendMessageA(receiver, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&empty)), 0);
    EXPECT_FALSE(PostMessageA(receiver, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data)));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MESSAGE_SYNC_ONLY));
    EXPECT_EQ(DefWindowProcA(receiver, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data)), FALSE);
}

TEST_F(MessagesTest, TranslateTurnsKeyDownsIntoCharactersNext) {
    HWND window = make(WS_POPUP, 0, 0, 10, 10);
    struct Case {
        UINT message;
        WPARAM key;
        bool shift;
        UINT expectedMessage;  // 0: no character
        WPARAM expectedChar;
    };
    const Case cases[] = {
        {WM_KEYDOWN, 'A', false, WM_CHAR, 'a'},        {WM_KEYDOWN, 'A', true, WM_CHAR, 'A'},
        {WM_KEYDOWN, '2', true, WM_CHAR, '@'},         {WM_KEYDOWN, VK_RETURN, false, WM_CHAR, 13},
        {WM_KEYDOWN, VK_NUMPAD0 + 7, false, WM_CHAR, '7'}, {WM_KEYDOWN, VK_OEM_MINUS, true, WM_CHAR, '_'},
        {WM_SYSKEYDOWN, 'F', false, WM_SYSCHAR, 'f'},  {WM_KEYDOWN, VK_SHIFT, true, 0, 0},
        {WM_KEYUP, 'A', false, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.key));
        winplat::user::inputState().keys[VK_SHIFT] = c.shift ? 0x80 : 0;
        MSG key{window, c.message, c.key, 0x001E0001, 0, {}};
        EXPECT_TRUE(TranslateMessage(&key));
        MSG typed{};
        const BOOL got = PeekMessageA(&typed, nullptr, 0, 0, PM_REMOVE);
        if (!c.expectedMessage) {
            EXPECT_FALSE(got);
            continue;
        }
        ASSERT_TRUE(got);
        EXPECT_EQ(typed.message, c.expectedMessage);
        EXPECT_EQ(typed.wParam, c.expectedChar);
        EXPECT_EQ(typed.lParam, 0x001E0001);
        EXPECT_EQ(typed.hwnd, window);
    }
    winplat::user::inputState().keys[VK_SHIFT] = 0;
    MSG other{window, WM_USER, 0, 0, 0, {}};
    EXPECT_FALSE(TranslateMessage(&other));
}

TEST_F(MessagesTest, PostFromAnotherThreadWakesGetMessageUnderTheRealClock) {
    winplat::host::Clock* virtualClock = winplat::host::setClock(nullptr);  // the real clock for this test
    HWND window = make(WS_POPUP, 0, 0, 10, 10);
    wait_probe::WaitProbe probe;
    std::atomic<bool> done{false};
    std::thread poster([&] {
        probe.untilAsleep([&] { return done.load(); });
        PostMessageA(window, WM_USER + 9, 42, 0);
    });
    MSG msg{};
    probe.arrive();
    const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    done = true;
    poster.join();
    winplat::host::setClock(virtualClock);
    EXPECT_TRUE(got);
    EXPECT_EQ(msg.message, WM_USER + 9u);
    EXPECT_EQ(msg.wParam, 42u);
}

TEST_F(MessagesTest, PostFromAnotherThreadIsAllowedAndSendIsRefused) {
    HWND window = make(WS_POPUP, 0, 0, 10, 10);
    BOOL posted = FALSE;
    LRESULT sent = 99;
    std::thread other([&] {
        posted = PostMessageA(window, WM_USER, 1, 0);
        sent = SendMessageA(window, WM_USER, 2, 0);
    });
    other.join();
    EXPECT_TRUE(posted);
    EXPECT_EQ(sent, 0);
    recorder().clear();
    MSG msg{};
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    DispatchMessageA(&msg);
    EXPECT_EQ(recorder().messagesOf(window), (std::vector<UINT>{WM_USER})) << "only the post arrived";
}

class StallHook final : public winplat::host::Idle {
public:
    bool stalled(std::string_view what) override {
        calls.emplace_back(what);
        if (queueOnce) {
            queueOnce = false;
            PostMessageA(target, WM_USER + 4, 0, 0);
            return true;
        }
        return false;
    }
    std::vector<std::string> calls;
    bool queueOnce = true;
    HWND target = nullptr;
};

TEST_F(MessagesTest, GetMessageUnderTheVirtualClockCallsTheStallHookInsteadOfHanging) {
    HWND window = make(WS_POPUP, 0, 0, 10, 10, nullptr, 0, "Stuck");
    StallHook hook;
    hook.target = window;
    winplat::host::Idle* previous = winplat::host::setIdle(&hook);
    MSG msg{};
    EXPECT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.message, WM_USER + 4u) << "what the hook queued";
    EXPECT_FALSE(GetMessageA(&msg, nullptr, 0, 0)) << "a second stall ends the loop";
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(hook.calls, (std::vector<std::string>{"GetMessageA", "GetMessageA"}));
    winplat::host::setIdle(previous);

    winplat::testing::DebugCapture log;
    EXPECT_FALSE(GetMessageA(&msg, nullptr, 0, 0)) << "without a hook the stall is logged and ends the loop";
    EXPECT_TRUE(log.contains("GetMessageA would wait for ever"));
    EXPECT_TRUE(log.contains("\"Stuck\"")) << "the log shows the window tree";
}

TEST_F(MessagesTest, MessageTimeAndPositionComeFromTheLastMessage) {
    HWND window = make(WS_POPUP, 0, 0, 10, 10);
    PostMessageA(window, WM_USER, 0, 0);
    clock_.advance(250);
    MSG msg{};
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.time, 1000u) << "stamped when posted";
    EXPECT_EQ(GetMessageTime(), 1000);
    EXPECT_EQ(GetMessagePos(), 0u);
    EXPECT_FALSE(InSendMessage());
}

}  // namespace
}  // namespace window_test
