// The drawing file reader under fuzzing: the bytes are loaded as a drawing file into a drawing
// that already holds a block and an entity, once taking settings and once as a block import, and
// the result is dumped, which reads every record that was kept. What must hold for any input:
// nothing crashes, hangs or reads outside the file or a record (the sanitizers watch that), and
// the status is one a load may leave.
//
// Seeds: files of the drawing writer (tests/fuzz/repro/lkd_reader_fuzz: the sample, an older
// file, the damaged variants) and the small files below.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

#include "drawing/entity_dump.h"
#include "files/drawing_file_reader.h"
#include "fuzz_entry.h"

namespace {

FuzzBytes Header(std::string_view signature) {
    FuzzBytes bytes(signature.begin(), signature.end());
    // Three empty header blocks, no levels, five empty setting blocks, no blocks.
    bytes.resize(bytes.size() + 2 * 3 + 2 + 2 * 5 + 2, 0);
    return bytes;
}

void LoadOnce(std::span<const uint8_t> file, bool takeSettings, const std::string& block) {
    linework::Drawing drawing;
    linework::SystemVariableImage variables;
    linework::DrawingTables tables;
    linework::UndoRecorder undo;
    linework::ResetDrawingSettings(variables);
    variables.SetByte(8, takeSettings ? 1 : 0);
    linework::AddBlockDef(drawing, "A", {});
    linework::EntityRecord point(linework::EntityKind::Polyline, 36);
    linework::PushEntity(drawing, std::move(point));
    linework::DrawingFileContext context{.drawing = drawing, .variables = variables, .tables = tables, .undo = undo,
                                         .programFolder = "F:\\"};
    linework::LoadRequest request;
    request.blockName = block;
    int32_t status = linework::LoadDrawingBytes(context, request, file, "F:\\X.LKD");
    if (status != 0 && status != 99 && status != 100) std::abort();
    linework::DumpDrawing(drawing);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::span<const uint8_t> file(data, size);
    LoadOnce(file, true, {});
    LoadOnce(file, false, "A");
    return 0;
}

std::vector<FuzzBytes> fuzzSeeds() {
    FuzzBytes current = Header(linework::drawing_file::kCurrentSignature);
    FuzzBytes older = Header(linework::drawing_file::kOlderSignature);
    // A line after the empty header: length 44, kind 0x10, two vertices.
    FuzzBytes line = current;
    FuzzBytes record(44, 0);
    record[0] = 0x10;
    record[11] = 1;
    line.push_back(44);
    line.push_back(0);
    line.insert(line.end(), record.begin(), record.end());
    return {current, older, line};
}
