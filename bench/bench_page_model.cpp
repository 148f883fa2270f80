// The page model side by side with a plain peer doing the least the same job needs:
//   - reading an object list of 1,000 and 10,000 objects (version 6, each with a placement and a
//     link slot, in the (y, x) order documents store) next to parsing the same bytes into a vector
//     of records and slot bytes;
//   - building the paint and hit orders of 1,000 and 10,000 objects next to two stable sorts of
//     index arrays by z;
//   - fitting 2,000 text lines of 12 pixels down a page against 20 and 200 objects next to a scan
//     of every object for every line.
// per_item is the time per object (per line for text flow): it should not grow with the size.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <random>
#include <vector>

#include "page/page.h"
#include "page/page_style.h"
#include "support/quiet_page_tables.h"
#include "winplat/byte_reader.h"

namespace {

using Tables = page_support::QuietTables;

void perItem(benchmark::State& state, int64_t items) {
    state.SetItemsProcessed(state.iterations() * items);
    state.counters["per_item"] =
        benchmark::Counter(static_cast<double>(items), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void word(std::vector<uint8_t>& out, uint16_t value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

// n pictures down a page, two to a row, each with a placement and a page link.
std::vector<uint8_t> objectList(int n) {
    std::vector<uint8_t> list{6};
    word(list, static_cast<uint16_t>(n));
    for (int i = 0; i < n; ++i) {
        lect32::PageObject o;
        o.kind = 1;
        o.width = 40;
        o.height = 30;
        o.x = static_cast<int16_t>(i % 2 * 200);
        o.y = i / 2 * 40;
        o.picture = static_cast<int16_t>(i % 7);
        const lect32::PageObject::Bytes record = o.Encode();
        list.insert(list.end(), record.begin(), record.begin() + lect32::PageObject::kStoredSize);
        const uint8_t slots[] = {1, 6, 0, 2, 5, 0, 6, 0, 3, 2, 7, 0, 1, 0xE8, 3, 0, 0, 0xFF, 0xFF};
        word(list, sizeof slots);
        list.insert(list.end(), std::begin(slots), std::end(slots));
        word(list, 0);
    }
    return list;
}

void BM_ReadObjects(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const std::vector<uint8_t> list = objectList(n);
    Tables tables;
    lect32::Page page(tables.services());
    for (auto _ : state) {
        winplat::ByteReader in(list);
        page.ReadObjects(in, true);
        benchmark::DoNotOptimize(page.GetCount());
    }
    perItem(state, n);
}

// The peer: the same bytes into records and slot bytes, nothing else.
void BM_ParseListPeer(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const std::vector<uint8_t> list = objectList(n);
    struct Parsed {
        lect32::PageObject record;
        std::vector<uint8_t> slots;
    };
    std::vector<Parsed> parsed;
    for (auto _ : state) {
        parsed.clear();
        winplat::ByteReader in(list);
        in.skip(1);
        const uint16_t count = in.u16();
        parsed.reserve(count);
        for (uint16_t i = 0; i < count; ++i) {
            Parsed p;
            p.record.ReadPrefix(in, lect32::PageObject::kStoredSize);
            const auto slots = in.view(in.u16());
            p.slots.assign(slots.begin(), slots.end());
            in.skip(in.u16());
            parsed.push_back(std::move(p));
        }
        benchmark::DoNotOptimize(parsed.data());
    }
    perItem(state, n);
}

void BM_BuildOrder(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const std::vector<uint8_t> list = objectList(n);
    Tables tables;
    lect32::Page page(tables.services());
    winplat::ByteReader in(list);
    page.ReadObjects(in, false);
    std::mt19937 random(7);
    for (uint16_t i = 0; i < page.GetCount(); ++i) {
        lect32::PageObject o = page.Object(i);
        o.z = static_cast<int16_t>(random() % 1000);
        o.copied = random() % 8 == 0;
        page.SetObject(i, o);
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(page.BuildOrder(false).data());
        benchmark::DoNotOptimize(page.BuildOrder(true).data());
    }
    perItem(state, n);
}

void BM_SortOrderPeer(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    std::mt19937 random(7);
    std::vector<int16_t> z(static_cast<size_t>(n));
    for (int16_t& v : z) v = static_cast<int16_t>(random() % 1000);
    for (auto _ : state) {
        for (bool descending : {false, true}) {
            std::vector<uint16_t> order(z.size());
            std::iota(order.begin(), order.end(), uint16_t{0});
            std::stable_sort(order.begin(), order.end(),
                             [&](uint16_t a, uint16_t b) { return descending ? z[a] > z[b] : z[a] < z[b]; });
            benchmark::DoNotOptimize(order.data());
        }
    }
    perItem(state, n);
}

constexpr int kLines = 2000;
constexpr int kLineHeight = 12;

// n objects spread evenly down the 2,000 lines' height, alternately at the left and right.
std::vector<lect32::PageObject> flowObjects(int n) {
    std::vector<lect32::PageObject> objects;
    const int step = kLines * kLineHeight / n;
    for (int i = 0; i < n; ++i) {
        lect32::PageObject o;
        o.kind = 1;
        o.x = static_cast<int16_t>(i % 2 ? 250 : 0);
        o.y = i * step;
        o.width = 150;
        o.height = static_cast<int16_t>(step * 2 / 3);
        objects.push_back(o);
    }
    return objects;
}

void BM_FitTextLine(benchmark::State& state) {
    Tables tables;
    lect32::Page page(tables.services());
    lect32::PageStyle style;
    style.width = 400;
    style.margins = {0, 0, 0, 0};
    page.SetLayoutArea(style);
    for (const lect32::PageObject& o : flowObjects(static_cast<int>(state.range(0)))) page.InsertObject(o);
    for (auto _ : state) {
        uint16_t first = 0;
        lect32::TextLine line;
        for (int i = 0; i < kLines; ++i) {
            first = page.FitTextLine(i * kLineHeight, line, kLineHeight, first);
            benchmark::DoNotOptimize(line.spanWidth);
        }
    }
    perItem(state, kLines);
}

// The peer: for each line, every object crossing the line narrows the free span from its side.
void BM_ScanLinePeer(benchmark::State& state) {
    const std::vector<lect32::PageObject> objects = flowObjects(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        for (int i = 0; i < kLines; ++i) {
            const int32_t top = i * kLineHeight, bottom = top + kLineHeight;
            int32_t left = 0, right = 400;
            for (const lect32::PageObject& o : objects) {
                if (o.y >= bottom || o.Bottom() <= top) continue;
                if (o.x == 0) left = std::max<int32_t>(left, o.Right());
                else right = std::min<int32_t>(right, o.x);
            }
            benchmark::DoNotOptimize(right - left);
        }
    }
    perItem(state, kLines);
}

}  // namespace

BENCHMARK(BM_ReadObjects)->Arg(1000)->Arg(10000);
BENCHMARK(BM_ParseListPeer)->Arg(1000)->Arg(10000);
BENCHMARK(BM_BuildOrder)->Arg(1000)->Arg(10000);
BENCHMARK(BM_SortOrderPeer)->Arg(1000)->Arg(10000);
BENCHMARK(BM_FitTextLine)->Arg(20)->Arg(200);
BENCHMARK(BM_ScanLinePeer)->Arg(20)->Arg(200);
