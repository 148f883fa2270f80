#include "winforms/canvas.h"

#include <string>

#include "winforms/bitmap.h"
#include "winplat/owners.h"
#include "winplat/refusal.h"
#include "winplat/region.h"
#include "winplat/text.h"

namespace winforms {
namespace {

constexpr winplat::Refuser refuseCanvas("winforms: Canvas");

int ClampedCount(std::span<const POINT> points) {
    return points.size() > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(points.size());
}

}  // namespace

Canvas::Canvas() = default;

Canvas::Canvas(HDC dc) : dc_(dc) {
    if (dc_) MoveToEx(dc_, 0, 0, nullptr);
}

Canvas::~Canvas() { Release(); }

void Canvas::SetHandle(HDC dc) {
    if (dc == dc_) return;
    Release();
    dc_ = dc;
    if (dc_) MoveToEx(dc_, penPos_.x, penPos_.y, nullptr);
}

void Canvas::Release() {
    if (dc_) {
        // The DC's own objects go back before ours may be deleted.
        if (originalPen_) SelectObject(dc_, originalPen_);
        if (originalBrush_) SelectObject(dc_, originalBrush_);
        if (originalFont_) SelectObject(dc_, originalFont_);
    }
    originalPen_ = originalBrush_ = originalFont_ = nullptr;
    selectedPen_.reset();
    selectedBrush_.reset();
    selectedFont_.reset();
}

// Selects 'object' unless it is selected already; the first selection remembers the DC's own
// object, and the one replaced stays alive until now.
static void SelectShared(HDC dc, const SharedGdiObject& object, SharedGdiObject& selected, HGDIOBJ& original) {
    if (!object || object == selected) return;
    HGDIOBJ previous = SelectObject(dc, object->get());
    if (!previous) return;
    if (!original) original = previous;
    selected = object;
}

bool Canvas::Prepare() const {
    if (!dc_) return false;
    SelectShared(dc_, pen_.SharedHandle(), selectedPen_, originalPen_);
    SelectShared(dc_, brush_.SharedHandle(), selectedBrush_, originalBrush_);
    SelectShared(dc_, font_.SharedHandle(), selectedFont_, originalFont_);
    SetROP2(dc_, Rop2Of(pen_.Mode()));
    SetPolyFillMode(dc_, fillRule_ == FillRule::Winding ? WINDING : ALTERNATE);
    SetTextColor(dc_, font_.Color());
    SetBkColor(dc_, brush_.Color());
    // The gaps of styled pens and hatches are left alone; text sets its own background.
    SetBkMode(dc_, TRANSPARENT);
    return true;
}

void Canvas::MoveTo(int x, int y) {
    penPos_ = POINT{x, y};
    if (dc_) MoveToEx(dc_, x, y, nullptr);
}

void Canvas::LineTo(int x, int y) {
    // The DC's current position is the pen position (MoveTo and SetHandle keep them together);
    // moving it again here would restart a styled pen's pattern at every line.
    if (Prepare()) ::LineTo(dc_, x, y);
    penPos_ = POINT{x, y};
}

void Canvas::Polyline(std::span<const POINT> points) {
    if (points.size() >= 2 && Prepare()) ::Polyline(dc_, points.data(), ClampedCount(points));
}

void Canvas::Polygon(std::span<const POINT> points) {
    if (points.size() >= 2 && Prepare()) ::Polygon(dc_, points.data(), ClampedCount(points));
}

void Canvas::Rectangle(int left, int top, int right, int bottom) {
    if (Prepare()) ::Rectangle(dc_, left, top, right, bottom);
}

void Canvas::FillRect(const RECT& rect) {
    if (Prepare()) ::FillRect(dc_, &rect, brush_.Handle());
}

void Canvas::FrameRect(const RECT& rect) {
    if (!Prepare() || rect.right <= rect.left || rect.bottom <= rect.top) return;
    // Four one-pixel bands in the brush, each pixel once.
    HBRUSH brush = brush_.Handle();
    const RECT bands[4] = {
        {rect.left, rect.top, rect.right, rect.top + 1},
        {rect.left, rect.bottom - 1, rect.right, rect.bottom},
        {rect.left, rect.top + 1, rect.left + 1, rect.bottom - 1},
        {rect.right - 1, rect.top + 1, rect.right, rect.bottom - 1},
    };
    for (const RECT& band : bands) {
        if (band.right > band.left && band.bottom > band.top) ::FillRect(dc_, &band, brush);
    }
}

void Canvas::Ellipse(int left, int top, int right, int bottom) {
    if (Prepare()) ::Ellipse(dc_, left, top, right, bottom);
}

void Canvas::Arc(int left, int top, int right, int bottom, int startX, int startY, int endX, int endY) {
    if (Prepare()) ::Arc(dc_, left, top, right, bottom, startX, startY, endX, endY);
}

void Canvas::Chord(int left, int top, int right, int bottom, int startX, int startY, int endX, int endY) {
    if (Prepare()) ::Chord(dc_, left, top, right, bottom, startX, startY, endX, endY);
}

void Canvas::Pie(int left, int top, int right, int bottom, int startX, int startY, int endX, int endY) {
    if (Prepare()) ::Pie(dc_, left, top, right, bottom, startX, startY, endX, endY);
}

COLORREF Canvas::Pixel(int x, int y) const { return dc_ ? GetPixel(dc_, x, y) : CLR_INVALID; }

void Canvas::SetPixel(int x, int y, COLORREF color) {
    if (dc_) ::SetPixel(dc_, x, y, color);
}

void Canvas::TextOut(int x, int y, std::string_view text) {
    if (!Prepare()) return;
    if (brush_.Style() != BrushStyle::Clear) SetBkMode(dc_, OPAQUE);
    ::TextOutA(dc_, x, y, text.data(), static_cast<int>(text.size()));
    SetBkMode(dc_, TRANSPARENT);
    MoveTo(x + TextWidth(text), y);
}

void Canvas::TextRect(const RECT& rect, int x, int y, std::string_view text) {
    if (!Prepare()) return;
    UINT options = ETO_CLIPPED;
    if (brush_.Style() != BrushStyle::Clear) {
        options |= ETO_OPAQUE;
        SetBkMode(dc_, OPAQUE);
    }
    ::ExtTextOutA(dc_, x, y, options, &rect, text.data(), static_cast<UINT>(text.size()), nullptr);
    SetBkMode(dc_, TRANSPARENT);
}

SIZE Canvas::TextExtent(std::string_view text) const {
    SIZE size{0, 0};
    if (Prepare()) GetTextExtentPoint32A(dc_, text.data(), static_cast<int>(text.size()), &size);
    return size;
}

void Canvas::CopyRect(const RECT& dest, const Canvas& source, const RECT& sourceRect) {
    if (!Prepare() || !source.Handle()) return;
    StretchBlt(dc_, dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top, source.Handle(),
               sourceRect.left, sourceRect.top, sourceRect.right - sourceRect.left, sourceRect.bottom - sourceRect.top,
               copyMode_);
}

void Canvas::Draw(int x, int y, const Bitmap& bitmap) {
    DrawBitmap(RECT{x, y, x + bitmap.Width(), y + bitmap.Height()}, bitmap);
}

void Canvas::StretchDraw(const RECT& dest, const Bitmap& bitmap) { DrawBitmap(dest, bitmap); }

void Canvas::DrawBitmap(const RECT& dest, const Bitmap& bitmap) {
    if (bitmap.Empty() || !Prepare()) return;
    const int width = dest.right - dest.left;
    const int height = dest.bottom - dest.top;
    HDC source = bitmap.DC();
    if (!bitmap.Transparent()) {
        StretchBlt(dc_, dest.left, dest.top, width, height, source, 0, 0, bitmap.Width(), bitmap.Height(), copyMode_);
        return;
    }
    // A mask with 1 where the source shows the transparent colour: the destination is XORed with
    // the source, cleared where the mask is 0 and XORed again, so transparent pixels come back
    // unchanged and the others take the source.
    winplat::MemoryDc maskDc(CreateCompatibleDC(dc_));
    winplat::OwnedBitmap mask(CreateBitmap(bitmap.Width(), bitmap.Height(), 1, 1, nullptr));
    if (!maskDc || !mask) {
        refuseCanvas.log("no memory for a transparency mask");
        return;
    }
    winplat::Selection maskSelected(maskDc.get(), mask.get());
    const COLORREF sourceBackground = SetBkColor(source, bitmap.TransparentColor());
    BitBlt(maskDc.get(), 0, 0, bitmap.Width(), bitmap.Height(), source, 0, 0, SRCCOPY);
    SetBkColor(source, sourceBackground);
    const COLORREF text = SetTextColor(dc_, RGB(0, 0, 0));
    const COLORREF background = SetBkColor(dc_, RGB(255, 255, 255));
    StretchBlt(dc_, dest.left, dest.top, width, height, source, 0, 0, bitmap.Width(), bitmap.Height(), SRCINVERT);
    StretchBlt(dc_, dest.left, dest.top, width, height, maskDc.get(), 0, 0, bitmap.Width(), bitmap.Height(), SRCAND);
    StretchBlt(dc_, dest.left, dest.top, width, height, source, 0, 0, bitmap.Width(), bitmap.Height(), SRCINVERT);
    SetTextColor(dc_, text);
    SetBkColor(dc_, background);
}

RECT Canvas::ClipRect() const {
    RECT box{0, 0, 0, 0};
    if (dc_) GetClipBox(dc_, &box);
    return box;
}

void Canvas::SetClipRect(const RECT& rect) {
    if (!dc_) return;
    if (rect.right <= rect.left || rect.bottom <= rect.top) {
        SelectClipRgn(dc_, nullptr);
        return;
    }
    winplat::OwnedRegion region(CreateRectRgnIndirect(&rect));
    if (!region) return refuseCanvas.log("the platform made no clipping region");
    SelectClipRgn(dc_, region.get());
}

}  // namespace winforms
