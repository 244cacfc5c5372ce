// Attribute objects owned by visual objects, gradients and animations: four side values
// (TsgBounds), a point (TsgPosition) and a transform folded into a matrix (TsgTransform).
//
// Each tells its owner about a change through one event the owner sets when it creates it. In
// streams a bounds object is one text property "Rect" and a position one text property
// "Point", written only when they differ from the defaults the owner gave at construction.
#pragma once

#include "scene/core/Sg_scene_types.h"

#include "platform/classes/Persistent.h"

class TsgBounds : public TPersistent {
    DBI_PERSISTENT(TsgBounds, TPersistent)

    explicit TsgBounds(const TsgRect& ADefaultValue = TsgRect{});

    float Left() const { return FLeft; }
    float Top() const { return FTop; }
    float Right() const { return FRight; }
    float Bottom() const { return FBottom; }
    void SetLeft(float Value);
    void SetTop(float Value);
    void SetRight(float Value);
    void SetBottom(float Value);
    TsgRect Rect() const { return {FLeft, FTop, FRight, FBottom}; }
    // Stores all four and notifies once, when any differs.
    void SetRect(const TsgRect& R);
    const TsgRect& DefaultValue() const { return FDefaultValue; }

    // R shrunk by the sides.
    TsgRect MarginRect(const TsgRect& R) const;
    // R grown by the sides.
    TsgRect PaddinRect(const TsgRect& R) const;
    float Width() const { return FRight - FLeft; }
    float Height() const { return FBottom - FTop; }
    bool MarginEmpty() const;
    bool Empty() const;

    void Assign(TPersistent* Source) override;
    void DefineProperties(TFiler& Filer) override;

    TNotifyEvent OnChange;

private:
    void Changed();

    float FRight = 0, FBottom = 0, FTop = 0, FLeft = 0;
    TsgRect FDefaultValue;
};

class TsgPosition : public TPersistent {
    DBI_PERSISTENT(TsgPosition, TPersistent)

    explicit TsgPosition(const TsgPoint& ADefaultValue = TsgPoint{});

    float X() const { return FX; }
    float Y() const { return FY; }
    void SetX(float Value);
    void SetY(float Value);
    TsgPoint Point() const { return {FX, FY}; }
    // Notifies also when nothing changed.
    void SetPoint(const TsgPoint& P);
    TsgVector Vector() const { return {FX, FY, 1}; }
    void SetVector(const TsgVector& V) { SetPoint({V.X, V.Y}); }
    void Reflect(const TsgVector& Normal);
    bool Empty() const { return FX == 0 && FY == 0; }
    const TsgPoint& DefaultValue() const { return FDefaultValue; }
    // Sets both without notification (owners that recompute everything themselves).
    void SetPointNoChange(const TsgPoint& P) {
        FX = P.X;
        FY = P.Y;
    }

    void Assign(TPersistent* Source) override;
    void DefineProperties(TFiler& Filer) override;

    TNotifyEvent OnChange;

private:
    float FY = 0, FX = 0;
    TsgPoint FDefaultValue;
};

class TsgTransform : public TPersistent {
    DBI_PERSISTENT(TsgTransform, TPersistent)

    TsgTransform();
    ~TsgTransform() override;
    TsgTransform(const TsgTransform&) = delete;
    TsgTransform& operator=(const TsgTransform&) = delete;

    const TsgMatrix& Matrix() const { return FMatrix; }
    float RotateAngle() const { return FRotateAngle; }
    void SetRotateAngle(float Value);
    TsgPosition* Position() const { return FPosition; }
    TsgPosition* Scale() const { return FScale; }
    TsgPosition* Skew() const { return FSkew; }
    TsgPosition* RotateCenter() const { return FRotateCenter; }
    void SetPosition(TsgPosition* Value) { FPosition->Assign(Value); }
    void SetScale(TsgPosition* Value) { FScale->Assign(Value); }
    void SetRotateCenter(TsgPosition* Value) { FRotateCenter->Assign(Value); }

    // Rebuilds the matrix from position, scale, skew and angle, then tells the owner.
    void MatrixChanged(TObject* Sender);
    // Copies the four positions (not the angle) and rebuilds the matrix once.
    void Assign(TPersistent* Source) override;

    TNotifyEvent OnChanged;

private:
    TsgMatrix FMatrix = IdentityMatrix;
    float FRotateAngle = 0;
    TsgPosition* FPosition;
    TsgPosition* FScale;
    TsgPosition* FSkew;
    TsgPosition* FRotateCenter;
};
