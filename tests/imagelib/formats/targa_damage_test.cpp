// Damaged Targa files: every prefix and every header field at extreme values.
#include <gtest/gtest.h>

#include "file_codec_test_support.h"
#include "formats/targa_codec.h"

namespace {

using namespace file_codec_test;

const Codec kTarga{pixmill::targaInfo, pixmill::targaLoad, pixmill::targaSave};

TEST(TargaDamage, PrefixesAndExtremeHeaderFieldsGiveFailureValues) {
    const std::vector<Field> fields = {
        {"ID length", 0, 1},     {"map type", 1, 1}, {"image type", 2, 1}, {"map first", 3, 2},
        {"map length", 5, 2},    {"map entry bits", 7, 1}, {"width", 12, 2}, {"height", 14, 2},
        {"depth", 16, 1},        {"descriptor", 17, 1},
    };
    // A colour-mapped file of our writer, and run-length files with packets of both kinds.
    std::vector<uint32_t> palette(256, 0x123456);
    const Bytes mapped =
        encodeWith(kTarga, recordFor(5, 3, 8, palette), std::vector<Bytes>(3, Bytes{1, 2, 3, 4, 5, 0, 0, 0})).bytes;
    Bytes rle24 = {0, 0, 10, 0, 0, 0, 0, 0, 0, 0, 0, 0, 3, 0, 2, 0, 24, 0x20};
    rle24.insert(rle24.end(), {0x82, 1, 2, 3, 0x02, 4, 5, 6, 7, 8, 9, 10, 11, 12});
    Bytes rle8 = {0, 0, 11, 0, 0, 0, 0, 0, 0, 0, 0, 0, 5, 0, 3, 0, 8, 0x00};
    rle8.insert(rle8.end(), {0x87, 9, 0x06, 1, 2, 3, 4, 5, 6, 7});
    for (const Bytes& file : {mapped, rle24, rle8}) expectDamageHandled(kTarga, file, fields);
}

}  // namespace
