#include "scene/controls/Sg_gridlayout.h"

DBI_PUBLISH(TsgGridLayout) {
    using S = TsgGridLayout;
    p.Float("ItemWidth", &S::ItemWidth, &S::SetItemWidth).NoDefault();
    p.Float("ItemHeight", &S::ItemHeight, &S::SetItemHeight).NoDefault();
    p.Enumeration("Orientation", &S::Orientation, &S::SetOrientation,
                  {"sgHorizontal", "sgVertical"}, sgHorizontal);
}

TsgGridLayout::TsgGridLayout(TComponent* AOwner) : TsgVisualObject(AOwner) {}

void TsgGridLayout::SetItemWidth(float Value) {
    if (Value == FItemWidth)
        return;
    FItemWidth = Value;
    Realign();
}

void TsgGridLayout::SetItemHeight(float Value) {
    if (Value == FItemHeight)
        return;
    FItemHeight = Value;
    Realign();
}

void TsgGridLayout::SetOrientation(TsgOrientation Value) {
    if (Value == FOrientation)
        return;
    FOrientation = Value;
    Realign();
}

void TsgGridLayout::Realign() {
    if (FDisableAlign)
        return;
    FDisableAlign = true;
    const TsgBounds* m = Margins();
    float x = m->Left();
    float y = m->Top();
    for (int i = 0; i < ChildrenCount(); ++i) {
        TsgVisualObject* child = GetChild(i)->Visual();
        if (!child)
            continue;
        const TsgBounds* p = child->Padding();
        child->SetBounds(x + p->Left(), y + p->Top(), FItemWidth - p->Left() - p->Right(),
                         FItemHeight - p->Top() - p->Bottom());
        if (FOrientation == sgHorizontal) {
            x += FItemWidth;
            if (Width() - m->Left() - m->Right() < x + FItemWidth) {
                x = m->Left();
                y += FItemHeight;
            }
        } else {
            y += FItemHeight;
            if (Height() - m->Top() - m->Bottom() < y + FItemHeight) {
                y = m->Top();
                x += FItemWidth;
            }
        }
    }
    FDisableAlign = false;
}
