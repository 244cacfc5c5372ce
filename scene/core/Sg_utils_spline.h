// TsgSpline: the natural cubic spline through a polygon's points, point i at parameter t = i,
// along which path animations move. X and Y are splined separately.
//
// Each segment is kept as its cubic in the local parameter s = t - j, in double precision: a
// cubic expanded in powers of the global parameter loses every digit to cancellation once t
// reaches the hundreds (a long path would miss its own points by pixels to thousands of pixels).
#pragma once

#include "scene/core/Sg_scene_types.h"

#include <array>
#include <vector>

class TsgSpline {
public:
    explicit TsgSpline(const TsgPolygon& Polygon);

    // The point at parameter t; outside 0..n-1 the end segments are extended. A spline of fewer
    // than two points answers (0, 0).
    void SplineXY(float t, float& X, float& Y) const;

    int PointCount() const { return count_; }
    // (a, b, c, d) of segment j in powers of the global parameter: ((a*t + b)*t + c)*t + d.
    // Derived from the local form for callers that want the expanded coefficients; evaluation
    // never uses them.
    std::vector<std::array<float, 4>> CoefficientsX() const { return Expanded(x_); }
    std::vector<std::array<float, 4>> CoefficientsY() const { return Expanded(y_); }

private:
    // (y(j), D(j), c2, c3) of segment j: y(j) + D(j)*s + c2*s^2 + c3*s^3.
    using Segment = std::array<double, 4>;
    static std::vector<Segment> Solve(const std::vector<double>& values);
    static std::vector<std::array<float, 4>> Expanded(const std::vector<Segment>& Segments);

    int count_;
    std::vector<Segment> x_;
    std::vector<Segment> y_;
};
