#include "scene/controls/Sg_controls_expander.h"

#include "scene/controls/Sg_controls_buttons.h"
#include "scene/controls/Sg_controls_checks.h"

#include "scene/core/Sg_scene_background.h"
#include "scene/core/Sg_scene_iscene.h"
#include "scene/core/Sg_scene_text.h"

#include "platform/classes/Reader.h"
#include "platform/classes/Writer.h"

#include <algorithm>

DBI_PUBLISH(TsgExpander) {
    using S = TsgExpander;
    p.Boolean("IsExpanded", &S::IsExpanded, &S::SetIsExpanded, true);
    p.Boolean("IsChecked", &S::IsChecked, &S::SetIsChecked, true);
    p.Boolean("ShowCheck", &S::ShowCheck, &S::SetShowCheck, std::nullopt);
    p.Float("HeightCollapsed", &S::HeightCollapsed, &S::SetHeightCollapsed, 0);
    p.Boolean("AutoTranslate", &S::AutoTranslate, &S::SetAutoTranslate, true);
    p.String("Text", &S::Text, &S::SetText);
    p.Object("Font", &S::Font, &S::SetFont);
    p.Enumeration("TextAlign", &S::TextAlign, &S::SetTextAlign, SgTextAlignNames(), std::nullopt);
    p.Event("OnCheckChange", &S::GetOnCheckChange, &S::SetOnCheckChange);
    p.Event("OnExpand", &S::GetOnExpand, &S::SetOnExpand);
}

TsgExpander::TsgExpander(TComponent* AOwner) : TsgTextControl(AOwner) {
    SetAutoTranslate(true);
    SetWidth(130);
    SetHeight(130);
    FContent = new TsgContent(this);
    FContent->SetClipChildren(false);
    FContent->SetHitTest(false);
    FContent->SetLocked(true);
    FContent->SetStored(false);
    FContent->Padding()->SetTop(FHeightCollapsed);
    FContent->SetWidth(Width());
    FContent->SetHeight(Height());
    TsgTextControl::AddObject(FContent);
    IsgScene* scene = Scene();
    if ((!scene || !scene->GetDesignTime()) && !StyleClone())
        ApplyResource();
}

TsgExpander::~TsgExpander() {
    BeforeDestruction();
}

void TsgExpander::AddObject(TsgObject* AObject) {
    if (!FContent || !AObject || AObject == FContent || AObject == StyleClone()) {
        TsgTextControl::AddObject(AObject);
        return;
    }
    FContent->AddObject(AObject);
}

void TsgExpander::DefineProperties(TFiler& Filer) {
    TsgTextControl::DefineProperties(Filer);
    Filer.DefineProperty(
        "ContentSize",
        [this](TReader& reader) {
            const float size = sgStrToFloat(reader.ReadString());
            if (FContent)
                FContent->SetHeight(size);
        },
        [this](TWriter& writer) {
            writer.WriteString(sgFloatToStr(FContent ? FContent->Height() : 0));
        },
        true);
}

void TsgExpander::ApplyStyle() {
    TsgTextControl::ApplyStyle();
    if (auto* check = dynamic_cast<TsgCheckBox*>(FindResource(u"checkbox"))) {
        FCheck = check;
        check->SetVisible(FShowCheck);
        check->SetIsChecked(FIsChecked);
        check->OnChange = TNotifyEvent::Bind<&TsgExpander::CheckChange>(this);
    }
    if (auto* button = dynamic_cast<TsgCustomButton*>(FindResource(u"button"))) {
        FButton = button;
        button->OnClick = TNotifyEvent::Bind<&TsgExpander::ButtonClick>(this);
        button->ApplyResource();
        button->StartTriggerAnimation(this, "IsExpanded");
        button->SetCanFocused(false);
    }
    StartTriggerAnimation(this, "IsExpanded");
}

void TsgExpander::FreeStyle() {
    FButton = nullptr;
    FCheck = nullptr;
    TsgTextControl::FreeStyle();
}

void TsgExpander::ButtonClick(TObject*) {
    SetIsExpanded(!FIsExpanded);
}

void TsgExpander::CheckChange(TObject*) {
    if (!FCheck)
        return;
    FIsChecked = FCheck->IsChecked();
    if (FContent)
        FContent->SetEnabled(FIsChecked);
    if (OnCheckChange)
        OnCheckChange(this);
}

void TsgExpander::SetIsExpanded(bool Value) {
    if (Value == FIsExpanded)
        return;
    FIsExpanded = Value;
    if (Value) {
        FContent->SetVisible(true);
        // The content begins below the header at its top padding, so the expanded height is
        // that padding plus the content: collapsing and expanding again keeps the height.
        if (FButton)
            SetHeight(FContent->Padding()->Top() + FContent->Height());
        Repaint();
    } else {
        Repaint();
        FContent->SetVisible(false);
        if (FButton)
            SetHeight(FButton->Height());
    }
    if (OnExpand)
        OnExpand(this);
    StartTriggerAnimation(this, "IsExpanded");
    if (FButton)
        FButton->StartTriggerAnimation(this, "IsExpanded");
}

void TsgExpander::SetIsChecked(bool Value) {
    if (Value == FIsChecked)
        return;
    FIsChecked = Value;
    if (FContent)
        FContent->SetEnabled(Value);
    if (FCheck)
        FCheck->SetIsChecked(Value);
}

void TsgExpander::SetShowCheck(bool Value) {
    if (Value == FShowCheck)
        return;
    FShowCheck = Value;
    if (FCheck)
        FCheck->SetVisible(Value);
}

void TsgExpander::SetHeightCollapsed(float Value) {
    FHeightCollapsed = Value;
    if (FContent)
        FContent->Padding()->SetTop(Value);
}

void TsgExpander::Realign() {
    TsgTextControl::Realign();
    if (Loading() || FDisableAlign)
        return;
    FDisableAlign = true;
    if (FContent && FIsExpanded) {
        const float top = FContent->Padding()->Top();
        FContent->Position()->SetPoint({0, top});
        FContent->SetWidth(Width());
        FContent->SetHeight(std::max(0.0f, Height() - top));
    }
    FDisableAlign = false;
}
