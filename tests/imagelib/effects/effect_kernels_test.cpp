#include <optional>
#include <vector>

#include "effect_test_support.h"
#include "effects/effect_kernels.h"
#include "effects/effect_settings.h"

namespace {

using namespace pixmill::effects;

using EmbossKernels = PixmillTest;

// The centre pixel of a 3 x 3 grey picture after the kernel; its neighbours are told apart by
// their values: above 10, below 80, left 20, right 40 (corners and centre 0).
Rgb embossedCentre(const EffectKernel& kernel) {
    const auto g = [](int v) { return Rgb{v, v, v}; };
    const PxlImageId id = make24(3, 3, {g(0), g(10), g(0), g(20), g(0), g(40), g(0), g(80), g(0)});
    {
        pixmill::ImageLock image = pixmill::lockImage(id, pixmill::Access::Write);
        EXPECT_TRUE(applyKernel5x5(*image, kernel, {}));
    }
    return pixelsOf(id)[4];
}

TEST_F(EmbossKernels, EachLightSourceLiftsTheSidesFacingIt) {
    struct Case {
        int lightSource;
        int relief;  // sum of the lifted neighbours less the lowered ones
    };
    const Case cases[] = {
        {kLightTop, 10 - 80},           {kLightBottom, 80 - 10},
        {kLightLeft, 20 - 40},          {kLightRight, 40 - 20},
        {kLightTopLeft, 10 + 20 - 40 - 80}, {kLightTopRight, 10 + 40 - 20 - 80},
        {kLightBottomLeft, 80 + 20 - 40 - 10}, {kLightBottomRight, 80 + 40 - 20 - 10},
    };
    const COLORREF coating = RGB(128, 100, 60);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lightSource);
        const std::optional<EffectKernel> kernel = embossKernel(c.lightSource, coating);
        ASSERT_TRUE(kernel.has_value());
        EXPECT_EQ(kernel->red, 128);
        EXPECT_EQ(kernel->green, 100);
        EXPECT_EQ(kernel->blue, 60);
        const auto channel = [&](int base) { return std::clamp(base + c.relief, 0, 255); };
        EXPECT_EQ(embossedCentre(*kernel), (Rgb{channel(128), channel(100), channel(60)}));
    }
}

TEST_F(EmbossKernels, ColouredReliefIsGreyedBeforeTheCoating) {
    // Above (30, 60, 90) against below (0, 0, 0): the sums 30, 60, 90 share their mean 60.
    std::vector<Rgb> picture = filled(9, {0, 0, 0});
    picture[1] = {30, 60, 90};
    const PxlImageId id = make24(3, 3, picture);
    {
        pixmill::ImageLock image = pixmill::lockImage(id, pixmill::Access::Write);
        ASSERT_TRUE(applyKernel5x5(*image, *embossKernel(kLightTop, RGB(100, 0, 250)), {}));
    }
    EXPECT_EQ(pixelsOf(id)[4], (Rgb{160, 60, 255}));
}

TEST_F(EmbossKernels, AFlatPictureTakesTheCoatingColour) {
    const PxlImageId id = make24(4, 3, filled(12, {200, 10, 99}));
    {
        pixmill::ImageLock image = pixmill::lockImage(id, pixmill::Access::Write);
        ASSERT_TRUE(applyKernel5x5(*image, *embossKernel(kLightBottomRight, RGB(1, 2, 3)), {}));
    }
    EXPECT_EQ(pixelsOf(id), filled(12, {1, 2, 3}));
}

TEST(EmbossKernelTable, UnknownLightSourcesHaveNoKernel) {
    for (const int source : {0, 8055, 8064, 8029, -1}) EXPECT_FALSE(embossKernel(source, 0).has_value()) << source;
}

}  // namespace
