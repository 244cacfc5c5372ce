#include "installer/engine/MMFile.h"

#include <algorithm>
#include <cstring>
#include <memory>

MMFile::MMFile(const std::string& name, int size) : size(size), name_(name) {
    if (block_.Open(name, static_cast<size_t>(size)))
        data = block_.Data();
}

std::string MMFile::ReadText(int offset, int length) const {
    if (!data || offset < 0 || length <= 0 || offset + length > size)
        return std::string();
    const char* field = reinterpret_cast<const char*>(data + offset);
    return std::string(field, strnlen(field, static_cast<size_t>(length)));
}

void MMFile::WriteText(int offset, int length, const std::string& text) {
    if (!data || offset < 0 || length <= 0 || offset + length > size)
        return;
    const size_t kept = std::min(text.size(), static_cast<size_t>(length - 1));
    std::memcpy(data + offset, text.data(), kept);
    std::memset(data + offset + kept, 0, static_cast<size_t>(length) - kept);
}

uint8_t MMFile::ReadByte(int offset) const {
    return data && offset >= 0 && offset < size ? data[offset] : 0;
}

void MMFile::WriteByte(int offset, uint8_t value) {
    if (data && offset >= 0 && offset < size)
        data[offset] = value;
}

namespace {

struct ProgressBlocks {
    std::string updateName = kUpdateProgressBlockName;
    std::string installName = kDbInstallBlockName;
    std::unique_ptr<MMFile> update;
    std::unique_ptr<MMFile> install;
};

ProgressBlocks& Blocks() {
    static ProgressBlocks blocks;
    return blocks;
}

} // namespace

MMFile& UpdateProgressBlock() {
    ProgressBlocks& b = Blocks();
    if (!b.update)
        b.update = std::make_unique<MMFile>(b.updateName, kUpdateProgressBlockSize);
    return *b.update;
}

MMFile& DbInstallBlock() {
    ProgressBlocks& b = Blocks();
    if (!b.install)
        b.install = std::make_unique<MMFile>(b.installName, kDbInstallBlockSize);
    return *b.install;
}

void SetProgressBlockNames(const std::string& updateProgress, const std::string& dbInstall) {
    ProgressBlocks& b = Blocks();
    b.update.reset();
    b.install.reset();
    b.updateName = updateProgress;
    b.installName = dbInstall;
}
