// Reduction of a true-colour picture to a palette of a chosen size by splitting colour boxes along a
// perceptually weighted axis, with the pixels mapped under a red-weighted distance and optionally
// dithered. One converter serves one conversion and owns all its working memory.
#ifndef PIXMILL_CORE_FINE_COLOUR_CONVERTER_H
#define PIXMILL_CORE_FINE_COLOUR_CONVERTER_H

#include <array>
#include <cstdint>
#include <memory_resource>
#include <span>
#include <vector>

#include "core/colour/colour_cell_table.h"

namespace pixmill {

// A colour packed as red | green << 8 | blue << 16.
using PackedColour = uint32_t;

constexpr PackedColour packColour(int r, int g, int b) {
    return static_cast<PackedColour>(r) | static_cast<PackedColour>(g) << 8 |
           static_cast<PackedColour>(b) << 16;
}
constexpr int redOf(PackedColour c) { return static_cast<int>(c & 0xFF); }
constexpr int greenOf(PackedColour c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int blueOf(PackedColour c) { return static_cast<int>((c >> 16) & 0xFF); }

// Squared colour distance. exact: the plain sum of squared differences. Otherwise the red-weighted
// form the converter uses, which weighs red more in reddish colours and blue more in bluish ones,
// as the eye does: with m the mean red, ((m + 512) dR^2 >> 8) + 4 dG^2 + ((767 - m) dB^2 >> 8).
int32_t colourDistance(PackedColour a, PackedColour b, bool exact);

// The pixels to convert: 24-bit rows (blue, green, red) and an optional 1-bit mask of the same size
// whose set bits mark the pixels to convert. Rows are in storage order, as are the indices made.
struct FineImageView {
    int width = 0;
    int height = 0;
    const uint8_t* pixels = nullptr;
    int32_t stride = 0;
    const uint8_t* mask = nullptr;  // null: every pixel is converted
    int32_t maskStride = 0;
};

enum FineDither { kFineNoDither = 0, kFineOrdered = 1, kFineFloydSteinberg = 2, kFineBurkes = 3 };

class FineColourConverter {
public:
    static constexpr int kMaskGrey = 128;  // colour of the entry masked-out pixels get

    // colours is clamped to 2..256 and fixed to 0..colours; palette is the target's palette, whose
    // first `fixed` colours are kept.
    FineColourConverter(const FineImageView& image, int colours, int ditherType, int fixed,
                       const std::array<PackedColour, 256>& palette, std::pmr::memory_resource* memory);

    // Converts every pixel into indices (width x height bytes, rows in storage order) and makes
    // the palette. False, with the indices untouched, when the mask leaves no pixel. Throws
    // std::bad_alloc when memory runs out.
    bool run(std::span<uint8_t> indices);

    // After run: entries 0 .. boxes - 1 get the box colours, the transparent entry (if any) the
    // mask grey; the other entries are left alone.
    void writePalette(std::array<PackedColour, 256>& palette) const;
    int boxCount() const { return static_cast<int>(boxes_.size()); }
    int transparentIndex() const { return transparentIndex_; }

    // Spreads the error of pixel x (per byte of the pixel, in row order) over the pixels not yet
    // converted: type 2 in Floyd-Steinberg shares, always rightwards; type 3 in Burkes shares along
    // the scan direction step (+1 or -1). Pixels outside 0..width-1 get nothing; every byte is
    // clamped to 0..255.
    static void diffuseError(int type, uint8_t* current, uint8_t* next, int x, int width, int step,
                             const std::array<int, 3>& error);

private:
    // A distinct colour of the source; the top byte of the colour is its slot in its cell.
    struct ColourEntry {
        PackedColour colour;
        uint32_t count;
    };
    struct ColourBox {
        int fixedIndex = -1;
        bool splittable = true;
        std::pmr::vector<ColourEntry> colours;
        uint64_t pixels = 0;
    };
    struct BoxStats {
        uint64_t pixels = 0;
        std::array<int, 3> mean{};  // red, green, blue
        std::array<int, 3> low{};
        std::array<int, 3> high{};
    };

    struct Rgb {
        int r, g, b;
    };
    // A box in another box's neighbour list, with its colour at hand for the distance.
    struct Neighbour {
        int32_t distance;
        uint8_t r, g, b;
        uint8_t box;
    };

    bool converted(int x, int y) const;

    void collectColours();
    bool makeColourList();
    void reserveEntries();
    void splitBoxes();
    int firstSplittableBox() const;
    bool splitBox(int index, int attempt);
    BoxStats measureBox(const ColourBox& box) const;
    static int chooseAxis(const BoxStats& stats, int attempt);
    bool findPoles(const ColourBox& box, int axis, int mean, PackedColour& low, PackedColour& high) const;
    void sortBoxesByPixels();
    void setBoxColours();
    void unpackBoxColours();
    void matchFixedColours();
    void buildNeighbourTables();
    int nearestBox(int r, int g, int b, int start) const;
    void mapColours();
    int startBox(int cell, int b) const;
    int boxForPixel(int r, int g, int b);
    void convertPixels(std::span<uint8_t> indices);
    void loadRow(int y, std::pmr::vector<uint8_t>& row) const;
    void ditherRowOrdered(int y, uint8_t* row);
    void convertRow(int y, uint8_t* current, uint8_t* next, uint8_t* out);

    std::pmr::memory_resource* memory_;
    FineImageView image_;
    int colours_;
    int ditherType_;
    int fixed_;
    std::array<PackedColour, 256> palette_;
    int transparentIndex_ = -1;
    size_t boxTarget_ = 0;

    // While colours are collected a cell entry's value is its pixel count, from the mapping on its box.
    ColourCellTable cells_;
    std::pmr::vector<ColourEntry> colourList_;
    std::pmr::vector<ColourBox> boxes_;
    std::pmr::vector<PackedColour> boxColours_;
    std::pmr::vector<Rgb> boxRgb_;  // the same, unpacked for the distance
    // For box o, entries o * boxes .. o * boxes + boxes - 1: every box by its distance from o.
    std::pmr::vector<Neighbour> neighbours_;

    // The last pixel's colour and box, since neighbouring pixels often repeat a colour.
    PackedColour lastColour_ = 0xFFFFFFFF;
    int lastBox_ = 0;
};

}  // namespace pixmill

#endif
