#include "platform/win/FileVersion.h"

#include "platform/rtl/UnicodeString.h"
#include "platform/win/CaseFold.h"
#include "platform/win/WindowsPath.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace win {
namespace {

constexpr uint32_t kVersionResourceType = 16;
constexpr uint32_t kVersionResourceId = 1;
constexpr uint32_t kFixedInfoSignature = 0xFEEF04BD;

// Little-endian reads over bytes in memory or in a file. Callers check Has before reading.
class Bytes {
public:
    virtual ~Bytes() = default;
    virtual uint64_t Size() const = 0;
    bool Has(uint64_t offset, uint64_t length) const {
        return offset <= Size() && length <= Size() - offset;
    }
    uint16_t U16(uint64_t offset) const {
        uint8_t b[2];
        ReadAt(offset, b, 2);
        return static_cast<uint16_t>(b[0] | b[1] << 8);
    }
    uint32_t U32(uint64_t offset) const {
        return static_cast<uint32_t>(U16(offset)) | static_cast<uint32_t>(U16(offset + 2)) << 16;
    }
    std::vector<uint8_t> Copy(uint64_t offset, size_t length) const {
        std::vector<uint8_t> bytes(length);
        ReadAt(offset, bytes.data(), length);
        return bytes;
    }

protected:
    virtual void ReadAt(uint64_t offset, uint8_t* out, size_t length) const = 0;
};

class MemoryBytes : public Bytes {
public:
    explicit MemoryBytes(std::span<const uint8_t> data) : data_(data) {}
    uint64_t Size() const override { return data_.size(); }

protected:
    void ReadAt(uint64_t offset, uint8_t* out, size_t length) const override {
        std::memcpy(out, data_.data() + offset, length);
    }

private:
    std::span<const uint8_t> data_;
};

// Reads a file piece by piece, so a large program is never read whole, and a file cut short
// while it is read gives zeros rather than a fault.
class FileBytes : public Bytes {
public:
    FileBytes(int fd, uint64_t size) : fd_(fd), size_(size) {}
    uint64_t Size() const override { return size_; }

protected:
    void ReadAt(uint64_t offset, uint8_t* out, size_t length) const override {
        size_t done = 0;
        while (done < length) {
            ssize_t got =
                ::pread(fd_, out + done, length - done, static_cast<off_t>(offset + done));
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0)
                break;
            done += static_cast<size_t>(got);
        }
        std::memset(out + done, 0, length - done);
    }

private:
    int fd_;
    uint64_t size_;
};

// A version block is at most 64 KB (its length field has 16 bits); more is never read.
constexpr uint64_t kMaxVersionBlock = 0x10000;

struct Section {
    uint32_t virtualAddress, virtualSize, rawSize, rawOffset;
};

std::optional<uint64_t> RvaToOffset(const std::vector<Section>& sections, uint32_t rva) {
    for (const Section& s : sections) {
        uint32_t extent = std::max(s.virtualSize, s.rawSize);
        if (rva >= s.virtualAddress && rva - s.virtualAddress < extent) {
            uint32_t into = rva - s.virtualAddress;
            if (into >= s.rawSize)
                return std::nullopt; // in memory only, not in the file
            return static_cast<uint64_t>(s.rawOffset) + into;
        }
    }
    return std::nullopt;
}

// The entry of a resource directory at `directory` (offset in the file) that `pick` accepts;
// answers the entry's target (relative to the resource root) and whether it is a directory.
template <typename Pick>
std::optional<std::pair<uint32_t, bool>> FindEntry(const Bytes& file, uint64_t directory,
                                                   Pick pick) {
    if (!file.Has(directory, 16))
        return std::nullopt;
    uint32_t count = static_cast<uint32_t>(file.U16(directory + 12)) + file.U16(directory + 14);
    for (uint32_t i = 0; i < count; ++i) {
        uint64_t entry = directory + 16 + static_cast<uint64_t>(i) * 8;
        if (!file.Has(entry, 8))
            return std::nullopt;
        uint32_t name = file.U32(entry), target = file.U32(entry + 4);
        if (pick(name))
            return std::make_pair(target & 0x7FFFFFFF, (target & 0x80000000) != 0);
    }
    return std::nullopt;
}

// Where the first version resource lies in the file: offset and size.
std::optional<std::pair<uint64_t, uint64_t>> VersionResourceOf(const Bytes& file) {
    if (!file.Has(0, 64) || file.U16(0) != 0x5A4D) // "MZ"
        return std::nullopt;
    uint64_t pe = file.U32(0x3C);
    if (!file.Has(pe, 24) || file.U32(pe) != 0x00004550) // "PE\0\0"
        return std::nullopt;
    uint16_t sectionCount = file.U16(pe + 6);
    uint16_t optionalSize = file.U16(pe + 20);
    uint64_t optional = pe + 24;
    if (!file.Has(optional, optionalSize) || optionalSize < 2)
        return std::nullopt;
    uint16_t magic = file.U16(optional);
    uint64_t countAt = magic == 0x10B ? 92 : magic == 0x20B ? 108 : 0;
    if (countAt == 0 || optionalSize < countAt + 4)
        return std::nullopt;
    uint32_t directoryCount = file.U32(optional + countAt);
    uint64_t resourceEntry = countAt + 4 + 2 * 8;
    if (directoryCount < 3 || optionalSize < resourceEntry + 8)
        return std::nullopt;
    uint32_t resourceRva = file.U32(optional + resourceEntry);
    if (resourceRva == 0)
        return std::nullopt;

    std::vector<Section> sections;
    uint64_t table = optional + optionalSize;
    for (uint32_t i = 0; i < sectionCount; ++i) {
        uint64_t at = table + static_cast<uint64_t>(i) * 40;
        if (!file.Has(at, 40))
            return std::nullopt;
        sections.push_back(
            {file.U32(at + 12), file.U32(at + 8), file.U32(at + 16), file.U32(at + 20)});
    }
    std::optional<uint64_t> root = RvaToOffset(sections, resourceRva);
    if (!root)
        return std::nullopt;

    // Type 16, then id 1 (what the platform's version query asks for), then the first language:
    // three levels, never more.
    auto type = FindEntry(file, *root, [](uint32_t name) { return name == kVersionResourceType; });
    if (!type || !type->second)
        return std::nullopt;
    auto name = FindEntry(file, *root + type->first,
                          [](uint32_t name) { return name == kVersionResourceId; });
    if (!name || !name->second)
        return std::nullopt;
    auto language = FindEntry(file, *root + name->first, [](uint32_t) { return true; });
    if (!language || language->second)
        return std::nullopt;
    uint64_t dataEntry = *root + language->first;
    if (!file.Has(dataEntry, 16))
        return std::nullopt;
    std::optional<uint64_t> data = RvaToOffset(sections, file.U32(dataEntry));
    uint32_t size = file.U32(dataEntry + 4);
    if (!data || !file.Has(*data, size))
        return std::nullopt;
    return std::make_pair(*data, std::min<uint64_t>(size, kMaxVersionBlock));
}

// One node of a version block: wLength, wValueLength, wType, key, padding, value, padding,
// children. Offsets are within the block, which begins 4-aligned.
struct Node {
    std::u16string key;
    uint64_t value = 0;       // start of the value
    uint16_t valueLength = 0; // as stored: bytes for binary values, characters for text
    uint16_t type = 0;
    uint64_t children = 0; // start of the first child
    uint64_t end = 0;      // just past the node
};

uint64_t Align4(uint64_t offset) {
    return (offset + 3) & ~static_cast<uint64_t>(3);
}

std::optional<Node> ReadNode(const Bytes& block, uint64_t offset, uint64_t limit) {
    if (limit > block.Size() || offset + 6 > limit)
        return std::nullopt;
    uint16_t length = block.U16(offset);
    if (length < 6 || length > limit - offset)
        return std::nullopt;
    Node node;
    node.end = offset + length;
    node.valueLength = block.U16(offset + 2);
    node.type = block.U16(offset + 4);
    uint64_t at = offset + 6;
    while (true) {
        if (at + 2 > node.end)
            return std::nullopt;
        char16_t unit = block.U16(at);
        at += 2;
        if (unit == 0)
            break;
        node.key += unit;
    }
    node.value = std::min(Align4(at), node.end);
    uint64_t valueBytes = node.type == 1 ? uint64_t{node.valueLength} * 2 : node.valueLength;
    node.children = std::min(Align4(std::min(node.value + valueBytes, node.end)), node.end);
    return node;
}

// Visits the children of `parent`.
template <typename Visit>
void ForEachChild(const Bytes& block, const Node& parent, Visit visit) {
    uint64_t at = parent.children;
    while (at + 6 <= parent.end) {
        std::optional<Node> child = ReadNode(block, at, parent.end);
        if (!child)
            return;
        visit(*child);
        at = Align4(child->end);
    }
}

std::u16string TextOf(const Bytes& block, const Node& node) {
    std::u16string text;
    for (uint64_t at = node.value; at + 2 <= node.end; at += 2) {
        char16_t unit = block.U16(at);
        if (unit == 0)
            break;
        text += unit;
    }
    return text;
}

// Block keys compare without case, as the platform's version query compares them.
bool SameKey(const std::u16string& key, std::string_view name) {
    return SameName(Utf16ToUtf8(key), name);
}

std::vector<std::string> SplitQuery(const std::string& path) {
    std::vector<std::string> parts;
    size_t i = 0;
    while (i <= path.size()) {
        size_t end = path.find('\\', i);
        if (end == std::string::npos)
            end = path.size();
        if (end > i)
            parts.push_back(path.substr(i, end - i));
        i = end + 1;
    }
    return parts;
}

} // namespace

std::optional<VersionInfo> ParseVersionBlock(std::span<const uint8_t> data) {
    MemoryBytes block(data);
    std::optional<Node> root = ReadNode(block, 0, block.Size());
    if (!root || root->key != u"VS_VERSION_INFO")
        return std::nullopt;
    VersionInfo info;
    if (root->valueLength >= 52 && block.Has(root->value, 52) && root->value + 52 <= root->end &&
        block.U32(root->value) == kFixedInfoSignature) {
        FixedFileInfo fixed;
        uint64_t v = root->value;
        fixed.fileVersionMS = block.U32(v + 8);
        fixed.fileVersionLS = block.U32(v + 12);
        fixed.productVersionMS = block.U32(v + 16);
        fixed.productVersionLS = block.U32(v + 20);
        fixed.fileFlagsMask = block.U32(v + 24);
        fixed.fileFlags = block.U32(v + 28);
        fixed.fileOS = block.U32(v + 32);
        fixed.fileType = block.U32(v + 36);
        fixed.fileSubtype = block.U32(v + 40);
        info.fixed = fixed;
    }
    ForEachChild(block, *root, [&](const Node& child) {
        if (SameKey(child.key, "StringFileInfo")) {
            ForEachChild(block, child, [&](const Node& table) {
                VersionStringTable strings;
                strings.key = Utf16ToUtf8(table.key);
                ForEachChild(block, table, [&](const Node& value) {
                    strings.strings.emplace_back(Utf16ToUtf8(value.key), TextOf(block, value));
                });
                info.stringTables.push_back(std::move(strings));
            });
        } else if (SameKey(child.key, "VarFileInfo")) {
            ForEachChild(block, child, [&](const Node& var) {
                if (!SameKey(var.key, "Translation"))
                    return;
                uint64_t end = std::min(var.value + var.valueLength, var.end);
                for (uint64_t at = var.value; at + 4 <= end; at += 4)
                    info.translations.push_back({block.U16(at), block.U16(at + 2)});
            });
        }
    });
    return info;
}

std::optional<std::u16string> VersionInfo::QueryString(const std::string& path) const {
    std::vector<std::string> parts = SplitQuery(path);
    if (parts.size() != 3 || !SameName(parts[0], "StringFileInfo"))
        return std::nullopt;
    for (const VersionStringTable& table : stringTables) {
        if (!SameName(table.key, parts[1]))
            continue;
        for (const auto& [name, text] : table.strings)
            if (SameName(name, parts[2]))
                return text;
    }
    return std::nullopt;
}

std::optional<VersionInfo> ParsePeVersionInfo(std::span<const uint8_t> file) {
    MemoryBytes bytes(file);
    auto resource = VersionResourceOf(bytes);
    if (!resource)
        return std::nullopt;
    return ParseVersionBlock(file.subspan(resource->first, resource->second));
}

std::optional<VersionInfo> ReadVersionInfo(const std::string& path) {
    std::string resolved = ResolvePath(path);
    if (resolved.empty())
        return std::nullopt;
    // Non-blocking, so that a named pipe given as a path cannot stall the reader.
    int fd = ::open(resolved.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return std::nullopt;
    struct stat st {};
    std::optional<VersionInfo> info;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0) {
        FileBytes bytes(fd, static_cast<uint64_t>(st.st_size));
        if (auto resource = VersionResourceOf(bytes)) {
            std::vector<uint8_t> block = bytes.Copy(resource->first, resource->second);
            info = ParseVersionBlock(block);
        }
    }
    ::close(fd);
    return info;
}

std::optional<std::u16string> ReadFileVersionString(const std::string& path) {
    std::optional<VersionInfo> info = ReadVersionInfo(path);
    if (!info || info->translations.empty())
        return std::nullopt;
    const VersionTranslation& first = info->translations.front();
    char query[64];
    std::snprintf(query, sizeof query, "\\StringFileInfo\\%08lx\\FileVersion",
                  static_cast<unsigned long>(first.language) << 16 | first.codePage);
    return info->QueryString(query);
}

} // namespace win
