#include "core/drawing/tile_grid.h"

#include <algorithm>

namespace pixmill {

namespace {

constexpr int kTileSize = 200;
constexpr int kLargestTile = 1000;

}  // namespace

int tileSizeFor(int dw, int dh, int sw, int sh, bool display) {
    int tile = kTileSize;
    const int ratio = std::max(dw / sw, dh / sh);
    if (ratio > kTileSize) tile = std::min(ratio, kLargestTile);
    return display ? tile : 2 * tile;
}

TileGrid tileGridFor(int dw, int dh, int sw, int sh, int tile) {
    const bool byDest = dw + dh >= sw + sh;
    return {std::max(1, ((byDest ? dw : sw) + tile - 1) / tile), std::max(1, ((byDest ? dh : sh) + tile - 1) / tile)};
}

int tileEdge(int k, int count, int length) {
    const double step = double(length) / count;
    return k >= count ? length : static_cast<int>(k * step + 0.4999);
}

}  // namespace pixmill
