#include "drawing/view_transform.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "drawing/angles.h"
#include "winplat/refusal.h"

namespace linework {
namespace {

bool UsableScale(double scale) { return std::isfinite(scale) && scale > 0; }

int ViewKindOf(const ViewTransform& view) {
    if (view.angle3 != 0) return 3;
    if (view.angle1 == 0 && view.angle2 == 0) return 0;
    if (view.angle1 == -kHalfPi) {
        if (view.angle2 == 0) return 1;
        if (view.angle2 == -kHalfPi) return 2;
    }
    return 3;
}

}  // namespace

bool SameView(const ViewTransform& a, const ViewTransform& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

std::optional<ViewTransform> ReadView(const SystemVariableImage& image, int32_t first) {
    ViewTransform view;
    std::array<double*, 10> fields{&view.scale, &view.originX, &view.originY, &view.angle1, &view.angle2,
                                   &view.angle3, &view.distance, &view.eyeX, &view.eyeY, &view.eyeZ};
    for (size_t i = 0; i < fields.size(); ++i) *fields[i] = image.Double(first + static_cast<int32_t>(i));
    if (!UsableScale(view.scale)) {
        winplat::logRefusal({"linework: view", "the scale is not a positive number", winplat::CodePlace::here()});
        return std::nullopt;
    }
    return view;
}

void WriteView(SystemVariableImage& image, int32_t first, const ViewTransform& view) {
    std::array<double, 10> fields{view.scale,  view.originX,  view.originY, view.angle1, view.angle2,
                                  view.angle3, view.distance, view.eyeX,    view.eyeY,   view.eyeZ};
    for (size_t i = 0; i < fields.size(); ++i) image.SetDouble(first + static_cast<int32_t>(i), fields[i]);
}

int32_t RoundToPixel(double value) {
    constexpr double kLow = std::numeric_limits<int32_t>::min();
    constexpr double kHigh = std::numeric_limits<int32_t>::max();
    if (std::isnan(value)) return 0;
    // nearbyint follows the rounding mode, which is to nearest with ties to even.
    return static_cast<int32_t>(std::clamp(std::nearbyint(value), kLow, kHigh));
}

ViewState::ViewState(SystemVariableImage& image) : image_(image) {
    history_.fill(ViewTransform{});
    WriteView(image_, kCurrentViewDouble, view_);
}

int32_t ViewState::WorldToScreenX(double x) const { return RoundToPixel((x - view_.originX) / view_.scale); }

int32_t ViewState::WorldToScreenY(double y) const {
    return RoundToPixel((view_.originY - y) / view_.scale + bottomPixel_);
}

void ViewState::UpdateViewTransform(PixelSize screen, PixelSize paintBox, LayerTable& layers,
                                    const LayerScaleRanges& ranges) {
    if (auto view = ReadView(image_, kCurrentViewDouble)) {
        view_ = *view;
    } else {
        WriteView(image_, kCurrentViewDouble, view_);
    }
    screen_ = screen;
    rightPixel_ = paintBox.width - 1;
    bottomPixel_ = paintBox.height - 1;
    worldRight_ = ScreenToWorldX(rightPixel_);
    worldTop_ = ScreenToWorldY(0);
    screenYOffset_ = view_.originY / view_.scale + bottomPixel_;
    // A paint box one pixel wide (or none) leaves no width to divide by: take one pixel.
    maxScale_ = 1e19 / std::max(rightPixel_, 1) * 2;
    minScale_ = std::max(5e-15, 5e-16 * std::max(std::fabs(view_.originX), std::fabs(view_.originY)));
    UpdateLayerScaleFlags(layers, ranges, view_.scale);
    std::array<double, 3> angles{view_.angle1, view_.angle2, view_.angle3};
    for (size_t i = 0; i < angles.size(); ++i) {
        cosSin_[2 * i] = std::cos(angles[i]);
        cosSin_[2 * i + 1] = std::sin(angles[i]);
    }
    perspective_ = view_.distance > 0;
    nearLimit_ = view_.distance * 0.5;
    viewKind_ = ViewKindOf(view_);
}

bool ViewState::SetViewTransform(const ViewTransform& view) {
    if (!UsableScale(view.scale)) {
        winplat::logRefusal({"linework: view", "the scale is not a positive number", winplat::CodePlace::here()});
        return false;
    }
    view_ = view;
    WriteView(image_, kCurrentViewDouble, view_);
    viewChanged = true;
    return true;
}

bool ViewState::ZoomAllowed(double factor) const {
    double scale = view_.scale * factor;
    if (factor < 1 && scale < minScale_) return false;
    if (factor > 1 && scale > maxScale_) return false;
    return true;
}

void ViewState::PushViewHistory() {
    for (int32_t i = 0; i <= historyCount_; ++i) {
        if (SameView(history_[static_cast<size_t>(i)], view_)) return;
    }
    std::copy_backward(history_.begin(), history_.end() - 1, history_.end());
    history_[0] = view_;
    historyCount_ = std::min(historyCount_ + 1, kHistorySize - 1);
}

bool ViewState::StepViewHistory(int32_t step) {
    int64_t position = int64_t{historyPosition} + step;
    if (position < 0 || position > historyCount_) return false;
    historyPosition = static_cast<int32_t>(position);
    return SetViewTransform(history_[static_cast<size_t>(position)]);
}

void ViewState::RememberCurrentView() {
    if (suppressRemember && rememberLatch_) return;
    rememberLatch_ = suppressRemember;
    savedView = view_;
    PushViewHistory();
    historyPosition = 0;
}

bool ViewState::ProjectPoint3D(double x, double y, double z, Point& out) const {
    if (perspective_) {
        x -= view_.eyeX;
        y -= view_.eyeY;
        z -= view_.eyeZ;
    }
    auto [c1, s1, c2, s2, c3, s3] = cosSin_;
    double t0 = x * c3 - y * s3;
    double t1 = x * s3 + y * c3;
    double t2 = t1 * s1 + z * c1;
    out = {t2 * s2 + t0 * c2, t1 * c1 - z * s1};
    if (!perspective_) return true;
    double depth = t2 * c2 - t0 * s2;
    if (depth >= nearLimit_) return false;
    double divisor = 1 - depth / view_.distance;
    out = {out.x / divisor, out.y / divisor};
    return true;
}

}  // namespace linework
