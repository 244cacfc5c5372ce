// Points, rectangles, angles, matrices and vectors.
#include "scene/core/Sg_scene.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(Angles, NormalizeIntoTheHalfOpenRange) {
    struct {
        float in, out;
    } cases[] = {{-270, 90},  {450, 90}, {-90, -90}, {-180, -180},
                 {-181, 179}, {720, 0},  {359, 359}};
    for (const auto& c : cases)
        EXPECT_FLOAT_EQ(sgNormalizeAngle(c.in), c.out) << c.in;
    EXPECT_NEAR(sgRadToDeg(cPI), 180, 1e-4);
    EXPECT_NEAR(sgDegToRad(90), cPIdiv2, 1e-6);
}

TEST(Rects, EdgesAreInclusiveAndSharedEdgesIntersect) {
    TsgRect a{0, 0, 10, 10}, b{10, 0, 20, 10}, c{11, 0, 20, 10};
    EXPECT_TRUE(sgIntersectRect(a, b));
    EXPECT_FALSE(sgIntersectRect(a, c));
    TsgRect d{1, 1, 1, 1};
    EXPECT_TRUE(sgIntersectRect(d, a, TsgRect{5, -5, 15, 5}));
    EXPECT_EQ(d, (TsgRect{5, 0, 10, 5}));
    EXPECT_FALSE(sgIntersectRect(d, a, c));
    EXPECT_EQ(d, NullRect);
    EXPECT_TRUE(sgPtInRect({10, 10}, a));
    EXPECT_FALSE(sgPtInRect({10.01f, 10}, a));
    EXPECT_TRUE(sgIsRectEmpty({0, 0, 0, 5}));
    EXPECT_TRUE(sgIsRectEmpty({5, 0, 0, 5}));
    EXPECT_FALSE(sgIsRectEmpty(a));
    EXPECT_EQ(sgUnionRect(a, c), (TsgRect{0, 0, 20, 10}));
    TsgIntRect i;
    EXPECT_FALSE(sgIntersectIntRect(i, {0, 0, 10, 10}, {10, 0, 20, 10}));
    EXPECT_EQ(i, TsgIntRect{});
    EXPECT_TRUE(sgIntersectIntRect(i, {0, 0, 10, 10}, {9, 9, 20, 10}));
    EXPECT_EQ(i, (TsgIntRect{9, 9, 10, 10}));
}

TEST(Rects, ArithmeticAndBounds) {
    TsgRect r{1, 2, 3, 4};
    sgOffsetRect(r, 1, 1);
    EXPECT_EQ(r, (TsgRect{2, 3, 4, 5}));
    sgInflateRect(r, 1, 2);
    EXPECT_EQ(r, (TsgRect{1, 1, 5, 7}));
    sgMultiplyRect(r, 2, 3);
    EXPECT_EQ(r, (TsgRect{2, 3, 10, 21}));
    EXPECT_EQ(sgNormalizeRect2({10, 10, 0, 0}), (TsgRect{0, 0, 10, 10}));
    TsgPolygon none;
    EXPECT_EQ(sgNormalizeRect(none), (TsgRect{251658240, 251658240, -251658240, -251658240}));
    EXPECT_EQ(sgNormalizeRect(TsgPolygon{{3, -1}, {-2, 4}}), (TsgRect{-2, -1, 3, 4}));
}

TEST(Rects, FitScalesDownOnlyAndCentres) {
    struct {
        TsgRect in, out;
        float ratio;
    } cases[] = {
        {{0, 0, 200, 100}, {0, 25, 100, 75}, 2},
        {{0, 0, 50, 20}, {25, 40, 75, 60}, 0.5f},
        {{0, 0, 100, 100}, {0, 0, 100, 100}, 1},
        {{7, 7, 57, 17}, {25, 45, 75, 55}, 0.5f},
    };
    for (const auto& c : cases) {
        TsgRect r = c.in;
        EXPECT_FLOAT_EQ(sgFitRect(r, {0, 0, 100, 100}), c.ratio);
        EXPECT_EQ(r, c.out);
    }
    TsgRect r{0, 0, 10, 10};
    EXPECT_EQ(sgFitRect(r, {0, 0, 0, 100}), 1);
    EXPECT_EQ(r, (TsgRect{0, 0, 10, 10}));
    // Centring rounds halves to even: (100 - 25) / 2 = 37.5 goes to 38, 36.5 to 36.
    TsgRect odd{0, 0, 25, 27};
    EXPECT_EQ(sgRectCenter(odd, {0, 0, 100, 100}), (TsgRect{38, 36, 63, 63}));
}

TEST(Matrices, MultiplyInvertAndRotate) {
    TsgMatrix m{2, 0, 0, 0, 4, 0, 10, 20, 1};
    TsgMatrix inverse = m;
    sgInvertMatrix(inverse);
    TsgMatrix product = sgMatrixMultiply(m, inverse);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            EXPECT_NEAR(product(i, j), IdentityMatrix(i, j), 1e-6);
    EXPECT_FLOAT_EQ(sgMatrixDeterminant(m), 8);
    TsgMatrix singular{1, 2, 3, 2, 4, 6, 0, 0, 1};
    sgInvertMatrix(singular);
    EXPECT_EQ(singular, IdentityMatrix);
    TsgMatrix tiny{1e-14f, 0, 0, 0, 1e-14f, 0, 0, 0, 1}; // determinant 1e-28 stays invertible
    sgInvertMatrix(tiny);
    EXPECT_NEAR(tiny.m11, 1e14f, 1e8f);
    TsgMatrix denormal{1e-21f, 0, 0, 0, 1e-21f, 0, 0, 0, 1}; // 1e-42 is below Epsilon
    sgInvertMatrix(denormal);
    EXPECT_EQ(denormal, IdentityMatrix);
    // Row vectors: the translation comes last; a positive angle turns clockwise on screen.
    TsgVector p = sgVectorTransform(sgVector(1, 1), m);
    EXPECT_EQ(p, (TsgVector{12, 24, 1}));
    TsgVector turned = sgVectorTransform(sgVector(1, 0), sgCreateRotationMatrix(cPIdiv2));
    EXPECT_NEAR(turned.X, 0, 1e-6);
    EXPECT_NEAR(turned.Y, 1, 1e-6);
    TsgMatrix a = m;
    sgAdjointMatrix(a);
    sgScaleMatrix(a, 1.0f / 8);
    EXPECT_EQ(a, inverse);
}

TEST(Vectors, Operations) {
    TsgVector a = sgVector(3, 4), b = sgVector(4, -3);
    EXPECT_FLOAT_EQ(sgVectorLength(a), 5);
    EXPECT_FLOAT_EQ(sgVectorNorm(a), 25);
    EXPECT_EQ(sgVectorNormalize(a), (TsgVector{0.6f, 0.8f, 0}));
    EXPECT_EQ(sgVectorNormalize(sgVector(0, 0)), (TsgVector{0, 0, 0}));
    EXPECT_FLOAT_EQ(sgVectorDotProduct(a, b), 0);
    EXPECT_FLOAT_EQ(sgVectorCrossProductZ(a, b), -25);
    EXPECT_FLOAT_EQ(sgVectorAngleCosine(a, sgVector(0, 0)), 0);
    EXPECT_NEAR(sgVectorAngle(a, b), 90, 1e-4);
    EXPECT_NEAR(sgVectorAngle(b, a), -90, 1e-4);
    EXPECT_NEAR(sgVectorAngle(a, a), 0, 1e-3); // the cosine may round past 1
    EXPECT_EQ(sgVectorReflect(sgVector(1, -1), sgVector(0, 1)), (TsgVector{1, 1, 1}));
    EXPECT_EQ(sgVectorCombine2(a, b, 2, 1), (TsgVector{10, 5, 1}));
    EXPECT_FLOAT_EQ(sgInterpolateSingle(10, 20, 0.25f), 12.5f);
    EXPECT_FLOAT_EQ(sgInterpolateRotation(350, 10, 0.5f), 180);
}

} // namespace
