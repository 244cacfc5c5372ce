// Easing functions: the value at time t of a curve from b to b + c over the duration d.
// Animations call them with b = 0, c = 1 to get their progress. A direction outside the three
// values yields 0 (the linear curve has no direction).
#pragma once

#include "scene/core/Sg_scene_types.h"

double sgInterpolateLinear(double t, double b, double c, double d);
double sgInterpolateQuad(double t, double b, double c, double d, TsgAnimationType AType);
double sgInterpolateCubic(double t, double b, double c, double d, TsgAnimationType AType);
double sgInterpolateQuart(double t, double b, double c, double d, TsgAnimationType AType);
double sgInterpolateQuint(double t, double b, double c, double d, TsgAnimationType AType);
double sgInterpolateSine(double t, double b, double c, double d, TsgAnimationType AType);
double sgInterpolateExpo(double t, double b, double c, double d, TsgAnimationType AType);
double sgInterpolateCirc(double t, double b, double c, double d, TsgAnimationType AType);
double sgInterpolateBounce(double t, double b, double c, double d, TsgAnimationType AType);
// s is the overshoot; 0 selects 1.70158.
double sgInterpolateBack(double t, double b, double c, double d, double s, TsgAnimationType AType);
// a is the amplitude, p the period; 0 selects the defaults.
double sgInterpolateElastic(double t, double b, double c, double d, double a, double p,
                            TsgAnimationType AType);
