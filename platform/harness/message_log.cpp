// The message log of windows, through a subclass procedure.
#include <gtest/gtest.h>

#include "hooks.h"

namespace winplat::test {
namespace {
MessageLog* current = nullptr;  // one harness at a time
}  // namespace

MessageLog::MessageLog() { current = this; }

MessageLog::~MessageLog() {
    stopAll();
    current = nullptr;
}

void MessageLog::stopAll() {
    while (!originals_.empty()) stop(originals_.begin()->first);
}

void MessageLog::start(HWND window) {
    if (originals_.count(window)) return;
    const LONG_PTR previous = SetWindowLongPtrA(window, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(&procedure));
    if (!previous) {
        ADD_FAILURE() << "cannot log the messages of window " << window << ": it has no procedure to subclass";
        return;
    }
    originals_[window] = reinterpret_cast<WNDPROC>(previous);
}

void MessageLog::stop(HWND window) {
    const auto found = originals_.find(window);
    if (found == originals_.end()) return;
    // Only our own subclass is taken out: a later one keeps the chain it made.
    if (IsWindow(window) && GetWindowLongPtrA(window, GWL_WNDPROC) == reinterpret_cast<LONG_PTR>(&procedure)) {
        SetWindowLongPtrA(window, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(found->second));
    }
    originals_.erase(found);
}

std::vector<LoggedMessage> MessageLog::of(HWND window) const {
    std::vector<LoggedMessage> out;
    for (const LoggedMessage& m : log_) {
        if (!window || m.window == window) out.push_back(m);
    }
    return out;
}

LRESULT CALLBACK MessageLog::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!current) return DefWindowProcA(window, message, wParam, lParam);
    const auto found = current->originals_.find(window);
    if (found == current->originals_.end()) return DefWindowProcA(window, message, wParam, lParam);
    current->log_.push_back({window, message, wParam, lParam});
    const WNDPROC original = found->second;
    // The window is going: its handle may name another window later.
    if (message == WM_NCDESTROY) current->originals_.erase(found);
    return CallWindowProcA(original, window, message, wParam, lParam);
}

void Harness::logMessages(HWND window) { hooks_->log.start(window); }
void Harness::stopLogging(HWND window) { hooks_->log.stop(window); }
std::vector<LoggedMessage> Harness::messages(HWND window) const { return hooks_->log.of(window); }

std::vector<UINT> Harness::messageNumbers(HWND window) const {
    std::vector<UINT> numbers;
    for (const LoggedMessage& m : hooks_->log.of(window)) numbers.push_back(m.message);
    return numbers;
}

void Harness::clearLog() { hooks_->log.clear(); }

}  // namespace winplat::test
