// Text output and measurement of the layer next to FreeType called directly, on the same font file
// at the same pixel size in the same run.
//
// Drawing: Czech-like cp1250 text in lines of about 80 characters, drawn line after line with
// TextOutA in "Arial" (Liberation Sans) onto a 32-bit DIB section in a memory DC, transparent
// background, the lines wrapping to the top at the bottom. The peer draws the same glyph run with
// bare FreeType: cp1250 -> Unicode by a table, FT_Get_Char_Index, bi-level hinted glyphs
// (FT_LOAD_TARGET_MONO, FT_RENDER_MODE_MONO), the pen moved by the hinted advance, the mono bitmap
// set into a 32-bit buffer of the same size. It comes twice: rendering each glyph as it comes, and
// with the caller keeping the rendered glyphs in a 256-entry table, which is the least any caching
// renderer must do. 64 KB and 1 MB show whether cost grows faster than the text; 24 pt shows the
// cost of bigger glyphs.
//
// Measuring: the extents of each word of a list with GetTextExtentPoint32A, in a font no font of
// this process has had before (its advances must come from FreeType), against the same font
// measured again, next to FreeType loading each character's hinted advance with no cache at all.
//
// Counters: bytes/s of text, glyphs/s (every character but the space) for drawing, words/s for
// measuring. The numbers mean something only with real fonts: under WINPLAT_FONTS=test, or whenever the
// layer draws with the synthetic test face, the layer's benchmarks skip with the reason instead of
// timing boxes (the FreeType peers still run); without Liberation Sans every benchmark skips.
#include <benchmark/benchmark.h>
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "winplat/draw.h"
#include "real_font_helpers.h"
#include "winplat/cp1250.h"
#include "winplat/gdi.h"
#include "winplat/owners.h"
#include "winplat/text.h"

namespace {

using winplat::GdiObject;
using winplat::MemoryDc;
using winplat::OwnedBitmap;
using winplat::Selection;

constexpr int kCanvasHeight = 768;
constexpr uint32_t kInk = 0x00000000;    // black, as the DIB holds it (0x00RRGGBB)
constexpr uint32_t kPaper = 0x00FFFFFF;  // white

// ---------------------------------------------------------------------------------------------
// The text

// Syllables of Czech-like words: onsets and vowels in cp1250, the accented letters among them
// (ř š ž č and á í é ý ě ů), so the text uses the upper half of the code page as Czech does.
// clang-format off
constexpr std::array<const char*, 24> kOnsets = {
    "p", "t", "k", "d", "l", "m", "n", "s", "v", "z", "r", "h", "ch", "st", "pr", "tr", "j", "b", "sk", "dn",
    "\xF8" /* ř */, "\x9A" /* š */, "\x9E" /* ž */, "\xE8" /* č */};
constexpr std::array<const char*, 12> kVowels = {
    "a", "e", "i", "o", "u", "y",
    "\xE1" /* á */, "\xED" /* í */, "\xE9" /* é */, "\xFD" /* ý */, "\xEC" /* ě */, "\xF9" /* ů */};
// clang-format on

// The same words on every run and every machine: a fixed engine with a fully defined sequence.
class WordMaker {
  public:
    std::string next() {
        std::string word;
        const uint32_t syllables = 1 + pick(4);
        for (uint32_t i = 0; i < syllables; ++i) {
            word += kOnsets[pick(kOnsets.size())];
            word += kVowels[pick(kVowels.size())];
        }
        if (pick(3) == 0) word += kOnsets[pick(kOnsets.size())];
        return word;
    }

  private:
    uint32_t pick(size_t count) { return static_cast<uint32_t>(engine_() % count); }
    std::minstd_rand engine_{1250};
};

struct Text {
    std::vector<std::string> lines;
    int64_t bytes = 0;
    int64_t glyphs = 0;  // characters other than the space
};

void addLine(Text& text, std::string line) {
    text.bytes += static_cast<int64_t>(line.size());
    text.glyphs += static_cast<int64_t>(line.size()) - std::count(line.begin(), line.end(), ' ');
    text.lines.push_back(std::move(line));
}

// At least 'size' bytes of words in lines of at most 80 characters.
Text makeText(int64_t size) {
    Text text;
    WordMaker words;
    std::string line;
    while (text.bytes < size) {
        const std::string word = words.next();
        if (!line.empty() && line.size() + 1 + word.size() > 80) addLine(text, std::exchange(line, {}));
        if (!line.empty()) line += ' ';
        line += word;
    }
    return text;
}

const Text& textOf(int64_t size) {
    static std::map<int64_t, Text> made;
    auto it = made.find(size);
    if (it == made.end()) it = made.emplace(size, makeText(size)).first;
    return it->second;
}

const std::vector<std::string>& wordsOf(int64_t count) {
    static std::map<int64_t, std::vector<std::string>> made;
    auto it = made.find(count);
    if (it == made.end()) {
        WordMaker maker;
        std::vector<std::string> words;
        for (int64_t i = 0; i < count; ++i) words.push_back(maker.next());
        it = made.emplace(count, std::move(words)).first;
    }
    return it->second;
}

int64_t bytesOf(const std::vector<std::string>& words) {
    int64_t bytes = 0;
    for (const std::string& word : words) bytes += static_cast<int64_t>(word.size());
    return bytes;
}

// ---------------------------------------------------------------------------------------------
// Fonts of the layer

LOGFONTA arial(int pixels, LONG weight = FW_NORMAL, bool italic = false) {
    LOGFONTA font{};
    font.lfHeight = -pixels;
    font.lfWeight = weight;
    font.lfItalic = italic ? 1 : 0;
    font.lfCharSet = EASTEUROPE_CHARSET;
    std::strcpy(font.lfFaceName, "Arial");
    return font;
}

// The fonts the drawing and the cached measuring use; no cold font may be one of them.
constexpr std::array<int, 2> kWarmPixels = {13, 32};

// A font no font of this process has had before, so the layer has nothing of it yet: the sizes
// 9 to 72 pixels, every size of the regular style, then of bold, italic and bold italic (each a
// file of its own), leaving out the warm fonts' sizes. A font of a new size can share at most the
// file with the fonts made before it, which is what a document meeting a new size costs. nullopt
// once all have been used (more repetitions than the list allows).
std::optional<LOGFONTA> nextColdFont() {
    static int next = 0;
    constexpr int kFirst = 9;
    constexpr int kSizes = 64;
    for (; next < 4 * kSizes; ++next) {
        const int pixels = kFirst + next % kSizes;
        const int style = next / kSizes;
        if (style == 0 && std::find(kWarmPixels.begin(), kWarmPixels.end(), pixels) != kWarmPixels.end())
            continue;
        ++next;
        return arial(pixels, (style & 1) ? FW_BOLD : FW_NORMAL, (style & 2) != 0);
    }
    return std::nullopt;
}

// Why the layer's numbers would not be font numbers, or "" when they are. The synthetic test face
// has an ascent and descent of exactly 9/10 and 3/10 of the em, 90 and 30 at 100 pixels, which no
// real face of ours has (Liberation Sans: 91 and 21).
std::string testFaceReason() {
    MemoryDc dc(CreateCompatibleDC(nullptr));
    const LOGFONTA probe = arial(100);
    GdiObject<HFONT> font(CreateFontIndirectA(&probe));
    Selection selected(dc.get(), font.get());
    TEXTMETRICA metrics{};
    if (!selected || !GetTextMetricsA(dc.get(), &metrics)) return "the layer has no font to measure";
    if (metrics.tmAscent == 90 && metrics.tmDescent == 30)
        return "the layer draws with the synthetic test face (WINPLAT_FONTS=test, or no FreeType face "
               "in this build): its numbers would not be font numbers";
    return "";
}

// ---------------------------------------------------------------------------------------------
// Bare FreeType

const std::string& sansFile() {
    static const std::string file = realfont::regularFile("Liberation Sans");
    return file;
}

struct LibraryDone {
    void operator()(FT_Library library) const { FT_Done_FreeType(library); }
};
struct FaceDone {
    void operator()(FT_Face face) const { FT_Done_Face(face); }
};

// The character a cp1250 byte stands for, as a program calling FreeType itself would look it up.
FT_ULong unicodeOf(unsigned char byte) {
    return FT_ULong{winplat::cp1250::toUnicode(byte)};
}

// A glyph's mono bitmap where the pen stands on the baseline: rows of 'pitch' bytes, the most
// significant bit leftmost.
struct MonoGlyph {
    int left = 0;  // from the pen to the first column
    int top = 0;   // from the baseline up to the first row
    int width = 0;
    int rows = 0;
    int pitch = 0;
    const uint8_t* bits = nullptr;
};

MonoGlyph viewOf(const FT_GlyphSlot slot) {
    return {slot->bitmap_left,
            slot->bitmap_top,
            static_cast<int>(slot->bitmap.width),
            static_cast<int>(slot->bitmap.rows),
            slot->bitmap.pitch,
            slot->bitmap.buffer};
}

// One face of one file at one pixel size, hinted for bi-level output.
class PeerFace {
  public:
    PeerFace(const std::string& file, int pixels) {
        FT_Library library = nullptr;
        if (FT_Init_FreeType(&library)) return;
        library_.reset(library);
        FT_Face face = nullptr;
        if (FT_New_Face(library_.get(), file.c_str(), 0, &face)) return;
        face_.reset(face);
        if (FT_Set_Pixel_Sizes(face_.get(), 0, static_cast<FT_UInt>(pixels))) face_.reset();
    }
    explicit operator bool() const { return face_ != nullptr; }
    FT_Face face() const { return face_.get(); }
    // The baseline's distance from the top of the cell, as the layer places it: the face's
    // ascender at this size (the Windows ascent; the same in the hhea table of these files).
    int ascent() const { return static_cast<int>((face_->size->metrics.ascender + 32) >> 6); }

    // Loads the hinted glyph of the byte; false when the face has nothing for it.
    bool load(unsigned char byte) const {
        const FT_UInt index = FT_Get_Char_Index(face_.get(), unicodeOf(byte));
        return FT_Load_Glyph(face_.get(), index, FT_LOAD_TARGET_MONO) == 0;
    }
    bool render() const { return FT_Render_Glyph(face_->glyph, FT_RENDER_MODE_MONO) == 0; }
    int advance() const { return static_cast<int>(face_->glyph->advance.x >> 6); }

  private:
    // The face goes before the library that made it.
    std::unique_ptr<FT_LibraryRec_, LibraryDone> library_;
    std::unique_ptr<FT_FaceRec_, FaceDone> face_;
};

// A 32-bit buffer of the canvas's size the peer draws on.
class PeerCanvas {
  public:
    PeerCanvas(int width, int height)
        : width_(width),
          height_(height),
          pixels_(static_cast<size_t>(width) * static_cast<size_t>(height), kPaper) {}

    // Sets the glyph's ink pixels with the pen at (x, baseline), clipped to the buffer.
    void draw(const MonoGlyph& glyph, int x, int baseline) {
        const int left = x + glyph.left;
        const int top = baseline - glyph.top;
        const int firstRow = std::max(0, -top);
        const int endRow = std::min(glyph.rows, height_ - top);
        const int firstColumn = std::max(0, -left);
        const int endColumn = std::min(glyph.width, width_ - left);
        for (int row = firstRow; row < endRow; ++row) {
            const uint8_t* source = glyph.bits + static_cast<ptrdiff_t>(row) * glyph.pitch;
            uint32_t* target = &pixels_[static_cast<size_t>(top + row) * static_cast<size_t>(width_) +
                                        static_cast<size_t>(left)];
            for (int column = firstColumn; column < endColumn; ++column)
                if (source[column >> 3] & (0x80 >> (column & 7))) target[column] = kInk;
        }
    }
    const uint32_t* data() const { return pixels_.data(); }

  private:
    int width_;
    int height_;
    std::vector<uint32_t> pixels_;
};

// A rendered glyph kept by the caller.
struct CachedGlyph {
    bool made = false;
    bool drawable = false;
    int advance = 0;
    MonoGlyph view;
    std::vector<uint8_t> bits;
};

// ---------------------------------------------------------------------------------------------
// The layer's canvas

HBITMAP topDownSection(int width, int height, void** bits) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, bits, nullptr, 0);
}

// A white 32-bit top-down DIB section in a memory DC, black text on a transparent background.
class Section {
  public:
    Section(int width, int height)
        : bitmap_(topDownSection(width, height, &bits_)),
          dc_(CreateCompatibleDC(nullptr)),
          selected_(dc_.get(), bitmap_.get()) {
        if (bits_)
            std::fill_n(static_cast<uint32_t*>(bits_),
                        static_cast<size_t>(width) * static_cast<size_t>(height), kPaper);
        SetBkMode(dc_.get(), TRANSPARENT);
        SetTextColor(dc_.get(), RGB(0, 0, 0));
    }
    bool ok() const { return bits_ && static_cast<bool>(selected_); }
    HDC dc() const { return dc_.get(); }

  private:
    void* bits_ = nullptr;
    // Made in this order and gone in reverse: the selection, the DC, then the bitmap.
    OwnedBitmap bitmap_;
    MemoryDc dc_;
    Selection selected_;
};

// Lines of 80 characters fit 1024 pixels at 10 pt; 24-pt glyphs need twice that.
int canvasWidth(int pixels) {
    return pixels <= 16 ? 1024 : 2048;
}

// ---------------------------------------------------------------------------------------------
// Benchmarks

// Skips the benchmark, saying why, unless Liberation Sans is there to draw with.
bool liberationSans(benchmark::State& state) {
    if (!sansFile().empty()) return true;
    state.SkipWithError("Liberation Sans is not installed (fonts-liberation2): no font to time");
    return false;
}

// Skips the benchmark of the layer, saying why, unless its numbers will be font numbers.
bool realFonts(benchmark::State& state) {
    if (!liberationSans(state)) return false;
    static const std::string reason = testFaceReason();
    if (!reason.empty()) {
        state.SkipWithError(reason.c_str());
        return false;
    }
    return true;
}

void reportText(benchmark::State& state, int64_t bytes, int64_t glyphs) {
    state.SetBytesProcessed(state.iterations() * bytes);
    state.counters["glyphs/s"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * static_cast<double>(glyphs), benchmark::Counter::kIsRate);
}

// The next line's top: one cell further down, back to the top when the cell would not fit.
int nextLine(int y, int lineHeight) {
    y += lineHeight;
    return y + lineHeight > kCanvasHeight ? 0 : y;
}

void BM_Gdi_TextOut(benchmark::State& state) {
    if (!realFonts(state)) return;
    const Text& text = textOf(state.range(0));
    const int pixels = static_cast<int>(state.range(1));
    Section canvas(canvasWidth(pixels), kCanvasHeight);
    const LOGFONTA logFont = arial(pixels);
    GdiObject<HFONT> font(CreateFontIndirectA(&logFont));
    Selection selected(canvas.dc(), font.get());
    TEXTMETRICA metrics{};
    if (!canvas.ok() || !selected || !GetTextMetricsA(canvas.dc(), &metrics)) {
        state.SkipWithError("no canvas or font");
        return;
    }
    int y = 0;
    for (auto _ : state) {
        for (const std::string& line : text.lines) {
            TextOutA(canvas.dc(), 0, y, line.data(), static_cast<int>(line.size()));
            y = nextLine(y, metrics.tmHeight);
        }
        benchmark::ClobberMemory();
    }
    reportText(state, text.bytes, text.glyphs);
}

// The peer's line height: the cell of the Windows ascent and descent the layer uses.
int peerLineHeight(const PeerFace& peer) {
    return static_cast<int>(
        (peer.face()->size->metrics.ascender - peer.face()->size->metrics.descender + 32) >> 6);
}

// Draws the run line after line with FreeType called directly; 'glyph' draws one byte at the pen
// on the baseline and answers the advance.
template <class DrawGlyph>
void runPeer(benchmark::State& state, DrawGlyph glyph) {
    if (!liberationSans(state)) return;
    const Text& text = textOf(state.range(0));
    const int pixels = static_cast<int>(state.range(1));
    const PeerFace peer(sansFile(), pixels);
    if (!peer) {
        state.SkipWithError("FreeType cannot open Liberation Sans");
        return;
    }
    PeerCanvas canvas(canvasWidth(pixels), kCanvasHeight);
    const int lineHeight = peerLineHeight(peer);
    const int ascent = peer.ascent();
    int y = 0;
    for (auto _ : state) {
        for (const std::string& line : text.lines) {
            int pen = 0;
            for (const char c : line) pen += glyph(peer, canvas, static_cast<unsigned char>(c), pen, y + ascent);
            y = nextLine(y, lineHeight);
        }
        benchmark::DoNotOptimize(canvas.data());
        benchmark::ClobberMemory();
    }
    reportText(state, text.bytes, text.glyphs);
}

void BM_FreeType_TextOut(benchmark::State& state) {
    runPeer(state, [](const PeerFace& peer, PeerCanvas& canvas, unsigned char byte, int pen, int baseline) {
        if (!peer.load(byte)) return 0;
        if (peer.render()) canvas.draw(viewOf(peer.face()->glyph), pen, baseline);
        return peer.advance();
    });
}

// Renders the byte's glyph into the caller's table entry.
void cacheGlyph(const PeerFace& peer, unsigned char byte, CachedGlyph& glyph) {
    glyph.made = true;
    if (!peer.load(byte)) return;
    glyph.advance = peer.advance();
    if (!peer.render()) return;
    glyph.view = viewOf(peer.face()->glyph);
    glyph.bits.assign(glyph.view.bits, glyph.view.bits + static_cast<size_t>(glyph.view.rows) *
                                                             static_cast<size_t>(std::abs(glyph.view.pitch)));
    glyph.view.bits = glyph.bits.data();
    glyph.drawable = true;
}

void BM_FreeType_TextOutCached(benchmark::State& state) {
    std::array<CachedGlyph, 256> glyphs;
    runPeer(state, [&glyphs](const PeerFace& peer, PeerCanvas& canvas, unsigned char byte, int pen, int baseline) {
        CachedGlyph& glyph = glyphs[byte];
        if (!glyph.made) cacheGlyph(peer, byte, glyph);
        if (glyph.drawable) canvas.draw(glyph.view, pen, baseline);
        return glyph.advance;
    });
}

void reportWords(benchmark::State& state, const std::vector<std::string>& words) {
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(words.size()));
    state.SetBytesProcessed(state.iterations() * bytesOf(words));
}

// The widths of all the words with the DC's font.
int64_t measureWords(HDC dc, const std::vector<std::string>& words) {
    int64_t total = 0;
    for (const std::string& word : words) {
        SIZE size{};
        GetTextExtentPoint32A(dc, word.data(), static_cast<int>(word.size()), &size);
        total += size.cx;
    }
    return total;
}

// Each iteration makes a font of a size and style no font of the process had before (see
// nextColdFont), selects it and measures the words: the font's making, its first advances read
// from FreeType, and the rest of the words measured as they would be in a first layout. The
// iterations are fixed so that the cold fonts last; with more words the first font's cost weighs
// less, which the two word counts show.
void BM_Gdi_ExtentsFirstPass(benchmark::State& state) {
    if (!realFonts(state)) return;
    const std::vector<std::string>& words = wordsOf(state.range(0));
    MemoryDc dc(CreateCompatibleDC(nullptr));
    for (auto _ : state) {
        const std::optional<LOGFONTA> cold = nextColdFont();
        if (!cold) {
            state.SkipWithError("every cold font size has been used: fewer repetitions, please");
            break;
        }
        GdiObject<HFONT> font(CreateFontIndirectA(&*cold));
        Selection selected(dc.get(), font.get());
        benchmark::DoNotOptimize(measureWords(dc.get(), words));
    }
    reportWords(state, words);
}

// The same font measured again: everything the layer keeps of it is there.
void BM_Gdi_ExtentsCached(benchmark::State& state) {
    if (!realFonts(state)) return;
    const std::vector<std::string>& words = wordsOf(state.range(0));
    MemoryDc dc(CreateCompatibleDC(nullptr));
    const LOGFONTA logFont = arial(13);
    GdiObject<HFONT> font(CreateFontIndirectA(&logFont));
    Selection selected(dc.get(), font.get());
    benchmark::DoNotOptimize(measureWords(dc.get(), words));
    for (auto _ : state) benchmark::DoNotOptimize(measureWords(dc.get(), words));
    reportWords(state, words);
}

// FreeType with no cache: each character's glyph loaded and hinted for its advance.
void BM_FreeType_Extents(benchmark::State& state) {
    if (!liberationSans(state)) return;
    const std::vector<std::string>& words = wordsOf(state.range(0));
    const PeerFace peer(sansFile(), 13);
    if (!peer) {
        state.SkipWithError("FreeType cannot open Liberation Sans");
        return;
    }
    for (auto _ : state) {
        int64_t total = 0;
        for (const std::string& word : words) {
            int width = 0;
            for (const char c : word)
                if (peer.load(static_cast<unsigned char>(c))) width += peer.advance();
            total += width;
        }
        benchmark::DoNotOptimize(total);
    }
    reportWords(state, words);
}

constexpr int64_t k64K = 64 << 10;
constexpr int64_t k1M = 1 << 20;

BENCHMARK(BM_Gdi_TextOut)->Args({k64K, 13})->Args({k1M, 13})->Args({k64K, 32})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FreeType_TextOut)
    ->Args({k64K, 13})
    ->Args({k1M, 13})
    ->Args({k64K, 32})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FreeType_TextOutCached)
    ->Args({k64K, 13})
    ->Args({k1M, 13})
    ->Args({k64K, 32})
    ->Unit(benchmark::kMillisecond);

BENCHMARK(BM_Gdi_ExtentsFirstPass)->Arg(10000)->Iterations(48)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Gdi_ExtentsFirstPass)->Arg(100000)->Iterations(12)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Gdi_ExtentsCached)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FreeType_Extents)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
