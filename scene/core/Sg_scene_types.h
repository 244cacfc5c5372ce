// The toolkit's value types: single-precision points, rectangles, vectors and 3 x 3 matrices,
// colours as 32-bit ARGB, and the constants every drawing routine shares.
//
// Points are row vectors multiplied by a matrix from the left: (x, y, 1) . M, so the translation
// sits in m31, m32. Rectangles are not kept normalised: Right may lie left of Left.
#pragma once

#include <cstdint>
#include <vector>

struct TsgPoint {
    float X = 0;
    float Y = 0;
    friend bool operator==(const TsgPoint&, const TsgPoint&) = default;
};

struct TsgRect {
    float Left = 0;
    float Top = 0;
    float Right = 0;
    float Bottom = 0;

    TsgPoint TopLeft() const { return {Left, Top}; }
    TsgPoint BottomRight() const { return {Right, Bottom}; }
    void SetTopLeft(TsgPoint p) {
        Left = p.X;
        Top = p.Y;
    }
    void SetBottomRight(TsgPoint p) {
        Right = p.X;
        Bottom = p.Y;
    }
    friend bool operator==(const TsgRect&, const TsgRect&) = default;
};

// W is 1 for a position and 0 for a direction.
struct TsgVector {
    float X = 0;
    float Y = 0;
    float W = 0;

    float& operator[](int i) { return i == 0 ? X : i == 1 ? Y : W; }
    float operator[](int i) const { return i == 0 ? X : i == 1 ? Y : W; }
    friend bool operator==(const TsgVector&, const TsgVector&) = default;
};

using TsgVectorArray = float[3];

struct TsgMatrix {
    float m11 = 0, m12 = 0, m13 = 0;
    float m21 = 0, m22 = 0, m23 = 0;
    float m31 = 0, m32 = 0, m33 = 0;

    // The matrix as rows of three (TsgMatrixArray): M(i, j) with i, j in 0..2.
    float& operator()(int row, int column) { return (&m11)[row * 3 + column]; }
    float operator()(int row, int column) const { return (&m11)[row * 3 + column]; }
    friend bool operator==(const TsgMatrix&, const TsgMatrix&) = default;
};

using TsgPolygon = std::vector<TsgPoint>;

// A colour: alpha in bits 24-31, red 16-23, green 8-15, blue 0-7. Straight in brushes, gradients
// and texts; premultiplied in bitmaps and buffers.
using TsgColor = uint32_t;

// The colour's bytes in memory order (blue first, alpha last).
struct TsgColorRec {
    uint8_t B = 0, G = 0, R = 0, A = 0;

    static TsgColorRec From(TsgColor c) {
        return {static_cast<uint8_t>(c), static_cast<uint8_t>(c >> 8),
                static_cast<uint8_t>(c >> 16), static_cast<uint8_t>(c >> 24)};
    }
    TsgColor Color() const {
        return (TsgColor(A) << 24) | (TsgColor(R) << 16) | (TsgColor(G) << 8) | TsgColor(B);
    }
};

struct TsgColor24 {
    uint8_t R = 0, G = 0, B = 0;
};

enum TsgCorner : uint8_t {
    sgCornerTopLeft = 1,
    sgCornerTopRight = 2,
    sgCornerBottomLeft = 4,
    sgCornerBottomRight = 8
};
using TsgCorners = uint8_t;
enum TsgSide : uint8_t { sgSideTop = 1, sgSideLeft = 2, sgSideBottom = 4, sgSideRight = 8 };
using TsgSides = uint8_t;
// The members' names by bit position, as streams spell the sets.
inline constexpr const char* sgCornerNames[] = {"sgCornerTopLeft", "sgCornerTopRight",
                                                "sgCornerBottomLeft", "sgCornerBottomRight"};
inline constexpr const char* sgSideNames[] = {"sgSideTop", "sgSideLeft", "sgSideBottom",
                                              "sgSideRight"};

constexpr float cPI = 3.1415927f;
constexpr float cPIdiv180 = 0.017453292f;
constexpr float c180divPI = 57.29578f;
constexpr float c2PI = 6.2831855f;
constexpr float cPIdiv2 = 1.5707964f;
constexpr float cPIdiv4 = 0.7853982f;
constexpr float c3PIdiv4 = 2.3561945f;
constexpr float cInv2PI = 1.0f / 6.2831855f;
constexpr float cInv360 = 1.0f / 360.0f;
constexpr float c180 = 180.0f;
constexpr float c360 = 360.0f;
constexpr float cOneHalf = 0.5f;
// A denormal single: the toolkit must never run with denormals flushed to zero.
constexpr float Epsilon = 1e-40f;

constexpr TsgMatrix IdentityMatrix{1, 0, 0, 0, 1, 0, 0, 0, 1};
constexpr TsgMatrix ZeroMatrix{};
constexpr TsgRect NullRect{};
constexpr TsgCorners AllCorners =
    sgCornerTopLeft | sgCornerTopRight | sgCornerBottomLeft | sgCornerBottomRight;
constexpr TsgSides AllSides = sgSideTop | sgSideLeft | sgSideBottom | sgSideRight;
// Separates the closed figures of a TsgPolygon.
constexpr TsgPoint ClosePolygon{65535, 65535};

// Which end of an easing curve carries the easing.
enum TsgAnimationType { sgAnimationIn = 0, sgAnimationOut = 1, sgAnimationInOut = 2 };
// The easing curve of an animation.
enum TsgInterpolationType {
    sgInterpolationLinear,
    sgInterpolationQuadratic,
    sgInterpolationCubic,
    sgInterpolationQuartic,
    sgInterpolationQuintic,
    sgInterpolationSinusoidal,
    sgInterpolationExponential,
    sgInterpolationCircular,
    sgInterpolationElastic,
    sgInterpolationBack,
    sgInterpolationBounce,
};
