// A text-frame record under fuzzing: read, and when taken written again, measured, scanned and
// turned into plain text.
//
// What must hold for any input: nothing reads outside the input (the sanitizers watch that); a
// refused record leaves one empty row; a taken one has 1 to 16,383 rows, measures exactly what it
// writes for every section combination, and what it writes reads back to the same bytes.
//
// Seeds: records the document writer writes (tools/fuzz_text_frame_seeds.py) and the few made here.
#include <cstdint>
#include <span>
#include <vector>

#include "fuzz_entry.h"
#include "fuzz_quiet.h"
#include "page/rich_text_object.h"
#include "store/mem_writer.h"

namespace {

void check(bool holds) {
    if (!holds) __builtin_trap();
}

void checkWritten(lect32::RichTextObject& frame) {
    for (const uint8_t sections : {0, 1, 2, 3, 255}) {
        const std::vector<uint8_t> written = frame.Serialize(sections);
        check(written.size() == frame.GetSerializedSize(sections));
        lect32::RichTextObject again;
        check(again.Deserialize(written));
        check(again.Serialize(sections) == written);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QuietInput quiet;
    const std::span<const uint8_t> record(data, size);
    lect32::RichTextObject frame;
    uint32_t kinds = 0;
    const bool scanned = lect32::RichTextObject::ScanObjectKinds(record, kinds);
    if (!frame.Deserialize(record)) {
        check(frame.RowCount() == 1 && frame.Row(0).text.empty());
        return 0;
    }
    check(scanned || size == 0);
    check(frame.RowCount() >= 1 && frame.RowCount() <= lect32::TextStore::kMaxItems);
    checkWritten(frame);
    (void)frame.PlainText();
    return 0;
}

namespace {

void word(FuzzBytes& out, int value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

// 'version' with one row per text, and with 'sections' (from version 2) a view state holding a
// selection and highlights on the first row.
FuzzBytes frameRecord(uint8_t version, uint8_t sections, const std::vector<const char*>& texts) {
    FuzzBytes out{version};
    word(out, static_cast<int>(texts.size()));
    for (const char* text : texts) {
        word(out, 9);
        for (const int b : {0, 0, 0, 0, 1, 1, 0, 7, 0}) out.push_back(static_cast<uint8_t>(b));
        word(out, 1);
        for (const int b : {2, 40, 0, 0}) out.push_back(static_cast<uint8_t>(b));
        const std::span<const char> bytes(text, std::char_traits<char>::length(text));
        word(out, static_cast<int>(bytes.size()));
        out.insert(out.end(), bytes.begin(), bytes.end());
        word(out, 1);
        word(out, static_cast<int>(bytes.size()));
        word(out, 16);
    }
    if (version >= 2) out.push_back(sections);
    if (version < 2 || (sections & 1)) {
        for (const int w : {40, 0, 80, 0, 0, 1}) word(out, w);
        out.push_back(1);
        for (const int w : {0, 0, 0, 2}) word(out, w);
        if (version >= 2)
            for (const int w : {0, 5, 0}) word(out, w);
    }
    if (version >= 2 && (sections & 2)) {
        out.push_back(1);
        for (size_t r = 0; r < texts.size(); ++r) {
            word(out, r == 0 ? 1 : 0);
            if (r == 0)
                for (const int w : {0, 2}) word(out, w);
        }
    }
    return out;
}

}  // namespace

std::vector<FuzzBytes> fuzzSeeds() {
    return {frameRecord(1, 0, {"old"}), frameRecord(2, 1, {"ab", "c\td"}), frameRecord(3, 3, {"x\xA0y", "z"}),
            frameRecord(3, 0, {""})};
}
