// Helpers of the JPEG, PNG and TIFF codec tests: running a codec on bytes as the front end does,
// writing rows through a codec, the command-line tools the cross-checks compare with, and a PNM
// reader for what those tools decode.
//
// Tools run on files in a temporary folder whose names the tests make; nothing from outside
// reaches a command line.
#ifndef PIXMILL_TESTS_LIBRARY_CODEC_TEST_SUPPORT_H
#define PIXMILL_TESTS_LIBRARY_CODEC_TEST_SUPPORT_H

#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "bmp_test_support.h"
#include "pnm_reader.h"
#include "formats/codec.h"
#include "support/tool_runner.h"
#include "winplat/testing.h"

namespace codec_test {

using bmp_test::Bytes;
using bmp_test::CollectingSink;
using bmp_test::Decoded;
using bmp_test::TempFolder;
using bmp_test::VectorSource;
namespace fs = std::filesystem;

using CodecFn = int16_t (*)(pixmill::CodecCall&);

// Runs info, then load from the picture's start, on the bytes stored in a file after 'prefix'
// (the picture then lies at an offset inside a larger file). stopAfter makes the sink stop; lend
// makes it lend the codec its rows.
inline Decoded decodeWith(CodecFn info, CodecFn load, const Bytes& picture, const Bytes& prefix = {},
                          int stopAfter = -1, bool lend = false) {
    Decoded d;
    TempFolder folder;
    Bytes whole = prefix;
    whole.insert(whole.end(), picture.begin(), picture.end());
    bmp_test::writeFile(folder.file("picture.bin"), whole);
    pixmill::ByteStream stream;
    if (!stream.openFile(bmp_test::windowsPath(folder.file("picture.bin")).c_str(), "rb")) {
        ADD_FAILURE() << "cannot open the test file";
        return d;
    }
    const auto offset = static_cast<int64_t>(prefix.size());
    stream.seek(offset, SEEK_SET);
    pixmill::CodecCall call{d.info, stream};
    call.offset = offset;
    d.infoResult = info(call);
    if (d.infoResult != 0) return d;
    stream.seek(offset, SEEK_SET);
    d.sink.emplace(pixmill::prepareRowTransfer(d.info), stopAfter, lend);
    call.sink = &*d.sink;
    d.loadResult = load(call);
    return d;
}

// A picture given as rows at the image's stride, top row first, with its record.
struct Source {
    pixmill::PxlCodecInfo info;
    std::vector<Bytes> rows;
};

// Writes the picture through a codec into a file; the result code and the bytes written.
struct Saved {
    int16_t result = -1;
    Bytes bytes;
};
inline Saved saveWith(CodecFn save, Source source) {
    Saved s;
    TempFolder folder;
    const fs::path path = folder.file("saved.bin");
    {
        pixmill::ByteStream stream;
        if (!stream.openFile(bmp_test::windowsPath(path).c_str(), "wb")) {
            ADD_FAILURE() << "cannot create the test file";
            return s;
        }
        VectorSource rows(source.rows);
        pixmill::CodecCall call{source.info, stream};
        call.source = &rows;
        s.result = save(call);
        if (!stream.close() && s.result == 0) s.result = pixmill::kCodecWriteError;
    }
    s.bytes = bmp_test::readFile(path);
    return s;
}

inline uint32_t strideFor(int width, int bits) { return bmp_test::rowBytes(width, bits); }

// A 24-bit source (blue, green, red rows) from a colour function of (x, y) giving 0xRRGGBB.
template <class Colour>
Source trueColourSource(int width, int height, Colour colour) {
    Source s;
    s.info.width = static_cast<int16_t>(width);
    s.info.height = static_cast<int16_t>(height);
    s.info.bitsPerPixel = 24;
    for (int y = 0; y < height; ++y) {
        Bytes row(strideFor(width, 24), 0);
        for (int x = 0; x < width; ++x) {
            const uint32_t c = colour(x, y);
            row[3 * x] = static_cast<uint8_t>(c);
            row[3 * x + 1] = static_cast<uint8_t>(c >> 8);
            row[3 * x + 2] = static_cast<uint8_t>(c >> 16);
        }
        s.rows.push_back(row);
    }
    return s;
}

// A picture with smooth areas, edges and an odd size: what lossy and predictive coders see.
inline uint32_t testColour(int x, int y) {
    const uint32_t r = static_cast<uint32_t>((x * 255) / 40);
    const uint32_t g = static_cast<uint32_t>((y * 255) / 30);
    const uint32_t b = (x / 8 + y / 8) % 2 ? 200u : 40u;
    return r << 16 | g << 8 | b;
}

// ---- command-line tools ----

using tool_runner::have;
using tool_runner::imageMagick;
using tool_runner::output;
using tool_runner::quoted;
using tool_runner::run;

using pnm_test::Pnm;
using pnm_test::readPnm;


// Writes a binary PPM of the colour function (8-bit samples).
template <class Colour>
void writePpm(const fs::path& path, int width, int height, Colour colour) {
    const std::string head = "P6\n" + std::to_string(width) + " " + std::to_string(height) + "\n255\n";
    Bytes b(head.begin(), head.end());
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const uint32_t v = colour(x, y);
            b.insert(b.end(), {static_cast<uint8_t>(v >> 16), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v)});
        }
    }
    bmp_test::writeFile(path, b);
}

// Counts pixels of ours that differ from the tool's by more than 'tolerance' in a channel,
// reporting the first few.
inline int differingPixels(const Decoded& ours, int width, int height, uint32_t (*toolAt)(const void*, int, int),
                           const void* tool, int tolerance = 0) {
    int differences = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const uint32_t a = ours.rgb(x, y);
            const uint32_t b = toolAt(tool, x, y);
            bool same = true;
            for (int shift : {0, 8, 16}) {
                const int d = static_cast<int>((a >> shift) & 255) - static_cast<int>((b >> shift) & 255);
                same = same && std::abs(d) <= tolerance;
            }
            if (!same && ++differences <= 5) {
                ADD_FAILURE() << "pixel " << x << "," << y << ": ours " << std::hex << a << ", tool " << b;
            }
        }
    }
    return differences;
}

// Ours against a decoded PNM, pixel for pixel within the tolerance.
inline void expectSamePixels(const Decoded& ours, const Pnm& tool, int tolerance = 0) {
    ASSERT_TRUE(ours.ok()) << "info " << ours.infoResult << " load " << ours.loadResult;
    ASSERT_EQ(ours.info.width, tool.width);
    ASSERT_EQ(ours.info.height, tool.height);
    EXPECT_EQ(differingPixels(
                  ours, tool.width, tool.height,
                  [](const void* t, int x, int y) { return static_cast<const Pnm*>(t)->rgb(x, y); }, &tool, tolerance),
              0);
}

}  // namespace codec_test

#endif

namespace codec_test {

// What a damaged file may give: a failure code from info or load, or a load that delivered every
// row (a library that pads a cut-off picture). Anything else, or a sanitizer report, is a fault.
inline void expectCleanOutcome(const Decoded& d, const std::string& what) {
    auto failure = [](int16_t r) {
        return r == pixmill::kCodecCannotOpen || r == pixmill::kCodecBadFormat || r == pixmill::kCodecReadError ||
               r == pixmill::kCodecNoMemory;
    };
    if (d.infoResult != pixmill::kCodecOk) {
        EXPECT_TRUE(failure(d.infoResult)) << what << ": info gave " << d.infoResult;
        return;
    }
    if (d.loadResult != pixmill::kCodecOk) {
        EXPECT_TRUE(failure(d.loadResult)) << what << ": load gave " << d.loadResult;
        return;
    }
    EXPECT_TRUE(d.sink->complete()) << what << ": loaded without every row";
}

// Every prefix of the file shorter than it, and every byte of its first 'headerBytes' set to each
// of a few awkward values, through the codec; 'fix' may repair what a mutation broke besides the
// byte (a checksum) so the checks behind it are reached.
template <class Fix>
void damageRun(CodecFn info, CodecFn load, const Bytes& file, size_t headerBytes, Fix fix) {
    for (size_t length = 0; length < file.size(); ++length) {
        const Bytes prefix(file.begin(), file.begin() + static_cast<long>(length));
        expectCleanOutcome(decodeWith(info, load, prefix), "prefix of " + std::to_string(length) + " bytes");
    }
    for (size_t at = 0; at < std::min(headerBytes, file.size()); ++at) {
        for (uint8_t value : {uint8_t{0x00}, uint8_t{0x01}, uint8_t{0x7F}, uint8_t{0x80}, uint8_t{0xFF}}) {
            if (file[at] == value) continue;
            Bytes damaged = file;
            damaged[at] = value;
            fix(damaged, at);
            expectCleanOutcome(decodeWith(info, load, damaged),
                               "byte " + std::to_string(at) + " set to " + std::to_string(value));
        }
    }
}

}  // namespace codec_test
