// Enumerations, property sets and event types of the archive classes.
#pragma once

#include "installer/archive/SevenzipTypes.h"
#include "platform/rtl/UnicodeString.h"

#include <bitset>
#include <cstdint>
#include <functional>

class TStream;
class TArxCompressionArchive;

enum TArxCompressionItemProperty {
    ipPackedName,
    ipPackedSize,
    ipPackedExtension,
    ipFileSize,
    ipFileName,
    ipAttributes,
    ipCreationTime,
    ipLastAccessTime,
    ipLastWriteTime,
    ipComment,
    ipHostOS,
    ipHostFS,
    ipUser,
    ipGroup,
    ipCRC,
    ipStream,
    ipMethod,
    ipEncrypted,
    ipPosixAttrib,
    ipLink,
};
constexpr int kArxItemPropertyCount = ipLink + 1;

// A set of item properties.
class TArxCompressionItemProperties {
public:
    TArxCompressionItemProperties() = default;
    TArxCompressionItemProperties(std::initializer_list<TArxCompressionItemProperty> members) {
        for (auto m : members)
            Include(m);
    }
    bool Contains(TArxCompressionItemProperty p) const { return bits_.test(p); }
    void Include(TArxCompressionItemProperty p) { bits_.set(p); }
    void Exclude(TArxCompressionItemProperty p) { bits_.reset(p); }
    bool IsEmpty() const { return bits_.none(); }
    void Clear() { bits_.reset(); }
    friend bool operator==(const TArxCompressionItemProperties&,
                           const TArxCompressionItemProperties&) = default;

private:
    std::bitset<kArxItemPropertyCount> bits_;
};

enum TArxCompressionItemKind { ikFile, ikDirectory };

enum TArxCompressionOperationSuccess {
    osNoOperation,
    osOK,
    osUnsupportedMethod,
    osDataError,
    osCRCError,
    osUnknownError,
};

enum TArxCompressionDuplicateCheck { dcNone, dcExisting, dcAll };
enum TArxCompressionDuplicateAction { daOverwrite, daError, daSkip };

enum TArxStreamAccess { saCreate, saReadOnly, saReadOnlyDenyNone, saWriteOnly, saReadWrite };

// File attribute bit of a folder.
constexpr uint32_t kArxFolderAttribute = 0x10;

using TArxCompressionProgressEvent =
    std::function<void(TArxCompressionArchive* Sender, int64_t Value, int64_t MaxValue)>;
using TArxCompressionRatioEvent =
    std::function<void(TArxCompressionArchive* Sender, int64_t InSize, int64_t OutSize)>;
using TArxCompressionGetPasswordEvent =
    std::function<bool(TArxCompressionArchive* Sender, UnicodeString& Password)>;
using TArxCompressionVolumeEvent =
    std::function<void(TArxCompressionArchive* Sender, int Index, UnicodeString& AFileName,
                       TStream*& AStream, bool& AOwnsStream)>;
using TArxCompressionVolumeMaxSizeEvent =
    std::function<void(TArxCompressionArchive* Sender, int Index, int64_t& AVolumeMaxSize)>;
using TArxCompressionExtractEvent =
    std::function<bool(TArxCompressionArchive* Sender, int Index, UnicodeString& FileName,
                       TStream*& Stream, bool& AOwnsStream)>;
