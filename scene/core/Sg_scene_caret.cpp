// The text caret of text controls: a small blue rectangle owned by the object, never streamed
// and never hit, that blinks through a "caret" opacity animation when the scene wants it to.
#include "scene/core/Sg_ani_kinds.h"
#include "scene/core/Sg_objects.h"
#include "scene/core/Sg_scene_iscene.h"
#include "scene/core/Sg_scene_visual.h"

#include "platform/rtl/Conversions.h"

namespace {

TsgFloatAnimation* CaretAnimation(TsgVisualObject* Caret) {
    for (int i = 0; i < Caret->ChildrenCount(); ++i)
        if (auto* animation = dynamic_cast<TsgFloatAnimation*>(Caret->GetChild(i)))
            return animation;
    return nullptr;
}

} // namespace

void TsgVisualObject::CreateCaret() {
    if (FCaret)
        return;
    auto* caret = new TsgRectangle(this);
    caret->SetStored(false);
    caret->SetHitTest(false);
    caret->SetLocked(true);
    caret->SetWidth(3);
    caret->SetHeight(20);
    caret->Fill()->SetStyle(sgBrushSolid);
    caret->Fill()->SetSolidColor(0xFF0000FF);
    caret->Stroke()->SetStyle(sgBrushNone);
    caret->SetVisible(false);
    IsgScene* scene = Scene();
    if (scene && scene->GetAnimatedCaret()) {
        auto* blink = new TsgFloatAnimation(caret);
        blink->SetBindingName(u"caret");
        blink->SetPropertyName("Opacity");
        blink->SetStartValue(1);
        blink->SetStopValue(0);
        blink->SetDuration(0.1f);
        blink->SetAutoReverse(true);
        blink->SetLoop(true);
        caret->AddObject(blink);
    }
    AddObject(caret);
    FCaret = caret;
}

void TsgVisualObject::ShowCaret() {
    CreateCaret();
    FCaret->SetVisible(true);
    if (TsgFloatAnimation* blink = CaretAnimation(FCaret))
        if (!blink->Running())
            blink->Start();
}

void TsgVisualObject::HideCaret() {
    if (FCaret)
        FCaret->SetVisible(false);
}

void TsgVisualObject::SetCaretPos(const TsgPoint& P) {
    CreateCaret();
    FCaret->Position()->SetPoint({static_cast<float>(Round(P.X)), static_cast<float>(Round(P.Y))});
}

void TsgVisualObject::SetCaretSize(const TsgPoint& P) {
    CreateCaret();
    FCaret->SetWidth(P.X);
    FCaret->SetHeight(P.Y);
}

void TsgVisualObject::SetCaretColor(TsgColor Color) {
    CreateCaret();
    if (auto* shape = dynamic_cast<TsgShape*>(FCaret))
        shape->Fill()->SetSolidColor(Color);
}
