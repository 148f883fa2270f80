// A drawn resize goes through tiles drawn into a memory DC, each a nearest-pixel stretch: pixel i
// of a tile dw wide takes source pixel floor((2i + 1) * sw / (2 dw)) of the tile's sw source
// pixels, the one under its centre. The tile edges round differently on the two sides, so the
// samples follow the tiles, not one stretch of the whole side.
#include "core/edit/resize_samples.h"

#include <cstddef>
#include <cstdint>

#include "core/drawing/tile_grid.h"

namespace pixmill {

namespace {

std::vector<int> axisSamples(int length, int sourceLength, int tiles) {
    std::vector<int> samples(static_cast<size_t>(length), -1);
    for (int k = 0; k < tiles; ++k) {
        const int from = tileEdge(k, tiles, length), to = tileEdge(k + 1, tiles, length);
        const int sourceFrom = tileEdge(k, tiles, sourceLength), sourceTo = tileEdge(k + 1, tiles, sourceLength);
        if (to <= from || sourceTo <= sourceFrom) continue;
        const int64_t dw = to - from, sw = sourceTo - sourceFrom;
        for (int64_t i = 0; i < dw; ++i)
            samples[static_cast<size_t>(from + i)] = sourceFrom + static_cast<int>((2 * i + 1) * sw / (2 * dw));
    }
    return samples;
}

}  // namespace

ResizeSamples drawnResizeSamples(int width, int height, int sourceWidth, int sourceHeight) {
    // The resize draws into a memory DC, which counts as the display.
    const int tile = tileSizeFor(width, height, sourceWidth, sourceHeight, true);
    const TileGrid grid = tileGridFor(width, height, sourceWidth, sourceHeight, tile);
    return {axisSamples(width, sourceWidth, grid.across), axisSamples(height, sourceHeight, grid.down)};
}

}  // namespace pixmill
