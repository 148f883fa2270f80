// The page names of a document of 8,192 and 32,768 pages: every name filled into a list box, every
// name read on its own straight from the file, and every name searched for a word and for a query of
// two words. All should cost the same per name at either size (linear in the pages).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

#include "navigate/page_name_search.h"
#include "navigate/search_hit_list.h"
#include "navigate/search_query.h"
#include "store/doc_string_table.h"
#include "store/mem_writer.h"
#include "store/vazazi_file.h"
#include "winplat/controls.h"
#include "winplat/user.h"

namespace {

// A document whose first 'pages' strings are "Strana N": each block built once and written once.
class NamedDocument {
public:
    explicit NamedDocument(int pages)
        : path_(std::filesystem::temp_directory_path() / ("bench_doc_strings_" + std::to_string(pages) + ".vzz")) {
        const std::string windows = "C:" + path_.string();
        if (file_.Create(windows.c_str(), 1) != 0) return;
        lect32::DocStringTable table(file_);
        for (int block = 0; block * 256 < pages; ++block) {
            table.ClearBlock();
            for (int slot = 0; slot < 256 && block * 256 + slot < pages; ++slot) {
                const std::string name = "Strana " + std::to_string(block * 256 + slot);
                table.SetSlot(slot, name.c_str(), static_cast<uint8_t>(name.size()));
            }
            lect32::MemWriter writer;
            table.BuildBlock(writer);
            file_.WriteRecordByType(0, block, writer);
        }
    }
    ~NamedDocument() {
        file_.Close();
        std::error_code ignored;
        std::filesystem::remove(path_, ignored);
    }
    lect32::VazaziFile& file() { return file_; }

private:
    std::filesystem::path path_;
    lect32::VazaziFile file_;
};

void perName(benchmark::State& state) {
    state.counters["us_per_name"] = benchmark::Counter(static_cast<double>(state.range(0)) * 1e-6,
                                                       benchmark::Counter::kIsIterationInvariantRate |
                                                           benchmark::Counter::kInvert);
}

void BM_FillListWithNames(benchmark::State& state) {
    NamedDocument document(static_cast<int>(state.range(0)));
    lect32::DocStringTable table(document.file());
    HWND dialog = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 300, 300, nullptr, nullptr, nullptr, nullptr);
    for (auto _ : state) {
        HWND list = CreateWindowExA(0, "LISTBOX", "", WS_CHILD | LBS_HASSTRINGS, 0, 0, 200, 300, dialog,
                                    reinterpret_cast<HMENU>(UINT_PTR{7}), nullptr, nullptr);
        table.FillListControl(dialog, 7, lect32::DocStringTable::kFillAll, nullptr, nullptr, "");
        if (SendMessageA(list, LB_GETCOUNT, 0, 0) != state.range(0)) state.SkipWithError("names missing");
        DestroyWindow(list);
    }
    DestroyWindow(dialog);
    perName(state);
}
BENCHMARK(BM_FillListWithNames)->Arg(8'192)->Arg(32'768)->Unit(benchmark::kMillisecond);

void BM_ReadEveryName(benchmark::State& state) {
    NamedDocument document(static_cast<int>(state.range(0)));
    lect32::DocStringTable table(document.file());
    char name[lect32::DocStringTable::kBufferSize];
    for (auto _ : state) {
        int total = 0;
        for (int n = 0; n < state.range(0); ++n) total += table.ReadString(static_cast<int16_t>(n), name);
        benchmark::DoNotOptimize(total);
        if (total == 0) state.SkipWithError("no names read");
    }
    perName(state);
}
BENCHMARK(BM_ReadEveryName)->Arg(8'192)->Arg(32'768)->Unit(benchmark::kMillisecond);

// Every name holds the word: each is searched to its end and marked. Bytes as in the names.
void BM_SearchNamesForAWord(benchmark::State& state) {
    NamedDocument document(static_cast<int>(state.range(0)));
    lect32::DocStringTable table(document.file());
    lect32::SearchQuery query;
    lect32::SearchHitList hits;
    std::vector<uint8_t> map(32'768);
    const std::string word = "STRANA";
    const auto* bytes = reinterpret_cast<const uint8_t*>(word.data());
    for (auto _ : state) {
        if (!lect32::SearchStrings(table, 0, false, {bytes, word.size()}, 6, 0, map, query, hits))
            state.SkipWithError("no name found");
    }
    perName(state);
}
BENCHMARK(BM_SearchNamesForAWord)->Arg(8'192)->Arg(32'768)->Unit(benchmark::kMillisecond);

// "strana AND 123*" into the hit list: both words looked for in every name, the code run each time.
void BM_SearchNamesForAQuery(benchmark::State& state) {
    NamedDocument document(static_cast<int>(state.range(0)));
    lect32::DocStringTable table(document.file());
    lect32::SearchQuery query;
    if (query.Parse("strana AND 123*", 0, false) != 0) state.SkipWithError("query not parsed");
    lect32::SearchHitList hits;
    const auto words = query.words().data();
    const auto count = static_cast<uint8_t>(query.words().GetCount());
    for (auto _ : state) {
        hits.Clear();
        if (!lect32::SearchStrings(table, 0, true, words, count, 0, {}, query, hits))
            state.SkipWithError("no name found");
    }
    perName(state);
}
BENCHMARK(BM_SearchNamesForAQuery)->Arg(8'192)->Arg(32'768)->Unit(benchmark::kMillisecond);

}  // namespace
