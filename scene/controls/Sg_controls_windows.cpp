#include "scene/controls/Sg_controls_windows.h"

#include "scene/controls/Sg_controls_checks.h"
#include "scene/core/Sg_objects_shape.h"
#include "scene/core/Sg_scene_geometry.h"
#include "scene/core/Sg_scene_registry.h"

DBI_PUBLISH(TsgWindow) {
    using S = TsgWindow;
    p.Boolean("ShowCloseButton", &S::ShowCloseButton, &S::SetShowCloseButton, true);
    p.Boolean("ShowSizeGrip", &S::ShowSizeGrip, &S::SetShowSizeGrip, true);
    p.Boolean("AutoTranslate", &S::AutoTranslate, &S::SetAutoTranslate, true);
    p.Enumeration("TextAlign", &S::TextAlign, &S::SetTextAlign, SgTextAlignNames(), std::nullopt);
    p.String("Text", &S::Text, &S::SetText);
    p.Object("Font", &S::Font, &S::SetFont);
    p.Event("OnCloseClick", &S::GetOnCloseClick, &S::SetOnCloseClick);
}

DBI_PUBLISH(TsgHudWindow) {
    using S = TsgHudWindow;
    p.Object("Fill", &S::Fill, &S::SetFill);
    p.Object("Stroke", &S::Stroke, &S::SetStroke);
    p.Float("StrokeThickness", &S::StrokeThickness, &S::SetStrokeThickness, 1);
    p.Enumeration("StrokeCap", &S::StrokeCap, &S::SetStrokeCap, {"sgCapFlat", "sgCapRound"},
                  sgCapFlat);
    p.Enumeration("StrokeDash", &S::StrokeDash, &S::SetStrokeDash,
                  {"sgDashSolid", "sgDashDash", "sgDashDot", "sgDashDashDot", "sgDashDashDotDot",
                   "sgDashCustom"},
                  sgDashSolid);
    p.Enumeration("StrokeJoin", &S::StrokeJoin, &S::SetStrokeJoin,
                  {"sgJoinMiter", "sgJoinRound", "sgJoinBevel"}, sgJoinMiter);
    // Declared as constructed: a left button is written and comes back from a stream.
    p.Enumeration("ButtonAlign", &S::ButtonAlign, &S::SetButtonAlign,
                  {"sgButtonAlignLeft", "sgButtonAlignRight"}, sgButtonAlignRight);
    p.Boolean("ShowCaption", &S::ShowCaption, &S::SetShowCaption, true);
    p.Boolean("DisableShadowOnOSX", &S::DisableShadowOnOSX, &S::SetDisableShadowOnOSX, true);
}

DBI_PUBLISH(TsgLayerWindow) {
    (void)p;
}

DBI_PUBLISH(TsgBitmapStateButton) {
    using S = TsgBitmapStateButton;
    p.Object("Bitmap", &S::Bitmap, &S::SetBitmap);
    p.Object("BitmapHot", &S::BitmapHot, &S::SetBitmapHot);
    p.Object("BitmapDown", &S::BitmapDown, &S::SetBitmapDown);
    p.Object("BitmapDisabled", &S::BitmapDisabled, &S::SetBitmapDisabled);
}

// Window.

TsgWindow::TsgWindow(TComponent* AOwner) : TsgTextControl(AOwner) {
    SetAutoTranslate(true);
    SetTextAlign(sgTextAlignNear);
    SetHitTest(false);
    SetWidth(200);
    SetHeight(200);
}

// Setting Resource to its own value applies nothing; the window applies its clone again itself.
void TsgWindow::Restyle() {
    if (StyleClone())
        ApplyStyle();
}

void TsgWindow::SetShowCloseButton(bool Value) {
    if (Value == FShowCloseButton)
        return;
    FShowCloseButton = Value;
    Restyle();
}

void TsgWindow::SetShowSizeGrip(bool Value) {
    if (Value == FShowSizeGrip)
        return;
    FShowSizeGrip = Value;
    Restyle();
}

// The close button of the present clone takes the handler at once, not only with the next style.
void TsgWindow::SetOnCloseClick(const TNotifyEvent& V) {
    OnCloseClick = V;
    Restyle();
}

void TsgWindow::ApplyStyle() {
    TsgTextControl::ApplyStyle();
    if (TsgObject* part = FindResource(u"close"); part && part->IsVisual()) {
        part->Visual()->SetVisible(FShowCloseButton);
        if (auto* close = dynamic_cast<TsgCloseButton*>(part); close && OnCloseClick) {
            close->SetCloseForm(false);
            close->OnCloseClick = OnCloseClick;
        }
    }
    if (TsgObject* part = FindResource(u"sizegrip"); part && part->IsVisual())
        part->Visual()->SetVisible(FShowSizeGrip);
}

// HUD window.

TsgHudWindow::TsgHudWindow(TComponent* AOwner)
    : TsgWindow(AOwner), FFill(new TsgBrush(sgBrushSolid, 0xEACACACA)),
      FStroke(new TsgBrush(sgBrushSolid, 0x5B000000)) {
    Font()->SetStyle(sgFontBold);
    FFill->OnChanged = TNotifyEvent::Bind<&TsgHudWindow::BrushChanged>(this);
    FStroke->OnChanged = TNotifyEvent::Bind<&TsgHudWindow::BrushChanged>(this);
}

TsgHudWindow::~TsgHudWindow() {
    BeforeDestruction();
    FFill->OnChanged = {};
    FStroke->OnChanged = {};
    delete FFill;
    delete FStroke;
}

void TsgHudWindow::Changed() {
    if (!Loading())
        Restyle();
}

void TsgHudWindow::BrushChanged(TObject*) {
    Changed();
}

void TsgHudWindow::SetDisableShadowOnOSX(bool Value) {
    if (Value == FDisableShadowOnOSX)
        return;
    FDisableShadowOnOSX = Value;
    Restyle();
}

void TsgHudWindow::SetStrokeThickness(float Value) {
    if (Value == FStrokeThickness)
        return;
    FStrokeThickness = Value;
    Changed();
}

void TsgHudWindow::SetStrokeCap(TsgStrokeCap Value) {
    if (Value == FStrokeCap)
        return;
    FStrokeCap = Value;
    Changed();
}

void TsgHudWindow::SetStrokeDash(TsgStrokeDash Value) {
    if (Value == FStrokeDash)
        return;
    FStrokeDash = Value;
    Changed();
}

void TsgHudWindow::SetStrokeJoin(TsgStrokeJoin Value) {
    if (Value == FStrokeJoin)
        return;
    FStrokeJoin = Value;
    Changed();
}

void TsgHudWindow::SetButtonAlign(TsgCloseAlign Value) {
    if (Value == FCloseAlign)
        return;
    FCloseAlign = Value;
    Changed();
}

void TsgHudWindow::SetShowCaption(bool Value) {
    if (Value == FShowCaption)
        return;
    FShowCaption = Value;
    Changed();
}

void TsgHudWindow::ApplyStyle() {
    TsgWindow::ApplyStyle();
    const float t = FStrokeThickness;
    // Shown and marked for the designer together: a hidden caption stays hidden there too.
    auto showWithCaption = [this](TsgVisualObject* part) {
        part->SetVisible(FShowCaption);
        part->SetDesignHide(!FShowCaption);
    };
    if (auto* close = dynamic_cast<TsgCloseButton*>(FindResource(u"close"))) {
        close->SetAlign(FCloseAlign == sgButtonAlignRight ? vaRight : vaLeft);
        if (close->Visible())
            showWithCaption(close);
    }
    if (auto* back = dynamic_cast<TsgShape*>(FindResource(u"back")))
        back->SetFill(FFill);
    if (auto* stroke = dynamic_cast<TsgShape*>(FindResource(u"stroke"))) {
        stroke->SetStroke(FStroke);
        stroke->SetStrokeThickness(t);
        stroke->SetStrokeCap(FStrokeCap);
        stroke->SetStrokeDash(FStrokeDash);
        stroke->SetStrokeJoin(FStrokeJoin);
        stroke->Margins()->SetRect({t, t, t, t});
    }
    if (TsgObject* caption = FindResource(u"caption"); caption && caption->IsVisual()) {
        TsgVisualObject* bar = caption->Visual();
        bar->SetHeight(t + 20);
        bar->Padding()->SetRect({t, t, t, 0});
        showWithCaption(bar);
    }
    if (TsgObject* text = FindResource(u"text"); text && text->IsVisual())
        showWithCaption(text->Visual());
}

// Bitmap state button.

TsgBitmapStateButton::TsgBitmapStateButton(TComponent* AOwner)
    : TsgCustomButton(AOwner), FBitmap(new TsgBitmap(1, 1)), FBitmapDown(new TsgBitmap(1, 1)),
      FBitmapHot(new TsgBitmap(1, 1)), FBitmapDisabled(new TsgBitmap(1, 1)) {
    SetWidth(64);
    SetHeight(64);
    FBitmap->OnChange = TNotifyEvent::Bind<&TsgBitmapStateButton::BitmapChanged>(this);
}

TsgBitmapStateButton::~TsgBitmapStateButton() {
    BeforeDestruction();
    FBitmap->OnChange = {};
    for (TsgBitmap* b : {FBitmap, FBitmapDown, FBitmapHot, FBitmapDisabled})
        delete b;
}

void TsgBitmapStateButton::CopyInto(TsgBitmap* Own, TsgBitmap* Value) {
    if (Value && Value != Own)
        Own->Assign(Value);
}

TsgBitmap* TsgBitmapStateButton::StateBitmap() {
    TsgBitmap* b = IsPressed() ? FBitmapDown : IsMouseOver() ? FBitmapHot : FBitmap;
    // A 1-pixel-wide bitmap is the empty one the button was made with.
    if (!AbsoluteEnabled() && FBitmapDisabled->Width() != 1)
        b = FBitmapDisabled;
    return b;
}

TsgRect TsgBitmapStateButton::StateBitmapRect() {
    TsgBitmap* b = StateBitmap();
    const TsgRect local = LocalRect();
    const TsgRect source{0, 0, static_cast<float>(b->Width()), static_cast<float>(b->Height())};
    TsgRect fitted = source;
    if (sgFitRect(fitted, local) > 1)
        return fitted;
    TsgRect natural = source;
    return sgRectCenter(natural, local);
}

void TsgBitmapStateButton::Paint() {
    TsgCanvas* canvas = Canvas();
    if (!canvas)
        return;
    TsgBitmap* b = StateBitmap();
    const TsgRect source{0, 0, static_cast<float>(b->Width()), static_cast<float>(b->Height())};
    canvas->DrawBitmap(b, source, StateBitmapRect(), AbsoluteOpacity());
}

void TsgBitmapStateButton::MouseEnter() {
    TsgCustomButton::MouseEnter();
    Repaint();
}

void TsgBitmapStateButton::MouseLeave() {
    TsgCustomButton::MouseLeave();
    Repaint();
}

void TsgBitmapStateButton::StartTriggerAnimation(TsgObject* AInstance, const AnsiString& ATrigger) {
    TsgCustomButton::StartTriggerAnimation(AInstance, ATrigger);
    if (ATrigger.Pos("IsPressed") > 0)
        Repaint();
}
