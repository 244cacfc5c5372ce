// Method pointers: an object together with one of its methods.
//
// Event properties hold a TClosure, the typed form, and streams and property access by name handle
// the untyped TMethod. Code is a per-method thunk, so two closures compare equal exactly when they
// call the same method on the same object; Data is the object.
#pragma once

#include <typeinfo>
#include <utility>

class TObject;

struct TMethod {
    void* Code = nullptr;
    void* Data = nullptr;

    bool IsAssigned() const { return Code != nullptr; }
    friend bool operator==(const TMethod&, const TMethod&) = default;
};

template <class Signature>
class TClosure;

template <class R, class... A>
class TClosure<R(A...)> {
public:
    using Thunk = R (*)(void*, A...);

    TClosure() = default;
    TClosure(std::nullptr_t) {}

    // A closure that calls obj->*M.
    template <auto M, class C>
    static TClosure Bind(C* obj) {
        return TClosure(static_cast<void*>(obj), &Call<M, C>);
    }

    // The thunk that stands for method M of class C; the same for every object.
    template <auto M, class C>
    static R Call(void* data, A... args) {
        return (static_cast<C*>(data)->*M)(std::forward<A>(args)...);
    }

    static TClosure FromMethod(const TMethod& m) {
        return TClosure(m.Data, reinterpret_cast<Thunk>(m.Code));
    }
    TMethod AsMethod() const { return {reinterpret_cast<void*>(code_), data_}; }

    explicit operator bool() const { return code_ != nullptr; }
    R operator()(A... args) const { return code_(data_, std::forward<A>(args)...); }
    void* Data() const { return data_; }
    Thunk Code() const { return code_; }

    friend bool operator==(const TClosure&, const TClosure&) = default;

private:
    TClosure(void* data, Thunk code) : data_(data), code_(code) {}

    void* data_ = nullptr;
    Thunk code_ = nullptr;
};

// The signature of a pointer to a member function, for publishing methods by name.
template <class M>
struct TMemberSignature;
template <class C, class R, class... A>
struct TMemberSignature<R (C::*)(A...)> {
    using Class = C;
    using Signature = R(A...);
};

using TNotifyEvent = TClosure<void(TObject* Sender)>;
