#include "scene/core/Sg_objects_text.h"

#include "scene/core/Sg_scene_geometry.h"

namespace {

// A function, not a table, so that it exists whenever the class information is built.
std::vector<AnsiString> TextAlignNames() {
    return {"sgTextAlignCenter", "sgTextAlignNear", "sgTextAlignFar"};
}

} // namespace

DBI_PUBLISH(TsgText) {
    using S = TsgText;
    p.Boolean("AutoSize", &S::AutoSize, &S::SetAutoSize, false);
    PublishShapeFill(p);
    p.Object("Font", &S::Font, &S::SetFont);
    p.Enumeration("HorzTextAlign", &S::HorzTextAlign, &S::SetHorzTextAlign, TextAlignNames(),
                  sgTextAlignCenter);
    p.Enumeration("VertTextAlign", &S::VertTextAlign, &S::SetVertTextAlign, TextAlignNames(),
                  sgTextAlignCenter);
    p.String("Text", &S::Text, &S::SetText);
    p.Boolean("Stretch", &S::Stretch, &S::SetStretch, false);
    p.Boolean("WordWrap", &S::WordWrap, &S::SetWordWrap, true);
}

TsgText::TsgText(TComponent* AOwner)
    : TsgShape(AOwner, sgBrushSolid, 0xFF000000, sgBrushNone), FFont(new TsgFont()) {
    FFont->OnChanged = TNotifyEvent::Bind<&TsgText::FontNotice>(this);
}

TsgText::~TsgText() {
    BeforeDestruction();
    delete FFont;
}

void TsgText::SetText(const UnicodeString& Value) {
    if (Value == FText)
        return;
    FText = Value;
    MarkEffects();
    if (FAutoSize)
        AdjustSize();
    Repaint();
}

void TsgText::SetFont(TsgFont* Value) {
    FFont->Assign(Value);
    if (FAutoSize)
        AdjustSize();
}

void TsgText::FontChanged() {
    MarkEffects();
    if (FAutoSize)
        AdjustSize();
    Repaint();
}

void TsgText::SetHorzTextAlign(TsgTextAlign Value) {
    if (Value == FHorzTextAlign)
        return;
    FHorzTextAlign = Value;
    MarkEffects();
    Repaint();
}

void TsgText::SetVertTextAlign(TsgTextAlign Value) {
    if (Value == FVertTextAlign)
        return;
    FVertTextAlign = Value;
    MarkEffects();
    Repaint();
}

void TsgText::SetWordWrap(bool Value) {
    if (Value == FWordWrap)
        return;
    FWordWrap = Value;
    Repaint();
}

void TsgText::SetAutoSize(bool Value) {
    if (Value == FAutoSize)
        return;
    FAutoSize = Value;
    AdjustSize();
}

void TsgText::SetStretch(bool Value) {
    if (Value == FStretch)
        return;
    MarkEffects();
    FStretch = Value;
    if (FStretch)
        FAutoSize = false;
    Repaint();
}

void TsgText::Realign() {
    TsgShape::Realign();
    if (FAutoSize)
        AdjustSize();
}

void TsgText::AdjustSize() {
    if (FDisableAlign)
        return;
    FDisableAlign = true;
    TsgCanvas* canvas = Canvas();
    const bool sized = FAutoSize && canvas && !FText.IsEmpty();
    if (sized) {
        canvas->Font()->Assign(FFont);
        TsgRect r = FWordWrap ? TsgRect{0, 0, Width(), 1000} : TsgRect{0, 0, 1000, 1000};
        canvas->MeasureText(r, r, FText, FWordWrap, sgTextAlignNear, sgTextAlignNear);
        if (!FWordWrap)
            SetWidth(FFont->Size() / 2 + r.Right);
        if (FVertTextAlign != sgTextAlignCenter)
            SetHeight(r.Bottom);
    }
    FDisableAlign = false;
    if (sized)
        if (TsgVisualObject* parent = Parent() ? Parent()->Visual() : nullptr)
            parent->Realign();
}

void TsgText::Paint() {
    TsgCanvas* canvas = Canvas();
    if (!canvas)
        return;
    canvas->Font()->Assign(FFont);
    const float opacity = AbsoluteOpacity();
    const TsgRect local = LocalRect();
    if (!FStretch) {
        canvas->FillText(local, local, FText, FWordWrap, opacity, FHorzTextAlign, FVertTextAlign);
        return;
    }
    TsgRect r{0, 0, 1000, 1000};
    canvas->MeasureText(r, r, FText, false, FHorzTextAlign, FVertTextAlign);
    sgOffsetRect(r, -r.Left, -r.Top);
    TsgMatrix m = IdentityMatrix;
    if (!sgIsRectEmpty(r)) {
        m.m11 = sgRectWidth(local) / sgRectWidth(r);
        m.m22 = sgRectHeight(local) / sgRectHeight(r);
    }
    canvas->MultyMatrix(m);
    sgInflateRect(r, FFont->Size() / 3, FFont->Size() / 3);
    canvas->FillText(r, r, FText, false, opacity, FHorzTextAlign, FVertTextAlign);
}
