#include "page/shadow.h"

#include <algorithm>

#include "winplat/draw.h"
#include "winplat/gdi.h"
#include "winplat/module.h"
#include "winplat/owners.h"
#include "winplat/refusal.h"

namespace lect32 {
namespace {

constexpr winplat::Refuser refuse("lect32: shadow");
constexpr int kTile = 16;

// The first grid line at or before 'value' of a grid of 16 that starts at 'start'.
int gridBefore(int value, int start) { return value - (((value - start) % kTile) + kTile) % kTile; }

}  // namespace

bool DrawShadow(HDC device, const RECT& rect, int /*originX*/, int originY) {
    const winplat::OwnedBitmap shade(LoadBitmapA(GetModuleHandleA("lect32.exe"), "SHADEBM_T"));
    if (!shade) return refuse(false, "the program has no shadow picture");
    const winplat::MemoryDc source(CreateCompatibleDC(device));
    if (!source) return refuse(false, "no device context for the shadow picture");
    const winplat::Selection chosen(source.get(), shade.get());
    // The monochrome picture's clear bits darken (black), its set bits leave the pixel (white).
    const COLORREF text = SetTextColor(device, RGB(0, 0, 0));
    const COLORREF back = SetBkColor(device, RGB(255, 255, 255));
    const int rowStart = (originY & 1) ? -1 : 0;
    for (int y = gridBefore(rect.top, rowStart); y < rect.bottom; y += kTile) {
        const int top = std::max(y, static_cast<int>(rect.top)), bottom = std::min(y + kTile, static_cast<int>(rect.bottom));
        for (int x = gridBefore(rect.left, 0); x < rect.right; x += kTile) {
            const int left = std::max(x, static_cast<int>(rect.left)), right = std::min(x + kTile, static_cast<int>(rect.right));
            StretchBlt(device, left, top, right - left, bottom - top, source.get(), left - x, top - y, right - left,
                       bottom - top, SRCAND);
        }
    }
    SetTextColor(device, text);
    SetBkColor(device, back);
    return true;
}

}  // namespace lect32
