// TsgPathData: the toolkit's vector path, an ordered list of moves, lines, cubic curves and
// closes, with an SVG-like text form (Data) and the binary stream property "Path".
//
// A path may instead name a path resource (TsgPathObject) whose path is then used. The building
// operations do not notify; Clear, Assign, Flatten, the text setter and the resource setters
// call OnChanged.
#pragma once

#include "scene/core/Sg_scene_object.h"
#include "scene/core/Sg_scene_types.h"

#include "platform/classes/Persistent.h"

#include <cstdint>
#include <vector>

class TsgPathObject;

enum TsgPathPointKind : int32_t {
    sgPathPointMoveTo = 0,
    sgPathPointLineTo = 1,
    sgPathPointCurveTo = 2,
    sgPathPointClose = 3,
};

// A curve is three consecutive curve points (two controls, the end); a close has (0, 0).
struct TsgPathPoint {
    TsgPathPointKind Kind = sgPathPointMoveTo;
    TsgPoint Point;
    friend bool operator==(const TsgPathPoint&, const TsgPathPoint&) = default;
};

enum TsgCornerType {
    sgCornerRound = 0,
    sgCornerBevel = 1,
    sgCornerInnerRound = 2,
    sgCornerInnerLine = 3,
};

class TsgPathData : public TPersistent, public IsgFreeNotify {
    DBI_PERSISTENT(TsgPathData, TPersistent)

    TsgPathData() = default;
    ~TsgPathData() override;
    TsgPathData(const TsgPathData&) = delete;
    TsgPathData& operator=(const TsgPathData&) = delete;

    std::vector<TsgPathPoint> PathData;

    // Building; the last point is that of the last element, (0, 0) when empty or after a close.
    TsgPoint LastPoint() const;
    void MoveTo(const TsgPoint& P);
    void MoveToRel(const TsgPoint& P);
    void LineTo(const TsgPoint& P);
    void LineToRel(const TsgPoint& P);
    void HLineTo(float X);
    void HLineToRel(float X);
    void VLineTo(float Y);
    void VLineToRel(float Y);
    void CurveTo(const TsgPoint& ControlPoint1, const TsgPoint& ControlPoint2,
                 const TsgPoint& EndPoint);
    void CurveToRel(const TsgPoint& ControlPoint1, const TsgPoint& ControlPoint2,
                    const TsgPoint& EndPoint);
    void SmoothCurveTo(const TsgPoint& ControlPoint2, const TsgPoint& EndPoint);
    void SmoothCurveToRel(const TsgPoint& ControlPoint2, const TsgPoint& EndPoint);
    void ClosePath();
    void AddEllipse(const TsgRect& ARect);
    void AddRectangle(const TsgRect& ARect, float XRadius, float YRadius, TsgCorners ACorners,
                      TsgCornerType ACornerType);
    // An elliptic arc; angles in degrees, positive turning clockwise when y points down.
    void AddArc(const TsgPoint& Center, const TsgPoint& Radius, float StartAngle, float SweepAngle);
    // As AddArc, continuing from the present point (curves only).
    void AddArcSvgPart(const TsgPoint& Center, const TsgPoint& Radius, float StartAngle,
                       float SweepAngle);
    // An SVG endpoint arc from P1 to P2.
    void AddArcSvg(const TsgPoint& P1, const TsgPoint& Radius, float Angle, bool LargeFlag,
                   bool SweepFlag, const TsgPoint& P2);

    void Clear();
    bool IsEmpty() const { return PathData.empty(); }
    TsgRect GetBounds() const;
    void Scale(float ScaleX, float ScaleY);
    void Offset(float DX, float DY);
    void ApplyMatrix(const TsgMatrix& M);
    // Replaces every curve by lines within the tolerance Flatness percent of the smaller side.
    void Flatten(float Flatness = 0.25f);
    // The figures as polygons separated by ClosePolygon; answers |width|, |height| of the bounds.
    TsgPoint FlattenToPolygon(TsgPolygon& Polygon, float Flatness = 0.25f) const;

    // The text form.
    AnsiString GetPathString() const;
    void SetPathString(const AnsiString& Value);

    TsgPathObject* Resource() const { return FResource; }
    void SetResource(TsgPathObject* Value);
    const UnicodeString& ResourceName() const { return FResourceName; }
    void SetResourceName(const UnicodeString& Value);
    // The resource's path, found by name on first use; nullptr without one.
    TsgPathData* ResourcePath();

    void Assign(TPersistent* Source) override;
    void DefineProperties(TFiler& Filer) override;
    void FreeNotify(TsgObject* AObject) override;

    // The "Path" property's bytes, and reading them back (counts are checked against the
    // bytes present, so a damaged block cannot make the reader allocate more than it holds).
    void WritePath(TStream& S) const;
    void ReadPath(TStream& S);

    TNotifyEvent OnChanged;

private:
    void Changed();
    void Add(TsgPathPointKind Kind, const TsgPoint& P) { PathData.push_back({Kind, P}); }
    void AddArcSegment(bool First, bool AddFirstPoint, const TsgPoint& Center,
                       const TsgPoint& Radius, double S, double D);
    void AddArcImpl(const TsgPoint& Center, const TsgPoint& Radius, float StartAngle,
                    float SweepAngle, bool AddFirstPoint);
    void AddCorner(const TsgPoint& A, const TsgPoint& E, const TsgPoint& K, const TsgPoint& KInner,
                   bool InSet, TsgCornerType Type);

    TsgPathObject* FResource = nullptr;
    UnicodeString FResourceName;
};
