// How a stretched drawing is cut into tiles, so that no single stretch spreads one source pixel
// over too many destination pixels. Drawing in tiles and the resize that reproduces its pixels
// without drawing share these rules.
#ifndef PIXMILL_CORE_TILE_GRID_H
#define PIXMILL_CORE_TILE_GRID_H

namespace pixmill {

// Tiles along each side of a tiled drawing.
struct TileGrid {
    int across = 1;
    int down = 1;
};

// The tile side for drawing sw x sh source pixels over dw x dh: about 200 destination pixels,
// more (up to 1000) where one source pixel covers more than that; twice that off the screen.
int tileSizeFor(int dw, int dh, int sw, int sh, bool display);

// The tiles: counted along the destination when it is the larger, else along the source.
TileGrid tileGridFor(int dw, int dh, int sw, int sh, int tile);

// Edge k of count equal steps over a length, rounded as drawing always has been; the last edge is
// the length itself.
int tileEdge(int k, int count, int length);

}  // namespace pixmill

#endif
