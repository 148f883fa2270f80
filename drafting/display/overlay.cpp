#include "display/overlay.h"

#include <algorithm>

namespace linework {

namespace {
constexpr int kMarkerHalf = 4;
}  // namespace

void BeginOverlay(winforms::Canvas& canvas, COLORREF colour) {
    winforms::Pen& pen = canvas.GetPen();
    pen.SetColor(colour);
    pen.SetMode(winforms::PenMode::NotXor);
    pen.SetWidth(1);
    pen.SetStyle(winforms::PenStyle::Solid);
    canvas.GetBrush().SetStyle(winforms::BrushStyle::Clear);
}

void RestoreNormalPen(winforms::Canvas& canvas) {
    canvas.GetPen().SetMode(winforms::PenMode::Copy);
    canvas.GetPen().SetStyle(winforms::PenStyle::Solid);
    canvas.GetBrush().SetStyle(winforms::BrushStyle::Solid);
}

void DrawCrossHair(winforms::Canvas& canvas, POINT at, int width, int height) {
    // Two lines that do not share the centre pixel, so it is inverted once and the cross shows
    // whole.
    const POINT across[2] = {{0, at.y}, {width, at.y}};
    canvas.Polyline(across);
    if (at.y > 0) {
        const POINT up[2] = {{at.x, 0}, {at.x, at.y}};
        canvas.Polyline(up);
    }
    if (at.y + 1 < height) {
        const POINT down[2] = {{at.x, at.y + 1}, {at.x, height}};
        canvas.Polyline(down);
    }
}

void DrawSquareAround(winforms::Canvas& canvas, POINT at, int half) {
    half = std::max(half, 1);
    const POINT square[5] = {{at.x - half, at.y - half},
                             {at.x + half, at.y - half},
                             {at.x + half, at.y + half},
                             {at.x - half, at.y + half},
                             {at.x - half, at.y - half}};
    canvas.Polyline(square);
}

void DrawMarkerFigure(winforms::Canvas& canvas, POINT at) {
    const POINT diamond[5] = {{at.x, at.y - kMarkerHalf},
                              {at.x + kMarkerHalf, at.y},
                              {at.x, at.y + kMarkerHalf},
                              {at.x - kMarkerHalf, at.y},
                              {at.x, at.y - kMarkerHalf}};
    canvas.Polyline(diamond);
}

void DrawBandLine(winforms::Canvas& canvas, POINT a, POINT b) {
    const POINT line[2] = {a, b};
    canvas.Polyline(line);
}

void DrawBandRectangle(winforms::Canvas& canvas, POINT a, POINT b) {
    const POINT outline[5] = {a, {b.x, a.y}, b, {a.x, b.y}, a};
    canvas.Polyline(outline);
}

}  // namespace linework
