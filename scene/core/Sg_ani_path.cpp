#include "scene/core/Sg_ani_kinds.h"

#include "scene/core/Sg_scene_geometry.h"
#include "scene/core/Sg_scene_iscene.h"
#include "scene/core/Sg_scene_path.h"
#include "scene/core/Sg_scene_visual.h"
#include "scene/core/Sg_utils_spline.h"

#include <algorithm>
#include <cmath>

DBI_PUBLISH(TsgPathAnimation) {
    using A = TsgPathAnimation;
    p.Object("Path", &A::Path, &A::SetPath);
    p.Boolean("Rotate", &A::Rotate, &A::SetRotate, false);
}

DBI_PUBLISH(TsgPathSwitcher) {
    using A = TsgPathSwitcher;
    p.String("PathTrue", &A::PathTrue, &A::SetPathTrue);
    p.String("PathFalse", &A::PathFalse, &A::SetPathFalse);
    p.String("PropertyName", &A::PropertyName, &A::SetPropertyName);
}

TsgPathSwitcher::TsgPathSwitcher(TComponent* AOwner) : TsgPropertyAnimation(AOwner) {
    SetDuration(0.001f);
}

TsgPathAnimation::TsgPathAnimation(TComponent* AOwner)
    : TsgAnimation(AOwner), FPath(std::make_unique<TsgPathData>()) {}

TsgPathAnimation::~TsgPathAnimation() {
    BeforeDestruction();
}

void TsgPathAnimation::SetPath(TsgPathData* Value) {
    FPath->Assign(Value);
}

void TsgPathAnimation::Start() {
    // The first write of the base still uses the spline of the previous run, if any.
    TsgAnimation::Start();
    FSpline.reset();
    FPolygon.clear();
    IsgScene* scene = Scene();
    if (scene && scene->GetCanvas()) {
        FPath->FlattenToPolygon(FPolygon, 0.25f);
        for (size_t i = 1; i < FPolygon.size(); ++i)
            if (FPolygon[i] == ClosePolygon)
                FPolygon[i] = FPolygon[i - 1];
        FSpline = std::make_unique<TsgSpline>(FPolygon);
    }
    FObj = Parent() ? Parent()->Visual() : nullptr;
    if (FObj)
        FStart = FObj->Position()->Point();
}

void TsgPathAnimation::ProcessAnimation() {
    // The moved object is checked against the parent: an animation moved elsewhere since its
    // start moves nothing until it starts again.
    if (FPolygon.empty() || !FSpline || !FObj || !Parent() || Parent()->Visual() != FObj)
        return;
    const float t = NormalizedTime();
    const TsgPoint p0 = FObj->Position()->Point();
    float x, y;
    FSpline->SplineXY(t * float(FPolygon.size() - 1), x, y);
    FObj->Position()->SetX(FStart.X + x);
    FObj->Position()->SetY(FStart.Y + y);
    if (!FRotate || t == 0 || t == 1)
        return;
    const TsgPoint p1 = FObj->Position()->Point();
    if (p1.X == p0.X || p1.Y == p0.Y)
        return;
    const TsgVector d{p1.X - p0.X, p1.Y - p0.Y};
    const float cosine = std::clamp(sgVectorAngleCosine(d, TsgVector{0, 1}), -1.0f, 1.0f);
    const float theta = sgRadToDeg(std::acos(cosine));
    if (!Inverse())
        FObj->SetRotateAngle(d.X >= 0 ? -theta : theta);
    else
        FObj->SetRotateAngle(d.X >= 0 ? 180 - theta : 180 + theta);
}
