#include "effects/dialogs/effect_dialog_layout.h"

#include <algorithm>
#include <array>

namespace pixmill::effects {

namespace {

using S = EffectSettings;

// Ranges, ticks and pages: offsets -127..127 (ticks 10, page 5), hue -359..359 (15, 5), focus and
// soften 0..5 (1, 1), posterize 1..50 (1, 5).
constexpr std::array<SliderSetting, 2> kBrightnessContrast{{
    {8068, 8033, 8083, -127, 127, 10, 5, &S::brightness},
    {8069, 8034, 8084, -127, 127, 10, 5, &S::contrast},
}};
constexpr std::array<SliderSetting, 2> kShade{{
    {8071, 8036, 8086, -127, 127, 10, 5, &S::brightness},
    {8072, 8037, 8087, -127, 127, 10, 5, &S::contrast},
}};
constexpr std::array<SliderSetting, 1> kFocus{{{8070, 8035, 8085, 0, 5, 1, 1, &S::degree}}};
constexpr std::array<SliderSetting, 3> kHsv{{
    {8074, 8039, 8089, -359, 359, 15, 5, &S::hue},
    {8077, 8042, 8092, -127, 127, 10, 5, &S::saturation},
    {8079, 8044, 8094, -127, 127, 10, 5, &S::value},
}};
constexpr std::array<SliderSetting, 1> kPosterize{{{8075, 8040, 8090, 1, 50, 1, 5, &S::degree}}};
constexpr std::array<SliderSetting, 3> kRgb{{
    {8076, 8041, 8091, -127, 127, 10, 5, &S::red},
    {8073, 8038, 8088, -127, 127, 10, 5, &S::green},
    {8067, 8032, 8082, -127, 127, 10, 5, &S::blue},
}};
constexpr std::array<SliderSetting, 1> kSoften{{{8078, 8043, 8093, 0, 5, 1, 1, &S::degree}}};

// The bicolour methods (remapping, pattern, diffusion), the contour inversion box and the emboss
// light sources.
constexpr std::array<int, 3> kMethods{8055, 8054, 8053};
constexpr std::array<int, 1> kInversion{8029};
constexpr std::array<int, 8> kLights{8056, 8057, 8058, 8059, 8060, 8061, 8062, 8063};

const std::array<EffectDialogLayout, 10> kLayouts{{
    {8095, 8028, 8027, kBrightnessContrast, true, {}},
    {8096, 8017, 8016, kShade, true, {}},
    {8097, 8019, 8018, {}, false, kMethods},
    {8098, 8031, 8030, {}, false, kInversion},
    {8099, 8046, 8045, {}, true, kLights},
    {8100, 8048, 8047, kFocus, true, {}},
    {8101, 8050, 8049, kHsv, true, {}},
    {8102, 8052, 8051, kPosterize, true, {}},
    {8103, 8066, 8065, kRgb, true, {}},
    {8104, 8081, 8080, kSoften, true, {}},
}};

}  // namespace

const EffectDialogLayout* findDialogLayout(int dialogId) {
    const auto found = std::ranges::find(kLayouts, dialogId, &EffectDialogLayout::dialogId);
    return found == kLayouts.end() ? nullptr : &*found;
}

std::span<const EffectDialogLayout> dialogLayouts() { return kLayouts; }

const SliderSetting* findSliderSetting(const EffectDialogLayout& layout, int controlId) {
    const auto found = std::ranges::find_if(layout.sliders, [controlId](const SliderSetting& s) {
        return s.sliderId == controlId || s.editId == controlId || s.spinId == controlId;
    });
    return found == layout.sliders.end() ? nullptr : &*found;
}

}  // namespace pixmill::effects
