// The GDI objects behind HBITMAP, HPALETTE, HRGN and HDC, and what other areas of the layer (the
// clipboard) need from them.
#ifndef WINPLAT_SRC_GDI_OBJECTS_H
#define WINPLAT_SRC_GDI_OBJECTS_H

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "gdi/device_rect.h"
#include "gdi/region.h"
#include "gdi/surface.h"
#include "winplat/draw.h"
#include "winplat/gdi.h"
#include "winplat/handles.h"
#include "winplat/text.h"

namespace winplat {
class CallRefuser;
}

namespace winplat::text {
class Face;  // text/face.h: made and read by the text area above; GDI only keeps it with its font
}

namespace winplat::gdi {

struct BitmapObject final : HandleObject {
    std::unique_ptr<Surface> surface;
    bool dibSection = false;
    bool bitfields = false;  // a DIB section made with BI_BITFIELDS
    // The shared 1 x 1 monochrome bitmap every fresh memory DC holds: in any number of DCs at
    // once, and never deleted.
    bool stock = false;
    uint32_t selectedInto = 0;  // the DC holding it, 0 when none
    // The pixels of a display or a printer page: drawn on through its DC, never selected into
    // another DC nor deleted by DeleteObject.
    bool deviceSurface = false;

    bool monochromeDdb() const { return !dibSection && surface->bitsPerPixel() == 1; }
    DWORD compression() const { return bitfields ? BI_BITFIELDS : BI_RGB; }
};

struct PaletteObject final : HandleObject {
    std::vector<PALETTEENTRY> entries;  // fixed once the palette is made
    bool stock = false;  // DEFAULT_PALETTE: in any number of DCs, never deleted
    // Built on the first nearest-index question (under the GDI mutex): callers ask one palette
    // thousands of times when they fill inverse colour tables.
    std::optional<ColourMatcher> matcher;
};

struct PenObject final : HandleObject {
    int style = PS_SOLID;
    int width = 0;  // 0 and 1 are one-pixel (cosmetic) pens
    COLORREF color = 0;
    bool stock = false;
};

struct BrushObject final : HandleObject {
    enum class Kind { Solid, Hatch, Pattern, Null };
    Kind kind = Kind::Solid;
    COLORREF color = 0;
    int hatch = HS_HORIZONTAL;         // for hatch brushes
    std::unique_ptr<Surface> pattern;  // a copy of the bitmap of a pattern brush
    bool stock = false;
};

struct FontObject final : HandleObject {
    LOGFONTA logFont{};  // as made, for GetObjectA
    // What the text area draws the font with: made with the font, or for the stock font (which
    // GDI makes from its LOGFONTA alone) the first time text needs it (text::fontFace).
    std::shared_ptr<const text::Face> face;
    bool stock = false;
};

// What SetTextJustification left for the breaks to come: extra / count each, one more for each of
// the first extra % count; 'used' counts the breaks text output has drawn since.
struct Justification {
    int extra = 0;
    int count = 0;
    int used = 0;
    // The extra pixels of the break 'index' breaks after the next one.
    int extraOf(int index) const;
    // Whether output widens this byte: the font's break character and, beside a space break
    // character, the no-break space, which justified text counts among a line's breaks too.
    static bool IsBreak(uint8_t byte, uint8_t breakChar) {
        constexpr uint8_t kSpace = 0x20;
        constexpr uint8_t kNoBreakSpace = 0xA0;
        return byte == breakChar || (breakChar == kSpace && byte == kNoBreakSpace);
    }
};

// The kinds of device a DC draws on.
enum class DcKind : uint8_t {
    Memory,    // the bitmap selected into it
    Display,   // a screen surface (the layer's screen, or one a test made)
    Printer,   // a page surface
    Metafile,  // no pixels: calls are only recorded
};

// What GetDeviceCaps reports. A memory DC reports the device it was made compatible with.
struct DeviceInfo {
    int technology = DT_RASDISPLAY;
    int width = 1024;
    int height = 768;
    int bitsPerPixel = 32;
    int dotsPerInch = 96;   // across
    int dotsPerInchY = 0;   // down; 0: as across
    int dpiDown() const { return dotsPerInchY ? dotsPerInchY : dotsPerInch; }
};

// What another area keeps with a DC for as long as the DC lives (a printer's document): it goes
// with the DC, so its destructor sees to whatever must not outlive it. DeleteDC drops it after
// the GDI lock is released.
struct DcAttachment {
    virtual ~DcAttachment() = default;
};

// The part of a DC's state SaveDC keeps.
struct DcState {
    COLORREF textColor = RGB(0, 0, 0);
    COLORREF backgroundColor = RGB(255, 255, 255);
    int backgroundMode = OPAQUE;
    int stretchMode = BLACKONWHITE;
    int rop2 = R2_COPYPEN;
    int polyFillMode = 1;  // ALTERNATE
    int32_t positionX = 0;
    int32_t positionY = 0;
    uint32_t pen = 0;
    uint32_t brush = 0;
    uint32_t palette = 0;
    uint32_t font = 0;
    UINT textAlign = 0;
    Justification justification;
    uint32_t bitmap = 0;  // memory DCs: the selected bitmap at the time of saving
    // SetViewportOrgEx: where logical (0, 0) lies relative to the device origin. The form library
    // draws each graphic control through its parent's DC moved to the control's corner.
    POINT viewport{};
    // The clipping region the program selected, in device coordinates; null: none. Never changed
    // in place (a new region replaces it), so saved levels share it.
    std::shared_ptr<const Region> clip;
};

// How a window DC's system region came about, so that the window manager can work it out again
// when its window moves: the DCX_ flags, a region it was cut to or cut by (screen coordinates;
// BeginPaint's update region, DCX_INTERSECTRGN, DCX_EXCLUDERGN) and the window tree generation it
// was made for.
struct WindowDcLink {
    uint32_t flags = 0;
    std::shared_ptr<const Region> extra;
    uint64_t generation = 0;
};

// What effectiveClip last worked out for a DC, and the inputs it came from.
struct ClipCache {
    std::shared_ptr<const Region> clip;
    std::shared_ptr<const Region> system;
    DeviceRect bounds;
    DeviceRect box;                         // the effective clip's bounding box
    std::shared_ptr<const Region> region;  // the effective clip when it is not one rectangle
};

struct DeviceContextObject final : HandleObject {
    uint32_t bitmap = 0;  // the selected bitmap; for displays and printers the device's surface
    DcKind kind = DcKind::Memory;
    DeviceInfo device;
    bool ownsSurface = false;  // a display or printer surface made for this DC alone
    bool fromGetDc = false;    // released with ReleaseDC
    std::shared_ptr<DcAttachment> attachment;
    DcState state;
    std::vector<DcState> saved;  // SaveDC levels 1, 2, ...
    // Where a styled pen's dash pattern stands: it runs on from one LineTo to the next and starts
    // afresh at MoveToEx.
    uint32_t penStyleStep = 0;
    // The part of the surface this DC may draw on at all, in device coordinates, whatever the
    // program's clipping region: a window's visible region, set by the window manager. Null: the
    // whole surface. Never changed in place.
    std::shared_ptr<const Region> systemRegion;
    ClipCache clipCache;  // see effectiveClip
    // Where device (0, 0) lies on the surface: a window DC's client or window corner on the
    // screen, (0, 0) for every other DC.
    POINT deviceOrigin{};
    // Where logical (0, 0) lies on the surface: deviceOrigin moved by the state's viewport origin
    // (kept up to date by whoever changes either). Each drawing call adds it to the coordinates it
    // is given; the clipping region and the system region are kept in device coordinates.
    POINT origin{};
    // A DC the window manager made for a window (GetDC, GetDCEx, GetWindowDC, BeginPaint): the
    // window, and how its system region and origin were worked out. 0: not a window DC.
    uint32_t window = 0;
    WindowDcLink link;
};

struct RegionObject final : HandleObject {
    Region region;
};

// Guards which bitmap is selected where, and the pixels and colour tables of every bitmap while a
// call reads or writes them.
std::mutex& gdiMutex();

std::shared_ptr<BitmapObject> findBitmap(uint32_t handle);
std::shared_ptr<DeviceContextObject> findDc(uint32_t handle);
// The window manager's hook that brings a window DC's system region and origin up to date with
// its window before a call uses the DC (findDc calls it for window DCs); none by default.
using WindowDcRefresher = void (*)(DeviceContextObject& dc);
void setWindowDcRefresher(WindowDcRefresher refresher);

// Runs 'body' on the DC under the GDI lock; 'failure' for a handle that is not a live DC.
template <class T, class Body>
T onDc(HDC dc, T failure, Body body) {
    std::lock_guard lock(gdiMutex());
    auto context = findDc(handleValue(dc));
    if (!context) return failure;
    return body(*context);
}
std::shared_ptr<PaletteObject> findPalette(uint32_t handle);
std::shared_ptr<PenObject> findPen(uint32_t handle);
std::shared_ptr<BrushObject> findBrush(uint32_t handle);
std::shared_ptr<FontObject> findFont(uint32_t handle);
std::shared_ptr<RegionObject> findRegion(uint32_t handle);
// findRegion for a call that refuses a handle that is not a live region, saying so.
std::shared_ptr<RegionObject> liveRegion(const CallRefuser& refuse, HRGN handle);
// Stock objects (GetStockObject's indices), made on first use; 0 for an index without one.
uint32_t stockObject(int index);
// The twenty colours of DEFAULT_PALETTE, the system colours of a palette screen.
const std::vector<RGBQUAD>& defaultPaletteColors();
// A new DC of the kind, its state fresh (stock pen, brush, palette and font); 0 when the table is full.
uint32_t addDc(std::shared_ptr<DeviceContextObject> dc);
// The stock monochrome bitmap, made on first use.
uint32_t stockBitmap();
// The table of a monochrome DDB: bit 0 black, bit 1 white.
std::vector<RGBQUAD> monochromeColors();

// A packed DIB (header, masks or colour table, bottom-up bits) of the bitmap's own depth in a new
// moveable global block; NULL when the bitmap is invalid or memory runs out.
HGLOBAL packBitmap(HBITMAP bitmap);
// A 32-bit DDB made from a packed DIB of 'size' bytes; NULL, the refusal said, when the DIB is
// damaged, does not fit in 'size', or is in a format the layer cannot read.
HBITMAP bitmapFromPackedDib(const void* data, size_t size, const CallRefuser& refuse);

}  // namespace winplat::gdi

#endif
