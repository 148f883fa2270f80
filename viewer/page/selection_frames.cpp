#include "page/selection_frames.h"

#include <algorithm>

#include "winplat/draw.h"
#include "winplat/owners.h"

namespace lect32 {
namespace {

// R2_NOTXORPEN with a pen and brush for a scope; what the device had comes back at its end.
class InvertingScope {
public:
    InvertingScope(HDC device, HGDIOBJ pen, HGDIOBJ brush)
        : device_(device), rop_(SetROP2(device, R2_NOTXORPEN)), pen_(device, pen), brush_(device, brush) {}
    ~InvertingScope() { SetROP2(device_, rop_); }
    InvertingScope(const InvertingScope&) = delete;
    InvertingScope& operator=(const InvertingScope&) = delete;

private:
    HDC device_;
    int rop_;
    winplat::Selection pen_;
    winplat::Selection brush_;
};

int modulo4(int value) { return ((value % 4) + 4) % 4; }

// Line d holds the pixels whose distances from the left and the top edge add up to d.
void hatch(HDC device, int left, int top, int right, int bottom) {
    const int width = right - left, height = bottom - top;
    if (width <= 0 || height <= 0) return;
    for (int d = std::max(modulo4(left), modulo4(top)); d < width + height - 1; d += 4) {
        const bool fromLeft = d < height, toTop = d < width;
        const int startX = fromLeft ? left : left + d - (height - 1);
        const int startY = fromLeft ? top + d : bottom - 1;
        const int endX = toTop ? left + d : right - 1;
        const int endY = toTop ? top : top + d - (width - 1);
        MoveToEx(device, startX, startY, nullptr);
        LineTo(device, endX + 1, endY - 1);  // LineTo leaves its end out: one step past the last pixel
    }
}

void invertSquare(HDC device, int x, int y) { Rectangle(device, x - 3, y - 3, x + 4, y + 4); }

// A piece of a side from 'from' up to (not including) 'to'; nothing when the side is too short.
void horizontal(HDC device, int y, int from, int to) {
    if (to <= from) return;
    MoveToEx(device, from, y, nullptr);
    LineTo(device, to, y);
}

void vertical(HDC device, int x, int from, int to) {
    if (to <= from) return;
    MoveToEx(device, x, from, nullptr);
    LineTo(device, x, to);
}

}  // namespace

void DrawHatch(HDC device, int left, int top, int right, int bottom) {
    const InvertingScope scope(device, GetStockObject(BLACK_PEN), GetStockObject(BLACK_BRUSH));
    hatch(device, left, top, right, bottom);
}

void InvertHandle(HDC device, int x, int y) {
    const InvertingScope scope(device, GetStockObject(BLACK_PEN), GetStockObject(BLACK_BRUSH));
    invertSquare(device, x, y);
}

void DrawSizingFrame(HDC device, int left, int top, int right, int bottom) {
    const InvertingScope scope(device, GetStockObject(BLACK_PEN), GetStockObject(BLACK_BRUSH));
    const int middleX = (left + right) / 2, middleY = (top + bottom) / 2;
    // Each piece starts 5 after a handle's centre and stops 4 before the next: one free pixel
    // on either side of every 7-pixel handle.
    for (const int y : {top, bottom}) {
        horizontal(device, y, left + 5, middleX - 4);
        horizontal(device, y, middleX + 5, right - 4);
    }
    for (const int x : {left, right}) {
        vertical(device, x, top + 5, middleY - 4);
        vertical(device, x, middleY + 5, bottom - 4);
    }
    for (const int y : {top, middleY, bottom}) {
        for (const int x : {left, middleX, right}) {
            if (x == middleX && y == middleY) continue;
            invertSquare(device, x, y);
        }
    }
}

void DrawDottedFrame(HDC device, int left, int top, int right, int bottom) {
    const winplat::GdiObject<HPEN> dots(CreatePen(PS_DOT, 1, RGB(0, 0, 0)));
    const InvertingScope scope(device, dots.get(), GetStockObject(NULL_BRUSH));
    Rectangle(device, left, top, right, bottom);
}

void DrawHatchedBorder(HDC device, int left, int top, int right, int bottom) {
    const winplat::GdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, RGB(0, 0, 0)));
    const InvertingScope scope(device, pen.get(), GetStockObject(BLACK_BRUSH));
    hatch(device, left - 4, top - 4, right + 5, top);
    hatch(device, left - 4, top, left, bottom + 1);
    hatch(device, right + 1, top, right + 5, bottom + 1);
    hatch(device, left - 4, bottom + 1, right + 4, bottom + 5);
}

}  // namespace lect32
