// The tab-order editor of the design menu and the operations its buttons call.
#include "scene/design/Sg_scene_design_taborder.h"

#include "scene/controls/Sg_controls_buttons.h"
#include "scene/controls/Sg_controls_windows.h"
#include "scene/controls/Sg_listbox.h"
#include "scene/core/Sg_scene.h"
#include "scene/design/Sg_dsgn_form.h"
#include "scene/design/Sg_scene_design.h"

#include <memory>
#include <vector>

TsgTabOrderEditor::TsgTabOrderEditor(TsgSceneDesign* Design) {
    SetBorderStyle(bsNone);
    SetPosition(poScreenCenter);
    SetBounds(0, 0, 400, 300);
    // The form owns the scene, so the window's close button finds the form to close.
    Scene = new TsgScene(this);
    Scene->SetParent(this);
    Scene->SetAlign(alClient);
    Scene->SetTransparency(true);
    Window = new TsgHudWindow(nullptr);
    Window->SetShowSizeGrip(false);
    Window->SetText(u"TabOrder Editor");
    Scene->AddObject(Window);
    const ::TNotifyEvent onClick =
        ::TNotifyEvent::Bind<&TsgSceneDesign::doDesignTabOrderBtnClick>(Design);
    List = new TsgHudListBox(nullptr);
    const struct {
        TsgHudButton** button;
        const char16_t* text;
        float top;
    } buttons[] = {{&UpButton, u"Up", 50}, {&DownButton, u"Down", 90}};
    for (const auto& b : buttons) {
        auto* button = new TsgHudButton(nullptr);
        Window->AddObject(button);
        button->SetBounds(float(Width() - 70), b.top, 50, 26);
        button->SetText(b.text);
        button->OnClick = onClick;
        button->TagObject = List;
        *b.button = button;
    }
    Window->AddObject(List);
    List->SetAlign(vaClient);
    List->Padding()->SetRect(TsgRect{26, 45, 86, 33});
    List->SetItemHeight(20);
    List->SetHideSelectionUnfocused(false);
}

void TsgSceneDesign::doDesignPopupTabOrder(TObject*) {
    TsgVisualObject* sel = Selected();
    if (!sel || !sel->Parent() || !sel->Parent()->Visual())
        return;
    auto form = std::make_unique<TsgTabOrderEditor>(this);
    doDesignTabOrderRebuildList(form->List);
    form->List->SetItemIndex(sel->TabOrder());
    sgDesignShowModal()(*form);
}

void TsgSceneDesign::doDesignTabOrderRebuildList(TsgListBox* List) {
    if (!List)
        return;
    int index = 0;
    if (TsgListBoxItem* row = List->Selected())
        if (auto* o = dynamic_cast<TsgVisualObject*>(row->TagObject))
            index = o->TabOrder();
    List->BeginUpdate();
    List->Clear();
    TsgVisualObject* sel = Selected();
    if (TsgVisualObject* parent = sel && sel->Parent() ? sel->Parent()->Visual() : nullptr) {
        std::vector<TsgObject*> order;
        parent->GetTabOrderList(order, false);
        for (TsgObject* o : order) {
            auto* item = new TsgListBoxItem(nullptr);
            item->SetText(o->Name().IsEmpty() ? UnicodeString(o->ClassName())
                                              : UnicodeString(o->Name()));
            item->TagObject = o;
            List->AddObject(item);
        }
    }
    List->EndUpdate();
    List->SetItemIndex(index);
}

void TsgSceneDesign::doDesignTabOrderBtnClick(TObject* Sender) {
    auto* button = dynamic_cast<TsgTextControl*>(Sender);
    auto* list = button ? dynamic_cast<TsgListBox*>(button->TagObject) : nullptr;
    if (!list)
        return;
    TsgListBoxItem* row = list->Selected();
    auto* o = row ? dynamic_cast<TsgVisualObject*>(row->TagObject) : nullptr;
    if (!o)
        return;
    if (button->Text() == u"Up")
        o->UpdateTabOrder(o->TabOrder() - 1);
    else if (button->Text() == u"Down")
        o->UpdateTabOrder(o->TabOrder() + 1);
    doDesignTabOrderRebuildList(list);
}
