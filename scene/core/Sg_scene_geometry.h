// Angles, points, rectangles, matrices and vectors in single precision. Intermediate results
// are computed in double and stored as float.
#pragma once

#include "scene/core/Sg_scene_types.h"

float sgRadToDeg(float X);
float sgDegToRad(float X);
void sgSinCos(float Angle, float& Sin, float& Cos);
// Into [-180, 360).
float sgNormalizeAngle(float A);

TsgPoint sgPoint(float X, float Y);
TsgRect sgRect(float L, float T, float R, float B);
TsgPoint sgScalePoint(const TsgPoint& P, float dX, float dY);
TsgPoint sgPointFromVector(const TsgVector& V);
void sgOffsetRect(TsgRect& R, float dX, float dY);
void sgInflateRect(TsgRect& R, float dX, float dY);
void sgMultiplyRect(TsgRect& R, float dX, float dY);
float sgRectWidth(const TsgRect& R);
float sgRectHeight(const TsgRect& R);
bool sgIsRectEmpty(const TsgRect& R);
TsgRect sgUnionRect(const TsgRect& R1, const TsgRect& R2);
// Rectangles that only share an edge intersect.
bool sgIntersectRect(const TsgRect& R1, const TsgRect& R2);
bool sgIntersectRect(TsgRect& D, const TsgRect& R1, const TsgRect& R2);
bool sgPtInRect(const TsgPoint& P, const TsgRect& R);
// The bounding rectangle of the points; an empty array gives an inverted huge rectangle.
TsgRect sgNormalizeRect(const TsgPoint* Points, int Count);
TsgRect sgNormalizeRect(const TsgPolygon& Points);
TsgRect sgNormalizeRect2(const TsgRect& R);
TsgRect sgRectCenter(TsgRect& R, const TsgRect& Bounds);
float sgFitRect(TsgRect& R, const TsgRect& Bounds);

// Integer rectangles of the scene host; they must overlap by at least one unit.
struct TsgIntRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    friend bool operator==(const TsgIntRect&, const TsgIntRect&) = default;
};
bool sgIntersectIntRect(TsgIntRect& D, const TsgIntRect& R1, const TsgIntRect& R2);

TsgMatrix sgMatrixMultiply(const TsgMatrix& M1, const TsgMatrix& M2);
float sgMatrixDeterminant(const TsgMatrix& M);
void sgAdjointMatrix(TsgMatrix& M);
void sgScaleMatrix(TsgMatrix& M, float F);
void sgInvertMatrix(TsgMatrix& M);
TsgMatrix sgCreateRotationMatrix(float Angle);
// Turns a Width x Height picture by AngleDegrees about its centre and moves the result so that its
// bounding box starts at (0, 0); Turned receives that box before the move (its size is the size
// the turned picture needs).
TsgMatrix sgTurnAboutCentreMatrix(float Width, float Height, float AngleDegrees, TsgRect& Turned);

TsgVector sgVector(float X, float Y, float W = 1);
TsgVector sgVector(const TsgPoint& P, float W = 1);
TsgVector sgVectorTransform(const TsgVector& V, const TsgMatrix& M);
TsgVector sgVectorAdd(const TsgVector& V1, const TsgVector& V2);
TsgVector sgVectorSubtract(const TsgVector& V1, const TsgVector& V2);
TsgVector sgVectorScale(const TsgVector& V, float F);
float sgVectorNorm(const TsgVector& V);
float sgVectorLength(const TsgVector& V);
TsgVector sgVectorNormalize(const TsgVector& V);
float sgVectorDotProduct(const TsgVector& V1, const TsgVector& V2);
float sgVectorCrossProductZ(const TsgVector& V1, const TsgVector& V2);
float sgVectorAngleCosine(const TsgVector& V1, const TsgVector& V2);
TsgVector sgVectorCombine2(const TsgVector& V1, const TsgVector& V2, float F1, float F2);
TsgVector sgVectorReflect(const TsgVector& V, const TsgVector& N);
float sgVectorAngle(const TsgVector& V1, const TsgVector& V2);
float sgInterpolateSingle(float Start, float Stop, float T);
float sgInterpolateRotation(float Start, float Stop, float T);
