// A string list of file names built by appends and then searched for every name, next to
// std::unordered_map doing the same work, at sizes up to the list's 262140-byte block (13,000 of
// these names with their headers). The time per name should not grow with the count, from a
// hundred names to the limit.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "store/string_list.h"

namespace {

std::vector<std::string> names(int count) {
    std::vector<std::string> out;
    out.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) out.push_back("picture_" + std::to_string(i * 7919 % 100003) + ".gif");
    return out;
}

void perItem(benchmark::State& state, int64_t items) {
    state.SetItemsProcessed(state.iterations() * items);
    state.counters["per_item"] = benchmark::Counter(static_cast<double>(items),
                                                    benchmark::Counter::kIsIterationInvariantRate |
                                                        benchmark::Counter::kInvert);
}

void BM_StringListBuild(benchmark::State& state) {
    const auto all = names(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        lect32::StringList list;
        for (const auto& n : all) benchmark::DoNotOptimize(list.AddString(n.data(), int(n.size())));
    }
    perItem(state, state.range(0));
}

void BM_UnorderedMapBuild(benchmark::State& state) {
    const auto all = names(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        std::unordered_map<std::string, uint16_t> map;
        for (size_t i = 0; i < all.size(); ++i) map.emplace(all[i], uint16_t(i));
        benchmark::DoNotOptimize(map.size());
    }
    perItem(state, state.range(0));
}

void BM_StringListFindEach(benchmark::State& state) {
    const auto all = names(static_cast<int>(state.range(0)));
    lect32::StringList list;
    for (const auto& n : all) list.AddString(n.data(), int(n.size()));
    for (auto _ : state) {
        for (const auto& n : all) benchmark::DoNotOptimize(list.Find(n.data(), int(n.size())));
    }
    perItem(state, state.range(0));
}

void BM_UnorderedMapFindEach(benchmark::State& state) {
    const auto all = names(static_cast<int>(state.range(0)));
    std::unordered_map<std::string, uint16_t> map;
    for (size_t i = 0; i < all.size(); ++i) map.emplace(all[i], uint16_t(i));
    for (auto _ : state) {
        for (const auto& n : all) benchmark::DoNotOptimize(map.find(n));
    }
    perItem(state, state.range(0));
}

}  // namespace

BENCHMARK(BM_StringListBuild)->Arg(100)->Arg(1000)->Arg(4000)->Arg(13000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_UnorderedMapBuild)->Arg(100)->Arg(1000)->Arg(4000)->Arg(13000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StringListFindEach)->Arg(1000)->Arg(4000)->Arg(13000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_UnorderedMapFindEach)->Arg(1000)->Arg(4000)->Arg(13000)->Unit(benchmark::kMicrosecond);
