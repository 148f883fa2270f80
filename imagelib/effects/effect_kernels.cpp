#include "effects/effect_kernels.h"

#include <array>

#include "effects/effect_settings.h"

namespace pixmill::effects {

namespace {

// Only the inner 3 x 3 of these kernels is used; its rows are given as the picture shows them,
// top first, while the weights run in storage order (bottom row first).
EffectKernel fromPicture3x3(const std::array<std::array<int16_t, 3>, 3>& picture, uint8_t divisor) {
    EffectKernel kernel;
    for (int top = 0; top < 3; ++top) {
        const int weightRow = 3 - top;
        for (int k = 0; k < 3; ++k) kernel.weights[weightRow * 5 + k + 1] = picture[top][k];
    }
    kernel.divisor = divisor;
    return kernel;
}

struct Relief {
    int lightSource;
    std::array<std::array<int16_t, 3>, 3> picture;
};

// The neighbours towards the light count up, those away from it down.
constexpr std::array<Relief, 8> kReliefs{{
    {kLightTop, {{{0, 1, 0}, {0, 0, 0}, {0, -1, 0}}}},
    {kLightBottom, {{{0, -1, 0}, {0, 0, 0}, {0, 1, 0}}}},
    {kLightLeft, {{{0, 0, 0}, {1, 0, -1}, {0, 0, 0}}}},
    {kLightRight, {{{0, 0, 0}, {-1, 0, 1}, {0, 0, 0}}}},
    {kLightTopLeft, {{{0, 1, 0}, {1, 0, -1}, {0, -1, 0}}}},
    {kLightTopRight, {{{0, 1, 0}, {-1, 0, 1}, {0, -1, 0}}}},
    {kLightBottomLeft, {{{0, -1, 0}, {1, 0, -1}, {0, 1, 0}}}},
    {kLightBottomRight, {{{0, -1, 0}, {-1, 0, 1}, {0, 1, 0}}}},
}};

}  // namespace

EffectKernel sharpenKernel() { return fromPicture3x3({{{-1, 0, -1}, {0, 7, 0}, {-1, 0, -1}}}, 3); }

EffectKernel contourKernel() { return fromPicture3x3({{{-1, -1, -1}, {-1, 8, -1}, {-1, -1, -1}}}, 1); }

std::optional<EffectKernel> embossKernel(int lightSource, COLORREF coating) {
    for (const Relief& relief : kReliefs) {
        if (relief.lightSource != lightSource) continue;
        EffectKernel kernel = fromPicture3x3(relief.picture, 1);
        kernel.red = GetRValue(coating);
        kernel.green = GetGValue(coating);
        kernel.blue = GetBValue(coating);
        kernel.grey = true;
        return kernel;
    }
    return std::nullopt;
}

}  // namespace pixmill::effects
