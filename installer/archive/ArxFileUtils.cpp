#include "installer/archive/ArxFileUtils.h"

#include "installer/archive/ArxStrings.h"
#include "platform/rtl/Paths.h"
#include "platform/win/ExclusiveFiles.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {

const UnicodeString kDelimiter(u"/");

fs::path FsPath(const UnicodeString& name) {
    return fs::path(NativePath(name));
}

bool IsDriveLetter(char16_t c) {
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}

} // namespace

bool ArxFileExists(const UnicodeString& name) {
    if (name.IsEmpty())
        return false;
    std::error_code error;
    auto status = fs::status(FsPath(name), error);
    return !error && fs::exists(status) && !fs::is_directory(status);
}

bool ArxFolderExists(const UnicodeString& name) {
    if (name.IsEmpty())
        return false;
    std::error_code error;
    return fs::is_directory(FsPath(name), error);
}

bool ArxDeleteFile(const UnicodeString& name) {
    std::error_code error;
    return !name.IsEmpty() && fs::remove(FsPath(name), error) && !error;
}

bool ArxEntryExists(const UnicodeString& name) {
    std::error_code error;
    return !name.IsEmpty() && fs::exists(fs::symlink_status(FsPath(name), error));
}

bool ArxRemoveFile(const UnicodeString& name) {
    return !name.IsEmpty() && win::RemoveFileEntry(NativePath(name));
}

UnicodeString EnsureTrailingBackslash(const UnicodeString& path) {
    if (!path.IsEmpty() && path[path.Length()] == kArxPathDelimiter)
        return path;
    return path + kDelimiter;
}

UnicodeString StripTrailingBackslash(const UnicodeString& path) {
    if (!path.IsEmpty() && path[path.Length()] == kArxPathDelimiter)
        return path.SubString(1, path.Length() - 1);
    return path;
}

UnicodeString ExtractPathDrive(const UnicodeString& path) {
    if (path.Length() >= 2 && path[2] == u':' && IsDriveLetter(path[1]))
        return path.SubString(1, 2);
    if (path.Length() >= 2 && path[1] == kArxPathDelimiter && path[2] == kArxPathDelimiter) {
        // "//server/share": up to, not including, the delimiter after the share.
        int i = 3, delimiters = 0;
        while (i < path.Length() && delimiters < 2) {
            if (path[i] == kArxPathDelimiter)
                ++delimiters;
            if (delimiters < 2)
                ++i;
        }
        if (i <= path.Length() && path[i] == kArxPathDelimiter)
            --i;
        return path.SubString(1, i);
    }
    return UnicodeString();
}

bool IsRootedPath(const UnicodeString& path) {
    int next = ExtractPathDrive(path).Length() + 1;
    return next <= path.Length() && path[next] == kArxPathDelimiter;
}

UnicodeString NormalizeDotSegments(const UnicodeString& path) {
    int colon = path.Pos(u":");
    int delimiter = path.Pos(kDelimiter);
    bool rooted = delimiter == colon + 1;
    int prefixLength = colon;
    if (rooted)
        prefixLength = path.str().starts_with(u"//") ? 2 : delimiter;
    UnicodeString prefix = path.SubString(1, prefixLength);
    UnicodeString rest = path.SubString(prefixLength + 1, path.Length());

    TArxStringList pieces = SplitAt(rest, kDelimiter, true);
    size_t i = 0;
    while (i < pieces.size()) {
        const UnicodeString& piece = pieces[i];
        if (piece == UnicodeString(u".")) {
            pieces.erase(pieces.begin() + static_cast<ptrdiff_t>(i));
        } else if (piece == UnicodeString(u"..")) {
            if (!rooted && (i == 0 || pieces[i - 1] == UnicodeString(u".."))) {
                ++i;
                continue;
            }
            pieces.erase(pieces.begin() + static_cast<ptrdiff_t>(i));
            if (i > 0) {
                pieces.erase(pieces.begin() + static_cast<ptrdiff_t>(i - 1));
                --i;
            }
        } else {
            ++i;
        }
    }
    UnicodeString result = prefix + JoinWith(pieces, kDelimiter, true);
    if (prefix.IsEmpty() && result.IsEmpty())
        return u".";
    return result;
}

UnicodeString NormalizeFolderPath(const UnicodeString& path) {
    std::u16string text = path.str();
    if (text.size() >= 2 && text[1] == u':' && IsDriveLetter(text[0]))
        std::replace(text.begin(), text.end(), u'\\', kArxPathDelimiter);
    return NormalizeDotSegments(UnicodeString(std::move(text)));
}

UnicodeString RelativePathBetween(const UnicodeString& origin, const UnicodeString& target) {
    UnicodeString from = NormalizeDotSegments(origin);
    UnicodeString to = NormalizeDotSegments(target);
    UnicodeString fromDrive = ExtractPathDrive(from);
    UnicodeString toDrive = ExtractPathDrive(to);

    if (target.IsEmpty() || ArxSameText(from, to))
        return u".";
    if (origin.IsEmpty())
        return to;
    if (!toDrive.IsEmpty() && (fromDrive.IsEmpty() || !ArxSameText(fromDrive, toDrive)))
        return to;
    bool toStartsWithSingleDelimiter = to.Length() >= 1 && to[1] == kArxPathDelimiter &&
                                       !(to.Length() >= 2 && to[2] == kArxPathDelimiter);
    if (!fromDrive.IsEmpty() && toStartsWithSingleDelimiter)
        return fromDrive + to;
    if (IsRootedPath(from) && !IsRootedPath(to)) {
        UnicodeString tail = to;
        if (!tail.IsEmpty() && tail[1] == kArxPathDelimiter)
            tail = tail.SubString(2, tail.Length());
        return EnsureTrailingBackslash(from) + tail;
    }

    TArxStringList fromPieces = SplitAt(from, kDelimiter, false);
    TArxStringList toPieces = SplitAt(to, kDelimiter, false);
    size_t common = 0;
    while (common < fromPieces.size() && common < toPieces.size() &&
           ArxSameText(fromPieces[common], toPieces[common]))
        ++common;
    UnicodeString result =
        StripTrailingBackslash(RepeatString(u"../", static_cast<int>(fromPieces.size() - common)));
    for (size_t i = common; i < toPieces.size(); ++i) {
        if (!result.IsEmpty())
            result += kDelimiter;
        result += toPieces[i];
    }
    return result;
}

UnicodeString ExtractFolderPart(const UnicodeString& path) {
    int last = path.LastDelimiter(kDelimiter);
    return path.SubString(1, last);
}

UnicodeString ExtractNamePart(const UnicodeString& path) {
    return path.SubString(path.LastDelimiter(kDelimiter) + 1, path.Length());
}

bool CreateFolderChain(const UnicodeString& path) {
    if (path.IsEmpty())
        throw EArxFileUtilsError("Unable to create directory");
    UnicodeString folder = StripTrailingBackslash(path);
    UnicodeString parent = ExtractFolderPart(folder);
    bool bareDrive = folder.Length() == 2 && folder[2] == u':';
    if (bareDrive || ArxFolderExists(folder) || parent == folder)
        return true;
    if (!parent.IsEmpty() && !CreateFolderChain(parent))
        return false;
    std::error_code error;
    fs::create_directory(FsPath(folder), error);
    // An entry of that name already standing there counts as done, as the platform's own
    // folder creation reports it.
    return !error || error == std::errc::file_exists;
}
