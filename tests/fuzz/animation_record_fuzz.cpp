// The animation record of an animated picture (attribute slot 4) under fuzzing: a record that
// reads is written back to the same bytes, and ticks keep its current frame among its frames and
// stop it for good once its repeats are used up. Seeds: records built here.
#include <cstdint>
#include <vector>

#include "fuzz_entry.h"
#include "fuzz_quiet.h"
#include "page/animation_record.h"

namespace {

void check(bool holds) {
    if (!holds) __builtin_trap();
}

constexpr int kTicks = 64;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QuietInput quiet;  // the refusals of damaged records
    auto record = lect32::AnimationRecord::Parse({data, size});
    if (!record) return 0;
    const size_t frames = record->delays.size();
    check(size >= 8 + frames * 2);
    check(record->Bytes() == std::vector<uint8_t>(data, data + 8 + frames * 2));
    for (int k = 0; k < kTicks; ++k) {
        const bool wasRunning = record->Running();
        const bool moved = record->Tick();
        check(record->current < frames);
        check(wasRunning || !moved);
        check(wasRunning || !record->Running());
    }
    return 0;
}

std::vector<FuzzBytes> fuzzSeeds() {
    std::vector<FuzzBytes> seeds;
    for (const auto& [delays, repeats] : std::vector<std::pair<std::vector<uint16_t>, uint16_t>>{
             {{10, 15, 5}, 0x7FFF}, {{0, 0}, 3}, {{7}, 1}, {{5, 5, 5, 5}, 0}}) {
        lect32::AnimationRecord record;
        record.delays = delays;
        record.repeats = repeats;
        seeds.push_back(record.Bytes());
    }
    return seeds;
}
