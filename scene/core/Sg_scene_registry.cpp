#include "scene/core/Sg_scene_registry.h"

#include "scene/core/Sg_scene_iscene.h"

#include "platform/rtl/Conversions.h"
#include "platform/rtl/StringUtils.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <unordered_map>
#include <vector>

TStringList* ObjectList = nullptr;

namespace {

// Every live node in the order built; a removed node leaves an empty slot until the slots
// are compacted, so building and destroying a node costs the same with a million of them.
// Stored nodes with a ResourceName are also kept by that name in upper case, newest last, so
// that looking a style up by name does not walk every node.
struct TResourceList {
    struct TEntry {
        size_t Slot;
        uint64_t Built;
        UnicodeString Key;
    };
    std::vector<TsgObject*> Order;
    std::unordered_map<TsgObject*, TEntry> Entries;
    std::unordered_map<UnicodeString, std::map<uint64_t, TsgObject*>> Named;
    uint64_t Built = 0;

    void Compact() {
        size_t kept = 0;
        for (TsgObject* o : Order)
            if (o) {
                Entries[o].Slot = kept;
                Order[kept++] = o;
            }
        Order.resize(kept);
    }

    void Unname(TEntry& Entry) {
        if (Entry.Key.IsEmpty())
            return;
        if (auto at = Named.find(Entry.Key); at != Named.end()) {
            at->second.erase(Entry.Built);
            if (at->second.empty())
                Named.erase(at);
        }
        Entry.Key = UnicodeString();
    }

    void Rename(TsgObject* AObject, TEntry& Entry) {
        Unname(Entry);
        if (!AObject->Stored() || AObject->ResourceName().IsEmpty())
            return;
        Entry.Key = AObject->ResourceName().UpperCase();
        Named[Entry.Key].emplace(Entry.Built, AObject);
    }
};

TResourceList* ResourceList = nullptr;
std::vector<IsgScene*>* SceneList = nullptr;

const UnicodeString kObjectPrefix = u"sgobj";
const UnicodeString kEventPrefix = u"sgmet";
constexpr int kPointerHexDigits = int(sizeof(void*) * 2);

bool StartsWith(const UnicodeString& Text, const UnicodeString& Prefix) {
    return Text.Length() >= Prefix.Length() && Text.SubString(1, Prefix.Length()) == Prefix;
}

bool HexValue(const UnicodeString& Text, uint64_t& value) {
    value = 0;
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
            return false;
        value = value * 16 + uint64_t(digit);
    }
    return true;
}

[[noreturn]] void RefuseText(const TsgVariant& V, const char* Why) {
    throw EConvertError(AnsiString("'") + AnsiString(V) + "' " + Why);
}

// The live objects a text may name: every node of the resource list, every registered scene,
// the owner of each scene's host and what that owner owns (a window's timers and style
// containers). A number that is none of them is refused before it is ever used as a pointer.
TComponent* FindLiveComponent(uintptr_t Address) {
    auto matches = [Address](TComponent* c) {
        return c && reinterpret_cast<uintptr_t>(static_cast<void*>(c)) == Address;
    };
    if (ResourceList)
        for (TsgObject* o : ResourceList->Order)
            if (matches(o))
                return o;
    if (SceneList)
        for (IsgScene* scene : *SceneList) {
            TComponent* host = scene->GetComponent();
            if (matches(host))
                return host;
            TComponent* owner = host ? host->Owner() : nullptr;
            if (matches(owner))
                return owner;
            for (int i = 0; owner && i < owner->ComponentCount(); ++i)
                if (matches(owner->Components(i)))
                    return owner->Components(i);
        }
    return nullptr;
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
    if (!ResourceList)
        ResourceList = new TResourceList();
    const auto [at, added] = ResourceList->Entries.try_emplace(
        AObject, TResourceList::TEntry{ResourceList->Order.size(), ResourceList->Built, {}});
    if (added) {
        ++ResourceList->Built;
        ResourceList->Order.push_back(AObject);
        ResourceList->Rename(AObject, at->second);
    }
    return int(at->second.Slot);
}

void RemoveResource(TsgObject* AObject) {
    if (!ResourceList)
        return;
    const auto at = ResourceList->Entries.find(AObject);
    if (at == ResourceList->Entries.end())
        return;
    ResourceList->Unname(at->second);
    ResourceList->Order[at->second.Slot] = nullptr;
    ResourceList->Entries.erase(at);
    // Compacted once half the slots are empty, so the work per removal stays constant.
    if (ResourceList->Order.size() > 64 &&
        ResourceList->Entries.size() * 2 < ResourceList->Order.size())
        ResourceList->Compact();
}

void ResourceNameChanged(TsgObject* AObject) {
    if (!ResourceList)
        return;
    if (const auto at = ResourceList->Entries.find(AObject); at != ResourceList->Entries.end())
        ResourceList->Rename(AObject, at->second);
}

TsgObject* FindResource(const UnicodeString& AResource) {
    if (!ResourceList)
        return nullptr;
    if (AResource.IsEmpty()) {
        const auto& order = ResourceList->Order;
        for (auto it = order.rbegin(); it != order.rend(); ++it)
            if (*it && (*it)->Stored() && (*it)->ResourceName().IsEmpty())
                return *it;
        return nullptr;
    }
    const auto at = ResourceList->Named.find(AResource.UpperCase());
    return at == ResourceList->Named.end() ? nullptr : at->second.rbegin()->second;
}

int ResourceCount() {
    return ResourceList ? int(ResourceList->Entries.size()) : 0;
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
    if (value == 0)
        return nullptr;
    TComponent* live = FindLiveComponent(static_cast<uintptr_t>(value));
    if (!live)
        RefuseText(V, "does not name a live object");
    return live;
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
    if (V.Length() != start - 1 + 2 * kPointerHexDigits)
        RefuseText(V, "is not a valid method text");
    uint64_t data = 0;
    uint64_t code = 0;
    if (!HexValue(V.SubString(start, kPointerHexDigits), data) ||
        !HexValue(V.SubString(start + kPointerHexDigits, kPointerHexDigits), code))
        RefuseText(V, "is not a valid method text");
    if (data == 0 && code == 0)
        return m;
    // Only a method published by the live object's class may come back: any other address
    // would be called blindly.
    TComponent* object = FindLiveComponent(static_cast<uintptr_t>(data));
    const void* entry = reinterpret_cast<const void*>(static_cast<uintptr_t>(code));
    if (!object || !object->ClassInfo().FindMethodByCode(entry))
        RefuseText(V, "does not name a published method of a live object");
    m.Data = static_cast<void*>(object);
    m.Code = const_cast<void*>(entry);
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
