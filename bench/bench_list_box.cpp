// A sorted list box of 3,000 and 30,000 Czech words: filling it in random order, paging down to
// its end and letter search; beside each, a std::vector kept sorted by insertion (the plain way a
// list box is often written) doing the same, so the growth of either shows.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "winplat/controls.h"
#include "winplat/testing.h"
#include "winplat/user.h"

namespace {

// Distinct pseudo-random words of cp1250 letters, in no order: a syllable pattern so that
// prefixes repeat as in a real word list, and a counter in base 26 at the end keeps them distinct.
std::vector<std::string> words(size_t count) {
    static const char* const kSyllables[] = {"ka", "\xE8" "e", "dr", "\xF8" "i", "mo", "\x9A" "t", "pa", "l\xE1",
                                             "ne", "vo", "b\xEC", "zu", "\x9E" "i", "ch", "t\xF9", "s\xED"};
    std::vector<std::string> out;
    out.reserve(count);
    uint32_t state = 2463534242u;
    for (size_t i = 0; i < count; ++i) {
        std::string word;
        for (int s = 0; s < 3; ++s) {
            state ^= state << 13;
            state ^= state >> 17;
            state ^= state << 5;
            word += kSyllables[state % std::size(kSyllables)];
        }
        for (size_t n = i; n > 0; n /= 26) word.push_back(static_cast<char>('a' + n % 26));
        out.push_back(std::move(word));
    }
    return out;
}

HWND makeList() {
    return CreateWindowExA(0, "LISTBOX", "", WS_POPUP | WS_VSCROLL | LBS_SORT | LBS_HASSTRINGS, 0, 0, 200, 300, nullptr,
                           nullptr, nullptr, nullptr);
}

void fill(HWND list, const std::vector<std::string>& all) {
    for (const std::string& word : all) SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(word.c_str()));
}

// The peer: a vector kept sorted, each word put in place with a binary search and an insert.
std::vector<std::string> vectorFilled(const std::vector<std::string>& all) {
    std::vector<std::string> sorted;
    for (const std::string& word : all) sorted.insert(std::upper_bound(sorted.begin(), sorted.end(), word), word);
    return sorted;
}

void BM_ListBoxAddSorted(benchmark::State& state) {
    const std::vector<std::string> all = words(static_cast<size_t>(state.range(0)));
    for (auto _ : state) {
        HWND list = makeList();
        fill(list, all);
        benchmark::DoNotOptimize(SendMessageA(list, LB_GETCOUNT, 0, 0));
        state.PauseTiming();
        DestroyWindow(list);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ListBoxAddSorted)->Arg(3'000)->Arg(30'000)->Unit(benchmark::kMillisecond);

void BM_VectorInsertSorted(benchmark::State& state) {
    const std::vector<std::string> all = words(static_cast<size_t>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(vectorFilled(all).size());
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_VectorInsertSorted)->Arg(3'000)->Arg(30'000)->Unit(benchmark::kMillisecond);

// Page Down from the first item until the last is selected, as a user holding the key does.
void BM_ListBoxPageToEnd(benchmark::State& state) {
    const auto count = static_cast<int>(state.range(0));
    HWND list = makeList();
    fill(list, words(static_cast<size_t>(count)));
    int presses = 0;
    for (auto _ : state) {
        SendMessageA(list, LB_SETCURSEL, 0, 0);
        SendMessageA(list, LB_SETTOPINDEX, 0, 0);
        while (SendMessageA(list, LB_GETCURSEL, 0, 0) < count - 1) {
            SendMessageA(list, WM_KEYDOWN, VK_NEXT, 0);
            ++presses;
        }
    }
    state.counters["presses"] = benchmark::Counter(presses, benchmark::Counter::kAvgIterations);
    DestroyWindow(list);
}
BENCHMARK(BM_ListBoxPageToEnd)->Arg(3'000)->Arg(30'000)->Unit(benchmark::kMillisecond);

// The letter search: 200 searches of two typed letters each, the clock moved on between them so
// that each starts afresh; most walk far through the list before they match.
constexpr const char* kTyped[] = {"ka", "dr", "mo", "pa", "ne", "vo", "zu", "ch", "s\xED", "l\xE1"};

void BM_ListBoxLetterSearch(benchmark::State& state) {
    winplat::testing::VirtualClock clock;
    HWND list = makeList();
    fill(list, words(static_cast<size_t>(state.range(0))));
    for (auto _ : state) {
        for (int i = 0; i < 200; ++i) {
            clock.advance(5'000);
            for (const char* c = kTyped[i % std::size(kTyped)]; *c; ++c) SendMessageA(list, WM_CHAR, static_cast<BYTE>(*c), 0);
        }
        benchmark::DoNotOptimize(SendMessageA(list, LB_GETCURSEL, 0, 0));
    }
    state.SetItemsProcessed(state.iterations() * 200);
    DestroyWindow(list);
}
BENCHMARK(BM_ListBoxLetterSearch)->Arg(3'000)->Arg(30'000)->Unit(benchmark::kMillisecond);

// The peer's search: the next item after the current one that starts with the prefix, wrapping.
void BM_VectorLetterSearch(benchmark::State& state) {
    const std::vector<std::string> sorted = vectorFilled(words(static_cast<size_t>(state.range(0))));
    for (auto _ : state) {
        size_t current = 0;
        for (int i = 0; i < 200; ++i) {
            const char* prefix = kTyped[i % std::size(kTyped)];
            const size_t length = std::strlen(prefix);
            const auto starts = [&](const std::string& word) { return word.compare(0, length, prefix) == 0; };
            auto found = std::find_if(sorted.begin() + static_cast<std::ptrdiff_t>(current) + 1, sorted.end(), starts);
            if (found == sorted.end()) found = std::find_if(sorted.begin(), sorted.end(), starts);
            if (found != sorted.end()) current = static_cast<size_t>(found - sorted.begin());
        }
        benchmark::DoNotOptimize(current);
    }
    state.SetItemsProcessed(state.iterations() * 200);
}
BENCHMARK(BM_VectorLetterSearch)->Arg(3'000)->Arg(30'000)->Unit(benchmark::kMillisecond);

}  // namespace
