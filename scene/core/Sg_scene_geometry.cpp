#include "scene/core/Sg_scene_geometry.h"

#include <algorithm>
#include <cmath>

namespace {

float F(double v) {
    return static_cast<float>(v);
}

double RoundHalfEven(double v) {
    return std::nearbyint(v);
}

} // namespace

float sgRadToDeg(float X) {
    return F(double(X) * c180divPI);
}

float sgDegToRad(float X) {
    return F(double(X) * cPIdiv180);
}

void sgSinCos(float Angle, float& Sin, float& Cos) {
    Sin = F(std::sin(double(Angle)));
    Cos = F(std::cos(double(Angle)));
}

float sgNormalizeAngle(float A) {
    double r = double(A) - std::trunc(double(A) / 360) * 360;
    if (r < -180)
        r += 360;
    return F(r);
}

TsgPoint sgPoint(float X, float Y) {
    return {X, Y};
}

TsgRect sgRect(float L, float T, float R, float B) {
    return {L, T, R, B};
}

TsgPoint sgScalePoint(const TsgPoint& P, float dX, float dY) {
    return {F(double(P.X) * dX), F(double(P.Y) * dY)};
}

TsgPoint sgPointFromVector(const TsgVector& V) {
    return {V.X, V.Y};
}

void sgOffsetRect(TsgRect& R, float dX, float dY) {
    R.Left += dX;
    R.Right += dX;
    R.Top += dY;
    R.Bottom += dY;
}

void sgInflateRect(TsgRect& R, float dX, float dY) {
    R.Left -= dX;
    R.Right += dX;
    R.Top -= dY;
    R.Bottom += dY;
}

void sgMultiplyRect(TsgRect& R, float dX, float dY) {
    R.Left *= dX;
    R.Right *= dX;
    R.Top *= dY;
    R.Bottom *= dY;
}

float sgRectWidth(const TsgRect& R) {
    return R.Right - R.Left;
}

float sgRectHeight(const TsgRect& R) {
    return R.Bottom - R.Top;
}

bool sgIsRectEmpty(const TsgRect& R) {
    return !(sgRectWidth(R) > 0 && sgRectHeight(R) > 0);
}

TsgRect sgUnionRect(const TsgRect& R1, const TsgRect& R2) {
    return {std::min(R1.Left, R2.Left), std::min(R1.Top, R2.Top), std::max(R1.Right, R2.Right),
            std::max(R1.Bottom, R2.Bottom)};
}

bool sgIntersectRect(const TsgRect& R1, const TsgRect& R2) {
    return !(R1.Left > R2.Right || R1.Right < R2.Left || R1.Top > R2.Bottom || R1.Bottom < R2.Top);
}

bool sgIntersectRect(TsgRect& D, const TsgRect& R1, const TsgRect& R2) {
    if (!sgIntersectRect(R1, R2)) {
        D = NullRect;
        return false;
    }
    D = {std::max(R1.Left, R2.Left), std::max(R1.Top, R2.Top), std::min(R1.Right, R2.Right),
         std::min(R1.Bottom, R2.Bottom)};
    return true;
}

bool sgPtInRect(const TsgPoint& P, const TsgRect& R) {
    return R.Left <= P.X && P.X <= R.Right && R.Top <= P.Y && P.Y <= R.Bottom;
}

TsgRect sgNormalizeRect(const TsgPoint* Points, int Count) {
    TsgRect r{251658240.0f, 251658240.0f, -251658240.0f, -251658240.0f};
    for (int i = 0; i < Count; ++i) {
        r.Left = std::min(r.Left, Points[i].X);
        r.Top = std::min(r.Top, Points[i].Y);
        r.Right = std::max(r.Right, Points[i].X);
        r.Bottom = std::max(r.Bottom, Points[i].Y);
    }
    return r;
}

TsgRect sgNormalizeRect(const TsgPolygon& Points) {
    return sgNormalizeRect(Points.data(), static_cast<int>(Points.size()));
}

TsgRect sgNormalizeRect2(const TsgRect& R) {
    TsgPoint corners[4] = {
        {R.Left, R.Top}, {R.Right, R.Top}, {R.Right, R.Bottom}, {R.Left, R.Bottom}};
    return sgNormalizeRect(corners, 4);
}

TsgRect sgRectCenter(TsgRect& R, const TsgRect& Bounds) {
    float w = sgRectWidth(R), h = sgRectHeight(R);
    R = {0, 0, w, h};
    sgOffsetRect(R, F(RoundHalfEven((double(sgRectWidth(Bounds)) - w) / 2)),
                 F(RoundHalfEven((double(sgRectHeight(Bounds)) - h) / 2)));
    sgOffsetRect(R, Bounds.Left, Bounds.Top);
    return R;
}

float sgFitRect(TsgRect& R, const TsgRect& Bounds) {
    double bw = sgRectWidth(Bounds), bh = sgRectHeight(Bounds);
    if (bw * bh == 0)
        return 1;
    double w = sgRectWidth(R), h = sgRectHeight(R);
    double ratio = std::max(w / bw, h / bh);
    if (ratio >= 1)
        R = {0, 0, F(RoundHalfEven(w / ratio)), F(RoundHalfEven(h / ratio))};
    else
        R = {0, 0, F(w), F(h)};
    sgRectCenter(R, Bounds);
    return F(ratio);
}

bool sgIntersectIntRect(TsgIntRect& D, const TsgIntRect& R1, const TsgIntRect& R2) {
    D = {std::max(R1.Left, R2.Left), std::max(R1.Top, R2.Top), std::min(R1.Right, R2.Right),
         std::min(R1.Bottom, R2.Bottom)};
    if (D.Left < D.Right && D.Top < D.Bottom)
        return true;
    D = {};
    return false;
}

TsgMatrix sgMatrixMultiply(const TsgMatrix& M1, const TsgMatrix& M2) {
    TsgMatrix r;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) {
            double sum = 0;
            for (int k = 0; k < 3; ++k)
                sum += double(M1(i, k)) * M2(k, j);
            r(i, j) = F(sum);
        }
    return r;
}

namespace {

double Det2(double a, double b, double c, double d) {
    return a * d - b * c;
}

double Determinant(const TsgMatrix& m) {
    return m.m11 * Det2(m.m22, m.m23, m.m32, m.m33) - m.m12 * Det2(m.m21, m.m23, m.m31, m.m33) +
           m.m13 * Det2(m.m21, m.m22, m.m31, m.m32);
}

} // namespace

float sgMatrixDeterminant(const TsgMatrix& M) {
    return F(Determinant(M));
}

void sgAdjointMatrix(TsgMatrix& M) {
    const TsgMatrix m = M;
    M.m11 = F(Det2(m.m22, m.m23, m.m32, m.m33));
    M.m12 = F(-Det2(m.m12, m.m13, m.m32, m.m33));
    M.m13 = F(Det2(m.m12, m.m13, m.m22, m.m23));
    M.m21 = F(-Det2(m.m21, m.m23, m.m31, m.m33));
    M.m22 = F(Det2(m.m11, m.m13, m.m31, m.m33));
    M.m23 = F(-Det2(m.m11, m.m13, m.m21, m.m23));
    M.m31 = F(Det2(m.m21, m.m22, m.m31, m.m32));
    M.m32 = F(-Det2(m.m11, m.m12, m.m31, m.m32));
    M.m33 = F(Det2(m.m11, m.m12, m.m21, m.m22));
}

void sgScaleMatrix(TsgMatrix& M, float F_) {
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            M(i, j) = F(double(M(i, j)) * F_);
}

void sgInvertMatrix(TsgMatrix& M) {
    double det = Determinant(M);
    if (std::abs(det) < Epsilon) {
        M = IdentityMatrix;
        return;
    }
    sgAdjointMatrix(M);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            M(i, j) = F(double(M(i, j)) / det);
}

TsgMatrix sgCreateRotationMatrix(float Angle) {
    float s, c;
    sgSinCos(Angle, s, c);
    TsgMatrix m;
    m.m11 = c;
    m.m12 = s;
    m.m21 = -s;
    m.m22 = c;
    m.m33 = 1;
    return m;
}

TsgMatrix sgTurnAboutCentreMatrix(float Width, float Height, float AngleDegrees, TsgRect& Turned) {
    TsgMatrix m = IdentityMatrix;
    m.m31 = -Width / 2;
    m.m32 = -Height / 2;
    m = sgMatrixMultiply(m, sgCreateRotationMatrix(sgDegToRad(AngleDegrees)));
    TsgPoint corners[4] = {{0, 0}, {Width, 0}, {Width, Height}, {0, Height}};
    for (TsgPoint& c : corners)
        c = sgPointFromVector(sgVectorTransform(sgVector(c), m));
    Turned = sgNormalizeRect(corners, 4);
    TsgMatrix move = IdentityMatrix;
    move.m31 = sgRectWidth(Turned) / 2;
    move.m32 = sgRectHeight(Turned) / 2;
    return sgMatrixMultiply(m, move);
}

TsgVector sgVector(float X, float Y, float W) {
    return {X, Y, W};
}

TsgVector sgVector(const TsgPoint& P, float W) {
    return {P.X, P.Y, W};
}

TsgVector sgVectorTransform(const TsgVector& V, const TsgMatrix& M) {
    return {F(double(V.X) * M.m11 + double(V.Y) * M.m21 + double(V.W) * M.m31),
            F(double(V.X) * M.m12 + double(V.Y) * M.m22 + double(V.W) * M.m32), 1};
}

TsgVector sgVectorAdd(const TsgVector& V1, const TsgVector& V2) {
    return {V1.X + V2.X, V1.Y + V2.Y, 1};
}

TsgVector sgVectorSubtract(const TsgVector& V1, const TsgVector& V2) {
    return {V1.X - V2.X, V1.Y - V2.Y, 1};
}

TsgVector sgVectorScale(const TsgVector& V, float Factor) {
    return {F(double(V.X) * Factor), F(double(V.Y) * Factor), 1};
}

float sgVectorNorm(const TsgVector& V) {
    return F(double(V.X) * V.X + double(V.Y) * V.Y);
}

float sgVectorLength(const TsgVector& V) {
    return F(std::sqrt(double(V.X) * V.X + double(V.Y) * V.Y));
}

TsgVector sgVectorNormalize(const TsgVector& V) {
    double length = std::sqrt(double(V.X) * V.X + double(V.Y) * V.Y);
    double k = length == 0 ? 1 : 1 / length;
    return {F(V.X * k), F(V.Y * k), 0};
}

float sgVectorDotProduct(const TsgVector& V1, const TsgVector& V2) {
    return F(double(V1.X) * V2.X + double(V1.Y) * V2.Y);
}

float sgVectorCrossProductZ(const TsgVector& V1, const TsgVector& V2) {
    return F(double(V1.X) * V2.Y - double(V1.Y) * V2.X);
}

float sgVectorAngleCosine(const TsgVector& V1, const TsgVector& V2) {
    double l1 = sgVectorLength(V1), l2 = sgVectorLength(V2);
    if (l1 == 0 || l2 == 0)
        return 0;
    return F(sgVectorDotProduct(V1, V2) / (l1 * l2));
}

TsgVector sgVectorCombine2(const TsgVector& V1, const TsgVector& V2, float F1, float F2) {
    return {F(double(F1) * V1.X + double(F2) * V2.X), F(double(F1) * V1.Y + double(F2) * V2.Y), 1};
}

TsgVector sgVectorReflect(const TsgVector& V, const TsgVector& N) {
    return sgVectorCombine2(V, N, 1, F(-2.0 * sgVectorDotProduct(V, N)));
}

float sgVectorAngle(const TsgVector& V1, const TsgVector& V2) {
    // Rounding may push the cosine a hair outside [-1, 1], where ArcCos has no value.
    double cosine = std::clamp(double(sgVectorAngleCosine(V1, V2)), -1.0, 1.0);
    double degrees = std::acos(cosine) * c180divPI;
    return F(sgVectorCrossProductZ(V1, V2) >= 0 ? -degrees : degrees);
}

float sgInterpolateSingle(float Start, float Stop, float T) {
    return F(Start + (double(Stop) - Start) * T);
}

float sgInterpolateRotation(float Start, float Stop, float T) {
    return sgInterpolateSingle(Start, Stop, T);
}
