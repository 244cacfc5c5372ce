#include "scene/core/Sg_scene_msgpopup.h"

#include "scene/core/Sg_bitmap.h"
#include "scene/core/Sg_objects.h"
#include "scene/core/Sg_scene_bounds.h"
#include "scene/core/Sg_scene_host.h"
#include "scene/core/Sg_scene_registry.h"

#include "platform/classes/TypInfo.h"
#include "platform/rtl/Exceptions.h"

#include <memory>

DBI_PUBLISH(TsgMessagePopup) {
    p.Boolean("StaysOpen", &TsgMessagePopup::StaysOpen, &TsgMessagePopup::SetStaysOpen, true);
    p.Boolean("DragWithParent", &TsgMessagePopup::DragWithParent,
              &TsgMessagePopup::SetDragWithParent, true);
}

void (*sgMessagePopupShown)(TsgMessagePopup* Popup) = nullptr;

namespace {

struct TButtonInfo {
    const char16_t* caption;
    TModalResult result;
};

constexpr TButtonInfo kButtons[] = {
    {u"Yes", mrYes},           {u"No", mrNo},       {u"OK", mrOk},
    {u"Cancel", mrCancel},     {u"Abort", mrAbort}, {u"Retry", mrRetry},
    {u"Ignore", mrIgnore},     {u"All", mrAll},     {u"NoToAll", mrNoToAll},
    {u"YesToAll", mrYesToAll}, {u"Help", mrNone},
};

// Restores a visual object's Enabled when it goes out of scope, whatever happens in between.
class TDisabledWhile {
public:
    explicit TDisabledWhile(TsgVisualObject* AObject) : FObject(AObject) {
        if (FObject) {
            FWasEnabled = FObject->Enabled();
            FObject->SetEnabled(false);
        }
    }
    ~TDisabledWhile() {
        if (FObject)
            FObject->SetEnabled(FWasEnabled);
    }
    TDisabledWhile(const TDisabledWhile&) = delete;
    TDisabledWhile& operator=(const TDisabledWhile&) = delete;

private:
    TsgVisualObject* FObject;
    bool FWasEnabled = true;
};

// A toolkit object of the named class, or a plain visual object when that class is unknown.
TsgVisualObject* Make(const char* AClassName, TComponent* AOwner) {
    if (const TClassInfo* info = GetClass(AClassName); info && info->CreateComponent) {
        TComponent* made = info->CreateComponent(AOwner);
        if (auto* visual = dynamic_cast<TsgVisualObject*>(made))
            return visual;
        delete made;
    }
    return new TsgVisualObject(AOwner);
}

// Sets a property the object may not have; the control library decides which it publishes.
template <class F>
void Try(F&& Set) {
    try {
        Set();
    } catch (const Exception&) {
    }
}

void SetText(TsgVisualObject* O, const UnicodeString& Text) {
    if (IsPublishedProp(O, "Text"))
        Try([&] { SetStrProp(O, "Text", Text); });
}

void SetNearAlign(TsgVisualObject* O) {
    if (IsPublishedProp(O, "TextAlign"))
        Try([&] { SetEnumProp(O, "TextAlign", "sgTextAlignNear"); });
}

} // namespace

const char16_t* sgMessageButtonCaption(TsgMessageButton B) {
    return kButtons[B].caption;
}

TModalResult sgMessageButtonResult(TsgMessageButton B) {
    return kButtons[B].result;
}

TsgMessageButton sgMessageDefaultButton(TsgMessageButtons Buttons) {
    if (sgHasButton(Buttons, sgButtonOK))
        return sgButtonOK;
    if (sgHasButton(Buttons, sgButtonYes))
        return sgButtonYes;
    return sgButtonRetry;
}

TsgMessageButton sgMessageCancelButton(TsgMessageButtons Buttons) {
    if (sgHasButton(Buttons, sgButtonCancel))
        return sgButtonCancel;
    if (sgHasButton(Buttons, sgButtonNo))
        return sgButtonNo;
    return sgButtonOK;
}

TsgMessagePopup::TsgMessagePopup(TComponent* AOwner) : TsgPopup(AOwner) {
    SetStaysOpen(true);
    SetDragWithParent(true);
}

TModalResult TsgMessagePopup::PopupModal() {
    TsgVisualObject* root = nullptr;
    if (IsgScene* scene = Scene())
        if (TsgObject* r = scene->GetRoot(); r && r != this)
            root = r->Visual();
    TDisabledWhile disabled(root);
    return TsgPopup::PopupModal();
}

void TsgMessagePopup::ApplyPlacement() {
    if (TsgVisualObject* target = PlacementTarget()) {
        SetHorizontalOffset((target->Width() - Width()) / 2);
    } else if (auto* form = dynamic_cast<TForm*>(TComponent::Owner())) {
        const TPoint origin = form->ClientToScreen(TPoint{0, 0});
        const float x = static_cast<float>(origin.X), y = static_cast<float>(origin.Y);
        PlacementRectangle()->SetRect({x, y, x + Width(), y});
        SetHorizontalOffset((static_cast<float>(form->Width()) - Width()) / 2);
    }
    TsgPopup::ApplyPlacement();
}

int MessagePopup(const UnicodeString& ACaption, const UnicodeString& AMessage, TsgMessageType AType,
                 TsgMessageButtons Buttons, TsgScene* Owner, TsgVisualObject* Target,
                 TsgBitmap* ABitmap, TsgResources* AStyle) {
    TsgVisualObject* ownerRoot = nullptr;
    if (Owner && Owner->Root())
        ownerRoot = Owner->Root()->Visual();
    TDisabledWhile disabled(ownerRoot);

    // Without any button the popup could never be closed.
    if (Buttons == 0)
        Buttons = sgButtons({sgButtonOK});

    auto popup = std::make_unique<TsgMessagePopup>(Owner ? Owner->TComponent::Owner() : nullptr);
    popup->SetStaysOpen(true);
    popup->SetDragWithParent(true);
    popup->SetPlacementScene(sgPlacementSceneNew);
    popup->SetWidth(500);
    popup->SetHeight(150);
    popup->SetStyle(AStyle ? AStyle : (Owner ? Owner->Style() : nullptr));
    popup->SetPlacementTarget(Target);
    if (Target) {
        const TsgMatrix m = Target->AbsoluteMatrix();
        popup->Scale()->SetPoint({m.m11, m.m22});
    }
    popup->ApplyResource();

    // Icon.
    TsgVisualObject* icon = nullptr;
    if (ABitmap) {
        auto* image = new TsgImage(popup.get());
        image->SetBitmap(ABitmap);
        icon = image;
    } else {
        auto* control = new TsgControl(popup.get());
        static const char16_t* const kIcons[] = {u"iconwarning", u"iconerror", u"iconinformation",
                                                 u"iconconfirmation"};
        if (AType != sgMessageCustom)
            control->SetResource(kIcons[AType]);
        icon = control;
    }
    popup->AddObject(icon);
    icon->SetBounds(30, 10, 64, 64);
    const float textLeft = 30 + icon->Width() + 10;

    // Title.
    TsgVisualObject* title = Make("TsgLabel", popup.get());
    popup->AddObject(title);
    title->SetAlign(vaTop);
    title->SetHeight(30);
    title->Padding()->SetRect({textLeft, 10, 30, 0});
    SetText(title, ACaption);
    SetNearAlign(title);
    if (IsPublishedProp(title, "Font.Size"))
        Try([&] { SetFloatProp(title, "Font.Size", GetFloatProp(title, "Font.Size") * 1.4); });

    // Message.
    TsgVisualObject* text = Make("TsgLabel", popup.get());
    popup->AddObject(text);
    text->SetAlign(vaClient);
    text->SetHeight(50);
    text->Padding()->SetRect({textLeft, 0, 30, 0});
    SetText(text, AMessage);
    SetNearAlign(text);

    // Buttons, right-aligned in table order.
    TsgVisualObject* row = Make("TsgLayout", popup.get());
    popup->AddObject(row);
    row->SetAlign(vaBottom);
    row->SetHeight(20);
    row->Padding()->SetRect({30, 0, 30, 30});
    const TsgMessageButton defaultButton = sgMessageDefaultButton(Buttons);
    const TsgMessageButton cancelButton = sgMessageCancelButton(Buttons);
    for (int b = sgButtonYes; b <= sgButtonHelp; ++b) {
        const auto button = static_cast<TsgMessageButton>(b);
        if (!sgHasButton(Buttons, button))
            continue;
        TsgVisualObject* control = Make("TsgButton", popup.get());
        row->AddObject(control);
        control->SetAlign(vaRight);
        control->Position()->SetX(1000);
        control->Padding()->SetRect({7, 0, 0, 0});
        SetText(control, sgMessageButtonCaption(button));
        if (IsPublishedProp(control, "ModalResult"))
            Try([&] { SetOrdProp(control, "ModalResult", sgMessageButtonResult(button)); });
        if (button == defaultButton && IsPublishedProp(control, "Default"))
            Try([&] { SetOrdProp(control, "Default", 1); });
        if (button == cancelButton && IsPublishedProp(control, "Cancel"))
            Try([&] { SetOrdProp(control, "Cancel", 1); });
    }

    if (sgMessagePopupShown)
        sgMessagePopupShown(popup.get());
    return popup->PopupModal();
}
