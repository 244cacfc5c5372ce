#include "scene/controls/Sg_tabcontrol.h"

#include "scene/controls/Sg_layout.h"
#include "scene/core/Sg_scene_canvas.h"
#include "scene/core/Sg_scene_designer.h"
#include "scene/core/Sg_scene_registry.h"

#include <algorithm>
#include <vector>

DBI_PUBLISH(TsgTabItem) {
    using I = TsgTabItem;
    p.Boolean("IsSelected", &I::IsSelected, nullptr);
    p.Object("Layout", &I::Layout, &I::SetLayout);
    p.Boolean("AutoTranslate", &I::AutoTranslate, &I::SetAutoTranslate, true);
    p.Object("Font", &I::Font, &I::SetFont);
    p.Enumeration("TextAlign", &I::TextAlign, &I::SetTextAlign, SgTextAlignNames(), std::nullopt);
    p.String("Text", &I::Text, &I::SetText);
}

DBI_PUBLISH(TsgTabControl) {
    using T = TsgTabControl;
    p.Integer("ItemIndex", &T::ItemIndex, &T::SetItemIndex, -1);
    p.Float("ItemHeight", &T::ItemHeight, &T::SetItemHeight);
    p.Boolean("FullSize", &T::FullSize, &T::SetFullSize, false);
    p.Event("OnChange", &T::GetOnChange, &T::SetOnChange);
}

DBI_PUBLISH(TsgHudTabItem) {
    (void)p;
}

DBI_PUBLISH(TsgHudTabControl) {
    (void)p;
}

namespace {

// Holds an object's alignment flag for one layout pass, so that the bounds set during the pass
// do not start another.
class AlignGuard {
public:
    explicit AlignGuard(bool& Flag) : flag_(Flag) { flag_ = true; }
    ~AlignGuard() { flag_ = false; }
    AlignGuard(const AlignGuard&) = delete;
    AlignGuard& operator=(const AlignGuard&) = delete;

private:
    bool& flag_;
};

TsgTabItem* AsTabItem(TsgObject* O) {
    return dynamic_cast<TsgTabItem*>(O);
}

} // namespace

// ---- TsgTabItem ----

TsgTabItem::TsgTabItem(TComponent* AOwner) : TsgTextControl(AOwner) {
    SetAutoTranslate(true);
    SetHeight(20);
    SetWidth(80);
    SetHitTest(true);
}

TsgTabItem::~TsgTabItem() {
    BeforeDestruction();
    SetLayout(nullptr);
}

void TsgTabItem::SetLayout(TsgVisualObject* Value) {
    if (Value == FLayout)
        return;
    if (FLayout)
        FLayout->RemoveFreeNotification(this);
    FLayout = Value;
    if (FLayout)
        FLayout->FreeNotification(this);
}

void TsgTabItem::Select(bool Selected) {
    FIsSelected = Selected;
    StartTriggerAnimation(this, "IsSelected");
    ApplyTriggerEffect(this, "IsSelected");
}

void TsgTabItem::ApplyStyle() {
    TsgTextControl::ApplyStyle();
    auto* control = dynamic_cast<TsgTabControl*>(Parent());
    Select(control && control->ItemIndex() >= 0 && control->ItemIndex() == FIndex);
}

void TsgTabItem::MouseUp(TMouseButton Button, TShiftState Shift, float X, float Y) {
    TsgTextControl::MouseUp(Button, Shift, X, Y);
    if (Button != mbLeft)
        return;
    if (auto* control = dynamic_cast<TsgTabControl*>(Parent()))
        control->SetItemIndex(FIndex);
}

void TsgTabItem::Realign() {
    TsgTextControl::Realign();
    if (FDisableAlign)
        return;
    auto* control = dynamic_cast<TsgTabControl*>(Parent());
    if (!FLayout || !control)
        return;
    AlignGuard guard(FDisableAlign);
    const TsgBounds* m = control->Margins();
    const TsgBounds* p = FLayout->Padding();
    FLayout->SetBounds(m->Left() + p->Left(), Height() + m->Top() + p->Top(),
                       control->Width() - m->Left() - m->Right() - p->Left() - p->Right(),
                       control->Height() - Height() - m->Top() - m->Bottom() - p->Top() -
                           p->Bottom());
}

void TsgTabItem::Loaded() {
    TsgTextControl::Loaded();
    AdoptNestedPage();
}

void TsgTabItem::AdoptNestedPage() {
    auto* control = dynamic_cast<TsgTabControl*>(Parent());
    if (FLayout || !control)
        return;
    TsgVisualObject* page = nullptr;
    for (int i = 0; i < ChildrenCount() && !page; ++i) {
        TsgObject* child = GetChild(i);
        if (child != StyleClone() && child->Stored())
            page = child->Visual();
    }
    if (!page)
        return;
    control->AddObject(page);
    SetLayout(page);
    control->Realign();
}

void TsgTabItem::Notification(TComponent* AComponent, TOperation Operation) {
    TsgTextControl::Notification(AComponent, Operation);
    if (Operation == opRemove && FLayout && static_cast<TComponent*>(FLayout) == AComponent)
        FLayout = nullptr;
}

void TsgTabItem::DesignSelect() {
    if (auto* control = dynamic_cast<TsgTabControl*>(Parent()))
        control->SetItemIndex(FIndex);
}

void TsgTabItem::DesignInsert() {
    if (FLayout)
        return;
    auto* page = new TsgLayout(Owner());
    if (auto* control = dynamic_cast<TsgTabControl*>(Parent()))
        control->AddObject(page);
    if (sgDesigner && Owner())
        page->SetName(sgDesigner->UniqueName(Owner(), page->ClassInfo().ClassName()));
    SetLayout(page);
}

// ---- TsgTabControl ----

TsgTabControl::TsgTabControl(TComponent* AOwner) : TsgControl(AOwner) {
    SetAutoCapture(true);
    SetWidth(200);
    SetHeight(200);
}

TsgTabControl::~TsgTabControl() {
    BeforeDestruction();
}

TsgTabItem* TsgTabControl::TabItem(int AIndex) const {
    if (AIndex < 0)
        return nullptr;
    for (int i = 0; i < ChildrenCount(); ++i)
        if (TsgTabItem* item = AsTabItem(GetChild(i)); item && item->Index() == AIndex)
            return item;
    return nullptr;
}

void TsgTabControl::SetItemIndex(int Value) {
    if (Value == FItemIndex)
        return;
    if (TsgTabItem* old = TabItem(FItemIndex))
        old->Select(false);
    FItemIndex = Value;
    Realign();
    if (TsgTabItem* current = TabItem(FItemIndex))
        current->Select(true);
    if (OnChange)
        OnChange(this);
}

void TsgTabControl::SetItemHeight(float Value) {
    if (Value == FItemHeight)
        return;
    FItemHeight = Value;
    Realign();
}

void TsgTabControl::SetFullSize(bool Value) {
    if (Value == FFullSize)
        return;
    FFullSize = Value;
    Realign();
}

void TsgTabControl::AddObject(TsgObject* AObject) {
    TsgControl::AddObject(AObject);
    if (TsgTabItem* item = AsTabItem(AObject)) {
        if (!item->HasState(csLoading))
            item->AdoptNestedPage();
        Realign();
    }
}

void TsgTabControl::ApplyStyle() {
    TsgControl::ApplyStyle();
    TsgObject* background = FindResource(u"background");
    FBackground = background ? background->Visual() : nullptr;
    Realign();
}

void TsgTabControl::FreeStyle() {
    TsgControl::FreeStyle();
    FBackground = nullptr;
}

void TsgTabControl::MouseDown(TMouseButton Button, TShiftState Shift, float X, float Y) {
    TsgControl::MouseDown(Button, Shift, X, Y);
    Realign();
}

void TsgTabControl::Realign() {
    TsgControl::Realign();
    if (FDisableAlign)
        return;
    AlignGuard guard(FDisableAlign);

    float headerHeight = 0;
    int visibleItems = 0;
    for (int i = 0; i < ChildrenCount(); ++i) {
        TsgTabItem* item = AsTabItem(GetChild(i));
        if (!item)
            continue;
        if (!item->Visible()) {
            // A hidden header answers to no index: its old number now belongs to another one.
            item->SetIndex(-1);
            if (TsgVisualObject* page = item->Layout()) {
                page->SetVisible(false);
                page->SetDesignHide(true);
            }
            continue;
        }
        item->SetIndex(visibleItems++);
        const TsgBounds* p = item->Padding();
        headerHeight = std::max(headerHeight, item->Height() + p->Top() + p->Bottom());
    }
    if (FItemHeight > 0)
        headerHeight = FItemHeight;

    if (TsgObject* style = StyleClone(); style && style->IsVisual()) {
        TsgVisualObject* root = style->Visual();
        const TsgBounds* p = root->Padding();
        root->SetAlign(vaNone);
        root->SetBounds(p->Left(), headerHeight + p->Top(), Width() - p->Left() - p->Right(),
                        Height() - headerHeight - p->Top() - p->Bottom());
        root->BringToFront();
    }

    float tabWidth = Width();
    if (FBackground)
        tabWidth -= FBackground->Margins()->Left() + FBackground->Margins()->Right();
    if (FFullSize && visibleItems > 0)
        tabWidth /= static_cast<float>(visibleItems);

    float x = 0;
    // Bringing a page to the front reorders the children; walk a copy of the list.
    std::vector<TsgTabItem*> items;
    for (int i = 0; i < ChildrenCount(); ++i)
        if (TsgTabItem* item = AsTabItem(GetChild(i)); item && item->Visible())
            items.push_back(item);
    for (TsgTabItem* item : items) {
        item->SetAlign(vaNone);
        if (TsgVisualObject* page = item->Layout()) {
            const bool shown = item->Index() == FItemIndex;
            page->SetAlign(vaNone);
            page->SetVisible(shown);
            page->SetDesignHide(!shown);
            page->SetClipChildren(true);
            if (shown)
                page->BringToFront();
        }
        const TsgBounds* p = item->Padding();
        item->SetBounds(x + p->Left(), p->Top(), FFullSize ? tabWidth : item->Width(),
                        headerHeight - p->Top() - p->Bottom());
        x += p->Left() + item->Width() + p->Right();
        item->Realign();
    }
}

void TsgTabControl::PaintChildren() {
    TsgTabItem* selected = TabItem(FItemIndex);
    TsgCanvas* canvas = Canvas();
    if (!selected || !selected->Visible() || !canvas) {
        TsgControl::PaintChildren();
        return;
    }
    // The selected header goes over its neighbours and the page: it is left out of the ordinary
    // pass and painted once more at the end.
    const float opacity = selected->Opacity();
    selected->SetOpacity(0);
    try {
        TsgControl::PaintChildren();
    } catch (...) {
        selected->SetOpacity(opacity);
        throw;
    }
    selected->SetOpacity(opacity);
    canvas->SetMatrix(selected->AbsoluteMatrix());
    selected->BeforePaint();
    selected->Paint();
    selected->PaintChildren();
}

void RegisterSgTabControlUnit() {
    static const bool done = [] {
        RegisterSGObjects(u"Controls", {&TsgTabControl::StaticClassInfo()});
        RegisterSGObjects(u"HUD", {&TsgHudTabControl::StaticClassInfo()});
        RegisterSGObjects(u"Items",
                          {&TsgTabItem::StaticClassInfo(), &TsgHudTabItem::StaticClassInfo()});
        return true;
    }();
    (void)done;
}
