#include "mapping.h"

#include <algorithm>
#include <cmath>

#include "metafile_format.h"

namespace vexmill {
namespace {

bool fixedMode(int mode) {
    return mode >= format::kMmLoMetric && mode <= format::kMmTwips;
}

// Device coordinates are kept well inside what the platform draws (2^27): a picture stretched
// absurdly far is clipped there rather than refused.
constexpr double kDeviceLimit = double(1 << 26);

int clampToDevice(double value) {
    if (!(value == value)) return 0;  // NaN, from a frame of no size
    return static_cast<int>(std::lround(std::clamp(value, -kDeviceLimit, kDeviceLimit)));
}

}  // namespace

double format::fixedModeScale(int mapMode) {
    switch (mapMode) {
        case kMmLoMetric: return 96.0 / 254.0;    // 0.1 mm
        case kMmHiMetric: return 96.0 / 2540.0;   // 0.01 mm
        case kMmLoEnglish: return 96.0 / 100.0;   // 0.01 inch
        case kMmHiEnglish: return 96.0 / 1000.0;  // 0.001 inch
        case kMmTwips: return 96.0 / 1440.0;
        default: return 1.0;
    }
}

void Mapping::apply(const Record& r) {
    const double a = r.a[0], b = r.a[1];
    switch (r.op) {
        case Op::SetWindowOrg: windowOrgX = a; windowOrgY = b; break;
        case Op::SetWindowExt: windowExtX = a; windowExtY = b; windowExtSet = true; break;
        case Op::SetViewportOrg: viewportOrgX = a; viewportOrgY = b; break;
        case Op::SetViewportExt: viewportExtX = a; viewportExtY = b; viewportExtSet = true; break;
        case Op::OffsetWindowOrg: windowOrgX += a; windowOrgY += b; break;
        case Op::OffsetViewportOrg: viewportOrgX += a; viewportOrgY += b; break;
        case Op::ScaleWindowExt:
            windowExtX = windowExtX * r.a[0] / r.a[1];
            windowExtY = windowExtY * r.a[2] / r.a[3];
            windowExtSet = true;
            break;
        case Op::ScaleViewportExt:
            viewportExtX = (viewportExtSet ? viewportExtX : std::fabs(windowExtX)) * r.a[0] / r.a[1];
            viewportExtY = (viewportExtSet ? viewportExtY : std::fabs(windowExtY)) * r.a[2] / r.a[3];
            viewportExtSet = true;
            break;
        case Op::SetMapMode: mode = r.a[0]; break;
        default: break;
    }
}

double Mapping::ratioX() const {
    if (fixedMode(mode)) return format::fixedModeScale(mode);
    const double x = (viewportExtSet ? viewportExtX : std::fabs(windowExtX)) / windowExtX;
    if (mode != format::kMmIsotropic) return x;
    const double y = (viewportExtSet ? viewportExtY : std::fabs(windowExtY)) / windowExtY;
    return std::copysign(std::min(std::fabs(x), std::fabs(y)), x);
}

double Mapping::ratioY() const {
    if (fixedMode(mode)) return -format::fixedModeScale(mode);
    const double y = (viewportExtSet ? viewportExtY : std::fabs(windowExtY)) / windowExtY;
    if (mode != format::kMmIsotropic) return y;
    const double x = (viewportExtSet ? viewportExtX : std::fabs(windowExtX)) / windowExtX;
    return std::copysign(std::min(std::fabs(x), std::fabs(y)), y);
}

Frame frameOf(const Mapping& mapping, double left, double top, double right, double bottom) {
    const double x0 = mapping.mapX(left), x1 = mapping.mapX(right);
    const double y0 = mapping.mapY(top), y1 = mapping.mapY(bottom);
    return Frame{std::min(x0, x1), std::min(y0, y1), std::max(std::fabs(x1 - x0), 1.0),
                 std::max(std::fabs(y1 - y0), 1.0)};
}

DeviceTransform DeviceTransform::fit(const Mapping& m, const Frame& frame, int x, int y, int width, int height) {
    const double fitX = width / frame.width;
    const double fitY = height / frame.height;
    DeviceTransform t;
    t.scaleX = m.ratioX() * fitX;
    t.scaleY = m.ratioY() * fitY;
    t.offsetX = x + (m.viewportOrgX - m.windowOrgX * m.ratioX() - frame.x) * fitX;
    t.offsetY = y + (m.viewportOrgY - m.windowOrgY * m.ratioY() - frame.y) * fitY;
    return t;
}

int DeviceTransform::x(double logical) const { return clampToDevice(scaleX * logical + offsetX); }
int DeviceTransform::y(double logical) const { return clampToDevice(scaleY * logical + offsetY); }
int DeviceTransform::lengthX(double logical) const { return clampToDevice(std::fabs(scaleX) * logical); }
int DeviceTransform::lengthY(double logical) const { return clampToDevice(std::fabs(scaleY) * logical); }

}  // namespace vexmill
