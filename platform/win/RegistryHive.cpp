#include "platform/win/RegistryHive.h"

#include "platform/rtl/UnicodeString.h"
#include "platform/win/CaseFold.h"

namespace win {

std::string NormalizeKeyPath(std::string_view path) {
    std::string result;
    size_t i = 0;
    while (i < path.size()) {
        if (path[i] == '\\') {
            ++i;
            continue;
        }
        size_t end = path.find('\\', i);
        if (end == std::string_view::npos)
            end = path.size();
        if (!result.empty())
            result += '\\';
        result.append(path.substr(i, end - i));
        i = end;
    }
    return result;
}

size_t RegistryKeyDepth(std::string_view normalizedPath) {
    if (normalizedPath.empty())
        return 0;
    size_t depth = 1;
    for (char c : normalizedPath)
        depth += c == '\\' ? 1 : 0;
    return depth;
}

std::u16string FoldRegistryName(std::string_view name) {
    return FoldCase(name);
}

std::vector<uint8_t> EncodeRegistryString(std::u16string_view text) {
    std::vector<uint8_t> data;
    data.reserve(text.size() * 2 + 2);
    for (char16_t unit : text) {
        data.push_back(static_cast<uint8_t>(unit & 0xFF));
        data.push_back(static_cast<uint8_t>(unit >> 8));
    }
    data.push_back(0);
    data.push_back(0);
    return data;
}

std::u16string DecodeRegistryString(const std::vector<uint8_t>& data) {
    std::u16string text;
    for (size_t i = 0; i + 1 < data.size(); i += 2) {
        char16_t unit = static_cast<char16_t>(data[i] | (data[i + 1] << 8));
        if (unit == 0)
            break;
        text += unit;
    }
    return text;
}

const RegistryValue* RegistryKey::FindValue(std::string_view name) const {
    auto found = index_.find(FoldCase(name));
    return found == index_.end() ? nullptr : &values_[found->second];
}

void RegistryKey::SetValue(RegistryValue value) {
    auto [position, added] = index_.try_emplace(FoldCase(value.name), values_.size());
    if (added) {
        values_.push_back(std::move(value));
        return;
    }
    RegistryValue& existing = values_[position->second];
    existing.type = value.type;
    existing.data = std::move(value.data);
}

const RegistryKey* RegistryHive::FindKey(std::string_view path) const {
    auto found = index_.find(FoldRegistryName(NormalizeKeyPath(path)));
    return found == index_.end() ? nullptr : &keys_[found->second];
}

RegistryKey* RegistryHive::FindKey(std::string_view path) {
    auto found = index_.find(FoldRegistryName(NormalizeKeyPath(path)));
    return found == index_.end() ? nullptr : &keys_[found->second];
}

RegistryKey& RegistryHive::CreateKey(std::string_view path) {
    std::string normalized = NormalizeKeyPath(path);
    if (RegistryKey* existing = FindKey(normalized))
        return *existing;
    if (!normalized.empty()) {
        size_t cut = normalized.rfind('\\');
        CreateKey(cut == std::string::npos ? std::string_view()
                                           : std::string_view(normalized).substr(0, cut));
    }
    index_.emplace(FoldRegistryName(normalized), keys_.size());
    keys_.emplace_back(normalized);
    return keys_.back();
}

void RegistryHive::Clear() {
    keys_.clear();
    index_.clear();
}

} // namespace win
