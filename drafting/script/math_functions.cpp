// The numeric functions of arithmetic and angles. Angles are radians; "dgr" and "rad" convert
// to and from the user's unit. A domain fault or a result beyond a double stops the run with
// "Math error" here, so neither NaN nor infinity ever reaches a variable.
#include <algorithm>
#include <cmath>

#include "drawing/angles.h"
#include "drawing/geometry.h"
#include "drawing/national_grid.h"
#include "script/script_functions.h"

namespace linework {

namespace {

using Result = std::optional<double>;

double Reduced(double angle) { return std::fmod(angle, kTwoPi); }

Result Pi(FunctionContext&) { return kPi; }
Result Not(FunctionContext& c) { return static_cast<double>(~c.Num(3)); }
Result Int(FunctionContext& c) { return std::trunc(c.Val(3)); }
Result Abs(FunctionContext& c) { return std::fabs(c.Val(3)); }

template <class Pick>
Result Extreme(FunctionContext& c, Pick pick) {
    if (c.Last() < 3) return 0.0;
    double result = c.Val(3);
    for (int k = 4; k <= c.Last(); ++k) result = pick(result, c.Val(k));
    return result;
}
Result Min(FunctionContext& c) { return Extreme(c, [](double a, double b) { return std::min(a, b); }); }
Result Max(FunctionContext& c) { return Extreme(c, [](double a, double b) { return std::max(a, b); }); }

// Without an argument a real in [0, 1); with one, an integer 0..n-1 (for a negative n, n+1..0).
Result Rnd(FunctionContext& c) {
    double unit = std::generate_canonical<double, 53>(c.state.random);
    if (unit >= 1) unit = std::nextafter(1.0, 0.0);  // some library versions can round up to 1
    if (c.Last() < 3) return unit;
    return std::floor(unit * c.Num(3));
}

Result Dist(FunctionContext& c) { return c.Finite(std::hypot(c.Val(5) - c.Val(3), c.Val(6) - c.Val(4))); }
Result Angle(FunctionContext& c) { return DirectionAngle(c.Val(5) - c.Val(3), c.Val(6) - c.Val(4)); }

Result Sqrt(FunctionContext& c) {
    if (c.Val(3) < 0) return c.Fail("Math error");
    return std::sqrt(c.Val(3));
}
Result Dgr(FunctionContext& c) {
    return c.Finite(RadiansToUserAngle(c.engine.numberInput.grammar.angleMode, Reduced(c.Val(3))));
}
Result Rad(FunctionContext& c) {
    return c.Finite(Reduced(UserAngleToRadians(c.engine.numberInput.grammar.angleMode, c.Val(3))));
}
Result Cos(FunctionContext& c) { return c.Finite(std::cos(Reduced(c.Val(3)))); }
Result Sin(FunctionContext& c) { return c.Finite(std::sin(Reduced(c.Val(3)))); }
Result Tan(FunctionContext& c) { return c.Finite(std::tan(Reduced(c.Val(3)))); }
// Beyond -1..1 the square root under both is of a negative number.
Result Acs(FunctionContext& c) {
    if (std::fabs(c.Val(3)) > 1) return c.Fail("Math error");
    return ArcCosine(c.Val(3));
}
Result Asn(FunctionContext& c) {
    if (std::fabs(c.Val(3)) > 1) return c.Fail("Math error");
    return ArcSine(c.Val(3));
}
Result Atn(FunctionContext& c) { return std::atan(c.Val(3)); }
Result Ctn(FunctionContext& c) {
    double tangent = std::tan(Reduced(c.Val(3)));
    if (tangent == 0) return c.Fail("Math error");
    return c.Finite(1 / tangent);
}
Result Pwr(FunctionContext& c) { return c.Finite(std::pow(c.Val(3), c.Val(4))); }
Result Exp(FunctionContext& c) { return c.Finite(std::exp(c.Val(3))); }
Result Ln(FunctionContext& c) {
    if (!(c.Val(3) > 0)) return c.Fail("Math error");
    return c.Finite(std::log(c.Val(3)));
}

// Intersections; the statement's length tells the figures, the result is the number of points:
//   ends at word 12:  x1 y1 x2 y2 x3 y3 x4 y4 X Y          two lines (unbounded), point to X Y
//   ends at word 13:  x1 y1 x2 y2 cx cy r X1 Y1 X2 Y2      a line and a circle
//   ends at word 14+: cx1 cy1 px1 py1 cx2 cy2 px2 py2 X1 Y1 X2 Y2
//                     two circles, each by its centre and a point on it
// Points not found leave their targets as they were.
Result Isec(FunctionContext& c) {
    auto point = [&c](int k) { return Point{c.Val(k), c.Val(k + 1)}; };
    auto store = [&c](int k, Point at) { return c.engine.StoreTarget(k, at.x) && c.engine.StoreTarget(k + 1, at.y); };
    if (c.Last() < 12) return 0.0;
    if (c.Last() == 12) {
        Point at;
        if (!IntersectLines(point(3), point(5), point(7), point(9), 0, at)) return 0.0;
        if (!std::isfinite(at.x) || !std::isfinite(at.y)) return c.Fail("Math error");
        return store(11, at) ? Result(1.0) : std::nullopt;
    }
    Crossings crossings;
    int firstTarget;
    if (c.Last() == 13) {
        crossings = IntersectLineCircle(point(3), point(5), point(7), c.Val(9), false);
        firstTarget = 10;
    } else {
        Point c1 = point(3), c2 = point(7);
        double r1 = std::hypot(c.Val(5) - c1.x, c.Val(6) - c1.y);
        double r2 = std::hypot(c.Val(9) - c2.x, c.Val(10) - c2.y);
        crossings = IntersectCircles(c1, r1, c2, r2);
        firstTarget = 11;
    }
    for (int i = 0; i < crossings.count; ++i) {
        Point at = crossings.points[static_cast<size_t>(i)];
        if (!std::isfinite(at.x) || !std::isfinite(at.y)) return c.Fail("Math error");
        if (!store(firstTarget + 2 * i, at)) return std::nullopt;
    }
    return static_cast<double>(crossings.count);
}

// A = conv LAT LON H jtsk X Y [minX minY maxX maxY]: the WGS84 position (degrees, metres) on the
// national grid, x to target X and y to target Y; 1, or 0 when the point lies outside the box
// (a box with maxX or maxY not positive is none) or the conversion does not settle (the targets
// then keep their values). Any other word 6 gives 0.
Result ConvJtsk(FunctionContext& c) {
    if (c.RawText(6) != "jtsk") return 0.0;
    const auto point = Wgs84ToGridPoint(c.Val(3), c.Val(4), c.Val(5));
    if (!point) return 0.0;
    if (!std::isfinite(point->x) || !std::isfinite(point->y)) return c.Fail("Math error");
    if (!c.engine.StoreTarget(7, point->x) || !c.engine.StoreTarget(8, point->y)) return std::nullopt;
    return InGridBox(*point, {c.Val(9), c.Val(10), c.Val(11), c.Val(12)}) ? 1.0 : 0.0;
}

constexpr NumericFunctionEntry kMath[] = {
    {"conv", ConvJtsk},
    {"isec", Isec},
    {"pi", Pi},     {"not", Not},   {"int", Int},   {"abs", Abs}, {"min", Min}, {"max", Max},
    {"rnd", Rnd},   {"dist", Dist}, {"angle", Angle}, {"sqrt", Sqrt}, {"dgr", Dgr}, {"rad", Rad},
    {"cos", Cos},   {"sin", Sin},   {"tan", Tan},   {"acs", Acs}, {"asn", Asn}, {"atn", Atn},
    {"ctn", Ctn},   {"pwr", Pwr},   {"exp", Exp},   {"ln", Ln},
};

}  // namespace

std::span<const NumericFunctionEntry> MathFunctions() { return kMath; }

}  // namespace linework
