// The animation record of an animated picture (attribute slot 4), 8 + 2 x n bytes for n frames,
// little-endian: u16 frame count n, u16 current frame, u16 time spent in the current frame
// (1/100 s), u16 repeats left (0 = stopped), then n u16 frame delays (1/100 s).
#ifndef LECT32_PAGE_ANIMATION_RECORD_H
#define LECT32_PAGE_ANIMATION_RECORD_H

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace lect32 {

struct AnimationRecord {
    // Repeats of a new animation: as good as endless.
    static constexpr uint16_t kEndless = 0x7FFF;
    // What one tick of the page's 50 ms animation timer adds to the time in the frame.
    static constexpr uint16_t kTick = 5;

    uint16_t current = 0;
    uint16_t elapsed = 0;
    uint16_t repeats = kEndless;
    std::vector<uint16_t> delays;

    // A stored record; nothing when it is shorter than its count says, has no frames or names a
    // current frame past them.
    static std::optional<AnimationRecord> Parse(std::span<const uint8_t> bytes);
    std::vector<uint8_t> Bytes() const;

    bool Running() const { return repeats != 0; }
    // One tick: true when the picture moved to another frame (it is to be drawn). Past the last
    // frame one repeat is used up; at the last repeat the animation stops on its last frame.
    bool Tick();
};

}  // namespace lect32

#endif
