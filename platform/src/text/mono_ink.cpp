#include "text/mono_ink.h"

#include <algorithm>
#include <cstddef>

namespace winplat::text {
namespace {

struct Run {
    int left;
    int right;
};

bool pixelSet(const uint8_t* row, int x) {
    return (row[x >> 3] & (0x80u >> (x & 7))) != 0;
}

void rowRuns(const uint8_t* row, int width, std::vector<Run>& runs) {
    runs.clear();
    int x = 0;
    while (x < width) {
        if (row[x >> 3] == 0 && (x & 7) == 0) {
            x += 8;  // a whole blank byte
            continue;
        }
        if (!pixelSet(row, x)) {
            ++x;
            continue;
        }
        const int start = x;
        while (x < width && pixelSet(row, x)) ++x;
        runs.push_back(Run{start, x});
    }
}

}  // namespace

std::vector<InkBox> inkBoxes(const MonoImage& image) {
    std::vector<InkBox> boxes;
    // Indices into 'boxes' of the boxes that reach the row above, left to right; a run of this
    // row that spans exactly the same columns extends its box down.
    std::vector<size_t> open;
    std::vector<size_t> stillOpen;
    std::vector<Run> runs;
    for (int r = 0; r < image.rows; ++r) {
        rowRuns(image.bits + static_cast<ptrdiff_t>(r) * image.pitch, image.width, runs);
        const int y = image.top + r;
        stillOpen.clear();
        size_t next = 0;
        for (const Run& run : runs) {
            const int left = image.left + run.left;
            const int right = image.left + run.right;
            while (next < open.size() && boxes[open[next]].left < left) ++next;
            if (next < open.size() && boxes[open[next]].left == left && boxes[open[next]].right == right) {
                boxes[open[next]].bottom = y + 1;
                stillOpen.push_back(open[next++]);
                continue;
            }
            stillOpen.push_back(boxes.size());
            boxes.push_back(InkBox{left, y, right, y + 1});
        }
        open.swap(stillOpen);
    }
    return boxes;
}

InkBox inkBounds(std::span<const InkBox> boxes) {
    if (boxes.empty()) return InkBox{};
    InkBox bounds = boxes.front();
    for (const InkBox& box : boxes.subspan(1)) {
        bounds.left = std::min(bounds.left, box.left);
        bounds.top = std::min(bounds.top, box.top);
        bounds.right = std::max(bounds.right, box.right);
        bounds.bottom = std::max(bounds.bottom, box.bottom);
    }
    return bounds;
}

}  // namespace winplat::text
