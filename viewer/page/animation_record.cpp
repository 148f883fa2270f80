#include "page/animation_record.h"

#include "winplat/byte_reader.h"
#include "winplat/refusal.h"

namespace lect32 {
namespace {

constexpr winplat::Refuser refuse("lect32: animation record");

void put16(std::vector<uint8_t>& out, uint16_t value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

}  // namespace

std::optional<AnimationRecord> AnimationRecord::Parse(std::span<const uint8_t> bytes) {
    winplat::ByteReader in(bytes);
    const uint16_t count = in.u16();
    AnimationRecord record;
    record.current = in.u16();
    record.elapsed = in.u16();
    record.repeats = in.u16();
    if (!in.ok()) return refuse(std::nullopt, "the record ends before its header");
    if (count == 0) return refuse(std::nullopt, "the record has no frames");
    if (!in.has(size_t{count} * 2)) return refuse(std::nullopt, "the record holds fewer delays than frames");
    if (record.current >= count) return refuse(std::nullopt, "the current frame lies past the frames");
    record.delays.reserve(count);
    for (uint16_t n = 0; n < count; ++n) record.delays.push_back(in.u16());
    return record;
}

std::vector<uint8_t> AnimationRecord::Bytes() const {
    std::vector<uint8_t> out;
    out.reserve(8 + delays.size() * 2);
    put16(out, static_cast<uint16_t>(delays.size()));
    put16(out, current);
    put16(out, elapsed);
    put16(out, repeats);
    for (const uint16_t delay : delays) put16(out, delay);
    return out;
}

bool AnimationRecord::Tick() {
    if (!Running() || delays.empty()) return false;
    const uint32_t spent = uint32_t{elapsed} + kTick;
    if (spent < delays[current]) {
        elapsed = static_cast<uint16_t>(spent);
        return false;
    }
    elapsed = 0;
    if (current + 1u < delays.size()) {
        ++current;
        return true;
    }
    if (--repeats == 0) return false;
    current = 0;
    return true;
}

}  // namespace lect32
