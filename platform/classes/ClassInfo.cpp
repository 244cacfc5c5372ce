#include "platform/classes/ClassInfo.h"

#include "platform/classes/Component.h"
#include "platform/classes/Persistent.h"

#include <map>

namespace {

// Keys are upper-cased class names, so lookups ignore case.
std::map<AnsiString, const TClassInfo*>& Registry() {
    static std::map<AnsiString, const TClassInfo*> registry;
    return registry;
}

bool SameName(const AnsiString& a, const AnsiString& b) {
    return a.Length() == b.Length() && a.UpperCase() == b.UpperCase();
}

} // namespace

bool TPropInfo::IsWritable() const {
    switch (Kind) {
    case TPropertyKind::Float:
        return bool(SetFloat);
    case TPropertyKind::String:
    case TPropertyKind::WString:
        return bool(SetStr);
    case TPropertyKind::Class:
        return bool(SetObject);
    case TPropertyKind::Method:
        return bool(SetMethod);
    default:
        return bool(SetOrd);
    }
}

bool TPropInfo::IsStored(TPersistent& instance) const {
    return !StoredTest || StoredTest(instance);
}

int TPropInfo::ElementIndex(const AnsiString& name) const {
    for (size_t i = 0; i < ElementNames.size(); ++i)
        if (SameName(ElementNames[i], name))
            return static_cast<int>(i);
    return -1;
}

TClassInfo::TClassInfo(const char* className, const TClassInfo* parent, const std::type_info& type)
    : className_(className), parent_(parent), type_(&type) {}

bool TClassInfo::InheritsFrom(const TClassInfo& other) const {
    for (const TClassInfo* c = this; c; c = c->parent_)
        if (c == &other)
            return true;
    return false;
}

bool TClassInfo::IsComponentClass() const {
    return InheritsFrom(TComponent::StaticClassInfo());
}

const TPropInfo* TClassInfo::FindProperty(const AnsiString& name) const {
    for (const TPropInfo* p : properties_)
        if (SameName(p->Name, name))
            return p;
    return nullptr;
}

const TMethodEntry* TClassInfo::FindMethod(const AnsiString& name) const {
    for (const TClassInfo* c = this; c; c = c->parent_)
        for (const TMethodEntry& m : c->methods_)
            if (SameName(m.Name, name))
                return &m;
    return nullptr;
}

const TMethodEntry* TClassInfo::FindMethodByCode(const void* code) const {
    for (const TClassInfo* c = this; c; c = c->parent_)
        for (const TMethodEntry& m : c->methods_)
            if (m.Code == code)
                return &m;
    return nullptr;
}

const TFieldEntry* TClassInfo::FindField(const AnsiString& name) const {
    for (const TClassInfo* c = this; c; c = c->parent_)
        for (const TFieldEntry& f : c->fields_)
            if (SameName(f.Name, name))
                return &f;
    return nullptr;
}

TPropInfo& TClassInfo::AddProperty(TPropInfo info) {
    own_.push_back(std::make_unique<TPropInfo>(std::move(info)));
    return *own_.back();
}

void TClassInfo::Seal() {
    if (parent_)
        properties_ = parent_->properties_;
    for (const auto& p : own_) {
        bool replaced = false;
        for (const TPropInfo*& inherited : properties_)
            if (SameName(inherited->Name, p->Name)) {
                inherited = p.get();
                replaced = true;
                break;
            }
        if (!replaced)
            properties_.push_back(p.get());
    }
}

void CheckClassInfo(const TObject& obj) {
    if (typeid(obj) != obj.ClassInfo().Type())
        throw EInvalidOperation(AnsiString("A class derived from ") + obj.ClassName() +
                                " does not declare its persistent class information");
}

void RaisePropertyClassMismatch(const TPersistent* value) {
    throw EPropertyError(AnsiString("Invalid property value: an object of class ") +
                         value->ClassName() + " does not fit");
}

void RegisterClass(const TClassInfo& info) {
    auto& registry = Registry();
    AnsiString key = info.ClassName().UpperCase();
    auto it = registry.find(key);
    if (it != registry.end()) {
        if (it->second == &info)
            return;
        throw EInvalidOperation(AnsiString("Class ") + info.ClassName() + " is already registered");
    }
    registry.emplace(key, &info);
}

void UnRegisterClass(const TClassInfo& info) {
    auto& registry = Registry();
    auto it = registry.find(info.ClassName().UpperCase());
    if (it != registry.end() && it->second == &info)
        registry.erase(it);
}

const TClassInfo* GetClass(const AnsiString& className) {
    auto& registry = Registry();
    auto it = registry.find(className.UpperCase());
    return it == registry.end() ? nullptr : it->second;
}

const TClassInfo& FindClass(const AnsiString& className) {
    if (const TClassInfo* info = GetClass(className))
        return *info;
    throw EClassNotFound(AnsiString("Class ") + className + " not found");
}
