// Loading drawing files of 10,000 and 100,000 entities (lines and short texts, as a plan holds)
// next to the plain peer of copying the same bytes into a vector, and 100,000 adds through the
// line adder next to pushing ready-made records.
#include <benchmark/benchmark.h>

#include <cstring>
#include <string_view>
#include <vector>

#include "drawing/entity_adders.h"
#include "drawing/layer_table.h"
#include "files/drawing_file_reader.h"

namespace {

void PutLength(std::vector<uint8_t>& out, int16_t length) {
    out.push_back(static_cast<uint8_t>(length));
    out.push_back(static_cast<uint8_t>(static_cast<uint16_t>(length) >> 8));
}

// A drawing file of 'count' entities: lines, every fourth a text.
std::vector<uint8_t> DrawingBytes(int count) {
    std::string_view signature = linework::drawing_file::kCurrentSignature;
    std::vector<uint8_t> out(signature.begin(), signature.end());
    for (int i = 0; i < 3 + 1 + 5 + 1; ++i) PutLength(out, 0);  // headers, levels, settings, blocks
    for (int i = 0; i < count; ++i) {
        std::vector<uint8_t> record;
        if (i % 4 == 3) {
            record.assign(57 + 4 - 8, 0);
            record[0] = 0x30;
            record[56 - 8] = 4;
            std::memcpy(record.data() + 57 - 8, "A-12", 4);
        } else {
            record.assign(52 - 8, 0);
            record[0] = 0x10;
            record[19 - 8] = 1;
            double xy[4] = {double(i), 0, double(i) + 1, 1};
            std::memcpy(record.data() + 20 - 8, xy, sizeof xy);
        }
        PutLength(out, static_cast<int16_t>(record.size()));
        out.insert(out.end(), record.begin(), record.end());
    }
    return out;
}

void BM_LoadDrawing(benchmark::State& state) {
    std::vector<uint8_t> bytes = DrawingBytes(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        linework::Drawing drawing;
        linework::SystemVariableImage variables;
        linework::DrawingTables tables;
        linework::UndoRecorder undo;
        linework::DrawingFileContext context{.drawing = drawing, .variables = variables, .tables = tables,
                                             .undo = undo, .programFolder = "C:\\"};
        linework::LoadRequest request;
        int32_t status = linework::LoadDrawingBytes(context, request, bytes, "C:\\B.LKD");
        if (status != 0) state.SkipWithError("the load failed");
        benchmark::DoNotOptimize(drawing.head);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes.size()));
}
BENCHMARK(BM_LoadDrawing)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// The peer: the same bytes copied into a vector, what reading the file whole costs at least.
void BM_CopyBytesPeer(benchmark::State& state) {
    std::vector<uint8_t> bytes = DrawingBytes(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        std::vector<uint8_t> copy(bytes.begin(), bytes.end());
        benchmark::DoNotOptimize(copy.data());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes.size()));
}
BENCHMARK(BM_CopyBytesPeer)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_AddLines(benchmark::State& state) {
    for (auto _ : state) {
        linework::Drawing drawing;
        linework::SystemVariableImage variables;
        linework::ResetDrawingSettings(variables);
        linework::UndoRecorder undo;
        linework::AdderContext context{.drawing = drawing, .variables = variables, .undo = undo, .programFolder = "C:\\",
                                       .textLine = {}, .drawMode = 0};
        for (int64_t i = 0; i < state.range(0); ++i) {
            linework::Point line[2] = {{double(i), 0}, {double(i) + 1, 1}};
            linework::AddPolyline(context, line, false, true);
        }
        benchmark::DoNotOptimize(drawing.head);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_AddLines)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// The peer of the adds: ready-made records pushed at the head, with no properties or undo.
void BM_PushRecordsPeer(benchmark::State& state) {
    for (auto _ : state) {
        linework::Drawing drawing;
        for (int64_t i = 0; i < state.range(0); ++i) {
            linework::EntityRecord record(linework::EntityKind::Polyline, 52);
            linework::PushEntity(drawing, std::move(record));
        }
        benchmark::DoNotOptimize(drawing.head);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_PushRecordsPeer)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
