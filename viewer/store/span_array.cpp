#include "store/span_array.h"

#include <cstring>

#include "store/block_pool.h"
#include "store/lock_slots.h"

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

// Spans i .. i+n-1 start where span i-1 ends (0 for i = 0) with length 0.
void writeChained(uint8_t* data, uint16_t i, uint16_t n) {
    uint16_t start = 0;
    if (i > 0) {
        const Span before = readSpan(data + 4 * (uint32_t{i} - 1));
        start = static_cast<uint16_t>(before.start + before.length);
    }
    for (uint32_t k = i; k < uint32_t{i} + n; ++k) writeSpan(data + 4 * k, Span{start, 0});
}

}  // namespace

void SpanArray::Init() { Release(); }

void SpanArray::Release() {
    parked_.unpark();
    held_.suspend();
    block_.reset();
    size_ = 0;
}

uint8_t SpanArray::ParkLock() { return parked_.park(block_.get(), "SpanArray parked twice"); }

void SpanArray::UnparkLock() { parked_.unpark(); }

void SpanArray::Unlock() {
    if (block_ && !parked_ && !held_) UnlockForCaller(block_.get());
}

bool SpanArray::runFits(uint16_t i, uint16_t n, const char* what) const {
    if (uint32_t{i} + n <= GetCount()) return true;
    ReportContractBreach(what);
    return false;
}

uint8_t* SpanArray::GetSpanPointer(uint16_t i) {
    if (!block_) return nullptr;
    if (!runFits(i, 1, "SpanArray::GetSpanPointer past the last span")) return nullptr;
    auto* data = static_cast<uint8_t*>(keptData() ? keptData() : LockForCaller(block_.get()));
    return data ? data + 4 * uint32_t{i} : nullptr;
}

Span SpanArray::GetSpan(uint16_t i) {
    if (!block_ || !runFits(i, 1, "SpanArray::GetSpan past the last span")) return Span{0, 0};
    const BlockBytes data(block_.get(), keptData());
    return data ? readSpan(data.get() + 4 * uint32_t{i}) : Span{0, 0};
}

int SpanArray::SetSpan(uint16_t i, Span span) {
    if (!block_ || !runFits(i, 1, "SpanArray::SetSpan past the last span")) return 0;
    const BlockBytes data(block_.get(), keptData());
    if (!data) return 0;
    writeSpan(data.get() + 4 * uint32_t{i}, span);
    return 1;
}

template <class Reshape>
bool SpanArray::reshape(Reshape change) {
    return ReshapeKeptBlock(parked_, held_, block_, "SpanArray reshaped while parked", change);
}

int SpanArray::InsertSpans(uint16_t i, uint16_t n, bool chain) {
    if (n == 0) return 1;
    const uint16_t count = GetCount();
    if (i > count) {
        ReportContractBreach("SpanArray::InsertSpans past the end");
        return 0;
    }
    if (uint32_t{count} + n > kMaxSpans) return 0;
    // Chained spans are written at once: without a lock kept across calls, the block is grown and
    // locked in one platform call and written through that lock, rather than grown, then locked and
    // unlocked again for the write.
    const bool lockForWrite = chain && !keptData();
    winplat::GlobalPin pin;
    const bool grown = reshape([&] {
        if (!lockForWrite) return GrowBlock(block_, size_, 4 * uint32_t{i}, 4 * uint32_t{n});
        pin = GrowBlockLocked(block_, size_, 4 * uint32_t{i}, 4 * uint32_t{n});
        return static_cast<bool>(pin);
    });
    if (!grown) return 0;
    size_ = static_cast<uint16_t>(size_ + 4 * n);
    if (chain) {
        const BlockBytes data(block_.get(), pin ? pin.data() : keptData());
        if (!data) return 1;  // a fresh block always locks; nothing sound to undo otherwise
        writeChained(data.get(), i, n);
    }
    return 1;
}

int SpanArray::DeleteSpans(uint16_t i, uint16_t n) {
    if (n == 0) return 1;
    if (!runFits(i, n, "SpanArray::DeleteSpans past the last span")) return 0;
    const bool parked = static_cast<bool>(parked_);
    if (4u * n == size_) {
        if (parked) {
            ReportContractBreach("SpanArray emptied while parked");
            parked_.emptied();
        }
        held_.suspend();
        block_.reset();
        size_ = 0;
        return 1;
    }
    if (!reshape([&] { return ShrinkBlock(block_.get(), size_, 4 * uint32_t{i}, 4 * uint32_t{n}); })) return 0;
    size_ = static_cast<uint16_t>(size_ - 4 * n);
    return 1;
}

void SpanArray::shift(uint16_t i, uint16_t n, uint16_t d, bool grow) {
    if (n == 0 || d == 0 || !block_) return;
    if (!runFits(i, n, "SpanArray run past the last span")) return;
    const BlockBytes bytes(block_.get(), keptData());
    if (!bytes) return;
    uint8_t* data = bytes.get();
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
}

void SpanArray::GrowSpans(uint16_t i, uint16_t n, uint16_t d) { shift(i, n, d, true); }

void SpanArray::ShrinkSpans(uint16_t i, uint16_t n, uint16_t d) { shift(i, n, d, false); }

void SpanArray::ChainStarts(uint16_t i, uint16_t n) {
    if (n == 0 || !block_) return;
    if (!runFits(i, n, "SpanArray::ChainStarts past the last span")) return;
    const BlockBytes bytes(block_.get(), keptData());
    if (!bytes) return;
    uint8_t* data = bytes.get();
    for (uint32_t k = uint32_t{i} + 1; k < uint32_t{i} + n; ++k) {
        const Span before = readSpan(data + 4 * (k - 1));
        Span span = readSpan(data + 4 * k);
        span.start = static_cast<uint16_t>(before.start + before.length);
        writeSpan(data + 4 * k, span);
    }
}

int SpanArray::FindEmptySpan(uint16_t n) {
    if (n == 0 || !block_) return -1;
    if (!runFits(0, n, "SpanArray::FindEmptySpan past the last span")) n = GetCount();
    const BlockBytes data(block_.get(), keptData());
    if (!data) return -1;
    for (uint32_t k = 0; k < n; ++k) {
        if (readSpan(data.get() + 4 * k).length == 0) return static_cast<int>(k);
    }
    return -1;
}

}  // namespace lect32
