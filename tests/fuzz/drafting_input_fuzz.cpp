// What the drafting program reads besides its drawing records, under fuzzing. The first byte
// chooses what the rest is: the drawing's layer-scale setting block (taken as it is, and cut or
// padded to its size) with the layers' flags set from it for a few view scales; a record of the
// layer-name side file (.LKL); or a typed number (the byte after the kind sets the grammar's angle
// mode and sub-units).
//
// What must hold for any input: a block of another size is refused and one of its size taken;
// setting the flags changes no other bit of a layer word, and with the ranges' switch off flags no
// layer; a layer name is a part of its record without blanks or control characters at either end;
// a typed number is finite and within the input limit, its integer is the real's, and a plain real
// reads the same through the whole grammar.
//
// Seeds: setting blocks of ranges, side-file records as the program writes them, and the number
// forms of the grammar.
#include <algorithm>
#include <bit>
#include <cmath>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "drawing/layer_names.h"
#include "drawing/layer_table.h"
#include "drawing/number_input.h"
#include "drawing/system_variable_image.h"
#include "fuzz_entry.h"

namespace {

enum Kind : uint8_t { kScaleBlock, kLayerName, kNumber, kKinds };

using Body = std::span<const uint8_t>;

void check(bool holds) {
    if (!holds) __builtin_trap();
}

// Each layer word holds its own colour and width, so a change to any bit but the flag shows.
void checkFlags(const linework::LayerScaleRanges& ranges, double scale) {
    linework::SystemVariableImage image;
    linework::LayerTable layers(image);
    layers.Reset();
    for (int layer = 0; layer < linework::kLayerCount; ++layer) {
        const auto n = static_cast<uint8_t>(layer);
        layers.SetWord(n, layers.Word(n) | (layer % 2 ? linework::layer_flag::kOutOfScaleRange : 0));
    }
    std::vector<uint32_t> before(linework::kLayerCount);
    for (int layer = 0; layer < linework::kLayerCount; ++layer) before[layer] = layers.Word(static_cast<uint8_t>(layer));
    linework::UpdateLayerScaleFlags(layers, ranges, scale);
    for (int layer = 0; layer < linework::kLayerCount; ++layer) {
        const uint32_t word = layers.Word(static_cast<uint8_t>(layer));
        check((word & ~linework::layer_flag::kOutOfScaleRange) == (before[layer] & ~linework::layer_flag::kOutOfScaleRange));
        if (!ranges.enabled) check(!(word & linework::layer_flag::kOutOfScaleRange));
    }
}

void fuzzScaleBlock(Body body) {
    linework::LayerScaleRanges ranges;
    check(ranges.Load(body) == (body.size() == linework::LayerScaleRanges::kBlockSize));
    std::vector<uint8_t> sized(body.begin(), body.end());
    sized.resize(linework::LayerScaleRanges::kBlockSize);
    check(ranges.Load(sized));
    ranges.enabled = body.empty() || (body[0] & 1);
    const linework::LayerScaleRanges::Range& first = ranges.ranges[0];
    for (double scale : {0.0, 1.0, 1e-9, 1e30, double(first.lower), double(first.upper), -double(first.upper)}) {
        checkFlags(ranges, scale);
    }
}

bool blankOrControl(char c) { return static_cast<uint8_t>(c) <= 32; }

void fuzzLayerName(Body body) {
    std::vector<uint8_t> record(body.begin(), body.end());
    record.resize(linework::kLayerNameRecordSize);
    const std::string name =
        linework::LayerNameFromRecord(std::span<const uint8_t, linework::kLayerNameRecordSize>(record.data(), record.size()));
    if (record.back() != 0) check(name.empty());
    check(name.size() < linework::kLayerNameRecordSize);
    if (name.empty()) return;
    check(!blankOrControl(name.front()) && !blankOrControl(name.back()));
    const std::string_view stored(reinterpret_cast<const char*>(record.data()), record.size() - 1);
    check(stored.find(name) != std::string_view::npos);
    // The side file's name beside a drawing named by the record's text.
    const std::string sideFile = linework::LayerNamesFileName(name);
    check(sideFile.size() >= 4 && sideFile.compare(sideFile.size() - 4, 4, ".LKL") == 0);
}

void fuzzNumber(Body body) {
    if (body.empty()) return;
    linework::NumberInput input;
    input.grammar.angleMode = body[0] & 3;
    input.grammar.subUnits = static_cast<int8_t>(body[0]) >> 2;
    const std::string_view text(reinterpret_cast<const char*>(body.data() + 1), body.size() - 1);
    if (input.Evaluate(text)) {
        check(std::isfinite(input.real) && std::fabs(input.real) <= linework::kMaxInputMagnitude);
        check(input.integer == linework::SafeTrunc(input.real));
    }
    if (const auto plain = linework::ParsePlainReal(text)) {
        check(std::isfinite(*plain));
        const auto whole = linework::EvaluateNumberInput(text, input.grammar);
        if (std::fabs(*plain) <= linework::kMaxInputMagnitude) check(whole && *whole == *plain);
    }
    if (const auto integer = linework::ParsePlainInteger(text)) {
        const auto real = linework::ParsePlainReal(text);
        check(real && *real == *integer);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const Body body(data + 1, size - 1);
    switch (static_cast<Kind>(data[0] % kKinds)) {
    case kScaleBlock: fuzzScaleBlock(body); break;
    case kLayerName: fuzzLayerName(body); break;
    case kNumber: fuzzNumber(body); break;
    case kKinds: break;
    }
    return 0;
}

namespace {

FuzzBytes tagged(Kind kind, std::string_view text, std::initializer_list<uint8_t> before = {}) {
    FuzzBytes bytes{kind};
    bytes.insert(bytes.end(), before.begin(), before.end());
    bytes.insert(bytes.end(), text.begin(), text.end());
    return bytes;
}

// A setting block: every layer without limits but three, whose (upper, lower) pairs are given.
FuzzBytes scaleBlock(bool enabled) {
    FuzzBytes bytes{kScaleBlock};
    bytes.resize(1 + linework::LayerScaleRanges::kBlockSize);
    const auto put = [&](size_t at, float value) {
        const auto bits = std::bit_cast<uint32_t>(value);
        for (int i = 0; i < 4; ++i) bytes[1 + at + static_cast<size_t>(i)] = static_cast<uint8_t>(bits >> (8 * i));
    };
    put(0, 100.0f);
    put(4, 0.5f);
    put(8 * 7 + 4, 2.0f);
    put(8 * 255, 1e-3f);
    bytes[1] = static_cast<uint8_t>((bytes[1] & ~1) | (enabled ? 1 : 0));
    return bytes;
}

// A side-file record as the program writes it: the name, zeros, the zero 128th byte.
FuzzBytes nameRecord(std::string_view name, uint8_t last = 0) {
    FuzzBytes bytes = tagged(kLayerName, name);
    bytes.resize(1 + linework::kLayerNameRecordSize);
    bytes.back() = last;
    return bytes;
}

}  // namespace

std::vector<FuzzBytes> fuzzSeeds() {
    std::vector<FuzzBytes> seeds = {scaleBlock(true), scaleBlock(false), nameRecord("Walls"),
                                    nameRecord(" \t\x01Zdi  vnit\xF8n\xED \x1F "), nameRecord("Osy", 'x'),
                                    nameRecord(std::string(127, 'a'))};
    // Sub-units 12 in the high bits, the angle mode in the low ones.
    for (uint8_t grammar : {uint8_t{12 << 2}, uint8_t{1}, uint8_t{2}}) {
        for (const char* text : {"12", "-0.5", " 2e-5 ", "1AH", "FFFFFFFFFFFFFFFFH", "12.30.15", "-12.30.", "3:6",
                                 "-3:6", "4/0", "3 - -1", "1.5*2", "1AH+1", "+.5", "1e38", "1e20*1e20", "1e400"}) {
            seeds.push_back(tagged(kNumber, text, {grammar}));
        }
    }
    return seeds;
}
