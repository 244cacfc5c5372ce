// One stored file or folder of an archive, with its properties and the bookkeeping of which of
// them are known (ValidProperties) and which were changed by the program (ModifiedProperties).
#pragma once

#include "installer/archive/ArxCompressionTypes.h"

#include <memory>

class TArxSevenzipExtractCallback;
class TArxDecompressArchive;

class TArxCompressionItem {
public:
    explicit TArxCompressionItem(TArxCompressionArchive* AArchive);
    TArxCompressionItem(const TArxCompressionItem&) = delete;
    TArxCompressionItem& operator=(const TArxCompressionItem&) = delete;
    virtual ~TArxCompressionItem();

    // Frees the held stream when the item owns it or reads it from its own file; a stream lent
    // by the caller without a file name is kept.
    void ReleaseStream();

    virtual void CheckReadable(TArxCompressionItemProperty property) const = 0;
    virtual void CheckWritable(TArxCompressionItemProperty property) const = 0;
    // Decides where the item goes before its data is written; false refuses it.
    virtual bool PrepareExtraction(int Index);
    virtual UnicodeString NestedArchiveName() const;
    // A new stream over the item's packed data, which the caller frees.
    virtual TStream* NestedArchiveStream();

    TArxCompressionArchive* Archive() const { return archive_; }
    TArxCompressionItemProperties ValidProperties() const { return validProperties_; }
    TArxCompressionItemProperties ModifiedProperties() const { return modifiedProperties_; }
    void SetModifiedProperties(TArxCompressionItemProperties value) { modifiedProperties_ = value; }
    uint32_t PackedIndex() const { return packedIndex_; }
    bool Selected() const { return selected_; }
    void SetSelected(bool value) { selected_ = value; }
    TArxCompressionOperationSuccess OperationSuccess() const { return operationSuccess_; }
    void SetOperationSuccess(TArxCompressionOperationSuccess value) { operationSuccess_ = value; }
    bool OwnsStream() const { return ownsStream_; }
    void SetOwnsStream(bool value) { ownsStream_ = value; }

    UnicodeString PackedName() const;
    void SetPackedName(const UnicodeString& value);
    int64_t PackedSize() const;
    void SetPackedSize(int64_t value);
    // The extension of PackedName ("dir/file.tar.gz" -> ".gz"), or the stored one without a name.
    UnicodeString PackedExtension() const;
    void SetPackedExtension(const UnicodeString& value);
    int64_t FileSize() const;
    void SetFileSize(int64_t value);
    // Where the item is read from or written to on disk. Setting a name of an existing file
    // also takes its size, attributes and times.
    UnicodeString FileName() const;
    void SetFileName(const UnicodeString& value);
    uint32_t Attributes() const;
    void SetAttributes(uint32_t value);
    sevenzip::FILETIME CreationTime() const;
    void SetCreationTime(sevenzip::FILETIME value);
    sevenzip::FILETIME LastAccessTime() const;
    void SetLastAccessTime(sevenzip::FILETIME value);
    sevenzip::FILETIME LastWriteTime() const;
    void SetLastWriteTime(sevenzip::FILETIME value);
    UnicodeString Comment() const;
    void SetComment(const UnicodeString& value);
    UnicodeString HostOS() const;
    void SetHostOS(const UnicodeString& value);
    UnicodeString HostFS() const;
    void SetHostFS(const UnicodeString& value);
    UnicodeString User() const;
    void SetUser(const UnicodeString& value);
    UnicodeString Group() const;
    void SetGroup(const UnicodeString& value);
    uint32_t CRC() const;
    void SetCRC(uint32_t value);
    // Opens the item's file with the archive's ItemAccess when no stream is held yet.
    TStream* Stream();
    void SetStream(TStream* value);
    UnicodeString Method() const;
    void SetMethod(const UnicodeString& value);
    bool Encrypted() const;
    void SetEncrypted(bool value);
    uint32_t PosixAttrib() const;
    void SetPosixAttrib(uint32_t value);
    UnicodeString Link() const;
    void SetLink(const UnicodeString& value);
    bool Directory() const;
    void SetDirectory(bool value);
    TArxCompressionItemKind Kind() const;

    // Sets the item's known times on a file: creation falls back to the write then the access
    // time, the write time to the creation then the access time.
    void ApplyTimesTo(const UnicodeString& fileName) const;

protected:
    // Opens the item's file for Stream(); the decompressing side writes beside it instead.
    virtual TStream* OpenItemFile();

    friend class TArxSevenzipDecompressArchive;
    friend class TArxDecompressArchive;
    friend class TArxSevenzipExtractCallback;

    void Mark(TArxCompressionItemProperty property);
    void Unmark(TArxCompressionItemProperty property);
    void SetPackedIndex(uint32_t value) { packedIndex_ = value; }
    void ResetProperties();

    // The names on disk, made on first use: most items of a listing never need them.
    struct DiskNames {
        UnicodeString fileName;
        UnicodeString stagingFileName;
    };
    const UnicodeString& FileNameText() const;
    UnicodeString& FileNameField();
    const UnicodeString& StagingText() const;
    UnicodeString& StagingField();

    TArxCompressionArchive* archive_;
    std::unique_ptr<DiskNames> diskNames_;
    TStream* stream_ = nullptr;
    TArxCompressionItemProperties validProperties_;
    TArxCompressionItemProperties modifiedProperties_;
    UnicodeString packedName_;
    int64_t packedSize_ = 0;
    int64_t fileSize_ = 0;
    uint32_t packedIndex_ = 0xFFFFFFFFu;
    TArxCompressionOperationSuccess operationSuccess_ = osNoOperation;
    uint32_t attributes_ = 0;
    uint32_t crc_ = 0;
    uint32_t posixAttrib_ = 0;
    bool ownsStream_ = false;
    bool selected_ = false;
    bool encrypted_ = false;
    sevenzip::FILETIME creationTime_{};
    sevenzip::FILETIME lastAccessTime_{};
    sevenzip::FILETIME lastWriteTime_{};

    // The texts most archives leave empty, kept apart so that an archive of millions of items
    // does not pay for them; made when the first of them is set.
    struct Texts {
        UnicodeString packedExtension;
        UnicodeString comment;
        UnicodeString hostOS;
        UnicodeString hostFS;
        UnicodeString user;
        UnicodeString group;
        UnicodeString method;
        UnicodeString link;
    };
    const UnicodeString& Text(UnicodeString Texts::*field) const;
    void SetText(UnicodeString Texts::*field, const UnicodeString& value);
    std::unique_ptr<Texts> texts_;
};

// How an extraction run has treated an item so far.
enum class TArxItemExtraction {
    NotAsked,  // the decoder has not asked for it in this run
    Accepted,  // it is being written to its target
    Refused,   // the caller refused it: nothing on disk is touched
    Unsafe,    // its name leaves the destination: never written, the run fails
    NotWritten // asked for in test or skip mode
};

class TArxDecompressItem : public TArxCompressionItem {
public:
    using TArxCompressionItem::TArxCompressionItem;
    ~TArxDecompressItem() override;

    void CheckReadable(TArxCompressionItemProperty property) const override;
    // Raises "Operation is not supported while decompressing" during an extraction.
    void CheckWritable(TArxCompressionItemProperty property) const override;
    bool PrepareExtraction(int Index) override;

    TArxItemExtraction Extraction() const { return extraction_; }
    // The temporary file the item's data is written to until the decoder reports it correct.
    UnicodeString StagingFileName() const { return StagingText(); }

protected:
    TStream* OpenItemFile() override;

    friend class TArxSevenzipExtractCallback;
    friend class TArxSevenzipDecompressArchive;
    friend class TArxDecompressArchive;
    // Puts the staged data in place of the target; false when the move fails.
    bool CommitStagingFile();
    // Removes the temporary file this item made, never anything else.
    void DiscardStagingFile();

    TArxItemExtraction extraction_ = TArxItemExtraction::NotAsked;
    // The caller's OnExtract supplied the stream the data goes to.
    bool callerStream_ = false;
};

class TArxSevenzipDecompressItem : public TArxDecompressItem {
public:
    using TArxDecompressItem::TArxDecompressItem;
    TStream* NestedArchiveStream() override;
};
