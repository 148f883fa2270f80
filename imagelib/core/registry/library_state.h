// Process-wide state of the image library that start-up builds and shut-down tears down.
#ifndef PIXMILL_CORE_LIBRARY_STATE_H
#define PIXMILL_CORE_LIBRARY_STATE_H

#include <array>
#include <cstdint>

#include "pixmill/pixmill.h"
#include "resources/pixmill_ids.h"
#include "winplat/owners.h"

extern "C" {
// Builds the library's state; run when the shared library is loaded. Safe to call again after
// ShutdownImageLibrary (tests restart the library to watch shut-down).
PXL_API void InitImageLibrary(void);
// Frees every image left (reporting their number to the debugger) and the library's objects.
PXL_API void ShutdownImageLibrary(void);
}

namespace pixmill {

// The codecs' detail texts are the string ids from the first to the last detail, loaded at start-up.
constexpr int kDescriptionFirstId = res::kDetailLzwCompression;
constexpr int kDescriptionCount = res::kDetailUnknownCompression - res::kDetailLzwCompression + 1;
constexpr int kDescriptionSlotSize = 52;
constexpr int kFrameBreakSlots = 10;

struct LibraryState {
    winplat::OwnedPalette palette;                      // logical palette made from the hard palette
    std::array<PALETTEENTRY, 256> conversionPalette{};  // 0-191 black, then a 4x4x4 cube
    int useVfw = 0;
    std::array<std::array<char, kDescriptionSlotSize>, kDescriptionCount> descriptions{};
};

LibraryState& libraryState();

// The description text of a detail string id ("" for other ids).
const char* descriptionText(int stringId);

// The library's module, for its string table.
HINSTANCE libraryInstance();

}  // namespace pixmill

#endif
