#include "installer/dwx/DwxFileReplacement.h"

#include "installer/dwx/DwxError.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <string>
#include <system_error>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr const char* kTemporaryMark = ".tmp";
constexpr size_t kMostNumberDigits = 6;

std::string TemporaryName(const fs::path& target, unsigned number) {
    return "." + target.filename().string() + kTemporaryMark + std::to_string(number);
}

// fsync of a folder, which is what makes a rename in it last.
bool SyncFolder(const fs::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

std::string SystemReason() {
    return std::strerror(errno);
}

} // namespace

std::string TemporaryFileOwner(const std::string& name) {
    const size_t mark = name.rfind(kTemporaryMark);
    if (name.size() < 2 || name[0] != '.' || mark == std::string::npos || mark < 2) {
        return std::string();
    }
    const size_t digits = name.size() - mark - std::strlen(kTemporaryMark);
    if (digits == 0 || digits > kMostNumberDigits) {
        return std::string();
    }
    for (size_t i = name.size() - digits; i < name.size(); ++i) {
        if (name[i] < '0' || name[i] > '9') {
            return std::string();
        }
    }
    return name.substr(1, mark - 1);
}

DwxFileReplacement::DwxFileReplacement(const fs::path& target) : target_(target) {
    std::error_code error;
    // A link is replaced through: the drawing it points to gets the new content.
    if (fs::is_symlink(target_, error)) {
        const fs::path resolved = fs::weakly_canonical(target_, error);
        if (!error) {
            target_ = resolved;
        }
    }
    const fs::path folder = target_.has_parent_path() ? target_.parent_path() : fs::path(".");
    std::random_device entropy;
    for (int attempt = 0; attempt < 16 && !stream_; ++attempt) {
        temporary_ = folder / TemporaryName(target_, entropy() % 1000000u);
        // "x": never take over a file that already exists under the chosen name.
        stream_ = std::fopen(temporary_.c_str(), "wbx");
    }
    if (!stream_) {
        throw DwxError("no temporary file can be created in " + folder.string());
    }
}

DwxFileReplacement::~DwxFileReplacement() {
    if (!committed_) {
        Discard();
    }
}

void DwxFileReplacement::Discard() {
    if (stream_) {
        std::fclose(stream_);
        stream_ = nullptr;
    }
    std::error_code ignored;
    fs::remove(temporary_, ignored);
}

void DwxFileReplacement::Commit() {
    std::FILE* stream = stream_;
    stream_ = nullptr;
    // The bytes reach the disk before the name does.
    const bool synced = std::fflush(stream) == 0 && ::fsync(::fileno(stream)) == 0;
    const std::string reason = synced ? std::string() : SystemReason();
    if (std::fclose(stream) != 0 || !synced) {
        Discard();
        throw DwxError("the temporary file " + temporary_.string() +
                       " could not be completed: " + (synced ? SystemReason() : reason));
    }
    const fs::path folder = target_.has_parent_path() ? target_.parent_path() : fs::path(".");
    std::error_code error;
    const fs::file_status old = fs::status(target_, error);
    if (!error && fs::exists(old)) {
        fs::permissions(temporary_, old.permissions(), fs::perm_options::replace, error);
    }
    error.clear();
    fs::rename(temporary_, target_, error);
    if (error) {
        Discard();
        throw DwxError("the temporary file could not replace " + target_.string() + ": " +
                       error.message());
    }
    committed_ = true;
    // The new content is in place whatever happens now, so a folder that cannot be flushed
    // (some file systems refuse it) does not turn the save into a failure.
    SyncFolder(folder);
}
