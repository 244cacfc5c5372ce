#include "scene/core/Sg_ani_kinds.h"

#include "scene/core/Sg_utils.h"

#include "platform/classes/ClassInfo.h"

DBI_PUBLISH(TsgPropertyAnimation) {}

void TsgPropertyTarget::Resolve(TsgObject* Root, const AnsiString& Path) {
    TPersistent* object = Root;
    AnsiString name = Path;
    while (object && name.Pos(".") > 0) {
        const AnsiString segment = GetToken(name, ".");
        const TPropInfo* step = object->ClassInfo().FindProperty(segment);
        if (step && step->Kind == TPropertyKind::Class && step->GetObject)
            object = step->GetObject(*object);
    }
    Object = object;
    Name = name;
    Prop = object ? object->ClassInfo().FindProperty(name) : nullptr;
}

TPersistent* TsgPropertyTarget::ObjectValue() const {
    if (!Object || !Prop || Prop->Kind != TPropertyKind::Class || !Prop->GetObject)
        return nullptr;
    return Prop->GetObject(*Object);
}

void TsgPropertyAnimation::ResolveTarget() {
    if (FTarget.Resolved() || !Parent() || FPropertyName.IsEmpty())
        return;
    FTarget.Resolve(Parent(), FPropertyName);
}
