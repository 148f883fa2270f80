// A string list of 10,000 file names built by appends and then searched for every name, next to
// std::unordered_map doing the same work. The block is the stored form and carries no index, so
// the list's lookup goes through a hash index kept beside it; this shows what that costs.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "store/string_list.h"

namespace {

constexpr int kNames = 10000;

std::vector<std::string> names() {
    std::vector<std::string> out;
    out.reserve(kNames);
    for (int i = 0; i < kNames; ++i) out.push_back("picture_" + std::to_string(i * 7919 % 100003) + ".gif");
    return out;
}

void BM_StringListBuild(benchmark::State& state) {
    const auto all = names();
    for (auto _ : state) {
        lect32::StringList list;
        for (const auto& n : all) benchmark::DoNotOptimize(list.AddString(n.data(), int(n.size())));
    }
    state.SetItemsProcessed(state.iterations() * kNames);
}
BENCHMARK(BM_StringListBuild)->Unit(benchmark::kMillisecond);

void BM_UnorderedMapBuild(benchmark::State& state) {
    const auto all = names();
    for (auto _ : state) {
        std::unordered_map<std::string, uint16_t> map;
        for (size_t i = 0; i < all.size(); ++i) map.emplace(all[i], uint16_t(i));
        benchmark::DoNotOptimize(map.size());
    }
    state.SetItemsProcessed(state.iterations() * kNames);
}
BENCHMARK(BM_UnorderedMapBuild)->Unit(benchmark::kMillisecond);

void BM_StringListFindEach(benchmark::State& state) {
    const auto all = names();
    lect32::StringList list;
    for (const auto& n : all) list.AddString(n.data(), int(n.size()));
    for (auto _ : state) {
        for (const auto& n : all) benchmark::DoNotOptimize(list.Find(n.data(), int(n.size())));
    }
    state.SetItemsProcessed(state.iterations() * kNames);
}
BENCHMARK(BM_StringListFindEach)->Unit(benchmark::kMillisecond);

void BM_UnorderedMapFindEach(benchmark::State& state) {
    const auto all = names();
    std::unordered_map<std::string, uint16_t> map;
    for (size_t i = 0; i < all.size(); ++i) map.emplace(all[i], uint16_t(i));
    for (auto _ : state) {
        for (const auto& n : all) benchmark::DoNotOptimize(map.find(n));
    }
    state.SetItemsProcessed(state.iterations() * kNames);
}
BENCHMARK(BM_UnorderedMapFindEach)->Unit(benchmark::kMillisecond);

}  // namespace
