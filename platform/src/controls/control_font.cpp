#include "controls/control_font.h"

namespace winplat::controls {

ControlFont::ControlFont()
    : own_(CreateFontA(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0, "MS Sans Serif")) {}

int ControlFont::lineHeight() const {
    const MemoryDc dc(CreateCompatibleDC(nullptr));
    if (!dc) return 0;
    const Selection selected(dc.get(), get());
    TEXTMETRICA metrics{};
    return GetTextMetricsA(dc.get(), &metrics) ? metrics.tmHeight : 0;
}

}  // namespace winplat::controls
