// Plane geometry of the drafting program: intersections of lines and circles, sorting of number
// and point arrays, normalised rectangles. Intersections work through slopes, exactly, with no
// tolerance; segment tests include both ends.
#ifndef LINEWORK_DRAWING_GEOMETRY_H
#define LINEWORK_DRAWING_GEOMETRY_H

#include <array>
#include <cstdint>
#include <span>

namespace linework {

struct Point {
    double x = 0;
    double y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

// Flags of IntersectLines: the point must lie on segment P1-P2, on segment P3-P4.
inline constexpr uint32_t kOnFirstSegment = 1;
inline constexpr uint32_t kOnSecondSegment = 2;

// The intersection of line P1-P2 with line P3-P4 in 'at'. False for parallel lines ('at' not
// written) and when a demanded segment test fails ('at' written all the same). Slopes are taken
// only of lines that are not vertical.
bool IntersectLines(Point p1, Point p2, Point p3, Point p4, uint32_t flags, Point& at);

// Up to two points; 'count' of them are valid.
struct Crossings {
    std::array<Point, 2> points{};
    int count = 0;
};

// Line P1-P2 with the circle; with 'onSegment' only points within the segment's bounding box.
Crossings IntersectLineCircle(Point p1, Point p2, Point centre, double radius, bool onSegment);

// Two circles; tangent circles give one point, the same centre none.
Crossings IntersectCircles(Point c1, double r1, Point c2, double r2);

// Ascending sorts of the elements low..high inclusive (both within the span, else nothing is
// sorted); the order of equal keys is not kept.
void SortNumberArray(std::span<double> numbers, int32_t low, int32_t high);
void SortPoints(std::span<Point> points, int32_t low, int32_t high, bool byY);

struct IntRect {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
};
struct Box {
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};

// Swapped so that left <= right and top <= bottom (x1 <= x2, y1 <= y2).
void NormalizeIntRect(IntRect& rect);
void NormalizeBox(Box& box);

}  // namespace linework

#endif
