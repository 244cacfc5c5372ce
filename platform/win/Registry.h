// TRegistry: the class library's registry object, over the registry store (RegistryStore.h).
//
// Usage as the callers write it:
//   TRegistry reg;                       // full access, root HKEY_CURRENT_USER
//   reg.RootKey = HKEY_LOCAL_MACHINE;
//   if (reg.OpenKey("SOFTWARE\\Maker", false) && reg.ValueExists("Path"))
//       path = reg.ReadString("Path");
//   reg.CloseKey();
//
// A key path is relative to the open key unless it begins with '\' (then it starts from
// RootKey). Names compare case-insensitively. Values are read and written in the open key
// only: with no key open a value does not exist and cannot be written. Reading a value of the
// wrong data type raises ERegistryException, as reading a value that does not exist does,
// except ReadString, which answers "" for it; a failed write raises as well.
// With DBI_NO_ADMIN set the machine hive refuses full-access opens (OpenKey answers false), as
// for a user without administrator rights; read-only opens still work.
#pragma once

#include "platform/rtl/DateTime.h"
#include "platform/rtl/UnicodeString.h"

#include <string>
#include <vector>

enum HKEY { HKEY_CURRENT_USER = 1, HKEY_LOCAL_MACHINE = 2 };

// Access rights of a registry object.
enum RegistryAccess : unsigned { KEY_READ = 1, KEY_WRITE = 2, KEY_ALL_ACCESS = 3 };

class TRegistry {
public:
    TRegistry() : TRegistry(KEY_ALL_ACCESS) {}
    explicit TRegistry(unsigned access) : Access(access) {}

    // Changing RootKey applies to the next absolute path; the open key stays as it is.
    HKEY RootKey = HKEY_CURRENT_USER;
    unsigned Access;

    bool OpenKey(const UnicodeString& key, bool canCreate);
    bool OpenKeyReadOnly(const UnicodeString& key);
    void CloseKey();
    bool HasCurrentKey() const { return open_; }
    // Path of the open key below its root, without a leading '\'.
    UnicodeString CurrentPath() const { return UnicodeString::FromUtf8(path_); }

    bool KeyExists(const UnicodeString& key);
    bool ValueExists(const UnicodeString& name);
    // The open key's value names in stored order ("" for the default value).
    std::vector<UnicodeString> GetValueNames();

    // A string or expandable-string value, unexpanded; "" when the value does not exist.
    UnicodeString ReadString(const UnicodeString& name);
    // A DWORD value.
    int ReadInteger(const UnicodeString& name);
    // An eight-byte binary value holding a day count since 1899-12-30 (little-endian double).
    TDateTime ReadDateTime(const UnicodeString& name);
    void WriteString(const UnicodeString& name, const UnicodeString& value);

private:
    bool Open(const UnicodeString& key, bool canCreate, bool writable);
    HKEY BaseRoot(const std::string& key) const;
    std::string Resolve(const std::string& key) const;
    template <typename Use>
    void WithValue(const UnicodeString& name, Use use) const;

    bool open_ = false;
    bool writable_ = false;
    HKEY openRoot_ = HKEY_CURRENT_USER;
    std::string path_;
};
