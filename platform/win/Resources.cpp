#include "platform/win/Resources.h"

#include "platform/win/CaseFold.h"
#include "platform/win/Environment.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <memory>
#include <mutex>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace win {
namespace {

// One mapped file with its directory. Mappings are never released: the spans handed out
// point into them.
struct MappedBundle {
    const uint8_t* data = nullptr;
    size_t size = 0;
    std::vector<ResourceEntry> entries;
    std::string error;
};

struct ResourceState {
    std::mutex mutex;
    std::string chosenFile;
    std::map<std::string, std::shared_ptr<MappedBundle>> mapped; // by path, inode and time
};

ResourceState& State() {
    static ResourceState state;
    return state;
}

std::string CurrentFile(const ResourceState& state) {
    if (!state.chosenFile.empty())
        return state.chosenFile;
    if (auto file = env::Get(env::kResourceFile))
        return *file;
    return "/proc/self/exe";
}

std::shared_ptr<MappedBundle> Map(const std::string& path) {
    auto bundle = std::make_shared<MappedBundle>();
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        bundle->error = "cannot open " + path + ": " + std::strerror(errno);
        return bundle;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || st.st_size <= 0) {
        bundle->error = path + " is empty or cannot be examined";
        ::close(fd);
        return bundle;
    }
    void* view = ::mmap(nullptr, static_cast<size_t>(st.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
    ::close(fd);
    if (view == MAP_FAILED) {
        bundle->error = "cannot map " + path + ": " + std::strerror(errno);
        return bundle;
    }
    bundle->data = static_cast<const uint8_t*>(view);
    bundle->size = static_cast<size_t>(st.st_size);
    std::string error;
    if (auto entries = ParseResourceBundle({bundle->data, bundle->size}, error))
        bundle->entries = std::move(*entries);
    else
        bundle->error = path + ": " + error;
    return bundle;
}

std::shared_ptr<MappedBundle> CurrentBundle() {
    ResourceState& state = State();
    std::lock_guard lock(state.mutex);
    std::string path = CurrentFile(state);
    struct stat st {};
    std::string key = path;
    if (::stat(path.c_str(), &st) == 0)
        key += "|" + std::to_string(st.st_ino) + "|" + std::to_string(st.st_size) + "|" +
               std::to_string(st.st_mtim.tv_sec) + "." + std::to_string(st.st_mtim.tv_nsec);
    auto& bundle = state.mapped[key];
    if (!bundle)
        bundle = Map(path);
    return bundle;
}

} // namespace

std::optional<std::span<const uint8_t>> FindResource(const std::string& name,
                                                     const std::string& type) {
    std::shared_ptr<MappedBundle> bundle = CurrentBundle();
    std::u16string wantedName = FoldCase(name), wantedType = FoldCase(type);
    for (const ResourceEntry& entry : bundle->entries)
        if (FoldCase(entry.name) == wantedName && FoldCase(entry.type) == wantedType)
            return std::span<const uint8_t>(bundle->data + entry.offset, entry.size);
    return std::nullopt;
}

std::vector<ResourceEntry> ListResources() {
    return CurrentBundle()->entries;
}

std::string ResourceError() {
    return CurrentBundle()->error;
}

void SetResourceFile(const std::string& path) {
    ResourceState& state = State();
    std::lock_guard lock(state.mutex);
    state.chosenFile = path;
}

} // namespace win
