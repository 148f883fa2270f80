// Entity records of the drafting program under fuzzing, as a drawing file hands them over: the
// bytes are sized, taken as a record when they form exactly one, linked into a drawing and
// dumped, which reads every field and string of the record. What must hold for any input: nothing
// crashes or reads outside the record (the sanitizers watch that).
//
// Seeds: one record of every kind.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "drawing/entity_dump.h"
#include "drawing/entity_record.h"
#include "fuzz_entry.h"

namespace {

FuzzBytes Record(uint8_t kind, size_t size, std::initializer_list<std::pair<size_t, uint8_t>> fields) {
    FuzzBytes bytes(size, 0);
    bytes[8] = kind;
    for (auto [offset, value] : fields) bytes[offset] = value;
    return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::span<const uint8_t> bytes(data, size);
    linework::EntityRecordSize(bytes);
    linework::EntityRecord record = linework::EntityRecord::FromBytes(bytes);
    if (!record) return 0;
    linework::Drawing drawing;
    linework::AddBlockDef(drawing, "B", {});
    // The block field may name anything: the dump looks it up and names "none" for a stranger.
    linework::PushEntity(drawing, std::move(record));
    linework::DumpDrawing(drawing);
    return 0;
}

std::vector<FuzzBytes> fuzzSeeds() {
    return {
        Record(0x10, 52, {{19, 1}}),
        Record(0x70, 68, {{19, 1}}),
        Record(0x20, 64, {}),
        Record(0x30, 60, {{56, 3}, {57, 'a'}}),
        Record(0x50, 64, {{56, 2}, {59, 0}, {60, 1}}),
        Record(0x40, 108, {{104, 3}}),
        Record(0xA0, 97, {{36, 1}, {43, 2}, {92, 1}, {94, 2}}),
        Record(0xE0, 60, {{52, 7}}),
        Record(0xF0, 61, {{56, 4}}),
    };
}
