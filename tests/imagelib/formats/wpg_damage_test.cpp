// Damaged WPG files: every prefix and every record field at extreme values.
#include <gtest/gtest.h>

#include "file_codec_test_support.h"
#include "formats/wpg_codec.h"

namespace {

using namespace file_codec_test;

const Codec kWpg{pixmill::wpgInfo, pixmill::wpgLoad, pixmill::wpgSave};

TEST(WpgDamage, PrefixesAndExtremeRecordFieldsGiveFailureValues) {
    for (int bits : {1, 4, 8}) {
        SCOPED_TRACE(bits);
        const int width = bits == 8 ? 12 : 20;
        std::vector<Bytes> rows;
        for (int y = 0; y < 4; ++y) {
            Bytes row{static_cast<uint8_t>(y), 7, 7, 7, 7, 7, 0xFF, 1, 2, 3, 4, 5};
            row.resize(bmp_test::rowBytes(width, bits));
            rows.push_back(row);
        }
        const Bytes file = encodeWith(kWpg, recordFor(width, 4, bits), rows).bytes;
        const size_t map = 24;
        const size_t bitmap = map + (bits == 8 ? 776 : 54);
        const std::vector<Field> fields = {
            {"first record offset", 4, 4},  {"start record length", 17, 1}, {"map length", map + 1, 1},
            {"map first", bits == 8 ? map + 4 : map + 2, 2}, {"map count", bits == 8 ? map + 6 : map + 4, 2},
            {"bitmap length high", bitmap + 2, 2}, {"bitmap length low", bitmap + 4, 2}, {"width", bitmap + 6, 2},
            {"height", bitmap + 8, 2},       {"depth", bitmap + 10, 2},     {"first row control", bitmap + 16, 1},
            {"second row control", bitmap + 18, 1},
        };
        expectDamageHandled(kWpg, file, fields);
    }
}

}  // namespace
