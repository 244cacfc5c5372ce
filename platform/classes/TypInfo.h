// Property access by name, as animations, styles and the property inspector use it. A name may
// be a dotted path through owned sub-objects ("Fill.Color"); the last step names the property.
// Unknown names raise EPropertyError ("Property X does not exist"), a property of another kind
// EPropertyError ("Invalid property type"), an unknown enumeration or set element EConvertError.
#pragma once

#include "platform/classes/Persistent.h"

#include <cstdint>

// The property a path names and the object that holds it; nullptr when any step is missing.
// Steps through component references are not taken: a path stays inside one object.
const TPropInfo* FindPropertyPath(TPersistent* instance, const AnsiString& path,
                                  TPersistent*& target);
bool IsPublishedProp(TPersistent* instance, const AnsiString& path);

int64_t GetOrdProp(TPersistent* instance, const AnsiString& path);
void SetOrdProp(TPersistent* instance, const AnsiString& path, int64_t value);
double GetFloatProp(TPersistent* instance, const AnsiString& path);
void SetFloatProp(TPersistent* instance, const AnsiString& path, double value);
UnicodeString GetStrProp(TPersistent* instance, const AnsiString& path);
void SetStrProp(TPersistent* instance, const AnsiString& path, const UnicodeString& value);
// Enumerations and booleans by the names of their values ("True", "bsSolid").
AnsiString GetEnumProp(TPersistent* instance, const AnsiString& path);
void SetEnumProp(TPersistent* instance, const AnsiString& path, const AnsiString& value);
// Sets as "[a,b]".
AnsiString GetSetProp(TPersistent* instance, const AnsiString& path);
void SetSetProp(TPersistent* instance, const AnsiString& path, const AnsiString& value);
TPersistent* GetObjectProp(TPersistent* instance, const AnsiString& path);
void SetObjectProp(TPersistent* instance, const AnsiString& path, TPersistent* value);
TMethod GetMethodProp(TPersistent* instance, const AnsiString& path);
void SetMethodProp(TPersistent* instance, const AnsiString& path, const TMethod& value);
