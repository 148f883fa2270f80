// The drafting program's drawing model: walking the drawing list and computing the statistics
// over 10,000, 100,000 and 1,000,000 entities (lines, circles and texts, one insert in a
// thousand), next to a walk of the same record bytes packed in one std::vector, in the same run.
// BM_WalkDrawingList/N against BM_WalkPackedVector/N is the list's cost over the bare bytes. On a
// busy machine interleave the cases, so drift in the machine's speed falls on both sides:
//   --benchmark_filter=Walk --benchmark_enable_random_interleaving=true --benchmark_repetitions=5
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <map>
#include <memory>
#include <new>
#include <vector>

#include "drawing/drawing_statistics.h"

// Every allocation of the program is counted, so the statistics can show they allocate nothing
// once their storage is made. GCC takes the replaced pair for a mismatched one where it inlines
// them, so that warning is off in this file.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif
std::atomic<uint64_t> allocations{0};

void* operator new(size_t size) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* block = std::malloc(size ? size : 1)) return block;
    throw std::bad_alloc();
}
void operator delete(void* block) noexcept { std::free(block); }
void operator delete(void* block, size_t) noexcept { std::free(block); }

namespace {

using namespace linework;

EntityRecord MakeRecord(int i, BlockHandle block) {
    switch (i % 1000 == 999 ? 3 : i % 3) {
        case 0: {
            EntityRecord line(EntityKind::Polyline, PolylineRecordSize(2));
            line.SetByte(entity_field::kLastVertex, 1);
            line.SetDouble(entity_field::kVertices + 16, i);
            return line;
        }
        case 1: return EntityRecord(EntityKind::Arc, kArcRecordSize);
        case 2: {
            EntityRecord text(EntityKind::Text, 57 + 4);
            text.SetByte(entity_field::kText, 4);
            return text;
        }
        default: {
            EntityRecord insert(EntityKind::BlockInsert, 60);
            insert.Store<uint32_t>(entity_field::kBlock, block);
            return insert;
        }
    }
}

struct Fixture {
    Drawing drawing;
    std::vector<uint8_t> packed;  // the same records back to back

    explicit Fixture(int count) {
        BlockHandle block = AddBlockDef(drawing, "B", {});
        for (int i = 0; i < 5; ++i) AppendToBlock(drawing, block, MakeRecord(0, 0));
        for (int i = 0; i < count; ++i) {
            EntityHandle at = PushEntity(drawing, MakeRecord(i, block));
            auto bytes = drawing[at].Bytes();
            packed.insert(packed.end(), bytes.begin(), bytes.end());
        }
    }
};

// One fixture per size, kept for the whole run: interleaved cases come back to each size often.
Fixture& Shared(int count) {
    static std::map<int, std::unique_ptr<Fixture>> fixtures;
    auto& fixture = fixtures[count];
    if (!fixture) fixture = std::make_unique<Fixture>(count);
    return *fixture;
}

void BM_WalkDrawingList(benchmark::State& state) {
    Fixture& fixture = Shared(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        uint64_t lines = 0;
        ForEachEntity(fixture.drawing, fixture.drawing.head, [&](EntityHandle at) {
            lines += fixture.drawing[at].Kind() == EntityKind::Polyline;
        });
        benchmark::DoNotOptimize(lines);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_ComputeDrawingStatistics(benchmark::State& state) {
    Fixture& fixture = Shared(static_cast<int>(state.range(0)));
    SystemVariableImage image;
    ComputeDrawingStatistics(fixture.drawing, image, 0);  // makes the walk's storage
    const uint64_t before = allocations.load();
    for (auto _ : state) {
        ComputeDrawingStatistics(fixture.drawing, image, 0);
        benchmark::DoNotOptimize(image.Double(statistics_slot::kEntities));
    }
    state.counters["allocations/run"] =
        static_cast<double>(allocations.load() - before) / static_cast<double>(state.iterations());
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// The peer: the same bytes in one vector, stepped through by their record sizes.
void BM_WalkPackedVector(benchmark::State& state) {
    Fixture& fixture = Shared(static_cast<int>(state.range(0)));
    std::span<const uint8_t> bytes(fixture.packed);
    for (auto _ : state) {
        uint64_t lines = 0;
        for (size_t at = 0; at < bytes.size();) {
            auto record = bytes.subspan(at);
            lines += (record[entity_field::kKindAndFlags] & 0xF0) == 0x10;
            size_t size = EntityRecordSize(record);
            if (size == 0) break;
            at += size;
        }
        benchmark::DoNotOptimize(lines);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

BENCHMARK(BM_WalkDrawingList)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ComputeDrawingStatistics)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WalkPackedVector)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMicrosecond);

}  // namespace
