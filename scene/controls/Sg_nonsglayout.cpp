#include "scene/controls/Sg_nonsglayout.h"

#include "scene/core/Sg_classes_timer.h"
#include "scene/core/Sg_scene_iscene.h"

#include "platform/ui/WinComponent.h"

#include <cmath>

DBI_PUBLISH(TsgNonSGLayout) {
    using S = TsgNonSGLayout;
    p.Object("NonSGControl", &S::NonSGControl, &S::SetControl);
}

TsgNonSGLayout::TsgNonSGLayout(TComponent* AOwner) : TsgLayout(AOwner) {
    FVisibleTimer = new TsgTimer(nullptr);
    FVisibleTimer->SetEnabled(false);
    FVisibleTimer->SetInterval(100);
    FVisibleTimer->SetOnTimer(TNotifyEvent::Bind<&TsgNonSGLayout::DoVisibleTimer>(this));
}

TsgNonSGLayout::~TsgNonSGLayout() {
    if (FControl)
        FControl->RemoveFreeNotification(this);
    delete FVisibleTimer;
}

void TsgNonSGLayout::SetControl(TWinComponent* Value) {
    if (Value == FControl)
        return;
    IsgScene* scene = Scene();
    if (Value && scene && Value == scene->GetComponent())
        return;
    if (FControl)
        FControl->RemoveFreeNotification(this);
    FControl = Value;
    if (FControl)
        FControl->FreeNotification(this);
    Realign();
}

void TsgNonSGLayout::Notification(TComponent* AComponent, TOperation Operation) {
    TsgLayout::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent && AComponent == FControl) {
        FControl = nullptr;
        FVisibleTimer->SetEnabled(false);
    }
}

void TsgNonSGLayout::Realign() {
    TsgLayout::Realign();
    if (!FControl || !FControl->Visible())
        return;
    int offsetX = 0;
    int offsetY = 0;
    if (IsgScene* scene = Scene())
        if (auto* window = dynamic_cast<TWinControl*>(scene->GetComponent())) {
            offsetX = window->Left();
            offsetY = window->Top();
        }
    const TsgRect r = GetAbsoluteRect();
    // Halves to even, as the platform rounds.
    auto round = [](float v) { return static_cast<int>(std::nearbyint(v)); };
    FControl->SetBounds(round(r.Left + offsetX), round(r.Top + offsetY), round(r.Right - r.Left),
                        round(r.Bottom - r.Top));
}

bool TsgNonSGLayout::CheckParentVisible() {
    const bool visible = TsgLayout::CheckParentVisible();
    if (FControl && FControl->Visible() != visible) {
        FControl->SetVisible(visible);
        FVisibleTimer->SetEnabled(visible);
        if (visible)
            Realign();
    }
    return visible;
}

void TsgNonSGLayout::Paint() {
    if (!PaintingToTarget())
        CheckParentVisible();
    TsgLayout::Paint();
}

void TsgNonSGLayout::DoVisibleTimer(TObject*) {
    CheckParentVisible();
}
