#include "scene/design/Sg_dsgn_brush.h"

#include "scene/controls/Sg_controls_angle.h"
#include "scene/controls/Sg_controls_buttons.h"
#include "scene/controls/Sg_controls_popupbox.h"
#include "scene/controls/Sg_controls_text.h"
#include "scene/controls/Sg_controls_windows.h"
#include "scene/controls/Sg_layout.h"
#include "scene/controls/Sg_listbox.h"
#include "scene/controls/Sg_numberbox.h"
#include "scene/controls/Sg_tabcontrol.h"
#include "scene/controls/Sg_textbox.h"
#include "scene/core/Sg_bitmap.h"
#include "scene/core/Sg_objects.h"
#include "scene/core/Sg_scene.h"
#include "scene/core/Sg_scene_background.h"
#include "scene/core/Sg_scene_color.h"
#include "scene/core/Sg_scene_designer.h"
#include "scene/design/Sg_colors.h"
#include "scene/design/Sg_dsgn_bmp.h"
#include "scene/design/Sg_dsgn_form.h"
#include "scene/design/Sg_dsgn_input.h"

#include "platform/rtl/Exceptions.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>

TsgBrushDesign* sgDesign = nullptr;

DBI_PUBLISH(TsgBrushDesign) {
    using F = TsgBrushDesign;
    p.Field<&F::sgBrushDesigner>("sgBrushDesigner");
    p.Field<&F::dsgnRoot>("dsgnRoot");
    p.Field<&F::HudWindow1>("HudWindow1");
    p.Field<&F::brushList>("brushList");
    p.Field<&F::brushTabControl>("brushTabControl");
    p.Field<&F::tabNone>("tabNone");
    p.Field<&F::tabSolid>("tabSolid");
    p.Field<&F::tabGradient>("tabGradient");
    p.Field<&F::tabBitmap>("tabBitmap");
    p.Field<&F::tabRes>("tabRes");
    p.Field<&F::panelSolid>("panelSolid");
    p.Field<&F::panelGradient>("panelGradient");
    p.Field<&F::panelBitmap>("panelBitmap");
    p.Field<&F::panerRes>("panerRes");
    p.Field<&F::solidQuad>("solidQuad");
    p.Field<&F::solidPicker>("solidPicker");
    p.Field<&F::solidColorRect>("solidColorRect");
    p.Field<&F::textSolidR>("textSolidR");
    p.Field<&F::textSolidG>("textSolidG");
    p.Field<&F::textSolidB>("textSolidB");
    p.Field<&F::textSolidA>("textSolidA");
    p.Field<&F::textSolidHex>("textSolidHex");
    p.Field<&F::gradQuad>("gradQuad");
    p.Field<&F::gradPicker>("gradPicker");
    p.Field<&F::gradColorRect>("gradColorRect");
    p.Field<&F::gradEditor>("gradEditor");
    p.Field<&F::textGradR>("textGradR");
    p.Field<&F::textGradG>("textGradG");
    p.Field<&F::textGradB>("textGradB");
    p.Field<&F::textGradA>("textGradA");
    p.Field<&F::textGradHex>("textGradHex");
    p.Field<&F::gradKind>("gradKind");
    p.Field<&F::gradAngle>("gradAngle");
    p.Field<&F::gradAngleLabel>("gradAngleLabel");
    p.Field<&F::bitmapImage>("bitmapImage");
    p.Field<&F::btnSelectBitmap>("btnSelectBitmap");
    p.Field<&F::tileModeList>("tileModeList");
    p.Field<&F::resList>("resList");
    p.Field<&F::makeResLayout>("makeResLayout");
    p.Field<&F::btnMakeRes>("btnMakeRes");
    p.Field<&F::btnOK>("btnOK");
    p.Field<&F::btnCancel>("btnCancel");
    p.Method<&F::HudWindow1CloseClick>("HudWindow1CloseClick");
    p.Method<&F::btnOKClick>("btnOKClick");
    p.Method<&F::btnCancelClick>("btnCancelClick");
    p.Method<&F::brushListChange>("brushListChange");
    p.Method<&F::brushTabControlChange>("brushTabControlChange");
    p.Method<&F::solidQuadChange>("solidQuadChange");
    p.Method<&F::textSolidRChange>("textSolidRChange");
    p.Method<&F::textSolidHexChange>("textSolidHexChange");
    p.Method<&F::gradQuadChange>("gradQuadChange");
    p.Method<&F::textGradRChange>("textGradRChange");
    p.Method<&F::textGradHexChange>("textGradHexChange");
    p.Method<&F::gradEditorChange>("gradEditorChange");
    p.Method<&F::gradKindChange>("gradKindChange");
    p.Method<&F::gradAngleChange>("gradAngleChange");
    p.Method<&F::btnSelectBitmapClick>("btnSelectBitmapClick");
    p.Method<&F::tileModeListChange>("tileModeListChange");
    p.Method<&F::resListChange>("resListChange");
    p.Method<&F::btnMakeResClick>("btnMakeResClick");
}

namespace {

constexpr float kBrushRowHeight = 23;
constexpr float kListBaseHeight = 4;
constexpr double kMaxScale = 1.42;

int Channel(TsgNumberBox* Box) {
    return std::clamp(static_cast<int>(Box->Value()), 0, 255);
}

void ShowChannels(TsgColor C, TsgNumberBox* R, TsgNumberBox* G, TsgNumberBox* B, TsgNumberBox* A,
                  TsgTextBox* Hex) {
    R->SetValue(float((C >> 16) & 0xFF));
    G->SetValue(float((C >> 8) & 0xFF));
    B->SetValue(float(C & 0xFF));
    A->SetValue(float(C >> 24));
    Hex->SetText(sgColorToStr(C));
}

TsgGradientPoint* CurrentStop(TsgGradientEdit* Editor) {
    TsgGradient* g = Editor->Gradient();
    const int i = Editor->CurrentPoint();
    return i >= 0 && i < g->Points()->Count() ? g->Points()->Points(i) : nullptr;
}

// The rows of a list box are its items; emptying it leaves the list itself alone.
TsgListBoxItem* AddRow(TsgListBox* List, TObject* Tag, const UnicodeString& Text) {
    auto* row = new TsgListBoxItem(List->Owner());
    row->SetStored(false);
    row->SetHeight(kBrushRowHeight);
    row->TagObject = Tag;
    auto* label = new TsgLabel(List->Owner());
    label->SetStored(false);
    label->SetAlign(vaClient);
    label->SetHitTest(false);
    label->SetText(Text);
    row->AddObject(label);
    List->AddObject(row);
    return row;
}

} // namespace

TsgBrushDesign::TsgBrushDesign(TComponent*) {
    sgReadDesignForm(*this, "TSGBRUSHDESIGN");
    if (!brushList || !brushTabControl || !tabNone || !tabSolid || !tabGradient || !tabBitmap ||
        !tabRes || !solidQuad || !solidPicker || !textSolidR || !textSolidG || !textSolidB ||
        !textSolidA || !textSolidHex || !gradQuad || !gradPicker || !gradEditor || !textGradR ||
        !textGradG || !textGradB || !textGradA || !textGradHex || !gradKind || !gradAngle ||
        !gradAngleLabel || !bitmapImage || !tileModeList || !resList || !makeResLayout ||
        !btnMakeRes || !btnOK || !btnCancel)
        throw EReadError(AnsiString("The layout TSGBRUSHDESIGN lacks a component"));
    FormCreate(this);
}

TsgBrushDesign::~TsgBrushDesign() {
    if (sgDesign == this)
        sgDesign = nullptr;
    if (auto* c = dynamic_cast<TComponent*>(FComp))
        RemoveFreeNotification(c);
}

void TsgBrushDesign::FormCreate(TObject*) {}

void TsgBrushDesign::FormClose(TObject*, TCloseAction& Action) {
    Action = caFree;
    if (sgDesign == this)
        sgDesign = nullptr;
}

void TsgBrushDesign::HudWindow1CloseClick(TObject*) {
    Close();
}

void TsgBrushDesign::btnOKClick(TObject*) {
    SetModalResult(mrOk);
}

void TsgBrushDesign::btnCancelClick(TObject*) {
    SetModalResult(mrCancel);
}

void TsgBrushDesign::Notification(TComponent* AComponent, TOperation Operation) {
    TForm::Notification(AComponent, Operation);
    if (Operation == opRemove && FComp && dynamic_cast<TComponent*>(FComp) == AComponent) {
        FBrush = nullptr;
        FComp = nullptr;
        FScene = nullptr;
        brushList->Clear();
    }
}

void TsgBrushDesign::SetBrush(TsgBrush* Value) {
    FBrush = Value;
    if (!FBrush)
        return;
    switch (FBrush->Style()) {
    case sgBrushNone:
        brushTabControl->SetItemIndex(tabNone->Index());
        break;
    case sgBrushSolid:
    case sgBrushGradient: {
        FUpdating = true;
        solidPicker->SetColor(FBrush->Color().IsEmpty() ? 0 : sgStrToColor(FBrush->Color()));
        gradEditor->SetGradient(FBrush->Gradient());
        FUpdating = false;
        ShowSolidChannels(sgStrToColor(FBrush->Color()));
        if (FBrush->Style() == sgBrushSolid) {
            brushTabControl->SetItemIndex(tabSolid->Index());
            break;
        }
        TsgGradient* g = FBrush->Gradient();
        gradKind->SetItemIndex(int(g->Style()));
        const double dx = g->StopPosition()->X() - g->StartPosition()->X();
        const double dy = g->StopPosition()->Y() - g->StartPosition()->Y();
        if (dx != 0) {
            double deg = -std::atan(dy / dx) * 180 / std::numbers::pi;
            if (dx < 0)
                deg -= 180;
            FUpdating = true;
            gradAngle->SetValue(float(deg));
            FUpdating = false;
        }
        gradAngle->SetVisible(g->Style() == sgLinearGradient);
        gradAngleLabel->SetVisible(g->Style() == sgLinearGradient);
        gradQuadChange(gradQuad);
        brushTabControl->SetItemIndex(tabGradient->Index());
        break;
    }
    case sgBrushBitmap:
        brushTabControl->SetItemIndex(tabBitmap->Index());
        bitmapImage->SetBitmap(FBrush->Bitmap()->Bitmap());
        tileModeList->SetItemIndex(int(FBrush->Bitmap()->WrapMode()));
        break;
    case sgBrushResource:
        brushTabControl->SetItemIndex(tabRes->Index());
        RebuildResList();
        break;
    case sgBrushVisual:
        break;
    }
    for (int i = 0; i < brushList->Count(); ++i)
        if (TsgListBoxItem* row = brushList->ItemByIndex(i); row && row->TagObject == FBrush) {
            brushList->SetItemIndex(i);
            break;
        }
}

void TsgBrushDesign::SetComp(TPersistent* Value) {
    if (auto* old = dynamic_cast<TComponent*>(FComp))
        RemoveFreeNotification(old);
    FComp = Value;
    if (auto* scene = dynamic_cast<TsgCustomScene*>(Value))
        FScene = scene;
    else if (auto* object = dynamic_cast<TsgObject*>(Value))
        FScene = object->Scene();
    if (auto* c = dynamic_cast<TComponent*>(FComp))
        FreeNotification(c);
    FBrush = nullptr;
    brushList->BeginUpdate();
    brushList->Clear();
    brushList->EndUpdate();
    brushList->SetHeight(kListBaseHeight);
    // The window keeps its own size: only the list it shows now is added to it.
    const int base = ClientHeight() - FListGrowth;
    FListGrowth = 0;
    if (!FComp) {
        SetClientHeight(base);
        return;
    }
    TsgBrush* first = nullptr;
    for (const TPropInfo* p : FComp->ClassInfo().Properties()) {
        if (p->Kind != TPropertyKind::Class || !p->GetObject)
            continue;
        auto* brush = dynamic_cast<TsgBrush*>(p->GetObject(*FComp));
        if (!brush || AnsiString(brush->ClassName()) != AnsiString("TsgBrush"))
            continue;
        AddRow(brushList, brush, UnicodeString(p->Name));
        brushList->SetHeight(brushList->Height() + kBrushRowHeight);
        if (!first)
            first = brush;
    }
    if (first)
        SetBrush(first);
    brushList->SetItemIndex(0);
    FListGrowth = static_cast<int>(std::nearbyint(brushList->Height()));
    SetClientHeight(base + FListGrowth);
}

UnicodeString TsgBrushDesign::UniqueName(const UnicodeString& Base) {
    if (sgDesigner) {
        TComponent* owner = nullptr;
        if (auto* c = dynamic_cast<TComponent*>(FComp))
            owner = c->Owner();
        if (owner)
            return UnicodeString(sgDesigner->UniqueName(owner, AnsiString(Base)));
    }
    SetTag(Tag() + 1);
    return Base + UnicodeString(std::to_string(Tag()));
}

void TsgBrushDesign::RepaintEdited() {
    if (auto* visual = dynamic_cast<TsgVisualObject*>(FComp))
        visual->Repaint();
}

void TsgBrushDesign::brushListChange(TObject*) {
    if (!FScene || !FComp)
        return;
    if (TsgListBoxItem* row = brushList->Selected())
        if (auto* brush = dynamic_cast<TsgBrush*>(row->TagObject); brush && brush != FBrush)
            SetBrush(brush);
}

void TsgBrushDesign::brushTabControlChange(TObject*) {
    TsgTabItem* tab = brushTabControl->TabItem(brushTabControl->ItemIndex());
    if (FBrush) {
        if (tab == tabNone)
            FBrush->SetStyle(sgBrushNone);
        else if (tab == tabSolid)
            FBrush->SetStyle(sgBrushSolid);
        else if (tab == tabGradient) {
            FBrush->SetStyle(sgBrushGradient);
            gradQuadChange(gradQuad);
        } else if (tab == tabBitmap)
            FBrush->SetStyle(sgBrushBitmap);
        else if (tab == tabRes)
            FBrush->SetStyle(sgBrushResource);
        RepaintEdited();
    }
    const bool hidden = tab == tabRes || tab == tabNone;
    btnMakeRes->SetVisible(!hidden);
    if (hidden)
        RebuildResList();
}

// Solid page.

void TsgBrushDesign::ShowSolidChannels(TsgColor Color) {
    const bool updating = FUpdating;
    FUpdating = true;
    ShowChannels(Color, textSolidR, textSolidG, textSolidB, textSolidA, textSolidHex);
    FUpdating = updating;
}

void TsgBrushDesign::ShowGradChannels(TsgColor Color) {
    const bool updating = FUpdating;
    FUpdating = true;
    ShowChannels(Color, textGradR, textGradG, textGradB, textGradA, textGradHex);
    FUpdating = updating;
}

TsgColor TsgBrushDesign::TypedColor(TsgNumberBox* R, TsgNumberBox* G, TsgNumberBox* B,
                                    TsgNumberBox* A) const {
    return TsgColor(Channel(A)) << 24 | TsgColor(Channel(R)) << 16 | TsgColor(Channel(G)) << 8 |
           TsgColor(Channel(B));
}

void TsgBrushDesign::solidQuadChange(TObject*) {
    if (!FBrush || FUpdating)
        return;
    const TsgColor alpha = FBrush->SolidColor() & 0xFF000000;
    FUpdating = true;
    solidQuad->SetAlpha(float(alpha >> 24) / 255);
    FUpdating = false;
    const TsgColor c =
        (HSLtoRGB(solidQuad->Hue(), solidQuad->Sat(), solidQuad->Lum()) & 0x00FFFFFF) | alpha;
    FBrush->SetSolidColor(c);
    ShowSolidChannels(c);
    RepaintEdited();
}

void TsgBrushDesign::textSolidRChange(TObject*) {
    if (!FBrush || FUpdating)
        return;
    const TsgColor c = TypedColor(textSolidR, textSolidG, textSolidB, textSolidA);
    FBrush->SetSolidColor(c);
    FUpdating = true;
    solidPicker->SetColor(c);
    FUpdating = false;
    ShowSolidChannels(c);
    RepaintEdited();
}

void TsgBrushDesign::textSolidHexChange(TObject*) {
    if (!FBrush || FUpdating)
        return;
    const TsgColor c = sgStrToColor(textSolidHex->Text());
    FBrush->SetSolidColor(c);
    FUpdating = true;
    solidPicker->SetColor(c);
    FUpdating = false;
    ShowSolidChannels(c);
    RepaintEdited();
}

// Gradient page.

void TsgBrushDesign::gradQuadChange(TObject*) {
    if (!FBrush || FUpdating)
        return;
    if (TsgGradientPoint* stop = CurrentStop(gradEditor)) {
        const TsgColor c =
            (HSLtoRGB(gradQuad->Hue(), gradQuad->Sat(), gradQuad->Lum()) & 0x00FFFFFF) |
            (stop->IntColor() & 0xFF000000);
        stop->SetIntColor(c);
        ShowGradChannels(c);
    }
    FBrush->SetGradient(gradEditor->Gradient());
    gradEditor->Repaint();
    RepaintEdited();
}

void TsgBrushDesign::textGradRChange(TObject*) {
    if (!FBrush || FUpdating)
        return;
    TsgGradientPoint* stop = CurrentStop(gradEditor);
    if (!stop)
        return;
    const TsgColor c = TypedColor(textGradR, textGradG, textGradB, textGradA);
    stop->SetIntColor(c);
    FUpdating = true;
    gradEditor->Gradient()->Change();
    FUpdating = false;
    FBrush->SetGradient(gradEditor->Gradient());
    ShowGradChannels(c);
    RepaintEdited();
}

void TsgBrushDesign::textGradHexChange(TObject*) {
    if (!FBrush || FUpdating)
        return;
    TsgGradientPoint* stop = CurrentStop(gradEditor);
    if (!stop)
        return;
    const TsgColor c = sgStrToColor(textGradHex->Text());
    stop->SetIntColor(c);
    FUpdating = true;
    gradEditor->Gradient()->Change();
    FUpdating = false;
    FBrush->SetGradient(gradEditor->Gradient());
    ShowGradChannels(c);
    RepaintEdited();
}

void TsgBrushDesign::gradEditorChange(TObject*) {
    if (!FBrush)
        return;
    FBrush->SetGradient(gradEditor->Gradient());
    if (TsgGradientPoint* stop = CurrentStop(gradEditor))
        ShowGradChannels(stop->IntColor());
    RepaintEdited();
}

void TsgBrushDesign::gradKindChange(TObject*) {
    if (!FBrush)
        return;
    const bool linear = gradKind->ItemIndex() != 1;
    gradEditor->Gradient()->SetStyle(linear ? sgLinearGradient : sgRadialGradient);
    gradEditor->Gradient()->Change();
    gradAngle->SetVisible(linear);
    gradAngleLabel->SetVisible(linear);
}

void TsgBrushDesign::gradAngleChange(TObject*) {
    if (!FBrush || FUpdating)
        return;
    const double a = double(gradAngle->Value()) * std::numbers::pi / 180;
    const double c = std::cos(a), s = std::sin(a);
    auto scale = [](double v) {
        if (v == 0)
            return 1.0;
        const double k = 1 / std::fabs(v);
        return k <= kMaxScale ? k : 1.0;
    };
    const double k = std::max(scale(c), scale(s)) * 0.5;
    TsgGradient* g = gradEditor->Gradient();
    g->StartPosition()->SetPoint(TsgPoint{float(0.5 - c * k), float(0.5 + s * k)});
    g->StopPosition()->SetPoint(TsgPoint{float(0.5 + c * k), float(0.5 - s * k)});
    g->Change();
    gradAngleLabel->SetText(UnicodeString(std::to_string(static_cast<int>(gradAngle->Value()))));
}

// Bitmap page.

void TsgBrushDesign::btnSelectBitmapClick(TObject*) {
    if (!FBrush)
        return;
    auto editor = std::make_unique<TsgBitmapEditor>();
    sgBitmapEditor = editor.get();
    try {
        editor->AssignFromBitmap(bitmapImage->Bitmap());
        if (sgDesignShowModal()(*editor) == mrOk) {
            editor->AssignToBitmap(bitmapImage->Bitmap());
            FBrush->Bitmap()->Bitmap()->Assign(bitmapImage->Bitmap());
            RepaintEdited();
            bitmapImage->Repaint();
        }
    } catch (...) {
        sgBitmapEditor = nullptr;
        throw;
    }
    sgBitmapEditor = nullptr;
}

void TsgBrushDesign::tileModeListChange(TObject*) {
    if (!FBrush)
        return;
    const int i = tileModeList->ItemIndex();
    if (i < 0 || i > int(sgWrapTileStretch))
        return;
    FBrush->Bitmap()->SetWrapMode(TsgWrapMode(i));
    RepaintEdited();
}

// Resource page.

void TsgBrushDesign::RebuildResList() {
    if (!FScene || !FScene->GetRoot() || !FBrush)
        return;
    resList->BeginUpdate();
    resList->Clear();
    std::vector<TsgObject*> all;
    FScene->GetRoot()->AddObjectsToList(all);
    int selected = -1;
    for (TsgObject* o : all) {
        auto* res = dynamic_cast<TsgBrushObject*>(o);
        if (!res)
            continue;
        TsgListBoxItem* row = AddRow(resList, res, res->ResourceName());
        auto* swatch = new TsgRectangle(resList->Owner());
        swatch->SetStored(false);
        swatch->SetAlign(vaLeft);
        swatch->SetHitTest(false);
        swatch->SetWidth(kBrushRowHeight);
        swatch->Padding()->SetRect(TsgRect{2, 2, 2, 2});
        swatch->Fill()->SetStyle(sgBrushResource);
        swatch->Fill()->Resource()->SetResource(res);
        swatch->Stroke()->SetSolidColor(0x80FFFFFF);
        row->AddObject(swatch);
        if (FBrush->Resource()->Resource() == res)
            selected = resList->Count() - 1;
    }
    resList->EndUpdate();
    FUpdating = true;
    resList->SetItemIndex(selected);
    FUpdating = false;
}

void TsgBrushDesign::resListChange(TObject*) {
    if (FUpdating || !FScene || !FScene->GetRoot() || !FBrush)
        return;
    TsgListBoxItem* row = resList->Selected();
    auto* res = row ? dynamic_cast<TsgBrushObject*>(row->TagObject) : nullptr;
    if (!res)
        return;
    FBrush->Assign(res->Brush());
    FBrush->Resource()->SetResource(res);
    FBrush->SetStyle(sgBrushResource);
    RepaintEdited();
}

void TsgBrushDesign::btnMakeResClick(TObject*) {
    if (!FBrush || !FScene || !FScene->GetRoot())
        return;
    UnicodeString name = UniqueName(u"Brush");
    if (!sgInputQuery(u"New TsgBrushObject", u"Enter resource name:", name))
        return;
    auto* res = new TsgBrushObject(FScene->GetOwner());
    FScene->GetRoot()->AddObject(res);
    res->SetResourceName(name);
    res->SetName(AnsiString(name));
    res->SetBrush(FBrush);
    RebuildResList();
}

// The shared designer.

void SelectInDesign(TPersistent* Value, TPersistent* Owner) {
    if (!sgDesign) {
        sgDesign = new TsgBrushDesign();
        sgDesign->OnClose = [](TForm& form, TCloseAction& action) {
            static_cast<TsgBrushDesign&>(form).FormClose(&form, action);
        };
    }
    if (!Value) {
        sgDesign->SetComp(nullptr);
        sgDesign->SetBrush(nullptr);
    } else if (auto* brush = dynamic_cast<TsgBrush*>(Value)) {
        sgDesign->SetComp(Owner);
        sgDesign->SetBrush(brush);
    } else if (dynamic_cast<TsgObject*>(Value)) {
        sgDesign->SetComp(Value);
    }
    sgDesign->Show();
}
