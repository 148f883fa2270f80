// Helpers of the tests of the file-only codecs (PCX, Targa, MacPaint, WPG): a picture read the
// way the front end reads it (info, back to the start, load), a file written by a codec's writer
// from given rows, and the independent programs the cross-checks compare with.
#ifndef PIXMILL_TESTS_FILE_CODEC_TEST_SUPPORT_H
#define PIXMILL_TESTS_FILE_CODEC_TEST_SUPPORT_H

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

namespace file_codec_test {

using bmp_test::Bytes;
using bmp_test::CollectingSink;
using bmp_test::Decoded;
using bmp_test::TempFolder;
using bmp_test::VectorSource;
using bmp_test::readFile;
using bmp_test::windowsPath;
using bmp_test::writeFile;
namespace fs = std::filesystem;

using CodecFn = int16_t (*)(pixmill::CodecCall&);

struct Codec {
    CodecFn info;
    CodecFn load;
    CodecFn save;
};

// Reads the bytes from a file; with a prefix the picture stands at an offset inside it.
// With infoOnly the loader is not run, so the record holds what the info reader left.
inline Decoded decodeWith(const Codec& codec, const Bytes& picture, const Bytes& prefix = {}, int stopAfter = -1,
                          bool infoOnly = false) {
    Decoded d;
    TempFolder folder;
    Bytes whole = prefix;
    whole.insert(whole.end(), picture.begin(), picture.end());
    writeFile(folder.file("picture.bin"), whole);
    pixmill::ByteStream stream;
    if (!stream.openFile(windowsPath(folder.file("picture.bin")).c_str(), "rb")) {
        ADD_FAILURE() << "cannot open the test file";
        return d;
    }
    const auto offset = static_cast<int64_t>(prefix.size());
    stream.seek(offset, SEEK_SET);
    pixmill::CodecCall call{d.info, stream};
    call.offset = offset;
    d.infoResult = codec.info(call);
    if (d.infoResult != 0 || infoOnly) return d;
    stream.seek(offset, SEEK_SET);
    d.sink.emplace(pixmill::prepareRowTransfer(d.info), stopAfter);
    call.sink = &*d.sink;
    d.loadResult = codec.load(call);
    return d;
}

// What a writer made.
struct Written {
    int16_t result = -1;
    Bytes bytes;
};

// Runs the writer on rows given top row first at the image's stride; `target` is the path the
// front end would name (the MacBinary name comes from it).
inline Written encodeWith(const Codec& codec, pixmill::PxlCodecInfo info, const std::vector<Bytes>& rows,
                          const std::string& target = "C:\\pics\\picture.img") {
    Written w;
    TempFolder folder;
    const fs::path path = folder.file("out.bin");
    {
        pixmill::ByteStream stream;
        if (!stream.openFile(windowsPath(path).c_str(), "wb")) {
            ADD_FAILURE() << "cannot create the test file";
            return w;
        }
        VectorSource source(rows);
        pixmill::CodecCall call{info, stream};
        call.source = &source;
        call.targetPath = target.c_str();
        w.result = codec.save(call);
    }
    w.bytes = readFile(path);
    return w;
}

// A palette-image record for writing: size, depth and a palette of 0x00RRGGBB values.
inline pixmill::PxlCodecInfo recordFor(int width, int height, int bits, const std::vector<uint32_t>& palette = {}) {
    pixmill::PxlCodecInfo info;
    info.width = static_cast<int16_t>(width);
    info.height = static_cast<int16_t>(height);
    info.bitsPerPixel = static_cast<int16_t>(bits);
    for (size_t i = 0; i < palette.size(); ++i) {
        info.setPaletteEntry(static_cast<int>(i), static_cast<uint8_t>(palette[i] >> 16),
                             static_cast<uint8_t>(palette[i] >> 8), static_cast<uint8_t>(palette[i]));
    }
    return info;
}

// ---- Independent programs ----

using tool_runner::have;
using tool_runner::imageMagick;
using tool_runner::quoted;
using tool_runner::run;
using tool_runner::runTo;

// A decoded picture as 0x00RRGGBB values, row by row from the top.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
    uint32_t at(int x, int y) const { return pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)]; }
};

// Reads a binary PBM, PGM or PPM (P4, P5, P6) with samples up to 255.
inline std::optional<Picture> readPnm(const fs::path& path) {
    const std::optional<pnm_test::Pnm> pnm = pnm_test::readPnm(path);
    if (!pnm || pnm->maxval > 255) return std::nullopt;
    return Picture{pnm->width, pnm->height, pnm_test::rgbPixels(*pnm)};
}

inline void writePpm(const fs::path& path, const Picture& p) {
    const std::string head = "P6\n" + std::to_string(p.width) + " " + std::to_string(p.height) + "\n255\n";
    Bytes b(head.begin(), head.end());
    for (uint32_t v : p.pixels) {
        b.insert(b.end(), {static_cast<uint8_t>(v >> 16), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v)});
    }
    writeFile(path, b);
}

// A test picture: flat areas (long runs), gradients, and an odd width.
inline Picture sourcePicture(int width = 37, int height = 23) {
    Picture p;
    p.width = width;
    p.height = height;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            uint32_t v;
            if (y < height / 4) {
                v = x < width / 2 ? 0xC81E1Eu : 0x1EC81Eu;
            } else {
                v = static_cast<uint32_t>((x * 7) & 255) << 16 | static_cast<uint32_t>((y * 11) & 255) << 8 |
                    static_cast<uint32_t>((x * y) & 255);
            }
            p.pixels.push_back(v);
        }
    }
    return p;
}

// Our decoding against a tool's, pixel by pixel; `mask` keeps the bits both sides hold.
inline void expectSamePixels(const Decoded& ours, const Picture& tool, uint32_t mask = 0xFFFFFF) {
    ASSERT_TRUE(ours.ok()) << "info " << ours.infoResult << " load " << ours.loadResult;
    ASSERT_EQ(ours.info.width, tool.width);
    ASSERT_EQ(ours.info.height, tool.height);
    int differences = 0;
    for (int y = 0; y < tool.height; ++y) {
        for (int x = 0; x < tool.width; ++x) {
            if ((ours.rgb(x, y) & mask) != (tool.at(x, y) & mask) && ++differences <= 5) {
                ADD_FAILURE() << "pixel " << x << "," << y << ": ours " << std::hex << ours.rgb(x, y) << ", tool "
                              << tool.at(x, y);
            }
        }
    }
    EXPECT_EQ(differences, 0);
}

// A field of a file to damage: where, how wide (1, 2 or 4 bytes, little-endian unless big).
struct Field {
    const char* name;
    size_t at;
    int width;
    bool bigEndian = false;
};

// Reads a damaged file: it must give success with every row delivered, or a failure value (2 or
// 3, or 4 when a count asks for too much memory), with no sanitizer report and no hang.
inline void expectHandled(const Codec& codec, const Bytes& file, const std::string& what) {
    const Decoded d = decodeWith(codec, file);
    const int16_t result = d.infoResult != 0 ? d.infoResult : d.loadResult;
    if (result == 0) {
        EXPECT_TRUE(d.sink && d.sink->complete()) << what << ": success without every row";
    } else {
        EXPECT_TRUE(result == 2 || result == 3 || result == 4) << what << ": gave " << result;
    }
}

// Every prefix of a valid file fails (the last bytes may be a harmless trailer: `mayPass` of the
// longest prefixes may succeed), and each field set to extreme values is handled.
inline void expectDamageHandled(const Codec& codec, const Bytes& file, const std::vector<Field>& fields,
                                size_t mayPass = 0) {
    ASSERT_TRUE(decodeWith(codec, file).ok()) << "the undamaged file must load";
    for (size_t length = 0; length < file.size(); ++length) {
        const Bytes prefix(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(length));
        const Decoded d = decodeWith(codec, prefix);
        const int16_t result = d.infoResult != 0 ? d.infoResult : d.loadResult;
        if (length + mayPass >= file.size() && result == 0) continue;
        EXPECT_TRUE(result == 2 || result == 3) << "prefix of " << length << " bytes gave " << result;
    }
    const uint32_t extremes[] = {0, 1, 2, 0x7F, 0x80, 0xFF, 0x7FFF, 0x8000, 0xFFFF, 0x7FFFFFFF, 0xFFFFFFFF};
    for (const Field& f : fields) {
        for (uint32_t v : extremes) {
            if (f.width < 4 && v > (1u << (8 * f.width)) - 1) continue;
            Bytes damaged = file;
            for (int i = 0; i < f.width; ++i) {
                const int shift = 8 * (f.bigEndian ? f.width - 1 - i : i);
                damaged.at(f.at + static_cast<size_t>(i)) = static_cast<uint8_t>(v >> shift);
            }
            expectHandled(codec, damaged, std::string(f.name) + " = " + std::to_string(v));
        }
    }
}

}  // namespace file_codec_test

#endif
