// The legacy layout of a materials database: its pictures side by side in the database's own
// folder instead of spread over sub-folders.
//
// The folder keeps its name: the compatibility pass and the installed program look for the
// database under the name it was unpacked to. A picture is removed from its sub-folder only
// after its copy arrived, a picture already in the folder stays where it is, and a sub-folder
// is removed only when no file is left anywhere below it.
#include "installer/engine/Folder_walk.h"
#include "installer/engine/Myfileop_class.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FileSystem.h"
#include "platform/rtl/Paths.h"
#include "platform/win/FileSystem.h"

#include <boost/filesystem.hpp>

void MyFileOp::FindJpgFiles(const AnsiString& path, std::vector<UnicodeString>& found) {
    WalkFilesMatching(path, ".(jpg)$",
                      [&](const AnsiString& file) { found.push_back(UnicodeString(file)); });
}

void MyFileOp::ArrangeMaterialsFolder(const UnicodeString& folder) {
    const UnicodeString top = IncludeTrailingPathDelimiter(folder);
    const UnicodeString bare = ExcludeTrailingPathDelimiter(folder);
    if (bare.IsEmpty() || !DirectoryExists(bare))
        return;
    std::vector<UnicodeString> pictures;
    try {
        FindJpgFiles(AnsiString(top), pictures);
    } catch (const Exception& error) {
        Log(u"Przeszukanie " + top + u" nie powiodło się: " + UnicodeString(error.what()));
        return;
    }
    for (const UnicodeString& picture : pictures) {
        const UnicodeString target = top + ExtractFileName(picture);
        if (ExcludeTrailingPathDelimiter(ExtractFilePath(picture)) == bare)
            continue;
        bool copied = false;
        try {
            copied = CopyFileBlocks(picture, target, true);
        } catch (const Exception&) {
            copied = false;
        }
        if (copied)
            DeleteFile(picture);
        else
            Log(u"Kopiowanie " + picture + u" nie powiodło się");
    }
    // Sub-folders only: the database's folder itself stays even when it holds nothing. Hidden
    // sub-folders count too, or an empty one would be left behind for ever.
    namespace bfs = boost::filesystem;
    boost::system::error_code error;
    for (const win::FoundEntry& entry : win::FindEntries(NativePath(top + u"*.*"))) {
        if (!entry.directory || entry.name.empty())
            continue;
        const UnicodeString sub = top + UnicodeString(entry.name);
        const bfs::file_status status = bfs::symlink_status(NativePath(sub), error);
        if (!error && bfs::is_directory(status))
            RemoveFolderTree(AnsiString(sub));
    }
}
