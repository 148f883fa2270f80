#include "drawing/layer_table.h"

#include <bit>

#include "winplat/byte_reader.h"

namespace linework {

void LayerTable::Reset() {
    constexpr uint32_t kWidthOne = 1u << 8;
    constexpr uint32_t kLineTypeOne = 1u << 16;
    for (int layer = 0; layer < kLayerCount; ++layer) {
        uint32_t colour = layer == 0 ? 7 : static_cast<uint32_t>(layer);
        SetWord(static_cast<uint8_t>(layer), colour | kWidthOne | kLineTypeOne);
    }
}

uint8_t EffectiveLayer(const EntityRecord& entity, uint8_t insertLayer) {
    return entity.Layer() == 0 ? insertLayer : entity.Layer();
}

uint8_t EffectiveColour(const EntityRecord& entity, const LayerTable& layers, uint8_t insertLayer) {
    if (entity.Colour() != 0) return entity.Colour();
    return static_cast<uint8_t>(layers.Word(EffectiveLayer(entity, insertLayer)));
}

uint8_t EffectiveWidth(const EntityRecord& entity, const LayerTable& layers, uint8_t insertLayer) {
    if (entity.Width() != 0) return entity.Width();
    return static_cast<uint8_t>(layers.Word(EffectiveLayer(entity, insertLayer)) >> 8);
}

namespace {

uint8_t OwnLineType(const EntityRecord& entity) {
    switch (entity.Kind()) {
        case EntityKind::Polyline:
        case EntityKind::Polyline3D:
            // A point's style byte is its marker style, not a line type.
            return entity.Byte(entity_field::kLastVertex) == 0 ? 0 : entity.Byte(entity_field::kStyle) & 0x07;
        case EntityKind::Arc:
            return entity.Byte(entity_field::kArcLineType);
        default:
            return 0;
    }
}

}  // namespace

uint8_t EffectiveLineType(const EntityRecord& entity, const LayerTable& layers, uint8_t insertLayer) {
    uint8_t own = OwnLineType(entity);
    if (own != 0) return own;
    return static_cast<uint8_t>((layers.Word(EffectiveLayer(entity, insertLayer)) >> 16) & 0x07);
}

bool LayerScaleRanges::Load(std::span<const uint8_t> block) {
    if (block.size() != kBlockSize) return false;
    winplat::ByteReader reader(block);
    for (Range& range : ranges) {
        range.upper = std::bit_cast<float>(reader.u32());
        range.lower = std::bit_cast<float>(reader.u32());
    }
    return reader.ok();
}

void UpdateLayerScaleFlags(LayerTable& layers, const LayerScaleRanges& ranges, double scale) {
    for (int layer = 0; layer < kLayerCount; ++layer) {
        const auto& range = ranges.ranges[static_cast<size_t>(layer)];
        bool outside = ranges.enabled && (scale < range.lower || (range.upper != 0 && scale >= range.upper));
        uint32_t word = layers.Word(static_cast<uint8_t>(layer)) & ~layer_flag::kOutOfScaleRange;
        layers.SetWord(static_cast<uint8_t>(layer), outside ? word | layer_flag::kOutOfScaleRange : word);
    }
}

void CurrentProperties::Reset() {
    constexpr std::array<int32_t, 8> kDefaults{0, 0, 0, 0, 0, 1, 5, 2};
    for (int32_t property = 0; property < static_cast<int32_t>(kDefaults.size()); ++property) {
        Set(static_cast<Property>(property), kDefaults[static_cast<size_t>(property)]);
    }
    image_.SetDouble(kMarkerSize, 2.0);
    image_.SetDouble(kPatternScale, 10.0);
}

void ResetDrawingSettings(SystemVariableImage& image) {
    LayerTable(image).Reset();
    CurrentProperties(image).Reset();
}

}  // namespace linework
