// One registry hive in memory: its keys in the order they were created, each with its values in
// stored order. Key and value names compare case-insensitively, as the registry's callers expect;
// the spelling first used is kept for saving.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace win {

// Value kinds, numbered as in registry export files ("hex(2):" is an expandable string).
enum RegistryValueType : uint32_t {
    kRegNone = 0,
    kRegString = 1,
    kRegExpandString = 2,
    kRegBinary = 3,
    kRegDWord = 4,
    kRegMultiString = 7,
    kRegQWord = 11,
};

struct RegistryValue {
    std::string name; // UTF-8; empty for the key's default value
    uint32_t type = kRegNone;
    std::vector<uint8_t> data; // as the registry keeps it: strings are UTF-16LE with a final zero
};

class RegistryKey {
public:
    explicit RegistryKey(std::string keyPath) : path(std::move(keyPath)) {}

    std::string path; // below the root, parts joined by '\'; empty for the root itself
    // Filled from the running system rather than from the file; not saved unless written to.
    bool generated = false;

    // The values in stored order.
    const std::vector<RegistryValue>& Values() const { return values_; }
    const RegistryValue* FindValue(std::string_view name) const;
    // Replaces a value of the same name in place (keeping the stored spelling of the name), or
    // appends it.
    void SetValue(RegistryValue value);

private:
    std::vector<RegistryValue> values_;
    std::unordered_map<std::u16string, size_t> index_; // folded name -> position in values_
};

class RegistryHive {
public:
    // The key of that path, or nullptr. Leading, trailing and doubled '\' are ignored.
    const RegistryKey* FindKey(std::string_view path) const;
    RegistryKey* FindKey(std::string_view path);
    // The key of that path, created with its missing parents when needed.
    RegistryKey& CreateKey(std::string_view path);

    const std::deque<RegistryKey>& Keys() const { return keys_; }
    void MarkGenerated(size_t position) { keys_.at(position).generated = true; }
    void Clear();

private:
    std::deque<RegistryKey> keys_; // a deque, so a key stays where it is while others are added
    std::unordered_map<std::u16string, size_t> index_; // folded path -> position in keys_
};

// The deepest key the registry holds: a path of more parts is refused.
inline constexpr size_t kMaxRegistryKeyDepth = 512;
// The number of parts of a normalized key path (0 for the root).
size_t RegistryKeyDepth(std::string_view normalizedPath);

// "\A\\B\" -> "A\B": the form keys are stored and compared in.
std::string NormalizeKeyPath(std::string_view path);
// Upper-cased UTF-16 form of a name, for case-insensitive comparison.
std::u16string FoldRegistryName(std::string_view name);

// String data as stored: UTF-16LE of the text plus a final zero unit.
std::vector<uint8_t> EncodeRegistryString(std::u16string_view text);
// The text of string data, up to its first zero unit; an odd last byte is dropped.
std::u16string DecodeRegistryString(const std::vector<uint8_t>& data);

} // namespace win
