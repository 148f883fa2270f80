// Record arrays grow by exactly one record per append, so filling one costs the square of its
// size in copied bytes; the 64 KB block caps that. Side by side with std::vector doing the same
// appends, 100,000 records per run spread over as many full arrays as it takes.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "store/block_pool.h"
#include "store/record_array.h"
#include "store/span_array.h"

namespace {

constexpr int kRecords = 100000;

void writeRecord(uint8_t* at, uint16_t size, int value) {
    std::memset(at, static_cast<uint8_t>(value), size);
}

void BM_RecordArrayAppend(benchmark::State& state) {
    const auto size = static_cast<uint16_t>(state.range(0));
    for (auto _ : state) {
        int left = kRecords;
        while (left > 0) {
            lect32::RecordArray array(size);
            for (;;) {
                const uint16_t index = array.Append();
                if (index == lect32::kAddLimit) break;
                writeRecord(static_cast<uint8_t*>(array.LockRecord(index)), size, left);
                array.Unlock();
                if (--left == 0) break;
            }
            benchmark::DoNotOptimize(array.GetCount());
        }
    }
    state.SetItemsProcessed(state.iterations() * kRecords);
}

void BM_VectorAppend(benchmark::State& state) {
    const auto size = static_cast<uint16_t>(state.range(0));
    const int perArray = 65535 / size;
    for (auto _ : state) {
        int left = kRecords;
        while (left > 0) {
            std::vector<uint8_t> array;
            for (int k = 0; k < perArray && left > 0; ++k, --left) {
                array.resize(array.size() + size);
                writeRecord(array.data() + array.size() - size, size, left);
            }
            benchmark::DoNotOptimize(array.data());
        }
    }
    state.SetItemsProcessed(state.iterations() * kRecords);
}

// One array of 7-byte records filled to the limit (9362 appends).
void BM_RecordArrayFillSeven(benchmark::State& state) {
    for (auto _ : state) {
        lect32::RecordArray array(7);
        while (array.Append() != lect32::kAddLimit) {
        }
        benchmark::DoNotOptimize(array.GetCount());
    }
    state.SetItemsProcessed(state.iterations() * 9362);
}

// A span index filled to its limit one chained span at a time (16383 inserts).
void BM_SpanArrayFill(benchmark::State& state) {
    for (auto _ : state) {
        lect32::SpanArray spans;
        while (spans.InsertSpans(spans.GetCount(), 1, true)) {
        }
        benchmark::DoNotOptimize(spans.GetCount());
    }
    state.SetItemsProcessed(state.iterations() * lect32::SpanArray::kMaxSpans);
}

}  // namespace

BENCHMARK(BM_RecordArrayAppend)->Arg(2)->Arg(7)->Arg(16)->Arg(64)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VectorAppend)->Arg(2)->Arg(7)->Arg(16)->Arg(64)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RecordArrayFillSeven)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SpanArrayFill)->Unit(benchmark::kMillisecond);
