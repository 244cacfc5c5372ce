#include "installer/archive/ArxCompressArchive.h"

#include "installer/archive/ArxCompressionErrors.h"
#include "installer/archive/ArxDateTime.h"
#include "installer/archive/ArxFileUtils.h"
#include "installer/archive/ArxStrings.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/Paths.h"
#include "platform/rtl/Stream.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

void TArxCompressItem::CheckReadable(TArxCompressionItemProperty) const {}

void TArxCompressItem::CheckWritable(TArxCompressionItemProperty) const {
    if (auto* archive = dynamic_cast<TArxCompressArchive*>(archive_))
        if (archive->Compressing())
            throw EArxCompressionError("Operation is not supported while compressing");
}

void TArxCompressArchive::CheckNotCompressing() const {
    if (compressing_)
        throw EArxCompressionError("Operation is not supported while compressing");
}

UnicodeString TArxCompressArchive::NameKey(const UnicodeString& name) {
    return ArxLowerCase(name);
}

int TArxCompressArchive::IndexOf(const TArxCompressionItem* item) const {
    for (int i = 0; i < ItemCount(); ++i)
        if (items_[static_cast<size_t>(i)].get() == item)
            return i;
    return -1;
}

void TArxCompressArchive::ClearItems() {
    packedNames_.clear();
    packedNamesBuilt_ = false;
    TArxCompressionArchive::ClearItems();
}

void TArxCompressArchive::BuildPackedNames() {
    if (packedNamesBuilt_)
        return;
    packedNames_.clear();
    for (auto& item : items_)
        packedNames_.emplace(NameKey(item->PackedName()), item.get());
    packedNamesBuilt_ = true;
}

int TArxCompressArchive::AddWithDuplicateRule(std::unique_ptr<TArxCompressionItem> item) {
    if (DuplicateCheck == dcNone) {
        AppendItem(std::move(item));
        return ItemCount() - 1;
    }
    BuildPackedNames();
    UnicodeString key = NameKey(item->PackedName());
    auto found = packedNames_.find(key);
    if (found == packedNames_.end()) {
        if (DuplicateCheck == dcAll)
            packedNames_.emplace(key, item.get());
        AppendItem(std::move(item));
        return ItemCount() - 1;
    }
    switch (DuplicateAction) {
    case daOverwrite: {
        int old = IndexOf(found->second);
        if (old >= 0)
            items_.erase(items_.begin() + old);
        if (DuplicateCheck == dcAll)
            found->second = item.get();
        else
            packedNames_.erase(found);
        AppendItem(std::move(item));
        return ItemCount() - 1;
    }
    case daError:
        throw EArxCompressionError(
            Format(u"The file %s already exists in the archive", item->PackedName()));
    case daSkip:
        return -1;
    }
    return -1;
}

void TArxCompressArchive::RenamePackedName(TArxCompressionItem& item,
                                           const UnicodeString& newName) {
    if (!packedNamesBuilt_)
        return;
    auto old = packedNames_.find(NameKey(item.PackedName()));
    if (old == packedNames_.end() || old->second != &item)
        return;
    packedNames_.erase(old);
    if (!packedNames_.emplace(NameKey(newName), &item).second)
        throw EArxCompressionError(Format(u"The file %s already exists in the archive", newName));
}

int TArxCompressArchive::AddFile(const UnicodeString& PackedName, const UnicodeString& FileName) {
    CheckNotCompressing();
    auto item = CreateArchiveItem();
    item->SetPackedName(PackedName);
    item->SetFileName(FileName);
    return AddWithDuplicateRule(std::move(item));
}

int TArxCompressArchive::AddFile(const UnicodeString& PackedName, TStream* AStream,
                                 bool AOwnsStream) {
    CheckNotCompressing();
    auto item = CreateArchiveItem();
    item->SetPackedName(PackedName);
    item->SetStream(AStream);
    item->SetOwnsStream(AOwnsStream);
    item->SetFileSize(AStream ? AStream->Size() - AStream->Position() : 0);
    item->SetAttributes(0);
    sevenzip::FILETIME now = DateTimeToFileTime(Now());
    item->SetCreationTime(now);
    item->SetLastAccessTime(now);
    item->SetLastWriteTime(now);
    item->SetHostOS(u"Windows");
    return AddWithDuplicateRule(std::move(item));
}

UnicodeString TArxCompressArchive::PackedNameBelowBase(const UnicodeString& path) const {
    if (StripTrailingBackslash(path) == baseDirName_)
        return baseRelName_;
    UnicodeString base = EnsureTrailingBackslash(baseDirName_);
    UnicodeString relative = path.str().starts_with(base.str())
                                 ? path.SubString(base.Length() + 1, path.Length())
                                 : ExtractNamePart(path);
    if (relative.IsEmpty())
        return baseRelName_;
    if (baseRelName_.IsEmpty())
        return NormalizeDotSegments(relative);
    return NormalizeDotSegments(baseRelName_ + UnicodeString(u"/") + relative);
}

int TArxCompressArchive::AddDirectory(const UnicodeString& PackedName, const UnicodeString& DirName,
                                      bool RecurseIntoDir, bool AddFilesInDir) {
    CheckNotCompressing();
    if (!DirName.IsEmpty()) {
        baseRelName_ = PackedName;
        baseDirName_ = StripTrailingBackslash(DirName);
        addFilesInDir_ = AddFilesInDir;
        if (RecurseIntoDir) {
            int before = ItemCount();
            // Depth first, each folder before its sub-folders, hidden ones included.
            std::vector<UnicodeString> folders{baseDirName_};
            for (size_t i = 0; i < folders.size(); ++i) {
                std::vector<UnicodeString> below;
                std::error_code error;
                for (auto& entry : fs::directory_iterator(fs::path(NativePath(folders[i])), error))
                    if (entry.is_directory(error) && !entry.is_symlink(error))
                        below.push_back(EnsureTrailingBackslash(folders[i]) +
                                        UnicodeString(entry.path().filename().string()));
                std::sort(below.begin(), below.end());
                folders.insert(folders.begin() + static_cast<ptrdiff_t>(i) + 1, below.begin(),
                               below.end());
            }
            UnicodeString baseName = baseRelName_, baseDir = baseDirName_;
            for (const UnicodeString& folder : folders) {
                baseRelName_ = baseName;
                baseDirName_ = baseDir;
                AddDirectory(PackedNameBelowBase(folder), folder, false, AddFilesInDir);
            }
            return before;
        }
    }
    auto folderItem = CreateArchiveItem();
    folderItem->SetPackedName(PackedName);
    folderItem->SetFileName(DirName);
    folderItem->SetDirectory(true);
    int index = AddWithDuplicateRule(std::move(folderItem));
    if (!DirName.IsEmpty() && AddFilesInDir) {
        std::vector<UnicodeString> files;
        std::error_code error;
        for (auto& entry : fs::directory_iterator(fs::path(NativePath(DirName)), error))
            if (!entry.is_directory(error))
                files.push_back(EnsureTrailingBackslash(StripTrailingBackslash(DirName)) +
                                UnicodeString(entry.path().filename().string()));
        std::sort(files.begin(), files.end());
        for (const UnicodeString& file : files)
            AddFile(PackedNameBelowBase(file), file);
    }
    return index;
}
