#include "core/colour/fine_colour_converter.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "core/colour/dither_matrix.h"

namespace pixmill {
namespace {

constexpr int kAttemptsPerBox = 3;

inline int32_t redWeightedDistance(int r1, int g1, int b1, int r2, int g2, int b2) {
    const int m = (r1 + r2) / 2;
    const int dr = r1 - r2, dg = g1 - g2, db = b1 - b2;
    return (((m + 512) * dr * dr) >> 8) + 4 * dg * dg + (((767 - m) * db * db) >> 8);
}

inline int32_t redWeightedDistance(int r, int g, int b, PackedColour c) {
    return redWeightedDistance(r, g, b, redOf(c), greenOf(c), blueOf(c));
}

inline int channelOf(PackedColour c, int axis) { return static_cast<int>((c >> (8 * axis)) & 0xFF); }

inline void addShare(uint8_t* row, int x, int width, int channel, int share) {
    if (x < 0 || x >= width) return;
    uint8_t& v = row[3 * x + channel];
    v = static_cast<uint8_t>(std::clamp(v + share, 0, 255));
}

// A dividing plane: colours with r * wr + g * wg + b * wb above the threshold lie on its upper side.
struct Plane {
    int64_t wr, wg, wb, threshold;
    bool above(PackedColour c) const {
        return redOf(c) * wr + greenOf(c) * wg + blueOf(c) * wb - threshold > 0;
    }
};

// The plane through the box's mean across the direction from the low to the high pole, each
// channel's difference divided by its share of luminance (0.2989, 0.5866, 0.1144) so that the cut
// runs across what the eye tells apart. The weights are truncated toward zero and computed in
// integers: no rounding of the divisors can move a weight.
Plane dividingPlane(const std::array<int, 3>& mean, PackedColour low, PackedColour high) {
    Plane plane{};
    plane.wr = (redOf(high) - redOf(low)) * 10000 / 2989;
    plane.wg = (greenOf(high) - greenOf(low)) * 10000 / 5866;
    plane.wb = (blueOf(high) - blueOf(low)) * 10000 / 1144;
    plane.threshold = mean[0] * plane.wr + mean[1] * plane.wg + mean[2] * plane.wb;
    return plane;
}

}  // namespace

int32_t colourDistance(PackedColour a, PackedColour b, bool exact) {
    if (!exact) return redWeightedDistance(redOf(a), greenOf(a), blueOf(a), b);
    const int dr = redOf(a) - redOf(b), dg = greenOf(a) - greenOf(b), db = blueOf(a) - blueOf(b);
    return dr * dr + dg * dg + db * db;
}

FineColourConverter::FineColourConverter(const FineImageView& image, int colours, int ditherType, int fixed,
                                       const std::array<PackedColour, 256>& palette,
                                       std::pmr::memory_resource* memory)
    : memory_(memory),
      image_(image),
      colours_(std::clamp(colours, 2, 256)),
      ditherType_(ditherType),
      fixed_(std::clamp(fixed, 0, colours_)),
      palette_(palette),
      cells_(memory),
      colourList_(memory),
      boxes_(memory),
      boxColours_(memory),
      boxRgb_(memory),
      neighbours_(memory) {}

bool FineColourConverter::run(std::span<uint8_t> indices) {
    collectColours();
    if (!makeColourList()) return false;
    reserveEntries();
    splitBoxes();
    setBoxColours();
    matchFixedColours();
    buildNeighbourTables();
    mapColours();
    convertPixels(indices);
    return true;
}

void FineColourConverter::writePalette(std::array<PackedColour, 256>& palette) const {
    std::copy(boxColours_.begin(), boxColours_.end(), palette.begin());
    if (transparentIndex_ >= 0) palette[transparentIndex_] = packColour(kMaskGrey, kMaskGrey, kMaskGrey);
}

bool FineColourConverter::converted(int x, int y) const {
    if (!image_.mask) return true;
    const uint8_t* row = image_.mask + static_cast<ptrdiff_t>(y) * image_.maskStride;
    return (row[x >> 3] >> (7 - (x & 7))) & 1;
}

// ---- collecting colours ---------------------------------------------------------------------

void FineColourConverter::collectColours() {
    cells_.allocate();
    PackedColour lastColour = 0xFFFFFFFF;
    uint32_t* lastCount = nullptr;
    for (int y = 0; y < image_.height; ++y) {
        const uint8_t* row = image_.pixels + static_cast<ptrdiff_t>(y) * image_.stride;
        for (int x = 0; x < image_.width; ++x, row += 3) {
            if (!converted(x, y)) continue;
            const PackedColour colour = packColour(row[2], row[1], row[0]);
            if (colour == lastColour) {
                ++*lastCount;
                continue;
            }
            const int cell = ColourCellTable::cellOf(row[2], row[1]);
            int slot = cells_.find(cell, row[0]);
            if (slot < 0) {
                slot = cells_.append(cell, row[0], 1);
            } else {
                ++cells_.value(cell, slot);
            }
            // Valid until the cell next grows, which only a new colour in it can make happen.
            lastCount = &cells_.value(cell, slot);
            lastColour = colour;
        }
    }
}

// The distinct colours with their pixel counts, red outer, green inner, each cell's colours in
// the order they were met. False when there are none.
bool FineColourConverter::makeColourList() {
    size_t total = 0;
    for (int cell = 0; cell < ColourCellTable::kCells; ++cell)
        total += static_cast<size_t>(cells_.size(cell));
    if (total == 0) return false;
    colourList_.reserve(total);
    for (int cell = 0; cell < ColourCellTable::kCells; ++cell) {
        for (int slot = 0; slot < cells_.size(cell); ++slot) {
            const PackedColour colour = packColour(cell >> 8, cell & 0xFF, cells_.blue(cell, slot));
            colourList_.push_back(
                ColourEntry{colour | static_cast<PackedColour>(slot) << 24, cells_.value(cell, slot)});
        }
    }
    return true;
}

// ---- boxes ----------------------------------------------------------------------------------

// The transparent entry takes the last place; with as many kept colours as wanted the boxes are
// the kept entries themselves and nothing is split.
void FineColourConverter::reserveEntries() {
    if (image_.mask) transparentIndex_ = colours_ - 1;
    boxTarget_ = static_cast<size_t>(transparentIndex_ >= 0 ? colours_ - 1 : colours_);
    boxes_.reserve(boxTarget_);

    uint64_t pixels = 0;
    for (const ColourEntry& entry : colourList_) pixels += entry.count;
    boxes_.push_back(ColourBox{.colours = std::move(colourList_), .pixels = pixels});
    if (fixed_ < colours_) return;
    boxes_[0].fixedIndex = 0;
    boxes_[0].splittable = false;
    for (size_t i = 1; i < boxTarget_; ++i) {
        boxes_.push_back(ColourBox{.fixedIndex = static_cast<int>(i),
                                   .splittable = false,
                                   .colours = std::pmr::vector<ColourEntry>(memory_)});
    }
}

// Splits the first box that can be split until there are enough. A box that fails is tried again
// with green and then red left out of the axis choice; after three failures it changes places
// with the box at the failure position, which moves on by one each time, and once that position
// runs past the boxes the splitting ends.
void FineColourConverter::splitBoxes() {
    int attempt = 0;
    size_t failurePosition = 1;
    while (boxes_.size() < boxTarget_) {
        const int current = firstSplittableBox();
        if (current < 0) break;
        if (splitBox(current, attempt)) {
            sortBoxesByPixels();
            attempt = 0;
            failurePosition = 1;
            continue;
        }
        if (++attempt < kAttemptsPerBox) continue;
        attempt = 0;
        if (++failurePosition >= boxes_.size()) break;
        std::swap(boxes_[static_cast<size_t>(current)], boxes_[failurePosition]);
    }
}

int FineColourConverter::firstSplittableBox() const {
    for (size_t i = 0; i < boxes_.size(); ++i)
        if (boxes_[i].splittable && boxes_[i].colours.size() > 1) return static_cast<int>(i);
    return -1;
}

bool FineColourConverter::splitBox(int index, int attempt) {
    ColourBox& box = boxes_[static_cast<size_t>(index)];
    const BoxStats stats = measureBox(box);
    const int axis = chooseAxis(stats, attempt);
    PackedColour low = 0, high = 0;
    if (!findPoles(box, axis, stats.mean[static_cast<size_t>(axis)], low, high)) return false;
    const Plane plane = dividingPlane(stats.mean, low, high);

    // Colours above the plane go up, in list order, until the upper half holds half the pixels.
    const uint64_t half = stats.pixels >> 1;
    auto goesUp = [&](const ColourEntry& entry, uint64_t upperPixels) {
        return plane.above(entry.colour) && upperPixels < half;
    };
    uint64_t upperPixels = 0;
    size_t upperColours = 0;
    for (const ColourEntry& entry : box.colours) {
        if (!goesUp(entry, upperPixels)) continue;
        upperPixels += entry.count;
        ++upperColours;
    }
    if (upperColours == 0 || upperColours == box.colours.size()) return false;

    std::pmr::vector<ColourEntry> lower(memory_);
    lower.reserve(box.colours.size() - upperColours);
    size_t kept = 0;
    upperPixels = 0;
    for (const ColourEntry& entry : box.colours) {
        if (goesUp(entry, upperPixels)) {
            upperPixels += entry.count;
            box.colours[kept++] = entry;
        } else {
            lower.push_back(entry);
        }
    }
    box.colours.resize(kept);
    box.pixels = upperPixels;
    ColourBox lowerBox{.colours = std::move(lower)};
    lowerBox.pixels = stats.pixels - upperPixels;
    boxes_.push_back(std::move(lowerBox));
    return true;
}

FineColourConverter::BoxStats FineColourConverter::measureBox(const ColourBox& box) const {
    BoxStats stats;
    std::array<uint64_t, 3> sums{};
    stats.low = {255, 255, 255};
    for (const ColourEntry& entry : box.colours) {
        stats.pixels += entry.count;
        for (size_t c = 0; c < 3; ++c) {
            const int v = channelOf(entry.colour, static_cast<int>(c));
            sums[c] += uint64_t{entry.count} * static_cast<uint64_t>(v);
            stats.low[c] = std::min(stats.low[c], v);
            stats.high[c] = std::max(stats.high[c], v);
        }
    }
    for (size_t c = 0; c < 3; ++c) stats.mean[c] = static_cast<int>(sums[c] / stats.pixels);
    return stats;
}

// Red, green or blue (0, 1, 2) by the box's extents, weighted as the red-weighted distance weighs
// the channels (green's weight taken as 1): red by 2 + meanR / 256, blue by 2 + (255 - meanR) / 256,
// both over 4 and rounded up. The second attempt on a box ignores green, the third red too.
int FineColourConverter::chooseAxis(const BoxStats& stats, int attempt) {
    const int meanRed = stats.mean[0];
    int red = ((stats.high[0] - stats.low[0]) * (meanRed + 512) + 1023) / 1024;
    int green = stats.high[1] - stats.low[1];
    const int blue = ((stats.high[2] - stats.low[2]) * (767 - meanRed) + 1023) / 1024;
    if (attempt >= 1) green = 0;
    if (attempt >= 2) red = 0;
    if (red > green && red > blue) return 0;
    if (green < red || green < blue) return 2;
    return 1;
}

// The most frequent colour below the mean on the axis and the most frequent at or above it, the
// first in list order among equals. False when a side is empty.
bool FineColourConverter::findPoles(const ColourBox& box, int axis, int mean, PackedColour& low,
                                   PackedColour& high) const {
    uint32_t lowCount = 0, highCount = 0;
    for (const ColourEntry& entry : box.colours) {
        if (channelOf(entry.colour, axis) < mean) {
            if (entry.count > lowCount) {
                lowCount = entry.count;
                low = entry.colour;
            }
        } else if (entry.count > highCount) {
            highCount = entry.count;
            high = entry.colour;
        }
    }
    return lowCount > 0 && highCount > 0;
}

void FineColourConverter::sortBoxesByPixels() {
    std::stable_sort(boxes_.begin(), boxes_.end(),
                     [](const ColourBox& a, const ColourBox& b) { return a.pixels > b.pixels; });
}

void FineColourConverter::setBoxColours() {
    boxColours_.assign(boxes_.size(), 0);
    for (size_t i = 0; i < boxes_.size(); ++i) {
        const ColourBox& box = boxes_[i];
        if (box.fixedIndex >= 0) {
            boxColours_[i] = palette_[static_cast<size_t>(box.fixedIndex)];
            continue;
        }
        std::array<uint64_t, 3> sums{};
        uint64_t pixels = 0;
        for (const ColourEntry& entry : box.colours) {
            pixels += entry.count;
            for (size_t c = 0; c < 3; ++c)
                sums[c] += uint64_t{entry.count} *
                           static_cast<uint64_t>(channelOf(entry.colour, static_cast<int>(c)));
        }
        if (pixels == 0) continue;  // black
        boxColours_[i] = packColour(static_cast<int>(sums[0] / pixels), static_cast<int>(sums[1] / pixels),
                                    static_cast<int>(sums[2] / pixels));
    }
}

void FineColourConverter::unpackBoxColours() {
    boxRgb_.resize(boxColours_.size());
    for (size_t i = 0; i < boxColours_.size(); ++i)
        boxRgb_[i] = Rgb{redOf(boxColours_[i]), greenOf(boxColours_[i]), blueOf(boxColours_[i])};
}

// Each kept colour, in palette order, takes the nearest box not yet taken (the first among equally
// near ones) and gives it its exact colour.
void FineColourConverter::matchFixedColours() {
    if (fixed_ == 0 || fixed_ >= colours_) return;
    for (int i = 0; i < fixed_; ++i) {
        const PackedColour kept = palette_[static_cast<size_t>(i)];
        int best = -1;
        int32_t bestDistance = INT32_MAX;
        for (size_t j = 0; j < boxes_.size(); ++j) {
            if (boxes_[j].fixedIndex >= 0) continue;
            const int32_t d = colourDistance(kept, boxColours_[j], false);
            if (d < bestDistance) {
                bestDistance = d;
                best = static_cast<int>(j);
            }
        }
        if (best < 0) return;
        boxes_[static_cast<size_t>(best)].fixedIndex = i;
        boxColours_[static_cast<size_t>(best)] = kept;
    }
}

// ---- mapping --------------------------------------------------------------------------------

void FineColourConverter::buildNeighbourTables() {
    unpackBoxColours();
    const size_t count = boxes_.size();
    neighbours_.resize(count * count);
    std::pmr::vector<uint64_t> keys(count, memory_);
    for (size_t own = 0; own < count; ++own) {
        // Distance in the high bits, box in the low ones: ascending keys are ascending distances,
        // the lower box first among equals.
        for (size_t j = 0; j < count; ++j) {
            const uint64_t d = static_cast<uint64_t>(colourDistance(boxColours_[own], boxColours_[j], false));
            keys[j] = d << 16 | j;
        }
        std::sort(keys.begin(), keys.end());
        for (size_t k = 0; k < count; ++k) {
            const size_t box = keys[k] & 0xFFFF;
            const Rgb& c = boxRgb_[box];
            neighbours_[own * count + k] =
                Neighbour{static_cast<int32_t>(keys[k] >> 16), static_cast<uint8_t>(c.r),
                          static_cast<uint8_t>(c.g), static_cast<uint8_t>(c.b), static_cast<uint8_t>(box)};
        }
    }
}

// The nearest box to the colour among the neighbours of the start box no farther from it than
// four times the colour's own distance from it: for a true metric on squared distances no nearer
// box can lie beyond that. The first in neighbour order wins among equals.
int FineColourConverter::nearestBox(int r, int g, int b, int start) const {
    const size_t count = boxes_.size();
    const Rgb& own = boxRgb_[static_cast<size_t>(start)];
    const int32_t limit = 4 * redWeightedDistance(r, g, b, own.r, own.g, own.b);
    const Neighbour* neighbours = neighbours_.data() + static_cast<size_t>(start) * count;
    // Distance and list position in one key, so the least key is the first of the nearest.
    int32_t best = INT32_MAX;
    for (int32_t k = 0; k < static_cast<int32_t>(count) && neighbours[k].distance <= limit; ++k) {
        const Neighbour& n = neighbours[k];
        best = std::min(best, redWeightedDistance(r, g, b, n.r, n.g, n.b) << 8 | k);
    }
    return neighbours[best & 0xFF].box;
}

// Every collected colour's cell entry gets its nearest box, searched from the box it fell in.
void FineColourConverter::mapColours() {
    const int last = static_cast<int>(boxes_.size()) - 1;
    for (size_t own = 0; own < boxes_.size(); ++own) {
        for (const ColourEntry& entry : boxes_[own].colours) {
            const int r = redOf(entry.colour), g = greenOf(entry.colour), b = blueOf(entry.colour);
            const int box = std::min(nearestBox(r, g, b, static_cast<int>(own)), last);
            cells_.value(ColourCellTable::cellOf(r, g), static_cast<int>(entry.colour >> 24)) =
                static_cast<uint32_t>(box);
        }
    }
}

// Where the search for a colour missing from its cell starts: the box of the cell's entry reached
// walking back from the last entry while the blue difference does not grow.
int FineColourConverter::startBox(int cell, int b) const {
    int slot = cells_.size(cell) - 1;
    if (slot < 0) return 0;
    int difference = std::abs(cells_.blue(cell, slot) - b);
    while (slot > 0) {
        const int d = std::abs(cells_.blue(cell, slot - 1) - b);
        if (d > difference) break;
        difference = d;
        --slot;
    }
    return static_cast<int>(cells_.value(cell, slot));
}

// The box of a pixel's colour, searched and remembered in its cell when the colour is new (as
// dithering makes them).
int FineColourConverter::boxForPixel(int r, int g, int b) {
    const PackedColour colour = packColour(r, g, b);
    if (colour == lastColour_) return lastBox_;
    const int cell = ColourCellTable::cellOf(r, g);
    const int slot = cells_.find(cell, b);
    int box;
    if (slot >= 0) {
        box = static_cast<int>(cells_.value(cell, slot));
    } else {
        box = nearestBox(r, g, b, startBox(cell, b));
        cells_.append(cell, b, static_cast<uint32_t>(box));
    }
    lastColour_ = colour;
    lastBox_ = box;
    return box;
}

// ---- pixel pass -----------------------------------------------------------------------------

void FineColourConverter::convertPixels(std::span<uint8_t> indices) {
    const size_t rowBytes = static_cast<size_t>(image_.width) * 3;
    std::pmr::vector<uint8_t> current(rowBytes, memory_);
    std::pmr::vector<uint8_t> next(rowBytes, memory_);
    loadRow(0, current);
    if (image_.height > 1) loadRow(1, next);
    for (int y = 0; y < image_.height; ++y) {
        if (ditherType_ == kFineOrdered) ditherRowOrdered(y, current.data());
        convertRow(y, current.data(), next.data(), indices.data() + static_cast<size_t>(y) * image_.width);
        std::swap(current, next);
        if (y + 2 < image_.height) loadRow(y + 2, next);
    }
}

void FineColourConverter::loadRow(int y, std::pmr::vector<uint8_t>& row) const {
    std::memcpy(row.data(), image_.pixels + static_cast<ptrdiff_t>(y) * image_.stride, row.size());
}

// Each channel farther from its box's colour than the pixel's threshold is pushed as far again
// beyond it, so that the colour falls to a neighbouring box.
void FineColourConverter::ditherRowOrdered(int y, uint8_t* row) {
    for (int x = 0; x < image_.width; ++x) {
        if (!converted(x, y)) continue;
        uint8_t* pixel = row + 3 * x;
        const PackedColour box = boxColours_[static_cast<size_t>(boxForPixel(pixel[2], pixel[1], pixel[0]))];
        const std::array<int, 3> target{blueOf(box), greenOf(box), redOf(box)};
        const int threshold = orderedThreshold(x, y);
        for (size_t c = 0; c < 3; ++c) {
            const int v = pixel[c];
            if (threshold < std::abs(v - target[c]))
                pixel[c] = static_cast<uint8_t>(std::clamp(2 * v - target[c], 0, 255));
        }
    }
}

// Even rows run left to right and odd rows right to left, so that diffused error does not drift
// one way.
void FineColourConverter::convertRow(int y, uint8_t* current, uint8_t* next, uint8_t* out) {
    const int width = image_.width;
    const bool rightToLeft = (y & 1) != 0;
    const int step = rightToLeft ? -1 : 1;
    const bool diffuse = ditherType_ == kFineFloydSteinberg || ditherType_ == kFineBurkes;
    int x = rightToLeft ? width - 1 : 0;
    for (int i = 0; i < width; ++i, x += step) {
        if (!converted(x, y)) {
            out[x] = static_cast<uint8_t>(transparentIndex_);
            continue;
        }
        const uint8_t* pixel = current + 3 * x;
        // The pixels ahead change little before their turn: fetch their cells meanwhile.
        if (i + 2 < width) {
            const uint8_t* after = pixel + 6 * step;
            cells_.prefetchCell(ColourCellTable::cellOf(after[2], after[1]));
        }
        if (i + 1 < width) {
            const uint8_t* ahead = pixel + 3 * step;
            cells_.prefetchBlock(ColourCellTable::cellOf(ahead[2], ahead[1]), ahead[0]);
        }
        const int box = boxForPixel(pixel[2], pixel[1], pixel[0]);
        out[x] = static_cast<uint8_t>(box);
        if (!diffuse) continue;
        const PackedColour colour = boxColours_[static_cast<size_t>(box)];
        const std::array<int, 3> error{pixel[0] - blueOf(colour), pixel[1] - greenOf(colour),
                                       pixel[2] - redOf(colour)};
        if (error[0] != 0 || error[1] != 0 || error[2] != 0)
            diffuseError(ditherType_, current, next, x, width, step, error);
    }
}

void FineColourConverter::diffuseError(int type, uint8_t* current, uint8_t* next, int x, int width, int step,
                                      const std::array<int, 3>& error) {
    for (int c = 0; c < 3; ++c) {
        const int e = error[static_cast<size_t>(c)];
        if (type == kFineFloydSteinberg) {
            // About 7/16 ahead, 3/16, 5/16 and the rest below, with shifts so the shares add up to e.
            const int h = e >> 1;
            const int ahead = h - (h >> 3);
            const int belowLeft = (h >> 1) - (h >> 3);
            const int below = (h >> 3) + (h >> 1);
            addShare(current, x + 1, width, c, ahead);
            addShare(next, x - 1, width, c, belowLeft);
            addShare(next, x, width, c, below);
            addShare(next, x + 1, width, c, e - ahead - belowLeft - below);
        } else if (type == kFineBurkes) {
            // 8/32 and 4/32 ahead, 2, 4, 8, 4, 2 /32 below, each share a shift of the last.
            const int quarter = e >> 2;
            const int eighth = quarter >> 1;
            const int sixteenth = eighth >> 1;
            addShare(current, x + step, width, c, quarter);
            addShare(current, x + 2 * step, width, c, eighth);
            addShare(next, x - 2, width, c, sixteenth);
            addShare(next, x - 1, width, c, eighth);
            addShare(next, x, width, c, quarter);
            addShare(next, x + 1, width, c, eighth);
            addShare(next, x + 2, width, c, sixteenth);
        }
    }
}

}  // namespace pixmill
