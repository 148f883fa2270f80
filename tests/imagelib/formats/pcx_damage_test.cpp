// Damaged PCX files: every prefix and every header field at extreme values.
#include <gtest/gtest.h>

#include "file_codec_test_support.h"
#include "formats/pcx_codec.h"

namespace {

using namespace file_codec_test;

const Codec kPcx{pixmill::pcxInfo, pixmill::pcxLoad, pixmill::pcxSave};

Bytes written(int bits) {
    std::vector<uint32_t> palette;
    for (int i = 0; bits <= 8 && i < (1 << bits); ++i) palette.push_back(static_cast<uint32_t>(i * 0x030507));
    std::vector<Bytes> rows;
    for (int y = 0; y < 5; ++y) {
        Bytes row(bmp_test::rowBytes(9, bits), 0);
        for (size_t i = 0; i < row.size(); ++i) row[i] = static_cast<uint8_t>(i * 31 + static_cast<size_t>(y) * 0x50);
        rows.push_back(row);
    }
    return encodeWith(kPcx, recordFor(9, 5, bits, palette), rows).bytes;
}

TEST(PcxDamage, PrefixesAndExtremeHeaderFieldsGiveFailureValues) {
    const std::vector<Field> fields = {
        {"version", 1, 1},      {"bits per plane", 3, 1}, {"xmin", 4, 2},  {"ymin", 6, 2},
        {"xmax", 8, 2},         {"ymax", 10, 2},          {"planes", 65, 1}, {"bytes per line", 66, 2},
    };
    for (int bits : {1, 4, 8, 24}) {
        SCOPED_TRACE(bits);
        // An 8-bit file's palette trails its data: without it the picture still loads.
        expectDamageHandled(kPcx, written(bits), fields, bits == 8 ? 769 : 0);
    }
}

}  // namespace
