#include "platform/win/ResourceBundle.h"

#include <cstring>
#include <fstream>

namespace win {
namespace {

constexpr char kMagic[8] = {'D', 'B', 'I', 'R', 'S', 'R', 'C', '1'};
constexpr uint64_t kAlignment = 16;
constexpr uint32_t kMaxEntries = 1u << 20;

uint64_t ReadLe(const uint8_t* p, int bytes) {
    uint64_t value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = (value << 8) | p[i];
    return value;
}

void WriteLe(std::ostream& out, uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.put(static_cast<char>((value >> (8 * i)) & 0xFF));
}

uint64_t Padding(uint64_t position) {
    return (kAlignment - position % kAlignment) % kAlignment;
}

} // namespace

uint64_t ResourceBundleSize(uint64_t fileSize, std::span<const uint8_t> tail) {
    if (tail.size() < kResourceTrailerSize || fileSize < kResourceTrailerSize)
        return 0;
    const uint8_t* trailer = tail.data() + tail.size() - kResourceTrailerSize;
    if (std::memcmp(trailer, kMagic, sizeof kMagic) != 0)
        return 0;
    uint64_t size = ReadLe(trailer + 8, 8);
    return size >= kResourceTrailerSize && size <= fileSize ? size : 0;
}

std::optional<std::vector<ResourceEntry>> ParseResourceBundle(std::span<const uint8_t> file,
                                                              std::string& error) {
    uint64_t bundleSize = ResourceBundleSize(file.size(), file);
    if (bundleSize == 0) {
        error = "no resource bundle at the end of the file";
        return std::nullopt;
    }
    uint64_t start = file.size() - bundleSize;
    const uint8_t* trailer = file.data() + file.size() - kResourceTrailerSize;
    uint64_t directoryOffset = ReadLe(trailer + 16, 8);
    uint64_t directorySize = ReadLe(trailer + 24, 8);
    uint64_t room = bundleSize - kResourceTrailerSize;
    if (directoryOffset > room || directorySize > room - directoryOffset || directorySize < 4) {
        error = "resource directory lies outside the bundle";
        return std::nullopt;
    }
    const uint8_t* p = file.data() + start + directoryOffset;
    const uint8_t* end = p + directorySize;
    uint32_t count = static_cast<uint32_t>(ReadLe(p, 4));
    p += 4;
    // Each entry needs at least 20 bytes, which bounds the count by the directory's size.
    if (count > kMaxEntries || count > (directorySize - 4) / 20) {
        error = "resource directory claims more entries than it holds";
        return std::nullopt;
    }
    std::vector<ResourceEntry> entries;
    entries.reserve(count);
    for (uint32_t i = 0; i < count; ++i) {
        if (end - p < 20) {
            error = "resource directory ends inside an entry";
            return std::nullopt;
        }
        uint64_t nameLength = ReadLe(p, 2), typeLength = ReadLe(p + 2, 2);
        uint64_t offset = ReadLe(p + 4, 8), size = ReadLe(p + 12, 8);
        p += 20;
        if (static_cast<uint64_t>(end - p) < nameLength + typeLength) {
            error = "resource directory ends inside a name";
            return std::nullopt;
        }
        if (offset > directoryOffset || size > directoryOffset - offset) {
            error = "resource data lies outside the bundle";
            return std::nullopt;
        }
        ResourceEntry entry;
        entry.name.assign(reinterpret_cast<const char*>(p), nameLength);
        entry.type.assign(reinterpret_cast<const char*>(p + nameLength), typeLength);
        p += nameLength + typeLength;
        entry.offset = start + offset;
        entry.size = size;
        entries.push_back(std::move(entry));
    }
    return entries;
}

bool WriteResourceBundle(std::ostream& out, const std::vector<ResourceSource>& resources,
                         uint64_t startOffset, std::string& error) {
    uint64_t position = 0; // within the bundle
    std::vector<uint64_t> offsets, sizes;
    for (const ResourceSource& resource : resources) {
        if (resource.name.empty() || resource.type.empty() || resource.name.size() > 0xFFFF ||
            resource.type.size() > 0xFFFF) {
            error =
                "resource \"" + resource.name + "\" needs a name and a type of 1 to 65535 bytes";
            return false;
        }
        uint64_t pad = Padding(startOffset + position);
        for (uint64_t i = 0; i < pad; ++i)
            out.put('\0');
        position += pad;
        offsets.push_back(position);
        uint64_t size = resource.data.size();
        if (resource.path.empty()) {
            out.write(reinterpret_cast<const char*>(resource.data.data()),
                      static_cast<std::streamsize>(resource.data.size()));
        } else {
            std::ifstream in(resource.path, std::ios::binary);
            if (!in) {
                error = "cannot read " + resource.path;
                return false;
            }
            std::vector<char> buffer(1 << 20);
            size = 0;
            while (in.read(buffer.data(), static_cast<std::streamsize>(buffer.size())) ||
                   in.gcount() > 0) {
                out.write(buffer.data(), in.gcount());
                size += static_cast<uint64_t>(in.gcount());
            }
            if (in.bad()) {
                error = "cannot read " + resource.path;
                return false;
            }
        }
        sizes.push_back(size);
        position += size;
    }
    uint64_t directoryOffset = position;
    WriteLe(out, resources.size(), 4);
    uint64_t directorySize = 4;
    for (size_t i = 0; i < resources.size(); ++i) {
        const ResourceSource& resource = resources[i];
        WriteLe(out, resource.name.size(), 2);
        WriteLe(out, resource.type.size(), 2);
        WriteLe(out, offsets[i], 8);
        WriteLe(out, sizes[i], 8);
        out << resource.name << resource.type;
        directorySize += 20 + resource.name.size() + resource.type.size();
    }
    out.write(kMagic, sizeof kMagic);
    WriteLe(out, directoryOffset + directorySize + kResourceTrailerSize, 8);
    WriteLe(out, directoryOffset, 8);
    WriteLe(out, directorySize, 8);
    if (!out) {
        error = "cannot write the resource bundle";
        return false;
    }
    return true;
}

} // namespace win
