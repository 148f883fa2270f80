// What the window manager tests share: an empty desktop and a virtual clock per test, a class
// whose procedure records every message it gets, and helpers to read the record.
#ifndef TESTS_PLATFORM_USER_WINDOW_FIXTURE_H
#define TESTS_PLATFORM_USER_WINDOW_FIXTURE_H

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "winplat/base.h"
#include "winplat/sync.h"
#include "winplat/testing.h"
#include "winplat/user.h"

namespace window_test {

struct Received {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// Every message the recording class gets, in order; a handler per window may answer instead of
// DefWindowProcA.
struct Recorder {
    std::vector<Received> received;
    std::map<HWND, std::function<LRESULT(HWND, UINT, WPARAM, LPARAM, bool&)>> handlers;

    // The messages one window got, or all of them (null), as numbers.
    std::vector<UINT> messagesOf(HWND window = nullptr, bool onlyListed = false,
                                 const std::vector<UINT>& listed = {}) const;
    // "window:message" pairs with the windows named by the map, e.g. "child:WM_DESTROY".
    std::vector<std::string> named(const std::map<HWND, std::string>& names, const std::vector<UINT>& listed) const;
    void clear() { received.clear(); }
};

Recorder& recorder();

LRESULT CALLBACK recordingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The name the tests use for a message number, e.g. "WM_CREATE"; others as numbers.
std::string messageName(UINT message);

class WindowTest : public ::testing::Test {
protected:
    static constexpr const char* kClass = "RecordingWindow";

    void SetUp() override;
    void TearDown() override;

    // A window of the recording class.
    HWND make(DWORD style, int x, int y, int width, int height, HWND parent = nullptr, DWORD exStyle = 0,
              const char* text = "", UINT_PTR id = 0);

    // Takes and dispatches (translated) every message queued; returns how many.
    static int pump();

    winplat::testing::VirtualClock clock_{1000};
};

}  // namespace window_test

#endif
