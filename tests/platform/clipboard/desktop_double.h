// Plays the desktop's clipboard for tests on the headless host: records what the layer offers and
// lets a test copy text "in another program".
#ifndef TESTS_PLATFORM_CLIPBOARD_DESKTOP_DOUBLE_H
#define TESTS_PLATFORM_CLIPBOARD_DESKTOP_DOUBLE_H

#include <optional>
#include <string>
#include <vector>

#include "winplat/host.h"

namespace clipboard_test {

class DesktopDouble final : public winplat::host::DesktopClipboard {
public:
    DesktopDouble() : previous_(winplat::host::setDesktopClipboard(this)) {}
    ~DesktopDouble() override { winplat::host::setDesktopClipboard(previous_); }
    DesktopDouble(const DesktopDouble&) = delete;
    DesktopDouble& operator=(const DesktopDouble&) = delete;

    void offer(std::string_view utf8) override {
        offers.emplace_back(utf8);
        held = std::string(utf8);
    }
    std::optional<std::string> text() override {
        ++reads;
        return held;
    }
    // Another program of the desktop copies (none: it holds something that is not text).
    void copyElsewhere(std::optional<std::string> text) { held = std::move(text); }

    std::vector<std::string> offers;
    std::optional<std::string> held;
    int reads = 0;

private:
    winplat::host::DesktopClipboard* previous_;
};

}  // namespace clipboard_test

#endif
