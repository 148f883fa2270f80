#include "drawing/national_grid.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace linework {
namespace {

// Positions over the grid's area and their grid coordinates, computed apart from the program by
// tools/national_grid_reference.py (the same definition at 40 digits, without the roundings to
// doubles, which move the result by far less than the tolerance).
struct Reference {
    double latitude, longitude, height, x, y;
};
const std::vector<Reference> kReferences = {
    {50.0875, 14.4213, 300, 1043009.487408273, 742805.1904567241},
    {49.1951, 16.6068, 0, 1160744.76520738, 598249.0586890276},
    {49.1951, 16.6068, 1000, 1160744.780198006, 598249.067979069},
    {48.5, 12.1, 250, 1191910.803652232, 936475.5967403135},
    {51.05, 18.86, 0, 970230.8749166473, 418684.1924890437},
    {50, 15, -50, 1058147.345177944, 703011.4399474789},
    {49.0, 13.5, 0, 1153226.41234129, 826020.1675611726},
    {50.7, 15.7, 1602, 987065.207542971, 643919.0271620526},
    {48.55, 17.5, 150, 1238764.627239082, 540361.7954560407},
};

TEST(NationalGrid, PositionsLandWhereTheReferenceComputationPutsThem) {
    for (const Reference& r : kReferences) {
        double x = 0, y = 0;
        EXPECT_TRUE(Wgs84ToNationalGrid(x, y, r.latitude, r.longitude, r.height)) << r.latitude << " " << r.longitude;
        EXPECT_NEAR(x, r.x, 1e-4) << r.latitude << " " << r.longitude;
        EXPECT_NEAR(y, r.y, 1e-4) << r.latitude << " " << r.longitude;
    }
}

TEST(NationalGrid, HeightMovesThePointOnlyThroughTheDatumShift) {
    auto low = Wgs84ToGridPoint(49.1951, 16.6068, 0);
    auto high = Wgs84ToGridPoint(49.1951, 16.6068, 1000);
    ASSERT_TRUE(low && high);
    EXPECT_NE(low->x, high->x);
    EXPECT_LT(std::hypot(high->x - low->x, high->y - low->y), 0.1) << "a kilometre up is no kilometre on the grid";
}

TEST(NationalGrid, TheBoxTakesItsEdgesAndANonPositiveMaximumTestsNothing) {
    const auto p = Wgs84ToGridPoint(50.0875, 14.4213, 300);
    ASSERT_TRUE(p);
    const double below = -INFINITY, above = INFINITY;
    struct Case {
        GridBox box;
        bool inside;
        const char* what;
    };
    const std::vector<Case> cases = {
        {{p->x, p->y, p->x, p->y}, true, "a box of the point alone"},
        {{std::nextafter(p->x, above), 0, 2e6, 2e6}, false, "minX just above x"},
        {{0, std::nextafter(p->y, above), 2e6, 2e6}, false, "minY just above y"},
        {{0, 0, std::nextafter(p->x, below), 2e6}, false, "maxX just below x"},
        {{0, 0, 2e6, std::nextafter(p->y, below)}, false, "maxY just below y"},
        {{2e6, 2e6, 0, 5}, true, "maxX 0: no test"},
        {{2e6, 2e6, 5, -1}, true, "maxY negative: no test"},
        {{2e6, 2e6, 5, 5}, false, "a positive box elsewhere"},
    };
    for (const Case& c : cases) {
        double x = 0, y = 0;
        EXPECT_EQ(Wgs84ToNationalGrid(x, y, 50.0875, 14.4213, 300, c.box), c.inside) << c.what;
        EXPECT_EQ(x, p->x) << c.what << ": written inside or out";
        EXPECT_EQ(y, p->y) << c.what;
    }
}

}  // namespace
}  // namespace linework
