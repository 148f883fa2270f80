#include "files/older_records.h"

#include <algorithm>
#include <cstring>

#include "drawing/entity_record.h"
#include "drawing/text_helpers.h"
#include "files/drawing_file_format.h"

namespace linework {
namespace {

constexpr int32_t kPointMarkerSize = 554;  // doubles
constexpr int32_t kPatternScale = 555;
constexpr int32_t kOlderPointLineType = 638;  // integer

struct Layout {
    uint8_t kind;
    size_t growth;   // bytes the record grows by in memory
    bool inBlock;    // may stand inside a block
};

constexpr Layout kLayouts[] = {
    {0x10, 6, true}, {0x20, 4, true}, {0x30, 4, true}, {0x40, 4, true}, {0x50, 5, true},
    {0x70, 6, true}, {0xA0, 4, true}, {0xE0, 1, false}, {0xF0, 3, false},
};

const Layout* FindLayout(uint8_t kind, bool inBlock) {
    for (const Layout& layout : kLayouts) {
        if (layout.kind == kind) return !inBlock || layout.inBlock ? &layout : nullptr;
    }
    return nullptr;
}

uint8_t MappedLineType(uint8_t lineType) {
    return static_cast<uint8_t>((lineType & ~7u) | MapImportedLineType(lineType & 7));
}

// Copies bytes of 'from' (a window of the older record) to 'at' of the work record; false when
// either side would be overrun.
bool Put(std::span<uint8_t> work, size_t at, std::span<const uint8_t> from) {
    if (at > work.size() || from.size() > work.size() - at) return false;
    std::copy(from.begin(), from.end(), work.begin() + static_cast<ptrdiff_t>(at));
    return true;
}

void StoreFloat(std::span<uint8_t> work, size_t at, float value) { std::memcpy(work.data() + at, &value, 4); }

bool TranslatePolyline(std::span<const uint8_t> payload, bool threeD, const SystemVariableImage& variables,
                       std::span<uint8_t> work) {
    if (payload.size() < 3) return false;
    uint8_t lineType = payload[0];
    work[17] = payload[1];
    if (!Put(work, 19, payload.subspan(2))) return false;
    uint8_t count = payload[2];
    float auxiliary = 0;
    if (threeD) {
        auxiliary = static_cast<float>(variables.Double(kPatternScale));
    } else if (count == 0) {
        auxiliary = static_cast<float>(variables.Double(kPointMarkerSize));
        lineType = static_cast<uint8_t>(variables.Integer(kOlderPointLineType));
    } else {
        lineType = MappedLineType(lineType);
        if (count != 1 && lineType > 7) auxiliary = static_cast<float>(variables.Double(kPatternScale));
    }
    work[18] = lineType;
    StoreFloat(work, 12, auxiliary);
    return true;
}

// Copies 'fixed' bytes to 12, leaves 'gap' zero bytes and the rest after them.
bool TranslateSplit(std::span<const uint8_t> payload, size_t fixed, size_t restAt, std::span<uint8_t> work) {
    if (payload.size() < fixed) return false;
    return Put(work, 12, payload.first(fixed)) && Put(work, restAt, payload.subspan(fixed));
}

bool TranslatePayload(uint8_t kind, std::span<const uint8_t> payload, const SystemVariableImage& variables,
                      std::span<uint8_t> work) {
    switch (kind) {
        case 0x10: return TranslatePolyline(payload, false, variables, work);
        case 0x70: return TranslatePolyline(payload, true, variables, work);
        case 0x20:
            if (payload.size() != 49 || !Put(work, 12, payload.first(48))) return false;
            work[63] = MapImportedLineType(payload[48]);
            return true;
        case 0x30: return TranslateSplit(payload, 40, 55, work);
        case 0x50: {
            if (!TranslateSplit(payload, 40, 55, work)) return false;
            work[57] = 0;
            uint16_t word = RebuildOlderJustification(work[56]);
            work[56] = static_cast<uint8_t>(word);
            work[57] = static_cast<uint8_t>(word >> 8);
            return true;
        }
        case 0x40: return TranslateSplit(payload, 88, 103, work);
        case 0xA0: return TranslateSplit(payload, 28, 43, work);
        case 0xE0: return Put(work, 12, payload);
        case 0xF0: return TranslateSplit(payload, 8, 22, work);
    }
    return false;
}

}  // namespace

uint16_t RebuildOlderJustification(uint8_t value) {
    unsigned v = value;
    unsigned start = 0;
    if (v >= 128) {
        start = 128;
        v -= 128;
    }
    if (v == 0) return static_cast<uint16_t>(start);
    if (v >= 81) {
        unsigned c = (v - 81) & 0x0F;
        unsigned word = c * 256 + start + 127;
        if (v - 81 >= 16) word += c * 4096;
        return static_cast<uint16_t>(word);
    }
    return static_cast<uint16_t>(start + v);
}

size_t TranslateOlderRecord(std::span<const uint8_t> older, float level, bool inBlock,
                            const SystemVariableImage& variables, std::span<uint8_t> work) {
    if (older.size() < 3 || work.size() < drawing_file::kWorkRecordSize) return 0;
    const uint8_t kindByte = older[0];
    const Layout* layout = FindLayout(kindByte & 0xF0, inBlock);
    if (!layout) return 0;
    // The memory size: the kind byte and what follows it, the 8-byte head before it, the growth.
    const size_t size = older.size() + 8 + layout->growth;
    if (size > drawing_file::kWorkRecordSize) return 0;
    std::fill_n(work.begin(), size, 0);
    std::memcpy(work.data() + 4, &level, 4);
    work[8] = layout->kind;
    work[9] = older[1];
    work[10] = older[2];
    work[11] = (kindByte & 0x04) != 0 ? 3 : 1;
    if (!TranslatePayload(layout->kind, older.subspan(3), variables, work.first(size))) return 0;
    return size;
}

}  // namespace linework
