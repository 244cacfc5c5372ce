#include "scene/core/Sg_ani_base.h"

#include "scene/core/Sg_utils.h"

#include "platform/classes/ClassInfo.h"
#include "platform/rtl/StringUtils.h"

bool sgTriggerMentions(const AnsiString& Trigger, const AnsiString& ATrigger) {
    return LowerCase(Trigger).Pos(LowerCase(ATrigger)) > 0;
}

bool sgTriggerHolds(TsgObject* AInstance, const AnsiString& ATrigger) {
    if (!AInstance || ATrigger.IsEmpty())
        return false;
    AnsiString rest = ATrigger;
    bool named = false;
    for (;;) {
        AnsiString condition = GetToken(rest, ";");
        if (condition.IsEmpty())
            break;
        const int eq = condition.Pos("=");
        AnsiString name = eq > 0 ? condition.SubString(1, eq - 1).Trim() : condition.Trim();
        AnsiString value =
            eq > 0 ? condition.SubString(eq + 1, condition.Length()).Trim() : AnsiString();
        const TPropInfo* prop = AInstance->ClassInfo().FindProperty(name);
        if (!prop || !prop->GetOrd ||
            (prop->Kind != TPropertyKind::Boolean && prop->Kind != TPropertyKind::Enumeration))
            continue;
        named = true;
        const int64_t ord = prop->GetOrd(*AInstance);
        AnsiString current;
        if (prop->Kind == TPropertyKind::Boolean)
            current = ord ? "True" : "False";
        else if (ord >= 0 && ord < int64_t(prop->ElementNames.size()))
            current = prop->ElementNames[size_t(ord)];
        if (!SameText(current, value))
            return false;
    }
    return named;
}
