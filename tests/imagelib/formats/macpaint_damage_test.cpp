// Damaged MacPaint files: every prefix, and packed rows of any bytes at all.
#include <gtest/gtest.h>

#include "file_codec_test_support.h"
#include "formats/macpaint_codec.h"

namespace {

using namespace file_codec_test;

const Codec kMacPaint{pixmill::macPaintInfo, pixmill::macPaintLoad, pixmill::macPaintSave};

TEST(MacPaintDamage, PrefixesAndExtremeFieldsGiveFailureValues) {
    std::vector<Bytes> rows(30, Bytes{0x5A, 0xFF, 0x00, 0x81});
    const Bytes file = encodeWith(kMacPaint, recordFor(32, 30, 1, {0, 0xFFFFFF}), rows).bytes;
    // Prefixes of the whole file, in steps (every prefix of the 640-byte headers costs the same).
    for (size_t length = 0; length < file.size(); length += length < 700 ? 37 : 1) {
        const Bytes prefix(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(length));
        const Decoded d = decodeWith(kMacPaint, prefix);
        EXPECT_EQ(d.infoResult != 0 ? d.infoResult : d.loadResult, pixmill::kCodecReadError) << length;
    }
    expectDamageHandled(kMacPaint, file,
                        {{"first byte", 0, 1}, {"type", 65, 4}, {"first control", 640, 1}, {"second control", 642, 1}},
                        file.size());
}

TEST(MacPaintDamage, ControlBytesOfEveryValueStayInTheirRows) {
    for (int control = 0; control < 256; ++control) {
        Bytes file(512, 0);
        for (int i = 0; i < 720; ++i) file.insert(file.end(), {static_cast<uint8_t>(control), 0x3C});
        expectHandled(kMacPaint, file, "control " + std::to_string(control));
    }
}

}  // namespace
