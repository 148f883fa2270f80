#include "user/window_state.h"

#include <algorithm>

#include "user/window.h"

namespace winplat::user {
namespace {

using States = std::vector<std::pair<const void*, std::shared_ptr<void>>>;

States::iterator entryOf(States& states, StateKey key) {
    return std::find_if(states.begin(), states.end(),
                        [key](const auto& entry) { return entry.first == key; });
}

}  // namespace

std::shared_ptr<void> findWindowState(HWND window, StateKey key) {
    const WindowRef found = findWindow(window);
    if (!found) return nullptr;
    const auto entry = entryOf(found->states, key);
    return entry == found->states.end() ? nullptr : entry->second;
}

bool attachWindowState(HWND window, StateKey key, std::shared_ptr<void> state) {
    const WindowRef found = findWindow(window);
    if (!found || found->gone) return false;
    const auto entry = entryOf(found->states, key);
    if (entry != found->states.end()) {
        entry->second = std::move(state);
        return true;
    }
    try {
        found->states.emplace_back(key, std::move(state));
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

void detachWindowState(HWND window, StateKey key) {
    const WindowRef found = findWindow(window);
    if (!found) return;
    const auto entry = entryOf(found->states, key);
    if (entry == found->states.end()) return;
    // Moved out before it goes: a state whose end sends a message finds itself detached.
    const std::shared_ptr<void> leaving = std::move(entry->second);
    found->states.erase(entry);
}

}  // namespace winplat::user
