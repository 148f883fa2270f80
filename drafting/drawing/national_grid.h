// The national grid: a WGS84 position (latitude and longitude in degrees, ellipsoidal height in
// metres, as a GPS receiver gives it) as plane coordinates X and Y in metres of the grid (Bessel
// ellipsoid, oblique conformal conic projection). X runs southward, Y westward; both are positive
// over the grid's area.
#ifndef LINEWORK_DRAWING_NATIONAL_GRID_H
#define LINEWORK_DRAWING_NATIONAL_GRID_H

#include <optional>

namespace linework {

struct GridBox {
    double minX = 0, minY = 0, maxX = 0, maxY = 0;
};

struct GridPoint {
    double x = 0, y = 0;
};

// The position on the grid; none when the latitude iteration on the Bessel ellipsoid does not
// settle within 100 rounds. Intermediate values are kept in extended precision and rounded to
// doubles where the conversion's definition rounds them, so the results are reproducible to the
// last bit. A position far outside the grid's area may give values that are not numbers.
std::optional<GridPoint> Wgs84ToGridPoint(double latitude, double longitude, double height);

// Whether the point lies in the box, edges included; a box whose maxX or maxY is not positive
// holds every point.
bool InGridBox(const GridPoint& point, const GridBox& box);

// Both of the above: false when the iteration does not settle (x and y are then not written) or
// when the point lies outside the box (x and y written all the same).
bool Wgs84ToNationalGrid(double& x, double& y, double latitude, double longitude, double height,
                         const GridBox& box = {});

}  // namespace linework

#endif
