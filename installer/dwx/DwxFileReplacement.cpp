#include "installer/dwx/DwxFileReplacement.h"

#include "installer/dwx/DwxError.h"

#include <random>
#include <string>
#include <system_error>

namespace fs = std::filesystem;

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
        temporary_ = folder / ("." + target_.filename().string() + ".tmp" +
                               std::to_string(entropy() % 1000000u));
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
    if (std::fclose(stream) != 0) {
        Discard();
        throw DwxError("the temporary file " + temporary_.string() + " could not be completed");
    }
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
}
