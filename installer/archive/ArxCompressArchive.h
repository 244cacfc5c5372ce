// The base of compressing archives: adding files, streams and folders as items under the
// duplicate rule. The program never compresses; no concrete format exists on this side, and
// Compress itself does nothing.
#pragma once

#include "installer/archive/ArxCompressionArchive.h"

#include <map>

class TArxCompressItem : public TArxCompressionItem {
public:
    using TArxCompressionItem::TArxCompressionItem;
    void CheckReadable(TArxCompressionItemProperty property) const override;
    // Raises "Operation is not supported while compressing" while the archive compresses.
    void CheckWritable(TArxCompressionItemProperty property) const override;
};

class TArxCompressArchive : public TArxCompressionArchive {
public:
    TArxCompressionDuplicateCheck DuplicateCheck = dcNone;
    TArxCompressionDuplicateAction DuplicateAction = daOverwrite;

    TArxStreamAccess VolumeAccess() const override { return saWriteOnly; }
    TArxStreamAccess ItemAccess() const override { return saReadOnly; }

    // Each returns the new item's index, or -1 when the duplicate rule skipped it.
    virtual int AddFile(const UnicodeString& PackedName, const UnicodeString& FileName);
    virtual int AddFile(const UnicodeString& PackedName, TStream* AStream, bool AOwnsStream);
    virtual int AddDirectory(const UnicodeString& PackedName, const UnicodeString& DirName,
                             bool RecurseIntoDir, bool AddFilesInDir);
    virtual void Compress() {}

    // The packed-name list goes with the items it points to.
    void ClearItems() override;

    bool Compressing() const { return compressing_; }
    void RenamePackedName(TArxCompressionItem& item, const UnicodeString& newName) override;

protected:
    using TArxCompressionArchive::TArxCompressionArchive;

    int AddWithDuplicateRule(std::unique_ptr<TArxCompressionItem> item);
    void CheckNotCompressing() const;

    bool compressing_ = false;

private:
    static UnicodeString NameKey(const UnicodeString& name);
    void BuildPackedNames();
    int IndexOf(const TArxCompressionItem* item) const;
    UnicodeString PackedNameBelowBase(const UnicodeString& path) const;

    UnicodeString baseRelName_;
    UnicodeString baseDirName_;
    bool addFilesInDir_ = false;
    bool packedNamesBuilt_ = false;
    // Packed names, compared without case, with the item that carries each.
    std::map<UnicodeString, TArxCompressionItem*> packedNames_;
};
