// The page window and its input layer on pages of plain text (no window: the page is read into
// the view, laid out and painted on a memory surface of 800 x 600):
//   - ShowPage end to end (record read, merge, layout, first paint) for a typical page of 40 rows
//     and a large one of 5,000 rows of about 200 bytes;
//   - address marking over 100 KB and 1 MB of text (rows of 1,000 bytes, an address about every
//     200 bytes), each run on fresh copies of the rows;
//   - marking the hits of a two-word query on the 5,000-row page through the reader's text-buffer
//     search, as the page window's search does.
// per_item is the time per row (per KB for address marking): it should not grow with the size.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "navigate/text_buffer_search.h"
#include "page/page_window.h"
#include "page/url_marking.h"
#include "support/quiet_page_tables.h"
#include "text/colour_table.h"
#include "text/style_sheet.h"
#include "winplat/gdi.h"
#include "winplat/owners.h"

namespace {

constexpr int kRowBytes = 200;

void perItem(benchmark::State& state, int64_t items) {
    state.SetItemsProcessed(state.iterations() * items);
    state.counters["per_item"] = benchmark::Counter(static_cast<double>(items),
                                                    benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

std::string Words(std::mt19937& random, size_t size, bool addresses) {
    static const char* const words[] = {"text", "odstavec", "kocka", "uloha", "priklad", "a", "v", "vecer", "dlouhy"};
    std::string text;
    size_t sinceAddress = 0;
    while (text.size() < size) {
        const std::string word = words[random() % std::size(words)];
        text += word + ' ';
        sinceAddress += word.size() + 1;
        if (addresses && sinceAddress >= 200) {
            text += random() % 2 ? "www.example.cz. " : "me@example.cz, ";
            sinceAddress = 0;
        }
    }
    return text;
}

void word(std::vector<uint8_t>& out, size_t value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

std::vector<uint8_t> PageRecord(int rows) {
    std::mt19937 random(7);
    std::vector<uint8_t> out;
    word(out, 0);
    word(out, static_cast<size_t>(rows));
    for (int r = 0; r < rows; ++r) {
        const std::string text = Words(random, kRowBytes, false);
        word(out, 7);
        out.insert(out.end(), 7, 0);
        word(out, 0);
        word(out, text.size());
        out.insert(out.end(), text.begin(), text.end());
    }
    out.push_back(0);
    out.push_back(5);
    word(out, 0);
    return out;
}

struct Host final : lect32::PageWindowHost {
    lect32::PageContent page;
    bool ReadPage(int16_t, uint8_t, lect32::PageContent& out) override {
        out = page;
        return true;
    }
    lect32::PageStyle DefaultStyle(uint8_t) override {
        lect32::PageStyle style;
        style.widthMode = 1;
        style.width = 800;
        return style;
    }
    uint8_t ResolveMember(uint8_t document, uint8_t) override { return document; }
    HWND MainWindow() override { return nullptr; }
};

struct Setup {
    page_support::QuietTables tables;
    lect32::StyleSheet styles;
    lect32::ColourTable colours;
    Host host;
    lect32::PageWindowParams params() {
        return {&host, tables.services(), lect32::ViewServices{&styles, &colours, {}},
                lect32::BannerServices{&styles, &colours}, nullptr};
    }
};

void BM_ShowPage(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0));
    Setup setup;
    setup.host.page = lect32::PageContent{"Strana", lect32::PageStyle{}, PageRecord(rows)};
    lect32::PageWindow window(setup.params());
    const winplat::MemoryDc dc(CreateCompatibleDC(nullptr));
    const winplat::OwnedBitmap surface(CreateCompatibleBitmap(dc.get(), 800, 600));
    const winplat::Selection picked(dc.get(), surface.get());
    const RECT screen{0, 0, 800, 600};
    for (auto _ : state) {
        window.ShowPage(1, 0);
        window.View().OnSize(800, 600);
        window.View().Layout(dc.get());
        window.View().OnPaint(dc.get(), &screen);
        benchmark::DoNotOptimize(window.View().ContentHeight());
    }
    perItem(state, rows);
}
BENCHMARK(BM_ShowPage)->Arg(40)->Arg(5000)->Unit(benchmark::kMillisecond);

void BM_MarkUrlLinks(benchmark::State& state) {
    const size_t kilobytes = static_cast<size_t>(state.range(0));
    std::mt19937 random(11);
    std::vector<std::vector<uint8_t>> rows;
    for (size_t i = 0; i < kilobytes; ++i) {
        const std::string text = Words(random, 1000, true);
        rows.emplace_back(text.begin(), text.end());
    }
    size_t marked = 0;
    for (auto _ : state) {
        state.PauseTiming();
        std::vector<std::vector<uint8_t>> copy = rows;
        state.ResumeTiming();
        for (auto& row : copy) marked += lect32::MarkUrlsInRow(row);
    }
    benchmark::DoNotOptimize(marked);
    perItem(state, static_cast<int64_t>(kilobytes));
}
BENCHMARK(BM_MarkUrlLinks)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

void BM_MarkFoundWords(benchmark::State& state) {
    Setup setup;
    setup.host.page = lect32::PageContent{"Strana", lect32::PageStyle{}, PageRecord(5000)};
    lect32::PageWindow window(setup.params());
    window.ShowPage(1, 0);
    const std::string terms[] = {"kocka", "vecer"};
    const lect32::ViewWordFinder find = [&](size_t w, std::span<const uint8_t> text, size_t from,
                                            bool) -> std::optional<lect32::FoundRange> {
        const std::span<const uint8_t> term(reinterpret_cast<const uint8_t*>(terms[w].data()), terms[w].size());
        lect32::TextHit hit;
        if (!lect32::SearchTextBuffer(text, term, 0, from, &hit)) return std::nullopt;
        return lect32::FoundRange{hit.start, hit.end};
    };
    for (auto _ : state) {
        window.View().MarkFoundWords(lect32::QueryWords{{0, 0}}, false, find);
        benchmark::DoNotOptimize(window.View().Marked());
    }
    perItem(state, 5000);
}
BENCHMARK(BM_MarkFoundWords)->Unit(benchmark::kMillisecond);

}  // namespace
