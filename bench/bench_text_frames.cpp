// Text frames and tables, with Pango and cairo doing the same table work in the same run
// (Liberation Sans, 10 points at 96 dpi, "Arial CE" resolving to it).
//
// Records: a text frame of 1,000 and of 10,000 rows of about 80 bytes (a bold code in each row)
// read whole from its record (Deserialize) and written back with every section (Serialize). The
// rows' record comes from one row the document writer made, repeated with other text.
// Tables: 50 rows x 20 columns and 200 rows x 40 columns of 60-pixel cells, each holding a short
// Czech text that sometimes wraps, as the document writer stores them. Layout lays out every cell
// through the table's text frame and sets the row heights; paint paints the laid-out table whole
// onto a memory bitmap of its size, after one untimed paint has touched the bitmap's pages. The
// peer keeps one PangoLayout per cell: its layout sets each cell's text at the cell's inner width
// and sums the rows' tallest heights; its paint fills the cells' grid lines and shows every cell's
// layout on a cairo image surface of the same size, its pages likewise touched first.
//
// Under WINPLAT_FONTS=test the frame would measure boxes, so the table benchmarks skip then.
#include <benchmark/benchmark.h>
#include <pango/pangocairo.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "page/rich_text_object.h"
#include "page/table_cell_text.h"
#include "page/table_object.h"
#include "support/quiet_page_tables.h"
#include "text/colour_table.h"
#include "text/font_cache.h"
#include "text/font_faces.h"
#include "text/style_sheet.h"
#include "winplat/gdi.h"
#include "winplat/owners.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

constexpr int kCellWidth = 60;
constexpr int kCellMargin = 2;  // the writer's left and right cell margins

bool RealFontsInUse() {
    const char* source = std::getenv("WINPLAT_FONTS");
    return !(source && std::string(source) == "test");
}

// ---- fixtures from the document writer

Bytes FileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// The writer's stored table of the description; empty when python3 or the writer failed.
Bytes WrittenTable(const std::string& description) {
    const fs::path folder =
        fs::temp_directory_path() / ("bench_text_frames_" + std::to_string(std::random_device{}()));
    fs::create_directories(folder);
    std::ofstream(folder / "table.json") << description;
    const std::string command = std::string(PYTHON_EXECUTABLE) + " -B '" + LCNWRITER_DIR + "' table '" +
                                (folder / "table.json").string() + "' '" + (folder / "table.bin").string() +
                                "' >/dev/null 2>&1";
    Bytes table = std::system(command.c_str()) == 0 ? FileBytes(folder / "table.bin") : Bytes{};
    std::error_code ignored;
    fs::remove_all(folder, ignored);
    return table;
}

const char* const kWords[] = {"text",         "\\u010desk\\u00fd",   "bu\\u0148ka", "ko\\u010dka",
                              "\\u00faloha",  "p\\u0159\\u00edklad", "a",           "ve\\u010der",
                              "dlouh\\u00e9", "\\u0159\\u00e1dek"};

// A cell's or row's paragraph in JSON: 'words' words, bold from the second word on.
std::string Paragraph(std::mt19937& random, int words) {
    std::string first = kWords[random() % std::size(kWords)];
    std::string rest;
    for (int i = 1; i < words; ++i) rest += std::string(" ") + kWords[random() % std::size(kWords)];
    return R"({"text": [")" + first + R"(", {"char": {"weight": 7}}, ")" + rest +
           R"("], "format": {"char": {"font": 0, "size": 10, "weight": 3, "flags": 0}, "line": -100, "colours": [0, 1]}})";
}

std::string TableDescription(int rows, int columns) {
    std::mt19937 random(7);
    std::string cells;
    for (int i = 0; i < rows * columns; ++i) {
        if (i) cells += ", ";
        const int words = 1 + static_cast<int>(random() % 4);  // three or four words wrap at 60 pixels
        cells += R"({"width": )" + std::to_string(kCellWidth) +
                 R"(, "borders": [[1, 0], [1, 0], [1, 0], [1, 0]], "rows": [)" + Paragraph(random, words) +
                 "]}";
    }
    return R"({"table": {"rows": )" + std::to_string(rows) + R"(, "columns": )" + std::to_string(columns) +
           R"(, "sections": 255, "cells": [)" + cells + "]}}";
}

void Word(Bytes& out, size_t value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

uint16_t WordAt(const Bytes& bytes, size_t at) {
    return static_cast<uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

// A frame record of 'rows' rows: the writer's one-row frame with its row repeated, each with
// text of its own; empty when the writer failed.
Bytes FrameRecord(int rows) {
    std::mt19937 random(3);
    const Bytes table =
        WrittenTable(R"({"table": {"rows": 1, "columns": 1, "sections": 255, "cells": [{"rows": [)" +
                     Paragraph(random, 2) + "]}]}}");
    lect32::TableObject reader;
    winplat::ByteReader in(table);
    if (table.empty() || !reader.Read(in)) return {};
    const Bytes one = reader.CellText(0);
    // byte version, u16 rows, then the row: u16 A + A, u16 T + 4T, u16 L + L, u16 N + 4N.
    size_t at = 3;
    const size_t recordStart = at;
    at += 2 + WordAt(one, at);
    at += 2 + 4 * size_t{WordAt(one, at)};
    const size_t textStart = at;
    at += 2 + WordAt(one, at);
    const size_t linesStart = at;
    at += 2 + 4 * size_t{WordAt(one, at)};
    if (at > one.size()) return {};
    Bytes frame{one[0]};
    Word(frame, static_cast<size_t>(rows));
    static const char* const plain[] = {"text",     "\xE8\x65sk\xFD", "bu\xF2ka",
                                        "ko\xE8ka", "\xFAloha",       "p\xF8\xEDklad"};
    for (int r = 0; r < rows; ++r) {
        frame.insert(frame.end(), one.begin() + static_cast<long>(recordStart),
                     one.begin() + static_cast<long>(textStart));
        std::string text = std::string(plain[r % 6]) + "\x02\x01\xFF\x02";  // a word, then bold
        while (text.size() < 80) text += std::string(" ") + plain[random() % std::size(plain)];
        Word(frame, text.size());
        frame.insert(frame.end(), text.begin(), text.end());
        frame.insert(frame.end(), one.begin() + static_cast<long>(linesStart),
                     one.begin() + static_cast<long>(at));
    }
    frame.insert(frame.end(), one.begin() + static_cast<long>(at),
                 one.end());  // sections, view state, objects
    return frame;
}

void RowCounters(benchmark::State& state, int64_t rows) {
    state.counters["rows/s"] = benchmark::Counter(
        static_cast<double>(rows) * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

// ---- text-frame records

void BM_FrameDeserialize(benchmark::State& state) {
    const Bytes record = FrameRecord(static_cast<int>(state.range(0)));
    if (record.empty()) return state.SkipWithError("the document writer (python3) did not write the frame");
    lect32::RichTextObject frame;
    if (!frame.Deserialize(record) || frame.RowCount() != state.range(0)) {
        return state.SkipWithError("the frame record was refused or cut short");
    }
    for (auto _ : state) benchmark::DoNotOptimize(frame.Deserialize(record));
    RowCounters(state, state.range(0));
    state.counters["bytes"] = static_cast<double>(record.size());
}
BENCHMARK(BM_FrameDeserialize)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

void BM_FrameSerialize(benchmark::State& state) {
    const Bytes record = FrameRecord(static_cast<int>(state.range(0)));
    if (record.empty()) return state.SkipWithError("the document writer (python3) did not write the frame");
    lect32::RichTextObject frame;
    if (!frame.Deserialize(record) || frame.Serialize(lect32::RichTextObject::kAllSections) != record) {
        return state.SkipWithError("the frame record did not come back byte for byte");
    }
    for (auto _ : state) {
        Bytes written = frame.Serialize(lect32::RichTextObject::kAllSections);
        benchmark::DoNotOptimize(written.data());
    }
    RowCounters(state, state.range(0));
}
BENCHMARK(BM_FrameSerialize)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

// ---- tables

struct TableBench {
    TableBench() {
        auto& fonts = lect32::GetDocumentFonts();
        fonts.main.Clear();
        fonts.main.Append("Arial CE", lect32::kCharsetEastEurope);
        lect32::SetTextResolution(96);
        colours.SetAll(std::vector<lect32::Rgb>{{0, 0, 0}, {255, 255, 255}});
    }
    bool Load(const Bytes& stored) {
        winplat::ByteReader in(stored);
        return table.Read(in);
    }
    void Surface() {
        const lect32::TableSize size = table.GetTotalSize(true);
        surface.reset(CreateBitmap(size.width, static_cast<int>(size.height), 1, 32, nullptr));
        SelectObject(dc.get(), surface.get());
        area = RECT{0, 0, size.width, static_cast<LONG>(size.height)};
    }
    page_support::QuietTables tables;
    lect32::StyleSheet styles;
    lect32::ColourTable colours;
    lect32::TableObject table{&colours, std::make_unique<lect32::TableCellText>(
                                            tables.services(), lect32::ViewServices{&styles, &colours, {}})};
    winplat::MemoryDc dc{CreateCompatibleDC(nullptr)};
    winplat::OwnedBitmap surface;
    RECT area{};
};

const Bytes& StoredTable(int rows, int columns) {
    static const Bytes small = WrittenTable(TableDescription(50, 20));
    static const Bytes large = WrittenTable(TableDescription(200, 40));
    return rows == 50 && columns == 20 ? small : large;
}

void CellCounters(benchmark::State& state) {
    state.counters["cells/s"] = benchmark::Counter(
        static_cast<double>(state.range(0) * state.range(1)) * static_cast<double>(state.iterations()),
        benchmark::Counter::kIsRate);
}

void BM_TableLayout(benchmark::State& state) {
    if (!RealFontsInUse()) return state.SkipWithError("WINPLAT_FONTS=test: the cells would measure boxes");
    const Bytes& stored = StoredTable(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    TableBench bench;
    if (stored.empty() || !bench.Load(stored))
        return state.SkipWithError("the document writer's table was not read");
    int32_t height = 0;
    for (auto _ : state) height = bench.table.Layout(bench.dc.get());
    CellCounters(state);
    state.counters["height px"] = height;
}
BENCHMARK(BM_TableLayout)->Args({50, 20})->Args({200, 40})->Unit(benchmark::kMillisecond);

void BM_TablePaint(benchmark::State& state) {
    if (!RealFontsInUse()) return state.SkipWithError("WINPLAT_FONTS=test: the cells would paint boxes");
    const Bytes& stored = StoredTable(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    TableBench bench;
    if (stored.empty() || !bench.Load(stored))
        return state.SkipWithError("the document writer's table was not read");
    bench.table.Layout(bench.dc.get());
    bench.Surface();
    bench.table.Paint(bench.dc.get(), bench.area);  // the bitmap's pages touched once, untimed
    for (auto _ : state) bench.table.Paint(bench.dc.get(), bench.area);
    CellCounters(state);
    state.counters["area Mpx"] = static_cast<double>(bench.area.right) * bench.area.bottom / 1e6;
}
BENCHMARK(BM_TablePaint)->Args({50, 20})->Args({200, 40})->Unit(benchmark::kMillisecond);

// ---- the peer: one PangoLayout per cell

// The cells' plain texts (UTF-8) as the tables hold them.
std::vector<std::string> CellTexts(int rows, int columns) {
    std::mt19937 random(7);
    std::vector<std::string> texts;
    const auto utf8 = [](std::string escaped) {
        // The words' \uXXXX escapes (all below U+0800) as UTF-8.
        std::string out;
        for (size_t i = 0; i < escaped.size(); ++i) {
            if (escaped.compare(i, 2, "\\u") != 0) {
                out += escaped[i];
                continue;
            }
            const auto u = static_cast<unsigned>(std::stoul(escaped.substr(i + 2, 4), nullptr, 16));
            out += static_cast<char>(0xC0 | (u >> 6));
            out += static_cast<char>(0x80 | (u & 0x3F));
            i += 5;
        }
        return out;
    };
    for (int i = 0; i < rows * columns; ++i) {
        const int words = 1 + static_cast<int>(random() % 4);
        std::string text = kWords[random() % std::size(kWords)];
        for (int w = 1; w < words; ++w) text += std::string(" ") + kWords[random() % std::size(kWords)];
        texts.push_back(utf8(text));
    }
    return texts;
}

struct Cairo {
    Cairo(int width, int height)
        : surface(cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height)),
          cairo(cairo_create(surface)) {}
    ~Cairo() {
        cairo_destroy(cairo);
        cairo_surface_destroy(surface);
    }
    Cairo(const Cairo&) = delete;
    Cairo& operator=(const Cairo&) = delete;
    cairo_surface_t* surface;
    cairo_t* cairo;
};

struct PangoCells {
    PangoCells(cairo_t* cairo, int rows, int columns)
        : rows(rows), columns(columns), texts(CellTexts(rows, columns)) {
        PangoFontDescription* font = pango_font_description_from_string("Liberation Sans 10");
        for (size_t i = 0; i < texts.size(); ++i) {
            PangoLayout* layout = pango_cairo_create_layout(cairo);
            pango_cairo_context_set_resolution(pango_layout_get_context(layout), 96);
            pango_layout_set_font_description(layout, font);
            pango_layout_set_width(layout, (kCellWidth - 2 * kCellMargin) * PANGO_SCALE);
            pango_layout_set_wrap(layout, PANGO_WRAP_WORD);
            layouts.push_back(layout);
        }
        pango_font_description_free(font);
    }
    ~PangoCells() {
        for (PangoLayout* layout : layouts) g_object_unref(layout);
    }
    PangoCells(const PangoCells&) = delete;
    PangoCells& operator=(const PangoCells&) = delete;
    // Sets every cell's text and gives the rows' heights (their tallest cell and a line).
    std::vector<int> Layout() {
        std::vector<int> heights(static_cast<size_t>(rows), 0);
        for (size_t i = 0; i < layouts.size(); ++i) {
            pango_layout_set_text(layouts[i], texts[i].data(), static_cast<int>(texts[i].size()));
            int w = 0, h = 0;
            pango_layout_get_pixel_size(layouts[i], &w, &h);
            int& row = heights[i / static_cast<size_t>(columns)];
            row = std::max(row, h + 1);
        }
        return heights;
    }
    int rows;
    int columns;
    std::vector<std::string> texts;
    std::vector<PangoLayout*> layouts;
};

void BM_PangoTableLayout(benchmark::State& state) {
    Cairo canvas(16, 16);
    PangoCells cells(canvas.cairo, static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    for (auto _ : state) {
        std::vector<int> heights = cells.Layout();
        benchmark::DoNotOptimize(heights.data());
    }
    CellCounters(state);
}
BENCHMARK(BM_PangoTableLayout)->Args({50, 20})->Args({200, 40})->Unit(benchmark::kMillisecond);

void BM_PangoCairoTablePaint(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0)), columns = static_cast<int>(state.range(1));
    Cairo measure(16, 16);
    PangoCells cells(measure.cairo, rows, columns);
    const std::vector<int> heights = cells.Layout();
    int height = 1;
    for (const int h : heights) height += h;
    const int width = columns * kCellWidth + 1;
    Cairo canvas(width, height);
    std::memset(
        cairo_image_surface_get_data(canvas.surface), 0xFF,  // its pages touched once, untimed
        static_cast<size_t>(cairo_image_surface_get_stride(canvas.surface)) * static_cast<size_t>(height));
    cairo_surface_mark_dirty(canvas.surface);
    for (auto _ : state) {
        cairo_set_source_rgb(canvas.cairo, 1, 1, 1);
        cairo_paint(canvas.cairo);
        cairo_set_source_rgb(canvas.cairo, 0, 0, 0);
        int y = 0;
        for (int r = 0; r < rows; ++r) {
            for (int c = 0; c < columns; ++c) {
                const int x = c * kCellWidth;
                cairo_rectangle(canvas.cairo, x, y, kCellWidth, 1);  // top and left lines
                cairo_rectangle(canvas.cairo, x, y, 1, heights[static_cast<size_t>(r)]);
                cairo_fill(canvas.cairo);
                cairo_move_to(canvas.cairo, x + kCellMargin, y + 1);
                pango_cairo_show_layout(canvas.cairo, cells.layouts[static_cast<size_t>(r * columns + c)]);
            }
            y += heights[static_cast<size_t>(r)];
        }
        cairo_surface_flush(canvas.surface);
    }
    CellCounters(state);
    state.counters["area Mpx"] = static_cast<double>(width) * height / 1e6;
}
BENCHMARK(BM_PangoCairoTablePaint)->Args({50, 20})->Args({200, 40})->Unit(benchmark::kMillisecond);

}  // namespace
