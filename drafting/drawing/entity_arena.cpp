#include "drawing/entity_arena.h"

#include <sanitizer/asan_interface.h>

#include <algorithm>
#include <new>


namespace linework {
EntityArena::~EntityArena() {
    // The C allocator takes its blocks back as it lent them.
    for (Chunk& chunk : chunks_) Unpoison({chunk.bytes.get(), chunk.size});
}

std::span<uint8_t> EntityArena::Take(size_t size) {
    if (size == 0) return {};
    size_t need = size + kGap;
    std::span<uint8_t> room = TakeFree(need);
    if (room.empty()) room = Carve(need);
    if (room.empty()) return {};
    Unpoison(room.first(size));
    ++lent_;
    return room;
}

void EntityArena::Give(std::span<uint8_t> room) {
    if (room.empty()) return;
    Poison(room);
    --lent_;
    if (lent_ == 0 && quarantineLimit_ == 0) {
        StartAgain();
        return;
    }
    if (quarantineLimit_ == 0) {
        KeepFree(room);
        return;
    }
    quarantine_.push_back(room);
    quarantined_ += room.size();
    while (quarantined_ > quarantineLimit_) {
        quarantined_ -= quarantine_.front().size();
        KeepFree(quarantine_.front());
        quarantine_.pop_front();
    }
}

size_t EntityArena::Reserved() const {
    size_t bytes = 0;
    for (const Chunk& chunk : chunks_) bytes += chunk.size;
    return bytes;
}

std::span<uint8_t> EntityArena::TakeFree(size_t need) {
    auto best = free_.lower_bound(need);
    if (best == free_.end()) return {};
    std::span<uint8_t> room(best->second, best->first);
    free_.erase(best);
    return Split(room, need);
}

std::span<uint8_t> EntityArena::Carve(size_t need) {
    if (!MoveToChunkFor(need)) return {};
    std::span<uint8_t> room(chunks_[current_].bytes.get() + carved_, need);
    carved_ += need;
    return room;
}

bool EntityArena::MoveToChunkFor(size_t need) {
    for (; current_ < chunks_.size(); ++current_, carved_ = 0) {
        Chunk& chunk = chunks_[current_];
        if (chunk.size - carved_ >= need) return true;
        // The tail too short for this record still takes smaller ones.
        std::span<uint8_t> tail(chunk.bytes.get() + carved_, chunk.size - carved_);
        if (tail.size() >= kSmallestRoom) KeepFree(tail);
    }
    size_t growth = kFirstChunk << std::min<size_t>(chunks_.size(), 8);
    size_t size = std::max(need, std::min(growth, kLargestChunk));
    Chunk chunk{std::unique_ptr<uint8_t[]>(new (std::nothrow) uint8_t[size]), size};
    if (!chunk.bytes) return false;
    Poison({chunk.bytes.get(), size});
    chunks_.push_back(std::move(chunk));
    current_ = chunks_.size() - 1;
    carved_ = 0;
    return true;
}

std::span<uint8_t> EntityArena::Split(std::span<uint8_t> room, size_t need) {
    if (room.size() - need < kSmallestRoom) return room;
    KeepFree(room.subspan(need));
    return room.first(need);
}

void EntityArena::KeepFree(std::span<uint8_t> room) { free_.emplace(room.size(), room.data()); }

void EntityArena::StartAgain() {
    free_.clear();
    current_ = 0;
    carved_ = 0;
}

void EntityArena::Poison(std::span<uint8_t> bytes) {
    ASAN_POISON_MEMORY_REGION(bytes.data(), bytes.size());
    (void)bytes;
}

void EntityArena::Unpoison(std::span<uint8_t> bytes) {
    ASAN_UNPOISON_MEMORY_REGION(bytes.data(), bytes.size());
    (void)bytes;
}

}  // namespace linework
