// TObject, the root of every class that carries class information, and TPersistent, the root of
// every class whose published properties streams can read and write.
#pragma once

#include "platform/classes/ClassInfo.h"
#include "platform/rtl/Exceptions.h"

class TFiler;

class TObject {
public:
    virtual ~TObject() = default;

    static const TClassInfo& StaticClassInfo();
    virtual const TClassInfo& ClassInfo() const { return StaticClassInfo(); }

    const AnsiString& ClassName() const { return ClassInfo().ClassName(); }
    bool InheritsFrom(const TClassInfo& info) const { return ClassInfo().InheritsFrom(info); }
};

class TPersistent : public TObject {
    DBI_PERSISTENT(TPersistent, TObject)

    // Copies the state of source into this object. The default asks source to do it through
    // AssignTo and raises EConvertError when neither side knows the other's class.
    virtual void Assign(TPersistent* source);
    // Lets a class stream data that is not a published property (lists, pictures, ...).
    virtual void DefineProperties(TFiler& filer);
    // The object that owns this one for naming purposes; nullptr for none.
    virtual TPersistent* GetOwner();
    // The dotted path by which designers name this object: the owner's path and own name.
    virtual AnsiString GetNamePath();

protected:
    virtual void AssignTo(TPersistent* dest);
    [[noreturn]] void AssignError(TPersistent* source);
};

DBI_DECLARE_EXCEPTION(EPropertyError, Exception);
DBI_DECLARE_EXCEPTION(EClassNotFound, EReadError);
DBI_DECLARE_EXCEPTION(EComponentError, Exception);
