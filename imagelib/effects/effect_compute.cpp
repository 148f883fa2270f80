#include "effects/effect_compute.h"

#include <optional>

#include "core/registry/image_registry.h"
#include "effects/apply_colour_function.h"
#include "effects/average_blocks.h"
#include "effects/colour_functions.h"
#include "effects/effect_kernels.h"
#include "effects/kernel_5x5.h"
#include "effects/shade_palette.h"
#include "effects/true_colour_copy.h"

namespace pixmill::effects {

namespace {

// Gives the image back when `change` succeeded on it, else deletes it and gives 0.
template <typename Change>
PxlImageId keptIf(PxlImageId image, Change change) {
    if (image == 0) return 0;
    bool changed = false;
    {
        ImageLock target = lockImage(image, Access::Write);
        changed = target && change(*target);
    }
    if (changed) return image;
    PXLDeleteImage(image);
    return 0;
}

// Effects that run several passes over the rows report once per row of the picture: every
// `passes` calls of the rows give one call of the caller's callback.
RowProgress onceEvery(int passes, PxlProgressFn progress) {
    if (!progress) return {};
    return [progress, passes, count = 0]() mutable {
        if (++count % passes == 0) progress();
    };
}

PxlImageId shaded(const EffectRequest& request, const EffectSettings& settings, PxlProgressFn progress) {
    const PxlImageId grey = request.alreadyShaded ? mappableCopy(request.source)
                                                  : PXLColorConvert(request.source, 8, 0, 0, 1, nullptr, progress);
    const BrightnessContrast function(settings.brightness, settings.contrast);
    const PxlImageId result = keptIf(grey, [&](ImageRecord& image) {
        makeShadePalette(image, settings.shadeColour);
        return mapImageColours(image, function, progressOf(progress));
    });
    if (result != 0) PXLFillDIBColorTable(result);
    return result;
}

PxlImageId bicolour(const EffectRequest& request, const EffectSettings& settings, PxlProgressFn progress) {
    const PxlImageId result = PXLbpp(request.source) == 1
                                  ? PXLCreateImageFrom(request.source, 0)
                                  : PXLColorConvert(request.source, 1, static_cast<int16_t>(settings.method), 0, 0,
                                                    nullptr, progress);
    if (result == 0) return 0;
    PXLSetColorToPalette(result, 0, settings.firstColour);
    PXLSetColorToPalette(result, 1, settings.secondColour);
    PXLFillDIBColorTable(result);
    return result;
}

PxlImageId inverted(PxlImageId source) {
    const PxlImageId copy = PXLCreateImageFrom(source, 0);
    if (copy != 0) PXLInvert(copy);
    return copy;
}

PxlImageId convolved(PxlImageId source, const EffectKernel& kernel, int passes, const RowProgress& progress) {
    return keptIf(trueColourCopy(source), [&](ImageRecord& image) {
        for (int pass = 0; pass < passes; ++pass) {
            if (!applyKernel5x5(image, kernel, progress)) return false;
        }
        return true;
    });
}

PxlImageId embossed(PxlImageId source, const EffectSettings& settings, PxlProgressFn progress) {
    const std::optional<EffectKernel> kernel = embossKernel(settings.lightSource, settings.coating);
    return kernel ? convolved(source, *kernel, 1, onceEvery(1, progress)) : 0;
}

PxlImageId contour(PxlImageId source, const EffectSettings& settings, PxlProgressFn progress) {
    const PxlImageId result = convolved(source, contourKernel(), 1, progressOf(progress));
    if (result != 0 && settings.inversion) PXLInvert(result);
    return result;
}

PxlImageId softened(PxlImageId source, const EffectSettings& settings) {
    const PxlImageId copy = trueColourCopy(source);
    if (copy == 0) return 0;
    if (IPLBlurCenter(copy, copy, settings.degree) == 1) return copy;
    PXLDeleteImage(copy);
    return 0;
}

PxlImageId posterized(PxlImageId source, const EffectSettings& settings, PxlProgressFn progress) {
    return keptIf(trueColourCopy(source), [&](ImageRecord& image) {
        return averageBlocks(image, settings.degree, progressOf(progress));
    });
}

}  // namespace

PxlImageId computeEffect(const EffectRequest& request, const EffectSettings& settings, PxlProgressFn progress) {
    if (!asksForChange(request.kind, settings)) return 0;
    const PxlImageId source = request.source;
    switch (request.kind) {
        case PXL_EFFECT_SHADE: return shaded(request, settings, progress);
        case PXL_EFFECT_BICOLOR: return bicolour(request, settings, progress);
        case PXL_EFFECT_INVERT: return inverted(source);
        case PXL_EFFECT_BRIGHTNESS:
        case PXL_EFFECT_CONTRAST:
            return applyColourFunction(source, BrightnessContrast(settings.brightness, settings.contrast),
                                       progressOf(progress));
        case PXL_EFFECT_RGB:
            return applyColourFunction(source, RgbOffsets(settings.red, settings.green, settings.blue),
                                       progressOf(progress));
        case PXL_EFFECT_HSV:
            return applyColourFunction(source, HsvMixing(settings.hue, settings.saturation, settings.value),
                                       progressOf(progress));
        case PXL_EFFECT_FOCUS:
            return convolved(source, sharpenKernel(), settings.degree, onceEvery(settings.degree, progress));
        case PXL_EFFECT_SOFTEN: return softened(source, settings);
        case PXL_EFFECT_EMBOSS: return embossed(source, settings, progress);
        case PXL_EFFECT_CONTOUR: return contour(source, settings, progress);
        case PXL_EFFECT_POSTERIZE: return posterized(source, settings, progress);
        default: return 0;
    }
}

}  // namespace pixmill::effects
