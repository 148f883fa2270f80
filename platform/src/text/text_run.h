// One run of text drawn on a DC: what TextOutA, ExtTextOutA and DrawTextA share.
//
// Callers hold the GDI lock.
#ifndef WINPLAT_SRC_TEXT_TEXT_RUN_H
#define WINPLAT_SRC_TEXT_TEXT_RUN_H

#include "base/call_refusal.h"
#include "gdi/objects.h"
#include "winplat/text.h"

namespace winplat::text {

struct TextRun {
    int x = 0;
    int y = 0;
    UINT align = TA_TOP | TA_LEFT;
    UINT options = 0;  // ETO_OPAQUE, ETO_CLIPPED
    const RECT* rect = nullptr;
    const char* text = nullptr;
    int count = 0;
    const int* dx = nullptr;
    // The character a DrawTextA prefix underlines, -1 for none.
    int prefixed = -1;
};

// Draws the run with the DC's font and colours (see text_out.cpp); FALSE when the DC has no live
// font or the text lies beyond the coordinates the layer draws.
BOOL drawRun(gdi::DeviceContextObject& dc, const TextRun& run, const CallRefuser& refuse);

}  // namespace winplat::text

#endif
