// The text engine's data side next to plain standard-library peers doing the same work in the
// same run.
//
// Editing: a store of 90 KB or 900 KB (2,000-byte items spread over up to 15 blocks) takes 16
// random bytes at a random place of a random item and gives them back, which keeps its shape;
// the peer is a std::vector<std::string> doing the same inserts and erases.
// Searching: FindText, case-folded, for a word that is not there (so every byte is read) over
// Czech-like rows with a colour code every few words; the peer runs std::search with a
// cp1250-lowering comparison over the same rows, codes included.
// One text buffer (6 KB or 60 KB of the same rows): SearchTextBuffer for a missing word next to
// std::search with the same folding; and every hit of a frequent word (flags 3, so every
// occurrence counts, as std::search's do) found by a walk, by calls from each last hit's start
// (the walk from the start each call makes), and by std::search resumed behind each hit.
// Resolving: the format at the end of a 10 KB row with a code every 50 bytes.
// Font cache: a hit, and a page's first display (the cache emptied first) making 5 or 20 real
// fonts of sizes and styles the platform has not made lately; the misses next to bare fontconfig
// matches of the same family and style and FreeType faces opened at the same sizes. The same
// again with a line of text measured in each font, next to FreeType loading the line's glyphs.
// Without real fonts (WINPLAT_FONTS=test or no fontconfig match) the font benchmarks skip.
#include <benchmark/benchmark.h>
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <array>
#include <random>
#include <span>
#include <string>
#include <vector>

#include "navigate/text_buffer_search.h"
#include "text/font_cache.h"
#include "text/font_faces.h"
#include "text/format_cursor.h"
#include "text/style_sheet.h"
#include "text/text_store.h"
#include "winplat/cp1250.h"
#include "winplat/gdi.h"
#include "winplat/text.h"

namespace {

using lect32::TextStore;

constexpr uint16_t kItemBytes = 2000;
constexpr uint16_t kEdit = 16;

std::string RowText(std::mt19937& random, size_t size) {
    static const char* const words[] = {"text", "\xE8\x65sk\xFD", "odstavec", "Ko\xE8ka", "\xFAloha", "p\xF8\xEDklad"};
    std::string row;
    int n = 0;
    while (row.size() < size) {
        row += words[random() % 6];
        row += ' ';
        if (++n % 5 == 0) row += std::string("\x02\x03\xFF\x02", 4);
    }
    row.resize(size);
    return row;
}

struct Filled {
    TextStore store;
    std::vector<std::string> peer;
};

void Fill(Filled& f, size_t totalBytes) {
    std::mt19937 random(7);
    for (size_t at = 0; at < totalBytes; at += kItemBytes) {
        std::string row = RowText(random, kItemBytes);
        const uint16_t n = f.store.AddItem();
        if (n == TextStore::kNoItem || !f.store.SetItemString(n, row)) break;
        f.peer.push_back(std::move(row));
    }
}

void BM_StoreEdit(benchmark::State& state) {
    Filled f;
    Fill(f, static_cast<size_t>(state.range(0)));
    std::mt19937 random(11);
    const char bytes[kEdit] = "sixteen bytes!!";
    int64_t refused = 0;
    for (auto _ : state) {
        const auto n = static_cast<uint16_t>(random() % f.store.GetItemCount());
        const auto offset = static_cast<uint16_t>(random() % (f.store.GetItemLength(n) + 1));
        if (f.store.InsertBytes(n, offset, bytes, kEdit)) {
            f.store.DeleteBytes(n, offset, kEdit);
        } else {
            ++refused;
        }
    }
    state.counters["edits/s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["blocks"] = f.store.GetBlockCount();
    state.counters["refused"] = static_cast<double>(refused);
}

void BM_PeerEdit(benchmark::State& state) {
    Filled f;
    Fill(f, static_cast<size_t>(state.range(0)));
    std::mt19937 random(11);
    const std::string bytes = "sixteen bytes!!";
    for (auto _ : state) {
        std::string& item = f.peer[random() % f.peer.size()];
        const size_t offset = random() % (item.size() + 1);
        item.insert(offset, bytes.data(), kEdit);
        item.erase(offset, kEdit);
        benchmark::DoNotOptimize(item.data());
    }
    state.counters["edits/s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

bool SameFolded(char text, char wanted) {
    return winplat::cp1250::toLower(static_cast<uint8_t>(text)) == static_cast<uint8_t>(wanted);
}

void BM_StoreFindText(benchmark::State& state) {
    Filled f;
    Fill(f, static_cast<size_t>(state.range(0)));
    lect32::TextMatch match;
    for (auto _ : state) benchmark::DoNotOptimize(f.store.FindText("nenalezeno", false, false, 0, 0, match));
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(f.store.GetTotalSize()));
}

void BM_PeerFindText(benchmark::State& state) {
    Filled f;
    Fill(f, static_cast<size_t>(state.range(0)));
    const std::string needle = "nenalezeno";
    size_t total = 0;
    for (const auto& s : f.peer) total += s.size();
    for (auto _ : state) {
        bool found = false;
        for (const auto& s : f.peer) found = found || std::search(s.begin(), s.end(), needle.begin(), needle.end(), SameFolded) != s.end();
        benchmark::DoNotOptimize(found);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(total));
}

std::span<const uint8_t> Bytes(const std::string& text) {
    return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

std::string Buffer(benchmark::State& state) {
    std::mt19937 random(13);
    return RowText(random, static_cast<size_t>(state.range(0)));
}

void BM_SearchTextBufferMiss(benchmark::State& state) {
    const std::string text = Buffer(state);
    for (auto _ : state) benchmark::DoNotOptimize(lect32::SearchTextBuffer(Bytes(text), Bytes("nenalezeno"), 0, 0, nullptr));
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}

void BM_PeerSearchFoldedMiss(benchmark::State& state) {
    const std::string text = Buffer(state);
    const std::string needle = "nenalezeno";
    for (auto _ : state)
        benchmark::DoNotOptimize(std::search(text.begin(), text.end(), needle.begin(), needle.end(), SameFolded));
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}

constexpr const char* kFrequent = "text";

void CountHits(benchmark::State& state, const std::string& text, int64_t hits) {
    state.counters["hits"] = static_cast<double>(hits);
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}

void BM_SearchTextBufferAllHitsWalk(benchmark::State& state) {
    const std::string text = Buffer(state);
    int64_t hits = 0;
    for (auto _ : state) {
        lect32::TextBufferSearch search(Bytes(text), Bytes(kFrequent), 3);
        lect32::TextHit hit;
        hits = 0;
        while (search.Next(&hit)) ++hits;
        benchmark::DoNotOptimize(hits);
    }
    CountHits(state, text, hits);
}

void BM_SearchTextBufferAllHitsByStart(benchmark::State& state) {
    const std::string text = Buffer(state);
    int64_t hits = 0;
    for (auto _ : state) {
        lect32::TextHit hit;
        hits = 0;
        for (size_t start = 0; lect32::SearchTextBuffer(Bytes(text), Bytes(kFrequent), 3, start, &hit); start = hit.start + 1u)
            ++hits;
        benchmark::DoNotOptimize(hits);
    }
    CountHits(state, text, hits);
}

void BM_PeerSearchFoldedAllHits(benchmark::State& state) {
    const std::string text = Buffer(state);
    const std::string needle = kFrequent;
    int64_t hits = 0;
    for (auto _ : state) {
        hits = 0;
        for (auto at = text.begin();; ++at) {
            at = std::search(at, text.end(), needle.begin(), needle.end(), SameFolded);
            if (at == text.end()) break;
            ++hits;
        }
        benchmark::DoNotOptimize(hits);
    }
    CountHits(state, text, hits);
}

void BM_ResolveAtEndOfRow(benchmark::State& state) {
    TextStore text, records;
    std::string row;
    for (int i = 0; row.size() < 10000; ++i) {
        row += "slovo a dal\xB9\xED slovo text ";
        row += std::string("\x01\x00\x0C\x00\x03\x00\x01", 7);
        if (i % 3 == 0) row += std::string("\x02\x05\xFF\x02", 4);
    }
    text.AddItem();
    text.SetItemString(0, row);
    records.AddItem();
    records.SetItemString(0, std::string(7, '\0'));
    lect32::FormatCursor cursor;
    cursor.Bind(&text, &records);
    for (auto _ : state) benchmark::DoNotOptimize(cursor.ResolveAt(0, static_cast<uint16_t>(row.size())));
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(row.size()));
}

// The cache's faces: the reader's usual face, asked for in its Central European form.
void UseArial() {
    auto& fonts = lect32::GetDocumentFonts();
    fonts.main.Clear();
    fonts.main.Append("Arial", lect32::kCharsetEastEurope);
}

bool RealFontsInUse() {
    const char* source = std::getenv("WINPLAT_FONTS");
    return !(source && std::string(source) == "test");
}

void BM_FontCacheHit(benchmark::State& state) {
    if (!RealFontsInUse()) return state.SkipWithError("WINPLAT_FONTS=test: no real fonts to cache");
    UseArial();
    lect32::FontCache cache(lect32::FontCache::Faces::Main);
    const lect32::CharFormat format{0, 12, 3, 0};
    if (!cache.GetFont(nullptr, format)) return state.SkipWithError("no font could be made");
    for (auto _ : state) benchmark::DoNotOptimize(cache.GetFont(nullptr, format).get());
}

// The fonts a styled page asks for: sizes of 8 to 40 points in the four styles, taken in turn so
// that a font comes round again only after 131 others, long after the platform let it go (it keeps
// the last 32 faces). Each iteration of a miss benchmark asks for the next 'count' of them.
struct StyledFont {
    int16_t points;
    bool bold;
    bool italic;
};

constexpr int16_t kFirstPoints = 8;
constexpr int kSizes = 33;
constexpr int kStyledFonts = 4 * kSizes;

StyledFont StyledFontAt(int n) {
    const int style = (n / kSizes) % 4;
    return StyledFont{static_cast<int16_t>(kFirstPoints + n % kSizes), (style & 1) != 0, (style & 2) != 0};
}

void ReportFonts(benchmark::State& state, int count) {
    state.counters["fonts/s"] =
        benchmark::Counter(static_cast<double>(state.iterations() * count), benchmark::Counter::kIsRate);
}

lect32::CharFormat FormatOf(const StyledFont& font) {
    return lect32::CharFormat{0, font.points, static_cast<uint8_t>(font.bold ? 6 : 3),
                              static_cast<uint8_t>(font.italic ? lect32::CharFormat::kItalic : 0)};
}

// A line of the page's text in cp1250, every Czech letter among ordinary ones.
const std::string kPageLine =
    "P\xF8\xEDli\x9A \x9Elu\x9Eou\xE8k\xFD k\xF9\xF2 \xFAp\xECl \xEF\xE1\x62\x65lsk\xE9 \xF3\x64y, "
    "zat\xEDmco v lese \x9Aum\xECly smrky a cesta vedla d\xE1l k \xF8\xED" "ce.";

// The width of cp1250 text in hinted whole-pixel advances, each character's glyph loaded once.
int PeerMeasure(FT_Face face, const std::string& text) {
    std::array<int, 256> advances;
    advances.fill(-1);
    int width = 0;
    for (const char c : text) {
        const auto byte = static_cast<uint8_t>(c);
        if (advances[byte] < 0) {
            const FT_UInt glyph = FT_Get_Char_Index(face, winplat::cp1250::toUnicode(byte));
            advances[byte] = FT_Load_Glyph(face, glyph, FT_LOAD_TARGET_MONO) == 0
                                 ? static_cast<int>((face->glyph->advance.x + 32) >> 6)
                                 : 0;
        }
        width += advances[byte];
    }
    return width;
}

// A page's first display: the cache emptied, then 'count' fonts the platform has not made lately;
// with 'measure', each font measures a line of the page as its first layout would.
void RunFontCacheMisses(benchmark::State& state, bool measure) {
    if (!RealFontsInUse()) return state.SkipWithError("WINPLAT_FONTS=test: no real fonts to cache");
    UseArial();
    const int count = static_cast<int>(state.range(0));
    lect32::FontCache cache(lect32::FontCache::Faces::Main);
    HDC dc = CreateCompatibleDC(nullptr);
    const HGDIOBJ original = SelectObject(dc, GetStockObject(SYSTEM_FONT));
    int next = 0;
    for (auto _ : state) {
        cache.Clear();
        for (int i = 0; i < count; ++i, next = (next + 1) % kStyledFonts) {
            const lect32::FontRef font = cache.GetFont(nullptr, FormatOf(StyledFontAt(next)));
            benchmark::DoNotOptimize(font.get());
            if (!measure || !font) continue;
            SelectObject(dc, font->get());
            SIZE size{};
            GetTextExtentPoint32A(dc, kPageLine.data(), static_cast<int>(kPageLine.size()), &size);
            benchmark::DoNotOptimize(size);
            SelectObject(dc, original);
        }
    }
    DeleteDC(dc);
    ReportFonts(state, count);
}

void BM_FontCacheMiss(benchmark::State& state) {
    RunFontCacheMisses(state, false);
}

void BM_FontCacheMissMeasured(benchmark::State& state) {
    RunFontCacheMisses(state, true);
}

// The same fonts with fontconfig and FreeType called bare: the family matched in the style, the
// matched file opened and sized at the same pixels (points at 96 dots per inch); with 'measure',
// the line measured by the hinted advances of its characters, each character loaded once.
void RunPeerFonts(benchmark::State& state, bool measure) {
    FcConfig* config = FcInitLoadConfigAndFonts();
    FT_Library library = nullptr;
    if (!config || FT_Init_FreeType(&library)) return state.SkipWithError("fontconfig or FreeType did not start");
    const int count = static_cast<int>(state.range(0));
    int next = 0;
    for (auto _ : state) {
        for (int i = 0; i < count; ++i, next = (next + 1) % kStyledFonts) {
            const StyledFont font = StyledFontAt(next);
            FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>("Arial"));
            FcPatternAddInteger(pattern, FC_WEIGHT, font.bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
            FcPatternAddInteger(pattern, FC_SLANT, font.italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
            FcConfigSubstitute(config, pattern, FcMatchPattern);
            FcDefaultSubstitute(pattern);
            FcResult result = FcResultNoMatch;
            FcPattern* match = FcFontMatch(config, pattern, &result);
            FcChar8* file = nullptr;
            FT_Face face = nullptr;
            if (match && FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch &&
                FT_New_Face(library, reinterpret_cast<const char*>(file), 0, &face) == 0) {
                FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>((font.points * 96 + 36) / 72));
                benchmark::DoNotOptimize(face->size);
                if (measure) benchmark::DoNotOptimize(PeerMeasure(face, kPageLine));
                FT_Done_Face(face);
            }
            if (match) FcPatternDestroy(match);
            FcPatternDestroy(pattern);
        }
    }
    ReportFonts(state, count);
    FT_Done_FreeType(library);
    FcConfigDestroy(config);
}

void BM_PeerFontconfigFreeType(benchmark::State& state) {
    RunPeerFonts(state, false);
}

void BM_PeerFontconfigFreeTypeMeasured(benchmark::State& state) {
    RunPeerFonts(state, true);
}

BENCHMARK(BM_StoreEdit)->Arg(90000)->Arg(900000);
BENCHMARK(BM_PeerEdit)->Arg(90000)->Arg(900000);
BENCHMARK(BM_StoreFindText)->Arg(90000)->Arg(900000);
BENCHMARK(BM_PeerFindText)->Arg(90000)->Arg(900000);
BENCHMARK(BM_SearchTextBufferMiss)->Arg(6000)->Arg(60000);
BENCHMARK(BM_PeerSearchFoldedMiss)->Arg(6000)->Arg(60000);
BENCHMARK(BM_SearchTextBufferAllHitsWalk)->Arg(6000)->Arg(60000);
BENCHMARK(BM_SearchTextBufferAllHitsByStart)->Arg(6000)->Arg(60000);
BENCHMARK(BM_PeerSearchFoldedAllHits)->Arg(6000)->Arg(60000);
BENCHMARK(BM_ResolveAtEndOfRow);
BENCHMARK(BM_FontCacheHit);
BENCHMARK(BM_FontCacheMiss)->Arg(5)->Arg(20)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PeerFontconfigFreeType)->Arg(5)->Arg(20)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FontCacheMissMeasured)->Arg(5)->Arg(20)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PeerFontconfigFreeTypeMeasured)->Arg(5)->Arg(20)->Unit(benchmark::kMicrosecond);

}  // namespace
