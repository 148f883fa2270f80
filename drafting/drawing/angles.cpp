#include "drawing/angles.h"

#include <cmath>

namespace linework {

double DirectionAngle(double dx, double dy) {
    if (dx == 0) {
        if (dy == 0) return 0;
        return dy > 0 ? kHalfPi : 4.71238898038469;
    }
    double angle = std::atan(dy / dx);
    if (dx < 0) angle += kPi;
    if (angle < 0) angle += kTwoPi;
    return angle;
}

double NormalizeAngle(double angle) {
    if (std::fabs(angle) <= kTwoPi) return angle;
    return angle - std::trunc(angle / kTwoPi) * kTwoPi;
}

double TextUpAngle(double dx, double dy) {
    double angle = DirectionAngle(dx, dy);
    if (angle > 1.919862 && angle < 5.061455) angle -= kPi;
    return angle;
}

double UserAngleToRadians(int32_t angleMode, double angle) {
    if (angleMode == 0) return angle * 0.017453292519943295;
    if (angleMode == 1) return angle * 0.015707963267948967;
    return angle;
}

double RadiansToUserAngle(int32_t angleMode, double radians) {
    if (angleMode == 0) return radians * 57.295779513082320877;
    if (angleMode == 1) return radians * 63.661977236758134305;
    return radians;
}

long double DegToRad(long double degrees) { return degrees * std::numbers::pi_v<long double> / 180; }
long double RadToDeg(long double radians) { return radians * 180 / std::numbers::pi_v<long double>; }
long double Tangent(long double radians) { return std::tan(radians); }
long double Cotangent(long double radians) { return 1 / std::tan(radians); }
long double ArcTan2(long double a, long double b) { return std::atan2(a, b); }
double ArcSine(double x) { return static_cast<double>(ArcTan2(x, std::sqrt(1 - x * x))); }
double ArcCosine(double x) { return static_cast<double>(ArcTan2(std::sqrt(1 - x * x), x)); }

}  // namespace linework
