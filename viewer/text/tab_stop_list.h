// The tab stops of the paragraph being laid out, in ascending order of position, and the default
// interval (50 pixels scaled by the zoom) that stands in when no explicit stop lies further right.
#ifndef LECT32_TEXT_TAB_STOP_LIST_H
#define LECT32_TEXT_TAB_STOP_LIST_H

#include <array>
#include <cstdint>
#include <span>

namespace lect32 {

struct TabStop {
    static constexpr uint8_t kStoredSize = 4;
    enum Kind : uint8_t { kLeft = 0, kJustified = 1, kRight = 2, kCentred = 3, kDecimal = 4 };

    uint8_t kind = kLeft;
    int16_t position = 0;  // pixels from the paragraph's left indent

    // The stored 4 bytes: kind, s16 position, 0.
    static TabStop FromBytes(const uint8_t* bytes);
    void ToBytes(uint8_t* bytes) const;
    bool operator==(const TabStop&) const = default;
};

class TabStopList {
public:
    static constexpr int kMaxStops = 100;
    static constexpr int16_t kBaseInterval = 50;

    int16_t GetCount() const { return count_; }
    const TabStop& GetStop(int i) const { return stops_[i]; }

    // The index of the first stop at x or further right. Past the last, a left stop on the next
    // multiple of the interval, numbered on from the explicit stops.
    int FindNext(int x, TabStop& out) const;
    // Scales the positions and the process-wide interval by the zoom percentage.
    void Scale(int percent);
    // Takes at most 100 stops: counts come from documents.
    void SetStops(std::span<const TabStop> stops);
    // By position, leaving out a position already present; false when the list is full.
    bool Insert(TabStop stop);

    static int16_t GetInterval();
    static void SetInterval(int16_t interval);

private:
    std::array<TabStop, kMaxStops> stops_{};
    int16_t count_ = 0;
};

}  // namespace lect32

#endif
