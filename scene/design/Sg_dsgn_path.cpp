#include "scene/design/Sg_dsgn_path.h"

#include "scene/controls/Sg_controls_buttons.h"
#include "scene/controls/Sg_controls_text.h"
#include "scene/controls/Sg_layout.h"
#include "scene/controls/Sg_memo.h"
#include "scene/core/Sg_objects.h"
#include "scene/core/Sg_scene.h"
#include "scene/core/Sg_scene_background.h"
#include "scene/core/Sg_scene_path.h"
#include "scene/design/Sg_dsgn_form.h"

#include "platform/rtl/Exceptions.h"

#include <memory>

TsgPathDataDesigner* sgPathDataDesigner = nullptr;

DBI_PUBLISH(TsgPathDataDesigner) {
    using F = TsgPathDataDesigner;
    p.Field<&F::sgScene1>("sgScene1");
    p.Field<&F::Root1>("Root1");
    p.Field<&F::labelMemo>("labelMemo");
    p.Field<&F::PathData>("PathData");
    p.Field<&F::previewLayout>("previewLayout");
    p.Field<&F::previewPath>("previewPath");
    p.Field<&F::Button1>("Button1");
    p.Field<&F::Button2>("Button2");
    p.Field<&F::Button3>("Button3");
    p.Method<&F::PathDataChange>("PathDataChange");
    p.Method<&F::Button1Click>("Button1Click");
    p.Method<&F::Button2Click>("Button2Click");
    p.Method<&F::Button3Click>("Button3Click");
}

TsgPathDataDesigner::TsgPathDataDesigner(TComponent*) {
    sgReadDesignForm(*this, "TSGPATHDATADESIGNER");
    if (!PathData || !previewPath || !previewLayout)
        throw EReadError(AnsiString("The layout TSGPATHDATADESIGNER lacks a component"));
}

void TsgPathDataDesigner::PathDataChange(TObject*) {
    if (!PathData || !previewPath || !previewLayout || !previewLayout->Visible())
        return;
    previewPath->Data()->SetPathString(AnsiString(PathData->Text()));
}

void TsgPathDataDesigner::Button1Click(TObject*) {
    if (!PathData)
        return;
    // The memo's paste ends in its Change, which brings the new text to the preview.
    PathData->SelectAll();
    PathData->ClearSelection();
    PathData->PasteFromClipboard();
}

void TsgPathDataDesigner::Button2Click(TObject*) {
    SetModalResult(mrOk);
}

void TsgPathDataDesigner::Button3Click(TObject*) {
    SetModalResult(mrCancel);
}

bool sgEditPathData(TsgPathData* Data) {
    if (!Data)
        return false;
    auto form = std::make_unique<TsgPathDataDesigner>();
    // Through the lines, whose edits end in the memo's Change: the preview opens on the path.
    form->PathData->Lines()->SetTextStr(UnicodeString(Data->GetPathString()));
    const bool ok = sgDesignShowModal()(*form) == mrOk;
    if (ok)
        Data->SetPathString(AnsiString(form->PathData->Text()));
    return ok;
}
