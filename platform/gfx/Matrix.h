// A 2-D affine transform applied to row vectors: (x, y) -> (x*m11 + y*m21 + dx, x*m12 + y*m22 +
// dy). "Prepend" applies the new transform before this one, "Append" after it.
#pragma once

#include "platform/gfx/GfxTypes.h"

namespace gfx {

class Matrix {
public:
    Matrix() = default;
    Matrix(float m11, float m12, float m21, float m22, float dx, float dy);

    void Reset() { *this = Matrix(); }
    Status Multiply(const Matrix& other, MatrixOrder order = MatrixOrder::Prepend);
    Status Translate(float dx, float dy, MatrixOrder order = MatrixOrder::Prepend);
    Status Scale(float sx, float sy, MatrixOrder order = MatrixOrder::Prepend);
    Status Rotate(float degrees, MatrixOrder order = MatrixOrder::Prepend);
    // The shear matrix (1, shearY, shearX, 1, 0, 0).
    Status Shear(float shearX, float shearY, MatrixOrder order = MatrixOrder::Prepend);
    // InvalidParameter (and the matrix unchanged) when the matrix is not invertible.
    Status Invert();

    bool IsIdentity() const;
    bool IsInvertible() const;
    // m11, m12, m21, m22, dx, dy.
    void GetElements(float out[6]) const;
    void SetElements(float m11, float m12, float m21, float m22, float dx, float dy);
    // Full-precision construction for the layer's own arithmetic.
    static Matrix FromDoubles(double m11, double m12, double m21, double m22, double dx, double dy);
    PointF Transform(PointF p) const;
    void TransformPoints(PointF* points, int count) const;
    // Transforms a direction: the translation is left out.
    PointF TransformVector(PointF v) const;

    double M11() const { return m_[0]; }
    double M12() const { return m_[1]; }
    double M21() const { return m_[2]; }
    double M22() const { return m_[3]; }
    double OffsetX() const { return m_[4]; }
    double OffsetY() const { return m_[5]; }

    bool operator==(const Matrix&) const = default;

private:
    // Kept in double so that long chains of prepends do not drift.
    double m_[6] = {1, 0, 0, 1, 0, 0};
};

// first then second: the product that applies `first` to a point before `second`.
Matrix MultiplyMatrices(const Matrix& first, const Matrix& second);

} // namespace gfx
