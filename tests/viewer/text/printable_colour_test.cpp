// Text colours while printing: a colour too pale for white paper is printed black.
#include <gtest/gtest.h>

#include "store/printing_state.h"
#include "text/font_cache.h"
#include "text/text_formatter.h"
#include "winplat/gdi.h"
#include "winplat/owners.h"

namespace lect32 {
namespace {

enum class Printing { No, ByFlag, ByJobDevice };

// Sets the printing state for the scope and clears it again.
class ScopedPrinting {
public:
    ScopedPrinting(Printing how, HDC device) {
        if (how == Printing::ByFlag) PrintingFlag = 1;
        if (how == Printing::ByJobDevice) SetPrintJobDevice(device);
    }
    ~ScopedPrinting() {
        PrintingFlag = 0;
        SetPrintJobDevice(nullptr);
    }
};

TEST(SetPrintableTextColor, PaleColoursTurnBlackOnlyWhilePrinting) {
    const struct {
        Printing printing;
        COLORREF colour;
        COLORREF expected;
    } cases[] = {
        {Printing::ByFlag, RGB(200, 200, 200), RGB(200, 200, 200)},  // sum 600 is kept
        {Printing::ByFlag, RGB(201, 200, 200), RGB(0, 0, 0)},        // sum 601 is not
        {Printing::ByFlag, RGB(200, 200, 201), RGB(0, 0, 0)},        // blue counts as well
        {Printing::ByJobDevice, RGB(200, 201, 200), RGB(0, 0, 0)},
        {Printing::ByJobDevice, RGB(255, 0, 0), RGB(255, 0, 0)},
        {Printing::No, RGB(255, 255, 255), RGB(255, 255, 255)},
    };
    const winplat::MemoryDc device(CreateCompatibleDC(nullptr));
    ASSERT_TRUE(device.get());
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.printing));
        SCOPED_TRACE(c.colour);
        const ScopedPrinting printing(c.printing, device.get());
        SetTextColor(device.get(), RGB(1, 2, 3));
        EXPECT_EQ(SetPrintableTextColor(device.get(), c.colour), RGB(1, 2, 3)) << "the previous colour";
        EXPECT_EQ(GetTextColor(device.get()), c.expected);
    }
}

}  // namespace
}  // namespace lect32
