// InitCommonControls(Ex): the trackbar and up-down classes are built in and made on first use,
// so there is nothing to register; the call only checks what it is given.
#include "base/call_refusal.h"
#include "winplat/controls.h"

void InitCommonControls() {}

BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* init) {
    static constexpr winplat::CallRefuser refuse("winplat: InitCommonControlsEx");
    if (!init) return refuse(FALSE, "no INITCOMMONCONTROLSEX");
    if (init->dwSize != sizeof(INITCOMMONCONTROLSEX))
        return refuse(FALSE, "dwSize is not sizeof(INITCOMMONCONTROLSEX)");
    return TRUE;
}
