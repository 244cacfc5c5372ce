#include "scene/controls/Sg_controls_animatedbutton.h"

#include "scene/controls/Sg_controls_glyphbuttons.h"

#include "scene/core/Sg_ani_kinds.h"
#include "scene/core/Sg_bitmap.h"
#include "scene/core/Sg_objects.h"
#include "scene/core/Sg_scene_geometry.h"
#include "scene/core/Sg_scene_iscene.h"

namespace {

void AssignFade(TsgBitmapAnimation* Ani, TsgBitmap* From, TsgBitmap* To, const char* Trigger) {
    if (!Ani)
        return;
    Ani->SetStartValue(From);
    Ani->SetStopValue(To);
    Ani->SetTrigger(Trigger);
}

void StopAtCurrent(std::initializer_list<TsgBitmapAnimation*> Animations) {
    for (TsgBitmapAnimation* ani : Animations)
        if (ani)
            ani->StopAtCurrent();
}

} // namespace

DBI_PUBLISH(TsgAnimatedButton) {
    using S = TsgAnimatedButton;
    p.Object("Bitmap", &S::Bitmap, &S::SetBitmap);
    p.Object("BitmapHovered", &S::BitmapHovered, &S::SetBitmapHovered);
    p.Object("BitmapClicked", &S::BitmapClicked, &S::SetBitmapClicked);
    p.Object("BitmapClickedHovered", &S::BitmapClickedHovered, &S::SetBitmapClickedHovered);
    p.Object("BitmapDisabled", &S::BitmapDisabled, &S::SetBitmapDisabled);
}

TsgAnimatedButton::TsgAnimatedButton(TComponent* AOwner)
    : TsgButton(AOwner), FBitmap(new TsgBitmap(1, 1)), FBitmapHovered(new TsgBitmap(1, 1)),
      FBitmapClicked(new TsgBitmap(1, 1)), FBitmapClickedHovered(new TsgBitmap(1, 1)),
      FBitmapDisabled(new TsgBitmap(1, 1)) {
    // The other three show only through the animations, which are assigned anew on each set.
    FBitmap->OnChange = TNotifyEvent::Bind<&TsgAnimatedButton::ShownBitmapChanged>(this);
    FBitmapClicked->OnChange = TNotifyEvent::Bind<&TsgAnimatedButton::ShownBitmapChanged>(this);
    SetWidth(30);
    SetHeight(30);
}

TsgAnimatedButton::~TsgAnimatedButton() {
    BeforeDestruction();
    FBitmap->OnChange = {};
    FBitmapClicked->OnChange = {};
    for (TsgBitmap* b :
         {FBitmap, FBitmapHovered, FBitmapClicked, FBitmapClickedHovered, FBitmapDisabled})
        delete b;
}

bool TsgAnimatedButton::DesignTime() {
    IsgScene* scene = Scene();
    return scene && scene->GetDesignTime();
}

void TsgAnimatedButton::ShownBitmapChanged(TObject*) {
    Repaint();
    if (StyleClone())
        ApplyStyle();
}

void TsgAnimatedButton::SetBitmap(TsgBitmap* Value) {
    FBitmap->Assign(Value);
    AssignAnimations();
}

void TsgAnimatedButton::SetBitmapHovered(TsgBitmap* Value) {
    FBitmapHovered->Assign(Value);
    AssignAnimations();
}

void TsgAnimatedButton::SetBitmapClicked(TsgBitmap* Value) {
    FBitmapClicked->Assign(Value);
    AssignAnimations();
}

void TsgAnimatedButton::SetBitmapClickedHovered(TsgBitmap* Value) {
    FBitmapClickedHovered->Assign(Value);
    AssignAnimations();
}

// Copies like its siblings, so a disabled picture set from code is the one shown.
void TsgAnimatedButton::SetBitmapDisabled(TsgBitmap* Value) {
    FBitmapDisabled->Assign(Value);
    AssignAnimations();
}

TsgBitmap* TsgAnimatedButton::StateBitmap() {
    if (!AbsoluteEnabled() && FBitmapDisabled->Width() != 1)
        return FBitmapDisabled;
    if (StaysPressed() && IsPressed())
        return FBitmapClicked;
    return FBitmap;
}

void TsgAnimatedButton::AssignAnimations() {
    if (DesignTime()) {
        if (FImage)
            FImage->Bitmap()->Assign(StateBitmap());
        return;
    }
    if (StaysPressed() && IsPressed()) {
        AssignFade(FAnimHoverOn, FBitmapClicked, FBitmapClickedHovered, "IsMouseOver=true");
        AssignFade(FAnimHoverOff, FBitmapClickedHovered, FBitmapClicked, "IsMouseOver=false");
    } else {
        AssignFade(FAnimHoverOn, FBitmap, FBitmapHovered, "IsMouseOver=true");
        AssignFade(FAnimHoverOff, FBitmapHovered, FBitmap, "IsMouseOver=false");
    }
    if (StaysPressed()) {
        AssignFade(FAnimClickOn, FBitmapHovered, FBitmapClickedHovered, "IsPressed=true");
        AssignFade(FAnimClickOff, FBitmapClickedHovered, FBitmapHovered, "IsPressed=false");
    } else {
        AssignFade(FAnimClickOn, FBitmapHovered, FBitmapClicked, "");
        AssignFade(FAnimClickOff, FBitmapClicked, FBitmapHovered, "");
    }
}

void TsgAnimatedButton::ApplyStyle() {
    TsgButton::ApplyStyle();
    FImage = dynamic_cast<TsgImage*>(FindResource(u"image"));
    if (FImage)
        FImage->Bitmap()->Assign(StaysPressed() && IsPressed() ? FBitmapClicked : FBitmap);
    FAnimHoverOn = dynamic_cast<TsgBitmapAnimation*>(FindResource(u"animhoveron"));
    FAnimHoverOff = dynamic_cast<TsgBitmapAnimation*>(FindResource(u"animhoveroff"));
    FAnimClickOn = dynamic_cast<TsgBitmapAnimation*>(FindResource(u"animclickon"));
    FAnimClickOff = dynamic_cast<TsgBitmapAnimation*>(FindResource(u"animclickoff"));
    FAnimPress = FAnimClickOn;
    if (!DesignTime())
        AssignAnimations();
}

void TsgAnimatedButton::FreeStyle() {
    FImage = nullptr;
    FAnimHoverOn = FAnimHoverOff = FAnimClickOn = FAnimClickOff = FAnimPress = nullptr;
    TsgButton::FreeStyle();
}

void TsgAnimatedButton::Loaded() {
    TsgButton::Loaded();
    AssignAnimations();
}

void TsgAnimatedButton::SetIsPressed(bool Value) {
    TsgButton::SetIsPressed(Value);
    AssignAnimations();
}

void TsgAnimatedButton::RecalcEnabled() {
    TsgButton::RecalcEnabled();
    if (FImage)
        FImage->Bitmap()->Assign(StateBitmap());
}

void TsgAnimatedButton::Paint() {
    if (!AbsoluteEnabled() && FImage && FBitmapDisabled->Width() != 1)
        FImage->Bitmap()->Assign(FBitmapDisabled);
    TsgButton::Paint();
}

void TsgAnimatedButton::MouseDown(TMouseButton Button, TShiftState Shift, float X, float Y) {
    if (DesignTime()) {
        TsgButton::MouseDown(Button, Shift, X, Y);
        return;
    }
    FWasPressed = IsPressed();
    if (!StaysPressed() && FAnimClickOn) {
        StopAtCurrent({FAnimHoverOff, FAnimHoverOn, FAnimClickOff, FAnimPress});
        FAnimClickOn->Start();
    }
    TsgButton::MouseDown(Button, Shift, X, Y);
    if (StaysPressed())
        AssignAnimations();
}

void TsgAnimatedButton::MouseUp(TMouseButton Button, TShiftState Shift, float X, float Y) {
    if (!DesignTime()) {
        if (!StaysPressed() && FAnimClickOff) {
            StopAtCurrent({FAnimHoverOff, FAnimHoverOn, FAnimClickOn, FAnimPress});
            FAnimClickOff->Start();
        }
        if (StaysPressed() && !FWasPressed && !sgPtInRect({X, Y}, LocalRect()))
            PressUp();
    }
    TsgButton::MouseUp(Button, Shift, X, Y);
}

void TsgAnimatedButton::Press(bool Down) {
    if (!StaysPressed() || DesignTime())
        return;
    SetIsPressed(Down);
    AssignAnimations();
    StopAtCurrent({FAnimHoverOn, FAnimHoverOff, FAnimClickOn, FAnimClickOff, FAnimPress});
    if (FAnimPress) {
        FAnimPress->SetStartValue(Down ? FBitmap : FBitmapClicked);
        FAnimPress->SetStopValue(Down ? FBitmapClicked : FBitmap);
        FAnimPress->Start();
    }
}

void TsgAnimatedButton::PressDown() {
    Press(true);
}

void TsgAnimatedButton::PressUp() {
    Press(false);
}
