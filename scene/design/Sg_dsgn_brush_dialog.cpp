// TsgBrushDialog and the three routines that show the brush designer modally on a copy.
#include "scene/design/Sg_dsgn_brush.h"

#include "scene/controls/Sg_controls_buttons.h"
#include "scene/controls/Sg_controls_windows.h"
#include "scene/controls/Sg_layout.h"
#include "scene/controls/Sg_listbox.h"
#include "scene/controls/Sg_tabcontrol.h"
#include "scene/core/Sg_scene_background.h"
#include "scene/core/Sg_scene_color.h"
#include "scene/design/Sg_dsgn_form.h"

#include <memory>
#include <utility>
#include <vector>

namespace {

// The set's elements are the brush's own style names, so the two never drift apart.
std::vector<AnsiString> BrushStyleNames() {
    return TsgBrush::StaticClassInfo().FindProperty("Style")->ElementNames;
}

} // namespace

DBI_PUBLISH(TsgBrushDialog) {
    using D = TsgBrushDialog;
    p.Set("ShowStyles", &D::ShowStyles, &D::SetShowStyles, BrushStyleNames()).NoDefault();
    p.Boolean("ShowBrushList", &D::ShowBrushList, &D::SetShowBrushList, true);
    p.Boolean("ShowMakeResource", &D::ShowMakeResource, &D::SetShowMakeResource, std::nullopt);
    p.String("TxtTitle", &D::TxtTitle, &D::SetTxtTitle);
    p.String("TxtNone", &D::TxtNone, &D::SetTxtNone);
    p.String("TxtSolid", &D::TxtSolid, &D::SetTxtSolid);
    p.String("TxtGradient", &D::TxtGradient, &D::SetTxtGradient);
    p.String("TxtResource", &D::TxtResource, &D::SetTxtResource);
    p.String("TxtMakeResource", &D::TxtMakeResource, &D::SetTxtMakeResource);
    p.String("TxtOk", &D::TxtOk, &D::SetTxtOk);
    p.String("TxtCancel", &D::TxtCancel, &D::SetTxtCancel);
    p.Integer("DialogWidth", &D::DialogWidth, &D::SetDialogWidth);
    p.Integer("DialogHeight", &D::DialogHeight, &D::SetDialogHeight);
    p.Integer("DialogLeft", &D::DialogLeft, &D::SetDialogLeft);
    p.Integer("DialogTop", &D::DialogTop, &D::SetDialogTop);
}

TsgBrushDialog::TsgBrushDialog(TComponent* AOwner)
    : TComponent(AOwner), FBrush(new TsgBrush(sgBrushSolid, 0xFF808080)) {}

TsgBrushDialog::~TsgBrushDialog() {
    delete FBrush;
}

void TsgBrushDialog::SetComponent(TComponent* Value) {
    if (Value == FComponent)
        return;
    if (FComponent)
        FComponent->RemoveFreeNotification(this);
    FComponent = Value;
    if (FComponent)
        FComponent->FreeNotification(this);
}

void TsgBrushDialog::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FComponent)
        FComponent = nullptr;
}

bool TsgBrushDialog::Execute() {
    auto form = std::make_unique<TsgBrushDesign>();
    form->brushList->SetVisible(FShowBrushList);
    if (FShowBrushList && FComponent)
        form->SetComp(FComponent);
    else
        form->brushList->SetVisible(false);
    form->brushTabControl->SetItemIndex(-1);
    const std::pair<TsgTabItem*, TsgBrushStyle> tabs[] = {{form->tabNone, sgBrushNone},
                                                          {form->tabSolid, sgBrushSolid},
                                                          {form->tabGradient, sgBrushGradient},
                                                          {form->tabBitmap, sgBrushBitmap},
                                                          {form->tabRes, sgBrushResource}};
    for (const auto& [tab, style] : tabs)
        tab->SetVisible((FShowStyles & sgBrushStyleSet(style)) != 0);
    form->brushTabControl->Realign();
    form->btnOK->SetVisible(true);
    form->btnCancel->SetVisible(true);
    form->SetCaption(FTxtTitle);
    form->HudWindow1->SetText(FTxtTitle);
    form->tabNone->SetText(FTxtNone);
    form->tabSolid->SetText(FTxtSolid);
    form->tabGradient->SetText(FTxtGradient);
    form->tabRes->SetText(FTxtResource);
    form->btnMakeRes->SetText(FTxtMakeResource);
    form->btnOK->SetText(FTxtOk);
    form->btnCancel->SetText(FTxtCancel);
    form->SetBrush(FBrush);
    form->makeResLayout->SetVisible(FShowMakeResource);
    form->dsgnRoot->SetHeight(form->dsgnRoot->Height() - 1);
    form->SetClientSize(FDialogWidth, FDialogHeight);
    form->SetBounds(FDialogLeft, FDialogTop, form->Width(), form->Height());
    return sgDesignShowModal()(*form) == mrOk;
}

bool ShowBrushDialog(TsgBrush* Brush, TsgBrushStyles Styles, bool ShowBrushList) {
    if (!Brush)
        return false;
    TsgBrushDialog dialog;
    dialog.SetBrush(Brush);
    dialog.SetShowStyles(Styles);
    dialog.SetShowBrushList(ShowBrushList);
    if (!dialog.Execute())
        return false;
    Brush->Assign(dialog.Brush());
    return true;
}

bool ShowGradientDialog(TsgGradient* Gradient) {
    if (!Gradient)
        return false;
    TsgBrushDialog dialog;
    dialog.Brush()->SetStyle(sgBrushGradient);
    dialog.Brush()->SetGradient(Gradient);
    dialog.SetShowStyles(sgBrushStyleSet(sgBrushGradient));
    dialog.SetShowBrushList(false);
    if (!dialog.Execute())
        return false;
    Gradient->Assign(dialog.Brush()->Gradient());
    return true;
}

std::optional<UnicodeString> ShowColorDialog(const UnicodeString& Color) {
    TsgBrushDialog dialog;
    dialog.Brush()->SetStyle(sgBrushSolid);
    dialog.Brush()->SetSolidColor(sgStrToColor(Color));
    dialog.SetShowStyles(sgBrushStyleSet(sgBrushSolid));
    dialog.SetShowBrushList(false);
    if (!dialog.Execute())
        return std::nullopt;
    return sgColorToStr(dialog.Brush()->SolidColor());
}

bool ShowColorButtonDialog(UnicodeString& Color, int Left, int Top,
                           const std::function<void(TObject*)>& Showing) {
    TsgBrushDialog dialog;
    dialog.Brush()->SetStyle(sgBrushSolid);
    dialog.Brush()->SetSolidColor(sgStrToColor(Color));
    dialog.SetShowStyles(sgBrushStyleSet(sgBrushSolid));
    dialog.SetDialogLeft(Left);
    dialog.SetDialogTop(Top);
    if (Showing)
        Showing(&dialog);
    if (!dialog.Execute())
        return false;
    Color = sgColorToStr(dialog.Brush()->SolidColor());
    return true;
}
