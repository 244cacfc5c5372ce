// What the archive library reads from and sets on files: size, folder attribute and times,
// the temporary files items are written to, and the move of a finished item over its target.
#pragma once

#include "installer/archive/SevenzipTypes.h"
#include "platform/rtl/Stream.h"
#include "platform/rtl/UnicodeString.h"

#include <memory>
#include <optional>

struct TArxFileFacts {
    int64_t size = 0;
    uint32_t attributes = 0;
    sevenzip::FILETIME creationTime{};
    sevenzip::FILETIME lastAccessTime{};
    sevenzip::FILETIME lastWriteTime{};
};

// False when the entry cannot be examined. The file system keeps no creation time the library
// can read, so the last write time stands in for it.
bool ReadFileFacts(const UnicodeString& name, TArxFileFacts& facts);

// Sets the times that are given on the entry itself (a link at the name is not followed); the
// file system keeps only the last write time, so that is the one applied, clamped to what the
// file system can hold. False when the entry is missing or refuses.
bool SetFileTimes(const UnicodeString& name, const std::optional<sevenzip::FILETIME>& creation,
                  const std::optional<sevenzip::FILETIME>& lastAccess,
                  const std::optional<sevenzip::FILETIME>& lastWrite);

// Puts `from` in place of `to` in one step, replacing what stood there (a link is replaced, not
// followed).
bool ReplaceFile(const UnicodeString& from, const UnicodeString& to);

// An empty file made at `name` only where nothing stands, a link included (never followed);
// false with errno set otherwise (EEXIST when something stands there).
bool CreateNewEmptyFile(const UnicodeString& name);

// A new empty file in `folder` (empty for the current folder, else ending with a delimiter)
// under a name nobody can foresee (".arx-<random>.part"), created only where nothing stood, so
// a link or file planted in the folder is never followed nor truncated. Raises EFCreateError
// naming the folder and the reason when no such file can be made.
struct TArxStagingFile {
    UnicodeString name;
    std::unique_ptr<TStream> stream;
};
TArxStagingFile CreateStagingFile(const UnicodeString& folder);
