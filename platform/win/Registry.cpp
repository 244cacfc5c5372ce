#include "platform/win/Registry.h"

#include "platform/rtl/Exceptions.h"
#include "platform/win/Environment.h"
#include "platform/win/RegistryStore.h"

#include <cstring>

namespace {

win::RegistryHiveId HiveOf(HKEY root) {
    return root == HKEY_LOCAL_MACHINE ? win::RegistryHiveId::LocalMachine
                                      : win::RegistryHiveId::CurrentUser;
}

[[noreturn]] void RaiseFor(const char* what, const UnicodeString& name) {
    throw ERegistryException(UnicodeString(what) + u" '" + name + u"'");
}

// A name holding a line break could not be saved and read back as the same name.
bool HasLineBreak(const std::string& text) {
    return text.find_first_of("\r\n") != std::string::npos;
}

bool IsRelative(const std::string& key) {
    return key.empty() || key.front() != '\\';
}

} // namespace

HKEY TRegistry::BaseRoot(const std::string& key) const {
    return IsRelative(key) && open_ ? openRoot_ : RootKey;
}

std::string TRegistry::Resolve(const std::string& key) const {
    if (IsRelative(key) && open_ && !path_.empty())
        return win::NormalizeKeyPath(path_ + "\\" + key);
    return win::NormalizeKeyPath(key);
}

bool TRegistry::Open(const UnicodeString& key, bool canCreate, bool writable) {
    std::string text = key.ToUtf8();
    HKEY root = BaseRoot(text);
    std::string path = Resolve(text);
    win::RegistryHiveId hive = HiveOf(root);
    // Without administrator rights the machine hive opens for reading only.
    if (writable && hive == win::RegistryHiveId::LocalMachine && win::env::IsOn(win::env::kNoAdmin))
        return false;
    bool found = false;
    win::ReadRegistryHive(hive,
                          [&](const win::RegistryHive& h) { found = h.FindKey(path) != nullptr; });
    if (!found) {
        if (!canCreate || !writable || HasLineBreak(path) ||
            win::RegistryKeyDepth(path) > win::kMaxRegistryKeyDepth)
            return false;
        win::ChangeRegistryHive(hive, [&](win::RegistryHive& h) { h.CreateKey(path); });
    }
    open_ = true;
    writable_ = writable;
    openRoot_ = root;
    path_ = path;
    return true;
}

bool TRegistry::OpenKey(const UnicodeString& key, bool canCreate) {
    return Open(key, canCreate, (Access & KEY_WRITE) != 0);
}

bool TRegistry::OpenKeyReadOnly(const UnicodeString& key) {
    return Open(key, false, false);
}

void TRegistry::CloseKey() {
    open_ = false;
    writable_ = false;
    path_.clear();
}

bool TRegistry::KeyExists(const UnicodeString& key) {
    std::string text = key.ToUtf8();
    std::string path = Resolve(text);
    bool found = false;
    win::ReadRegistryHive(HiveOf(BaseRoot(text)),
                          [&](const win::RegistryHive& h) { found = h.FindKey(path) != nullptr; });
    return found;
}

template <typename Use>
void TRegistry::WithValue(const UnicodeString& name, Use use) const {
    if (!open_) {
        use(nullptr);
        return;
    }
    win::ReadRegistryHive(HiveOf(openRoot_), [&](const win::RegistryHive& hive) {
        const win::RegistryKey* key = hive.FindKey(path_);
        use(key ? key->FindValue(name.ToUtf8()) : nullptr);
    });
}

bool TRegistry::ValueExists(const UnicodeString& name) {
    bool exists = false;
    WithValue(name, [&](const win::RegistryValue* value) { exists = value != nullptr; });
    return exists;
}

std::vector<UnicodeString> TRegistry::GetValueNames() {
    std::vector<UnicodeString> names;
    if (!open_)
        return names;
    win::ReadRegistryHive(HiveOf(openRoot_), [&](const win::RegistryHive& hive) {
        if (const win::RegistryKey* key = hive.FindKey(path_))
            for (const win::RegistryValue& value : key->Values())
                names.push_back(UnicodeString::FromUtf8(value.name));
    });
    return names;
}

UnicodeString TRegistry::ReadString(const UnicodeString& name) {
    UnicodeString result;
    WithValue(name, [&](const win::RegistryValue* value) {
        if (value == nullptr || value->data.empty())
            return;
        if (value->type != win::kRegString && value->type != win::kRegExpandString)
            RaiseFor("Invalid data type for", name);
        result = UnicodeString(win::DecodeRegistryString(value->data));
    });
    return result;
}

int TRegistry::ReadInteger(const UnicodeString& name) {
    int result = 0;
    WithValue(name, [&](const win::RegistryValue* value) {
        if (value == nullptr)
            RaiseFor("Failed to get data for", name);
        if (value->type != win::kRegDWord || value->data.size() != 4)
            RaiseFor("Invalid data type for", name);
        uint32_t bits = value->data[0] | (value->data[1] << 8) | (value->data[2] << 16) |
                        (static_cast<uint32_t>(value->data[3]) << 24);
        result = static_cast<int>(bits);
    });
    return result;
}

TDateTime TRegistry::ReadDateTime(const UnicodeString& name) {
    TDateTime result = 0;
    WithValue(name, [&](const win::RegistryValue* value) {
        if (value == nullptr)
            RaiseFor("Failed to get data for", name);
        if (value->type != win::kRegBinary || value->data.size() != sizeof(double))
            RaiseFor("Invalid data type for", name);
        uint64_t bits = 0;
        for (int i = 7; i >= 0; --i)
            bits = (bits << 8) | value->data[static_cast<size_t>(i)];
        std::memcpy(&result, &bits, sizeof result);
    });
    return result;
}

void TRegistry::WriteString(const UnicodeString& name, const UnicodeString& value) {
    if (!open_ || !writable_ || HasLineBreak(name.ToUtf8()))
        RaiseFor("Failed to set data for", name);
    win::ChangeRegistryHive(HiveOf(openRoot_), [&](win::RegistryHive& hive) {
        win::RegistryKey& key = hive.CreateKey(path_);
        key.generated = false;
        key.SetValue({name.ToUtf8(), win::kRegString, win::EncodeRegistryString(value.str())});
    });
}
