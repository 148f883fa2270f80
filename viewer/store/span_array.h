// An array of 4-byte spans (16-bit start, 16-bit length) in one movable block: a store's item
// index or a block's directory. At most 16383 spans fit the 65535-byte limit.
#ifndef LECT32_STORE_SPAN_ARRAY_H
#define LECT32_STORE_SPAN_ARRAY_H

#include <cstdint>

#include "store/lock_slots.h"
#include "winplat/owners.h"

namespace lect32 {

struct Span {
    uint16_t start;
    uint16_t length;
};

class SpanArray {
public:
    static constexpr uint16_t kMaxSpans = 16383;

    SpanArray() = default;
    ~SpanArray() { Release(); }
    SpanArray(const SpanArray&) = delete;
    SpanArray& operator=(const SpanArray&) = delete;

    void Init();
    void Release();

    uint16_t GetSize() const { return size_; }  // bytes
    uint16_t GetCount() const { return static_cast<uint16_t>(size_ / 4); }
    uint8_t GetLockSlot() const { return parked_.slot(); }
    HGLOBAL GetHandle() const { return block_.get(); }

    // As for ByteBuffer.
    void KeepLocked() { held_.keep(block_.get()); }
    // As for ByteBuffer; the slot used is returned (0 when the table is full).
    uint8_t ParkLock();
    void UnparkLock();
    void Unlock();

    // Address of span i through the parked pointer or a fresh lock (pair with Unlock); null
    // without a block or past the end. Spans may sit at any address: copy them, do not cast.
    uint8_t* GetSpanPointer(uint16_t i);
    // Span i, or (0, 0) without a block.
    Span GetSpan(uint16_t i);
    // 1, or 0 without a block.
    int SetSpan(uint16_t i, Span span);

    // Inserts n spans before span i (later spans move up). With chain each new span starts where
    // span i-1 ends (0 for i = 0) with length 0; without it they are unwritten. 1, or 0 past 16383
    // spans or without memory, the array unchanged.
    int InsertSpans(uint16_t i, uint16_t n, bool chain);
    // Removes n spans at i; removing all frees the block. 1, or 0 without memory (unchanged).
    int DeleteSpans(uint16_t i, uint16_t n);
    // Adds (subtracts) d to the length of span i and to the starts of spans i+1 .. i+n-1: a run
    // kept consistent after bytes were inserted into (removed from) the first item.
    void GrowSpans(uint16_t i, uint16_t n, uint16_t d);
    void ShrinkSpans(uint16_t i, uint16_t n, uint16_t d);
    // Lays the run of n spans from i back to back: start(k) = end(k-1) for k = i+1 .. i+n-1.
    void ChainStarts(uint16_t i, uint16_t n);
    // First of spans 0 .. n-1 with length 0, else -1 (also for n = 0 and without a block).
    int FindEmptySpan(uint16_t n);

private:
    void shift(uint16_t i, uint16_t n, uint16_t d, bool grow);
    void* keptData() const { return parked_ ? parked_.data() : held_.data(); }
    template <class Reshape>
    bool reshape(Reshape change);
    bool runFits(uint16_t i, uint16_t n, const char* what) const;

    winplat::GlobalBlock block_;
    ParkedLock parked_;  // given back before the block goes
    HeldLock held_;      // the same
    uint16_t size_ = 0;
};

}  // namespace lect32

#endif
