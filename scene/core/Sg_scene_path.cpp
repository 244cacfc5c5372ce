#include "scene/core/Sg_scene_path.h"

#include "scene/core/Sg_scene_geometry.h"
#include "scene/core/Sg_scene_registry.h"
#include "scene/core/Sg_scene_resourceobjects.h"

#include "platform/classes/Filer.h"
#include "platform/rtl/Stream.h"

#include <algorithm>
#include <cmath>
#include <cstring>

DBI_PUBLISH(TsgPathData) {
    p.String("Data", &TsgPathData::GetPathString, &TsgPathData::SetPathString)
        .Stored([](TPersistent&) { return false; });
    p.Object("Resource", &TsgPathData::Resource, &TsgPathData::SetResource)
        .Stored([](TPersistent&) { return false; });
    p.String("ResourceName", &TsgPathData::ResourceName, &TsgPathData::SetResourceName);
}

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr float kEllipseFactor = 0.5522847498f;
// A curve never becomes more lines than this, whatever its size against the tolerance.
constexpr int kMaxCurveSegments = 4096;

TsgPoint Add(const TsgPoint& A, const TsgPoint& B) {
    return {A.X + B.X, A.Y + B.Y};
}

TsgPoint Lerp(const TsgPoint& A, const TsgPoint& B, float F) {
    return {A.X + F * (B.X - A.X), A.Y + F * (B.Y - A.Y)};
}

// Points of the cubic from P0 over P1, P2 to P3 at n evenly spaced parameters 0..1.
void SampleCurve(const TsgPoint& P0, const TsgPoint& P1, const TsgPoint& P2, const TsgPoint& P3,
                 float Tolerance, std::vector<TsgPoint>& Out) {
    const double dx = double(P3.X) - P1.X;
    const double dy = double(P3.Y) - P1.Y;
    const double steps = std::sqrt(dx * dx + dy * dy) / Tolerance;
    int n = 2;
    if (std::isfinite(steps))
        n = int(std::clamp(std::nearbyint(steps), 2.0, double(kMaxCurveSegments)));
    const double cx = 3.0 * (double(P1.X) - P0.X), cy = 3.0 * (double(P1.Y) - P0.Y);
    const double bx = 3.0 * (double(P2.X) - P1.X) - cx, by = 3.0 * (double(P2.Y) - P1.Y) - cy;
    const double ax = double(P3.X) - P0.X - cx - bx, ay = double(P3.Y) - P0.Y - cy - by;
    for (int i = 0; i < n; ++i) {
        const double u = double(i) / double(n - 1);
        Out.push_back({float(((ax * u + bx) * u + cx) * u + P0.X),
                       float(((ay * u + by) * u + cy) * u + P0.Y)});
    }
}

float Tolerance(const TsgRect& Bounds, float Flatness) {
    const float side = std::min(sgRectWidth(Bounds), sgRectHeight(Bounds));
    const float t = Flatness * side / 100;
    return t >= 0.05f ? t : 0.05f;
}

} // namespace

TsgPathData::~TsgPathData() {
    if (FResource)
        FResource->RemoveFreeNotify(this);
}

void TsgPathData::Changed() {
    if (OnChanged)
        OnChanged(this);
}

TsgPoint TsgPathData::LastPoint() const {
    return PathData.empty() ? TsgPoint{} : PathData.back().Point;
}

void TsgPathData::MoveTo(const TsgPoint& P) {
    Add(sgPathPointMoveTo, P);
}

void TsgPathData::MoveToRel(const TsgPoint& P) {
    Add(sgPathPointMoveTo, ::Add(LastPoint(), P));
}

void TsgPathData::LineTo(const TsgPoint& P) {
    Add(sgPathPointLineTo, P);
}

void TsgPathData::LineToRel(const TsgPoint& P) {
    Add(sgPathPointLineTo, ::Add(LastPoint(), P));
}

void TsgPathData::HLineTo(float X) {
    Add(sgPathPointLineTo, {X, LastPoint().Y});
}

void TsgPathData::HLineToRel(float X) {
    const TsgPoint last = LastPoint();
    Add(sgPathPointLineTo, {last.X + X, last.Y});
}

void TsgPathData::VLineTo(float Y) {
    Add(sgPathPointLineTo, {LastPoint().X, Y});
}

void TsgPathData::VLineToRel(float Y) {
    const TsgPoint last = LastPoint();
    Add(sgPathPointLineTo, {last.X, last.Y + Y});
}

void TsgPathData::CurveTo(const TsgPoint& ControlPoint1, const TsgPoint& ControlPoint2,
                          const TsgPoint& EndPoint) {
    Add(sgPathPointCurveTo, ControlPoint1);
    Add(sgPathPointCurveTo, ControlPoint2);
    Add(sgPathPointCurveTo, EndPoint);
}

void TsgPathData::CurveToRel(const TsgPoint& ControlPoint1, const TsgPoint& ControlPoint2,
                             const TsgPoint& EndPoint) {
    const TsgPoint last = LastPoint();
    CurveTo(::Add(last, ControlPoint1), ::Add(last, ControlPoint2), ::Add(last, EndPoint));
}

void TsgPathData::SmoothCurveTo(const TsgPoint& ControlPoint2, const TsgPoint& EndPoint) {
    TsgPoint first = ControlPoint2;
    if (PathData.size() >= 3) {
        const TsgPoint last = LastPoint();
        const TsgPoint before = PathData[PathData.size() - 2].Point;
        first = {2 * last.X - before.X, 2 * last.Y - before.Y};
    }
    CurveTo(first, ControlPoint2, EndPoint);
}

void TsgPathData::SmoothCurveToRel(const TsgPoint& ControlPoint2, const TsgPoint& EndPoint) {
    const TsgPoint last = LastPoint();
    SmoothCurveTo(::Add(last, ControlPoint2), ::Add(last, EndPoint));
}

void TsgPathData::ClosePath() {
    Add(sgPathPointClose, {});
}

void TsgPathData::AddEllipse(const TsgRect& ARect) {
    const float cx = (ARect.Left + ARect.Right) / 2;
    const float cy = (ARect.Top + ARect.Bottom) / 2;
    const float kx = sgRectWidth(ARect) / 2 * kEllipseFactor;
    const float ky = sgRectHeight(ARect) / 2 * kEllipseFactor;
    const float L = ARect.Left, T = ARect.Top, R = ARect.Right, B = ARect.Bottom;
    MoveTo({L, cy});
    CurveTo({L, cy - ky}, {cx - kx, T}, {cx, T});
    CurveTo({cx + kx, T}, {R, cy - ky}, {R, cy});
    CurveTo({R, cy + ky}, {cx + kx, B}, {cx, B});
    CurveTo({cx - kx, B}, {L, cy + ky}, {L, cy});
}

void TsgPathData::AddCorner(const TsgPoint& A, const TsgPoint& E, const TsgPoint& K,
                            const TsgPoint& KInner, bool InSet, TsgCornerType Type) {
    constexpr float f = 0.5f, g = 0.5f;
    if (!InSet) {
        LineTo(K);
        LineTo(E);
        return;
    }
    switch (Type) {
    case sgCornerRound:
        CurveTo(Lerp(A, K, f), Lerp(E, K, f), E);
        break;
    case sgCornerBevel:
        LineTo(E);
        break;
    case sgCornerInnerRound:
        CurveTo(Lerp(A, KInner, g), Lerp(E, KInner, g), E);
        break;
    case sgCornerInnerLine:
        LineTo(Lerp(A, KInner, g));
        LineTo(Lerp(E, KInner, g));
        LineTo(E);
        break;
    }
}

void TsgPathData::AddRectangle(const TsgRect& ARect, float XRadius, float YRadius,
                               TsgCorners ACorners, TsgCornerType ACornerType) {
    const float L = ARect.Left, T = ARect.Top, R = ARect.Right, B = ARect.Bottom;
    const float w = R - L, h = B - T;
    float rx = XRadius, ry = YRadius;
    if (2 * rx > w)
        rx = w / 2;
    if (2 * ry > h)
        ry = h / 2;
    MoveTo({L, T + ry});
    AddCorner({L, T + ry}, {L + rx, T}, {L, T}, {L + rx, T + ry}, ACorners & sgCornerTopLeft,
              ACornerType);
    LineTo({R - rx, T});
    AddCorner({R - rx, T}, {R, T + ry}, {R, T}, {R - rx, T + ry}, ACorners & sgCornerTopRight,
              ACornerType);
    LineTo({R, B - ry});
    AddCorner({R, B - ry}, {R - rx, B}, {R, B}, {R - rx, B - ry}, ACorners & sgCornerBottomRight,
              ACornerType);
    LineTo({L + rx, B});
    AddCorner({L + rx, B}, {L, B - ry}, {L, B}, {L + rx, B - ry}, ACorners & sgCornerBottomLeft,
              ACornerType);
    ClosePath();
}

void TsgPathData::AddArcSegment(bool First, bool AddFirstPoint, const TsgPoint& Center,
                                const TsgPoint& Radius, double S, double D) {
    const double x0 = std::cos(D / 2), y0 = std::sin(D / 2);
    const double tx = (1 - x0) * 4 / 3;
    const double ty = y0 - tx * x0 / y0;
    const double local[4][2] = {{x0, -y0}, {x0 + tx, -ty}, {x0 + tx, ty}, {x0, y0}};
    const double m = S + D / 2, cm = std::cos(m), sm = std::sin(m);
    TsgPoint p[4];
    for (int i = 0; i < 4; ++i) {
        const double x = local[i][0] * cm - local[i][1] * sm;
        const double y = local[i][0] * sm + local[i][1] * cm;
        p[i] = {float(x * Radius.X + Center.X), float(y * Radius.Y + Center.Y)};
    }
    if (First && AddFirstPoint) {
        if (PathData.empty())
            MoveTo(p[0]);
        else
            LineTo(p[0]);
    }
    CurveTo(p[1], p[2], p[3]);
}

void TsgPathData::AddArcImpl(const TsgPoint& Center, const TsgPoint& Radius, float StartAngle,
                             float SweepAngle, bool AddFirstPoint) {
    double s = double(StartAngle) * kPi / 180;
    s -= 2 * kPi * std::trunc(s / (2 * kPi));
    const double w = std::clamp(double(SweepAngle) * kPi / 180, -2 * kPi, 2 * kPi);
    if (!(std::fabs(w) >= 1e-10))
        return; // also NaN
    double total = 0;
    bool first = true;
    for (;;) {
        const double prev = total;
        double segment;
        bool last;
        if (w >= 0) {
            total = prev + kPi / 2;
            last = !(w - 0.01 > total);
            segment = last ? w - prev : kPi / 2;
        } else {
            total = prev - kPi / 2;
            last = !(w + 0.01 < total);
            segment = last ? w - prev : -kPi / 2;
        }
        AddArcSegment(first, AddFirstPoint, Center, Radius, s, segment);
        s += segment;
        first = false;
        if (last)
            break;
    }
}

void TsgPathData::AddArc(const TsgPoint& Center, const TsgPoint& Radius, float StartAngle,
                         float SweepAngle) {
    AddArcImpl(Center, Radius, StartAngle, SweepAngle, true);
}

void TsgPathData::AddArcSvgPart(const TsgPoint& Center, const TsgPoint& Radius, float StartAngle,
                                float SweepAngle) {
    AddArcImpl(Center, Radius, StartAngle, SweepAngle, false);
}

void TsgPathData::AddArcSvg(const TsgPoint& P1, const TsgPoint& Radius, float Angle, bool LargeFlag,
                            bool SweepFlag, const TsgPoint& P2) {
    // An arc to its own start draws nothing; a zero radius makes it a straight line (the SVG
    // rules for out-of-range parameters).
    if (P1 == P2)
        return;
    double rx = std::fabs(double(Radius.X)), ry = std::fabs(double(Radius.Y));
    if (rx == 0 || ry == 0 || !std::isfinite(rx) || !std::isfinite(ry)) {
        LineTo(P2);
        return;
    }
    const double phi = double(Angle) * kPi / 180;
    const double cphi = std::cos(phi), sphi = std::sin(phi);
    const double dx = (double(P1.X) - P2.X) / 2, dy = (double(P1.Y) - P2.Y) / 2;
    const double x1 = cphi * dx + sphi * dy;
    const double y1 = -sphi * dx + cphi * dy;
    const double lambda = x1 * x1 / (rx * rx) + y1 * y1 / (ry * ry);
    if (lambda > 1) {
        rx *= std::sqrt(lambda);
        ry *= std::sqrt(lambda);
    }
    const double sign = LargeFlag == SweepFlag ? -1 : 1;
    const double denominator = rx * rx * y1 * y1 + ry * ry * x1 * x1;
    double q = denominator > 0
                   ? (rx * rx * ry * ry - rx * rx * y1 * y1 - ry * ry * x1 * x1) / denominator
                   : 0;
    if (!(q > 0))
        q = 0;
    const double coef = sign * std::sqrt(q);
    const double cx1 = coef * rx * y1 / ry;
    const double cy1 = -coef * ry * x1 / rx;
    const double cx = cphi * cx1 - sphi * cy1 + (double(P1.X) + P2.X) / 2;
    const double cy = sphi * cx1 + cphi * cy1 + (double(P1.Y) + P2.Y) / 2;
    const double ux = (x1 - cx1) / rx, uy = (y1 - cy1) / ry;
    const double vx = (-x1 - cx1) / rx, vy = (-y1 - cy1) / ry;
    const double ulen = std::hypot(ux, uy), vlen = std::hypot(vx, vy);
    if (ulen == 0 || vlen == 0) {
        LineTo(P2);
        return;
    }
    double theta1 = std::acos(std::clamp(ux / ulen, -1.0, 1.0));
    if (uy < 0)
        theta1 = -theta1;
    double delta = std::acos(std::clamp((ux * vx + uy * vy) / (ulen * vlen), -1.0, 1.0));
    if (ux * vy - uy * vx < 0)
        delta = -delta;
    if (!SweepFlag && delta > 0)
        delta -= 2 * kPi;
    else if (SweepFlag && delta < 0)
        delta += 2 * kPi;
    const size_t n = PathData.size();
    AddArcSvgPart({0, 0}, {float(rx), float(ry)}, float(theta1 * 180 / kPi),
                  float(delta * 180 / kPi));
    TsgMatrix m = sgCreateRotationMatrix(float(phi));
    m.m31 = float(cx);
    m.m32 = float(cy);
    for (size_t i = n; i < PathData.size(); ++i) {
        const TsgVector v = sgVectorTransform(sgVector(PathData[i].Point, 1), m);
        PathData[i].Point = {v.X, v.Y};
    }
}

void TsgPathData::Clear() {
    PathData.clear();
    Changed();
}

TsgRect TsgPathData::GetBounds() const {
    if (PathData.empty())
        return {};
    TsgRect r{65535, 65535, -65535, -65535};
    for (const TsgPathPoint& p : PathData) {
        if (p.Kind == sgPathPointClose)
            continue;
        r.Left = std::min(r.Left, p.Point.X);
        r.Top = std::min(r.Top, p.Point.Y);
        r.Right = std::max(r.Right, p.Point.X);
        r.Bottom = std::max(r.Bottom, p.Point.Y);
    }
    if (r.Right - r.Left == 0)
        r.Right = r.Left + 0.001f;
    if (r.Bottom - r.Top == 0)
        r.Bottom = r.Top + 0.001f;
    return r;
}

void TsgPathData::Scale(float ScaleX, float ScaleY) {
    for (TsgPathPoint& p : PathData)
        if (p.Kind != sgPathPointClose)
            p.Point = {p.Point.X * ScaleX, p.Point.Y * ScaleY};
}

void TsgPathData::Offset(float DX, float DY) {
    for (TsgPathPoint& p : PathData)
        if (p.Kind != sgPathPointClose)
            p.Point = {p.Point.X + DX, p.Point.Y + DY};
}

void TsgPathData::ApplyMatrix(const TsgMatrix& M) {
    for (TsgPathPoint& p : PathData)
        if (p.Kind != sgPathPointClose) {
            const TsgVector v = sgVectorTransform(sgVector(p.Point, 1), M);
            p.Point = {v.X, v.Y};
        }
}

void TsgPathData::Flatten(float Flatness) {
    if (PathData.empty())
        return;
    const float t = Tolerance(GetBounds(), Flatness);
    const std::vector<TsgPathPoint> source = std::move(PathData);
    PathData.clear();
    TsgPoint current;
    std::vector<TsgPoint> samples;
    for (size_t i = 0; i < source.size(); ++i) {
        const TsgPathPoint& p = source[i];
        // A curve needs its three points; a lone curve point (a damaged stream) is a line.
        if (p.Kind == sgPathPointCurveTo && i + 2 < source.size() &&
            source[i + 1].Kind == sgPathPointCurveTo && source[i + 2].Kind == sgPathPointCurveTo) {
            samples.clear();
            SampleCurve(current, p.Point, source[i + 1].Point, source[i + 2].Point, t, samples);
            for (const TsgPoint& s : samples)
                LineTo(s);
            current = source[i + 2].Point;
            i += 2;
            continue;
        }
        Add(p.Kind == sgPathPointCurveTo ? sgPathPointLineTo : p.Kind, p.Point);
        current = p.Point;
    }
    Changed();
}

TsgPoint TsgPathData::FlattenToPolygon(TsgPolygon& Polygon, float Flatness) const {
    Polygon.clear();
    if (PathData.empty())
        return {};
    const TsgRect bounds = GetBounds();
    const float t = Tolerance(bounds, Flatness);
    TsgPoint current, start;
    for (size_t i = 0; i < PathData.size(); ++i) {
        const TsgPathPoint& p = PathData[i];
        switch (p.Kind) {
        case sgPathPointMoveTo:
            Polygon.push_back(p.Point);
            start = current = p.Point;
            break;
        case sgPathPointLineTo:
            Polygon.push_back(p.Point);
            current = p.Point;
            break;
        case sgPathPointCurveTo:
            if (i + 2 < PathData.size() && PathData[i + 1].Kind == sgPathPointCurveTo &&
                PathData[i + 2].Kind == sgPathPointCurveTo) {
                SampleCurve(current, p.Point, PathData[i + 1].Point, PathData[i + 2].Point, t,
                            Polygon);
                current = PathData[i + 2].Point;
                i += 2;
            } else {
                Polygon.push_back(p.Point);
                current = p.Point;
            }
            break;
        case sgPathPointClose:
            Polygon.push_back(start);
            Polygon.push_back(ClosePolygon);
            break;
        }
    }
    return {std::fabs(sgRectWidth(bounds)), std::fabs(sgRectHeight(bounds))};
}

void TsgPathData::SetResource(TsgPathObject* Value) {
    if (Value == FResource)
        return;
    if (FResource)
        FResource->RemoveFreeNotify(this);
    FResource = Value;
    FResourceName = Value ? Value->ResourceName() : UnicodeString();
    if (FResource)
        FResource->AddFreeNotify(this);
    Changed();
}

void TsgPathData::SetResourceName(const UnicodeString& Value) {
    if (Value == FResourceName)
        return;
    FResourceName = Value;
    Changed();
}

void TsgPathData::FreeNotify(TsgObject* AObject) {
    if (AObject == FResource)
        FResource = nullptr;
}

TsgPathData* TsgPathData::ResourcePath() {
    if (FResource)
        return FResource->Path();
    if (FResourceName.IsEmpty())
        return nullptr;
    if (auto* object = dynamic_cast<TsgPathObject*>(FindResource(FResourceName))) {
        FResource = object;
        FResource->AddFreeNotify(this);
        return object->Path();
    }
    return nullptr;
}

void TsgPathData::Assign(TPersistent* Source) {
    auto* source = dynamic_cast<TsgPathData*>(Source);
    if (!source) {
        TPersistent::Assign(Source);
        return;
    }
    if (source->ResourcePath()) {
        if (FResource != source->FResource) {
            if (FResource)
                FResource->RemoveFreeNotify(this);
            FResource = source->FResource;
            if (FResource)
                FResource->AddFreeNotify(this);
        }
        FResourceName = source->FResourceName;
    } else {
        PathData = source->PathData;
    }
    Changed();
}

void TsgPathData::WritePath(TStream& S) const {
    const int32_t count = int32_t(PathData.size());
    S.WriteBuffer(&count, 4);
    for (const TsgPathPoint& p : PathData) {
        const int32_t kind = p.Kind;
        S.WriteBuffer(&kind, 4);
        S.WriteBuffer(&p.Point.X, 4);
        S.WriteBuffer(&p.Point.Y, 4);
    }
}

void TsgPathData::ReadPath(TStream& S) {
    PathData.clear();
    const int64_t size = S.Size() - S.Position();
    int32_t count = 0;
    if (size < 4 || S.Read(&count, 4) != 4 || count < 1)
        return;
    const int64_t body = size - 4;
    const int recordSize = body / count == 9 ? 9 : 12;
    // A count larger than the block holds reads only the records that are there.
    const int64_t records = std::min<int64_t>(count, body / recordSize);
    std::vector<uint8_t> bytes(size_t(records * recordSize));
    if (!bytes.empty())
        S.ReadBuffer(bytes.data(), int64_t(bytes.size()));
    PathData.reserve(size_t(records));
    for (int64_t i = 0; i < records; ++i) {
        const uint8_t* r = bytes.data() + i * recordSize;
        int32_t kind = r[0];
        if (recordSize == 12)
            std::memcpy(&kind, r, 4);
        const int offset = recordSize - 8;
        TsgPathPoint p;
        std::memcpy(&p.Point.X, r + offset, 4);
        std::memcpy(&p.Point.Y, r + offset + 4, 4);
        // Kinds other than the four are not points of any path; they are left out.
        if (kind < sgPathPointMoveTo || kind > sgPathPointClose)
            continue;
        p.Kind = TsgPathPointKind(kind);
        PathData.push_back(p);
    }
}

void TsgPathData::DefineProperties(TFiler& Filer) {
    TPersistent::DefineProperties(Filer);
    Filer.DefineBinaryProperty(
        "Path", [this](TStream& s) { ReadPath(s); }, [this](TStream& s) { WritePath(s); },
        !PathData.empty());
}
