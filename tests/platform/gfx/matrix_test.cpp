#include <gtest/gtest.h>

#include "platform/gfx/Matrix.h"

namespace gfx {
namespace {

struct MatrixCase {
    const char* name;
    Matrix (*build)();
    PointF in;
    PointF expected;
};

const MatrixCase kCases[] = {
    {"identity", [] { return Matrix(); }, {3, 4}, {3, 4}},
    {"translate",
     [] {
         Matrix m;
         m.Translate(10, 20);
         return m;
     },
     {1, 2},
     {11, 22}},
    // Prepend: the scale acts first, then the translation already in the matrix.
    {"prepend scale after translate",
     [] {
         Matrix m;
         m.Translate(10, 0);
         m.Scale(2, 3);
         return m;
     },
     {1, 1},
     {12, 3}},
    {"append scale after translate",
     [] {
         Matrix m;
         m.Translate(10, 0);
         m.Scale(2, 3, MatrixOrder::Append);
         return m;
     },
     {1, 1},
     {22, 3}},
    {"rotate 90 turns x onto y",
     [] {
         Matrix m;
         m.Rotate(90);
         return m;
     },
     {1, 0},
     {0, 1}},
    // Shear(shx, shy) is the matrix (1, shy, shx, 1): x' = x + y*shx, y' = x*shy + y.
    {"shear",
     [] {
         Matrix m;
         m.Shear(2, 0.5f);
         return m;
     },
     {1, 1},
     {3, 1.5f}},
    {"row vector elements", [] { return Matrix(1, 2, 3, 4, 5, 6); }, {1, 1}, {9, 12}},
};

TEST(Matrix, TransformsPointsByTable) {
    for (const MatrixCase& c : kCases) {
        const PointF p = c.build().Transform(c.in);
        EXPECT_NEAR(p.X, c.expected.X, 1e-5) << c.name;
        EXPECT_NEAR(p.Y, c.expected.Y, 1e-5) << c.name;
    }
}

TEST(Matrix, InvertUndoesAndRefusesSingular) {
    Matrix m(2, 1, -1, 3, 7, -4);
    Matrix inverse = m;
    ASSERT_EQ(inverse.Invert(), Status::Ok);
    const PointF back = inverse.Transform(m.Transform(PointF(5, -2)));
    EXPECT_NEAR(back.X, 5, 1e-5);
    EXPECT_NEAR(back.Y, -2, 1e-5);

    Matrix singular(1, 2, 2, 4, 0, 0);
    EXPECT_EQ(singular.Invert(), Status::InvalidParameter);
    EXPECT_EQ(singular, Matrix(1, 2, 2, 4, 0, 0));
}

TEST(Matrix, MultiplyOrders) {
    const Matrix a(1, 0, 0, 1, 5, 0); // translate x by 5
    const Matrix b(2, 0, 0, 2, 0, 0); // scale by 2
    Matrix prepend = a;
    prepend.Multiply(b, MatrixOrder::Prepend); // b first
    Matrix append = a;
    append.Multiply(b, MatrixOrder::Append); // a first
    EXPECT_EQ(prepend.Transform(PointF(1, 0)), PointF(7, 0));
    EXPECT_EQ(append.Transform(PointF(1, 0)), PointF(12, 0));
}

} // namespace
} // namespace gfx
