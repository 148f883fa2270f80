#include <algorithm>
#include <cstring>
#include <memory>

#include "core/frames/frame_break.h"
#include "core/registry/image_registry.h"
#include "core/registry/library_state.h"
#include "core/palette/palettes.h"
#include "effects/dialogs/preview_windows.h"
#include "formats/format_table.h"
#include "formats/gif_kept_frames.h"
#include "winplat/drawdib.h"
#include "winplat/module.h"
#include "winplat/owners.h"

namespace pixmill {
namespace {

// Made on first use and never destroyed: unloading runs ShutdownImageLibrary, which tears it down
// itself, and that may come after the static destructors.
LibraryState& state() {
    static LibraryState* const instance = new LibraryState;
    return *instance;
}

void createLibraryPalette() {
    constexpr int kEntries = 256;
    // LOGPALETTE declares one entry; the other 255 follow it in the same block.
    const size_t size = sizeof(LOGPALETTE) + (kEntries - 1) * sizeof(PALETTEENTRY);
    auto block = std::make_unique<unsigned char[]>(size);
    auto* logical = reinterpret_cast<LOGPALETTE*>(block.get());
    logical->palVersion = 0x300;
    logical->palNumEntries = kEntries;
    std::memcpy(logical->palPalEntry, hardPalette(), kEntries * sizeof(PALETTEENTRY));
    state().palette.reset(CreatePalette(logical));
}

void fillConversionPalette() {
    std::copy_n(cubePalette(), state().conversionPalette.size(), state().conversionPalette.begin());
}

// Draws the 30 x 30 true-colour image into the 50 x 50 bitmap selected in 'dc' through the video
// drawing service, halftoned, as the library's own drawing would.
bool drawWithVideoDrawing(HDC dc, PxlImageId source) {
    const winplat::DrawDibSession session(DrawDibOpen());
    if (!session) return false;
    auto* header = &PXLGetBitmapInfoHeader(source)->bmiHeader;
    DrawDibBegin(session.get(), nullptr, 50, 50, header, 30, 30, DDF_HALFTONE | DDF_SAME_HDC);
    DrawDibDraw(session.get(), dc, 0, 0, 50, 50, header, PXLGetBits(source), 0, 0, 30, 30,
                DDF_HALFTONE | DDF_SAME_HDC);
    return true;  // only a fault counts: the result of the draw itself was never looked at
}

// Finds out once whether the video drawing path works, by drawing a 30 x 30 true-colour image
// into a 50 x 50 palette image. Any failure, thrown or reported, leaves it switched off.
void probeVideoDrawing() {
    const PxlImageId target = PXLCreateImage(50, 50, 8);
    const PxlImageId source = PXLCreateImage(30, 30, 24);
    bool drawn = false;
    if (const winplat::MemoryDc dc(CreateCompatibleDC(nullptr)); dc && target && source) {
        if (const winplat::Selection selected(dc.get(), PXLGetBitmap(target)); selected) {
            try {
                drawn = drawWithVideoDrawing(dc.get(), source);
            } catch (...) {
                drawn = false;
            }
        }
    }
    PXLDeleteImage(target);
    PXLDeleteImage(source);
    state().useVfw = drawn ? 1 : 0;
}

void loadDescriptions(HINSTANCE module) {
    for (int i = 0; i < kDescriptionCount; ++i) {
        auto& slot = state().descriptions[i];
        slot.fill('\0');
        // Read with room for 49 characters and the terminator, so the slot always ends in zeros.
        LoadStringA(module, static_cast<UINT>(kDescriptionFirstId + i), slot.data(), 50);
    }
}

}  // namespace

LibraryState& libraryState() {
    return state();
}

const char* descriptionText(int stringId) {
    if (stringId < kDescriptionFirstId || stringId >= kDescriptionFirstId + kDescriptionCount) return "";
    return state().descriptions[stringId - kDescriptionFirstId].data();
}

HINSTANCE libraryInstance() {
    return GetModuleHandleA("pixmill.dll");
}

}  // namespace pixmill

using namespace pixmill;

extern "C" {

PXL_API void InitImageLibrary(void) {
    state().palette.reset();
    createLibraryPalette();
    fillConversionPalette();
    clearFrameBreakTable();
    probeVideoDrawing();
    const HINSTANCE module = libraryInstance();
    buildFormatRows(module);
    loadDescriptions(module);
}

PXL_API void ShutdownImageLibrary(void) {
    deleteAllImages();
    clearFrameBreakTable();
    keptGifFrames().clear();
    state().palette.reset();
    effects::unregisterPreviewClasses();
}

PXL_API int16_t PXLUseVFW(void) {
    return static_cast<int16_t>(state().useVfw);
}

}  // extern "C"

namespace {

// The library's load and unload, as the system's attach and detach would run them.
__attribute__((constructor)) void attachLibrary() {
    InitImageLibrary();
}
__attribute__((destructor)) void detachLibrary() {
    ShutdownImageLibrary();
}

}  // namespace
