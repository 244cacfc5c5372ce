// Writes a new version of a file beside it and puts it in place only when complete: the bytes go
// to a temporary file in the same folder, which Commit renames over the target. Until then, and
// whenever anything fails, the target keeps its old content and the temporary file is removed.
#pragma once

#include <cstdio>
#include <filesystem>

class DwxFileReplacement {
public:
    // Creates the temporary file; raises DwxError when the folder takes no new file.
    explicit DwxFileReplacement(const std::filesystem::path& target);
    DwxFileReplacement(const DwxFileReplacement&) = delete;
    DwxFileReplacement& operator=(const DwxFileReplacement&) = delete;
    ~DwxFileReplacement();

    std::FILE* Stream() const { return stream_; }

    // Closes the temporary file, gives it the target's permissions and renames it over the
    // target; raises DwxError, with the target untouched, when any step fails.
    void Commit();

private:
    void Discard();

    std::filesystem::path target_;
    std::filesystem::path temporary_;
    std::FILE* stream_ = nullptr;
    bool committed_ = false;
};
