#include "scene/core/Sg_objects.h"

DBI_PUBLISH(TsgPaintBox) {
    using S = TsgPaintBox;
    p.Event("OnPaint", &S::GetOnPaint, &S::SetOnPaint);
}

void TsgPaintBox::Paint() {
    TsgVisualObject::Paint();
    if (FOnPaint)
        FOnPaint(this, Canvas());
}
