#include "scene/controls/Sg_controls_text.h"

#include "scene/core/Sg_scene_iscene.h"
#include "scene/core/Sg_scene_lang.h"
#include "scene/core/Sg_scene_resourceobjects.h"

std::vector<AnsiString> SgTextAlignNames() {
    return {"sgTextAlignCenter", "sgTextAlignNear", "sgTextAlignFar"};
}

// The base publishes nothing; its subclasses publish what they show.
DBI_PUBLISH(TsgTextControl) {
    (void)p;
}

DBI_PUBLISH(TsgLabel) {
    using S = TsgLabel;
    p.String("Text", &S::Text, &S::SetText);
    p.Object("Font", &S::Font, &S::SetFont);
    p.Enumeration("TextAlign", &S::TextAlign, &S::SetTextAlign, SgTextAlignNames(), std::nullopt);
    p.Boolean("AutoTranslate", &S::AutoTranslate, &S::SetAutoTranslate, true);
    p.Boolean("WordWrap", &S::WordWrap, &S::SetWordWrap, true);
    p.Boolean("AutoSize", &S::AutoSize, &S::SetAutoSize, false);
    p.Boolean("HitTest", &S::HitTest, &S::SetHitTest, false);
    p.Object("BindingSource", &S::BindingSource, &S::SetBindingSource);
}

DBI_PUBLISH(TsgValueLabel) {
    using S = TsgValueLabel;
    p.Boolean("AutoTranslate", &S::AutoTranslate, &S::SetAutoTranslate, false);
    p.Boolean("WordWrap", &S::WordWrap, &S::SetWordWrap, false);
}

DBI_PUBLISH(TsgHudLabel) {
    (void)p;
}

TsgTextControl::TsgTextControl(TComponent* AOwner)
    : TsgControl(AOwner), FFont(new TsgFont()), FFontFill(new TsgBrush(sgBrushSolid, 0xFF000000)) {
    FFont->OnChanged = TNotifyEvent::Bind<&TsgTextControl::FontChanged>(this);
    FFontFill->OnChanged = TNotifyEvent::Bind<&TsgTextControl::FontFillChanged>(this);
}

TsgTextControl::~TsgTextControl() {
    // The clone's parts are gone by the time the owned objects are, so nothing may notify.
    BeforeDestruction();
    FFont->OnChanged = {};
    FFontFill->OnChanged = {};
    delete FFont;
    delete FFontFill;
}

TsgText* TsgTextControl::TextPart() {
    return dynamic_cast<TsgText*>(FindResource(u"text"));
}

void TsgTextControl::SetText(const UnicodeString& Value) {
    FText = Value;
    UpdateEffects();
    if (TsgText* part = TextPart())
        part->SetText(Value);
    else if (auto* root = dynamic_cast<TsgText*>(StyleClone()))
        root->SetText(Value);
    else
        Repaint();
}

void TsgTextControl::SetTextAlign(TsgTextAlign Value) {
    FTextAlign = Value;
    if (TsgText* part = TextPart())
        part->SetHorzTextAlign(Value);
    else
        Repaint();
}

void TsgTextControl::SetVertTextAlign(TsgTextAlign Value) {
    FVertTextAlign = Value;
    if (TsgText* part = TextPart())
        part->SetVertTextAlign(Value);
    else
        Repaint();
}

void TsgTextControl::FontChanged(TObject*) {
    if (TsgText* part = TextPart())
        part->SetFont(FFont);
}

void TsgTextControl::FontFillChanged(TObject*) {
    if (TsgText* part = TextPart())
        part->Fill()->Assign(FFontFill);
}

void TsgTextControl::ApplyStyle() {
    TsgControl::ApplyStyle();
    if (auto* foreground = dynamic_cast<TsgBrushObject*>(FindResource(u"foreground")))
        FFontFill->Assign(foreground->Brush());
    // The part may have been cloned after the fill last changed.
    FontFillChanged(this);
    SetText(FText);
    SetTextAlign(FTextAlign);
    SetVertTextAlign(FVertTextAlign);
    FontChanged(this);
    if (AutoTranslate()) {
        const UnicodeString translated = Translate(FText);
        IsgScene* scene = Scene();
        if (scene && !scene->GetDesignTime())
            SetText(translated);
    }
}

TsgLabel::TsgLabel(TComponent* AOwner) : TsgTextControl(AOwner) {
    SetAutoTranslate(true);
    SetHitTest(false);
    SetWidth(120);
    SetHeight(15);
}

void TsgLabel::SetText(const UnicodeString& Value) {
    const bool changed = Value != Text();
    TsgTextControl::SetText(Value);
    if (changed && FAutoSize && !FApplying)
        ApplyStyle();
}

void TsgLabel::SetWordWrap(bool Value) {
    if (Value == FWordWrap)
        return;
    FWordWrap = Value;
    if (TsgText* part = TextPart())
        part->SetWordWrap(Value);
}

void TsgLabel::SetAutoSize(bool Value) {
    if (Value == FAutoSize)
        return;
    FAutoSize = Value;
    if (Value && StyleClone())
        ApplyStyle();
}

void TsgLabel::ApplyStyle() {
    FApplying = true;
    try {
        TsgTextControl::ApplyStyle();
    } catch (...) {
        FApplying = false;
        throw;
    }
    FApplying = false;
    TsgText* part = TextPart();
    if (!part)
        return;
    part->SetWordWrap(FWordWrap);
    if (!FAutoSize)
        return;
    FWordWrap = false;
    part->SetWordWrap(false);
    part->SetVertTextAlign(sgTextAlignNear);
    part->SetHorzTextAlign(sgTextAlignNear);
    const TsgAlign align = part->Align();
    part->SetAlign(vaNone);
    part->SetAutoSize(true);
    SetWidth(part->Width());
    SetHeight(part->Height());
    part->SetAutoSize(false);
    part->SetAlign(align);
}

TsgValueLabel::TsgValueLabel(TComponent* AOwner) : TsgLabel(AOwner) {
    SetAutoTranslate(false);
    SetWordWrap(false);
}
