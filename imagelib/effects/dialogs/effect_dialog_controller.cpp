#include "effects/dialogs/effect_dialog_controller.h"

#include <algorithm>
#include <array>
#include <charconv>

#include "effects/effect_compute.h"
#include "effects/true_colour_copy.h"
#include "winplat/refusal.h"

namespace pixmill::effects {

namespace {

constexpr winplat::Refuser refuse("PXL32: effect dialog");

// The bicolour dialog's method buttons, by method.
constexpr std::array<int, 3> kMethodButtons{8055, 8054, 8053};
constexpr int kInversionBox = 8029;
constexpr int kShadeColourButton = 8024;  // also the emboss coating button
constexpr int kFirstColourButton = 8025;
constexpr int kSecondColourButton = 8026;

bool isLightSource(int controlId) { return controlId >= kLightBottom && controlId <= kLightTopRight; }

// The whole text as a decimal integer, sign allowed; nothing else.
std::optional<int> parseInteger(std::string_view text) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc{} || stop != end) return std::nullopt;
    return value;
}

}  // namespace

std::unique_ptr<EffectDialogController> EffectDialogController::open(const EffectRequest& request,
                                                                     EffectSettings& settings,
                                                                     OriginalPreviewBuilder build) {
    const EffectDialogLayout* layout = findDialogLayout(request.dialogId);
    if (!layout) return refuse(nullptr, "no effect dialog has this id");
    return std::unique_ptr<EffectDialogController>(
        new EffectDialogController(request, *layout, settings, std::move(build)));
}

EffectDialogController::EffectDialogController(const EffectRequest& request, const EffectDialogLayout& layout,
                                               EffectSettings& settings, OriginalPreviewBuilder build)
    : request_(request), layout_(&layout), settings_(settings), start_(settings), build_(std::move(build)) {
    rebuildOriginal();
}

void EffectDialogController::rebuildOriginal() {
    edited_.reset();
    original_.reset(build_ ? build_(request_.source, view_) : 0);
}

PxlImageId EffectDialogController::makeEditedPreview() const {
    // Settings that ask for no change (focus or soften 0, posterize 1) show the picture unchanged.
    if (!asksForChange(request_.kind, settings_)) return trueColourCopy(original_);
    EffectRequest onPreview = request_;
    onPreview.source = original_;
    return computeEffect(onPreview, settings_, nullptr);
}

bool EffectDialogController::recompute() {
    if (!ready_ || original_ == 0 || lastUsed_ == settings_) return false;
    const PxlImageId made = makeEditedPreview();
    if (made == 0) return refuse(false, "the edited preview could not be made; the last one stays");
    lastUsed_ = settings_;
    edited_.reset(made);
    return true;
}

void EffectDialogController::previewClicked(int x, int y) {
    view_ = {!view_.detail, x, y};
    rebuildOriginal();
    lastUsed_.reset();
    ready_ = true;
}

int EffectDialogController::accept() {
    edited_.reset();
    original_.reset();
    return 1;
}

int EffectDialogController::cancel() {
    settings_ = start_;
    edited_.reset();
    original_.reset();
    return 0;
}

bool EffectDialogController::sliderMoved(int sliderId, int position) {
    const SliderSetting* slider = findSliderSetting(*layout_, sliderId);
    if (!slider || slider->sliderId != sliderId) return false;
    settings_.*(slider->value) = std::clamp(position, slider->minimum, slider->maximum);
    return true;
}

std::optional<int> EffectDialogController::editChanged(int editId, std::string_view text) {
    const SliderSetting* slider = findSliderSetting(*layout_, editId);
    if (!slider || slider->editId != editId) return std::nullopt;
    const std::optional<int> typed = parseInteger(text);
    if (!typed || *typed < slider->minimum || *typed > slider->maximum) return settings_.*(slider->value);
    settings_.*(slider->value) = *typed;
    return std::nullopt;
}

std::optional<int> EffectDialogController::sliderValue(int controlId) const {
    const SliderSetting* slider = findSliderSetting(*layout_, controlId);
    if (!slider) return std::nullopt;
    return settings_.*(slider->value);
}

bool EffectDialogController::optionClicked(int controlId) {
    switch (layout_->dialogId) {
        case 8097: {
            const auto found = std::ranges::find(kMethodButtons, controlId);
            if (found == kMethodButtons.end()) return false;
            settings_.method = static_cast<int>(found - kMethodButtons.begin());
            return true;
        }
        case 8098:
            if (controlId != kInversionBox) return false;
            settings_.inversion = !settings_.inversion;
            return true;
        case 8099:
            if (!isLightSource(controlId)) return false;
            settings_.lightSource = controlId;
            return true;
        default: return false;
    }
}

bool EffectDialogController::optionChecked(int controlId) const {
    switch (layout_->dialogId) {
        case 8097: {
            const auto method = static_cast<size_t>(std::clamp(settings_.method, 0, 2));
            return kMethodButtons[method] == controlId;
        }
        case 8098: return controlId == kInversionBox && settings_.inversion;
        case 8099: return controlId == settings_.lightSource;
        default: return false;
    }
}

bool EffectDialogController::colourChosen(int buttonId, COLORREF colour) {
    switch (layout_->dialogId) {
        case 8096:
            if (buttonId != kShadeColourButton) return false;
            settings_.shadeColour = colour;
            settings_.brightness = 0;
            settings_.contrast = 0;
            return true;
        case 8097:
            if (buttonId == kFirstColourButton) settings_.firstColour = colour;
            else if (buttonId == kSecondColourButton) settings_.secondColour = colour;
            else return false;
            return true;
        case 8099:
            if (buttonId != kShadeColourButton) return false;
            settings_.coating = colour;
            return true;
        default: return false;
    }
}

SwatchColours swatchColours(int dialogId, const EffectSettings& settings) {
    switch (dialogId) {
        case 8096: return {settings.shadeColour, settings.shadeColour};
        case 8097: return {settings.firstColour, settings.secondColour};
        case 8099: return {settings.coating, settings.coating};
        default: return {};
    }
}

COLORREF shadeRampBand(COLORREF colour, int band) {
    const int r = GetRValue(colour), g = GetGValue(colour), b = GetBValue(colour);
    const int lowest = std::min({r, g, b});
    const auto channel = [&](int c) { return static_cast<BYTE>(std::min(c - lowest + 2 * band, 255)); };
    return RGB(channel(r), channel(g), channel(b));
}

}  // namespace pixmill::effects
