#include "platform/rtl/Paths.h"

#include <filesystem>
#include <mutex>
#include <system_error>
#include <utility>

namespace {

bool IsDelimiter(char16_t c) {
    return c == u'/' || c == u'\\';
}

bool IsAsciiLetter(char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

bool HasDriveLetter(const std::u16string& s) {
    return s.size() >= 2 && IsAsciiLetter(s[0]) && s[1] == u':';
}

// Index (0-based) just past the last delimiter, or past the drive's colon when there is none.
size_t NameStart(const std::u16string& s) {
    size_t at = s.find_last_of(u"/\\");
    if (at != std::u16string::npos)
        return at + 1;
    return HasDriveLetter(s) ? 2 : 0;
}

// Index of the extension's dot, npos when the name has none.
size_t ExtensionDot(const std::u16string& s) {
    size_t dot = s.rfind(u'.');
    if (dot == std::u16string::npos || dot < NameStart(s))
        return std::u16string::npos;
    return dot;
}

std::mutex& HookMutex() {
    static std::mutex mutex;
    return mutex;
}

DriveResolver& DriveHook() {
    static DriveResolver hook;
    return hook;
}

NativePathResolver& NativeHook() {
    static NativePathResolver hook;
    return hook;
}

} // namespace

UnicodeString ExtractFilePath(const UnicodeString& fileName) {
    return UnicodeString(fileName.str().substr(0, NameStart(fileName.str())));
}

UnicodeString ExtractFileDir(const UnicodeString& fileName) {
    std::u16string path = ExtractFilePath(fileName).str();
    bool root = path == u"/" || path == u"\\" ||
                (HasDriveLetter(path) && path.size() == 3 && IsDelimiter(path[2]));
    if (!root && !path.empty() && IsDelimiter(path.back()))
        path.pop_back();
    return UnicodeString(std::move(path));
}

UnicodeString ExtractFileName(const UnicodeString& fileName) {
    return UnicodeString(fileName.str().substr(NameStart(fileName.str())));
}

UnicodeString ExtractFileExt(const UnicodeString& fileName) {
    size_t dot = ExtensionDot(fileName.str());
    return dot == std::u16string::npos ? UnicodeString()
                                       : UnicodeString(fileName.str().substr(dot));
}

UnicodeString ChangeFileExt(const UnicodeString& fileName, const UnicodeString& extension) {
    size_t dot = ExtensionDot(fileName.str());
    return UnicodeString(fileName.str().substr(0, dot)) + extension;
}

UnicodeString IncludeTrailingPathDelimiter(const UnicodeString& path) {
    if (!path.IsEmpty() && IsDelimiter(path.str().back()))
        return path;
    return path + UnicodeString(PathDelim, 1);
}

UnicodeString ExcludeTrailingPathDelimiter(const UnicodeString& path) {
    const std::u16string& s = path.str();
    if (s.size() > 1 && IsDelimiter(s.back()))
        return UnicodeString(s.substr(0, s.size() - 1));
    return path;
}

bool IsPathDelimiter(const UnicodeString& path, int index) {
    return index >= 1 && index <= path.Length() && IsDelimiter(path[index]);
}

UnicodeString ExpandFileName(const UnicodeString& fileName) {
    if (fileName.IsEmpty())
        return fileName;
    std::error_code error;
    std::filesystem::path absolute = std::filesystem::absolute(fileName.ToUtf8(), error);
    if (error)
        return fileName;
    return UnicodeString(absolute.lexically_normal().string());
}

void SetDriveResolver(DriveResolver resolver) {
    std::lock_guard lock(HookMutex());
    DriveHook() = std::move(resolver);
}

UnicodeString ExtractFileDrive(const UnicodeString& fileName) {
    const std::u16string& s = fileName.str();
    if (HasDriveLetter(s))
        return UnicodeString(std::u16string{UpperCaseUnit(s[0]), u':'});
    DriveResolver resolver;
    {
        std::lock_guard lock(HookMutex());
        resolver = DriveHook();
    }
    if (resolver)
        return resolver(fileName);
    return !s.empty() && s[0] == u'/' ? UnicodeString(u"C:") : UnicodeString();
}

void SetNativePathResolver(NativePathResolver resolver) {
    std::lock_guard lock(HookMutex());
    NativeHook() = std::move(resolver);
}

std::string NativePath(const UnicodeString& path) {
    NativePathResolver resolver;
    {
        std::lock_guard lock(HookMutex());
        resolver = NativeHook();
    }
    return resolver ? resolver(path) : path.ToUtf8();
}
