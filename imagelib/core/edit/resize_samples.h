// Which source pixel each pixel of a drawn resize shows, worked out without drawing.
#ifndef PIXMILL_CORE_RESIZE_SAMPLES_H
#define PIXMILL_CORE_RESIZE_SAMPLES_H

#include <vector>

namespace pixmill {

// Per destination column and row of a sourceWidth x sourceHeight picture resized to width x
// height by drawResized: the source column and row it shows, or -1 where no tile of the drawing
// covers it (a tile whose source part rounds to nothing is not drawn, and the copy keeps its
// blank pixels there). Every side at least 1.
struct ResizeSamples {
    std::vector<int> columns;
    std::vector<int> rows;
};

ResizeSamples drawnResizeSamples(int width, int height, int sourceWidth, int sourceHeight);

}  // namespace pixmill

#endif
