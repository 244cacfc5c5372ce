#include "installer/archive/ArxCompressionArchive.h"

#include "installer/archive/ArxCompressionErrors.h"
#include "installer/archive/ArxFileUtils.h"
#include "installer/archive/ArxStreams.h"
#include "installer/archive/ArxStrings.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/Paths.h"

#include <filesystem>
#include <system_error>

using namespace sevenzip;

TArxCompressionArchive::TArxCompressionArchive(TStream* Volume0, int64_t AVolumeMaxSize,
                                               bool AOwnVolume)
    : VolumeMaxSize(AVolumeMaxSize) {
    if (Volume0)
        AddVolume(Volume0, AVolumeMaxSize, AOwnVolume);
}

TArxCompressionArchive::TArxCompressionArchive(const UnicodeString& VolumeFileName,
                                               int64_t AVolumeMaxSize, bool VolumeMask)
    : VolumeMaxSize(AVolumeMaxSize) {
    if (VolumeMask)
        VolumeFileNameMask = VolumeFileName;
    else
        AddVolume(VolumeFileName, AVolumeMaxSize);
}

TArxCompressionArchive::~TArxCompressionArchive() {
    items_.clear();
    volumes_.clear();
}

IUnknown* TArxCompressionArchive::FindInterface(const TGUID&) {
    return nullptr;
}

bool TArxCompressionArchive::SupportsNestedArchive() {
    return false;
}

TArxCompressionItem* TArxCompressionArchive::Items(int Index) const {
    if (Index < 0 || Index >= ItemCount())
        throw EListError(Format(u"List index out of bounds (%d)", Index));
    return items_[static_cast<size_t>(Index)].get();
}

TArxCompressionVolume* TArxCompressionArchive::Volumes(int Index) const {
    if (Index < 0 || Index >= VolumeCount())
        throw EListError(Format(u"List index out of bounds (%d)", Index));
    return volumes_[static_cast<size_t>(Index)].get();
}

int TArxCompressionArchive::AddVolume(const UnicodeString& VolumeFileName, int64_t AVolumeMaxSize) {
    return AddVolume(VolumeFileName, UnicodeString(), AVolumeMaxSize);
}

int TArxCompressionArchive::AddVolume(const UnicodeString& VolumeFileName,
                                      const UnicodeString& TmpVolumeFileName,
                                      int64_t AVolumeMaxSize) {
    volumes_.push_back(std::make_unique<TArxCompressionVolume>(
        nullptr, nullptr, true, true, VolumeFileName, TmpVolumeFileName, AVolumeMaxSize));
    return VolumeCount() - 1;
}

int TArxCompressionArchive::AddVolume(TStream* VolumeStream, int64_t AVolumeMaxSize,
                                      bool AOwnsStream) {
    return AddVolume(VolumeStream, nullptr, AVolumeMaxSize, AOwnsStream, true);
}

int TArxCompressionArchive::AddVolume(TStream* VolumeStream, TStream* TmpVolumeStream,
                                      int64_t AVolumeMaxSize, bool AOwnsStream,
                                      bool AOwnsTmpStream) {
    volumes_.push_back(std::make_unique<TArxCompressionVolume>(
        VolumeStream, TmpVolumeStream, AOwnsStream, AOwnsTmpStream, UnicodeString(),
        UnicodeString(), AVolumeMaxSize));
    return VolumeCount() - 1;
}

void TArxCompressionArchive::ClearVolumes() {
    volumes_.clear();
    volumeIndex_ = -1;
}

void TArxCompressionArchive::ClearItems() {
    items_.clear();
}

void TArxCompressionArchive::AppendItem(std::unique_ptr<TArxCompressionItem> item) {
    items_.push_back(std::move(item));
}

void TArxCompressionArchive::SelectAll() {
    for (auto& item : items_)
        item->SetSelected(true);
}

void TArxCompressionArchive::UnselectAll() {
    for (auto& item : items_)
        item->SetSelected(false);
}

void TArxCompressionArchive::ClearOperationSuccess() {
    for (auto& item : items_)
        item->SetOperationSuccess(osNoOperation);
}

void TArxCompressionArchive::CheckOperationSuccess() const {
    for (const auto& item : items_) {
        switch (item->OperationSuccess()) {
        case osUnsupportedMethod:
            throw EArxCompressionError("Unsupported method");
        case osDataError:
            throw EArxCompressionError("Data error");
        case osCRCError:
            throw EArxCompressionError("CRC error");
        case osUnknownError:
            throw EArxCompressionError("Unknown error");
        case osNoOperation:
        case osOK:
            break;
        }
    }
}

bool TArxCompressionArchive::AskOpenPassword() {
    return OnOpenPassword ? OnOpenPassword(this, Password) : true;
}

bool TArxCompressionArchive::ReportProgress(int64_t Value, int64_t MaxValue) {
    if (OnProgress)
        OnProgress(this, Value, MaxValue);
    return !CancelCurrentOperation;
}

bool TArxCompressionArchive::ReportRatio(int64_t InSize, int64_t OutSize) {
    if (OnRatio)
        OnRatio(this, InSize, OutSize);
    return !CancelCurrentOperation;
}

void TArxCompressionArchive::NoteItemFailure(int Index, std::exception_ptr error) noexcept {
    if (!itemFailure_.IsEmpty())
        return;
    try {
        UnicodeString cause;
        try {
            std::rethrow_exception(error);
        } catch (const EArxCompressionCancelled&) {
            return;
        } catch (const Exception& e) {
            cause = e.Message();
        } catch (const std::bad_alloc&) {
            cause = u"Out of memory";
        } catch (const std::exception& e) {
            cause = UnicodeString::FromUtf8(e.what());
        } catch (...) {
            cause = u"Unknown error";
        }
        UnicodeString name;
        if (Index >= 0 && Index < ItemCount()) {
            const TArxCompressionItem* item = items_[static_cast<size_t>(Index)].get();
            name = item->ValidProperties().Contains(ipPackedName) ? item->PackedName()
                                                                  : item->FileName();
        }
        itemFailure_ = Format(u"Sevenzip: Item \"%s\" could not be extracted: %s", name, cause);
    } catch (...) {
        itemFailure_ = u"Sevenzip: An item could not be extracted: Out of memory";
    }
}

UnicodeString TArxCompressionArchive::VolumeNameFromMask(int Index) const {
    if (VolumeFileNameMask.IsEmpty())
        return UnicodeString();
    return Format(VolumeFileNameMask, Index + VolumeIndexOffset);
}

void TArxCompressionArchive::PadVolumes(int count) {
    while (VolumeCount() < count) {
        int index = VolumeCount();
        volumes_.push_back(std::make_unique<TArxCompressionVolume>(nullptr, nullptr, true, true,
                                                                   VolumeNameFromMask(index),
                                                                   UnicodeString(), VolumeMaxSize));
    }
}

TStream* TArxCompressionArchive::VolumeStreamFor(int Index) {
    bool valid = Index >= 0 && Index < VolumeCount();
    if (Index == volumeIndex_) {
        TStream* stream = valid ? Volumes(Index)->Stream() : nullptr;
        if (stream)
            stream->Seek(0, soBeginning);
        return stream;
    }
    UnicodeString name = VolumeNameFromMask(Index);
    bool owns = !VolumeFileNameMask.IsEmpty();
    TStream* stream = nullptr;
    if (valid) {
        TArxCompressionVolume* volume = Volumes(Index);
        stream = volume->Stream();
        owns = volume->OwnsStream();
        name = volume->FileName();
    }
    if (OnVolume)
        OnVolume(this, Index, name, stream, owns);
    if (valid) {
        TArxCompressionVolume* volume = Volumes(Index);
        if (!stream)
            stream = OpenStreamForAccess(name, VolumeAccess());
        volume->fileName_ = name;
        volume->stream_ = stream;
        volume->ownsStream_ = owns;
    } else if (Index >= 0) {
        PadVolumes(Index);
        if (!stream)
            stream = OpenStreamForAccess(name, VolumeAccess());
        if (stream) {
            PadVolumes(Index + 1);
            TArxCompressionVolume* volume = Volumes(Index);
            volume->fileName_ = name;
            volume->stream_ = stream;
            volume->ownsStream_ = owns;
            volume->volumeMaxSize_ = VolumeMaxSize;
        }
    }
    volumeIndex_ = Index;
    return stream;
}

int64_t TArxCompressionArchive::VolumeMaxSizeFor(int Index) {
    bool valid = Index >= 0 && Index < VolumeCount();
    if (Index != volumeIndex_) {
        int64_t size = valid ? Volumes(Index)->VolumeMaxSize() : VolumeMaxSize;
        if (OnVolumeMaxSize)
            OnVolumeMaxSize(this, Index, size);
        if (Index >= 0) {
            PadVolumes(Index + 1);
            Volumes(Index)->volumeMaxSize_ = size;
            valid = true;
        }
    }
    return valid ? Volumes(Index)->VolumeMaxSize() : VolumeMaxSize;
}

// --- decompressing side ---

void TArxDecompressArchive::CheckNotDecompressing() const {
    if (decompressing_)
        throw EArxCompressionError("Operation is not supported while decompressing");
}

UnicodeString TArxDecompressArchive::ConfinedTarget(const UnicodeString& storedName) const {
    // A stored name is a path below the destination: nothing absolute, no drive, no step up.
    if (storedName.IsEmpty() || storedName[1] == kArxPathDelimiter ||
        !ExtractPathDrive(storedName).IsEmpty())
        return UnicodeString();
    TArxStringList pieces;
    for (const UnicodeString& piece : SplitAt(storedName, u"/", false)) {
        if (piece == UnicodeString(u".."))
            return UnicodeString();
        if (piece != UnicodeString(u"."))
            pieces.push_back(piece);
    }
    UnicodeString name = JoinWith(pieces, u"/", false);
    if (name.IsEmpty())
        return UnicodeString();

    // Without a destination the items go below the current folder.
    UnicodeString destination =
        destinationDir_.IsEmpty() ? UnicodeString() : EnsureTrailingBackslash(destinationDir_);
    UnicodeString target;
    if (destination.IsEmpty())
        target = name;
    else if (IsRootedPath(destination))
        target = RelativePathBetween(destination, name);
    else
        target = destination + name;
    if (!target.str().starts_with(destination.str()) || target.Length() == destination.Length())
        return UnicodeString();

    // A link already standing in the destination must not carry the item elsewhere. Items come
    // folder by folder, so the answer for the last folder is kept for the next item.
    UnicodeString folder = ExtractFolderPart(target);
    if (folderCheck_.valid && folderCheck_.folder == folder)
        return folderCheck_.inside ? target : UnicodeString();
    namespace fs = std::filesystem;
    std::error_code error;
    if (folderCheck_.base.empty()) {
        fs::path base = fs::weakly_canonical(
            fs::path(destination.IsEmpty() ? "." : NativePath(destination)), error);
        if (error)
            return UnicodeString();
        std::string baseText = base.lexically_normal().native();
        while (baseText.size() > 1 && baseText.back() == '/')
            baseText.pop_back();
        folderCheck_.base = baseText;
    }
    fs::path parent =
        fs::weakly_canonical(fs::path(folder.IsEmpty() ? "." : NativePath(folder)), error);
    if (error)
        return UnicodeString();
    const std::string& baseText = folderCheck_.base;
    auto parentText = parent.lexically_normal().native();
    while (parentText.size() > 1 && parentText.back() == '/')
        parentText.pop_back();
    bool inside =
        parentText == baseText || (parentText.starts_with(baseText) &&
                                   (baseText == "/" || parentText[baseText.size()] == '/'));
    folderCheck_ = {true, folder, inside, folderCheck_.base};
    return inside ? target : UnicodeString();
}

void TArxDecompressArchive::ResetDestinationChecks() {
    folderCheck_ = FolderCheck();
    lastCreatedFolder_ = UnicodeString();
}

bool TArxDecompressArchive::DecideItemTarget(int Index, UnicodeString& FileName, TStream*& Stream,
                                             bool& OwnsStream) {
    TArxCompressionItem* item = Items(Index);
    auto* decompressItem = dynamic_cast<TArxDecompressItem*>(item);
    if (FileName.IsEmpty() && !Stream) {
        UnicodeString name = item->PackedName();
        if (name.IsEmpty() && VolumeCount() > 0) {
            UnicodeString volumeName = ExtractNamePart(Volumes(0)->FileName());
            int dot = volumeName.LastDelimiter(u".");
            if (dot > 0)
                volumeName = volumeName.SubString(1, dot - 1);
            name = volumeName + item->PackedExtension();
        }
        UnicodeString target = ConfinedTarget(name);
        if (target.IsEmpty()) {
            if (decompressItem)
                decompressItem->extraction_ = TArxItemExtraction::Unsafe;
            return false;
        }
        FileName = target;
    }
    bool result = true;
    if (OnExtract)
        result = OnExtract(this, Index, FileName, Stream, OwnsStream);
    if (result && !Stream && autoCreateSubDir_ && !FileName.IsEmpty()) {
        UnicodeString folder =
            (item->Attributes() & kArxFolderAttribute) ? FileName : ExtractFolderPart(FileName);
        // The items of one folder come one after another: it is made once for all of them.
        if (!folder.IsEmpty() && folder != lastCreatedFolder_) {
            if (CreateFolderChain(folder))
                lastCreatedFolder_ = folder;
        }
    }
    return result;
}
