// The spare room a byte buffer keeps between the runs of bytes its caller lays back to back (the
// items of a text store): each room sits at a logical position, between byte at - 1 and byte at,
// and holds unused bytes there in the buffer's block. An edit of a run then moves only the run's
// own tail into or out of the room behind it, not every byte after it.
//
// Positions are logical (what the buffer's callers see); physical offsets in the block add the
// rooms in front. Rooms are sorted, none shares a position with another, none is empty.
#ifndef LECT32_STORE_RUN_ROOMS_H
#define LECT32_STORE_RUN_ROOMS_H

#include <array>
#include <cstdint>

namespace lect32 {

class RunRooms {
public:
    struct Room {
        uint16_t at;
        uint16_t length;
    };

    // Bounds on what a buffer keeps unused: rooms are made only within them.
    static constexpr int kMaxRooms = 64;
    static constexpr uint32_t kMaxRoom = 1024;
    static constexpr uint32_t kMaxTotal = 8192;

    void clear();
    int count() const { return count_; }
    uint32_t total() const { return total_; }
    Room operator[](int i) const { return Room{at_[i], length_[i]}; }

    // The first room behind position (also one at position when 'atToo'; count() when there is
    // none) and the bytes of the rooms in front of it.
    struct Place {
        int index;
        uint32_t roomBytes;
    };
    Place place(uint32_t position, bool atToo) const;
    int firstFrom(uint32_t position, bool atToo) const { return place(position, atToo).index; }

    // Physical offset of logical byte 'at': behind a room kept at 'at' (after) or in front of it
    // (before).
    uint32_t after(uint32_t at) const { return at + place(at, false).roomBytes; }
    uint32_t before(uint32_t at) const { return at + place(at, true).roomBytes; }

    // The index of the room at exactly 'at', or count().
    int find(uint32_t at) const;
    // Whether a room of 'length' bytes may be added (or an existing one grown by that much).
    bool mayAdd(uint32_t length, bool newRoom) const;

    // The rooms from index i on move by 'delta' logical bytes (bytes inserted or removed in front
    // of them).
    void shiftFrom(int i, int delta);
    // Room i grows (shrinks) by 'bytes'; a room shrunk to nothing goes.
    void grow(int i, uint32_t bytes);
    void shrink(int i, uint32_t bytes);
    // A new room, merged with one already at the same position.
    void add(uint32_t at, uint32_t length);
    // Room i and the next one, when at the same position (the run between them was emptied),
    // become one.
    void mergeAt(int i);

private:
    void remove(int i);

    // Positions and lengths apart, so that finding a place is one pass without branches.
    std::array<uint16_t, kMaxRooms> at_{};
    std::array<uint16_t, kMaxRooms> length_{};
    int count_ = 0;
    uint32_t total_ = 0;
};

}  // namespace lect32

#endif
