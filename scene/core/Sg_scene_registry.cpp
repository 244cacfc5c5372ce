#include "scene/core/Sg_scene_registry.h"

#include "platform/rtl/Conversions.h"
#include "platform/rtl/StringUtils.h"

#include <algorithm>
#include <cstdint>
#include <vector>

TStringList* ObjectList = nullptr;
IsgDesigner* sgDesigner = nullptr;

namespace {

std::vector<TsgObject*>* ResourceList = nullptr;
std::vector<IsgScene*>* SceneList = nullptr;

const UnicodeString kObjectPrefix = u"sgobj";
const UnicodeString kEventPrefix = u"sgmet";
constexpr int kPointerHexDigits = int(sizeof(void*) * 2);

bool StartsWith(const UnicodeString& Text, const UnicodeString& Prefix) {
    return Text.Length() >= Prefix.Length() && Text.SubString(1, Prefix.Length()) == Prefix;
}

uint64_t HexValue(const UnicodeString& Text) {
    uint64_t value = 0;
    for (int i = 1; i <= Text.Length(); ++i) {
        const char16_t c = Text[i];
        int digit;
        if (c >= u'0' && c <= u'9')
            digit = c - u'0';
        else if (c >= u'A' && c <= u'F')
            digit = c - u'A' + 10;
        else if (c >= u'a' && c <= u'f')
            digit = c - u'a' + 10;
        else
            return 0;
        value = value * 16 + uint64_t(digit);
    }
    return value;
}

} // namespace

void RegisterSGObject(const UnicodeString& Category, const TClassInfo& AClass) {
    if (!ObjectList)
        ObjectList = new TStringList();
    ObjectList->InsertObject(0, Category, const_cast<void*>(static_cast<const void*>(&AClass)));
    ObjectList->Sort();
}

void RegisterSGObjects(const UnicodeString& Category,
                       std::initializer_list<const TClassInfo*> Classes) {
    for (const TClassInfo* info : Classes) {
        RegisterSGObject(Category, *info);
        RegisterClass(*info);
    }
}

int AddResource(TsgObject* AObject) {
    if (!ResourceList) {
        ResourceList = new std::vector<TsgObject*>();
        ResourceList->reserve(100);
    }
    auto it = std::find(ResourceList->begin(), ResourceList->end(), AObject);
    if (it != ResourceList->end())
        return int(it - ResourceList->begin());
    ResourceList->push_back(AObject);
    return int(ResourceList->size()) - 1;
}

void RemoveResource(TsgObject* AObject) {
    if (!ResourceList)
        return;
    auto it = std::find(ResourceList->begin(), ResourceList->end(), AObject);
    if (it != ResourceList->end())
        ResourceList->erase(it);
}

TsgObject* FindResource(const UnicodeString& AResource) {
    if (!ResourceList)
        return nullptr;
    for (auto it = ResourceList->rbegin(); it != ResourceList->rend(); ++it)
        if ((*it)->Stored() && SameText((*it)->ResourceName(), AResource))
            return *it;
    return nullptr;
}

int ResourceCount() {
    return ResourceList ? int(ResourceList->size()) : 0;
}

void AddScene(IsgScene* Scene) {
    if (!SceneList)
        SceneList = new std::vector<IsgScene*>();
    if (std::find(SceneList->begin(), SceneList->end(), Scene) == SceneList->end())
        SceneList->push_back(Scene);
}

void RemoveScene(IsgScene* Scene) {
    if (SceneList)
        SceneList->erase(std::remove(SceneList->begin(), SceneList->end(), Scene),
                         SceneList->end());
}

int SceneCount() {
    return SceneList ? int(SceneList->size()) : 0;
}

IsgScene* FindSceneByOwner(TComponent* AOwner) {
    if (!SceneList)
        return nullptr;
    for (IsgScene* scene : *SceneList) {
        TComponent* host = scene->GetComponent();
        if (host && host->Owner() == AOwner)
            return scene;
    }
    return nullptr;
}

TsgVariant ObjectToVariant(TObject* AObject) {
    return kObjectPrefix + UnicodeString(std::to_string(reinterpret_cast<uintptr_t>(AObject)));
}

bool VarIsObject(const TsgVariant& V) {
    return StartsWith(V, kObjectPrefix);
}

TObject* VariantToObject(const TsgVariant& V) {
    if (!StartsWith(V, kObjectPrefix))
        return nullptr;
    // The whole rest of the text: a 64-bit reference needs up to twenty digits.
    const UnicodeString digits = V.SubString(kObjectPrefix.Length() + 1, V.Length());
    if (digits.IsEmpty())
        throw EConvertError(AnsiString("'") + AnsiString(V) + "' is not a valid integer value");
    uint64_t value = 0;
    for (int i = 1; i <= digits.Length(); ++i) {
        const char16_t c = digits[i];
        if (c < u'0' || c > u'9' || value > (UINT64_MAX - 9) / 10)
            throw EConvertError(AnsiString("'") + AnsiString(V) + "' is not a valid integer value");
        value = value * 10 + uint64_t(c - u'0');
    }
    return reinterpret_cast<TObject*>(static_cast<uintptr_t>(value));
}

TsgVariant EventToVariant(const TMethod& AEvent) {
    return kEventPrefix + IntToHex(reinterpret_cast<uintptr_t>(AEvent.Data), kPointerHexDigits) +
           IntToHex(reinterpret_cast<uintptr_t>(AEvent.Code), kPointerHexDigits);
}

bool VarIsEvent(const TsgVariant& V) {
    return StartsWith(V, kEventPrefix);
}

TMethod VariantToEvent(const TsgVariant& V) {
    TMethod m;
    if (!StartsWith(V, kEventPrefix))
        return m;
    const int start = kEventPrefix.Length() + 1;
    m.Data = reinterpret_cast<void*>(
        static_cast<uintptr_t>(HexValue(V.SubString(start, kPointerHexDigits))));
    m.Code = reinterpret_cast<void*>(static_cast<uintptr_t>(
        HexValue(V.SubString(start + kPointerHexDigits, kPointerHexDigits))));
    return m;
}

void FinalizeSceneRegistries() {
    delete ObjectList;
    ObjectList = nullptr;
    delete ResourceList;
    ResourceList = nullptr;
    delete SceneList;
    SceneList = nullptr;
}
