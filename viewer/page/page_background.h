// The picture behind a page, a text frame or a list pane: loaded once into a device bitmap,
// placed once at the top left or tiled, and scrolled with the content. It paints what lies behind
// text for the run painter (PageBackdrop) and behind objects for the page painter.
#ifndef LECT32_PAGE_PAGE_BACKGROUND_H
#define LECT32_PAGE_PAGE_BACKGROUND_H

#include <cstdint>
#include <functional>

#include "text/text_formatter.h"
#include "winplat/owners.h"
#include "winplat/types.h"

namespace lect32 {

class FileNameTable;

class PageBackground final : public PageBackdrop {
public:
    static constexpr uint8_t kNoPicture = 255;  // placement mode: plain brush fills
    static constexpr uint8_t kOnce = 0;         // placement mode: one picture at the origin
    // Any other mode tiles the picture.

    // The document whose picture table a lookup with switchDocument uses: made active for the
    // lookup by the hook (given the owner window), which returns what puts the previous one back.
    using DocumentSwitch = std::function<std::function<void()>(HWND window)>;
    static void SetDocumentSwitch(DocumentSwitch activateOwner);

    // 'pictures': the picture table to look pictures up in; null: the open document's.
    explicit PageBackground(FileNameTable* pictures = nullptr) : pictures_(pictures) {}

    // Index -1: no picture (mode 255), nothing else changes. The index and mode in use already:
    // nothing. Otherwise the picture of that index in the picture table is loaded (from the
    // picture store when its path names no file) and the scroll origins start at 0.
    void SetPicture(HWND window, int16_t index, uint8_t mode, bool switchDocument);
    // Loads the picture into a bitmap for the window's display (see LoadForDevice).
    void Load(HWND window, const char* path, uint16_t storeNumber);
    // Loads the picture of 'path', else picture 'storeNumber' (not 0) of the picture store. On
    // a device of 8 bits per pixel or less the picture is copied into a bitmap compatible with
    // it; deeper devices take the image's own bitmap. When nothing loads: mode 255 and the
    // program's 32 x 32 white picture, so that drawing always has a bitmap.
    void LoadForDevice(HDC reference, const char* path, uint16_t storeNumber);

    // Negative origins are raised by whole sizes first; the picture's position within itself is
    // kept (x mod width, y mod height; 0 without a size) beside the origins as given.
    void SetScrollOrigin(int16_t x, int32_t y);
    void SetShown(bool shown) { shown_ = shown; }
    bool IsShown() const { return shown_; }

    // Tiles the picture over the rectangle, its first column at -(x origin), its first row at
    // -(y origin); white while a document prints; nothing without a picture.
    void DrawPicture(HDC device, int left, int top, int right, int bottom);
    // The same from the origin given.
    void DrawPictureAt(HDC device, int left, int top, int right, int bottom, int originX, int originY);

    // Fills the rectangle with the picture, or with the brush where there is none: everywhere
    // without a picture (mode 255) or when it is not shown (FillIfShown only); right of and below
    // a picture placed once. While printing without backgrounds, every fill is white.
    void FillIfShown(HDC device, const RECT& rect, HBRUSH brush) override;
    void Fill(HDC device, const RECT& rect, HBRUSH brush);
    // Fill with the tiling origin given; a picture placed once is measured from the origin.
    void FillTiledAt(HDC device, const RECT& rect, HBRUSH brush, int x, int y);

    bool BackgroundShown() const override { return mode_ != kNoPicture; }

    int16_t PictureIndex() const { return index_; }
    uint8_t Mode() const { return mode_; }
    HBITMAP Bitmap() const { return bitmap_.get(); }
    int16_t Width() const { return width_; }
    int16_t Height() const { return height_; }
    int16_t OriginX() const { return originX_; }
    int32_t OriginY() const { return originY_; }
    int16_t RawOriginX() const { return rawX_; }
    int32_t RawOriginY() const { return rawY_; }

private:
    // The picture where it lies with its corner at (-originX, -originY): the part inside 'area'.
    void tile(HDC device, const RECT& area, int64_t originX, int64_t originY);
    // The brush, the picture or both, for a picture whose top left corner lies at (right, bottom)
    // less its size.
    void fillFrom(HDC device, const RECT& rect, HBRUSH brush, int originX, int originY, int pictureRight,
                  int pictureBottom);
    void useWhitePicture();

    FileNameTable* pictures_;
    int16_t index_ = -1;
    winplat::OwnedBitmap bitmap_;
    int16_t width_ = 0;
    int16_t height_ = 0;
    int16_t originX_ = 0;
    int16_t rawX_ = 0;
    int32_t originY_ = 0;
    int32_t rawY_ = 0;
    uint8_t mode_ = kNoPicture;
    bool shown_ = true;
};

}  // namespace lect32

#endif
