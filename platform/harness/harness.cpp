// The harness's desktop: its set-up, time, input and inspection.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "hooks.h"
#include "winplat/cp1250.h"

namespace winplat::test {
namespace {

// A pump that keeps finding messages after this many is a loop feeding itself.
constexpr int kMostMessagesPerPump = 100000;
// An advance that meets more timer stops than this has a timer that never moves on.
constexpr int kMostTimerStops = 1000000;

std::optional<uint64_t> firstDue() {
    const std::vector<testing::TimerInfo> pending = testing::pendingTimers();
    if (pending.empty()) return std::nullopt;
    return pending.front().dueMs;
}

}  // namespace

ScopedVariable::ScopedVariable(const char* name, const std::string& value) : name_(name) {
    if (const char* old = std::getenv(name)) previous_ = old;
    setenv(name, value.c_str(), 1);
}

ScopedVariable::~ScopedVariable() {
    if (previous_) {
        setenv(name_.c_str(), previous_->c_str(), 1);
    } else {
        unsetenv(name_.c_str());
    }
}

TemporaryFolder::TemporaryFolder(const char* prefix) {
    std::string pattern = (std::filesystem::temp_directory_path() / (std::string(prefix) + "XXXXXX")).string();
    if (mkdtemp(pattern.data())) {
        path_ = pattern;
    } else {
        ADD_FAILURE() << "cannot make a temporary folder from " << pattern;
    }
}

TemporaryFolder::~TemporaryFolder() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
}

Harness::Hooks::Hooks(Harness& harness, const Options& options)
    : previousWidth(GetSystemMetrics(SM_CXSCREEN)),
      previousHeight(GetSystemMetrics(SM_CYSCREEN)),
      clock(options.startMs),
      stateVariable("WINPLAT_STATE", state.path()),
      stall(harness.stalls_),
      answers(harness.unexpectedLoops_) {}

Harness::Harness() : Harness(Options{}) {}

Harness::Harness(Options options) : options_(std::move(options)) {
    testing::resetWindowManager();
    hooks_ = std::make_unique<Hooks>(*this, options_);
    if (!testing::setScreenSize(options_.width, options_.height)) {
        ADD_FAILURE() << "the harness cannot make a " << options_.width << "x" << options_.height << " screen";
    }
}

Harness::~Harness() {
    // Windows go while the hooks still watch them; the screen is left as it was found.
    hooks_->log.stopAll();
    testing::resetWindowManager();
    const int width = hooks_->previousWidth;
    const int height = hooks_->previousHeight;
    hooks_.reset();
    testing::setScreenSize(width, height);
}

int Harness::pump() {
    MSG message{};
    int count = 0;
    const uint64_t start = now();
    // A handler's own message loop (a script letting messages through, a modal wait) moves
    // virtual time on when it finds the queue empty. The timers due by then belong to that later
    // time: were they taken here, a timer whose handler runs such a loop would come due again on
    // every tick and the pump would never end.
    auto take = [&] {
        return now() == start ? testing::takeReadyMessage(&message) : testing::takeReadyMessageExceptTimers(&message);
    };
    while (take()) {
        if (message.message == WM_QUIT) {
            quitCode_ = static_cast<int>(message.wParam);
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
        if (++count == kMostMessagesPerPump) {
            ADD_FAILURE() << "pump: messages keep coming after " << count << " (a message that posts itself?)";
            break;
        }
    }
    return count;
}

void Harness::advance(uint64_t milliseconds) {
    const uint64_t end = now() + milliseconds;
    pump();
    for (int stops = 0; stops < kMostTimerStops; ++stops) {
        const std::optional<uint64_t> due = firstDue();
        if (!due || *due > end) break;
        if (*due > now()) hooks_->clock.advance(*due - now());
        pump();
    }
    if (end > now()) hooks_->clock.advance(end - now());
    pump();
}

uint64_t Harness::now() const { return hooks_->clock.nowMs(); }

void Harness::mouseMove(int x, int y) {
    testing::mouseMove(x, y);
    pump();
}

void Harness::click(int x, int y) {
    testing::mouseMove(x, y);
    testing::mouseButton(host::MouseButton::Left, true);
    testing::mouseButton(host::MouseButton::Left, false);
    pump();
}

void Harness::doubleClick(int x, int y) {
    testing::mouseMove(x, y);
    for (int i = 0; i < 2; ++i) {
        testing::mouseButton(host::MouseButton::Left, true);
        testing::mouseButton(host::MouseButton::Left, false);
    }
    pump();
}

void Harness::rightClick(int x, int y) {
    testing::mouseMove(x, y);
    testing::mouseButton(host::MouseButton::Right, true);
    testing::mouseButton(host::MouseButton::Right, false);
    pump();
}

void Harness::drag(int x1, int y1, int x2, int y2) {
    testing::mouseMove(x1, y1);
    testing::mouseButton(host::MouseButton::Left, true);
    pump();
    testing::mouseMove(x2, y2);
    pump();
    testing::mouseButton(host::MouseButton::Left, false);
    pump();
}

void Harness::wheel(int delta) {
    testing::mouseWheel(delta);
    pump();
}

void queueKey(UINT virtualKey, unsigned modifiers) {
    const std::pair<unsigned, UINT> held[] = {{kCtrl, VK_CONTROL}, {kShift, VK_SHIFT}, {kAlt, VK_MENU}};
    for (const auto& [bit, key] : held) {
        if (modifiers & bit) testing::keyDown(key);
    }
    testing::keyDown(virtualKey);
    testing::keyUp(virtualKey);
    for (auto it = std::rbegin(held); it != std::rend(held); ++it) {
        if (modifiers & it->first) testing::keyUp(it->second);
    }
}

void Harness::key(UINT virtualKey, unsigned modifiers) {
    queueKey(virtualKey, modifiers);
    pump();
}

void Harness::type(std::string_view cp1250) {
    for (char c : cp1250) testing::typeCharacter(c);
    pump();
}

void Harness::type(std::u8string_view utf8) {
    bool exact = true;
    const std::string text =
        cp1250::fromUtf8(std::string_view(reinterpret_cast<const char*>(utf8.data()), utf8.size()), &exact);
    if (!exact) ADD_FAILURE() << "type: the text holds characters cp1250 has not";
    type(std::string_view(text));
}

HWND Harness::findWindow(const char* className, const char* title) const { return FindWindowA(className, title); }

namespace {

int zIndexOf(HWND window) {
    int index = 0;
    for (HWND sibling = GetWindow(window, GW_HWNDFIRST); sibling; sibling = GetWindow(sibling, GW_HWNDNEXT)) {
        if (sibling == window) return index;
        ++index;
    }
    return -1;
}

RECT clientOnScreen(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    POINT corners[2] = {{client.left, client.top}, {client.right, client.bottom}};
    MapWindowPoints(window, nullptr, corners, 2);
    return {corners[0].x, corners[0].y, corners[1].x, corners[1].y};
}

}  // namespace

WindowInfo Harness::windowInfo(HWND window) const {
    WindowInfo info;
    if (!IsWindow(window)) {
        ADD_FAILURE() << "windowInfo: " << window << " is no window";
        return info;
    }
    std::string title(static_cast<size_t>(GetWindowTextLengthA(window)) + 1, '\0');
    GetWindowTextA(window, title.data(), static_cast<int>(title.size()));
    title.resize(title.size() - 1);
    info.text = title;
    GetWindowRect(window, &info.rect);
    info.client = clientOnScreen(window);
    info.style = static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE));
    info.exStyle = static_cast<DWORD>(GetWindowLongA(window, GWL_EXSTYLE));
    info.visible = IsWindowVisible(window) != FALSE;
    info.enabled = IsWindowEnabled(window) != FALSE;
    info.zIndex = zIndexOf(window);
    info.parent = (info.style & WS_CHILD) ? GetParent(window) : nullptr;
    info.owner = GetWindow(window, GW_OWNER);
    return info;
}

std::vector<testing::TimerInfo> Harness::timers() const { return testing::pendingTimers(); }
HWND Harness::focus() const { return GetFocus(); }
HWND Harness::capture() const { return GetCapture(); }
HWND Harness::activeWindow() const { return GetActiveWindow(); }
size_t Harness::beeps() const { return hooks_->beeps.count(); }
const std::string& Harness::stateFolder() const { return hooks_->state.path(); }

}  // namespace winplat::test
