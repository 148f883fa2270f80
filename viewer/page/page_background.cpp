#include "page/page_background.h"

#include <algorithm>
#include <utility>

#include "page/picture_store.h"
#include "pixmill/pixmill.h"
#include "pixmill/pixmill_draw.h"
#include "store/document_paths.h"
#include "store/document_tables.h"
#include "store/file_name_table.h"
#include "store/printing_state.h"
#include "text/font_cache.h"
#include "winplat/module.h"
#include "winplat/refusal.h"

namespace lect32 {
namespace {

constexpr winplat::Refuser refuse("lect32: page background");
constexpr int kWhiteSize = 32;

PageBackground::DocumentSwitch& documentSwitch() {
    static PageBackground::DocumentSwitch hook;
    return hook;
}

bool printing() { return PrintingFlag || GetPrintJobDevice(); }

// The remainder that is never negative: where x lies within a period that starts at 0.
int64_t wrap(int64_t value, int64_t period) { return ((value % period) + period) % period; }

HBRUSH whiteBrush() { return static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)); }

void fillWith(HDC device, const RECT& rect, HBRUSH brush) {
    if (rect.right > rect.left && rect.bottom > rect.top) FillRect(device, &rect, brush);
}

}  // namespace

void PageBackground::SetDocumentSwitch(DocumentSwitch activateOwner) { documentSwitch() = std::move(activateOwner); }

void PageBackground::SetPicture(HWND window, int16_t index, uint8_t mode, bool switchDocument) {
    if (index == -1) {
        mode_ = kNoPicture;
        return;
    }
    if (index == index_ && mode == mode_) return;
    mode_ = mode;
    char path[FileNameTable::kPathBuffer] = "";
    uint16_t number = 0;
    {
        std::function<void()> restore;
        if (switchDocument && documentSwitch()) restore = documentSwitch()(window);
        FileNameTable& table = pictures_ ? *pictures_ : documentFileNames();
        table.GetPath(index, path);
        if (!ResolveDocumentFile(path)) {
            const uint16_t tag = table.GetTag(static_cast<uint16_t>(index));
            number = tag == 0xFFFF ? 0 : tag;
        }
        if (restore) restore();
    }
    Load(window, path, number);
    SetScrollOrigin(0, 0);
    index_ = index;
}

void PageBackground::Load(HWND window, const char* path, uint16_t storeNumber) {
    const winplat::BorrowedDc display(window);
    LoadForDevice(display.get(), path, storeNumber);
}

void PageBackground::LoadForDevice(HDC reference, const char* path, uint16_t storeNumber) {
    bitmap_.reset();
    width_ = height_ = 0;
    PxlImageId id = path && *path ? PXLLoadImage(0, path, nullptr) : 0;
    if (id <= 0 && storeNumber != 0) {
        char storePath[kDocumentPathBuffer];
        uint32_t length = 0;
        const uint32_t offset = OpenPictureStore(storeNumber, &length, storePath);
        if (offset && offset <= 0x7FFFFFFFu) id = PXLLoadImageOffset(0, storePath, static_cast<int32_t>(offset), nullptr);
    }
    if (id <= 0) {
        refuse.log("the background picture cannot be loaded: plain fills");
        useWhitePicture();
        return;
    }
    width_ = PXLWidth(id);
    height_ = PXLHeight(id);
    if (reference && GetDeviceCaps(reference, BITSPIXEL) <= 8) {
        // A palette device draws a copy made for it once, not the picture's own colours each time.
        winplat::OwnedBitmap copy(CreateCompatibleBitmap(reference, width_, height_));
        const winplat::MemoryDc target(CreateCompatibleDC(reference));
        if (copy && target) {
            const winplat::Selection chosen(target.get(), copy.get());
            PXLBitBlt(target.get(), 0, 0, width_, height_, id, 0, 0, width_, height_, PXL_DRAW_TILED_GDI, SRCCOPY, 0);
        }
        PXLDeleteImage(id);
        bitmap_ = std::move(copy);
    } else {
        // The image's own bitmap is kept; the image goes without it.
        bitmap_.reset(PXLDeleteImageDetach(id));
    }
    if (!bitmap_) {
        refuse.log("the background picture has no bitmap: plain fills");
        useWhitePicture();
    }
}

void PageBackground::useWhitePicture() {
    mode_ = kNoPicture;
    bitmap_.reset(LoadBitmapA(GetModuleHandleA("lect32.exe"), "WHITERECT"));
    width_ = height_ = bitmap_ ? kWhiteSize : 0;
}

void PageBackground::SetScrollOrigin(int16_t x, int32_t y) {
    rawX_ = x;
    rawY_ = y;
    if (width_ <= 0 || height_ <= 0) {
        originX_ = 0;
        originY_ = 0;
        return;
    }
    originX_ = static_cast<int16_t>(wrap(x, width_));
    originY_ = static_cast<int32_t>(wrap(y, height_));
}

void PageBackground::DrawPicture(HDC device, int left, int top, int right, int bottom) {
    DrawPictureAt(device, left, top, right, bottom, originX_, originY_);
}

void PageBackground::DrawPictureAt(HDC device, int left, int top, int right, int bottom, int originX, int originY) {
    const RECT area{left, top, right, bottom};
    if (printing()) {
        fillWith(device, area, whiteBrush());
        return;
    }
    if (!bitmap_ || width_ <= 0 || height_ <= 0) return;
    tile(device, area, originX, originY);
}

void PageBackground::tile(HDC device, const RECT& area, int64_t originX, int64_t originY) {
    if (area.right <= area.left || area.bottom <= area.top) return;
    const winplat::MemoryDc source(CreateCompatibleDC(device));
    if (!source) return;
    const winplat::Selection chosen(source.get(), bitmap_.get());
    if (!chosen) return;
    // The tiles lie at -origin + k * size; start with the one that holds the area's top left.
    const int64_t firstX = area.left - wrap(area.left + originX, width_);
    const int64_t firstY = area.top - wrap(area.top + originY, height_);
    for (int64_t y = firstY; y < area.bottom; y += height_) {
        const int top = static_cast<int>(std::max<int64_t>(y, area.top));
        const int bottom = static_cast<int>(std::min<int64_t>(y + height_, area.bottom));
        for (int64_t x = firstX; x < area.right; x += width_) {
            const int left = static_cast<int>(std::max<int64_t>(x, area.left));
            const int right = static_cast<int>(std::min<int64_t>(x + width_, area.right));
            StretchBlt(device, left, top, right - left, bottom - top, source.get(), static_cast<int>(left - x),
                       static_cast<int>(top - y), right - left, bottom - top, SRCCOPY);
        }
    }
}

void PageBackground::FillIfShown(HDC device, const RECT& rect, HBRUSH brush) {
    if (IgnoreBackgroundsFlag) fillWith(device, rect, whiteBrush());
    else if (!shown_) fillWith(device, rect, brush);
    else fillFrom(device, rect, brush, originX_, originY_, width_ - originX_, height_ - originY_);
}

void PageBackground::Fill(HDC device, const RECT& rect, HBRUSH brush) {
    if (IgnoreBackgroundsFlag) fillWith(device, rect, whiteBrush());
    else fillFrom(device, rect, brush, originX_, originY_, width_ - originX_, height_ - originY_);
}

void PageBackground::FillTiledAt(HDC device, const RECT& rect, HBRUSH brush, int x, int y) {
    if (IgnoreBackgroundsFlag) {
        fillWith(device, rect, whiteBrush());
        return;
    }
    const int originX = width_ > 0 ? static_cast<int>(wrap(x, width_)) : 0;
    const int originY = height_ > 0 ? static_cast<int>(wrap(y, height_)) : 0;
    fillFrom(device, rect, brush, originX, originY, width_, height_);
}

void PageBackground::fillFrom(HDC device, const RECT& rect, HBRUSH brush, int originX, int originY, int pictureRight,
                              int pictureBottom) {
    const bool startsInside = rect.left < pictureRight && rect.top < pictureBottom;
    if (mode_ == kNoPicture || (mode_ == kOnce && !startsInside)) {
        fillWith(device, rect, brush);
        return;
    }
    RECT picture = rect;
    if (mode_ == kOnce) {
        if (pictureRight < picture.right) {
            fillWith(device, {pictureRight, picture.top, picture.right, picture.bottom}, brush);
            picture.right = pictureRight;
        }
        if (pictureBottom < picture.bottom) {
            fillWith(device, {picture.left, pictureBottom, picture.right, picture.bottom}, brush);
            picture.bottom = pictureBottom;
        }
    }
    DrawPictureAt(device, picture.left, picture.top, picture.right, picture.bottom, originX, originY);
}

}  // namespace lect32
