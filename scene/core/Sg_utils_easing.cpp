#include "scene/core/Sg_utils_easing.h"

#include <cmath>
#include <numbers>

namespace {

constexpr double Pi = std::numbers::pi;

double BounceOut(double t, double b, double c, double d) {
    double p = t / d;
    if (p < 1 / 2.75)
        return c * 7.5625 * p * p + b;
    if (p < 2 / 2.75) {
        p -= 1.5 / 2.75;
        return c * (7.5625 * p * p + 0.75) + b;
    }
    if (p < 2.5 / 2.75) {
        p -= 2.25 / 2.75;
        return c * (7.5625 * p * p + 0.9375) + b;
    }
    p -= 2.625 / 2.75;
    return c * (7.5625 * p * p + 0.984375) + b;
}

double BounceIn(double t, double b, double c, double d) {
    return c - BounceOut(d - t, 0, c, d) + b;
}

} // namespace

double sgInterpolateLinear(double t, double b, double c, double d) {
    return c * t / d + b;
}

double sgInterpolateQuad(double t, double b, double c, double d, TsgAnimationType AType) {
    double p = t / d, h = t / (d / 2);
    switch (AType) {
    case sgAnimationIn:
        return c * p * p + b;
    case sgAnimationOut:
        return -c * p * (p - 2) + b;
    case sgAnimationInOut:
        if (h < 1)
            return c / 2 * h * h + b;
        h -= 1;
        return -c / 2 * (h * (h - 2) - 1) + b;
    }
    return 0;
}

double sgInterpolateCubic(double t, double b, double c, double d, TsgAnimationType AType) {
    double p = t / d, q = p - 1, h = t / (d / 2);
    switch (AType) {
    case sgAnimationIn:
        return c * p * p * p + b;
    case sgAnimationOut:
        return c * (q * q * q + 1) + b;
    case sgAnimationInOut:
        if (h < 1)
            return c / 2 * h * h * h + b;
        h -= 2;
        return c / 2 * (h * h * h + 2) + b;
    }
    return 0;
}

double sgInterpolateQuart(double t, double b, double c, double d, TsgAnimationType AType) {
    double p = t / d, q = p - 1, h = t / (d / 2);
    switch (AType) {
    case sgAnimationIn:
        return c * p * p * p * p + b;
    case sgAnimationOut:
        return -c * (q * q * q * q - 1) + b;
    case sgAnimationInOut:
        if (h < 1)
            return c / 2 * h * h * h * h + b;
        h -= 2;
        return -c / 2 * (h * h * h * h - 2) + b;
    }
    return 0;
}

double sgInterpolateQuint(double t, double b, double c, double d, TsgAnimationType AType) {
    double p = t / d, q = p - 1, h = t / (d / 2);
    switch (AType) {
    case sgAnimationIn:
        return c * p * p * p * p * p + b;
    case sgAnimationOut:
        return c * (q * q * q * q * q + 1) + b;
    case sgAnimationInOut:
        if (h < 1)
            return c / 2 * h * h * h * h * h + b;
        h -= 2;
        return c / 2 * (h * h * h * h * h + 2) + b;
    }
    return 0;
}

double sgInterpolateSine(double t, double b, double c, double d, TsgAnimationType AType) {
    double p = t / d;
    switch (AType) {
    case sgAnimationIn:
        return -c * std::cos(p * Pi / 2) + c + b;
    case sgAnimationOut:
        return c * std::sin(p * Pi / 2) + b;
    case sgAnimationInOut:
        return -c / 2 * (std::cos(Pi * p) - 1) + b;
    }
    return 0;
}

double sgInterpolateExpo(double t, double b, double c, double d, TsgAnimationType AType) {
    double p = t / d, h = t / (d / 2);
    switch (AType) {
    case sgAnimationIn:
        return t == 0 ? b : c * std::pow(2, 10 * (p - 1)) + b;
    case sgAnimationOut:
        return t == d ? b + c : c * (1 - std::pow(2, -10 * p)) + b;
    case sgAnimationInOut:
        if (t == 0)
            return b;
        if (t == d)
            return b + c;
        if (h < 1)
            return c / 2 * std::pow(2, 10 * (h - 1)) + b;
        return c / 2 * (2 - std::pow(2, -10 * (h - 1))) + b;
    }
    return 0;
}

double sgInterpolateCirc(double t, double b, double c, double d, TsgAnimationType AType) {
    double p = t / d, q = p - 1, h = t / (d / 2);
    switch (AType) {
    case sgAnimationIn:
        return -c * (std::sqrt(1 - p * p) - 1) + b;
    case sgAnimationOut:
        return c * std::sqrt(1 - q * q) + b;
    case sgAnimationInOut:
        if (h < 1)
            return -c / 2 * (std::sqrt(1 - h * h) - 1) + b;
        h -= 2;
        return c / 2 * (std::sqrt(1 - h * h) + 1) + b;
    }
    return 0;
}

double sgInterpolateBounce(double t, double b, double c, double d, TsgAnimationType AType) {
    switch (AType) {
    case sgAnimationIn:
        return BounceIn(t, b, c, d);
    case sgAnimationOut:
        return BounceOut(t, b, c, d);
    case sgAnimationInOut:
        if (t < d / 2)
            return BounceIn(2 * t, 0, c, d) * 0.5 + b;
        return BounceOut(2 * t - d, 0, c, d) * 0.5 + c * 0.5 + b;
    }
    return 0;
}

double sgInterpolateBack(double t, double b, double c, double d, double s, TsgAnimationType AType) {
    if (s == 0)
        s = 1.70158;
    double p = t / d, q = p - 1, h = t / (d / 2);
    switch (AType) {
    case sgAnimationIn:
        return c * p * p * ((s + 1) * p - s) + b;
    case sgAnimationOut:
        return c * (q * q * ((s + 1) * q + s) + 1) + b;
    case sgAnimationInOut:
        s *= 1.525;
        if (h < 1)
            return c / 2 * (h * h * ((s + 1) * h - s)) + b;
        h -= 2;
        return c / 2 * (h * h * ((s + 1) * h + s) + 2) + b;
    }
    return 0;
}

double sgInterpolateElastic(double t, double b, double c, double d, double a, double p,
                            TsgAnimationType AType) {
    if (AType != sgAnimationIn && AType != sgAnimationOut && AType != sgAnimationInOut)
        return 0;
    if (p == 0)
        p = AType == sgAnimationInOut ? d * 0.45 : d * 0.3;
    double sigma;
    if (a == 0 || a < std::abs(c)) {
        a = c;
        sigma = p / 4;
    } else {
        sigma = p / (2 * Pi) * std::asin(c / a);
    }
    if (t == 0)
        return b;
    if (AType == sgAnimationInOut) {
        double h = t / (d / 2);
        if (h == 2)
            return b + c;
        double q = h - 1;
        double wave = std::sin((q * d - sigma) * 2 * Pi / p);
        if (h < 1)
            return -0.5 * a * std::pow(2, 10 * q) * wave + b;
        return 0.5 * a * std::pow(2, -10 * q) * wave + c + b;
    }
    double r = t / d;
    if (r == 1)
        return b + c;
    if (AType == sgAnimationIn) {
        double q = r - 1;
        return -(a * std::pow(2, 10 * q) * std::sin((q * d - sigma) * 2 * Pi / p)) + b;
    }
    return a * std::pow(2, -10 * r) * std::sin((r * d - sigma) * 2 * Pi / p) + c + b;
}
