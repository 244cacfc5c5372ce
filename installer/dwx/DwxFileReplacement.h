// Writes a new version of a file beside it and puts it in place only when complete: the bytes go
// to a temporary file in the same folder, which Commit renames over the target. Until then, and
// whenever anything fails, the target keeps its old content and the temporary file is removed.
//
// The temporary file is flushed to disk before the rename and the folder after it, so that a
// crash leaves either the old drawing or the whole new one. A process killed while writing
// leaves its temporary file behind; TemporaryFileOwner recognises such a file by its name.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>

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

// The name of the file whose rewrite a temporary file of the name `name` was ("x.dwx" for
// ".x.dwx.tmp123456"); "" when the name is not one a DwxFileReplacement gives.
std::string TemporaryFileOwner(const std::string& name);
