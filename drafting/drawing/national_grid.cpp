#include "drawing/national_grid.h"

#include <cmath>

#include "drawing/angles.h"

namespace linework {

namespace {

using Real = long double;  // extended precision where the hardware has it

double D(Real value) { return static_cast<double>(value); }

// WGS84.
constexpr Real kWgsMajor = 6378137.0L;
constexpr Real kWgsMinor = 6356752.31425L;
// The seven-parameter shift to the Bessel datum: scale, rotations (radians), translations (m).
constexpr Real kShiftScale = 0.99999261L;
constexpr Real kRotationZ = 2.495151863188e-5L;
constexpr Real kRotationY = 3.8299999998721e-6L;
constexpr Real kRotationX = 3.1619999999999e-5L;
constexpr Real kShiftX = 574.4L, kShiftY = 119.4L, kShiftZ = 421.6L;
// Bessel: the ratio of its axes and its major axis.
constexpr Real kBesselAxisRatio = 0.99665722681815124026L;
constexpr Real kBesselMajor = 6377397.15508L;
constexpr int kLatitudeRounds = 100;
constexpr Real kLatitudeTolerance = 1e-16L;
// The Gaussian sphere, the cone's pole and its standard parallel.
constexpr Real kPoleLatitude = 59.71186025L;
constexpr Real kStandardParallel = 78.5L;
constexpr Real kSphereRadius = 6380065.54013895L;

struct Geocentric {
    double x, y, z;
};

// Steps 1 to 4: geocentric coordinates on WGS84.
Geocentric ToGeocentric(double latitude, double longitude, double height) {
    const double phi = D(DegToRad(latitude));
    const double lambda = D(DegToRad(longitude));
    const double e = D(std::sqrt(1 - kWgsMinor * kWgsMinor / (kWgsMajor * kWgsMajor)));
    const Real e2 = static_cast<Real>(e) * e;
    const Real sinPhi = std::sin(static_cast<Real>(phi));
    const Real cosPhi = std::cos(static_cast<Real>(phi));
    const double n = D(kWgsMajor / std::sqrt(1 - e2 * sinPhi * sinPhi));
    return {D((n + static_cast<Real>(height)) * cosPhi * std::cos(static_cast<Real>(lambda))),
            D((n + static_cast<Real>(height)) * cosPhi * std::sin(static_cast<Real>(lambda))),
            D(((1 - e2) * n + height) * sinPhi)};
}

// Step 5: to the Bessel datum.
Geocentric ToBesselDatum(const Geocentric& p) {
    const Real x = p.x, y = p.y, z = p.z;
    return {D(kShiftScale * (x + kRotationZ * y - kRotationY * z) - kShiftX),
            D(kShiftScale * (y - kRotationZ * x + kRotationX * z) - kShiftY),
            D(kShiftScale * (kRotationY * x - kRotationX * y + z) - kShiftZ)};
}

}  // namespace

std::optional<GridPoint> Wgs84ToGridPoint(double latitude, double longitude, double height) {
    const Geocentric b = ToBesselDatum(ToGeocentric(latitude, longitude, height));

    // Step 6: latitude and longitude on the Bessel ellipsoid; the latitude by iteration.
    const double p = D(std::sqrt(static_cast<Real>(b.x) * b.x + static_cast<Real>(b.y) * b.y));
    const double lambdaB = D(2 * RadToDeg(std::atan(static_cast<Real>(b.y) / (static_cast<Real>(b.x) + p))));
    const Real e2B = D(1 - kBesselAxisRatio * kBesselAxisRatio);
    const Real z = b.z;
    Real t = z / ((1 - e2B) * p);
    Real next = t;
    bool settled = false;
    for (int round = 0; round < kLatitudeRounds; ++round) {
        next = z / (p - kBesselMajor * e2B / std::sqrt(1 + (1 - e2B) * t * t));
        if (std::fabs(next - t) <= kLatitudeTolerance) {
            settled = true;
            break;
        }
        t = next;
    }
    if (!settled) return std::nullopt;
    const Real delta = D(RadToDeg(std::atan(next)) - 49.5L);
    const Real delta2 = D(delta * delta);
    const Real delta3 = D(delta2 * delta);

    // Step 7: latitude on the Gaussian sphere.
    const Real u = D(DegToRad(49.45995729L + 0.998585979496L * delta + 8.650351075e-5L * delta2 -
                              1.510901e-7L * delta3 - 1.173673e-8L * delta2 * delta2 - 1.8e-12L * delta3 * delta2));
    // Step 8: longitude from the cone's axis.
    const Real dv = D(DegToRad(42.5253936805556L - (17.666666667L + lambdaB) * 1.000597498372L));
    // Step 9: to the cone's pole.
    const Real poleU = DegToRad(kPoleLatitude);
    const Real sRadians = ArcSine(D(std::sin(poleU) * std::sin(u) + std::cos(poleU) * std::cos(u) * std::cos(dv)));
    const Real d = D(RadToDeg(ArcSine(D(std::cos(u) / std::cos(sRadians) * std::sin(dv)))));
    const Real s = D(RadToDeg(sRadians));
    // Step 10: onto the cone.
    const Real n = D(std::sin(DegToRad(kStandardParallel)));
    const Real rho0 = D(Cotangent(DegToRad(kStandardParallel)) * kSphereRadius);
    const Real rho = D(std::pow(Tangent(DegToRad(kStandardParallel / 2 + 45)) / Tangent(DegToRad(s / 2 + 45)), n) * rho0);
    const Real epsilon = D(DegToRad(n * d));
    return GridPoint{D(rho * std::cos(epsilon)), D(rho * std::sin(epsilon))};
}

bool InGridBox(const GridPoint& p, const GridBox& box) {
    if (box.maxX <= 0 || box.maxY <= 0) return true;
    return !(p.x < box.minX || p.y < box.minY || p.x > box.maxX || p.y > box.maxY);
}

bool Wgs84ToNationalGrid(double& x, double& y, double latitude, double longitude, double height,
                         const GridBox& box) {
    const std::optional<GridPoint> point = Wgs84ToGridPoint(latitude, longitude, height);
    if (!point) return false;
    x = point->x;
    y = point->y;
    return InGridBox(*point, box);
}

}  // namespace linework
