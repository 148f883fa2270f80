// Conversions keep all their working state per call: several at once on different threads give
// exactly what each gives alone.
#include <random>
#include <thread>
#include <vector>

#include "../pixmill_fixture.h"

namespace {

struct Conversion {
    int16_t bits, dither, mode;
};

std::vector<uint8_t> pixelsOf(PxlImageId id) {
    const auto* bits = static_cast<const uint8_t*>(PXLGetBits(id));
    return std::vector<uint8_t>(bits, bits + PXLGetScanBytes(id) * PXLHeight(id));
}

PxlImageId noisyImage(unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> level(0, 255);
    std::vector<Rgb> pixels(61 * 37);
    for (Rgb& p : pixels) p = Rgb{level(random), level(random) / 2, level(random) / 3};
    return make24(61, 37, pixels);
}

class ColourConvertThreads : public PixmillTest {};

TEST_F(ColourConvertThreads, ConcurrentConversionsMatchConversionsAlone) {
    const Conversion conversions[] = {{1, 2, 0}, {4, 1, 1}, {8, 3, 1}, {4, 2, 0x81}, {8, 1, 0}, {1, 1, 1}};
    std::vector<PxlImageId> sources;
    std::vector<std::vector<uint8_t>> alone;
    for (size_t i = 0; i < std::size(conversions); ++i) {
        const Conversion& c = conversions[i];
        sources.push_back(noisyImage(static_cast<unsigned>(i)));
        const PxlImageId result = PXLColorConvert(sources.back(), c.bits, c.dither, c.mode, 0, nullptr, nullptr);
        ASSERT_NE(result, 0);
        alone.push_back(pixelsOf(result));
        PXLDeleteImage(result);
    }
    std::vector<std::vector<uint8_t>> together(std::size(conversions));
    std::vector<std::thread> threads;
    for (size_t i = 0; i < std::size(conversions); ++i) {
        threads.emplace_back([&, i] {
            const Conversion& c = conversions[i];
            for (int round = 0; round < 5; ++round) {
                const PxlImageId result = PXLColorConvert(sources[i], c.bits, c.dither, c.mode, 0, nullptr, nullptr);
                if (result == 0) return;
                together[i] = pixelsOf(result);
                if (together[i] != alone[i]) return;
                PXLDeleteImage(result);
            }
        });
    }
    for (std::thread& t : threads) t.join();
    for (size_t i = 0; i < std::size(conversions); ++i) EXPECT_EQ(together[i], alone[i]) << "conversion " << i;
}

}  // namespace
