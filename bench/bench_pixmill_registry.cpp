// Cost of reaching an image by id as the registry grows, and of making and freeing a picture.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "core/registry/image_registry.h"
#include "pixmill/pixmill.h"

namespace {

// Live images of 1 x 1 pixel, so the count, not the pixels, is what varies.
std::vector<PxlImageId> makeImages(int count) {
    std::vector<PxlImageId> ids;
    ids.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) ids.push_back(PXLCreateImage(1, 1, 8));
    return ids;
}

// 4096 ids picked at random from the live ones (a power of two, so the loop can wrap with a mask).
std::vector<PxlImageId> randomOrder(const std::vector<PxlImageId>& ids) {
    std::mt19937 random(7);
    std::uniform_int_distribution<size_t> pick(0, ids.size() - 1);
    std::vector<PxlImageId> order(4096);
    for (auto& id : order) id = ids[pick(random)];
    return order;
}

void BM_LockReleaseRandomId(benchmark::State& state) {
    const auto ids = makeImages(static_cast<int>(state.range(0)));
    const auto order = randomOrder(ids);
    size_t i = 0;
    for (auto _ : state) {
        auto lock = pixmill::lockImage(order[i++ & 4095], pixmill::Access::Read);
        benchmark::DoNotOptimize(lock.get());
    }
    for (PxlImageId id : ids) PXLDeleteImage(id);
}
BENCHMARK(BM_LockReleaseRandomId)->Arg(10)->Arg(1000)->Arg(10000);

// The same through an export, as callers see it.
void BM_WidthOfRandomId(benchmark::State& state) {
    const auto ids = makeImages(static_cast<int>(state.range(0)));
    const auto order = randomOrder(ids);
    size_t i = 0;
    for (auto _ : state) benchmark::DoNotOptimize(PXLWidth(order[i++ & 4095]));
    for (PxlImageId id : ids) PXLDeleteImage(id);
}
BENCHMARK(BM_WidthOfRandomId)->Arg(10)->Arg(1000)->Arg(10000);

void BM_CreateDelete640x480x24(benchmark::State& state) {
    for (auto _ : state) {
        const PxlImageId id = PXLCreateImage(640, 480, 24);
        benchmark::DoNotOptimize(id);
        PXLDeleteImage(id);
    }
}
BENCHMARK(BM_CreateDelete640x480x24);

}  // namespace
