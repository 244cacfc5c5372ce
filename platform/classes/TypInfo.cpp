#include "platform/classes/TypInfo.h"

#include "platform/classes/Component.h"
#include "platform/rtl/StringUtils.h"

namespace {

bool IsOrdinal(TPropertyKind kind) {
    return kind == TPropertyKind::Integer || kind == TPropertyKind::Int64 ||
           kind == TPropertyKind::Enumeration || kind == TPropertyKind::Set ||
           kind == TPropertyKind::Boolean;
}

const TPropInfo& Require(TPersistent* instance, const AnsiString& path, TPersistent*& target,
                         bool (*fits)(TPropertyKind)) {
    const TPropInfo* prop = instance ? FindPropertyPath(instance, path, target) : nullptr;
    if (!prop)
        throw EPropertyError(AnsiString("Property ") + path + " does not exist");
    if (!fits(prop->Kind))
        throw EPropertyError(AnsiString("Invalid property type: ") + path);
    return *prop;
}

void RequireWritable(const TPropInfo& prop) {
    if (!prop.IsWritable())
        throw EPropertyError(AnsiString("Property ") + prop.Name + " is read-only");
}

AnsiString ElementName(const TPropInfo& prop, int64_t index) {
    if (prop.Kind == TPropertyKind::Boolean)
        return index ? "True" : "False";
    if (index < 0 || index >= static_cast<int64_t>(prop.ElementNames.size()))
        return AnsiString(std::to_string(index));
    return prop.ElementNames[static_cast<size_t>(index)];
}

int64_t ElementIndex(const TPropInfo& prop, const AnsiString& name) {
    if (prop.Kind == TPropertyKind::Boolean) {
        if (SameText(name, "True"))
            return 1;
        if (SameText(name, "False"))
            return 0;
    } else {
        int index = prop.ElementIndex(name);
        if (index >= 0)
            return index;
    }
    throw EConvertError(AnsiString("Invalid property element: ") + name);
}

} // namespace

const TPropInfo* FindPropertyPath(TPersistent* instance, const AnsiString& path,
                                  TPersistent*& target) {
    target = instance;
    const std::string& s = path.str();
    size_t start = 0;
    for (size_t dot = s.find('.'); dot != std::string::npos; dot = s.find('.', start)) {
        const TPropInfo* step =
            target->ClassInfo().FindProperty(AnsiString(s.substr(start, dot - start)));
        start = dot + 1;
        if (!step || step->Kind != TPropertyKind::Class || !step->GetObject)
            return nullptr;
        TPersistent* sub = step->GetObject(*target);
        if (!sub || dynamic_cast<TComponent*>(sub))
            return nullptr;
        target = sub;
    }
    return target->ClassInfo().FindProperty(AnsiString(s.substr(start)));
}

bool IsPublishedProp(TPersistent* instance, const AnsiString& path) {
    TPersistent* target;
    return instance && FindPropertyPath(instance, path, target) != nullptr;
}

int64_t GetOrdProp(TPersistent* instance, const AnsiString& path) {
    TPersistent* target;
    return Require(instance, path, target, IsOrdinal).GetOrd(*target);
}

void SetOrdProp(TPersistent* instance, const AnsiString& path, int64_t value) {
    TPersistent* target;
    const TPropInfo& prop = Require(instance, path, target, IsOrdinal);
    RequireWritable(prop);
    prop.SetOrd(*target, value);
}

double GetFloatProp(TPersistent* instance, const AnsiString& path) {
    TPersistent* target;
    return Require(instance, path, target,
                   [](TPropertyKind k) { return k == TPropertyKind::Float; })
        .GetFloat(*target);
}

void SetFloatProp(TPersistent* instance, const AnsiString& path, double value) {
    TPersistent* target;
    const TPropInfo& prop =
        Require(instance, path, target, [](TPropertyKind k) { return k == TPropertyKind::Float; });
    RequireWritable(prop);
    prop.SetFloat(*target, value);
}

UnicodeString GetStrProp(TPersistent* instance, const AnsiString& path) {
    TPersistent* target;
    return Require(instance, path, target,
                   [](TPropertyKind k) {
                       return k == TPropertyKind::String || k == TPropertyKind::WString;
                   })
        .GetStr(*target);
}

void SetStrProp(TPersistent* instance, const AnsiString& path, const UnicodeString& value) {
    TPersistent* target;
    const TPropInfo& prop = Require(instance, path, target, [](TPropertyKind k) {
        return k == TPropertyKind::String || k == TPropertyKind::WString;
    });
    RequireWritable(prop);
    prop.SetStr(*target, value);
}

AnsiString GetEnumProp(TPersistent* instance, const AnsiString& path) {
    TPersistent* target;
    const TPropInfo& prop = Require(instance, path, target, [](TPropertyKind k) {
        return k == TPropertyKind::Enumeration || k == TPropertyKind::Boolean;
    });
    return ElementName(prop, prop.GetOrd(*target));
}

void SetEnumProp(TPersistent* instance, const AnsiString& path, const AnsiString& value) {
    TPersistent* target;
    const TPropInfo& prop = Require(instance, path, target, [](TPropertyKind k) {
        return k == TPropertyKind::Enumeration || k == TPropertyKind::Boolean;
    });
    RequireWritable(prop);
    prop.SetOrd(*target, ElementIndex(prop, Trim(value)));
}

AnsiString GetSetProp(TPersistent* instance, const AnsiString& path) {
    TPersistent* target;
    const TPropInfo& prop =
        Require(instance, path, target, [](TPropertyKind k) { return k == TPropertyKind::Set; });
    int64_t mask = prop.GetOrd(*target);
    AnsiString text = "[";
    bool first = true;
    for (size_t i = 0; i < prop.ElementNames.size() && i < 64; ++i)
        if (mask & (int64_t(1) << i)) {
            text += (first ? AnsiString() : AnsiString(",")) + prop.ElementNames[i];
            first = false;
        }
    return text + "]";
}

void SetSetProp(TPersistent* instance, const AnsiString& path, const AnsiString& value) {
    TPersistent* target;
    const TPropInfo& prop =
        Require(instance, path, target, [](TPropertyKind k) { return k == TPropertyKind::Set; });
    RequireWritable(prop);
    std::string s = Trim(value).str();
    if (!s.empty() && s.front() == '[')
        s.erase(0, 1);
    if (!s.empty() && s.back() == ']')
        s.pop_back();
    int64_t mask = 0;
    size_t start = 0;
    while (start <= s.size()) {
        size_t comma = s.find(',', start);
        AnsiString element =
            Trim(AnsiString(s.substr(start, comma == std::string::npos ? comma : comma - start)));
        if (!element.IsEmpty())
            mask |= int64_t(1) << ElementIndex(prop, element);
        if (comma == std::string::npos)
            break;
        start = comma + 1;
    }
    prop.SetOrd(*target, mask);
}

TPersistent* GetObjectProp(TPersistent* instance, const AnsiString& path) {
    TPersistent* target;
    return Require(instance, path, target,
                   [](TPropertyKind k) { return k == TPropertyKind::Class; })
        .GetObject(*target);
}

void SetObjectProp(TPersistent* instance, const AnsiString& path, TPersistent* value) {
    TPersistent* target;
    const TPropInfo& prop =
        Require(instance, path, target, [](TPropertyKind k) { return k == TPropertyKind::Class; });
    RequireWritable(prop);
    prop.SetObject(*target, value);
}

TMethod GetMethodProp(TPersistent* instance, const AnsiString& path) {
    TPersistent* target;
    return Require(instance, path, target,
                   [](TPropertyKind k) { return k == TPropertyKind::Method; })
        .GetMethod(*target);
}

void SetMethodProp(TPersistent* instance, const AnsiString& path, const TMethod& value) {
    TPersistent* target;
    const TPropInfo& prop =
        Require(instance, path, target, [](TPropertyKind k) { return k == TPropertyKind::Method; });
    RequireWritable(prop);
    prop.SetMethod(*target, value);
}
