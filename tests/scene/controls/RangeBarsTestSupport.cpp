#include "RangeBarsTestSupport.h"

#include "scene/controls/Sg_layouts.h"

namespace rangetest {

void RegisterAll() {
    RegisterSgSceneUnit();
    RegisterSgObjectsUnit();
    RegisterSgAniUnit();
    RegisterSgEffectsUnit();
    RegisterSgControlsBars();
    // The sheet's styles are rooted in plain layouts.
    RegisterSgLayoutsUnit();
}

void ApplyStyles(TsgObject* AObject) {
    if (AObject->IsVisual())
        AObject->Visual()->ApplyResource();
    for (int i = 0; i < AObject->ChildrenCount(); ++i)
        ApplyStyles(AObject->GetChild(i));
}

} // namespace rangetest
