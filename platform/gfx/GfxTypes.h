// The value types every drawing call speaks: status codes, points, rectangles, colours and the
// mode enumerations. Names and numeric values are the ones the toolkit's drawing code was written
// against, so that code can pass them through unchanged.
#pragma once

#include <cstdint>

namespace gfx {

enum class Status {
    Ok = 0,
    GenericError = 1,
    InvalidParameter = 2,
    OutOfMemory = 3,
    ObjectBusy = 4,
    InsufficientBuffer = 5,
    NotImplemented = 6,
    WrongState = 8,
    Aborted = 9,
    FileNotFound = 10,
    ValueOverflow = 11,
    AccessDenied = 12,
    UnknownImageFormat = 13,
    FontFamilyNotFound = 14,
    FontStyleNotFound = 15,
};

struct PointF {
    float X = 0;
    float Y = 0;
    PointF() = default;
    PointF(float x, float y) : X(x), Y(y) {}
    bool operator==(const PointF&) const = default;
};

// Origin and size, as the drawing calls take them (not left/top/right/bottom).
struct RectF {
    float X = 0;
    float Y = 0;
    float Width = 0;
    float Height = 0;
    RectF() = default;
    RectF(float x, float y, float w, float h) : X(x), Y(y), Width(w), Height(h) {}
    float GetLeft() const { return X; }
    float GetTop() const { return Y; }
    float GetRight() const { return X + Width; }
    float GetBottom() const { return Y + Height; }
    bool IsEmptyArea() const { return Width <= 0 || Height <= 0; }
    bool Contains(PointF p) const {
        return p.X >= X && p.X < X + Width && p.Y >= Y && p.Y < Y + Height;
    }
    bool operator==(const RectF&) const = default;
};

struct Rect {
    int X = 0;
    int Y = 0;
    int Width = 0;
    int Height = 0;
    Rect() = default;
    Rect(int x, int y, int w, int h) : X(x), Y(y), Width(w), Height(h) {}
    bool operator==(const Rect&) const = default;
};

// A straight (not premultiplied) colour, alpha in the top byte: $AARRGGBB.
class Color {
public:
    Color() = default;
    explicit Color(uint32_t argb) : argb_(argb) {}
    Color(uint8_t a, uint8_t r, uint8_t g, uint8_t b)
        : argb_(uint32_t(a) << 24 | uint32_t(r) << 16 | uint32_t(g) << 8 | b) {}
    Color(uint8_t r, uint8_t g, uint8_t b) : Color(255, r, g, b) {}
    uint8_t GetA() const { return argb_ >> 24; }
    uint8_t GetR() const { return (argb_ >> 16) & 0xFF; }
    uint8_t GetG() const { return (argb_ >> 8) & 0xFF; }
    uint8_t GetB() const { return argb_ & 0xFF; }
    uint32_t GetValue() const { return argb_; }
    bool operator==(const Color&) const = default;

private:
    uint32_t argb_ = 0xFF000000;
};

enum class MatrixOrder { Prepend = 0, Append = 1 };

// Alternate is the even-odd rule, Winding the non-zero rule.
enum class FillMode { Alternate = 0, Winding = 1 };

enum class CombineMode { Replace = 0, Intersect = 1, Union = 2, Xor = 3, Exclude = 4 };

enum class WrapMode { Tile = 0, TileFlipX = 1, TileFlipY = 2, TileFlipXY = 3, Clamp = 4 };

enum class SmoothingMode { Default = 0, HighSpeed = 1, HighQuality = 2, None = 3, AntiAlias = 4 };

// Half puts pixel centres at half-integer coordinates (pixel (0,0) covers [0,1) x [0,1));
// None/Default put them on integer coordinates.
enum class PixelOffsetMode { Default = 0, HighSpeed = 1, HighQuality = 2, None = 3, Half = 4 };

enum class InterpolationMode {
    Default = 0,
    LowQuality = 1,
    HighQuality = 2,
    Bilinear = 3,
    Bicubic = 4,
    NearestNeighbor = 5,
    HighQualityBilinear = 6,
    HighQualityBicubic = 7,
};

enum class CompositingMode { SourceOver = 0, SourceCopy = 1 };

enum class TextRenderingHint {
    SystemDefault = 0,
    SingleBitPerPixelGridFit = 1,
    SingleBitPerPixel = 2,
    AntiAliasGridFit = 3,
    AntiAlias = 4,
    ClearTypeGridFit = 5,
};

enum class LineCap { Flat = 0, Square = 1, Round = 2, Triangle = 3 };
enum class DashCap { Flat = 0, Round = 2, Triangle = 3 };
enum class LineJoin { Miter = 0, Bevel = 1, Round = 2, MiterClipped = 3 };
enum class DashStyle { Solid = 0, Dash = 1, Dot = 2, DashDot = 3, DashDotDot = 4, Custom = 5 };

enum class Unit {
    World = 0,
    Display = 1,
    Pixel = 2,
    Point = 3,
    Inch = 4,
    Document = 5,
    Millimeter = 6
};

enum class RotateFlipType {
    RotateNoneFlipNone = 0,
    Rotate90FlipNone = 1,
    Rotate180FlipNone = 2,
    Rotate270FlipNone = 3,
    RotateNoneFlipX = 4,
    Rotate90FlipX = 5,
    Rotate180FlipX = 6,
    Rotate270FlipX = 7,
};

// Pixel formats of locked or wrapped pixel memory. PArgb words are premultiplied, Argb words are
// straight; both are 32-bit $AARRGGBB words with blue in the lowest byte.
enum class PixelFormat { Format32bppArgb = 0x26200A, Format32bppPArgb = 0xE200B };

} // namespace gfx
