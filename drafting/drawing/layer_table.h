// The 256 layer words, the layer scale ranges and the current properties. The layer words and
// the current properties are slices of the system-variable image (integers 375..630 and
// 633..640; doubles 554 and 555 hold the point-marker size and the pattern scale), so scripts and
// drawing files see the same bytes.
//
// A layer word: bits 0-7 colour, 8-15 width, 16-18 line type; top byte 0x10 outside its scale
// range, 0x40 locked, 0x80 hidden.
#ifndef LINEWORK_DRAWING_LAYER_TABLE_H
#define LINEWORK_DRAWING_LAYER_TABLE_H

#include <array>
#include <cstdint>
#include <span>

#include "drawing/entity_record.h"
#include "drawing/system_variable_image.h"

namespace linework {

inline constexpr int kLayerCount = 256;

namespace layer_flag {
inline constexpr uint32_t kOutOfScaleRange = 0x10000000;
inline constexpr uint32_t kLocked = 0x40000000;
inline constexpr uint32_t kHidden = 0x80000000;
inline constexpr uint32_t kNotDrawn = 0x90000000;  // hidden or outside its scale range
inline constexpr uint32_t kInactive = 0xD0000000;  // also locked
}  // namespace layer_flag

class LayerTable {
public:
    static constexpr int32_t kFirstWord = 375;  // integer variable of layer 0

    explicit LayerTable(SystemVariableImage& image) : image_(image) {}

    uint32_t Word(uint8_t layer) const { return static_cast<uint32_t>(image_.Integer(kFirstWord + layer)); }
    void SetWord(uint8_t layer, uint32_t word) { image_.SetInteger(kFirstWord + layer, static_cast<int32_t>(word)); }
    bool Has(uint8_t layer, uint32_t flags) const { return (Word(layer) & flags) != 0; }

    // Layer n colour n, layer 0 colour 7; width 1, line type 1, no flags.
    void Reset();

private:
    SystemVariableImage& image_;
};

// An entity's effective properties: its own byte, or the layer word's when the byte is 0. The
// entities of a block that lie on layer 0 take the layer of the insert that shows them; pass that
// layer as 'insertLayer' (for entities of the drawing list, their own layer is passed).
uint8_t EffectiveLayer(const EntityRecord& entity, uint8_t insertLayer);
uint8_t EffectiveColour(const EntityRecord& entity, const LayerTable& layers, uint8_t insertLayer);
uint8_t EffectiveWidth(const EntityRecord& entity, const LayerTable& layers, uint8_t insertLayer);
// The entity's own line type (polylines' style bits 0-2 except points, arcs' +63; other kinds
// have none), or the layer's when that is 0.
uint8_t EffectiveLineType(const EntityRecord& entity, const LayerTable& layers, uint8_t insertLayer);

// Per layer a pair of singles (upper, lower) in drawing units per pixel; upper 0 = no upper limit.
// Stored as the drawing file's 2048-byte setting block.
struct LayerScaleRanges {
    static constexpr size_t kBlockSize = 8 * kLayerCount;
    struct Range {
        float upper = 0;
        float lower = 0;
    };
    std::array<Range, kLayerCount> ranges{};
    bool enabled = false;  // the drawing's scale-range switch

    // From the setting block's bytes; false (and nothing changed) unless exactly kBlockSize.
    bool Load(std::span<const uint8_t> block);
};

// Sets or clears each layer's outside-its-range flag for the view scale: with the switch on a
// layer is outside when scale < lower or (upper != 0 and scale >= upper); with it off never.
void UpdateLayerScaleFlags(LayerTable& layers, const LayerScaleRanges& ranges, double scale);

// The values the adders give new entities.
class CurrentProperties {
public:
    enum Property : int32_t { Layer, Colour, Width, EndSymbol, LineType, MarkerStyle, Pattern, Font };
    static constexpr int32_t kFirst = 633;        // integer variable of the current layer
    static constexpr int32_t kMarkerSize = 554;   // double
    static constexpr int32_t kPatternScale = 555;  // double

    explicit CurrentProperties(SystemVariableImage& image) : image_(image) {}

    int32_t Get(Property property) const { return image_.Integer(kFirst + property); }
    void Set(Property property, int32_t value) { image_.SetInteger(kFirst + property, value); }
    double MarkerSize() const { return image_.Double(kMarkerSize); }
    double PatternScale() const { return image_.Double(kPatternScale); }

    // Layer, colour, width, end symbol and line type 0; marker style 1, pattern 5, font 2; marker
    // size 2.0, pattern scale 10.0.
    void Reset();

private:
    SystemVariableImage& image_;
};

// A new drawing's settings: the default layer table and current properties.
void ResetDrawingSettings(SystemVariableImage& image);

}  // namespace linework

#endif
