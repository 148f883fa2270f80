// The seam the layer's window classes keep their per-window state through: made at WM_NCCREATE
// (running out of memory answered FALSE), dropped at WM_NCDESTROY, held while a message runs.
#include <memory>
#include <new>
#include <optional>

#include "user/window_state.h"
#include "window_fixture.h"

namespace window_test {
namespace {

using winplat::user::attachWindowState;
using winplat::user::borrowedState;
using winplat::user::detachWindowState;
using winplat::user::procedureWithState;
using winplat::user::windowState;

constexpr UINT kDestroySelf = WM_USER + 1;
constexpr UINT kCount = WM_USER + 2;

// What the probes saw; reset by each test.
struct Seen {
    int live = 0;                 // probes made and not yet freed
    bool failNextMaking = false;  // the next probe runs out of memory as it is made
    bool refuseCreate = false;    // WM_CREATE answers -1
    std::optional<bool> attachedAtNcDestroy;
    std::optional<bool> attachedAfterOwnDestruction;
    int liveDuringOwnDestruction = -1;
};

Seen& seen() {
    static Seen instance;
    return instance;
}

class Probe {
  public:
    explicit Probe(HWND window) : window_(window) {
        if (seen().failNextMaking) {
            seen().failNextMaking = false;
            throw std::bad_alloc();
        }
        ++seen().live;
    }
    ~Probe() { --seen().live; }
    Probe(const Probe&) = delete;
    Probe& operator=(const Probe&) = delete;

    std::optional<LRESULT> handle(UINT message, WPARAM, LPARAM) {
        switch (message) {
            case WM_CREATE:
                return seen().refuseCreate ? -1 : 0;
            case WM_NCDESTROY:
                seen().attachedAtNcDestroy = windowState<Probe>(window_) != nullptr;
                return 0;
            case kCount:
                return ++count_;
            case kDestroySelf:
                DestroyWindow(window_);
                seen().attachedAfterOwnDestruction = windowState<Probe>(window_) != nullptr;
                seen().liveDuringOwnDestruction = seen().live;
                return ++count_;  // the state is still the handler's to use
            default:
                return std::nullopt;
        }
    }

  private:
    HWND window_;
    int count_ = 0;
};

LRESULT CALLBACK probeProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return procedureWithState<Probe>(window, message, wParam, lParam);
}

// A program's class built over the probe's procedure that refuses WM_NCCREATE after the probe
// said yes.
LRESULT CALLBACK refusingOverProbe(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const LRESULT answer = probeProcedure(window, message, wParam, lParam);
    return message == WM_NCCREATE ? FALSE : answer;
}

class WindowStateTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        seen() = Seen{};
        const WNDPROC procedures[] = {probeProcedure, refusingOverProbe};
        const char* const names[] = {"StateProbe", "RefusingProbe"};
        for (size_t i = 0; i < 2; ++i) {
            WNDCLASSA wc{};
            wc.lpfnWndProc = procedures[i];
            wc.lpszClassName = names[i];
            ASSERT_NE(RegisterClassA(&wc), 0);
        }
    }

    static HWND makeProbe(const char* className = "StateProbe") {
        return CreateWindowExA(0, className, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    }
};

TEST_F(WindowStateTest, MadeAtCreationAndDroppedAtNcDestroy) {
    HWND window = makeProbe();
    ASSERT_TRUE(window);
    EXPECT_EQ(seen().live, 1);
    EXPECT_TRUE(windowState<Probe>(window));
    EXPECT_EQ(SendMessageA(window, kCount, 0, 0), 1);
    EXPECT_EQ(SendMessageA(window, kCount, 0, 0), 2) << "one state for the window's life";
    ASSERT_TRUE(DestroyWindow(window));
    ASSERT_TRUE(seen().attachedAtNcDestroy.has_value()) << "the handler still gets WM_NCDESTROY";
    EXPECT_FALSE(*seen().attachedAtNcDestroy) << "detached as WM_NCDESTROY is handled";
    EXPECT_EQ(seen().live, 0);
}

TEST_F(WindowStateTest, RunningOutOfMemoryAtCreationFailsTheWindowAndLeavesNothing) {
    seen().failNextMaking = true;
    SetLastError(0);
    EXPECT_EQ(makeProbe(), nullptr) << "WM_NCCREATE answers FALSE";
    EXPECT_EQ(seen().live, 0);
    const HWND next = makeProbe();
    ASSERT_TRUE(next) << "the next window is made as usual";
    EXPECT_EQ(seen().live, 1);
}

// Whichever step refuses, a window that is not made keeps no state.
TEST_F(WindowStateTest, AWindowRefusedAfterItsStateWasMadeLeavesNothing) {
    EXPECT_EQ(makeProbe("RefusingProbe"), nullptr) << "refused at WM_NCCREATE by the class above";
    EXPECT_EQ(seen().live, 0);
    seen().refuseCreate = true;
    EXPECT_EQ(makeProbe(), nullptr) << "refused at WM_CREATE";
    EXPECT_EQ(seen().live, 0);
}

TEST_F(WindowStateTest, AWindowDestroyedInsideItsOwnMessageKeepsItsStateUntilTheMessageReturns) {
    HWND window = makeProbe();
    ASSERT_TRUE(window);
    EXPECT_EQ(SendMessageA(window, kDestroySelf, 0, 0), 1)
        << "the handler counted on its state after the destruction";
    EXPECT_FALSE(IsWindow(window));
    ASSERT_TRUE(seen().attachedAfterOwnDestruction.has_value());
    EXPECT_FALSE(*seen().attachedAfterOwnDestruction) << "no longer reachable through the handle";
    EXPECT_EQ(seen().liveDuringOwnDestruction, 1) << "but alive while its message runs";
    EXPECT_EQ(seen().live, 0) << "and freed once it returned";
}

TEST_F(WindowStateTest, EachTypeHasItsOwnPlace) {
    HWND window = makeProbe();
    ASSERT_TRUE(window);
    EXPECT_FALSE(windowState<int>(window)) << "nothing of a type never attached";
    int borrowed = 5;
    ASSERT_TRUE(attachWindowState(window, borrowedState(borrowed)));
    ASSERT_TRUE(attachWindowState(window, std::make_shared<double>(2.5)));
    EXPECT_EQ(windowState<int>(window).get(), &borrowed);
    EXPECT_EQ(*windowState<double>(window), 2.5);
    EXPECT_TRUE(windowState<Probe>(window)) << "the class's own state stays beside them";
    ASSERT_TRUE(attachWindowState(window, std::make_shared<double>(7.0)));
    EXPECT_EQ(*windowState<double>(window), 7.0) << "attaching a type again replaces its state";
    detachWindowState<int>(window);
    EXPECT_FALSE(windowState<int>(window));
    EXPECT_EQ(borrowed, 5) << "a borrowed state stays its owner's";
    EXPECT_TRUE(windowState<double>(window));
}

TEST_F(WindowStateTest, ADeadHandleHasNoStateAndTakesNone) {
    HWND window = makeProbe();
    ASSERT_TRUE(window);
    DestroyWindow(window);
    EXPECT_FALSE(windowState<Probe>(window));
    EXPECT_FALSE(attachWindowState(window, std::make_shared<int>(1)));
    EXPECT_FALSE(attachWindowState(nullptr, std::make_shared<int>(1)));
    detachWindowState<int>(window);  // quietly nothing
}

}  // namespace
}  // namespace window_test
