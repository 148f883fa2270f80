// Damaged bitmaps: every prefix of valid files, every header byte set to awkward values, and
// scrambled run-length data. Each must end in a result code (and, when it loads, in a whole
// picture); the sanitizers of the test build catch any read or write outside a buffer.
#include <gtest/gtest.h>

#include <set>

#include "bmp_test_support.h"

namespace {

using namespace bmp_test;

struct Sample {
    const char* name;
    Bytes bytes;
};

Bytes eightBitV5() {
    InfoBitmap b;
    b.width = 5;
    b.height = 3;
    b.bits = 8;
    b.headerSize = 124;
    b.colorsUsed = 4;
    b.palette = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
    b.rows = {Bytes{0, 1, 2, 3, 0}, Bytes{3, 2, 1, 0, 3}, Bytes{1, 1, 1, 1, 1}};
    return b.build();
}

Bytes coreFourBit() {
    // clang-format off
    Bytes b = {
        'B', 'M', 0, 0, 0, 0,     // file size, set below
        0, 0, 0, 0,               // reserved
        74, 0, 0, 0,              // pixels after 14 + 12 + 16 * 3
        12, 0, 0, 0,              // core header
        3, 0, 2, 0, 1, 0, 4, 0,   // 3 x 2, 1 plane, 4 bits
    };
    // clang-format on
    for (int i = 0; i < 16; ++i) {
        b.insert(b.end(), {static_cast<uint8_t>(i), 0x80, static_cast<uint8_t>(255 - i)});  // blue, green, red
    }
    b.insert(b.end(), {0x12, 0x30, 0, 0, 0x45, 0x60, 0, 0});  // two rows of three 4-bit pixels
    set32(b, 2, static_cast<uint32_t>(b.size()));
    return b;
}

Bytes rle8(uint32_t imageSize) {
    InfoBitmap b;
    b.width = 6;
    b.height = 3;
    b.bits = 8;
    b.compression = 1;
    b.colorsUsed = 3;
    b.palette = {0x101010, 0x202020, 0x303030};
    b.pixels = Bytes{0x04, 0x01, 0x00, 0x00, 0x00, 0x03, 2,    1,    2,    0x00,
                     0x00, 0x02, 0x02, 0x01, 0x00, 0x00, 0x06, 0x02, 0x00, 0x01};
    b.imageSize = imageSize == 0 ? 0 : static_cast<uint32_t>(b.pixels->size());
    return b.build();
}

Bytes rle4() {
    InfoBitmap b;
    b.width = 7;
    b.height = 2;
    b.bits = 4;
    b.compression = 2;
    b.colorsUsed = 2;
    b.palette = {0x000000, 0xFFFFFF};
    b.pixels = Bytes{0x07, 0x10, 0x00, 0x00, 0x00, 0x05, 0x10, 0x10, 0x10, 0x00, 0x00, 0x01};
    b.imageSize = static_cast<uint32_t>(b.pixels->size());
    return b.build();
}

Bytes sixteenBitFields() {
    InfoBitmap b;
    b.width = 3;
    b.height = 2;
    b.bits = 16;
    b.compression = 3;
    b.masks = {0xF800, 0x07E0, 0x001F};
    b.rows = {Bytes{0xFF, 0xFF, 0, 0, 0x1F, 0}, Bytes{0, 0xF8, 0xE0, 0x07, 0x10, 0x84}};
    return b.build();
}

Bytes topDown24() {
    InfoBitmap b;
    b.width = 2;
    b.height = -3;
    b.bits = 24;
    b.rows = {Bytes{1, 2, 3, 4, 5, 6}, Bytes{7, 8, 9, 10, 11, 12}, Bytes{13, 14, 15, 16, 17, 18}};
    return b.build();
}

// Files that have a definite end: any shorter version of them lacks something they need.
std::vector<Sample> completeSamples() {
    return {{"8-bit V5", eightBitV5()},
            {"core 4-bit", coreFourBit()},
            {"RLE8 with its size", rle8(1)},
            {"RLE4 with its size", rle4()},
            {"16-bit bit fields", sixteenBitFields()},
            {"top-down 24-bit", topDown24()}};
}

void expectCleanOutcome(const Decoded& d, const std::string& what) {
    static const std::set<int> kFailures = {pixmill::kCodecBadFormat, pixmill::kCodecReadError};
    if (d.infoResult != pixmill::kCodecOk) {
        EXPECT_TRUE(kFailures.count(d.infoResult)) << what << ": info gave " << d.infoResult;
        return;
    }
    if (d.loadResult != pixmill::kCodecOk) {
        EXPECT_TRUE(kFailures.count(d.loadResult)) << what << ": load gave " << d.loadResult;
        return;
    }
    EXPECT_TRUE(d.sink->complete()) << what << ": loaded without every row";
}

TEST(BmpDamage, EveryPrefixOfAValidFileFails) {
    for (const Sample& s : completeSamples()) {
        for (Form form : {Form::File, Form::Ole, Form::Callbacks}) {
            // The whole file loads (in the forms that read it at all)...
            const Decoded whole = decode(s.bytes, form);
            const bool streamRefusesBitFields =
                form != Form::File && std::string(s.name) == "16-bit bit fields";
            if (!streamRefusesBitFields) {
                EXPECT_TRUE(whole.ok()) << s.name << " " << formName(form);
            }
            // ...and no shorter piece of it does.
            for (size_t length = 0; length < s.bytes.size(); ++length) {
                const Bytes prefix(s.bytes.begin(), s.bytes.begin() + static_cast<std::ptrdiff_t>(length));
                const std::string what =
                    std::string(s.name) + " " + formName(form) + " cut at " + std::to_string(length);
                const Decoded d = decode(prefix, form);
                expectCleanOutcome(d, what);
                EXPECT_FALSE(d.infoResult == 0 && d.loadResult == 0) << what << " loaded";
            }
        }
    }
}

TEST(BmpDamage, EveryHeaderByteSetToAwkwardValues) {
    std::vector<Sample> samples = completeSamples();
    samples.push_back({"RLE8 to the end of the file", rle8(0)});
    for (const Sample& s : samples) {
        // The file and info headers, the masks and the first palette entries.
        const size_t headerEnd = std::min<size_t>(s.bytes.size(), 14 + get32(s.bytes, 14) + 16);
        for (size_t at = 0; at < headerEnd; ++at) {
            const uint8_t original = s.bytes[at];
            for (uint8_t value : {uint8_t{0x00}, uint8_t{0xFF}, uint8_t{0x7F}, uint8_t{0x80},
                                  static_cast<uint8_t>(original + 1), static_cast<uint8_t>(original - 1)}) {
                if (value == original) continue;
                Bytes b = s.bytes;
                b[at] = value;
                // The file form for the fields before the palette (its sizes differ from the
                // streams'); the callback form everywhere.
                for (Form form : {Form::File, Form::Callbacks}) {
                    if (form == Form::File && at >= 54) continue;
                    expectCleanOutcome(decode(b, form), std::string(s.name) + " " + formName(form) +
                                                            " byte " + std::to_string(at) + " = " +
                                                            std::to_string(value));
                }
            }
        }
    }
}

// A small deterministic generator, so a failure can be replayed.
struct Lcg {
    uint32_t state;
    uint32_t next() {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    }
};

TEST(BmpDamage, ScrambledRunLengthDataGiveAWholePictureOrAReadError) {
    // The header stays intact and the data keep their length: whatever the commands say, the
    // picture loads with every row once, or the commands run out before it is complete and the
    // load is a read error.
    Lcg random{12345};
    for (const Bytes& original : {rle8(1), rle4()}) {
        const size_t dataStart = get32(original, 10);
        for (int round = 0; round < 400; ++round) {
            Bytes b = original;
            const int changes = 1 + static_cast<int>(random.next() % 6);
            for (int i = 0; i < changes; ++i) {
                const size_t at = dataStart + random.next() % (b.size() - dataStart);
                b[at] = static_cast<uint8_t>(random.next());
            }
            const Decoded d = decode(b, Form::Callbacks);
            EXPECT_TRUE(d.ok() || (d.infoResult == 0 && d.loadResult == pixmill::kCodecReadError))
                << "round " << round << ": " << d.infoResult << " " << d.loadResult;
        }
    }
}

TEST(BmpDamage, ScrambledFilesEndInAResultCode) {
    Lcg random{777};
    for (const Sample& s : completeSamples()) {
        for (int round = 0; round < 300; ++round) {
            Bytes b = s.bytes;
            const int changes = 1 + static_cast<int>(random.next() % 4);
            for (int i = 0; i < changes; ++i)
                b[random.next() % b.size()] = static_cast<uint8_t>(random.next());
            expectCleanOutcome(decode(b, Form::Callbacks),
                               std::string(s.name) + " round " + std::to_string(round));
        }
    }
}

TEST(BmpDamage, HugeSizesWithNoPixelsFailQuickly) {
    // 32767 x 32767 at 32 bits would be 4 GiB of pixels; the first row is already missing.
    InfoBitmap b;
    b.width = 32767;
    b.height = 32767;
    b.bits = 32;
    const Bytes file = b.build();
    for (Form form : {Form::File, Form::Callbacks}) {
        const Decoded d = decode(file, form);
        if (form == Form::File) {
            // A file's length is known: the picture is refused before an image is made for it.
            EXPECT_EQ(d.infoResult, pixmill::kCodecReadError);
            continue;
        }
        EXPECT_EQ(d.infoResult, pixmill::kCodecOk);
        EXPECT_EQ(d.loadResult, pixmill::kCodecReadError);
        EXPECT_TRUE(d.sink->order.empty());
    }
}

}  // namespace
