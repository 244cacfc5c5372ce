#include "scene/controls/Sg_controls_glyphbuttons.h"

#include "scene/core/Sg_ani_kinds.h"
#include "scene/core/Sg_bitmap.h"
#include "scene/core/Sg_objects.h"
#include "scene/core/Sg_scene_color.h"
#include "scene/core/Sg_scene_imagelist.h"
#include "scene/core/Sg_scene_iscene.h"
#include "scene/core/Sg_scene_path.h"

#include "platform/ui/Actions.h"

namespace {

constexpr TsgColor kFontStartColor = 0xFF000000;
constexpr TsgColor kStrokeStartColor = 0xFF808080;
constexpr float kHighlightSeconds = 0.2f;

const std::vector<AnsiString> kCapNames = {"sgCapFlat", "sgCapRound"};
const std::vector<AnsiString> kDashNames = {"sgDashSolid",   "sgDashDash",       "sgDashDot",
                                            "sgDashDashDot", "sgDashDashDotDot", "sgDashCustom"};
const std::vector<AnsiString> kJoinNames = {"sgJoinMiter", "sgJoinRound", "sgJoinBevel"};

TsgColorAnimation* MakeColorAnimation(TsgObject* Owner, const char* Name, TsgColor Color) {
    auto* ani = new TsgColorAnimation(Owner);
    ani->SetName(Name);
    ani->SetDuration(kHighlightSeconds);
    ani->SetStartValue(sgColorToStr(Color));
    ani->SetStopValue(sgColorToStr(Color));
    Owner->AddObject(ani);
    ani->SetStored(false);
    return ani;
}

// The colour a highlight animation shows at rest in the given state.
UnicodeString RestColor(TsgColorAnimation* A, bool Highlighted) {
    return Highlighted ? A->StopValue() : A->StartValue();
}

} // namespace

std::vector<AnsiString> SgButtonLayoutNames() {
    return {"sgGlyphLeft", "sgGlyphRight", "sgGlyphTop", "sgGlyphBottom", "sgGlyphCenter"};
}

bool sgBitmapIsEmpty(const TsgBitmap* Bitmap) {
    return !Bitmap || Bitmap->Width() <= 1 || Bitmap->Height() <= 1;
}

void sgPlaceGlyph(TsgVisualObject* Part, TsgButtonLayout Layout, float Size, float Padding,
                  float Spacing, bool AddSpacing) {
    const float p = Padding;
    // The side towards the caption.
    const float c = AddSpacing ? p + Spacing : Spacing;
    switch (Layout) {
    case sgGlyphLeft:
        Part->SetAlign(vaLeft);
        Part->SetWidth(Size);
        Part->Padding()->SetRect({p, p, c, p});
        break;
    case sgGlyphRight:
        Part->SetAlign(vaRight);
        Part->SetWidth(Size);
        Part->Padding()->SetRect({c, p, p, p});
        break;
    case sgGlyphTop:
        Part->SetAlign(vaTop);
        Part->SetHeight(Size);
        Part->Padding()->SetRect({p, p, p, c});
        break;
    case sgGlyphBottom:
        Part->SetAlign(vaBottom);
        Part->SetHeight(Size);
        Part->Padding()->SetRect({p, c, p, p});
        break;
    case sgGlyphCenter: {
        Part->SetAlign(vaCenter);
        Part->SetWidth(Size);
        Part->SetHeight(Size);
        const float all = AddSpacing ? p : Spacing;
        Part->Padding()->SetRect({all, all, all, all});
        break;
    }
    }
}

DBI_PUBLISH(TsgBitmapButton) {
    using S = TsgBitmapButton;
    p.Object("Bitmap", &S::Bitmap, &S::SetBitmap);
    p.Object("BitmapPressed", &S::BitmapPressed, &S::SetBitmapPressed);
    p.Enumeration("BitmapLayout", &S::BitmapLayout, &S::SetBitmapLayout, SgButtonLayoutNames(),
                  sgGlyphLeft);
    p.Float("BitmapSpacing", &S::BitmapSpacing, &S::SetBitmapSpacing, 0);
    p.Float("BitmapSize", &S::BitmapSize, &S::SetBitmapSize, 0);
    p.Float("BitmapPadding", &S::BitmapPadding, &S::SetBitmapPadding, 0);
    p.Boolean("IsHighlighted", &S::IsHighlighted, &S::SetIsHighlighted, std::nullopt);
    p.Object("AnimFontColor", &S::AnimFontColor, nullptr);
    p.Object("AnimStrokeColor", &S::AnimStrokeColor, nullptr);
}

DBI_PUBLISH(TsgToolButton) {
    using S = TsgToolButton;
    p.Boolean("CanFocused", &S::CanFocused, &S::SetCanFocused, false);
    p.Enumeration("BitmapLayout", &S::BitmapLayout, &S::SetBitmapLayout, SgButtonLayoutNames(),
                  sgGlyphTop);
}

DBI_PUBLISH(TsgPathButton) {
    using S = TsgPathButton;
    p.Object("Path", &S::Path, &S::SetPath);
    p.Enumeration("PathLayout", &S::PathLayout, &S::SetPathLayout, SgButtonLayoutNames(),
                  sgGlyphLeft);
    p.Float("PathSpacing", &S::PathSpacing, &S::SetPathSpacing, 0);
    p.Float("PathSize", &S::PathSize, &S::SetPathSize, 0);
    p.Float("PathPadding", &S::PathPadding, &S::SetPathPadding, 0);
    p.Object("PathFill", &S::PathFill, &S::SetPathFill);
    p.Object("PathStroke", &S::PathStroke, &S::SetPathStroke);
    p.Float("PathStrokeThickness", &S::PathStrokeThickness, &S::SetPathStrokeThickness, 1);
    p.Enumeration("PathStrokeCap", &S::PathStrokeCap, &S::SetPathStrokeCap, kCapNames, sgCapFlat);
    p.Enumeration("PathStrokeDash", &S::PathStrokeDash, &S::SetPathStrokeDash, kDashNames,
                  sgDashSolid);
    p.Enumeration("PathStrokeJoin", &S::PathStrokeJoin, &S::SetPathStrokeJoin, kJoinNames,
                  sgJoinMiter);
}

DBI_PUBLISH(TsgToolPathButton) {
    using S = TsgToolPathButton;
    p.Boolean("CanFocused", &S::CanFocused, &S::SetCanFocused, false);
    p.Enumeration("PathLayout", &S::PathLayout, &S::SetPathLayout, SgButtonLayoutNames(),
                  sgGlyphTop);
}

// Bitmap button.

TsgBitmapButton::TsgBitmapButton(TComponent* AOwner)
    : TsgCustomButton(AOwner), FBitmap(new TsgBitmap(1, 1)), FBitmapPressed(new TsgBitmap(1, 1)) {
    FBitmap->OnChange = TNotifyEvent::Bind<&TsgBitmapButton::BitmapChanged>(this);
    FBitmapPressed->OnChange = TNotifyEvent::Bind<&TsgBitmapButton::BitmapChanged>(this);
    FAnimFontColor = MakeColorAnimation(this, "AnimFontColor", kFontStartColor);
    FAnimStrokeColor = MakeColorAnimation(this, "AnimStrokeColor", kStrokeStartColor);
    SetWidth(50);
    SetHeight(60);
}

TsgBitmapButton::~TsgBitmapButton() {
    BeforeDestruction();
    FBitmap->OnChange = {};
    FBitmapPressed->OnChange = {};
    delete FBitmap;
    delete FBitmapPressed;
}

bool TsgBitmapButton::DesignTime() {
    IsgScene* scene = Scene();
    return scene && scene->GetDesignTime();
}

void TsgBitmapButton::BitmapChanged(TObject*) {
    Repaint();
    if (StyleClone())
        ApplyStyle();
}

void TsgBitmapButton::SetBitmap(TsgBitmap* Value) {
    FBitmap->Assign(Value);
    AssignPressAnimations();
}

void TsgBitmapButton::ActionChange(TBasicAction* Sender, bool CheckDefaults) {
    TsgCustomButton::ActionChange(Sender, CheckDefaults);
    auto* action = dynamic_cast<TCustomAction*>(Sender);
    if (!action || FBitmap->Width() > 1 || !action->ActionList())
        return;
    auto* images = dynamic_cast<TsgImageList*>(action->ActionList()->Images());
    TsgBitmap* picture = images ? images->GetBitmap(action->ImageIndex()) : nullptr;
    if (!picture)
        return;
    SetBitmapSize(float(images->Width()));
    SetBitmap(picture);
}

void TsgBitmapButton::SetBitmapPressed(TsgBitmap* Value) {
    FBitmapPressed->Assign(Value);
    AssignPressAnimations();
}

void TsgBitmapButton::SetBitmapLayout(TsgButtonLayout Value) {
    if (Value == FBitmapLayout)
        return;
    FBitmapLayout = Value;
    if (StyleClone())
        ApplyStyle();
}

void TsgBitmapButton::SetBitmapSpacing(float Value) {
    if (Value == FBitmapSpacing)
        return;
    FBitmapSpacing = Value;
    if (!Loading() && StyleClone())
        ApplyStyle();
}

void TsgBitmapButton::SetBitmapSize(float Value) {
    if (Value == FBitmapSize)
        return;
    FBitmapSize = Value;
    if (!Loading() && StyleClone())
        ApplyStyle();
}

void TsgBitmapButton::SetBitmapPadding(float Value) {
    if (Value == FBitmapPadding)
        return;
    FBitmapPadding = Value;
    if (!Loading() && StyleClone())
        ApplyStyle();
}

void TsgBitmapButton::ShowHighlightColors() {
    if (TsgText* text = TextPart()) {
        text->Fill()->SetColor(RestColor(FAnimFontColor, FIsHighlighted));
        Font()->SetStyle(FIsHighlighted ? sgFontBold : sgFontRegular);
    }
    if (auto* background = dynamic_cast<TsgRectangle*>(FindResource(u"background")))
        background->Stroke()->SetColor(RestColor(FAnimStrokeColor, FIsHighlighted));
}

void TsgBitmapButton::SetIsHighlighted(bool Value) {
    if (Value == FIsHighlighted)
        return;
    FIsHighlighted = Value;
    if (DesignTime() || Loading()) {
        ShowHighlightColors();
        return;
    }
    for (TsgColorAnimation* ani : {FAnimFontColor, FAnimStrokeColor}) {
        ani->StopAtCurrent();
        ani->SetInverse(!Value);
        ani->Start();
    }
    Font()->SetStyle(Value ? sgFontBold : sgFontRegular);
}

void TsgBitmapButton::TakeColorAnimationsHome() {
    for (TsgColorAnimation* ani : {FAnimFontColor, FAnimStrokeColor})
        if (ani->Parent() != this) {
            AddObject(ani);
            ani->SetStored(false);
        }
}

void TsgBitmapButton::ApplyResource() {
    if (StyleClone() && StyleNeeded())
        TakeColorAnimationsHome();
    TsgCustomButton::ApplyResource();
}

void TsgBitmapButton::FreeStyle() {
    // Whatever replaces the clone, the animations must not be freed with it.
    TakeColorAnimationsHome();
    FAnimPressedOn = nullptr;
    FAnimPressedOff = nullptr;
    TsgCustomButton::FreeStyle();
}

void TsgBitmapButton::AssignPressAnimations() {
    if (DesignTime())
        return;
    if (FAnimPressedOn) {
        FAnimPressedOn->SetStartValue(FBitmap);
        FAnimPressedOn->SetStopValue(FBitmapPressed);
        FAnimPressedOn->SetTrigger("IsPressed=true");
    }
    if (FAnimPressedOff) {
        FAnimPressedOff->SetStartValue(FBitmapPressed);
        FAnimPressedOff->SetStopValue(FBitmap);
        FAnimPressedOff->SetTrigger("IsPressed=false");
    }
}

void TsgBitmapButton::ApplyStyle() {
    TsgCustomButton::ApplyStyle();
    FAnimPressedOn = dynamic_cast<TsgBitmapAnimation*>(FindResource(u"animpressedon"));
    FAnimPressedOff = dynamic_cast<TsgBitmapAnimation*>(FindResource(u"animpressedoff"));
    if (auto* image = dynamic_cast<TsgImage*>(FindResource(u"image"))) {
        TsgBitmap* shown = FAnimPressedOn && IsPressed() ? FBitmapPressed : FBitmap;
        image->Bitmap()->Assign(shown);
        if (sgBitmapIsEmpty(shown))
            image->SetAlign(vaNone);
        else
            sgPlaceGlyph(image, FBitmapLayout, FBitmapSize, FBitmapPadding, FBitmapSpacing, true);
    }
    const float p = FBitmapPadding;
    TsgObject* text = FindResource(u"text");
    if (TsgVisualObject* visual = text ? text->Visual() : nullptr)
        visual->Padding()->SetRect({p, p, p, p});
    const bool design = DesignTime();
    if (auto* textShape = dynamic_cast<TsgText*>(text)) {
        if (!design && FAnimFontColor->Parent() != textShape)
            textShape->AddObject(FAnimFontColor);
        FAnimFontColor->SetPropertyName("Fill.Color");
    }
    if (auto* background = dynamic_cast<TsgRectangle*>(FindResource(u"background"))) {
        if (!design && FAnimStrokeColor->Parent() != background)
            background->AddObject(FAnimStrokeColor);
        FAnimStrokeColor->SetPropertyName("Stroke.Color");
    }
    ShowHighlightColors();
    AssignPressAnimations();
}

TsgToolButton::TsgToolButton(TComponent* AOwner) : TsgBitmapButton(AOwner) {
    SetCanFocused(false);
    SetBitmapLayout(sgGlyphTop);
}

// Path button.

TsgPathButton::TsgPathButton(TComponent* AOwner)
    : TsgCustomButton(AOwner), FPath(new TsgPathData()),
      FFill(new TsgBrush(sgBrushSolid, 0xFFFFFFFF)),
      FStroke(new TsgBrush(sgBrushSolid, 0xFF000000)) {
    FPath->OnChanged = TNotifyEvent::Bind<&TsgPathButton::GlyphChanged>(this);
    FFill->OnChanged = TNotifyEvent::Bind<&TsgPathButton::GlyphChanged>(this);
    FStroke->OnChanged = TNotifyEvent::Bind<&TsgPathButton::GlyphChanged>(this);
    SetWidth(50);
    SetHeight(60);
}

TsgPathButton::~TsgPathButton() {
    BeforeDestruction();
    FPath->OnChanged = {};
    FFill->OnChanged = {};
    FStroke->OnChanged = {};
    delete FPath;
    delete FFill;
    delete FStroke;
}

void TsgPathButton::GlyphChanged(TObject*) {
    Repaint();
    if (StyleClone())
        ApplyStyle();
}

void TsgPathButton::SetPath(TsgPathData* Value) {
    FPath->Assign(Value);
}

void TsgPathButton::SetPathFill(TsgBrush* Value) {
    FFill->Assign(Value);
}

void TsgPathButton::SetPathStroke(TsgBrush* Value) {
    FStroke->Assign(Value);
}

void TsgPathButton::SetPathLayout(TsgButtonLayout Value) {
    if (Value == FPathLayout)
        return;
    FPathLayout = Value;
    if (StyleClone())
        ApplyStyle();
}

template <class V>
void TsgPathButton::Change(V& Field, V Value) {
    if (Value == Field)
        return;
    Field = Value;
    if (!Loading() && StyleClone())
        ApplyStyle();
}

void TsgPathButton::SetPathSize(float Value) {
    Change(FPathSize, Value);
}
void TsgPathButton::SetPathSpacing(float Value) {
    Change(FPathSpacing, Value);
}
void TsgPathButton::SetPathPadding(float Value) {
    Change(FPathPadding, Value);
}
void TsgPathButton::SetPathStrokeThickness(float Value) {
    Change(FStrokeThickness, Value);
}
void TsgPathButton::SetPathStrokeCap(TsgStrokeCap Value) {
    Change(FStrokeCap, Value);
}
void TsgPathButton::SetPathStrokeDash(TsgStrokeDash Value) {
    Change(FStrokeDash, Value);
}
void TsgPathButton::SetPathStrokeJoin(TsgStrokeJoin Value) {
    Change(FStrokeJoin, Value);
}

void TsgPathButton::ApplyStyle() {
    TsgCustomButton::ApplyStyle();
    if (auto* path = dynamic_cast<TsgPath*>(FindResource(u"path"))) {
        path->SetData(FPath);
        path->Fill()->Assign(FFill);
        path->Stroke()->Assign(FStroke);
        path->SetStrokeThickness(FStrokeThickness);
        path->SetStrokeCap(FStrokeCap);
        path->SetStrokeJoin(FStrokeJoin);
        path->SetStrokeDash(FStrokeDash);
    }
    const float p = FPathPadding;
    TsgObject* owner = FindResource(u"pathowner");
    if (TsgVisualObject* visual = owner ? owner->Visual() : nullptr) {
        visual->Padding()->SetRect({p, p, p, p});
        if (FPath->IsEmpty())
            visual->SetAlign(vaNone);
        else
            sgPlaceGlyph(visual, FPathLayout, FPathSize, p, FPathSpacing, false);
    }
    TsgObject* text = FindResource(u"text");
    if (TsgVisualObject* visual = text ? text->Visual() : nullptr)
        visual->Padding()->SetRect({p, p, p, p});
}

TsgToolPathButton::TsgToolPathButton(TComponent* AOwner) : TsgPathButton(AOwner) {
    SetCanFocused(false);
    SetPathLayout(sgGlyphTop);
}
