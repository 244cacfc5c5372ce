#include "scene/core/Sg_ani_kinds.h"

#include "scene/core/Sg_bitmap.h"
#include "scene/core/Sg_scene_canvas.h"

DBI_PUBLISH(TsgBitmapAnimation) {
    using A = TsgBitmapAnimation;
    p.Object("StartValue", &A::StartValue, &A::SetStartValue);
    p.Object("StopValue", &A::StopValue, &A::SetStopValue);
    p.String("PropertyName", &A::PropertyName, &A::SetPropertyName);
}

TsgBitmapAnimation::TsgBitmapAnimation(TComponent* AOwner)
    : TsgPropertyAnimation(AOwner), FStartBitmap(std::make_unique<TsgBitmap>(1, 1)),
      FStopBitmap(std::make_unique<TsgBitmap>(1, 1)), FCurrent(std::make_unique<TsgBitmap>(1, 1)) {}

TsgBitmapAnimation::~TsgBitmapAnimation() {
    BeforeDestruction();
}

void TsgBitmapAnimation::SetStartValue(TsgBitmap* Value) {
    FStartBitmap->Assign(Value);
}

void TsgBitmapAnimation::SetStopValue(TsgBitmap* Value) {
    FStopBitmap->Assign(Value);
}

void TsgBitmapAnimation::ProcessAnimation() {
    // One cross-fade at a time per parent: the others stop where they are.
    if (TsgObject* parent = Parent())
        for (int i = 0; i < parent->ChildrenCount(); ++i) {
            auto* other = dynamic_cast<TsgBitmapAnimation*>(parent->GetChild(i));
            if (other && other != this && other->Running())
                other->StopAtCurrent();
        }
    ResolveTarget();
    TPersistent* target = FTarget.ObjectValue();
    if (!target)
        return;
    const float t = NormalizedTime();
    FCurrent->SetSize(FStartBitmap->Width(), FStartBitmap->Height());
    FCurrent->Clear(0);
    if (TsgCanvas* canvas = FCurrent->Canvas(); canvas && canvas->BeginScene()) {
        const TsgRect src{0, 0, float(FCurrent->Width()), float(FCurrent->Height())};
        auto whole = [](TsgBitmap* b) {
            return TsgRect{0, 0, float(b->Width()), float(b->Height())};
        };
        canvas->DrawBitmap(FStartBitmap.get(), src, whole(FStartBitmap.get()), 1 - t * t * t);
        canvas->DrawBitmap(FStopBitmap.get(), src, whole(FStopBitmap.get()), t);
        canvas->EndScene();
    }
    target->Assign(FCurrent.get());
}
