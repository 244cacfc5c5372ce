// What every test folder shares: a private scratch folder, scoped environment variables, the
// source tree's location and readable failure messages for the platform's text types.
#pragma once

#include "platform/rtl/UnicodeString.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <ostream>
#include <string>
#include <unistd.h>

namespace testsupport {

namespace fs = std::filesystem;

// The source tree, from the test runner's environment or from the build.
inline fs::path SourceDir() {
    const char* dir = std::getenv("DBI_SOURCE_DIR");
    return dir ? fs::path(dir) : fs::path(DBI_SOURCE_DIR);
}

inline std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A fresh folder below the temporary folder, removed with everything in it at scope exit.
class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& prefix = "dbi-test-") {
        std::string pattern = (fs::temp_directory_path() / (prefix + "XXXXXX")).string();
        if (::mkdtemp(pattern.data()))
            path_ = pattern;
    }
    ~ScratchFolder() {
        std::error_code ec;
        // Read-only files left by a test must not stop the clean-up.
        for (auto& entry : fs::recursive_directory_iterator(path_, ec))
            fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(path_, ec);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const fs::path& Path() const { return path_; }
    std::string Str() const { return path_.string(); }
    std::string operator/(const std::string& name) const { return (path_ / name).string(); }

    // Writes `bytes` to the file `name` below the folder, creating its folders; answers its path.
    std::string Write(const std::string& name, const std::string& bytes) const {
        fs::path file = path_ / name;
        fs::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << bytes;
        return file.string();
    }

private:
    fs::path path_;
};

// Sets (or, with nullopt, removes) a variable and restores the earlier value on scope exit.
class ScopedEnv {
public:
    ScopedEnv(const char* name, std::optional<std::string> value) : name_(name) {
        if (const char* old = std::getenv(name))
            old_ = old;
        if (value)
            ::setenv(name, value->c_str(), 1);
        else
            ::unsetenv(name);
    }
    ~ScopedEnv() {
        if (old_)
            ::setenv(name_, old_->c_str(), 1);
        else
            ::unsetenv(name_);
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* name_;
    std::optional<std::string> old_;
};

} // namespace testsupport

// Readable failure messages for the platform's text types.
inline void PrintTo(const UnicodeString& text, std::ostream* out) {
    *out << '"' << text.ToUtf8() << '"';
}
inline void PrintTo(const AnsiString& text, std::ostream* out) {
    *out << '"' << text.str() << '"';
}
