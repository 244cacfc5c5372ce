#include "scene/core/Sg_scene_bounds.h"

#include "scene/core/Sg_scene_geometry.h"
#include "scene/core/Sg_scene_text.h"

#include "platform/classes/Reader.h"
#include "platform/classes/Writer.h"

DBI_PUBLISH(TsgBounds) {
    auto never = [](TPersistent&) { return false; };
    p.Float("Left", &TsgBounds::Left, &TsgBounds::SetLeft).Stored(never);
    p.Float("Top", &TsgBounds::Top, &TsgBounds::SetTop).Stored(never);
    p.Float("Right", &TsgBounds::Right, &TsgBounds::SetRight).Stored(never);
    p.Float("Bottom", &TsgBounds::Bottom, &TsgBounds::SetBottom).Stored(never);
}

DBI_PUBLISH(TsgPosition) {
    auto never = [](TPersistent&) { return false; };
    p.Float("X", &TsgPosition::X, &TsgPosition::SetX).Stored(never);
    p.Float("Y", &TsgPosition::Y, &TsgPosition::SetY).Stored(never);
}

DBI_PUBLISH(TsgTransform) {
    p.Object("Position", &TsgTransform::Position, &TsgTransform::SetPosition);
    p.Object("Scale", &TsgTransform::Scale, &TsgTransform::SetScale);
    p.Float("RotateAngle", &TsgTransform::RotateAngle, &TsgTransform::SetRotateAngle);
    p.Object("RotateCenter", &TsgTransform::RotateCenter, &TsgTransform::SetRotateCenter);
}

TsgBounds::TsgBounds(const TsgRect& ADefaultValue) : FDefaultValue(ADefaultValue) {
    FLeft = ADefaultValue.Left;
    FTop = ADefaultValue.Top;
    FRight = ADefaultValue.Right;
    FBottom = ADefaultValue.Bottom;
}

void TsgBounds::Changed() {
    if (OnChange)
        OnChange(this);
}

void TsgBounds::SetLeft(float Value) {
    if (Value != FLeft) {
        FLeft = Value;
        Changed();
    }
}

void TsgBounds::SetTop(float Value) {
    if (Value != FTop) {
        FTop = Value;
        Changed();
    }
}

void TsgBounds::SetRight(float Value) {
    if (Value != FRight) {
        FRight = Value;
        Changed();
    }
}

void TsgBounds::SetBottom(float Value) {
    if (Value != FBottom) {
        FBottom = Value;
        Changed();
    }
}

void TsgBounds::SetRect(const TsgRect& R) {
    if (R == Rect())
        return;
    FLeft = R.Left;
    FTop = R.Top;
    FRight = R.Right;
    FBottom = R.Bottom;
    Changed();
}

TsgRect TsgBounds::MarginRect(const TsgRect& R) const {
    return {R.Left + FLeft, R.Top + FTop, R.Right - FRight, R.Bottom - FBottom};
}

TsgRect TsgBounds::PaddinRect(const TsgRect& R) const {
    return {R.Left - FLeft, R.Top - FTop, R.Right + FRight, R.Bottom + FBottom};
}

bool TsgBounds::MarginEmpty() const {
    return FLeft == 0 && FTop == 0 && FRight == 0 && FBottom == 0;
}

bool TsgBounds::Empty() const {
    return sgIsRectEmpty(Rect());
}

void TsgBounds::Assign(TPersistent* Source) {
    if (auto* bounds = dynamic_cast<TsgBounds*>(Source)) {
        SetRect(bounds->Rect());
        return;
    }
    TPersistent::Assign(Source);
}

void TsgBounds::DefineProperties(TFiler& Filer) {
    TPersistent::DefineProperties(Filer);
    Filer.DefineProperty(
        "Rect",
        [this](TReader& reader) { SetRect(sgStringToRect(AnsiString(reader.ReadString()))); },
        [this](TWriter& writer) { writer.WriteString(UnicodeString(sgRectToString(Rect()))); },
        !(Rect() == FDefaultValue));
}

TsgPosition::TsgPosition(const TsgPoint& ADefaultValue)
    : FY(ADefaultValue.Y), FX(ADefaultValue.X), FDefaultValue(ADefaultValue) {}

void TsgPosition::SetX(float Value) {
    if (Value != FX) {
        FX = Value;
        if (OnChange)
            OnChange(this);
    }
}

void TsgPosition::SetY(float Value) {
    if (Value != FY) {
        FY = Value;
        if (OnChange)
            OnChange(this);
    }
}

void TsgPosition::SetPoint(const TsgPoint& P) {
    FX = P.X;
    FY = P.Y;
    if (OnChange)
        OnChange(this);
}

void TsgPosition::Reflect(const TsgVector& Normal) {
    SetVector(sgVectorReflect(Vector(), Normal));
}

void TsgPosition::Assign(TPersistent* Source) {
    if (auto* position = dynamic_cast<TsgPosition*>(Source)) {
        SetPoint(position->Point());
        return;
    }
    TPersistent::Assign(Source);
}

void TsgPosition::DefineProperties(TFiler& Filer) {
    TPersistent::DefineProperties(Filer);
    Filer.DefineProperty(
        "Point",
        [this](TReader& reader) { SetPoint(sgStringToPoint(AnsiString(reader.ReadString()))); },
        [this](TWriter& writer) { writer.WriteString(UnicodeString(sgPointToString(Point()))); },
        !(Point() == FDefaultValue));
}

TsgTransform::TsgTransform()
    : FPosition(new TsgPosition({0, 0})), FScale(new TsgPosition({1, 1})),
      FSkew(new TsgPosition({0, 0})), FRotateCenter(new TsgPosition({0.5f, 0.5f})) {
    const auto changed = TNotifyEvent::Bind<&TsgTransform::MatrixChanged>(this);
    FPosition->OnChange = changed;
    FScale->OnChange = changed;
    FSkew->OnChange = changed;
    FRotateCenter->OnChange = changed;
}

TsgTransform::~TsgTransform() {
    delete FPosition;
    delete FScale;
    delete FSkew;
    delete FRotateCenter;
}

void TsgTransform::MatrixChanged(TObject*) {
    FMatrix = IdentityMatrix;
    FMatrix.m31 = FPosition->X();
    FMatrix.m32 = FPosition->Y();
    FMatrix.m13 = FSkew->X();
    FMatrix.m23 = FSkew->Y();
    FMatrix.m11 = FScale->X();
    FMatrix.m22 = FScale->Y();
    if (FRotateAngle != 0)
        FMatrix = sgMatrixMultiply(sgCreateRotationMatrix(sgDegToRad(FRotateAngle)), FMatrix);
    if (OnChanged)
        OnChanged(this);
}

void TsgTransform::SetRotateAngle(float Value) {
    if (Value != FRotateAngle) {
        FRotateAngle = Value;
        MatrixChanged(this);
    }
}

void TsgTransform::Assign(TPersistent* Source) {
    if (auto* t = dynamic_cast<TsgTransform*>(Source)) {
        FPosition->SetPointNoChange(t->FPosition->Point());
        FScale->SetPointNoChange(t->FScale->Point());
        FSkew->SetPointNoChange(t->FSkew->Point());
        FRotateCenter->SetPointNoChange(t->FRotateCenter->Point());
        MatrixChanged(this);
        return;
    }
    TPersistent::Assign(Source);
}
