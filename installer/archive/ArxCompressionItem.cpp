#include "installer/archive/ArxCompressionItem.h"

#include "installer/archive/ArxCompressionArchive.h"
#include "installer/archive/ArxCompressionErrors.h"
#include "installer/archive/ArxFileTimes.h"
#include "installer/archive/ArxFileUtils.h"
#include "installer/archive/ArxStreams.h"
#include "installer/archive/ArxStrings.h"

#include <cerrno>

using namespace sevenzip;

namespace {

// What an item without names on disk answers.
const UnicodeString kNoName;

// The extension of a name: from its last "." to the end; none when a "/" or ";" comes first.
int ExtensionStart(const UnicodeString& name) {
    for (int i = name.Length(); i >= 1; --i) {
        char16_t c = name[i];
        if (c == u'.')
            return i;
        if (c == u'/' || c == u';')
            return 0;
    }
    return 0;
}

UnicodeString ExtensionOf(const UnicodeString& name) {
    int start = ExtensionStart(name);
    return start ? name.SubString(start, name.Length()) : UnicodeString();
}

UnicodeString WithoutExtension(const UnicodeString& name) {
    int start = ExtensionStart(name);
    return start ? name.SubString(1, start - 1) : name;
}

// Pairs "key=value" separated by ";".
UnicodeString LookupPair(const UnicodeString& pairs, const UnicodeString& key) {
    int start = 1;
    while (start <= pairs.Length()) {
        int end = start;
        while (end <= pairs.Length() && pairs[end] != u';')
            ++end;
        UnicodeString pair = pairs.SubString(start, end - start);
        int equals = pair.Pos(u"=");
        if (equals > 0 && pair.SubString(1, equals - 1) == key)
            return pair.SubString(equals + 1, pair.Length());
        start = end + 1;
    }
    return UnicodeString();
}

} // namespace

TArxCompressionItem::TArxCompressionItem(TArxCompressionArchive* AArchive) : archive_(AArchive) {}

TArxCompressionItem::~TArxCompressionItem() {
    ReleaseStream();
}

const UnicodeString& TArxCompressionItem::FileNameText() const {
    return diskNames_ ? diskNames_->fileName : kNoName;
}

UnicodeString& TArxCompressionItem::FileNameField() {
    if (!diskNames_)
        diskNames_ = std::make_unique<DiskNames>();
    return diskNames_->fileName;
}

const UnicodeString& TArxCompressionItem::StagingText() const {
    return diskNames_ ? diskNames_->stagingFileName : kNoName;
}

UnicodeString& TArxCompressionItem::StagingField() {
    if (!diskNames_)
        diskNames_ = std::make_unique<DiskNames>();
    return diskNames_->stagingFileName;
}

void TArxCompressionItem::ReleaseStream() {
    if (ownsStream_ || !FileNameText().IsEmpty()) {
        delete stream_;
        stream_ = nullptr;
    }
}

bool TArxCompressionItem::PrepareExtraction(int) {
    return false;
}

UnicodeString TArxCompressionItem::NestedArchiveName() const {
    if (validProperties_.Contains(ipPackedName))
        return packedName_;
    UnicodeString name;
    if (archive_ && archive_->VolumeCount() > 0) {
        UnicodeString volumeName = archive_->Volumes(0)->FileName();
        int cut = volumeName.LastDelimiter(u"/;");
        name = volumeName.SubString(cut + 1, volumeName.Length());
    }
    if (ArxSameText(ExtensionOf(name), u".001"))
        name = WithoutExtension(name);
    UnicodeString outer = ExtensionOf(name);
    name = WithoutExtension(name);
    UnicodeString inner = ExtensionOf(name);
    if (!inner.IsEmpty()) {
        name = WithoutExtension(name);
    } else if (validProperties_.Contains(ipPackedExtension)) {
        inner = Text(&Texts::packedExtension);
    } else if (!name.IsEmpty() && archive_) {
        inner = LookupPair(archive_->ArchiveSubExtensions(), outer);
    }
    if (name.IsEmpty() && inner.IsEmpty())
        throw EArxCompressionError("Property is not available");
    return name + inner;
}

TStream* TArxCompressionItem::NestedArchiveStream() {
    throw EArxCompressionError("Nested archive is not supported");
}

void TArxCompressionItem::Mark(TArxCompressionItemProperty property) {
    validProperties_.Include(property);
    modifiedProperties_.Include(property);
}

void TArxCompressionItem::Unmark(TArxCompressionItemProperty property) {
    validProperties_.Exclude(property);
    modifiedProperties_.Exclude(property);
}

void TArxCompressionItem::ResetProperties() {
    validProperties_.Clear();
    modifiedProperties_.Clear();
}

TStream* TArxCompressionItem::OpenItemFile() {
    return OpenStreamForAccess(FileNameText(), archive_ ? archive_->ItemAccess() : saReadOnly);
}

#define ARX_ITEM_PROPERTY(Type, Name, field, property)                                             \
    Type TArxCompressionItem::Name() const {                                                       \
        CheckReadable(property);                                                                   \
        return field;                                                                              \
    }                                                                                              \
    void TArxCompressionItem::Set##Name(Type value) {                                              \
        CheckWritable(property);                                                                   \
        field = value;                                                                             \
        Mark(property);                                                                            \
    }

#define ARX_ITEM_TEXT_PROPERTY(Name, field, property)                                              \
    UnicodeString TArxCompressionItem::Name() const {                                              \
        CheckReadable(property);                                                                   \
        return Text(&Texts::field);                                                                \
    }                                                                                              \
    void TArxCompressionItem::Set##Name(const UnicodeString& value) {                              \
        CheckWritable(property);                                                                   \
        SetText(&Texts::field, value);                                                             \
        Mark(property);                                                                            \
    }

const UnicodeString& TArxCompressionItem::Text(UnicodeString Texts::*field) const {
    static const UnicodeString kEmpty;
    return texts_ ? (*texts_).*field : kEmpty;
}

void TArxCompressionItem::SetText(UnicodeString Texts::*field, const UnicodeString& value) {
    if (!texts_) {
        if (value.IsEmpty())
            return;
        texts_ = std::make_unique<Texts>();
    }
    (*texts_).*field = value;
}

ARX_ITEM_PROPERTY(int64_t, PackedSize, packedSize_, ipPackedSize)
ARX_ITEM_PROPERTY(int64_t, FileSize, fileSize_, ipFileSize)
ARX_ITEM_PROPERTY(uint32_t, Attributes, attributes_, ipAttributes)
ARX_ITEM_PROPERTY(FILETIME, CreationTime, creationTime_, ipCreationTime)
ARX_ITEM_PROPERTY(FILETIME, LastAccessTime, lastAccessTime_, ipLastAccessTime)
ARX_ITEM_PROPERTY(FILETIME, LastWriteTime, lastWriteTime_, ipLastWriteTime)
ARX_ITEM_PROPERTY(uint32_t, CRC, crc_, ipCRC)
ARX_ITEM_PROPERTY(bool, Encrypted, encrypted_, ipEncrypted)
ARX_ITEM_PROPERTY(uint32_t, PosixAttrib, posixAttrib_, ipPosixAttrib)
ARX_ITEM_TEXT_PROPERTY(Comment, comment, ipComment)
ARX_ITEM_TEXT_PROPERTY(HostOS, hostOS, ipHostOS)
ARX_ITEM_TEXT_PROPERTY(HostFS, hostFS, ipHostFS)
ARX_ITEM_TEXT_PROPERTY(User, user, ipUser)
ARX_ITEM_TEXT_PROPERTY(Group, group, ipGroup)
ARX_ITEM_TEXT_PROPERTY(Method, method, ipMethod)
ARX_ITEM_TEXT_PROPERTY(Link, link, ipLink)

UnicodeString TArxCompressionItem::PackedName() const {
    CheckReadable(ipPackedName);
    return packedName_;
}

void TArxCompressionItem::SetPackedName(const UnicodeString& value) {
    CheckWritable(ipPackedName);
    if (value == packedName_ && validProperties_.Contains(ipPackedName))
        return;
    if (archive_)
        archive_->RenamePackedName(*this, value);
    packedName_ = value;
    Mark(ipPackedName);
}

UnicodeString TArxCompressionItem::PackedExtension() const {
    CheckReadable(ipPackedExtension);
    return packedName_.IsEmpty() ? Text(&Texts::packedExtension) : ExtensionOf(packedName_);
}

void TArxCompressionItem::SetPackedExtension(const UnicodeString& value) {
    CheckWritable(ipPackedExtension);
    SetText(&Texts::packedExtension,
            (!value.IsEmpty() && value[1] != u'.') ? UnicodeString(u".") + value : value);
    Mark(ipPackedExtension);
}

UnicodeString TArxCompressionItem::FileName() const {
    CheckReadable(ipFileName);
    return FileNameText();
}

void TArxCompressionItem::SetFileName(const UnicodeString& value) {
    CheckWritable(ipFileName);
    if (!value.IsEmpty() || diskNames_)
        FileNameField() = value;
    if (value.IsEmpty()) {
        Unmark(ipFileName);
        return;
    }
    Mark(ipFileName);
    TArxFileFacts facts;
    if (archive_ && ReadFileFacts(value, facts)) {
        SetFileSize(facts.size);
        SetAttributes(facts.attributes);
        SetCreationTime(facts.creationTime);
        SetLastAccessTime(facts.lastAccessTime);
        SetLastWriteTime(facts.lastWriteTime);
        SetHostOS(u"Windows");
    }
}

TStream* TArxCompressionItem::Stream() {
    CheckReadable(ipStream);
    if (!stream_ && !FileNameText().IsEmpty())
        stream_ = OpenItemFile();
    return stream_;
}

void TArxCompressionItem::SetStream(TStream* value) {
    CheckWritable(ipStream);
    ReleaseStream();
    stream_ = value;
    if (value)
        Mark(ipStream);
    else
        Unmark(ipStream);
}

bool TArxCompressionItem::Directory() const {
    CheckReadable(ipAttributes);
    return (attributes_ & kArxFolderAttribute) != 0;
}

void TArxCompressionItem::SetDirectory(bool value) {
    CheckWritable(ipAttributes);
    attributes_ =
        value ? (attributes_ | kArxFolderAttribute) : (attributes_ & ~kArxFolderAttribute);
    Mark(ipAttributes);
}

TArxCompressionItemKind TArxCompressionItem::Kind() const {
    return Directory() ? ikDirectory : ikFile;
}

void TArxCompressionItem::ApplyTimesTo(const UnicodeString& fileName) const {
    auto valid = [this](TArxCompressionItemProperty property,
                        FILETIME value) -> std::optional<FILETIME> {
        if (validProperties_.Contains(property))
            return value;
        return std::nullopt;
    };
    auto creation = valid(ipCreationTime, creationTime_);
    auto access = valid(ipLastAccessTime, lastAccessTime_);
    auto write = valid(ipLastWriteTime, lastWriteTime_);
    SetFileTimes(fileName, creation ? creation : (write ? write : access), access,
                 write ? write : (creation ? creation : access));
}

// --- decompressing items ---

TArxDecompressItem::~TArxDecompressItem() {
    ReleaseStream();
    DiscardStagingFile();
}

void TArxDecompressItem::CheckReadable(TArxCompressionItemProperty) const {}

void TArxDecompressItem::CheckWritable(TArxCompressionItemProperty) const {
    if (auto* archive = dynamic_cast<TArxDecompressArchive*>(archive_))
        archive->CheckNotDecompressing();
}

bool TArxDecompressItem::PrepareExtraction(int Index) {
    auto* archive = dynamic_cast<TArxDecompressArchive*>(archive_);
    return archive && archive->DecideItemTarget(Index, FileNameField(), stream_, ownsStream_);
}

TStream* TArxDecompressItem::OpenItemFile() {
    auto* archive = dynamic_cast<TArxDecompressArchive*>(archive_);
    if (!archive || !archive->Decompressing() || extraction_ != TArxItemExtraction::Accepted)
        return TArxCompressionItem::OpenItemFile();
    // The data goes to a file of its own beside the target, which replaces the target only
    // once the decoder has reported the item complete and correct.
    TArxStagingFile staging = CreateStagingFile(ExtractFolderPart(FileNameText()));
    StagingField() = staging.name;
    return staging.stream.release();
}

bool TArxDecompressItem::CommitStagingFile() {
    if (StagingText().IsEmpty())
        return true;
    bool moved = ReplaceFile(StagingText(), FileNameText());
    if (!moved) {
        int error = errno;
        DiscardStagingFile();
        errno = error;
    }
    if (diskNames_)
        diskNames_->stagingFileName = UnicodeString();
    return moved;
}

void TArxDecompressItem::DiscardStagingFile() {
    // The name is set only once the file was created by us, and only a file is ever removed.
    if (diskNames_ && !diskNames_->stagingFileName.IsEmpty()) {
        ArxRemoveFile(diskNames_->stagingFileName);
        diskNames_->stagingFileName = UnicodeString();
    }
}
