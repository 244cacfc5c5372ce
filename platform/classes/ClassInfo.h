// Run-time class information of persistent classes: the class name, the parent, how to make an
// instance, the table of published properties and the table of published methods.
//
// Every persistent class declares itself with DBI_PERSISTENT(Class, Parent) at the top of its body
// and defines its table once, in its source file, with DBI_PUBLISH(Class) { ... }. The first
// macro makes the class's virtual ClassInfo() refer to a function only the second one defines, so
// a class that declares itself but forgets its table does not link; a class that forgets both is
// caught by CheckClassInfo, which the stream writer and the registry run on every instance they
// handle. DBI_PUBLISH also registers the class by name when the program starts.
//
// Properties are listed inherited first, each class's own in declaration order; a class may
// publish a property again to change its default, which keeps the inherited position.
#pragma once

#include "platform/classes/Closure.h"
#include "platform/classes/IdentMap.h"
#include "platform/rtl/UnicodeString.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <typeinfo>
#include <vector>

class TObject;
class TPersistent;
class TComponent;
class TCollection;
class TCollectionItem;
class TClassInfo;

enum class TPropertyKind {
    Integer,     // 32-bit signed
    Int64,       // 64-bit signed
    Enumeration, // ordinal with names, streamed as an identifier
    Set,         // bit set over named elements (at most 32), streamed as a set
    Boolean,     // streamed as True / False
    Float,       // double in memory, extended in the stream
    String,      // AnsiString (UTF-8)
    WString,     // UnicodeString (UTF-16)
    Class,       // a component reference, or an owned persistent sub-object
    Method,      // an event handler (TClosure)
};

struct TPropInfo {
    AnsiString Name;
    TPropertyKind Kind = TPropertyKind::Integer;
    const TClassInfo* Declarer = nullptr;

    std::function<int64_t(TPersistent&)> GetOrd; // Integer, Int64, Enumeration, Set, Boolean
    std::function<void(TPersistent&, int64_t)> SetOrd;
    std::function<double(TPersistent&)> GetFloat;
    std::function<void(TPersistent&, double)> SetFloat;
    std::function<UnicodeString(TPersistent&)> GetStr; // String, WString
    std::function<void(TPersistent&, const UnicodeString&)> SetStr;
    std::function<TPersistent*(TPersistent&)> GetObject;
    std::function<void(TPersistent&, TPersistent*)> SetObject;
    std::function<TMethod(TPersistent&)> GetMethod;
    std::function<void(TPersistent&, const TMethod&)> SetMethod;

    // Ordinals equal to their default are not written; without a default they always are.
    std::optional<int64_t> OrdDefault;
    // Floats equal to this are not written; without a default they always are.
    std::optional<double> FloatDefault = 0.0;
    // A stored test of the property's own; none means stored.
    std::function<bool(TPersistent&)> StoredTest;

    std::vector<AnsiString> ElementNames; // Enumeration values / Set elements by ordinal
    // Integer: names some values are streamed by (colours, cursors, character sets).
    TIdentMap Idents;
    // Class: the declared class of the value. A function, since a class may publish a
    // reference to its own kind while its class information is still being built.
    const TClassInfo& (*ObjectClassOf)() = nullptr;
    const std::type_info* EventType = nullptr; // Method: the closure's signature
    const std::type_info* ValueType = nullptr; // the C++ type of the getter's result

    const TClassInfo* ObjectClass() const { return ObjectClassOf ? &ObjectClassOf() : nullptr; }
    bool IsWritable() const;
    bool IsStored(TPersistent& instance) const;
    // Index of an enumeration or set element name (case-insensitive), -1 when unknown.
    int ElementIndex(const AnsiString& name) const;

    // Chainable refinements for table declarations.
    TPropInfo& Stored(std::function<bool(TPersistent&)> test) {
        StoredTest = std::move(test);
        return *this;
    }
    TPropInfo& IdentMap(TIdentMap map) {
        Idents = map;
        return *this;
    }
    TPropInfo& NoDefault() {
        OrdDefault.reset();
        FloatDefault.reset();
        return *this;
    }
};

// A method published by name, so streams can name event handlers.
struct TMethodEntry {
    AnsiString Name;
    void* Code = nullptr;
    const std::type_info* Signature = nullptr;
};

// A field of a class that holds an owned component by the component's name (a window's
// fields for its controls): set when a component of that name joins the owner or takes the
// name, cleared when it leaves or is renamed.
struct TFieldEntry {
    AnsiString Name;
    std::function<void(TPersistent& owner, TComponent* value)> Set;
};

class TClassInfo {
public:
    using PublishFunction = void (*)(TClassInfo&);

    TClassInfo(const char* className, const TClassInfo* parent, const std::type_info& type);

    const AnsiString& ClassName() const { return className_; }
    const TClassInfo* Parent() const { return parent_; }
    const std::type_info& Type() const { return *type_; }
    bool InheritsFrom(const TClassInfo& other) const;

    // Every published property, inherited first.
    const std::vector<const TPropInfo*>& Properties() const { return properties_; }
    // Case-insensitive lookup among all published properties; nullptr when absent.
    const TPropInfo* FindProperty(const AnsiString& name) const;

    const TMethodEntry* FindMethod(const AnsiString& name) const;
    const TMethodEntry* FindMethodByCode(const void* code) const;
    // Fields of this class and its parents, case-insensitive; nullptr when absent.
    const TFieldEntry* FindField(const AnsiString& name) const;

    // Factories; empty for abstract classes and for classes that need other arguments.
    std::function<TComponent*(TComponent* owner)> CreateComponent;
    std::function<TCollectionItem*(TCollection* collection)> CreateItem;
    std::function<TPersistent*()> CreatePersistent;
    bool IsComponentClass() const;

    // Used by TPublisher while the table is declared.
    TPropInfo& AddProperty(TPropInfo info);
    void AddMethod(TMethodEntry entry) { methods_.push_back(std::move(entry)); }
    void AddField(TFieldEntry entry) { fields_.push_back(std::move(entry)); }
    void Seal();

private:
    AnsiString className_;
    const TClassInfo* parent_;
    const std::type_info* type_;
    std::vector<std::unique_ptr<TPropInfo>> own_;
    std::vector<const TPropInfo*> properties_;
    std::vector<TMethodEntry> methods_;
    std::vector<TFieldEntry> fields_;
};

// Raises EInvalidOperation when the dynamic type of obj did not declare its own class information.
void CheckClassInfo(const TObject& obj);

// Declarative property tables: DBI_PUBLISH(Class) { p.Integer(...); p.Boolean(...); ... }.
// Getters and setters are member functions (or any callable taking the instance); a null setter
// makes a read-only property, which streams only when it is an owned sub-object.
template <class T>
class TPublisher {
public:
    explicit TPublisher(TClassInfo& info) : info_(info) {}

    template <class G, class S>
    TPropInfo& Integer(const char* name, G get, S set, std::optional<int64_t> def = std::nullopt) {
        return Ordinal(name, TPropertyKind::Integer, get, set, def);
    }
    template <class G, class S>
    TPropInfo& Int64(const char* name, G get, S set, std::optional<int64_t> def = std::nullopt) {
        return Ordinal(name, TPropertyKind::Int64, get, set, def);
    }
    template <class G, class S>
    TPropInfo& Boolean(const char* name, G get, S set, std::optional<bool> def = false) {
        std::optional<int64_t> d;
        if (def)
            d = *def ? 1 : 0;
        return Ordinal(name, TPropertyKind::Boolean, get, set, d);
    }
    template <class G, class S>
    TPropInfo& Enumeration(const char* name, G get, S set, std::vector<AnsiString> names,
                           std::optional<int64_t> def) {
        TPropInfo& p = Ordinal(name, TPropertyKind::Enumeration, get, set, def);
        p.ElementNames = std::move(names);
        return p;
    }
    // A set over named elements; the value is a bit mask, bit i for element i.
    template <class G, class S>
    TPropInfo& Set(const char* name, G get, S set, std::vector<AnsiString> names, int64_t def = 0) {
        TPropInfo& p = Ordinal(name, TPropertyKind::Set, get, set, def);
        p.ElementNames = std::move(names);
        return p;
    }
    template <class G, class S>
    TPropInfo& Float(const char* name, G get, S set, double def = 0) {
        using V = std::decay_t<std::invoke_result_t<G, T&>>;
        TPropInfo p = Base<V>(name, TPropertyKind::Float);
        p.FloatDefault = def;
        p.GetFloat = [get](TPersistent& o) { return double(std::invoke(get, Self(o))); };
        if constexpr (!std::is_same_v<S, std::nullptr_t>)
            p.SetFloat = [set](TPersistent& o, double v) { std::invoke(set, Self(o), V(v)); };
        return info_.AddProperty(std::move(p));
    }
    // AnsiString properties are String, UnicodeString ones WString.
    template <class G, class S>
    TPropInfo& String(const char* name, G get, S set) {
        using V = std::decay_t<std::invoke_result_t<G, T&>>;
        static_assert(std::is_same_v<V, AnsiString> || std::is_same_v<V, UnicodeString>);
        TPropInfo p = Base<V>(name, std::is_same_v<V, AnsiString> ? TPropertyKind::String
                                                                  : TPropertyKind::WString);
        p.GetStr = [get](TPersistent& o) { return UnicodeString(std::invoke(get, Self(o))); };
        if constexpr (!std::is_same_v<S, std::nullptr_t>)
            p.SetStr = [set](TPersistent& o, const UnicodeString& v) {
                std::invoke(set, Self(o), V(v));
            };
        return info_.AddProperty(std::move(p));
    }
    // A property whose value is an object: a reference when the class is a component, otherwise
    // an owned sub-object whose own properties are streamed under dotted names.
    template <class G, class S>
    TPropInfo& Object(const char* name, G get, S set) {
        using P = std::invoke_result_t<G, T&>;
        using V = std::remove_cv_t<std::remove_pointer_t<P>>;
        TPropInfo p = Base<V*>(name, TPropertyKind::Class);
        p.ObjectClassOf = &V::StaticClassInfo;
        p.GetObject = [get](TPersistent& o) -> TPersistent* { return std::invoke(get, Self(o)); };
        if constexpr (!std::is_same_v<S, std::nullptr_t>)
            p.SetObject = [set](TPersistent& o, TPersistent* v) {
                V* typed = v ? dynamic_cast<V*>(v) : nullptr;
                if (v && !typed)
                    ThrowClassMismatch(v);
                std::invoke(set, Self(o), typed);
            };
        return info_.AddProperty(std::move(p));
    }
    template <class G, class S>
    TPropInfo& Event(const char* name, G get, S set) {
        using V = std::decay_t<std::invoke_result_t<G, T&>>;
        TPropInfo p = Base<V>(name, TPropertyKind::Method);
        p.EventType = &typeid(V);
        p.GetMethod = [get](TPersistent& o) { return std::invoke(get, Self(o)).AsMethod(); };
        if constexpr (!std::is_same_v<S, std::nullptr_t>)
            p.SetMethod = [set](TPersistent& o, const TMethod& m) {
                std::invoke(set, Self(o), V::FromMethod(m));
            };
        return info_.AddProperty(std::move(p));
    }
    // Publishes method M under a name, so a stream may name it as an event handler.
    template <auto M>
    void Method(const char* name) {
        using Traits = TMemberSignature<decltype(M)>;
        using Closure = TClosure<typename Traits::Signature>;
        info_.AddMethod(
            {name, reinterpret_cast<void*>(&Closure::template Call<M, typename Traits::Class>),
             &typeid(Closure)});
    }

    // Publishes the component field F under a name: the component of that name the instance
    // owns is kept in it. A component of another class leaves the field empty.
    template <auto F>
    void Field(const char* name) {
        info_.AddField({name, [](TPersistent& o, TComponent* value) {
                            using P = std::remove_reference_t<decltype(Self(o).*F)>;
                            using V = std::remove_pointer_t<P>;
                            Self(o).*F = dynamic_cast<V*>(value);
                        }});
    }

private:
    static T& Self(TPersistent& o) { return static_cast<T&>(o); }
    [[noreturn]] static void ThrowClassMismatch(TPersistent* value);

    template <class V>
    TPropInfo Base(const char* name, TPropertyKind kind) {
        TPropInfo p;
        p.Name = name;
        p.Kind = kind;
        p.Declarer = &info_;
        p.ValueType = &typeid(V);
        return p;
    }
    template <class G, class S>
    TPropInfo& Ordinal(const char* name, TPropertyKind kind, G get, S set,
                       std::optional<int64_t> def) {
        using V = std::decay_t<std::invoke_result_t<G, T&>>;
        TPropInfo p = Base<V>(name, kind);
        p.OrdDefault = def;
        p.GetOrd = [get](TPersistent& o) {
            return static_cast<int64_t>(std::invoke(get, Self(o)));
        };
        if constexpr (!std::is_same_v<S, std::nullptr_t>)
            p.SetOrd = [set](TPersistent& o, int64_t v) {
                std::invoke(set, Self(o), static_cast<V>(v));
            };
        return info_.AddProperty(std::move(p));
    }

    TClassInfo& info_;
};

[[noreturn]] void RaisePropertyClassMismatch(const TPersistent* value);

template <class T>
void TPublisher<T>::ThrowClassMismatch(TPersistent* value) {
    RaisePropertyClassMismatch(value);
}

// Registry of persistent classes by name (case-insensitive). Registering a class again is
// harmless; registering another class under a taken name raises.
void RegisterClass(const TClassInfo& info);
void UnRegisterClass(const TClassInfo& info);
const TClassInfo* GetClass(const AnsiString& className);
// As GetClass, but raises EClassNotFound.
const TClassInfo& FindClass(const AnsiString& className);

namespace dbi_classes_detail {

template <class T>
void FillFactories(TClassInfo& info) {
    if constexpr (!std::is_abstract_v<T>) {
        if constexpr (std::is_constructible_v<T, TComponent*> && std::is_base_of_v<TComponent, T>)
            info.CreateComponent = [](TComponent* owner) -> TComponent* { return new T(owner); };
        else if constexpr (std::is_constructible_v<T, TCollection*> &&
                           std::is_base_of_v<TCollectionItem, T>)
            info.CreateItem = [](TCollection* c) -> TCollectionItem* { return new T(c); };
        else if constexpr (std::is_default_constructible_v<T>)
            info.CreatePersistent = []() -> TPersistent* { return new T(); };
    }
}

template <class T>
const TClassInfo& MakeClassInfo(const char* name, const TClassInfo* parent,
                                void (*publish)(TPublisher<T>&)) {
    static TClassInfo info(name, parent, typeid(T));
    static const bool sealed = [&] {
        FillFactories<T>(info);
        TPublisher<T> p(info);
        publish(p);
        info.Seal();
        return true;
    }();
    (void)sealed;
    return info;
}

} // namespace dbi_classes_detail

// Inside the class body, first thing. Leaves the access at public.
#define DBI_PERSISTENT(Class, Parent)                                                              \
public:                                                                                            \
    using inherited = Parent;                                                                      \
    static const TClassInfo& StaticClassInfo();                                                    \
    const TClassInfo& ClassInfo() const override {                                                 \
        return StaticClassInfo();                                                                  \
    }

// In the class's source file, followed by the body of the table: { p.Integer(...); ... }
#define DBI_PUBLISH(Class)                                                                         \
    static void dbi_publish_##Class(TPublisher<Class>& p);                                         \
    const TClassInfo& Class::StaticClassInfo() {                                                   \
        return dbi_classes_detail::MakeClassInfo<Class>(#Class, &inherited::StaticClassInfo(),     \
                                                        &dbi_publish_##Class);                     \
    }                                                                                              \
    [[maybe_unused]] static const bool dbi_registered_##Class =                                    \
        (RegisterClass(Class::StaticClassInfo()), true);                                           \
    static void dbi_publish_##Class([[maybe_unused]] TPublisher<Class>& p)
