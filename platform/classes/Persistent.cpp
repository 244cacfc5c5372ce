#include "platform/classes/Persistent.h"

const TClassInfo& TObject::StaticClassInfo() {
    static const TClassInfo info = [] {
        TClassInfo i("TObject", nullptr, typeid(TObject));
        i.Seal();
        return i;
    }();
    return info;
}

DBI_PUBLISH(TPersistent) {}

void TPersistent::Assign(TPersistent* source) {
    if (source)
        source->AssignTo(this);
    else
        AssignError(nullptr);
}

void TPersistent::AssignTo(TPersistent* dest) {
    dest->AssignError(this);
}

void TPersistent::AssignError(TPersistent* source) {
    AnsiString from = source ? source->ClassName() : AnsiString("nil");
    throw EConvertError(AnsiString("Cannot assign a ") + from + " to a " + ClassName());
}

void TPersistent::DefineProperties(TFiler&) {}

TPersistent* TPersistent::GetOwner() {
    return nullptr;
}

AnsiString TPersistent::GetNamePath() {
    return ClassName();
}
