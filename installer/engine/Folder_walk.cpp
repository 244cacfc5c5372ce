#include "installer/engine/Folder_walk.h"

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Paths.h"

#include <boost/filesystem.hpp>
#include <boost/regex.hpp>

namespace {

namespace bfs = boost::filesystem;

AnsiString Join(const AnsiString& folder, const std::string& name) {
    if (!folder.IsEmpty() && (folder[folder.Length()] == '/' || folder[folder.Length()] == '\\'))
        return folder + AnsiString(name);
    return folder + "/" + AnsiString(name);
}

void Walk(const AnsiString& given, const bfs::path& native, const boost::regex& pattern,
          const std::function<void(const AnsiString&)>& action) {
    boost::system::error_code error;
    const bfs::file_status status = bfs::symlink_status(native, error);
    if (error || bfs::is_symlink(status))
        return;
    if (bfs::is_directory(status)) {
        bfs::directory_iterator entry(native, error);
        if (error)
            throw EInOutError(UnicodeString("Cannot read the folder " + native.string() + ": " +
                                            error.message()));
        for (; entry != bfs::directory_iterator(); entry.increment(error)) {
            if (error)
                throw EInOutError(UnicodeString("Cannot read the folder " + native.string() + ": " +
                                                error.message()));
            const std::string name = entry->path().filename().string();
            Walk(Join(given, name), entry->path(), pattern, action);
        }
        return;
    }
    // Only a regular file is handed on: opening a pipe or a device named like a drawing would
    // block the installer or read without end.
    if (!bfs::is_regular_file(status))
        return;
    const std::string text = given.c_str();
    if (boost::regex_search(text, pattern))
        action(given);
}

} // namespace

void WalkFilesMatching(const AnsiString& path, const char* pattern,
                       const std::function<void(const AnsiString& file)>& action) {
    if (path.IsEmpty())
        return;
    const boost::regex expression(pattern, boost::regex::perl);
    Walk(path, bfs::path(NativePath(UnicodeString(path))), expression, action);
}
