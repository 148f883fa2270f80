// Angles of the drafting program: directions in [0, 2pi), normalising, the user's angle unit.
#ifndef LINEWORK_DRAWING_ANGLES_H
#define LINEWORK_DRAWING_ANGLES_H

#include <cstdint>
#include <numbers>

namespace linework {

inline constexpr double kPi = std::numbers::pi;
inline constexpr double kTwoPi = 2 * std::numbers::pi;
inline constexpr double kHalfPi = std::numbers::pi / 2;

// The direction of (dx, dy) in [0, 2pi); exact comparisons with 0: (0, 0) is 0.
double DirectionAngle(double dx, double dy);

// Beyond +-2pi: the remainder of a full turn with the sign of the angle; otherwise unchanged.
double NormalizeAngle(double angle);

// The direction of (dx, dy) turned by pi when text along it would read upside down (strictly
// between 110 and 290 degrees).
double TextUpAngle(double dx, double dy);

// The user's unit (0 degrees, 1 grads, any other radians) to radians and back.
double UserAngleToRadians(int32_t angleMode, double angle);
double RadiansToUserAngle(int32_t angleMode, double radians);

long double DegToRad(long double degrees);
long double RadToDeg(long double radians);
long double Tangent(long double radians);
long double Cotangent(long double radians);
// The arctangent of a / b in the quadrant of (b, a).
long double ArcTan2(long double a, long double b);
double ArcSine(double x);
double ArcCosine(double x);

}  // namespace linework

#endif
