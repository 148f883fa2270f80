// The message calls programs make: posting, retrieving, dispatching.
#include <string>

#include "user/atoms.h"
#include "user/input_state.h"
#include "user/posted_queue.h"
#include "user/retrieval.h"
#include "user/send.h"
#include "user/timers.h"
#include "user/update_region.h"
#include "winplat/host.h"
#include "winplat/sync.h"

namespace winplat::user {
namespace {

MSG stamped(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    MSG msg{};
    msg.hwnd = window;
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    msg.time = static_cast<DWORD>(host::clock().nowMs());
    msg.pt = inputState().cursor;
    return msg;
}

// WM_COPYDATA carries a pointer the sender frees when SendMessageA returns; posting it would
// hand the receiver freed memory, so it is refused as on Windows.
bool postable(UINT message, const CallRefuser& refuse) {
    if (message != WM_COPYDATA) return true;
    refuse.log("WM_COPYDATA can only be sent");
    SetLastError(ERROR_MESSAGE_SYNC_ONLY);
    return false;
}

constexpr UINT kKnownPeekFlags = PM_REMOVE | PM_NOYIELD;

}  // namespace
}  // namespace winplat::user

using namespace winplat;
using namespace winplat::user;

BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // Any thread may post: only the handle table (locked) and the posted queue (locked) are read.
    constexpr CallRefuser refuse("winplat: PostMessageA", ERROR_INVALID_WINDOW_HANDLE);
    if (!postable(message, refuse)) return FALSE;
    if (window && !findWindow(window)) return refuse(FALSE, "not a live window handle");
    // Without a window the message goes to the caller's own queue: only the UI thread has one.
    if (!window && !onUiThread()) return refuse(FALSE, "only the UI thread has a queue for thread messages");
    postedQueue().post(stamped(window, message, wParam, lParam));
    return TRUE;
}

BOOL PostThreadMessageA(DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam) {
    constexpr CallRefuser refuse("winplat: PostThreadMessageA", ERROR_INVALID_THREAD_ID);
    if (!postable(message, refuse)) return FALSE;
    // The UI thread is the one thread with a queue; the caller may be it before it made a window.
    if (threadId == GetCurrentThreadId()) onUiThread();
    if (threadId == 0 || threadId != uiThreadId()) return refuse(FALSE, "the thread has no message queue");
    postedQueue().post(stamped(nullptr, message, wParam, lParam));
    return TRUE;
}

void PostQuitMessage(int exitCode) {
    constexpr CallRefuser refuse("winplat: PostQuitMessage");
    if (uiThreadCall(refuse)) postedQueue().postQuit(exitCode);
}

BOOL GetMessageA(LPMSG message, HWND window, UINT filterMin, UINT filterMax) {
    constexpr CallRefuser refuse("winplat: GetMessageA", ERROR_INVALID_WINDOW_HANDLE);
    if (!message) return refuse(-1, "no MSG to fill");
    if (!uiThreadCall(refuse)) return -1;
    const MessageFilter filter{window, filterMin, filterMax};
    for (;;) {
        const uint64_t seen = postedQueue().serial();
        if (fetchMessage(filter, true, *message)) return message->message != WM_QUIT;
        if (!waitForMessage(filter, seen, "GetMessageA")) {
            *message = MSG{};
            message->message = WM_QUIT;
            return FALSE;
        }
    }
}

BOOL PeekMessageA(LPMSG message, HWND window, UINT filterMin, UINT filterMax, UINT removeFlags) {
    constexpr CallRefuser refuse("winplat: PeekMessageA", ERROR_INVALID_PARAMETER);
    if (!message) return refuse(FALSE, "no MSG to fill");
    if (removeFlags & ~kKnownPeekFlags) return refuse.unsupported(FALSE, "PeekMessageA flags " + std::to_string(removeFlags));
    if (!uiThreadCall(refuse)) return FALSE;
    const MessageFilter filter{window, filterMin, filterMax};
    if (fetchMessage(filter, (removeFlags & PM_REMOVE) != 0, *message)) return TRUE;
    // Loops that poll with PeekMessageA move virtual time on to the next timer; the timer's
    // message comes with the next look, so a loop draining the queue still ends.
    advanceToNextTimer(filter);
    return FALSE;
}

BOOL WaitMessage(void) {
    constexpr CallRefuser refuse("winplat: WaitMessage");
    if (!uiThreadCall(refuse)) return FALSE;
    const MessageFilter all{};
    MSG probe{};
    const uint64_t seen = postedQueue().serial();
    if (fetchMessage(all, false, probe)) return TRUE;
    return waitForMessage(all, seen, "WaitMessage") ? TRUE : FALSE;
}

LRESULT DispatchMessageA(const MSG* message) {
    constexpr CallRefuser refuse("winplat: DispatchMessageA", ERROR_INVALID_WINDOW_HANDLE);
    if (!message) return refuse(LRESULT{0}, "no message");
    if (!uiThreadCall(refuse)) return 0;
    // The layer's own timers run here and never reach the window's procedure.
    if (message->message == kLayerTimerMessage) {
        const auto procedure = reinterpret_cast<TIMERPROC>(message->lParam);
        if (procedure && layerTimers().calls(message->hwnd, message->wParam, procedure)) {
            procedure(message->hwnd, kLayerTimerMessage, message->wParam, static_cast<DWORD>(host::clock().nowMs()));
        }
        return 0;
    }
    if (message->message == WM_TIMER && message->lParam) {
        const auto procedure = reinterpret_cast<TIMERPROC>(message->lParam);
        // Only a procedure a live timer names is called: a forged WM_TIMER calls nothing.
        if (!timers().calls(message->hwnd, message->wParam, procedure)) {
            return refuse(LRESULT{0}, "WM_TIMER whose procedure no live timer calls");
        }
        procedure(message->hwnd, WM_TIMER, message->wParam, static_cast<DWORD>(host::clock().nowMs()));
        return 0;
    }
    if (!message->hwnd) return 0;  // a thread message: the loop that took it handles it
    const WindowRef window = findWindow(message->hwnd);
    if (!window) return refuse(LRESULT{0}, "the window is gone: the message is dropped");
    const LRESULT result = sendTo(window, message->message, message->wParam, message->lParam);
    if (message->message == WM_PAINT) afterPaintMessage(window);
    return result;
}

DWORD GetMessagePos(void) {
    const POINT pt = lastMessage().pt;
    return static_cast<DWORD>(MAKELONG(static_cast<WORD>(pt.x), static_cast<WORD>(pt.y)));
}

LONG GetMessageTime(void) { return static_cast<LONG>(lastMessage().time); }

UINT RegisterWindowMessageA(LPCSTR name) {
    constexpr CallRefuser refuse("winplat: RegisterWindowMessageA");
    if (!name || isIntegerAtom(name) || !*name) return refuse(0u, "no message name");
    const ATOM atom = addAtom(name);
    if (!atom) return refuse(0u, "every message number is taken");
    return atom;
}
