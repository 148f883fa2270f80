#include "user/send.h"

#include <vector>

#include "user/wndproc_tokens.h"

namespace winplat::user {
namespace {

// WM_COPYDATA hands the receiver a copy of the block, as if it had crossed into another
// process: the receiver may read it during the call, never keep or change the sender's data.
LRESULT sendCopyData(const WindowRef& window, WPARAM wParam, LPARAM lParam, const CallRefuser& refuse) {
    const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
    if (!data) return refuse(LRESULT{0}, "WM_COPYDATA without a COPYDATASTRUCT");
    if (data->cbData > 0 && !data->lpData) return refuse(LRESULT{0}, "WM_COPYDATA with a size but no data");
    const auto* bytes = static_cast<const uint8_t*>(data->lpData);
    std::vector<uint8_t> copy(bytes, bytes + data->cbData);
    COPYDATASTRUCT received{data->dwData, data->cbData, data->cbData > 0 ? copy.data() : nullptr};
    return window->procedure(window->handle, WM_COPYDATA, wParam, reinterpret_cast<LPARAM>(&received));
}

}  // namespace

LRESULT sendTo(const WindowRef& window, UINT message, WPARAM wParam, LPARAM lParam) {
    // 'window' keeps the object alive until the procedure returns, whatever it destroys.
    return window->procedure(window->handle, message, wParam, lParam);
}

}  // namespace winplat::user

using namespace winplat;
using namespace winplat::user;

LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // Sending across threads is not built: one UI thread owns every window; others post.
    constexpr CallRefuser refuse("winplat: SendMessageA", ERROR_INVALID_WINDOW_HANDLE);
    const WindowRef target = windowForCall(window, refuse);
    if (!target) return 0;
    if (message == WM_COPYDATA) return sendCopyData(target, wParam, lParam, refuse);
    return sendTo(target, message, wParam, lParam);
}

LRESULT CallWindowProcA(WNDPROC procedure, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    constexpr CallRefuser refuse("winplat: CallWindowProcA");
    WNDPROC resolved = resolveProcedure(procedure);
    if (!resolved) return refuse(LRESULT{0}, "no procedure to call");
    // The window stays alive for the call even if the procedure destroys it.
    const WindowRef held = findWindow(window);
    return resolved(window, message, wParam, lParam);
}

BOOL InSendMessage(void) {
    // Every send is a direct call on the UI thread, never a message from another thread.
    return FALSE;
}
