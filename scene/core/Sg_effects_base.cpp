#include "scene/core/Sg_effects.h"

#include "scene/core/Sg_ani_base.h"
#include "scene/core/Sg_scene_visual.h"

DBI_PUBLISH(TsgEffect) {
    p.String("Trigger", &TsgEffect::Trigger, &TsgEffect::SetTrigger);
    p.Boolean("Enabled", &TsgEffect::Enabled, &TsgEffect::SetEnabled, true);
}

namespace {

// The object tree keeps its effect-presence cache to itself; an effect that is switched on
// marks its parent's.
struct EffectCache : TsgObject {
    static constexpr auto MarkDirty = &EffectCache::MarkEffectsDirty;
};

} // namespace

void TsgEffect::SetEnabled(bool Value) {
    if (Value == FEnabled)
        return;
    FEnabled = Value;
    if (FEnabled && Parent() && Parent()->IsVisual())
        (Parent()->*EffectCache::MarkDirty)();
    UpdateParentEffects();
}

void TsgEffect::UpdateParentEffects() {
    if (Loading())
        return;
    TsgVisualObject* parent = Parent() ? Parent()->Visual() : nullptr;
    if (!parent)
        return;
    parent->UpdateEffects();
    parent->RecalcUpdateRect();
    const bool enabled = FEnabled;
    FEnabled = true;
    parent->Repaint();
    FEnabled = enabled;
    // The rectangle just measured may hold margins of an effect that is off again.
    parent->RecalcUpdateRect();
}

void TsgEffect::ApplyTrigger(TsgObject* AInstance, const AnsiString& ATrigger) {
    if (FTrigger.IsEmpty() || !AInstance || !sgTriggerMentions(FTrigger, ATrigger))
        return;
    SetEnabled(sgTriggerHolds(AInstance, FTrigger));
}
