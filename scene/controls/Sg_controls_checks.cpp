#include "scene/controls/Sg_controls_checks.h"

#include "scene/core/Sg_objects.h"
#include "scene/core/Sg_scene_geometry.h"
#include "scene/core/Sg_scene_iscene.h"
#include "scene/core/Sg_scene_registry.h"

#include "platform/ui/Forms.h"

namespace {

constexpr uint16_t kKeyEnter = 13;
constexpr uint16_t kKeySpace = 32;

const char* const kCheckMarkPath = "M 341.236,311.738 L 309.372,342.676 L 291.667,325.488 "
                                   "L 291.667,304.863 L 309.372,321.997 L 341.236,291.113 Z";

template <class S, class P>
void PublishCheckControl(P& p) {
    p.Boolean("IsChecked", &S::IsChecked, &S::SetIsChecked, std::nullopt);
    p.Boolean("IsPressed", &S::IsPressed, nullptr, std::nullopt);
    p.Boolean("AutoTranslate", &S::AutoTranslate, &S::SetAutoTranslate, true);
    p.Boolean("CanFocused", &S::CanFocused, &S::SetCanFocused, true);
    p.Boolean("DisableFocusEffect", &S::DisableFocusEffect, &S::SetDisableFocusEffect, false);
    p.Integer("TabOrder", &S::TabOrder, &S::SetTabOrder, -1);
    p.Enumeration("TextAlign", &S::TextAlign, &S::SetTextAlign, SgTextAlignNames(), std::nullopt);
    p.String("Text", &S::Text, &S::SetText);
    p.Object("Font", &S::Font, &S::SetFont);
    p.Object("BindingSource", &S::BindingSource, &S::SetBindingSource);
    p.Event("OnChange", &S::GetOnChange, &S::SetOnChange);
}

} // namespace

DBI_PUBLISH(TsgCheckControl) {
    PublishCheckControl<TsgCheckControl>(p);
}

DBI_PUBLISH(TsgCheckBox) {
    p.String("TxtOn", &TsgCheckBox::TxtOn, &TsgCheckBox::SetTxtOn);
    p.String("TxtOff", &TsgCheckBox::TxtOff, &TsgCheckBox::SetTxtOff);
}

DBI_PUBLISH(TsgPathCheckBox) {
    p.Object("Path", &TsgPathCheckBox::Path, &TsgPathCheckBox::SetPath);
}

DBI_PUBLISH(TsgRadioButton) {
    p.String("GroupName", &TsgRadioButton::GroupName, &TsgRadioButton::SetGroupName);
}

DBI_PUBLISH(TsgGroupBox) {
    using S = TsgGroupBox;
    p.Boolean("AutoTranslate", &S::AutoTranslate, &S::SetAutoTranslate, true);
    p.String("Text", &S::Text, &S::SetText);
    p.Object("Font", &S::Font, &S::SetFont);
    p.Enumeration("TextAlign", &S::TextAlign, &S::SetTextAlign, SgTextAlignNames(), std::nullopt);
}

DBI_PUBLISH(TsgCloseButton) {
    using S = TsgCloseButton;
    p.Boolean("CloseForm", &S::CloseForm, &S::SetCloseForm, true);
    p.Event("OnClick", &S::GetOnCloseClick, &S::SetOnCloseClick);
}

DBI_PUBLISH(TsgSizeGrip) {
    (void)p;
}
DBI_PUBLISH(TsgHudCheckBox) {
    (void)p;
}
DBI_PUBLISH(TsgHudRadioButton) {
    (void)p;
}
DBI_PUBLISH(TsgHudGroupBox) {
    (void)p;
}
DBI_PUBLISH(TsgHudCloseButton) {
    (void)p;
}
DBI_PUBLISH(TsgHudSizeGrip) {
    (void)p;
}

// Check control.

TsgCheckControl::TsgCheckControl(TComponent* AOwner) : TsgTextControl(AOwner) {
    SetAutoTranslate(true);
    SetCanFocused(true);
    SetAutoCapture(true);
    SetTextAlign(sgTextAlignNear);
    SetWidth(120);
    SetHeight(19);
}

void TsgCheckControl::StoreChecked(bool Value) {
    FIsChecked = Value;
    StartTriggerAnimation(this, "IsChecked");
    ApplyTriggerEffect(this, "IsChecked");
    if (OnChange)
        OnChange(this);
}

void TsgCheckControl::ApplyStyle() {
    TsgTextControl::ApplyStyle();
    StartTriggerAnimation(this, "IsChecked");
    ApplyTriggerEffect(this, "IsChecked");
}

void TsgCheckControl::MouseDown(TMouseButton Button, TShiftState Shift, float X, float Y) {
    TsgTextControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft)
        return;
    FPressing = true;
    FIsPressed = true;
    StartTriggerAnimation(this, "IsPressed");
}

void TsgCheckControl::MouseMove(TShiftState Shift, float X, float Y, float Dx, float Dy) {
    TsgTextControl::MouseMove(Shift, X, Y, Dx, Dy);
    if (!Shift.Contains(ssLeft) || !FPressing)
        return;
    const bool inside = sgPtInRect({X, Y}, LocalRect());
    if (inside != FIsPressed) {
        FIsPressed = inside;
        StartTriggerAnimation(this, "IsPressed");
    }
}

void TsgCheckControl::MouseUp(TMouseButton Button, TShiftState Shift, float X, float Y) {
    TsgTextControl::MouseUp(Button, Shift, X, Y);
    if (!FPressing)
        return;
    FPressing = false;
    FIsPressed = false;
    // The styles show the pressed state, so the release shows its end as the press showed it.
    StartTriggerAnimation(this, "IsPressed");
    if (sgPtInRect({X, Y}, LocalRect()))
        SetIsChecked(!FIsChecked);
}

TsgVariant TsgCheckControl::GetData() {
    return FIsChecked ? u"True" : u"False";
}

void TsgCheckControl::SetData(const TsgVariant& Value) {
    if (VarIsEvent(Value)) {
        OnChange = TNotifyEvent::FromMethod(VariantToEvent(Value));
        return;
    }
    const UnicodeString v = Value.LowerCase();
    SetIsChecked(v == u"true" || v == u"1" || v == u"-1");
}

// Check box.

void TsgCheckBox::SetIsChecked(bool Value) {
    if (Value == IsChecked())
        return;
    // The caption changes before the state is announced, so OnChange sees both new.
    if (!FTxtOn.IsEmpty() && !FTxtOff.IsEmpty())
        SetText(Value ? FTxtOn : FTxtOff);
    StoreChecked(Value);
}

void TsgCheckBox::ShowStateText() {
    if (!FTxtOn.IsEmpty() && !FTxtOff.IsEmpty())
        SetText(IsChecked() ? FTxtOn : FTxtOff);
}

void TsgCheckBox::SetTxtOn(const UnicodeString& Value) {
    FTxtOn = Value;
    ShowStateText();
}

void TsgCheckBox::SetTxtOff(const UnicodeString& Value) {
    FTxtOff = Value;
    ShowStateText();
}

void TsgCheckBox::KeyDown(uint16_t& Key, char16_t& KeyChar, TShiftState Shift) {
    TsgCheckControl::KeyDown(Key, KeyChar, Shift);
    if (Key == kKeyEnter || Key == kKeySpace)
        SetIsChecked(!IsChecked());
}

// Path check box.

TsgPathCheckBox::TsgPathCheckBox(TComponent* AOwner)
    : TsgCheckBox(AOwner), FPath(new TsgPathData()) {
    FPath->SetPathString(kCheckMarkPath);
    FPath->OnChanged = TNotifyEvent::Bind<&TsgPathCheckBox::PathChanged>(this);
}

TsgPathCheckBox::~TsgPathCheckBox() {
    BeforeDestruction();
    FPath->OnChanged = {};
    delete FPath;
}

void TsgPathCheckBox::PathChanged(TObject*) {
    if (StyleClone())
        ApplyStyle();
}

void TsgPathCheckBox::ApplyStyle() {
    TsgCheckBox::ApplyStyle();
    if (auto* mark = dynamic_cast<TsgPath*>(FindResource(u"checkmark")))
        mark->SetData(FPath);
}

// Radio button.

void TsgRadioButton::SetIsChecked(bool Value) {
    if (Value == IsChecked())
        return;
    // Checked at once, so the siblings unchecked below find this one checked.
    if (Value)
        StoreCheckedQuietly(true);
    int members = 0;
    int checked = 0;
    if (TsgObject* parent = Parent()) {
        for (int i = 0; i < parent->ChildrenCount(); ++i) {
            auto* other = dynamic_cast<TsgRadioButton*>(parent->GetChild(i));
            if (!other || other == this || other->FGroupName != FGroupName)
                continue;
            ++members;
            if (other->IsChecked())
                ++checked;
            if (Value)
                other->SetIsChecked(false);
        }
    }
    if (!Value && (members == 0 || checked == 0))
        return;
    StoreChecked(Value);
}

// Group box.

TsgGroupBox::TsgGroupBox(TComponent* AOwner) : TsgTextControl(AOwner) {
    SetAutoTranslate(true);
    SetWidth(120);
    SetHeight(100);
}

// Close button.

TsgCloseButton::TsgCloseButton(TComponent* AOwner) : TsgControl(AOwner) {
    SetWidth(20);
    SetHeight(20);
}

void TsgCloseButton::MouseDown(TMouseButton Button, TShiftState Shift, float X, float Y) {
    TsgControl::MouseDown(Button, Shift, X, Y);
    if (Button == mbLeft)
        FPressing = true;
}

void TsgCloseButton::MouseUp(TMouseButton Button, TShiftState Shift, float X, float Y) {
    TsgControl::MouseUp(Button, Shift, X, Y);
    if (!FPressing)
        return;
    if (FCloseForm)
        if (IsgScene* scene = Scene())
            for (TComponent* c = scene->GetOwner(); c; c = c->Owner())
                if (auto* form = dynamic_cast<TForm*>(c)) {
                    form->Close();
                    break;
                }
    FPressing = false;
    if (OnCloseClick)
        OnCloseClick(this);
}
