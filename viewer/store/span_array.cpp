#include "store/span_array.h"

#include <cstring>

#include "store/block_pool.h"
#include "store/lock_slots.h"
#include "winplat/memory.h"

namespace lect32 {
namespace {

Span readSpan(const uint8_t* at) {
    Span span;
    std::memcpy(&span.start, at, 2);
    std::memcpy(&span.length, at + 2, 2);
    return span;
}

void writeSpan(uint8_t* at, Span span) {
    std::memcpy(at, &span.start, 2);
    std::memcpy(at + 2, &span.length, 2);
}

}  // namespace

void SpanArray::Init() {
    block_ = nullptr;
    size_ = 0;
    slot_ = 0;
}

void SpanArray::Release() {
    if (block_) {
        if (slot_) GlobalUnlock(block_);
        GlobalFree(block_);
    }
    Init();
}

uint8_t SpanArray::ParkLock() { return parkBlockLock(block_, slot_, "SpanArray parked twice"); }

void SpanArray::UnparkLock() { unparkBlockLock(block_, slot_); }

void SpanArray::Unlock() {
    if (block_ && !slot_) GlobalUnlock(block_);
}

uint8_t* SpanArray::acquire() {
    if (!block_) return nullptr;
    if (slot_) return static_cast<uint8_t*>(gLockSlots.Get(slot_));
    return static_cast<uint8_t*>(GlobalLock(block_));
}

void SpanArray::release() { Unlock(); }

bool SpanArray::runFits(uint16_t i, uint16_t n, const char* what) const {
    if (uint32_t{i} + n <= GetCount()) return true;
    ReportContractBreach(what);
    return false;
}

uint8_t* SpanArray::GetSpanPointer(uint16_t i) {
    if (!block_) return nullptr;
    if (!runFits(i, 1, "SpanArray::GetSpanPointer past the last span")) return nullptr;
    uint8_t* data = acquire();
    return data ? data + 4 * uint32_t{i} : nullptr;
}

Span SpanArray::GetSpan(uint16_t i) {
    if (!block_ || !runFits(i, 1, "SpanArray::GetSpan past the last span")) return Span{0, 0};
    const uint8_t* data = acquire();
    if (!data) return Span{0, 0};
    const Span span = readSpan(data + 4 * uint32_t{i});
    release();
    return span;
}

int SpanArray::SetSpan(uint16_t i, Span span) {
    if (!block_ || !runFits(i, 1, "SpanArray::SetSpan past the last span")) return 0;
    uint8_t* data = acquire();
    if (!data) return 0;
    writeSpan(data + 4 * uint32_t{i}, span);
    release();
    return 1;
}

void SpanArray::repark() {
    ReportContractBreach("SpanArray reshaped while parked");
    void* data = block_ ? GlobalLock(block_) : nullptr;
    gLockSlots.Replace(slot_, data);
    if (!data) slot_ = 0;
}

int SpanArray::InsertSpans(uint16_t i, uint16_t n, bool chain) {
    if (n == 0) return 1;
    const uint16_t count = GetCount();
    if (i > count) {
        ReportContractBreach("SpanArray::InsertSpans past the end");
        return 0;
    }
    if (uint32_t{count} + n > kMaxSpans) return 0;
    const bool parked = slot_ != 0;
    if (parked && block_) GlobalUnlock(block_);
    if (!GrowBlock(block_, size_, 4 * uint32_t{i}, 4 * uint32_t{n})) {
        if (parked && block_) GlobalLock(block_);
        return 0;
    }
    size_ = static_cast<uint16_t>(size_ + 4 * n);
    if (parked) repark();
    if (chain) {
        uint8_t* data = acquire();
        if (!data) return 1;  // a fresh block always locks; nothing sound to undo otherwise
        uint16_t start = 0;
        if (i > 0) {
            const Span before = readSpan(data + 4 * (uint32_t{i} - 1));
            start = static_cast<uint16_t>(before.start + before.length);
        }
        for (uint32_t k = i; k < uint32_t{i} + n; ++k) writeSpan(data + 4 * k, Span{start, 0});
        release();
    }
    return 1;
}

int SpanArray::DeleteSpans(uint16_t i, uint16_t n) {
    if (n == 0) return 1;
    if (!runFits(i, n, "SpanArray::DeleteSpans past the last span")) return 0;
    const bool parked = slot_ != 0;
    if (4u * n == size_) {
        if (parked) {
            ReportContractBreach("SpanArray emptied while parked");
            GlobalUnlock(block_);
            gLockSlots.Replace(slot_, nullptr);
        }
        GlobalFree(block_);
        block_ = nullptr;
        size_ = 0;
        return 1;
    }
    if (parked) GlobalUnlock(block_);
    if (!ShrinkBlock(block_, size_, 4 * uint32_t{i}, 4 * uint32_t{n})) {
        if (parked) GlobalLock(block_);
        return 0;
    }
    size_ = static_cast<uint16_t>(size_ - 4 * n);
    if (parked) repark();
    return 1;
}

void SpanArray::shift(uint16_t i, uint16_t n, uint16_t d, bool grow) {
    if (n == 0 || d == 0 || !block_) return;
    if (!runFits(i, n, "SpanArray run past the last span")) return;
    uint8_t* data = acquire();
    if (!data) return;
    // 16-bit arithmetic wraps as the stored words do.
    const auto apply = [&](uint16_t value) { return static_cast<uint16_t>(grow ? value + d : value - d); };
    Span first = readSpan(data + 4 * uint32_t{i});
    first.length = apply(first.length);
    writeSpan(data + 4 * uint32_t{i}, first);
    for (uint32_t k = uint32_t{i} + 1; k < uint32_t{i} + n; ++k) {
        Span span = readSpan(data + 4 * k);
        span.start = apply(span.start);
        writeSpan(data + 4 * k, span);
    }
    release();
}

void SpanArray::GrowSpans(uint16_t i, uint16_t n, uint16_t d) { shift(i, n, d, true); }

void SpanArray::ShrinkSpans(uint16_t i, uint16_t n, uint16_t d) { shift(i, n, d, false); }

void SpanArray::ChainStarts(uint16_t i, uint16_t n) {
    if (n == 0 || !block_) return;
    if (!runFits(i, n, "SpanArray::ChainStarts past the last span")) return;
    uint8_t* data = acquire();
    if (!data) return;
    for (uint32_t k = uint32_t{i} + 1; k < uint32_t{i} + n; ++k) {
        const Span before = readSpan(data + 4 * (k - 1));
        Span span = readSpan(data + 4 * k);
        span.start = static_cast<uint16_t>(before.start + before.length);
        writeSpan(data + 4 * k, span);
    }
    release();
}

int SpanArray::FindEmptySpan(uint16_t n) {
    if (n == 0 || !block_) return -1;
    if (!runFits(0, n, "SpanArray::FindEmptySpan past the last span")) n = GetCount();
    const uint8_t* data = acquire();
    if (!data) return -1;
    int found = -1;
    for (uint32_t k = 0; k < n; ++k) {
        if (readSpan(data + 4 * k).length == 0) {
            found = static_cast<int>(k);
            break;
        }
    }
    release();
    return found;
}

}  // namespace lect32
