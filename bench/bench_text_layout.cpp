// The text formatter and run painter in real fonts next to Pango and cairo doing the same work in
// the same run (Liberation Sans, 10 points at 96 dpi, "Arial CE" resolving to it).
//
// Layout: 1 MB of Czech-like formatted text in paragraphs of about 2,000 bytes, a colour or font
// code about every 40 bytes, broken into lines at 600 pixels (split, place, break, trim, place
// again, as the document view does) without painting; the peer lays out the same text stripped of
// its codes with a PangoLayout of the same width, word-wrapped, each paragraph once.
// Painting: 1,000 lines of 80 characters, each laid out and painted with PaintLine into a
// 1920x1080 32-bit surface, the lines wrapping to the top; the peer lays out and shows each line
// with pango_cairo_show_layout on a cairo image surface of the same size.
//
// Counters: lines/s and µs per line for layout; lines/s for painting. Under WINPLAT_FONTS=test the
// formatter would measure boxes, so its benchmarks skip with the reason.
#include <benchmark/benchmark.h>
#include <pango/pangocairo.h>

#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "text/code_edits.h"
#include "text/colour_table.h"
#include "text/font_cache.h"
#include "text/font_faces.h"
#include "text/paragraph_paint.h"
#include "text/text_formatter.h"
#include "winplat/draw.h"
#include "winplat/gdi.h"
#include "winplat/owners.h"

namespace {

constexpr size_t kLayoutBytes = 1 << 20;
constexpr size_t kParagraphBytes = 2000;
constexpr int kLayoutWidth = 600;
constexpr int kSurfaceWidth = 1920, kSurfaceHeight = 1080;
constexpr int kPaintLines = 1000;
constexpr int kLineChars = 80;
constexpr int16_t kPoints = 10;

bool RealFontsInUse() {
    const char* source = std::getenv("WINPLAT_FONTS");
    return !(source && std::string(source) == "test");
}

std::string Words(std::mt19937& random, size_t size, bool codes) {
    static const char* const words[] = {"text", "\xE8\x65sk\xFD", "odstavec", "Ko\xE8ka", "\xFAloha",
                                        "p\xF8\xEDklad", "a", "v", "ve\xE8\x65r", "dlouh\xE9"};
    static const std::string codeList[] = {
        std::string("\x02\x01\xFF\x02", 4), std::string("\x02\x00\xFF\x02", 4),
        std::string("\x01\xFF\x00\x7F\x06\x00\x01", 7), std::string("\x01\xFF\x00\x7F\xFF\x02\x01", 7)};
    std::string text;
    size_t sinceCode = 0;
    while (text.size() < size) {
        const std::string word = words[random() % std::size(words)];
        text += word;
        text += ' ';
        sinceCode += word.size() + 1;
        if (codes && sinceCode >= 40) {
            text += codeList[random() % std::size(codeList)];
            sinceCode = 0;
        }
    }
    text.resize(size);
    return text;
}

std::vector<std::string> Paragraphs(bool codes) {
    std::mt19937 random(7);
    std::vector<std::string> paragraphs;
    for (size_t total = 0; total < kLayoutBytes; total += kParagraphBytes) {
        std::string paragraph = Words(random, kParagraphBytes, true);
        if (!codes) paragraph.resize(lect32::StripControlCodes(
                        {reinterpret_cast<uint8_t*>(paragraph.data()), paragraph.size()}, true));
        paragraphs.push_back(std::move(paragraph));
    }
    return paragraphs;
}

// A formatter on a memory DC with a white 1920x1080 surface, measuring and painting in Arial CE.
struct Canvas {
    Canvas() {
        auto& fonts = lect32::GetDocumentFonts();
        fonts.main.Clear();
        fonts.main.Append("Arial CE", lect32::kCharsetEastEurope);
        lect32::SetTextResolution(96);
        SelectObject(dc.get(), surface.get());
        SetBkMode(dc.get(), TRANSPARENT);
        colours.SetAll(std::vector<lect32::Rgb>{{0, 0, 0}, {0, 0, 160}});
        formatter.SetDC(dc.get());
        formatter.SetColourTable(&colours);
        format.SetParagraphDefaults();
        format.chars.size = kPoints;
        format.colours = lect32::ColourPair{0, 255};
    }
    ~Canvas() { formatter.ReleaseFonts(); }

    winplat::MemoryDc dc{CreateCompatibleDC(nullptr)};
    winplat::OwnedBitmap surface{CreateBitmap(kSurfaceWidth, kSurfaceHeight, 1, 32, nullptr)};
    lect32::ColourTable colours;
    lect32::TextFormat format;
    lect32::TextFormatter formatter;
};

void LayoutCounters(benchmark::State& state, int64_t lines) {
    state.counters["lines/s"] = benchmark::Counter(static_cast<double>(lines), benchmark::Counter::kIsRate);
    state.counters["us/line"] = benchmark::Counter(static_cast<double>(lines) / 1e6,
                                                   benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(kLayoutBytes));
}

void BM_FormatterLayout(benchmark::State& state) {
    if (!RealFontsInUse()) return state.SkipWithError("WINPLAT_FONTS=test: the formatter would measure boxes");
    const std::vector<std::string> paragraphs = Paragraphs(true);
    Canvas canvas;
    int64_t lines = 0;
    for (auto _ : state) {
        for (const std::string& paragraph : paragraphs) {
            const std::span<const uint8_t> text(reinterpret_cast<const uint8_t*>(paragraph.data()), paragraph.size());
            lines += lect32::PaintParagraph(canvas.formatter, canvas.format, text,
                                            lect32::ParagraphBox{0, 0, kLayoutWidth, lect32::TextFormatter::kJustified, false})
                         .lines;
        }
    }
    LayoutCounters(state, lines);
}
BENCHMARK(BM_FormatterLayout)->Unit(benchmark::kMillisecond);

PangoLayout* NewLayout(cairo_t* cairo) {
    PangoLayout* layout = pango_cairo_create_layout(cairo);
    pango_cairo_context_set_resolution(pango_layout_get_context(layout), 96);
    PangoFontDescription* font = pango_font_description_from_string("Liberation Sans 10");
    pango_layout_set_font_description(layout, font);
    pango_font_description_free(font);
    return layout;
}

// Pango wants UTF-8: the cp1250 letters of the word list, converted once outside the timing.
std::string Utf8(const std::string& cp1250) {
    std::string out;
    for (const unsigned char c : cp1250) {
        char32_t u = c;
        switch (c) {
            case 0xE8: u = 0x10D; break;
            case 0xFD: u = 0xFD; break;
            case 0xFA: u = 0xFA; break;
            case 0xF8: u = 0x159; break;
            case 0xED: u = 0xED; break;
            case 0xE9: u = 0xE9; break;
            default: break;
        }
        if (u < 0x80) {
            out += static_cast<char>(u);
        } else {
            out += static_cast<char>(0xC0 | (u >> 6));
            out += static_cast<char>(0x80 | (u & 0x3F));
        }
    }
    return out;
}

void BM_PangoLayout(benchmark::State& state) {
    std::vector<std::string> paragraphs = Paragraphs(false);
    for (std::string& p : paragraphs) p = Utf8(p);
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kSurfaceWidth, kSurfaceHeight);
    cairo_t* cairo = cairo_create(surface);
    PangoLayout* layout = NewLayout(cairo);
    pango_layout_set_width(layout, kLayoutWidth * PANGO_SCALE);
    pango_layout_set_wrap(layout, PANGO_WRAP_WORD);
    pango_layout_set_justify(layout, TRUE);
    int64_t lines = 0;
    for (auto _ : state) {
        for (const std::string& paragraph : paragraphs) {
            pango_layout_set_text(layout, paragraph.data(), static_cast<int>(paragraph.size()));
            lines += pango_layout_get_line_count(layout);
        }
    }
    LayoutCounters(state, lines);
    g_object_unref(layout);
    cairo_destroy(cairo);
    cairo_surface_destroy(surface);
}
BENCHMARK(BM_PangoLayout)->Unit(benchmark::kMillisecond);

std::vector<std::string> PaintLines() {
    std::mt19937 random(11);
    std::vector<std::string> lines;
    for (int i = 0; i < kPaintLines; ++i) lines.push_back(Words(random, kLineChars, false));
    return lines;
}

void PaintCounters(benchmark::State& state) {
    state.counters["lines/s"] = benchmark::Counter(static_cast<double>(state.iterations()) * kPaintLines,
                                                   benchmark::Counter::kIsRate);
}

void BM_FormatterPaint(benchmark::State& state) {
    if (!RealFontsInUse()) return state.SkipWithError("WINPLAT_FONTS=test: the painter would draw boxes");
    const std::vector<std::string> lines = PaintLines();
    Canvas canvas;
    for (auto _ : state) {
        int y = 0;
        for (const std::string& line : lines) {
            const std::span<const uint8_t> text(reinterpret_cast<const uint8_t*>(line.data()), line.size());
            const lect32::ParagraphResult result = lect32::PaintParagraph(
                canvas.formatter, canvas.format, text, lect32::ParagraphBox{0, y, kSurfaceWidth});
            y += result.height;
            if (y + result.height > kSurfaceHeight) y = 0;
        }
    }
    PaintCounters(state);
}
BENCHMARK(BM_FormatterPaint)->Unit(benchmark::kMillisecond);

void BM_PangoCairoPaint(benchmark::State& state) {
    std::vector<std::string> lines = PaintLines();
    for (std::string& line : lines) line = Utf8(line);
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kSurfaceWidth, kSurfaceHeight);
    cairo_t* cairo = cairo_create(surface);
    cairo_set_source_rgb(cairo, 0, 0, 0);
    PangoLayout* layout = NewLayout(cairo);
    for (auto _ : state) {
        int y = 0;
        for (const std::string& line : lines) {
            pango_layout_set_text(layout, line.data(), static_cast<int>(line.size()));
            cairo_move_to(cairo, 0, y);
            pango_cairo_show_layout(cairo, layout);
            int width = 0, height = 0;
            pango_layout_get_pixel_size(layout, &width, &height);
            y += height;
            if (y + height > kSurfaceHeight) y = 0;
        }
        cairo_surface_flush(surface);
    }
    PaintCounters(state);
    g_object_unref(layout);
    cairo_destroy(cairo);
    cairo_surface_destroy(surface);
}
BENCHMARK(BM_PangoCairoPaint)->Unit(benchmark::kMillisecond);

}  // namespace
