// TsgSpline: the natural cubic spline through a polygon's points, point i at parameter t = i,
// along which path animations move. X and Y are splined separately; each segment keeps four
// single-precision coefficients of its cubic in the global parameter.
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
    // (a, b, c, d) of segment j: ((a*t + b)*t + c)*t + d.
    const std::vector<std::array<float, 4>>& CoefficientsX() const { return x_; }
    const std::vector<std::array<float, 4>>& CoefficientsY() const { return y_; }

private:
    static std::vector<std::array<float, 4>> Solve(const std::vector<double>& values);

    int count_;
    std::vector<std::array<float, 4>> x_;
    std::vector<std::array<float, 4>> y_;
};
