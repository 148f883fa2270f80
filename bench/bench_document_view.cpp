// The document view in real fonts next to Pango and cairo doing the same work in the same run
// (Liberation Sans, 10 points at 96 dpi, "Arial CE" resolving to it).
//
// Layout: pages of 1,000 and 5,000 rows of about 200 bytes of formatted text (a colour or font
// code about every 40 bytes) laid out at 800 pixels; pages of 25 and 50 screens (1080 pixels
// each) with 30 pictures the text flows around; the 5,000-row page laid out again at another
// width (a window resized). The peer lays out the same paragraphs, stripped of their codes, with
// a PangoLayout of the same width each (no objects: Pango has no flow around them).
// Painting: a viewport of 960x540 and 1920x1080 of dense text painted whole, and the 30-pixel
// strip a one-line scroll uncovers; the peer lays out and shows the paragraphs that fall in the
// same area with pango_cairo_show_layout on a cairo image surface of that size (clipped to the
// strip for the scroll). Laid-out and painted time are measured apart.
//
// Under WINPLAT_FONTS=test the view would measure boxes, so its benchmarks skip with the reason.
#include <benchmark/benchmark.h>
#include <pango/pangocairo.h>

#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "page/document_view.h"
#include "support/quiet_page_tables.h"
#include "text/code_edits.h"
#include "text/colour_table.h"
#include "text/font_cache.h"
#include "text/font_faces.h"
#include "text/style_sheet.h"
#include "winplat/gdi.h"
#include "winplat/owners.h"

namespace {

constexpr int kRowBytes = 200;
constexpr int kPageWidth = 800;
constexpr int kScreen = 1080;
constexpr int kScrollStrip = 30;

bool RealFontsInUse() {
    const char* source = std::getenv("WINPLAT_FONTS");
    return !(source && std::string(source) == "test");
}

std::string Words(std::mt19937& random, size_t size) {
    static const char* const words[] = {"text", "\xE8\x65sk\xFD", "odstavec", "Ko\xE8ka", "\xFAloha",
                                        "p\xF8\xEDklad", "a", "v", "ve\xE8\x65r", "dlouh\xE9"};
    static const std::string codes[] = {std::string("\x02\x01\xFF\x02", 4), std::string("\x02\x00\xFF\x02", 4),
                                        std::string("\x01\xFF\x00\x7F\x06\x00\x01", 7),
                                        std::string("\x01\xFF\x00\x7F\xFF\x02\x01", 7)};
    std::string text;
    size_t sinceCode = 0;
    while (text.size() < size) {
        const std::string word = words[random() % std::size(words)];
        text += word + ' ';
        sinceCode += word.size() + 1;
        if (sinceCode >= 40) {
            text += codes[random() % std::size(codes)];
            sinceCode = 0;
        }
    }
    return text;
}

std::vector<std::string> Paragraphs(int rows) {
    std::mt19937 random(5);
    std::vector<std::string> out;
    for (int i = 0; i < rows; ++i) out.push_back(Words(random, kRowBytes));
    return out;
}

void Word(std::vector<uint8_t>& out, int value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

// A page record of the paragraphs (10-point rows) and 'objects' pictures down the right side.
std::vector<uint8_t> PageRecord(const std::vector<std::string>& paragraphs, int objects, int32_t height) {
    std::vector<uint8_t> page{0, 0};
    Word(page, static_cast<int>(paragraphs.size()));
    for (const std::string& text : paragraphs) {
        const uint8_t record[] = {0, 0, 0, 0, 0, 0x02, 0x00, 0, 10, 0, 3, 0};
        Word(page, sizeof record);
        page.insert(page.end(), std::begin(record), std::end(record));
        Word(page, 0);
        Word(page, static_cast<int>(text.size()));
        page.insert(page.end(), text.begin(), text.end());
    }
    page.push_back(0);
    page.push_back(6);
    Word(page, objects);
    for (int i = 0; i < objects; ++i) {
        std::vector<uint8_t> o(36, 0);
        const int32_t y = height / std::max(objects, 1) * i;
        const int x = (i % 2) * 500;
        o[0] = 200;  // width
        o[2] = 150;  // height
        o[4] = static_cast<uint8_t>(x), o[5] = static_cast<uint8_t>(x >> 8);
        for (int b = 0; b < 4; ++b) o[6 + b] = static_cast<uint8_t>(y >> (8 * b));
        o[26] = 1;  // a picture, of no file
        o[27] = o[28] = o[31] = o[32] = o[33] = o[34] = 0xFF;
        page.insert(page.end(), o.begin(), o.end());
        Word(page, 0);
        Word(page, 0);
    }
    return page;
}

struct ViewBench {
    ViewBench() {
        auto& fonts = lect32::GetDocumentFonts();
        fonts.main.Clear();
        fonts.main.Append("Arial CE", lect32::kCharsetEastEurope);
        lect32::SetTextResolution(96);
        colours.SetAll(std::vector<lect32::Rgb>{{0, 0, 0}, {255, 255, 255}, {0, 0, 160}});
        style.widthMode = 1;
        style.width = kPageWidth;
        style.backgroundColour = 1;
        view.SetPageStyle(style);
    }
    bool Load(const std::vector<uint8_t>& record) {
        winplat::ByteReader in(record);
        return view.LoadPage(in);
    }
    void Surface(int width, int height) {
        surface.reset(CreateBitmap(width, height, 1, 32, nullptr));
        SelectObject(dc.get(), surface.get());
        view.OnSize(width, height);
    }
    page_support::QuietTables tables;
    lect32::StyleSheet styles;
    lect32::ColourTable colours;
    lect32::PageStyle style;
    lect32::DocumentView view{tables.services(), lect32::ViewServices{&styles, &colours, {}}};
    winplat::MemoryDc dc{CreateCompatibleDC(nullptr)};
    winplat::OwnedBitmap surface;
};

void RowCounters(benchmark::State& state, int64_t rows) {
    state.counters["rows/s"] = benchmark::Counter(static_cast<double>(rows) * static_cast<double>(state.iterations()),
                                                  benchmark::Counter::kIsRate);
}

void BM_ViewLayout(benchmark::State& state) {
    if (!RealFontsInUse()) return state.SkipWithError("WINPLAT_FONTS=test: the view would measure boxes");
    ViewBench bench;
    bench.Surface(kPageWidth, kScreen);
    if (!bench.Load(PageRecord(Paragraphs(static_cast<int>(state.range(0))), 0, 0))) return state.SkipWithError("page refused");
    for (auto _ : state) bench.view.Layout(bench.dc.get());
    RowCounters(state, state.range(0));
    state.counters["content px"] = bench.view.ContentHeight();
}
BENCHMARK(BM_ViewLayout)->Arg(1000)->Arg(5000)->Unit(benchmark::kMillisecond);

// The page of rows whose content is about 'screens' screens tall, with 30 pictures.
void BM_ViewLayoutObjects(benchmark::State& state) {
    if (!RealFontsInUse()) return state.SkipWithError("WINPLAT_FONTS=test: the view would measure boxes");
    const int screens = static_cast<int>(state.range(0));
    const int rows = screens * kScreen / 48;  // a row of 200 bytes takes about three 16-pixel lines
    ViewBench bench;
    bench.Surface(kPageWidth, kScreen);
    if (!bench.Load(PageRecord(Paragraphs(rows), 30, screens * kScreen))) return state.SkipWithError("page refused");
    for (auto _ : state) bench.view.Layout(bench.dc.get());
    RowCounters(state, rows);
    state.counters["screens"] = static_cast<double>(bench.view.ContentHeight()) / kScreen;
}
BENCHMARK(BM_ViewLayoutObjects)->Arg(25)->Arg(50)->Unit(benchmark::kMillisecond);

void BM_ViewRelayoutOnResize(benchmark::State& state) {
    if (!RealFontsInUse()) return state.SkipWithError("WINPLAT_FONTS=test: the view would measure boxes");
    ViewBench bench;
    bench.Surface(kPageWidth, kScreen);
    if (!bench.Load(PageRecord(Paragraphs(static_cast<int>(state.range(0))), 0, 0))) return state.SkipWithError("page refused");
    bool narrow = false;
    for (auto _ : state) {
        narrow = !narrow;
        bench.style.width = narrow ? kPageWidth - 100 : kPageWidth;
        bench.view.SetPageStyle(bench.style);
        bench.view.Layout(bench.dc.get());
    }
    RowCounters(state, state.range(0));
}
BENCHMARK(BM_ViewRelayoutOnResize)->Arg(1000)->Arg(5000)->Unit(benchmark::kMillisecond);

// Paints the viewport (range(0) x range(1)) whole, or with range(2) the strip at its bottom.
void BM_ViewPaint(benchmark::State& state) {
    if (!RealFontsInUse()) return state.SkipWithError("WINPLAT_FONTS=test: the view would paint boxes");
    const int width = static_cast<int>(state.range(0)), height = static_cast<int>(state.range(1));
    ViewBench bench;
    bench.style.width = static_cast<int16_t>(width);
    bench.view.SetPageStyle(bench.style);
    bench.Surface(width, height);
    if (!bench.Load(PageRecord(Paragraphs(400), 0, 0))) return state.SkipWithError("page refused");
    bench.view.Layout(bench.dc.get());
    const RECT strip{0, height - kScrollStrip, width, height};
    for (auto _ : state) bench.view.OnPaint(bench.dc.get(), state.range(2) ? &strip : nullptr);
}
BENCHMARK(BM_ViewPaint)->Args({960, 540, 0})->Args({1920, 1080, 0})->Args({960, 540, 1})->Args({1920, 1080, 1})->Unit(benchmark::kMillisecond);

// ---- the peer

PangoLayout* NewLayout(cairo_t* cairo, int width) {
    PangoLayout* layout = pango_cairo_create_layout(cairo);
    pango_cairo_context_set_resolution(pango_layout_get_context(layout), 96);
    PangoFontDescription* font = pango_font_description_from_string("Liberation Sans 10");
    pango_layout_set_font_description(layout, font);
    pango_font_description_free(font);
    pango_layout_set_width(layout, width * PANGO_SCALE);
    pango_layout_set_wrap(layout, PANGO_WRAP_WORD);
    return layout;
}

std::string Utf8(const std::string& cp1250) {
    std::string out;
    for (const unsigned char c : cp1250) {
        char32_t u = c;
        if (c == 0xE8) u = 0x10D;
        else if (c == 0xF8) u = 0x159;
        if (u < 0x80) {
            out += static_cast<char>(u);
        } else {
            out += static_cast<char>(0xC0 | (u >> 6));
            out += static_cast<char>(0x80 | (u & 0x3F));
        }
    }
    return out;
}

std::vector<std::string> PlainParagraphs(int rows) {
    std::vector<std::string> paragraphs = Paragraphs(rows);
    for (std::string& p : paragraphs) {
        p.resize(lect32::StripControlCodes({reinterpret_cast<uint8_t*>(p.data()), p.size()}, true));
        p = Utf8(p);
    }
    return paragraphs;
}

struct Cairo {
    Cairo(int width, int height)
        : surface(cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height)), cairo(cairo_create(surface)) {}
    ~Cairo() {
        cairo_destroy(cairo);
        cairo_surface_destroy(surface);
    }
    cairo_surface_t* surface;
    cairo_t* cairo;
};

void BM_PangoLayout(benchmark::State& state) {
    const std::vector<std::string> paragraphs = PlainParagraphs(static_cast<int>(state.range(0)));
    Cairo canvas(kPageWidth, kScreen);
    PangoLayout* layout = NewLayout(canvas.cairo, kPageWidth);
    for (auto _ : state) {
        int height = 0;
        for (const std::string& p : paragraphs) {
            pango_layout_set_text(layout, p.data(), static_cast<int>(p.size()));
            int w = 0, h = 0;
            pango_layout_get_pixel_size(layout, &w, &h);
            height += h;
        }
        benchmark::DoNotOptimize(height);
    }
    RowCounters(state, state.range(0));
    g_object_unref(layout);
}
BENCHMARK(BM_PangoLayout)->Arg(1000)->Arg(5000)->Unit(benchmark::kMillisecond);

void BM_PangoCairoPaint(benchmark::State& state) {
    const int width = static_cast<int>(state.range(0)), height = static_cast<int>(state.range(1));
    const std::vector<std::string> paragraphs = PlainParagraphs(400);
    Cairo canvas(width, height);
    PangoLayout* layout = NewLayout(canvas.cairo, width - 20);
    if (state.range(2)) {
        cairo_rectangle(canvas.cairo, 0, height - kScrollStrip, width, kScrollStrip);
        cairo_clip(canvas.cairo);
    }
    cairo_set_source_rgb(canvas.cairo, 0, 0, 0);
    const int top = state.range(2) ? height - kScrollStrip : 0;
    for (auto _ : state) {
        int y = 10;
        for (const std::string& p : paragraphs) {
            if (y >= height) break;
            pango_layout_set_text(layout, p.data(), static_cast<int>(p.size()));
            int w = 0, h = 0;
            pango_layout_get_pixel_size(layout, &w, &h);
            if (y + h > top) {
                cairo_move_to(canvas.cairo, 10, y);
                pango_cairo_show_layout(canvas.cairo, layout);
            }
            y += h;
        }
        cairo_surface_flush(canvas.surface);
    }
    g_object_unref(layout);
}
BENCHMARK(BM_PangoCairoPaint)->Args({960, 540, 0})->Args({1920, 1080, 0})->Args({960, 540, 1})->Args({1920, 1080, 1})->Unit(benchmark::kMillisecond);

}  // namespace
