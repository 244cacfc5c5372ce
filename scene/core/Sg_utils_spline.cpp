#include "scene/core/Sg_utils_spline.h"

#include <algorithm>
#include <cmath>

TsgSpline::TsgSpline(const TsgPolygon& Polygon) : count_(static_cast<int>(Polygon.size())) {
    if (count_ < 2)
        return;
    std::vector<double> xs, ys;
    for (const TsgPoint& p : Polygon) {
        xs.push_back(p.X);
        ys.push_back(p.Y);
    }
    x_ = Solve(xs);
    y_ = Solve(ys);
}

std::vector<TsgSpline::Segment> TsgSpline::Solve(const std::vector<double>& y) {
    size_t n = y.size();
    // Right-hand side of the derivative form of the natural spline.
    std::vector<double> r(n);
    r[0] = 3 * (y[1] - y[0]);
    for (size_t i = 1; i + 1 < n; ++i)
        r[i] = 3 * (y[i + 1] - y[i - 1]);
    r[n - 1] = 3 * (y[n - 1] - y[n - 2]);
    // Cholesky factor of the tridiagonal matrix (diagonal 2, 4, ..., 4, 2; off-diagonal 1):
    // pivots l[i] on the diagonal, reciprocals e[i] = 1 / l[i - 1] below it.
    std::vector<double> l(n), e(n, 0.0);
    l[0] = std::sqrt(2.0);
    for (size_t i = 1; i < n; ++i) {
        e[i] = 1 / l[i - 1];
        l[i] = std::sqrt((i + 1 == n ? 2.0 : 4.0) - e[i] * e[i]);
    }
    std::vector<double> z(n), D(n);
    z[0] = r[0] / l[0];
    for (size_t i = 1; i < n; ++i)
        z[i] = (r[i] - e[i] * z[i - 1]) / l[i];
    D[n - 1] = z[n - 1] / l[n - 1];
    for (size_t i = n - 1; i-- > 0;)
        D[i] = (z[i] - e[i + 1] * D[i + 1]) / l[i];

    std::vector<Segment> segments(n - 1);
    for (size_t j = 0; j + 1 < n; ++j) {
        const double delta = y[j + 1] - y[j];
        const double c2 = 3 * delta - 2 * D[j] - D[j + 1];
        const double c3 = D[j] + D[j + 1] - 2 * delta;
        segments[j] = {y[j], D[j], c2, c3};
    }
    return segments;
}

std::vector<std::array<float, 4>> TsgSpline::Expanded(const std::vector<Segment>& Segments) {
    std::vector<std::array<float, 4>> expanded;
    expanded.reserve(Segments.size());
    for (size_t j = 0; j < Segments.size(); ++j) {
        const auto& [y, d, c2, c3] = Segments[j];
        const double J = static_cast<double>(j);
        expanded.push_back({static_cast<float>(c3), static_cast<float>(c2 - 3 * c3 * J),
                            static_cast<float>(d - 2 * c2 * J + 3 * c3 * J * J),
                            static_cast<float>(y - d * J + c2 * J * J - c3 * J * J * J)});
    }
    return expanded;
}

void TsgSpline::SplineXY(float t, float& X, float& Y) const {
    if (count_ < 2) {
        X = Y = 0;
        return;
    }
    int last = count_ - 2;
    int segment = 0;
    if (t > static_cast<float>(count_ - 1))
        segment = last;
    else if (t > 0)
        segment = std::min(static_cast<int>(std::trunc(t)), last);
    const double s = static_cast<double>(t) - segment;
    auto eval = [s](const Segment& k) {
        return static_cast<float>(((k[3] * s + k[2]) * s + k[1]) * s + k[0]);
    };
    X = eval(x_[static_cast<size_t>(segment)]);
    Y = eval(y_[static_cast<size_t>(segment)]);
}
