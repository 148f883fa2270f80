// The window tree as text, for a test that stalls or fails to show what was on the desktop.
#include <cstdio>
#include <string>

#include "user/input_state.h"
#include "user/tree.h"
#include "winplat/testing.h"

namespace winplat::user {
namespace {

std::string hex(uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "%08X", value);
    return text;
}

std::string describe(const WindowObject& window) {
    const POINT origin = windowOrigin(window);
    std::string line = hex(handleValue(window.handle)) + " \"" + window.windowClass->name + "\" \"" + window.text + "\"";
    line += " (" + std::to_string(origin.x) + "," + std::to_string(origin.y) + ")-(" +
            std::to_string(origin.x + window.width()) + "," + std::to_string(origin.y + window.height()) + ")";
    line += " style " + hex(window.style) + " ex " + hex(window.exStyle);
    line += window.visible() ? " visible" : " hidden";
    line += (window.style & WS_DISABLED) ? " disabled" : " enabled";
    if (window.exStyle & WS_EX_TOPMOST) line += " topmost";
    if (window.owner) line += " owner " + hex(handleValue(window.owner->handle));
    const InputState& state = inputState();
    if (state.focus == window.handle) line += " focus";
    if (state.capture == window.handle) line += " capture";
    if (state.active == window.handle) line += " active";
    return line;
}

void describeTree(const WindowObject& window, int depth, std::string& text) {
    text.append(static_cast<size_t>(depth) * 2, ' ');
    text += describe(window) + "\n";
    for (const WindowRef& child : window.children) describeTree(*child, depth + 1, text);
}

}  // namespace
}  // namespace winplat::user

namespace winplat::testing {

std::string windowTree() {
    std::string text;
    user::describeTree(user::desktop(), 0, text);
    return text;
}

}  // namespace winplat::testing
