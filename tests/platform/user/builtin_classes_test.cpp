#include "user/builtin_classes.h"

#include "user/window_class.h"
#include "window_fixture.h"

namespace window_test {
namespace {

using BuiltinClassTest = WindowTest;

int timesMade = 0;

LRESULT CALLBACK builtinProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

void makeProbeClass() {
    ++timesMade;
    WNDCLASSA wc{};
    wc.style = CS_GLOBALCLASS;
    wc.lpfnWndProc = builtinProcedure;
    wc.lpszClassName = "BuiltinProbe";
    RegisterClassA(&wc);
}

WINPLAT_BUILTIN_CLASS(probe, "BuiltinProbe", makeProbeClass);

TEST_F(BuiltinClassTest, IsMadeOnFirstUseByAnySpellingAndAgainAfterClassesAreForgotten) {
    timesMade = 0;
    HWND first = CreateWindowExA(0, "builtinprobe", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(first, nullptr);
    HWND second = CreateWindowExA(0, "BUILTINPROBE", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(timesMade, 1);
    DestroyWindow(first);
    DestroyWindow(second);

    winplat::user::forgetClasses();
    WNDCLASSA seen{};
    EXPECT_TRUE(GetClassInfoA(nullptr, "BuiltinProbe", &seen));
    EXPECT_EQ(seen.lpfnWndProc, &builtinProcedure);
    EXPECT_EQ(timesMade, 2);
}

TEST_F(BuiltinClassTest, AnUnknownNameIsStillNoClass) {
    WNDCLASSA seen{};
    EXPECT_FALSE(GetClassInfoA(nullptr, "BuiltinProbeNot", &seen));
    EXPECT_FALSE(winplat::user::makeBuiltinClass("BuiltinProbeNot"));
    EXPECT_EQ(CreateWindowExA(0, "BuiltinProbeNot", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr),
              nullptr);
}

}  // namespace
}  // namespace window_test
