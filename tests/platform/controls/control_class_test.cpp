// How the controls and dialogs tell a window's class: by its whole registered name, any case,
// through GetClassNameA.
#include <gtest/gtest.h>

#include "controls/control_support.h"
#include "controls_fixture.h"

namespace controls_test {
namespace {

using winplat::controls::isOfClass;

HWND makeOfClass(HWND parent, const char* className) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.lpszClassName = className;
    RegisterClassA(&wc);
    return CreateWindowExA(0, className, "", WS_CHILD, 0, 0, 10, 10, parent, nullptr, nullptr, nullptr);
}

TEST(ControlClass, TheWholeNameInAnyCaseNamesTheClass) {
    Harness h(smallScreen());
    const HWND parent = makeParent(h);
    const HWND button = makeChild(parent, "Button", BS_PUSHBUTTON, 0, 0, 40, 20);
    const HWND longer = makeOfClass(parent, "ButtonBar");
    const HWND shorter = makeOfClass(parent, "Butto");
    ASSERT_TRUE(button && longer && shorter);
    EXPECT_TRUE(isOfClass(button, "BUTTON"));
    EXPECT_TRUE(isOfClass(button, "button"));
    EXPECT_FALSE(isOfClass(button, "STATIC"));
    EXPECT_FALSE(isOfClass(longer, "BUTTON")) << "a name that only begins alike";
    EXPECT_FALSE(isOfClass(shorter, "BUTTON")) << "a name that is only the beginning";
    EXPECT_TRUE(isOfClass(longer, "buttonbar"));
    DestroyWindow(button);
    EXPECT_FALSE(isOfClass(button, "BUTTON")) << "a dead window is of no class";
}

}  // namespace
}  // namespace controls_test
