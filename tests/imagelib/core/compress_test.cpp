#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

#include "pixmill/pixmill.h"

namespace {

constexpr uint32_t kChunk = 64000;

std::vector<uint8_t> randomBytes(size_t size, unsigned seed) {
    std::mt19937 engine(seed);
    std::vector<uint8_t> bytes(size);
    for (auto& b : bytes) b = static_cast<uint8_t>(engine());
    return bytes;
}

std::vector<uint8_t> packed(const std::vector<uint8_t>& source) {
    std::vector<uint8_t> out(compressBound(source.size()));
    uint32_t length = static_cast<uint32_t>(out.size());
    EXPECT_EQ(PXLcompress(out.data(), &length, source.data(), static_cast<uint32_t>(source.size())), Z_OK);
    out.resize(length);
    return out;
}

// The length sits before a guard word: a callee that wrote zlib's 64-bit length through the
// 32-bit pointer would overwrite the guard.
struct GuardedLength {
    uint32_t length;
    uint32_t guard = 0xA5A5A5A5;
};

TEST(Compress, ZeroChunkPacksFarSmallerAndComesBack) {
    const std::vector<uint8_t> zeros(kChunk, 0);
    const std::vector<uint8_t> small = packed(zeros);
    EXPECT_LT(small.size(), 1000u);

    std::vector<uint8_t> back(kChunk, 0xEE);
    GuardedLength out{kChunk};
    ASSERT_EQ(PXLdecompress(back.data(), &out.length, small.data(), static_cast<uint32_t>(small.size())),
              Z_OK);
    EXPECT_EQ(out.length, kChunk);
    EXPECT_EQ(out.guard, 0xA5A5A5A5u);
    EXPECT_EQ(back, zeros);
}

TEST(Compress, RandomChunkRoundTripsWithExactLengths) {
    const std::vector<uint8_t> source = randomBytes(kChunk, 7);
    std::vector<uint8_t> dest(compressBound(kChunk));
    GuardedLength packedLength{static_cast<uint32_t>(dest.size())};
    ASSERT_EQ(PXLcompress(dest.data(), &packedLength.length, source.data(), kChunk), Z_OK);
    EXPECT_EQ(packedLength.guard, 0xA5A5A5A5u);
    // Random bytes do not shrink: stored blocks and the stream framing make it a little larger.
    EXPECT_GT(packedLength.length, kChunk);
    EXPECT_LE(packedLength.length, dest.size());

    std::vector<uint8_t> back(kChunk + 100, 0);
    GuardedLength length{static_cast<uint32_t>(back.size())};
    ASSERT_EQ(PXLdecompress(back.data(), &length.length, dest.data(), packedLength.length), Z_OK);
    EXPECT_EQ(length.length, kChunk);
    EXPECT_EQ(length.guard, 0xA5A5A5A5u);
    back.resize(kChunk);
    EXPECT_EQ(back, source);
}

TEST(Compress, UnpackingIntoTooSmallBufferFillsItAndReportsBufferError) {
    const std::vector<uint8_t> source = randomBytes(5000, 11);
    const std::vector<uint8_t> small = packed(source);
    std::vector<uint8_t> dest(1000);
    GuardedLength length{static_cast<uint32_t>(dest.size())};
    EXPECT_EQ(PXLdecompress(dest.data(), &length.length, small.data(), static_cast<uint32_t>(small.size())),
              Z_BUF_ERROR);
    // zlib unpacks as far as the buffer goes and says how much that was.
    EXPECT_EQ(length.length, 1000u);
    EXPECT_EQ(length.guard, 0xA5A5A5A5u);
    EXPECT_TRUE(std::equal(dest.begin(), dest.end(), source.begin()));
}

TEST(Compress, PackingIntoTooSmallBufferReportsBufferError) {
    const std::vector<uint8_t> source = randomBytes(5000, 13);
    std::vector<uint8_t> dest(100);
    GuardedLength length{static_cast<uint32_t>(dest.size())};
    EXPECT_EQ(PXLcompress(dest.data(), &length.length, source.data(), 5000), Z_BUF_ERROR);
    EXPECT_LE(length.length, 100u);
    EXPECT_EQ(length.guard, 0xA5A5A5A5u);
}

TEST(Compress, CorruptInputIsDataError) {
    const std::vector<uint8_t> source = randomBytes(3000, 17);
    std::vector<uint8_t> good = packed(source);
    std::vector<uint8_t> badHeader = good;
    badHeader[0] ^= 0xFF;
    std::vector<uint8_t> truncated(good.begin(), good.begin() + static_cast<ptrdiff_t>(good.size() / 2));
    std::vector<uint8_t> badChecksum = good;
    badChecksum.back() ^= 0x01;
    for (const auto* input : {&badHeader, &truncated, &badChecksum}) {
        std::vector<uint8_t> dest(4000);
        uint32_t length = static_cast<uint32_t>(dest.size());
        EXPECT_EQ(PXLdecompress(dest.data(), &length, input->data(), static_cast<uint32_t>(input->size())),
                  Z_DATA_ERROR);
    }
}

TEST(Compress, NullPointersAreRefusedUntouched) {
    uint8_t buffer[64] = {};
    const uint8_t source[4] = {1, 2, 3, 4};
    struct Case {
        uint8_t* dest;
        bool withLength;
        const uint8_t* source;
    };
    const Case cases[] = {{nullptr, true, source}, {buffer, false, source}, {buffer, true, nullptr}};
    for (const Case& c : cases) {
        for (auto call : {PXLcompress, PXLdecompress}) {
            uint32_t length = 12345;
            EXPECT_EQ(call(c.dest, c.withLength ? &length : nullptr, c.source, 4), Z_STREAM_ERROR);
            EXPECT_EQ(length, 12345u);
        }
    }
    for (uint8_t b : buffer) EXPECT_EQ(b, 0);
}

}  // namespace
