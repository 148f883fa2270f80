#include "controls/kept_font.h"

#include "controls/control_support.h"
#include "winplat/text.h"

namespace winplat::controls {

KeptFont::KeptFont() : own_(makeDialogFont()) {}

int KeptFont::lineHeight() const {
    const MemoryDc dc(CreateCompatibleDC(nullptr));
    if (!dc) return 0;
    const Selection selected(dc.get(), get());
    TEXTMETRICA metrics{};
    return GetTextMetricsA(dc.get(), &metrics) ? metrics.tmHeight : 0;
}

}  // namespace winplat::controls
