// The text engine's stored data under fuzzing. The first byte chooses what the rest is: a colour
// table (record 6), a font table (record 7) of version 1, 2 or 3, a style sheet (record 5) of
// version 1 or 2, a packed paragraph format (also converted from the old form), or a row of
// text with control codes that is searched, walked back and resolved at every offset. Seeds are
// the bodies the engine's own writers make and rows with every kind of code.
#include <string>
#include <vector>

#include "fuzz_entry.h"
#include "fuzz_quiet.h"
#include "store/mem_reader.h"
#include "store/mem_writer.h"
#include "text/colour_table.h"
#include "text/control_codes.h"
#include "text/font_faces.h"
#include "text/format_cursor.h"
#include "text/style_sheet.h"
#include "text/text_format.h"
#include "text/text_store.h"

namespace {

enum Kind : uint8_t { kColours, kFonts1, kFonts2, kFonts3, kStyles1, kStyles2, kPacked, kRow, kKinds };

void check(bool holds) {
    if (!holds) __builtin_trap();
}

// Faces answer by their length, so old font tables probe without a system.
class LengthProbe final : public lect32::FaceProbe {
public:
    uint8_t ProbeCharset(std::string_view face) override { return face.size() % 2 ? 238 : 0; }
    bool ExistsInCharset(std::string_view face, uint8_t) override { return face.size() % 3 == 0; }
    uint8_t SystemCharset() override { return 238; }
};

void fuzzRecord(Kind kind, const uint8_t* data, size_t size) {
    lect32::MemReader reader;
    if (!reader.LoadFromMemory(data, static_cast<uint32_t>(size))) return;
    if (kind == kColours) {
        lect32::ColourTable table;
        if (table.Read(reader)) check(table.GetCount() <= lect32::ColourTable::kEntries);
        table.Nearest({1, 2, 3});
    } else if (kind <= kFonts3) {
        LengthProbe probe;
        lect32::DocumentFonts fonts;
        if (fonts.Read(reader, static_cast<uint8_t>(kind - kFonts1 + 1), probe)) {
            check(fonts.main.GetCount() <= lect32::FontFaceList::kMaxFaces);
            for (uint16_t i = 0; i < fonts.main.GetCount(); ++i) check(fonts.main.GetFace(uint8_t(i)).name.size() < 31);
        }
    } else {
        lect32::StyleSheet sheet;
        if (sheet.Read(reader, kind == kStyles1 ? 1 : 2)) {
            lect32::TextFormat format;
            for (uint16_t n = 0; n < 256; ++n) {
                sheet.GetStyleFormat(n, format);
                check(sheet.GetStyleName(n).size() < lect32::StyleSheet::kNameBytes);
            }
        }
    }
}

void fuzzPacked(const uint8_t* data, size_t size) {
    lect32::TextFormat format;
    winplat::ByteReader in(data, size);
    format.ReadPacked(in, 300);
    check(in.position() <= size);
    std::vector<uint8_t> out(lect32::kMaxPackedSize, 0);
    check(format.WritePacked(out) <= out.size());
    std::vector<uint8_t> old(data, data + size);
    check(lect32::ConvertOldPackedFormat(old) <= old.size());
}

void fuzzRow(const uint8_t* data, size_t size) {
    if (size > 0xFFFF) return;
    const std::string row(reinterpret_cast<const char*>(data), size);
    lect32::TextStore text, records;
    text.AddItem();
    records.AddItem();
    if (!text.SetItemString(0, row) || !records.SetItemString(0, std::string(7, '\0'))) return;
    lect32::TextMatch match;
    if (text.FindText(row.substr(0, 3), false, true, 0, 0, match)) check(match.start < match.end && match.end <= size);
    lect32::FormatCursor cursor;
    cursor.Bind(&text, &records);
    const std::span<const uint8_t> bytes(data, size);
    for (size_t at = 0; at < size; ++at) {
        const size_t start = lect32::SequenceStart(bytes, at);
        if (start != lect32::kNoSequence) check(start < at);
        const size_t length = lect32::SequenceLength(bytes, at);
        check(at + length <= size);
        if (at % 7 == 0) cursor.ResolveAt(0, static_cast<uint16_t>(at));
    }
    std::vector<uint8_t> codes(32);
    cursor.EmitCodes(codes);
}

// The bodies of the built-in sheet, written by the engine's own writers.
struct BuiltIn {
    lect32::ColourTable colours;
    lect32::DocumentFonts fonts;
    lect32::StyleSheet sheet;
    BuiltIn() { lect32::BuildDefaultStyleSheet(colours, fonts, sheet); }
};

template <class Write>
FuzzBytes written(Kind kind, Write write) {
    lect32::MemWriter writer;
    writer.Begin();
    write(writer);
    FuzzBytes bytes{kind};
    bytes.resize(1 + writer.GetLength());
    writer.CopyTo(bytes.data() + 1);
    return bytes;
}

FuzzBytes tagged(Kind kind, std::initializer_list<int> values) {
    FuzzBytes bytes{kind};
    for (int v : values) bytes.push_back(static_cast<uint8_t>(v));
    return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QuietInput quiet;  // the engine's messages about damaged records
    if (size == 0) return 0;
    const auto kind = static_cast<Kind>(data[0] % kKinds);
    if (kind == kPacked) {
        fuzzPacked(data + 1, size - 1);
    } else if (kind == kRow) {
        fuzzRow(data + 1, size - 1);
    } else {
        fuzzRecord(kind, data + 1, size - 1);
    }
    return 0;
}

std::vector<FuzzBytes> fuzzSeeds() {
    const BuiltIn builtIn;
    std::vector<FuzzBytes> seeds;
    seeds.push_back(written(kColours, [&](lect32::MemWriter& w) { builtIn.colours.Write(w); }));
    for (const Kind kind : {kFonts1, kFonts2, kFonts3}) {
        seeds.push_back(written(kind, [&](lect32::MemWriter& w) {
            builtIn.fonts.main.Write(w);
            builtIn.fonts.markers.Write(w);
        }));
    }
    for (const Kind kind : {kStyles1, kStyles2}) {
        seeds.push_back(written(kind, [&](lect32::MemWriter& w) { builtIn.sheet.Write(w); }));
    }
    seeds.push_back(tagged(kPacked, {0xFF, 0x87, 7, 0, 1, 12, 0, 3, 0, 5, 255, 3, 1, 1, 1, 0, 2, 0, 3, 0, 4, 0, 2,
                                     16, 0, 4, 0, 8, 0, 15, 1, 0, 5, 0, 5, 5, 1, 2, 0x95, 0, 12, 0, 0, 6}));
    seeds.push_back(tagged(kRow, {'a', 'b', 1, 0, 14, 0, 3, 0, 1, 'c', 2, 7, 255, 2, 'd', 3, 4, 1, 1, 3, 20, 5, 0,
                                  0x34, 0x12, 5, 20, 'e', '\t', 'f', 20, 2, 7, 2, 20, 'g', 21, 21, 'h'}));
    return seeds;
}
