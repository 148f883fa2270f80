#include "dialogs/dialog_units.h"

#include <string_view>

#include "base/call_refusal.h"
#include "controls/control_support.h"
#include "dialogs/dialog_state.h"
#include "winplat/base.h"
#include "winplat/text.h"

namespace winplat::dialogs {

SIZE baseUnitsOf(HFONT font) {
    static constexpr std::string_view kLetters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    const BorrowedDc screen(nullptr);
    const Selection selected(screen.get(), font);
    SIZE extent{};
    GetTextExtentPoint32A(screen.get(), kLetters.data(), static_cast<int>(kLetters.size()), &extent);
    TEXTMETRICA metrics{};
    GetTextMetricsA(screen.get(), &metrics);
    // Half of twice the average, so that x.5 rounds up.
    return SIZE{(extent.cx / 26 + 1) / 2, metrics.tmHeight};
}

RECT toPixels(RECT units, SIZE base) {
    return {MulDiv(units.left, base.cx, 4), MulDiv(units.top, base.cy, 8), MulDiv(units.right, base.cx, 4),
            MulDiv(units.bottom, base.cy, 8)};
}

}  // namespace winplat::dialogs

using namespace winplat;
using namespace winplat::dialogs;

BOOL MapDialogRect(HWND dialog, LPRECT rect) {
    constexpr CallRefuser refuse("winplat: MapDialogRect", ERROR_INVALID_WINDOW_HANDLE);
    if (!rect) return refuse(FALSE, "no rectangle");
    const std::shared_ptr<const DialogState> state = dialogState(dialog);
    if (!state) return refuse(FALSE, "not a dialog");
    *rect = toPixels(*rect, state->baseUnits);
    return TRUE;
}

LONG GetDialogBaseUnits(void) {
    const GdiObject<HFONT> font = controls::makeDialogFont();
    const SIZE base = baseUnitsOf(font.get());
    return MAKELONG(base.cx, base.cy);
}
