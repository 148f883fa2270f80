// The one way the layer's own window classes (controls, dialogs, common dialogs) keep a window's
// state: an object of the class's own type held by the window, one per type.
//
// A class attaches its state as its window is made (at WM_NCCREATE, where running out of memory
// is answered FALSE, so CreateWindowExA fails and nothing is left behind) and detaches it at
// WM_NCDESTROY. What windowState hands out is shared: a procedure holds it while its message
// runs, so a window destroyed inside its own handler (a parent that destroys a control while
// answering its notification) does not pull the state away from the handler still using it.
// Whatever is still attached when the window's record goes goes with it.
#ifndef WINPLAT_SRC_USER_WINDOW_STATE_H
#define WINPLAT_SRC_USER_WINDOW_STATE_H

#include <memory>
#include <new>
#include <optional>
#include <type_traits>
#include <utility>

#include "winplat/user.h"

namespace winplat::user {

// Names a type of state: one key per type, the address of a variable of its own.
using StateKey = const void*;

template <class T>
StateKey stateKey() {
    static const char key = 0;
    return &key;
}

// The untyped seam the templates below go through.
std::shared_ptr<void> findWindowState(HWND window, StateKey key);
// False for a dead window, or when memory runs out; a state of the key already there is replaced.
bool attachWindowState(HWND window, StateKey key, std::shared_ptr<void> state);
void detachWindowState(HWND window, StateKey key);

// The window's state of type T; null for a window without one or a dead handle.
template <class T>
std::shared_ptr<T> windowState(HWND window) {
    return std::static_pointer_cast<T>(findWindowState(window, stateKey<T>()));
}

template <class T>
bool attachWindowState(HWND window, std::shared_ptr<T> state) {
    // Kept untyped; windowState<T> hands it back as T, const or not.
    return state &&
           attachWindowState(window, stateKey<T>(), std::const_pointer_cast<std::remove_const_t<T>>(state));
}

template <class T>
void detachWindowState(HWND window) {
    detachWindowState(window, stateKey<T>());
}

// A state owned by a caller that outlives the window (a modal call's own object, alive until the
// call has destroyed its dialog): the window only borrows it.
template <class T>
std::shared_ptr<T> borrowedState(T& state) {
    return std::shared_ptr<T>(std::shared_ptr<void>(), &state);
}

// A new T for the window being made: from (window, creation data) or (window), whichever its
// constructor takes, or from nothing; false when memory ran out or the window is gone.
template <class T>
bool attachNewWindowState(HWND window, const CREATESTRUCTA& create) {
    try {
        // An aggregate (a plain struct of fields) starts from its defaults, never from the window.
        if constexpr (std::is_aggregate_v<T>) {
            return attachWindowState(window, std::make_shared<T>());
        } else if constexpr (std::is_constructible_v<T, HWND, const CREATESTRUCTA&>) {
            return attachWindowState(window, std::make_shared<T>(window, create));
        } else if constexpr (std::is_constructible_v<T, HWND>) {
            return attachWindowState(window, std::make_shared<T>(window));
        } else {
            return attachWindowState(window, std::make_shared<T>());
        }
    } catch (const std::bad_alloc&) {
        return false;
    }
}

// A window procedure's life of its state: made at WM_NCCREATE (FALSE when it cannot be), held
// while each message runs, detached at WM_NCDESTROY (which 'handle' still gets). 'handle' takes
// (window, T&, message, wParam, lParam) and answers std::optional<LRESULT>: none for
// DefWindowProcA's answer.
template <class T, class Handler>
LRESULT procedureWithState(HWND window, UINT message, WPARAM wParam, LPARAM lParam, Handler&& handle) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        if (!create || !attachNewWindowState<T>(window, *create)) return FALSE;
        return DefWindowProcA(window, message, wParam, lParam);
    }
    const std::shared_ptr<T> held = windowState<T>(window);
    if (message == WM_NCDESTROY) detachWindowState<T>(window);
    if (held) {
        if (const std::optional<LRESULT> answer = handle(window, *held, message, wParam, lParam))
            return *answer;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// The same for a T that answers for itself: std::optional<LRESULT> T::handle(message, wParam, lParam).
template <class T>
LRESULT procedureWithState(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return procedureWithState<T>(
        window, message, wParam, lParam,
        [](HWND, T& state, UINT m, WPARAM w, LPARAM l) { return state.handle(m, w, l); });
}

}  // namespace winplat::user

#endif
