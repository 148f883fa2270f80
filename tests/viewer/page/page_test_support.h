// Shared pieces of the page model's tests: a page on tables of its own with recording media and
// painter, objects made in one line, byte fields for fixtures, and object lists and saved blocks
// written by the independent document writer (tools/lcnwriter).
#ifndef LECT32_TESTS_PAGE_TEST_SUPPORT_H
#define LECT32_TESTS_PAGE_TEST_SUPPORT_H

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "page/page.h"
#include "store/file_name_table.h"
#include "store/mem_reader.h"
#include "store/mem_writer.h"
#include "store/string_pool.h"
#include "support/tool_runner.h"
#include "text/font_cache.h"
#include "text/font_faces.h"
#include "text/text_format.h"
#include "viewer/store/vazazi_test_support.h"

namespace page_test {

using Bytes = std::vector<uint8_t>;

// The parts one after another, as a fixture's record is laid out.
inline Bytes join(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

// What the media layer was asked, in order.
class RecordingMedia final : public lect32::ObjectMedia {
public:
    std::vector<std::string> calls;
    void CloseObjectWindow(HWND window) override {
        calls.push_back("close window " + std::to_string(reinterpret_cast<uintptr_t>(window)));
    }
    void DeleteImage(uint16_t id, bool vector) override {
        calls.push_back(std::string(vector ? "delete vector " : "delete image ") + std::to_string(id));
    }
    void DeleteTempFile(int16_t index) override { calls.push_back("delete file " + std::to_string(index)); }
};

class RecordingPainter final : public lect32::PagePainter {
public:
    std::vector<std::string> calls;
    std::vector<RECT> fills;
    void LayOutObject(uint16_t i) override { calls.push_back("layout " + std::to_string(i)); }
    void InvalidateObject(uint16_t i) override { calls.push_back("invalidate " + std::to_string(i)); }
    int SelectionCommand() override {
        calls.push_back("selection");
        return 1;
    }
    int ValueCommand(int value) override {
        calls.push_back("value " + std::to_string(value));
        return 1;
    }
    void PlaceAnchoredObjects() override { calls.push_back("anchors"); }
    void TakeCommandData(void*) override { calls.push_back("data"); }
    void FillBackground(const RECT& band) override { fills.push_back(band); }
};

// A page with its own picture table and cache, recording what it asks of media and painter.
struct TestPage {
    lect32::StringPool pictureFolders;
    lect32::StringPool cacheFolders;
    lect32::FileNameTable pictures{pictureFolders};
    lect32::ImageFileTable cache{cacheFolders};
    RecordingMedia media;
    RecordingPainter painter;
    lect32::Page page{services()};

    lect32::PageServices services() {
        lect32::PageServices s;
        s.pictures = &pictures;
        s.cache = &cache;
        s.media = &media;
        s.painter = &painter;
        return s;
    }
};

inline lect32::PageObject object(int16_t x, int32_t y, int16_t width, int16_t height,
                                 lect32::ObjectKind kind = lect32::ObjectKind::Picture) {
    lect32::PageObject o;
    o.x = x;
    o.y = y;
    o.width = width;
    o.height = height;
    o.kind = static_cast<uint8_t>(kind);
    return o;
}

// Little-endian fields, for fixtures written out byte by byte.
struct Fields {
    Bytes bytes;
    Fields& u8(unsigned v) {
        bytes.push_back(static_cast<uint8_t>(v));
        return *this;
    }
    Fields& u16(int v) { return u8(v & 0xFF).u8((v >> 8) & 0xFF); }
    Fields& u32(int64_t v) { return u16(static_cast<int>(v & 0xFFFF)).u16(static_cast<int>((v >> 16) & 0xFFFF)); }
    Fields& raw(const Bytes& more) {
        bytes.insert(bytes.end(), more.begin(), more.end());
        return *this;
    }
};

// A slot: number, u16 length, data.
inline Bytes slot(uint8_t number, const Bytes& data) {
    return Fields().u8(number).u16(static_cast<int>(data.size())).raw(data).bytes;
}

inline bool pythonRuns() {
    static const bool runs = tool_runner::run(std::string(PYTHON_EXECUTABLE) + " -c pass");
    return runs;
}

inline std::string writer() { return std::string(PYTHON_EXECUTABLE) + " -B " + LCNWRITER_DIR; }

// The writer's 'objects' command over several JSON descriptions in one run: for each, an object
// list (or, with "block", a saved block). An entry stays empty when the writer failed.
inline std::vector<Bytes> writtenObjects(const std::vector<std::string>& descriptions) {
    const auto folder = std::filesystem::temp_directory_path() /
                        ("lect32_page_objects_" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(folder);
    std::string command = writer() + " objects";
    for (size_t i = 0; i < descriptions.size(); ++i) {
        const auto description = folder / (std::to_string(i) + ".json");
        std::ofstream(description) << descriptions[i];
        command += " " + tool_runner::quoted(description) + " " + tool_runner::quoted(folder / (std::to_string(i) + ".bin"));
    }
    std::vector<Bytes> lists(descriptions.size());
    if (tool_runner::run(command)) {
        for (size_t i = 0; i < descriptions.size(); ++i) lists[i] = vazazi_test::fileBytes(folder / (std::to_string(i) + ".bin"));
    }
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    return lists;
}

inline Bytes writtenObjects(const std::string& description) { return writtenObjects(std::vector<std::string>{description})[0]; }

// Reads a saved block back out of a page.
inline Bytes savedBlock(lect32::Page& page) {
    lect32::MemWriter writer;
    writer.Begin();
    const uint32_t length = page.SaveObjects(writer);
    writer.End();
    Bytes out(length);
    if (length) writer.CopyTo(out.data());
    return out;
}

// Moves a page record's reader to its object list: two ignored bytes, the rows (record, tab
// stops, text each; no tables), one ignored byte.
inline void skipToObjects(lect32::MemReader& reader) {
    uint16_t word = 0, rows = 0;
    reader.ReadWord(word);
    reader.ReadWord(rows);
    for (uint16_t r = 0; r < rows && !reader.overrun(); ++r) {
        for (uint32_t size : {1u, 4u, 1u}) {
            word = 0;
            reader.ReadWord(word);
            reader.Skip(word * size);
        }
    }
    reader.Skip(1);
}

// Text is laid out with the test face at 96 dots per inch, unzoomed, with no font left over from
// an earlier test.
inline void UseTestText() {
    auto& fonts = lect32::GetDocumentFonts();
    fonts.main.Clear();
    fonts.main.Append("Arial CE", lect32::kCharsetEastEurope);
    lect32::SetTextResolution(96);
    lect32::SetTextZoom(0);
    lect32::GetTextFontCache().Clear();
}

}  // namespace page_test

#define REQUIRE_DOCUMENT_WRITER()                                                                          \
    do {                                                                                                   \
        if (!::page_test::pythonRuns()) GTEST_SKIP() << "python3 is missing: no document writer to test with"; \
    } while (0)

#endif
