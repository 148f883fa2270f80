// Record arrays and span arrays filled one record at a time, side by side with std::vector doing
// the same appends: 100,000 records per run spread over as many full arrays as it takes, and single
// arrays filled to sizes up to their limits, whose time per record should not grow with the size.
// Every access locks the block through the platform, which is most of what a record costs.
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

// One array of records of a given size filled from empty to n records, next to std::vector doing
// the same appends: the time per record should not grow with n. 9362 seven-byte records or 1023
// sixty-four-byte records fill the 64 KB block.
constexpr uint16_t kSeven = 7;

void perItem(benchmark::State& state, int64_t items) {
    state.SetItemsProcessed(state.iterations() * items);
    state.counters["per_item"] = benchmark::Counter(static_cast<double>(items),
                                                    benchmark::Counter::kIsIterationInvariantRate |
                                                        benchmark::Counter::kInvert);
}

void BM_RecordArrayAppendTo(benchmark::State& state) {
    const auto size = static_cast<uint16_t>(state.range(0));
    const auto n = static_cast<int>(state.range(1));
    for (auto _ : state) {
        lect32::RecordArray array(size);
        for (int k = 0; k < n; ++k) {
            const uint16_t index = array.Append();
            writeRecord(static_cast<uint8_t*>(array.LockRecord(index)), size, k);
            array.Unlock();
        }
        benchmark::DoNotOptimize(array.GetCount());
    }
    perItem(state, n);
}

void BM_VectorAppendTo(benchmark::State& state) {
    const auto size = static_cast<uint16_t>(state.range(0));
    const auto n = static_cast<int>(state.range(1));
    for (auto _ : state) {
        std::vector<uint8_t> array;
        for (int k = 0; k < n; ++k) {
            array.resize(array.size() + size);
            writeRecord(array.data() + array.size() - size, size, k);
        }
        benchmark::DoNotOptimize(array.data());
    }
    perItem(state, n);
}

// Record size and count: 7-byte and 64-byte records from a few to the block's limit.
void appendSizes(benchmark::internal::Benchmark* bench) {
    for (const int n : {16, 256, 1024, 4096, 9362}) bench->Args({7, n});
    for (const int n : {16, 64, 256, 1023}) bench->Args({64, n});
}

// Records inserted one at a time in the middle of the array: both sides move half the records per
// insert, so the cost per record grows with n for both; the ratio is what matters.
void BM_RecordArrayInsertMiddle(benchmark::State& state) {
    const auto n = static_cast<int>(state.range(0));
    for (auto _ : state) {
        lect32::RecordArray array(kSeven);
        for (int k = 0; k < n; ++k) {
            const auto at = static_cast<uint16_t>(array.GetCount() / 2);
            array.Insert(at);
            writeRecord(static_cast<uint8_t*>(array.LockRecord(at)), kSeven, k);
            array.Unlock();
        }
        benchmark::DoNotOptimize(array.GetCount());
    }
    perItem(state, n);
}

void BM_VectorInsertMiddle(benchmark::State& state) {
    const auto n = static_cast<int>(state.range(0));
    for (auto _ : state) {
        std::vector<uint8_t> array;
        for (int k = 0; k < n; ++k) {
            const size_t at = (array.size() / kSeven / 2) * kSeven;
            array.insert(array.begin() + static_cast<long>(at), kSeven, 0);
            writeRecord(array.data() + at, kSeven, k);
        }
        benchmark::DoNotOptimize(array.data());
    }
    perItem(state, n);
}

// A span index built by chained inserts at its end, next to a vector of spans; 16383 is the limit.
void BM_SpanArrayInsertTo(benchmark::State& state) {
    const auto n = static_cast<uint16_t>(state.range(0));
    for (auto _ : state) {
        lect32::SpanArray spans;
        for (uint16_t k = 0; k < n; ++k) spans.InsertSpans(k, 1, true);
        benchmark::DoNotOptimize(spans.GetCount());
    }
    perItem(state, n);
}

void BM_VectorSpanInsertTo(benchmark::State& state) {
    const auto n = static_cast<uint16_t>(state.range(0));
    for (auto _ : state) {
        std::vector<lect32::Span> spans;
        for (uint16_t k = 0; k < n; ++k) {
            const lect32::Span before = k ? spans.back() : lect32::Span{0, 0};
            spans.insert(spans.end(), lect32::Span{static_cast<uint16_t>(before.start + before.length), 0});
        }
        benchmark::DoNotOptimize(spans.data());
    }
    perItem(state, n);
}

}  // namespace

BENCHMARK(BM_RecordArrayAppend)->Arg(2)->Arg(7)->Arg(16)->Arg(64)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VectorAppend)->Arg(2)->Arg(7)->Arg(16)->Arg(64)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RecordArrayFillSeven)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SpanArrayFill)->Unit(benchmark::kMillisecond);

BENCHMARK(BM_RecordArrayAppendTo)->Apply(appendSizes)->ArgNames({"size", "n"})->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_VectorAppendTo)->Apply(appendSizes)->ArgNames({"size", "n"})->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RecordArrayInsertMiddle)
    ->Arg(256)
    ->Arg(1024)
    ->Arg(4096)
    ->Arg(9362)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_VectorInsertMiddle)->Arg(256)->Arg(1024)->Arg(4096)->Arg(9362)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SpanArrayInsertTo)->Arg(16)->Arg(256)->Arg(1024)->Arg(4096)->Arg(16383)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_VectorSpanInsertTo)->Arg(16)->Arg(256)->Arg(1024)->Arg(4096)->Arg(16383)->Unit(benchmark::kMicrosecond);
