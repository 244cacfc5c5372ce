#include "platform/gfx/Matrix.h"

#include <cmath>

namespace gfx {

Matrix::Matrix(float m11, float m12, float m21, float m22, float dx, float dy)
    : m_{m11, m12, m21, m22, dx, dy} {}

Matrix Matrix::FromDoubles(double m11, double m12, double m21, double m22, double dx, double dy) {
    Matrix r;
    r.m_[0] = m11;
    r.m_[1] = m12;
    r.m_[2] = m21;
    r.m_[3] = m22;
    r.m_[4] = dx;
    r.m_[5] = dy;
    return r;
}

Matrix MultiplyMatrices(const Matrix& a, const Matrix& b) {
    // Row vector convention: p * A * B.
    return Matrix::FromDoubles(
        a.M11() * b.M11() + a.M12() * b.M21(), a.M11() * b.M12() + a.M12() * b.M22(),
        a.M21() * b.M11() + a.M22() * b.M21(), a.M21() * b.M12() + a.M22() * b.M22(),
        a.OffsetX() * b.M11() + a.OffsetY() * b.M21() + b.OffsetX(),
        a.OffsetX() * b.M12() + a.OffsetY() * b.M22() + b.OffsetY());
}

Status Matrix::Multiply(const Matrix& other, MatrixOrder order) {
    *this = order == MatrixOrder::Prepend ? MultiplyMatrices(other, *this)
                                          : MultiplyMatrices(*this, other);
    return Status::Ok;
}

Status Matrix::Translate(float dx, float dy, MatrixOrder order) {
    return Multiply(Matrix(1, 0, 0, 1, dx, dy), order);
}

Status Matrix::Scale(float sx, float sy, MatrixOrder order) {
    return Multiply(Matrix(sx, 0, 0, sy, 0, 0), order);
}

Status Matrix::Rotate(float degrees, MatrixOrder order) {
    const double a = double(degrees) * M_PI / 180.0;
    const double c = std::cos(a), s = std::sin(a);
    return Multiply(FromDoubles(c, s, -s, c, 0, 0), order);
}

Status Matrix::Shear(float shearX, float shearY, MatrixOrder order) {
    return Multiply(Matrix(1, shearY, shearX, 1, 0, 0), order);
}

bool Matrix::IsIdentity() const {
    return m_[0] == 1 && m_[1] == 0 && m_[2] == 0 && m_[3] == 1 && m_[4] == 0 && m_[5] == 0;
}

bool Matrix::IsInvertible() const {
    const double det = m_[0] * m_[3] - m_[1] * m_[2];
    return std::isfinite(det) && det != 0;
}

Status Matrix::Invert() {
    const double det = m_[0] * m_[3] - m_[1] * m_[2];
    if (!std::isfinite(det) || det == 0)
        return Status::InvalidParameter;
    const double a = m_[3] / det, b = -m_[1] / det, c = -m_[2] / det, d = m_[0] / det;
    const double dx = -(m_[4] * a + m_[5] * c);
    const double dy = -(m_[4] * b + m_[5] * d);
    m_[0] = a;
    m_[1] = b;
    m_[2] = c;
    m_[3] = d;
    m_[4] = dx;
    m_[5] = dy;
    return Status::Ok;
}

void Matrix::GetElements(float out[6]) const {
    for (int i = 0; i < 6; ++i)
        out[i] = float(m_[i]);
}

void Matrix::SetElements(float m11, float m12, float m21, float m22, float dx, float dy) {
    m_[0] = m11;
    m_[1] = m12;
    m_[2] = m21;
    m_[3] = m22;
    m_[4] = dx;
    m_[5] = dy;
}

PointF Matrix::Transform(PointF p) const {
    return PointF(float(p.X * m_[0] + p.Y * m_[2] + m_[4]),
                  float(p.X * m_[1] + p.Y * m_[3] + m_[5]));
}

void Matrix::TransformPoints(PointF* points, int count) const {
    for (int i = 0; i < count; ++i)
        points[i] = Transform(points[i]);
}

PointF Matrix::TransformVector(PointF v) const {
    return PointF(float(v.X * m_[0] + v.Y * m_[2]), float(v.X * m_[1] + v.Y * m_[3]));
}

} // namespace gfx
