#include "display/backdrop.h"

namespace linework {

std::optional<RECT> BackdropPlace(int mode, SIZE box, SIZE picture) {
    if (mode < 0 || mode > 9) return std::nullopt;
    if (mode == 0) return RECT{0, 0, box.cx, box.cy};
    const int column = mode % 3;  // 1 left, 2 centre, 0 right
    const int row = (mode - 1) / 3;  // 0 top, 1 middle, 2 bottom
    const LONG left = column == 1 ? 0 : column == 2 ? (box.cx - picture.cx) / 2 : box.cx - picture.cx;
    const LONG top = row == 0 ? 0 : row == 1 ? (box.cy - picture.cy) / 2 : box.cy - picture.cy;
    return RECT{left, top, left + picture.cx, top + picture.cy};
}

void PaintBackdrop(winforms::Canvas& canvas, SIZE box, COLORREF background, const winforms::Bitmap* backdrop, int mode) {
    canvas.GetBrush().SetStyle(winforms::BrushStyle::Solid);
    canvas.GetBrush().SetColor(background);
    canvas.FillRect({0, 0, box.cx, box.cy});
    if (!backdrop || backdrop->Empty()) return;
    const std::optional<RECT> place = BackdropPlace(mode, box, {backdrop->Width(), backdrop->Height()});
    if (!place) return;
    if (mode == 0) {
        canvas.StretchDraw(*place, *backdrop);
    } else {
        canvas.Draw(place->left, place->top, *backdrop);
    }
}

}  // namespace linework
