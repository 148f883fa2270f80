// Device contexts beyond memory DCs (the screen, test displays, printer pages, metafiles), the
// state every DC keeps, palettes on DCs and what GetDeviceCaps reports.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <utility>

#include "base/call_refusal.h"
#include "gdi/dib_format.h"
#include "gdi/paint.h"
#include "gdi/printer_page.h"
#include "gdi/screen_surface.h"
#include "winplat/base.h"
#include "winplat/draw.h"
#include "winplat/refusal.h"
#include "winplat/testing.h"
#include "winplat/text.h"

namespace winplat::gdi {
namespace {

constexpr int kScreenDpi = 96;

DeviceInfo screenInfo() {
    const ScreenExtent screen = screenExtent();
    return DeviceInfo{DT_RASDISPLAY, screen.width, screen.height, 32, kScreenDpi};
}

// The colour table an 8-bit screen starts with: the twenty system colours at both ends (black at
// 0, white at 255, so that ANDing and ORing indices in the masked-icon idiom works as on colours),
// between them a 6 x 6 x 6 cube without its black and white and 22 greys the rest lacks.
std::vector<RGBQUAD> screenPalette() {
    const std::vector<RGBQUAD>& system = defaultPaletteColors();
    std::vector<RGBQUAD> table(system.begin(), system.begin() + 10);
    for (int red = 0; red < 6; ++red) {
        for (int green = 0; green < 6; ++green) {
            for (int blue = 0; blue < 6; ++blue) {
                const int sum = red + green + blue;
                if (sum == 0 || sum == 15) continue;
                table.push_back(RGBQUAD{static_cast<BYTE>(51 * blue), static_cast<BYTE>(51 * green),
                                        static_cast<BYTE>(51 * red), 0});
            }
        }
    }
    for (int step = 1; step <= 22; ++step) {
        const auto level = static_cast<BYTE>(11 * step);
        table.push_back(RGBQUAD{level, level, level, 0});
    }
    table.insert(table.end(), system.begin() + 10, system.end());
    return table;
}

// A DC over a surface of its own, which goes when the DC does.
HDC addSurfaceDc(DcKind kind, std::unique_ptr<Surface> surface, const DeviceInfo& device) {
    if (!surface) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    auto bitmap = std::make_shared<BitmapObject>();
    bitmap->surface = std::move(surface);
    bitmap->dibSection = true;
    bitmap->deviceSurface = true;
    auto dc = std::make_shared<DeviceContextObject>();
    dc->kind = kind;
    dc->device = device;
    dc->ownsSurface = true;
    std::lock_guard lock(gdiMutex());
    const uint32_t bitmapHandle = handleTable().add(HandleType::Bitmap, bitmap);
    if (!bitmapHandle) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    dc->bitmap = bitmapHandle;
    const uint32_t handle = addDc(std::move(dc));
    if (!handle) {
        handleTable().remove(bitmapHandle, HandleType::Bitmap);
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    bitmap->selectedInto = handle;
    return makeHandle<HDC>(handle);
}

// Millimetres of 'pixels' at 'dpi', rounded.
int millimetres(int pixels, int dpi) {
    return static_cast<int>(std::lround(pixels * 25.4 / dpi));
}

int deviceCaps(const DeviceContextObject& dc, int index) {
    const DeviceInfo& d = dc.device;
    const bool printer = d.technology == DT_RASPRINTER;
    const bool palette = !printer && d.bitsPerPixel == 8;
    switch (index) {
        case TECHNOLOGY:
            return dc.kind == DcKind::Metafile ? DT_METAFILE : d.technology;
        case HORZSIZE:
            return millimetres(d.width, d.dotsPerInch);
        case VERTSIZE:
            return millimetres(d.height, d.dpiDown());
        case HORZRES:
            return d.width;
        case VERTRES:
            return d.height;
        case BITSPIXEL:
            return d.bitsPerPixel;
        case PLANES:
            return 1;
        case NUMCOLORS:
            return d.bitsPerPixel <= 8 ? 1 << d.bitsPerPixel : -1;
        case RASTERCAPS:
            return RC_BITBLT | RC_BITMAP64 | RC_DI_BITMAP | RC_DIBTODEV | RC_STRETCHBLT | RC_STRETCHDIB |
                   (palette ? RC_PALETTE : 0);
        case LOGPIXELSX:
            return d.dotsPerInch;
        case LOGPIXELSY:
            return d.dpiDown();
        case SIZEPALETTE:
            return palette ? 256 : 0;
        case PHYSICALWIDTH:
            return printer ? d.width : 0;
        case PHYSICALHEIGHT:
            return printer ? d.height : 0;
        case PHYSICALOFFSETX:
        case PHYSICALOFFSETY:
            return 0;
        default: {
            constexpr Refuser refuse("winplat: GetDeviceCaps");
            return refuse.unsupported(0, "index " + std::to_string(index));
        }
    }
}

// Brings back the bitmap a memory DC held when its state was saved, when that bitmap is still
// there and free; otherwise the DC keeps the one it has.
void restoreBitmap(DeviceContextObject& dc, uint32_t dcHandle, uint32_t wanted) {
    if (dc.kind != DcKind::Memory || wanted == dc.bitmap) return;
    auto bitmap = findBitmap(wanted);
    if (!bitmap || bitmap->deviceSurface || (!bitmap->stock && bitmap->selectedInto)) {
        constexpr Refuser refuse("winplat: RestoreDC");
        refuse.log("restoring the saved bitmap, which is gone or in use: the DC keeps the current one");
        return;
    }
    if (auto old = findBitmap(dc.bitmap); old && !old->stock) old->selectedInto = 0;
    if (!bitmap->stock) bitmap->selectedInto = dcHandle;
    dc.bitmap = wanted;
}

}  // namespace
}  // namespace winplat::gdi

using namespace winplat;
using namespace winplat::gdi;

namespace winplat::testing {

HDC createDisplayDc(int width, int height, int bitsPerPixel) {
    if (width <= 0 || height <= 0 || !isSupportedDepth(bitsPerPixel)) {
        constexpr CallRefuser refuse("winplat: createDisplayDc");
        return refuse(nullptr, std::to_string(width) + " x " + std::to_string(height) + " at " +
                                   std::to_string(bitsPerPixel) + " bits");
    }
    // 16-bit screens are 5-6-5; 1- and 4-bit screens have the black-and-white and VGA tables.
    const BitMasks masks = bitsPerPixel == 16 ? kMasks565 : BitMasks{};
    auto surface = Surface::create(width, height, bitsPerPixel, true, masks,
                                   bitsPerPixel == 8 ? screenPalette() : defaultColorTable(bitsPerPixel));
    return addSurfaceDc(DcKind::Display, std::move(surface),
                        DeviceInfo{DT_RASDISPLAY, width, height, bitsPerPixel, kScreenDpi});
}

HDC createPrinterDc(int width, int height, int dotsPerInch) {
    return gdi::createPrinterPage(width, height, dotsPerInch, dotsPerInch);
}

HDC createMetafileDc() {
    auto dc = std::make_shared<DeviceContextObject>();
    dc->kind = DcKind::Metafile;
    dc->device = screenInfo();  // the reference device a metafile is recorded against
    const uint32_t handle = addDc(std::move(dc));
    if (!handle) SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return makeHandle<HDC>(handle);
}

HBITMAP surfaceOf(HDC dc) {
    return onDc(dc, HBITMAP{}, [](DeviceContextObject& context) {
        return context.kind == DcKind::Metafile ? HBITMAP{} : makeHandle<HBITMAP>(context.bitmap);
    });
}

}  // namespace winplat::testing

namespace winplat::gdi {

HDC createPrinterPage(int width, int height, int dotsPerInchX, int dotsPerInchY) {
    if (width <= 0 || height <= 0 || dotsPerInchX <= 0 || dotsPerInchY <= 0) {
        constexpr CallRefuser refuse("winplat: printer page");
        return refuse(nullptr, "a page of " + std::to_string(width) + " x " + std::to_string(height) + " at " +
                                   std::to_string(dotsPerInchX) + " x " + std::to_string(dotsPerInchY) + " dpi");
    }
    auto surface = Surface::create(width, height, 24, true);
    if (surface) std::memset(surface->bits(), 0xFF, surface->sizeBytes());  // blank paper
    return addSurfaceDc(DcKind::Printer, std::move(surface),
                        DeviceInfo{DT_RASPRINTER, width, height, 24, dotsPerInchX, dotsPerInchY});
}

bool blankPrinterPage(HDC dc) {
    return onDc(dc, false, [](DeviceContextObject& context) {
        Surface* surface = context.kind == DcKind::Printer ? drawingSurface(context) : nullptr;
        if (!surface) return false;
        std::memset(surface->bits(), 0xFF, surface->sizeBytes());
        return true;
    });
}

bool isPrinterDc(HDC dc) {
    return onDc(dc, false, [](DeviceContextObject& context) { return context.kind == DcKind::Printer; });
}

std::shared_ptr<DcAttachment> attachmentOf(HDC dc) {
    return onDc(dc, std::shared_ptr<DcAttachment>{}, [](DeviceContextObject& context) { return context.attachment; });
}

bool attach(HDC dc, std::shared_ptr<DcAttachment> attachment) {
    return onDc(dc, false, [&attachment](DeviceContextObject& context) {
        context.attachment = std::move(attachment);
        return true;
    });
}

HDC newScreenDc(std::shared_ptr<DeviceContextObject>* made) {
    const uint32_t screen = screenBitmap();
    if (!screen) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    auto dc = std::make_shared<DeviceContextObject>();
    dc->kind = DcKind::Display;
    dc->device = screenInfo();
    dc->bitmap = screen;
    dc->fromGetDc = true;
    if (made) *made = dc;
    const uint32_t handle = addDc(std::move(dc));
    if (!handle) SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return makeHandle<HDC>(handle);
}

}  // namespace winplat::gdi

BOOL GetDCOrgEx(HDC dc, LPPOINT origin) {
    if (!origin) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return onDc(dc, BOOL{FALSE}, [origin](DeviceContextObject& context) {
        *origin = context.deviceOrigin;
        return TRUE;
    });
}

BOOL SetViewportOrgEx(HDC dc, int x, int y, LPPOINT previous) {
    return onDc(dc, BOOL{FALSE}, [x, y, previous](DeviceContextObject& context) {
        if (previous) *previous = context.state.viewport;
        context.state.viewport = {x, y};
        context.origin = {context.deviceOrigin.x + x, context.deviceOrigin.y + y};
        return TRUE;
    });
}

BOOL GetViewportOrgEx(HDC dc, LPPOINT origin) {
    if (!origin) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return onDc(dc, BOOL{FALSE}, [origin](DeviceContextObject& context) {
        *origin = context.state.viewport;
        return TRUE;
    });
}

HGDIOBJ GetCurrentObject(HDC dc, UINT type) {
    return onDc(dc, HGDIOBJ{}, [type](DeviceContextObject& context) -> HGDIOBJ {
        switch (type) {
            case OBJ_PEN:
                return makeHandle<HGDIOBJ>(context.state.pen);
            case OBJ_BRUSH:
                return makeHandle<HGDIOBJ>(context.state.brush);
            case OBJ_PAL:
                return makeHandle<HGDIOBJ>(context.state.palette);
            case OBJ_FONT:
                return makeHandle<HGDIOBJ>(context.state.font);
            case OBJ_BITMAP:
                return context.kind == DcKind::Metafile ? nullptr : makeHandle<HGDIOBJ>(context.bitmap);
            default: {
                constexpr CallRefuser refuse("winplat: GetCurrentObject");
                return refuse.unsupported(nullptr, "object type " + std::to_string(type));
            }
        }
    });
}

COLORREF SetTextColor(HDC dc, COLORREF color) {
    return onDc(dc, COLORREF{CLR_INVALID}, [color](DeviceContextObject& context) {
        return std::exchange(context.state.textColor, color);
    });
}

COLORREF GetTextColor(HDC dc) {
    return onDc(dc, COLORREF{CLR_INVALID},
                [](DeviceContextObject& context) { return context.state.textColor; });
}

COLORREF SetBkColor(HDC dc, COLORREF color) {
    return onDc(dc, COLORREF{CLR_INVALID}, [color](DeviceContextObject& context) {
        return std::exchange(context.state.backgroundColor, color);
    });
}

COLORREF GetBkColor(HDC dc) {
    return onDc(dc, COLORREF{CLR_INVALID},
                [](DeviceContextObject& context) { return context.state.backgroundColor; });
}

int SetBkMode(HDC dc, int mode) {
    if (mode != TRANSPARENT && mode != OPAQUE) {
        constexpr CallRefuser refuse("winplat: SetBkMode");
        return refuse.unsupported(0, "mode " + std::to_string(mode));
    }
    return onDc(dc, 0, [mode](DeviceContextObject& context) {
        return std::exchange(context.state.backgroundMode, mode);
    });
}

int GetBkMode(HDC dc) {
    return onDc(dc, 0, [](DeviceContextObject& context) { return context.state.backgroundMode; });
}

int SetStretchBltMode(HDC dc, int mode) {
    if (mode < BLACKONWHITE || mode > HALFTONE) {
        constexpr CallRefuser refuse("winplat: SetStretchBltMode");
        return refuse.unsupported(0, "mode " + std::to_string(mode));
    }
    return onDc(dc, 0, [mode](DeviceContextObject& context) {
        return std::exchange(context.state.stretchMode, mode);
    });
}

int GetStretchBltMode(HDC dc) {
    return onDc(dc, 0, [](DeviceContextObject& context) { return context.state.stretchMode; });
}

int SetROP2(HDC dc, int rop2) {
    if (rop2 < R2_BLACK || rop2 > R2_WHITE) {
        constexpr CallRefuser refuse("winplat: SetROP2");
        return refuse.unsupported(0, "mode " + std::to_string(rop2));
    }
    return onDc(dc, 0,
                [rop2](DeviceContextObject& context) { return std::exchange(context.state.rop2, rop2); });
}

int GetROP2(HDC dc) {
    return onDc(dc, 0, [](DeviceContextObject& context) { return context.state.rop2; });
}

int SaveDC(HDC dc) {
    return onDc(dc, 0, [](DeviceContextObject& context) {
        DcState level = context.state;
        level.bitmap = context.bitmap;
        context.saved.push_back(level);
        return static_cast<int>(context.saved.size());
    });
}

BOOL RestoreDC(HDC dc, int saved) {
    const uint32_t dcHandle = handleValue(dc);
    return onDc(dc, BOOL{FALSE}, [saved, dcHandle](DeviceContextObject& context) -> BOOL {
        const int depth = static_cast<int>(context.saved.size());
        // Negative: counted back from the latest level; positive: the level SaveDC returned.
        const int level = saved < 0 ? depth + saved + 1 : saved;
        if (saved == 0 || level < 1 || level > depth) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return FALSE;
        }
        DcState state = context.saved[static_cast<size_t>(level - 1)];
        context.saved.resize(static_cast<size_t>(level - 1));
        restoreBitmap(context, dcHandle, state.bitmap);
        state.bitmap = 0;
        context.state = state;
        context.origin = {context.deviceOrigin.x + state.viewport.x, context.deviceOrigin.y + state.viewport.y};
        return TRUE;
    });
}

HPALETTE SelectPalette(HDC dc, HPALETTE palette, BOOL) {
    const uint32_t handle = handleValue(palette);
    return onDc(dc, HPALETTE{}, [handle](DeviceContextObject& context) -> HPALETTE {
        if (!findPalette(handle)) return nullptr;
        return makeHandle<HPALETTE>(std::exchange(context.state.palette, handle));
    });
}

UINT RealizePalette(HDC dc) {
    return onDc(dc, UINT{0}, [](DeviceContextObject& context) -> UINT {
        // Only an 8-bit screen has a hardware palette; the realised palette becomes its colour
        // table from entry 0 (no entries are held back for the system), and what is on screen
        // changes colour with it, as on such a screen.
        Surface* surface = drawingSurface(context);
        if (context.kind != DcKind::Display || !surface || surface->bitsPerPixel() != 8) return 0;
        auto palette = findPalette(context.state.palette);
        if (!palette) return 0;
        const size_t count = std::min<size_t>(palette->entries.size(), 256);
        std::vector<RGBQUAD>& table = surface->colors();
        if (table.size() < 256) table.resize(256, RGBQUAD{0, 0, 0, 0});
        for (size_t i = 0; i < count; ++i) {
            const PALETTEENTRY& entry = palette->entries[i];
            table[i] = RGBQUAD{entry.peBlue, entry.peGreen, entry.peRed, 0};
        }
        return static_cast<UINT>(count);
    });
}

int GetDeviceCaps(HDC dc, int index) {
    return onDc(dc, 0, [index](DeviceContextObject& context) { return deviceCaps(context, index); });
}

BOOL GdiFlush(void) {
    return TRUE;  // drawing is done by the time each call returns
}
