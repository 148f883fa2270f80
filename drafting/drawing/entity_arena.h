// Storage for a drawing's entity records: large chunks carved in the order records arrive, so the
// records made one after another lie back to back and a walk of a list streams through memory
// instead of visiting one heap block per record.
//
// Room given back is kept by size and handed to the next record it fits, best fit first, the
// rest split off for later; once every room is back the arena starts again at its first chunk.
// Chunks stay until the arena dies, so a drawing emptied and filled again reuses its memory.
//
// Under AddressSanitizer the arena keeps the sanitizer's view of use after free: room not lent is
// poisoned, each room carries a poisoned gap after its record so that reading past a record is
// caught, and room given back waits in a quarantine before it is lent again, so a record kept
// after it was freed is still poisoned when it is read.
#ifndef LINEWORK_DRAWING_ENTITY_ARENA_H
#define LINEWORK_DRAWING_ENTITY_ARENA_H

#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <span>
#include <vector>

#include "drawing/entity_record.h"
#include "winplat/sanitizer.h"

namespace linework {

class EntityArena {
public:
#if defined(WINPLAT_ADDRESS_SANITIZER)
    static constexpr bool kSanitized = true;
#else
    static constexpr bool kSanitized = false;
#endif
    // The poisoned gap after each record; at least two granules of the sanitizer's shadow, so one
    // whole granule stays poisoned however the record's end and the next room's start fall.
    static constexpr size_t kGap = kSanitized ? 16 : 0;
    // Room smaller than the smallest record with its gap could never be lent again: it stays with
    // the room it was split from.
    static constexpr size_t kSmallestRoom = kEntityHeadSize + kGap;
    // The first chunk is small, for the many drawings of a few entities; each next one doubles up
    // to the largest, beyond which a record too big for it gets a chunk of its own size.
    static constexpr size_t kFirstChunk = size_t{4} << 10;
    static constexpr size_t kLargestChunk = size_t{1} << 20;
    // Bytes of given-back room held out of reuse, by default: under the sanitizer enough for
    // thousands of records; otherwise none, room is reused at once.
    static constexpr size_t kDefaultQuarantine = kSanitized ? size_t{1} << 20 : 0;

    explicit EntityArena(size_t quarantineBytes = kDefaultQuarantine) : quarantineLimit_(quarantineBytes) {}
    EntityArena(EntityArena&&) noexcept = default;
    EntityArena& operator=(EntityArena&&) noexcept = default;
    EntityArena(const EntityArena&) = delete;
    EntityArena& operator=(const EntityArena&) = delete;
    ~EntityArena();

    // Room for a record of 'size' bytes (1 or more): its first 'size' bytes are the record's, any
    // beyond them belong to the room and stay poisoned. Empty when the memory is not there.
    std::span<uint8_t> Take(size_t size);
    // Room that Take gave, given back whole; the record in it must not be used again.
    void Give(std::span<uint8_t> room);

    // Rooms lent and not given back.
    size_t RoomsLent() const { return lent_; }
    // Bytes of all chunks.
    size_t Reserved() const;

private:
    struct Chunk {
        std::unique_ptr<uint8_t[]> bytes;
        size_t size = 0;
    };

    std::span<uint8_t> TakeFree(size_t need);
    std::span<uint8_t> Carve(size_t need);
    bool MoveToChunkFor(size_t need);
    // Keeps 'room' for reuse, the bytes of it beyond 'need' split off as room of their own when
    // a record can still be made there; the room for 'need'.
    std::span<uint8_t> Split(std::span<uint8_t> room, size_t need);
    void KeepFree(std::span<uint8_t> room);
    void StartAgain();
    static void Poison(std::span<uint8_t> bytes);
    static void Unpoison(std::span<uint8_t> bytes);

    std::vector<Chunk> chunks_;
    size_t current_ = 0;  // the chunk being carved
    size_t carved_ = 0;   // bytes of it lent or kept free
    std::multimap<size_t, uint8_t*> free_;  // room by size
    std::deque<std::span<uint8_t>> quarantine_;
    size_t quarantined_ = 0;
    size_t quarantineLimit_;
    size_t lent_ = 0;
};

}  // namespace linework

#endif
