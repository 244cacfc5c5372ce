#include "platform/classes/Reader.h"

#include "platform/classes/Collection.h"
#include "platform/classes/Component.h"
#include "platform/rtl/MemoryStream.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

bool SameName(const AnsiString& a, const AnsiString& b) {
    return a.Length() == b.Length() && a.UpperCase() == b.UpperCase();
}

std::vector<TFindGlobalComponent>& GlobalFinders() {
    static std::vector<TFindGlobalComponent> finders;
    return finders;
}

// Whether a value with this tag can be read as a property of this kind.
bool Accepts(const TPropInfo& prop, TValueType type) {
    bool integer = type == vaInt8 || type == vaInt16 || type == vaInt32 || type == vaInt64;
    switch (prop.Kind) {
    case TPropertyKind::Integer:
        return integer || (type == vaIdent && !prop.Idents.empty());
    case TPropertyKind::Int64:
        return integer;
    case TPropertyKind::Boolean:
        return type == vaTrue || type == vaFalse;
    case TPropertyKind::Enumeration:
        return type == vaIdent || type == vaTrue || type == vaFalse || type == vaNil;
    case TPropertyKind::Set:
        return type == vaSet;
    case TPropertyKind::Float:
        return integer || type == vaExtended || type == vaSingle || type == vaDouble ||
               type == vaDate || type == vaCurrency;
    case TPropertyKind::String:
    case TPropertyKind::WString:
        return type == vaString || type == vaLString || type == vaWString || type == vaUTF8String;
    case TPropertyKind::Method:
        return type == vaIdent || type == vaNil;
    case TPropertyKind::Class:
        return true; // decided by the value and the property's class below
    }
    return false;
}

} // namespace

// Watches every component the reader creates, so that pending fix-ups and Loaded calls never
// reach a component that was freed while the stream was still being read.
class TReaderWatch : public TComponent {
public:
    TReaderWatch(std::vector<TComponent*>& loaded, std::function<void(TComponent*)> onGone)
        : TComponent(nullptr), loaded_(loaded), onGone_(std::move(onGone)) {}

protected:
    void Notification(TComponent* component, TOperation operation) override {
        TComponent::Notification(component, operation);
        if (operation != opRemove)
            return;
        loaded_.erase(std::remove(loaded_.begin(), loaded_.end(), component), loaded_.end());
        onGone_(component);
    }

private:
    std::vector<TComponent*>& loaded_;
    std::function<void(TComponent*)> onGone_;
};

TReader::TReader(TStream& stream) : TFiler(stream), size_(stream.Size()) {}

TReader::~TReader() = default;

void TReader::DefineProperty(const AnsiString& name, const TReaderProc& readData,
                             const TWriterProc&, bool) {
    if (propertyFound_ || !readData || !SameName(name, propName_))
        return;
    propertyFound_ = true;
    readData(*this);
}

void TReader::DefineBinaryProperty(const AnsiString& name, const TStreamProc& readData,
                                   const TStreamProc&, bool) {
    if (propertyFound_ || !readData || !SameName(name, propName_))
        return;
    propertyFound_ = true;
    TBytesStream block(ReadBinary());
    readData(block);
}

TComponent* TReader::ReadRootComponent(TComponent* root) {
    ReadSignature();
    uint8_t flags;
    int childPos;
    ReadPrefix(flags, childPos);
    AnsiString className = ReadStr();
    bool created = false;
    if (!root) {
        const TClassInfo* cls = nullptr;
        if (OnFindComponentClass)
            OnFindComponentClass(*this, className, cls);
        if (!cls)
            cls = GetClass(className);
        if (!cls || !cls->CreateComponent)
            throw EClassNotFound(AnsiString("Class ") + className + " not found");
        root = cls->CreateComponent(nullptr);
        created = true;
    }
    root_ = lookupRoot_ = owner_ = root;
    parent_ = nullptr;
    watch_.reset(new TReaderWatch(loaded_, [this](TComponent* gone) {
        fixups_.erase(std::remove_if(fixups_.begin(), fixups_.end(),
                                     [gone](const Fixup& f) {
                                         return f.context == gone || f.instance == gone;
                                     }),
                      fixups_.end());
    }));
    try {
        AnsiString name = ReadStr();
        root->SetStateFlags(csLoading | csReading);
        loaded_.push_back(root);
        watch_->FreeNotification(root);
        ApplyName(root, name);
        root->ReadState(*this);
        root->ClearStateFlags(csReading);
        FixupReferences();
        // Loaded may create or free components; walk a copy, skipping the ones that went.
        while (!loaded_.empty()) {
            TComponent* c = loaded_.front();
            loaded_.erase(loaded_.begin());
            c->ClearStateFlags(csReading);
            c->Loaded();
            c->ClearStateFlags(csLoading);
        }
    } catch (...) {
        for (TComponent* c : loaded_)
            c->ClearStateFlags(csLoading | csReading);
        loaded_.clear();
        fixups_.clear();
        watch_.reset();
        if (created)
            delete root;
        throw;
    }
    watch_.reset();
    return root;
}

void TReader::ApplyName(TComponent* component, AnsiString& name) {
    if (OnSetName)
        OnSetName(*this, component, name);
    if (name != component->Name()) {
        try {
            component->SetName(name);
        } catch (const Exception& e) {
            if (!Error(AnsiString(e.Message())))
                throw;
        }
    }
}

TComponent* TReader::ReadComponent() {
    DepthGuard guard(*this);
    uint8_t flags;
    int childPos;
    ReadPrefix(flags, childPos);
    AnsiString className = ReadStr();
    AnsiString name = ReadStr();
    TComponent* component = nullptr;
    if ((flags & (ffInherited | ffInline)) && owner_)
        component = owner_->FindComponent(name);
    bool created = false;
    if (!component) {
        const TClassInfo* cls = nullptr;
        if (OnFindComponentClass)
            OnFindComponentClass(*this, className, cls);
        if (!cls)
            cls = GetClass(className);
        if (!cls || !cls->CreateComponent) {
            AnsiString message = AnsiString("Class ") + className + " not found";
            if (!Error(message))
                throw EClassNotFound(message);
            SkipComponentBody();
            return nullptr;
        }
        component = cls->CreateComponent(owner_);
        created = true;
    }
    try {
        component->SetStateFlags(csLoading | csReading);
        if (std::find(loaded_.begin(), loaded_.end(), component) == loaded_.end())
            loaded_.push_back(component);
        if (watch_)
            watch_->FreeNotification(component);
        ApplyName(component, name);
        if (created && parent_)
            component->SetParentComponent(parent_);
        if ((flags & ffChildPos) && parent_)
            parent_->SetChildOrder(component, childPos);
        component->ReadState(*this);
        component->ClearStateFlags(csReading);
    } catch (...) {
        if (created)
            component->Free();
        throw;
    }
    return component;
}

void TReader::ReadData(TComponent* instance) {
    DepthGuard guard(*this);
    TComponent* savedCurrent = current_;
    TComponent* savedOwner = owner_;
    TComponent* savedParent = parent_;
    current_ = instance;
    try {
        while (!EndOfList())
            ReadProperty(instance);
        ReadListEnd();
        owner_ = instance->GetChildOwner();
        if (!owner_)
            owner_ = root_;
        parent_ = instance->GetChildParent();
        while (!EndOfList())
            ReadComponent();
        ReadListEnd();
    } catch (...) {
        current_ = savedCurrent;
        owner_ = savedOwner;
        parent_ = savedParent;
        throw;
    }
    current_ = savedCurrent;
    owner_ = savedOwner;
    parent_ = savedParent;
}

void TReader::ReadProperty(TPersistent* instance) {
    AnsiString fullName = ReadStr();
    TPersistent* target = instance;
    const std::string& s = fullName.str();
    size_t start = 0;
    bool pathOk = true;
    for (size_t dot = s.find('.'); dot != std::string::npos; dot = s.find('.', start)) {
        AnsiString part(s.substr(start, dot - start));
        start = dot + 1;
        const TPropInfo* prop = target->ClassInfo().FindProperty(part);
        TPersistent* sub = (prop && prop->Kind == TPropertyKind::Class && prop->GetObject)
                               ? prop->GetObject(*target)
                               : nullptr;
        // A component is walked into only when it is a read-only part the object owns (the
        // writer's dotted names); a reference is never written through.
        auto* component = dynamic_cast<TComponent*>(sub);
        const bool ownedPart = component && !prop->SetObject && component->Owner() &&
                               static_cast<TPersistent*>(component->Owner()) == target;
        if (!sub || (component && !ownedPart)) {
            pathOk = false;
            break;
        }
        target = sub;
    }
    if (pathOk) {
        AnsiString last(s.substr(start));
        const TPropInfo* prop = target->ClassInfo().FindProperty(last);
        if (prop && (prop->IsWritable() || prop->Kind == TPropertyKind::Class)) {
            ReadPropValue(target, *prop);
            return;
        }
        AnsiString savedName = propName_;
        bool savedFound = propertyFound_;
        propName_ = last;
        propertyFound_ = false;
        target->DefineProperties(*this);
        bool found = propertyFound_;
        propName_ = savedName;
        propertyFound_ = savedFound;
        if (found)
            return;
    }
    bool handled = false;
    if (OnPropertyNotFound)
        OnPropertyNotFound(*this, instance, fullName, handled);
    if (handled)
        return;
    AnsiString message = AnsiString("Error reading ") + instance->ClassName() + "." + fullName +
                         ": Property " + fullName + " does not exist";
    if (!Error(message))
        throw EReadError(message);
    SkipValue();
}

void TReader::ReadPropValue(TPersistent* instance, const TPropInfo& prop) {
    auto invalid = [&](const AnsiString& detail) {
        AnsiString message =
            AnsiString("Error reading ") + instance->ClassName() + "." + prop.Name + ": " + detail;
        if (!Error(message))
            throw EReadError(message);
    };
    auto apply = [&](const std::function<void()>& set) {
        try {
            set();
        } catch (const EReadError&) {
            throw;
        } catch (const Exception& e) {
            invalid(AnsiString(e.Message()));
        }
    };
    if (!Accepts(prop, NextValue())) {
        invalid("Invalid property value");
        SkipValue();
        return;
    }
    switch (prop.Kind) {
    case TPropertyKind::Integer:
    case TPropertyKind::Int64: {
        if (NextValue() == vaIdent) {
            int32_t named = 0;
            if (!IdentToInt(ReadIdent(), named, prop.Idents))
                return invalid("Invalid property value");
            apply([&] { prop.SetOrd(*instance, named); });
            return;
        }
        int64_t v = ReadInt64();
        if (prop.Kind == TPropertyKind::Integer &&
            (v < std::numeric_limits<int32_t>::min() || v > std::numeric_limits<int32_t>::max()))
            return invalid("Invalid property value");
        apply([&] { prop.SetOrd(*instance, v); });
        return;
    }
    case TPropertyKind::Boolean: {
        bool v = ReadBoolean();
        apply([&] { prop.SetOrd(*instance, v ? 1 : 0); });
        return;
    }
    case TPropertyKind::Enumeration: {
        int index = prop.ElementIndex(ReadIdent());
        if (index < 0)
            return invalid("Invalid property value");
        apply([&] { prop.SetOrd(*instance, index); });
        return;
    }
    case TPropertyKind::Set: {
        int64_t mask = 0;
        for (const AnsiString& e : ReadSet()) {
            int index = prop.ElementIndex(e);
            if (index < 0 || index >= 64)
                return invalid(AnsiString("Invalid property value: ") + e +
                               " is not an element of the set");
            mask |= int64_t(1) << index;
        }
        apply([&] { prop.SetOrd(*instance, mask); });
        return;
    }
    case TPropertyKind::Float: {
        double v = ReadFloat();
        // The text form cannot spell these, so a binary stream that holds them is damaged; a
        // single-precision property also refuses what it would turn into infinity.
        if (!std::isfinite(v) || (prop.ValueType && *prop.ValueType == typeid(float) &&
                                  std::fabs(v) > std::numeric_limits<float>::max()))
            return invalid("Invalid property value");
        apply([&] { prop.SetFloat(*instance, v); });
        return;
    }
    case TPropertyKind::String:
    case TPropertyKind::WString: {
        UnicodeString v = ReadString();
        apply([&] { prop.SetStr(*instance, v); });
        return;
    }
    case TPropertyKind::Method: {
        if (NextValue() == vaNil) {
            ReadValue();
            apply([&] { prop.SetMethod(*instance, TMethod{}); });
            return;
        }
        AnsiString name = ReadIdent();
        TMethod method;
        if (OnFindMethod)
            OnFindMethod(*this, name, method);
        if (!method.IsAssigned() && root_) {
            const TMethodEntry* entry = root_->ClassInfo().FindMethod(name);
            if (!entry)
                return invalid(AnsiString("Method ") + name + " not found");
            if (!prop.EventType || *entry->Signature != *prop.EventType)
                return invalid(AnsiString("Method ") + name + " does not fit the event");
            method = TMethod{entry->Code, static_cast<void*>(root_)};
        }
        if (!method.IsAssigned())
            return invalid(AnsiString("Method ") + name + " not found");
        apply([&] { prop.SetMethod(*instance, method); });
        return;
    }
    case TPropertyKind::Class: {
        TValueType next = NextValue();
        bool isReference = prop.ObjectClass() && prop.ObjectClass()->IsComponentClass();
        if (next == vaCollection && !isReference && prop.GetObject) {
            auto* collection = dynamic_cast<TCollection*>(prop.GetObject(*instance));
            if (collection) {
                ReadValue();
                ReadCollection(collection);
                return;
            }
        }
        if (next == vaNil && prop.SetObject) {
            ReadValue();
            if (isReference)
                apply([&] { prop.SetObject(*instance, nullptr); });
            return;
        }
        if (next == vaIdent && isReference && prop.SetObject) {
            AnsiString name = ReadIdent();
            fixups_.push_back({instance, &prop, name, current_});
            return;
        }
        invalid("Invalid property value");
        SkipValue();
        return;
    }
    }
}

void TReader::ReadCollection(TCollection* collection) {
    DepthGuard guard(*this);
    collection->BeginUpdate();
    try {
        collection->Clear();
        while (!EndOfList()) {
            TValueType next = NextValue();
            if (next == vaInt8 || next == vaInt16 || next == vaInt32 || next == vaInt64)
                ReadInt64(); // the item's order in an ancestor; items here are read in order
            ReadListBegin();
            TCollectionItem* item = collection->Add();
            while (!EndOfList())
                ReadProperty(item);
            ReadListEnd();
        }
        ReadListEnd();
    } catch (...) {
        collection->EndUpdate();
        throw;
    }
    collection->EndUpdate();
}

TComponent* TReader::ResolveReference(const AnsiString& name) {
    if (!root_)
        return nullptr;
    if (SameName(name, "Owner"))
        return root_;
    int dot = name.Pos(".");
    if (dot == 0) {
        if (TComponent* c = root_->FindComponent(name))
            return c;
        return SameName(name, root_->Name()) ? root_ : nullptr;
    }
    AnsiString first = name.SubString(1, dot - 1);
    AnsiString rest = name.SubString(dot + 1, name.Length() - dot);
    TComponent* holder = SameName(first, root_->Name()) ? root_ : FindGlobalComponent(first);
    if (!holder)
        return nullptr;
    if (SameName(rest, "Owner"))
        return holder;
    return holder->FindComponent(rest);
}

void TReader::FixupReferences() {
    while (!fixups_.empty()) {
        Fixup f = fixups_.front();
        fixups_.erase(fixups_.begin());
        AnsiString name = f.name;
        if (OnReferenceName)
            OnReferenceName(*this, name);
        TComponent* target = ResolveReference(name);
        if (!target)
            continue; // stays nil: the stream names a component that is not there
        if (!target->ClassInfo().InheritsFrom(*f.prop->ObjectClass())) {
            AnsiString message = AnsiString("Error reading ") + f.instance->ClassName() + "." +
                                 f.prop->Name + ": Invalid property value";
            if (!Error(message))
                throw EReadError(message);
            continue;
        }
        try {
            f.prop->SetObject(*f.instance, target);
        } catch (const Exception& e) {
            if (!Error(AnsiString(e.Message())))
                throw;
        }
    }
}

void RegisterFindGlobalComponentProc(TFindGlobalComponent proc) {
    GlobalFinders().push_back(std::move(proc));
}

void UnregisterFindGlobalComponentProcs() {
    GlobalFinders().clear();
}

TComponent* FindGlobalComponent(const AnsiString& name) {
    for (const auto& finder : GlobalFinders())
        if (TComponent* c = finder(name))
            return c;
    return nullptr;
}
