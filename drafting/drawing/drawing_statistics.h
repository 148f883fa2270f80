// Counts over the drawing list: the statistics the "info" command shows through the real
// statistics slots (double variables 21..43), entities per layer, and whether any entity lies on a
// layer that is not drawn or not active. Erased entities are never counted.
#ifndef LINEWORK_DRAWING_DRAWING_STATISTICS_H
#define LINEWORK_DRAWING_DRAWING_STATISTICS_H

#include <array>
#include <cstdint>

#include "drawing/drawing.h"
#include "drawing/layer_table.h"
#include "drawing/system_variable_image.h"

namespace linework {

namespace statistics_slot {
inline constexpr int32_t kPoint = 21;
inline constexpr int32_t kLine = 22;
inline constexpr int32_t kLineWithEndSymbol = 23;
inline constexpr int32_t kPolyline = 24;
inline constexpr int32_t kPolylineWithEndSymbol = 25;
inline constexpr int32_t kHatched = 26;
inline constexpr int32_t kHatchedWithEndSymbol = 27;
inline constexpr int32_t kCircle = 28;
inline constexpr int32_t kArc = 29;
inline constexpr int32_t kText = 30;
inline constexpr int32_t kDimension = 31;
inline constexpr int32_t kAttributeDefinition = 32;
inline constexpr int32_t kBlockInsert = 34;
inline constexpr int32_t kDrawingReference = 35;
inline constexpr int32_t kRasterImage = 36;
inline constexpr int32_t kEntities = 37;
inline constexpr int32_t kBlockDefinitions = 38;
inline constexpr int32_t kBlockMembers = 39;
inline constexpr int32_t kInsertedEntities = 40;
inline constexpr int32_t kExploded = 41;
inline constexpr int32_t kInputCounter = 43;
}  // namespace statistics_slot

// Sets slots 21..41 and 43 ('inputCounter', the command line's count); slot 42 is left alone.
void ComputeDrawingStatistics(const Drawing& drawing, SystemVariableImage& image, int32_t inputCounter);

std::array<double, kLayerCount> CountEntitiesPerLayer(const Drawing& drawing);

// Whether a non-erased entity of the drawing list lies on a layer with any of 'flags' in its
// word: layer_flag::kNotDrawn for AnyEntityHidden, kInactive for AnyEntityOnInactiveLayer.
bool AnyEntityOnLayerWith(const Drawing& drawing, const LayerTable& layers, uint32_t flags);
inline bool AnyEntityHidden(const Drawing& drawing, const LayerTable& layers) {
    return AnyEntityOnLayerWith(drawing, layers, layer_flag::kNotDrawn);
}
inline bool AnyEntityOnInactiveLayer(const Drawing& drawing, const LayerTable& layers) {
    return AnyEntityOnLayerWith(drawing, layers, layer_flag::kInactive);
}

}  // namespace linework

#endif
