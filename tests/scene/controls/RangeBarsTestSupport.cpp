#include "RangeBarsTestSupport.h"

namespace rangetest {

namespace {

// The sheet's styles are rooted in plain layouts. Where this build has no layout class yet, a
// visual object that paints nothing stands in for it under the same name, so the styles load.
class TLayoutStandIn : public TsgVisualObject {
public:
    using inherited = TsgVisualObject;
    static const TClassInfo& StaticClassInfo() {
        return dbi_classes_detail::MakeClassInfo<TLayoutStandIn>(
            "TsgLayout", &TsgVisualObject::StaticClassInfo(), [](TPublisher<TLayoutStandIn>&) {});
    }
    const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }
    explicit TLayoutStandIn(TComponent* AOwner) : TsgVisualObject(AOwner) { SetHitTest(false); }
};

} // namespace

void RegisterAll() {
    RegisterSgSceneUnit();
    RegisterSgObjectsUnit();
    RegisterSgAniUnit();
    RegisterSgEffectsUnit();
    RegisterSgControlsBars();
    if (!GetClass("TsgLayout"))
        RegisterClass(TLayoutStandIn::StaticClassInfo());
}

void ApplyStyles(TsgObject* AObject) {
    if (AObject->IsVisual())
        AObject->Visual()->ApplyResource();
    for (int i = 0; i < AObject->ChildrenCount(); ++i)
        ApplyStyles(AObject->GetChild(i));
}

} // namespace rangetest
