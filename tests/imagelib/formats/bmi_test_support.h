// BMI pictures assembled field by field for the tests: header, palette, directory and blocks, with
// frames whose chunks are given as they should stand in the file.
#ifndef PIXMILL_TESTS_BMI_TEST_SUPPORT_H
#define PIXMILL_TESTS_BMI_TEST_SUPPORT_H

#include <zlib.h>

#include <utility>

#include "codec_run_support.h"
#include "formats/bmi_codec.h"

namespace bmi_test {

using bmp_test::put16;
using bmp_test::put32;
using codec_test::Bytes;

inline uint32_t stride(int width, int bits) { return bmp_test::rowBytes(width, bits); }

// One chunk: u16 length, kind byte, data.
inline Bytes chunk(uint8_t kind, const Bytes& data) {
    Bytes c;
    put16(c, static_cast<uint32_t>(data.size()));
    c.push_back(kind);
    c.insert(c.end(), data.begin(), data.end());
    return c;
}

inline Bytes zlibChunk(const Bytes& rows) {
    Bytes packed(compressBound(rows.size()));
    uLongf length = packed.size();
    compress(packed.data(), &length, rows.data(), rows.size());
    packed.resize(length);
    return chunk(1, packed);
}

inline Bytes concat(const std::vector<Bytes>& rows) {
    Bytes all;
    for (const Bytes& r : rows) all.insert(all.end(), r.begin(), r.end());
    return all;
}

struct Frame {
    int width = 3;
    int height = 2;
    int bits = 8;
    uint16_t paletteFlag = 1;
    uint16_t compressionWord = 1;
    int64_t imageBytes = -1;  // -1: the right value
    uint32_t chunkSize = 4000;
    std::vector<uint32_t> palette;  // 0x00RRGGBB; written when paletteFlag is set
    std::vector<Bytes> chunks;      // whole chunks, header included

    Bytes build() const {
        Bytes b;
        put16(b, static_cast<uint32_t>(width));
        put16(b, static_cast<uint32_t>(height));
        put16(b, static_cast<uint32_t>(bits));
        put16(b, paletteFlag);
        put16(b, compressionWord);
        put32(b, imageBytes >= 0 ? static_cast<uint32_t>(imageBytes) : stride(width, bits) * static_cast<uint32_t>(height));
        put16(b, chunkSize);
        if (paletteFlag) {
            for (uint32_t c : palette) put32(b, c);  // blue, green, red, 0
        }
        for (const Bytes& c : chunks) b.insert(b.end(), c.begin(), c.end());
        return b;
    }
};

// A picture: header fields, palette, and blocks placed one after another behind the directory;
// the end entry comes last with the length of everything.
struct Picture {
    int width = 3;
    int height = 2;
    uint16_t paletteFlag = 1;
    int bits = 8;
    uint16_t one = 1;
    std::vector<uint32_t> palette;
    std::vector<std::pair<uint16_t, Bytes>> blocks;  // type, block
    bool withEnd = true;
    int64_t directoryCount = -1;  // -1: as many as there are entries

    Bytes build() const {
        Bytes b = {'T', 'a', 'r', 'v', 'o', 'B', 'M', 'I', 'a'};
        const size_t entries = blocks.size() + (withEnd ? 1 : 0);
        put16(b, static_cast<uint32_t>(width));
        put16(b, static_cast<uint32_t>(height));
        put16(b, paletteFlag);
        put16(b, static_cast<uint32_t>(bits));
        put16(b, one);
        put16(b, directoryCount >= 0 ? static_cast<uint32_t>(directoryCount) : static_cast<uint32_t>(entries));
        if (paletteFlag == 1) {
            for (uint32_t c : palette) put32(b, c);  // blue, green, red, 0
        }
        size_t offset = b.size() + 6 * entries;
        Bytes directory, data;
        for (const auto& [type, block] : blocks) {
            put16(directory, type);
            put32(directory, static_cast<uint32_t>(offset + data.size()));
            data.insert(data.end(), block.begin(), block.end());
        }
        if (withEnd) {
            put16(directory, 255);
            put32(directory, static_cast<uint32_t>(offset + data.size()));
        }
        b.insert(b.end(), directory.begin(), directory.end());
        b.insert(b.end(), data.begin(), data.end());
        return b;
    }
};

inline Bytes transparencyBlock(int32_t count, const std::vector<std::array<int32_t, 7>>& entries) {
    Bytes b;
    put32(b, static_cast<uint32_t>(count));
    for (const auto& e : entries) {
        for (int32_t v : e) put32(b, static_cast<uint32_t>(v));
    }
    return b;
}

inline Bytes rotationBlock(int32_t angle) {
    Bytes b;
    put32(b, static_cast<uint32_t>(angle));
    return b;
}

// A small valid 8-bit picture: 3 x 2, one compressed chunk, four palette entries in the header.
inline Picture smallPicture() {
    Frame f;
    f.paletteFlag = 0;
    f.chunks = {zlibChunk(Bytes{1, 2, 3, 0, 3, 2, 1, 0})};
    Picture p;
    p.palette.resize(256, 0);
    p.palette[1] = 0xFF0000;
    p.palette[2] = 0x00FF00;
    p.palette[3] = 0x0000FF;
    p.blocks = {{3, Bytes{0, 0, 4, 0, 0, 0, 0xA0, 0x0F, 'h', 'i', '!', 0}},
                {5, transparencyBlock(1, {{{1, 2, 3, 4, 1, 5, 6}}})},
                {7, rotationBlock(90)},
                {1, f.build()}};
    return p;
}

inline codec_test::CodecRun readBmi(const Bytes& bytes, bmp_test::Form form, codec_test::RunOptions options = {}) {
    options.withEntries = true;
    return codec_test::runCodec(pixmill::bmiInfo, pixmill::bmiLoad, bytes, form, options);
}

}  // namespace bmi_test

#endif
