#include "platform/win/RegistryStore.h"

#include "platform/rtl/Exceptions.h"
#include "platform/win/Environment.h"
#include "platform/win/Folders.h"
#include "platform/win/ProcessorInfo.h"
#include "platform/win/RegistryFileFormat.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <mutex>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace win {
namespace {

struct FileIdentity {
    bool exists = false;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    int64_t modifiedNs = 0;
    bool operator==(const FileIdentity&) const = default;
};

FileIdentity IdentityOf(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return {};
    return {true, st.st_dev, st.st_ino, st.st_size,
            static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}

struct CachedHive {
    std::string path;
    FileIdentity identity;
    bool loaded = false;
    std::optional<std::string> error;
    RegistryHive hive;
};

std::mutex& StoreMutex() {
    static std::mutex mutex;
    return mutex;
}

CachedHive& Cache(RegistryHiveId id) {
    static CachedHive machine, user;
    return id == RegistryHiveId::LocalMachine ? machine : user;
}

[[noreturn]] void Raise(const std::string& message) {
    throw ERegistryException(UnicodeString::FromUtf8(message));
}

// A hive file beyond this is refused rather than read: real hives stay far below it.
constexpr size_t kMaxRegistryFileSize = 64u << 20;

// The file's bytes, or nothing with the reason in `error`. Only a regular file is read, opened
// without waiting, so a named pipe or a device given as the hive can neither stall the reader
// nor feed it without end.
std::optional<std::vector<uint8_t>> ReadWholeFile(const std::string& path, std::string& error) {
    std::vector<uint8_t> bytes;
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        error = "Cannot read registry file " + path + ": " + std::strerror(errno);
        return std::nullopt;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        error = "Cannot read registry file " + path + ": " +
                (S_ISREG(st.st_mode) ? std::string(std::strerror(errno)) : "not a regular file");
        ::close(fd);
        return std::nullopt;
    }
    std::vector<uint8_t> buffer(65536);
    while (true) {
        ssize_t got = ::read(fd, buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            error = "Cannot read registry file " + path + ": " + std::strerror(errno);
            ::close(fd);
            return std::nullopt;
        }
        if (got == 0)
            break;
        if (bytes.size() + static_cast<size_t>(got) > kMaxRegistryFileSize) {
            error = "Cannot read registry file " + path + ": larger than " +
                    std::to_string(kMaxRegistryFileSize >> 20) + " MiB";
            ::close(fd);
            return std::nullopt;
        }
        bytes.insert(bytes.end(), buffer.begin(), buffer.begin() + got);
    }
    ::close(fd);
    return bytes;
}

void AddSystemKeys(RegistryHive& hive) {
    size_t before = hive.Keys().size();
    const char* processorKey = "HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0";
    ProcessorInfo cpu = ReadProcessorInfo();
    if (hive.FindKey(processorKey) == nullptr) {
        RegistryKey& key = hive.CreateKey(processorKey);
        auto text = [](const std::string& s) { return EncodeRegistryString(Utf8ToUtf16(s)); };
        key.SetValue({"ProcessorNameString", kRegString, text(cpu.name)});
        key.SetValue({"Identifier", kRegString, text(cpu.identifier)});
        key.SetValue({"VendorIdentifier", kRegString, text(cpu.vendor)});
        uint32_t mhz = cpu.megahertz;
        key.SetValue({"~MHz",
                      kRegDWord,
                      {static_cast<uint8_t>(mhz), static_cast<uint8_t>(mhz >> 8),
                       static_cast<uint8_t>(mhz >> 16), static_cast<uint8_t>(mhz >> 24)}});
    }
    if (cpu.is64Bit && hive.FindKey("SOFTWARE\\Wow6432Node") == nullptr)
        hive.CreateKey("SOFTWARE\\Wow6432Node");
    // Everything added here, parents included, comes from the system and is never saved.
    for (size_t i = before; i < hive.Keys().size(); ++i)
        hive.MarkGenerated(i);
}

// Every user has the desktop settings key, which the callers write to without creating it.
void AddUserKeys(RegistryHive& hive) {
    size_t before = hive.Keys().size();
    hive.CreateKey("Control Panel\\Desktop");
    for (size_t i = before; i < hive.Keys().size(); ++i)
        hive.MarkGenerated(i);
}

// Brings the cache up to date with the file; raises when the file is malformed.
CachedHive& Current(RegistryHiveId id) {
    CachedHive& cache = Cache(id);
    std::string path = RegistryFilePath(id);
    FileIdentity identity = IdentityOf(path);
    if (!cache.loaded || cache.path != path || !(cache.identity == identity)) {
        cache.path = path;
        cache.identity = identity;
        cache.loaded = true;
        cache.error.reset();
        cache.hive.Clear();
        // A file that cannot be read or parsed stays an error until it changes on disk.
        if (identity.exists) {
            std::string error;
            if (auto bytes = ReadWholeFile(path, error)) {
                RegistryParseResult parsed =
                    ParseRegistryFile(*bytes, RegistryRootName(id), cache.hive);
                if (!parsed.ok)
                    error = "Malformed registry file " + path + ", line " +
                            std::to_string(parsed.line) + ": " + parsed.message;
            }
            if (!error.empty())
                cache.error = error;
        }
        if (id == RegistryHiveId::LocalMachine)
            AddSystemKeys(cache.hive);
        else
            AddUserKeys(cache.hive);
    }
    if (cache.error)
        Raise(*cache.error);
    return cache;
}

void WriteAll(int fd, const std::string& text, const std::string& path) {
    size_t done = 0;
    while (done < text.size()) {
        ssize_t wrote = ::write(fd, text.data() + done, text.size() - done);
        if (wrote < 0 && errno == EINTR)
            continue;
        if (wrote <= 0)
            Raise("Cannot write registry file " + path + ": " + std::strerror(errno));
        done += static_cast<size_t>(wrote);
    }
}

void SaveAtomically(const std::string& givenPath, const std::string& text) {
    // A hive reached through a link is saved where the link points, and keeps its mode.
    std::error_code ec;
    std::filesystem::path target = std::filesystem::weakly_canonical(givenPath, ec);
    if (ec)
        target = givenPath;
    const std::string path = target.string();
    struct stat old {};
    bool hadFile = ::stat(path.c_str(), &old) == 0;
    if (target.has_parent_path()) {
        std::filesystem::create_directories(target.parent_path(), ec);
        if (ec)
            Raise("Cannot create the folder of registry file " + path + ": " + ec.message());
    }
    std::string temporary = path + ".XXXXXX";
    int fd = ::mkstemp(temporary.data());
    if (fd < 0)
        Raise("Cannot save registry file " + path + ": " + std::strerror(errno));
    try {
        if (hadFile)
            ::fchmod(fd, old.st_mode & 07777);
        WriteAll(fd, text, path);
        if (::fsync(fd) != 0)
            Raise("Cannot save registry file " + path + ": " + std::strerror(errno));
    } catch (...) {
        ::close(fd);
        ::unlink(temporary.c_str());
        throw;
    }
    ::close(fd);
    if (::rename(temporary.c_str(), path.c_str()) != 0) {
        int error = errno;
        ::unlink(temporary.c_str());
        Raise("Cannot save registry file " + path + ": " + std::strerror(error));
    }
}

} // namespace

const char* RegistryRootName(RegistryHiveId hive) {
    return hive == RegistryHiveId::LocalMachine ? "HKEY_LOCAL_MACHINE" : "HKEY_CURRENT_USER";
}

std::string RegistryFilePath(RegistryHiveId hive) {
    bool machine = hive == RegistryHiveId::LocalMachine;
    if (auto path = env::Get(machine ? env::kRegistryMachine : env::kRegistryUser))
        return *path;
    return ConfigFolder() + (machine ? "machine.reg" : "user.reg");
}

void ReadRegistryHive(RegistryHiveId hive, const std::function<void(const RegistryHive&)>& read) {
    std::lock_guard lock(StoreMutex());
    read(Current(hive).hive);
}

void ChangeRegistryHive(RegistryHiveId hive, const std::function<void(RegistryHive&)>& change) {
    std::lock_guard lock(StoreMutex());
    CachedHive& cache = Current(hive);
    // The change is made in place; should it or the save fail, the cache is dropped and the
    // hive read again from the file, which still holds the old content.
    try {
        change(cache.hive);
        SaveAtomically(cache.path, FormatRegistryFile(cache.hive, RegistryRootName(hive)));
    } catch (...) {
        cache.loaded = false;
        cache.hive.Clear();
        throw;
    }
    cache.identity = IdentityOf(cache.path);
}

} // namespace win
