#include "drawing/drawing_statistics.h"

#include <vector>

#include "drawing/block_definitions.h"

namespace linework {
namespace {

using namespace statistics_slot;

int32_t PolylineSlot(const EntityRecord& record) {
    int segments = record.Byte(entity_field::kLastVertex);
    bool endSymbol = record.Byte(entity_field::kEndSymbol) != 0;
    if (segments == 0) return kPoint;
    if (segments == 1) return endSymbol ? kLineWithEndSymbol : kLine;
    if (record.Byte(entity_field::kStyle) <= 7) return endSymbol ? kPolylineWithEndSymbol : kPolyline;
    return endSymbol ? kHatchedWithEndSymbol : kHatched;
}

// The slot of a record's class; 0 for none. The selection bits do not count, the erased bit
// matches no class.
int32_t SlotOf(const EntityRecord& record) {
    uint8_t kind = record.KindAndFlags() & 0xF8;
    switch (static_cast<EntityKind>(kind)) {
        case EntityKind::Polyline: return PolylineSlot(record);
        case EntityKind::Arc: return IsCircle(record) ? kCircle : kArc;
        case EntityKind::Text: return kText;
        case EntityKind::Dimension: return kDimension;
        case EntityKind::AttributeDefinition: return kAttributeDefinition;
        case EntityKind::BlockInsert: return kBlockInsert;
        case EntityKind::DrawingReference: return kDrawingReference;
        case EntityKind::RasterImage: return kRasterImage;
        case EntityKind::Polyline3D: return 0;
    }
    return 0;
}

}  // namespace

void ComputeDrawingStatistics(const Drawing& drawing, SystemVariableImage& image, int32_t inputCounter) {
    std::array<double, kInputCounter + 1> slots{};
    // The statistics are refreshed after every command: the walk's storage stays between calls.
    thread_local BlockWalkScratch scratch;
    const std::vector<uint64_t>& blockCounts = CountAllBlockEntities(drawing, scratch);
    ForEachEntity(drawing, drawing.head, [&](EntityHandle at) {
        const EntityRecord& record = drawing[at];
        int32_t slot = SlotOf(record);
        if (slot == 0) return;
        slots[slot] += 1;
        slots[kEntities] += 1;
        if (slot == kBlockInsert) {
            slots[kInsertedEntities] += static_cast<double>(blockCounts[InsertedBlock(drawing, record)]);
        }
    });
    ForEachBlock(drawing, [&](BlockHandle block) {
        slots[kBlockDefinitions] += 1;
        slots[kBlockMembers] += static_cast<double>(blockCounts[block]);
    });
    slots[kExploded] = slots[kEntities] - slots[kBlockInsert] + slots[kInsertedEntities];
    for (int32_t slot = kPoint; slot <= kExploded; ++slot) image.SetDouble(slot, slots[slot]);
    image.SetDouble(kInputCounter, inputCounter);
}

std::array<double, kLayerCount> CountEntitiesPerLayer(const Drawing& drawing) {
    std::array<double, kLayerCount> counts{};
    ForEachEntity(drawing, drawing.head, [&](EntityHandle at) {
        const EntityRecord& record = drawing[at];
        if (!record.Erased()) counts[record.Layer()] += 1;
    });
    return counts;
}

bool AnyEntityOnLayerWith(const Drawing& drawing, const LayerTable& layers, uint32_t flags) {
    for (EntityHandle at = drawing.head; at != 0; at = drawing[at].Next()) {
        const EntityRecord& record = drawing[at];
        if (!record.Erased() && layers.Has(record.Layer(), flags)) return true;
    }
    return false;
}

}  // namespace linework
