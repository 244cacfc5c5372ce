// The archive as an object: a list of volumes that hold it, a list of items stored in it, a
// password and the events through which the caller follows and steers the work. The
// decompressing side adds the destination folder and the extraction entry points.
#pragma once

#include "installer/archive/ArxCompressionErrors.h"
#include "installer/archive/ArxCompressionItem.h"
#include "installer/archive/ArxCompressionVolume.h"
#include "installer/archive/ArxSafecallObject.h"

#include <exception>
#include <memory>
#include <string>
#include <vector>

class TArxCompressionArchive : public TArxSafecallInterfacedObject {
public:
    // Reference counting is off: the archive lives until its creator frees it.
    sevenzip::ULONG ArxAddRef() override { return static_cast<sevenzip::ULONG>(-1); }
    sevenzip::ULONG ArxRelease() override { return static_cast<sevenzip::ULONG>(-1); }

    ~TArxCompressionArchive() override;

    // Plain fields, read and written directly.
    TArxCompressionGetPasswordEvent OnOpenPassword;
    TArxCompressionProgressEvent OnProgress;
    TArxCompressionRatioEvent OnRatio;
    TArxCompressionVolumeEvent OnVolume;
    TArxCompressionVolumeMaxSizeEvent OnVolumeMaxSize;
    UnicodeString Password;
    // 1 at start; added to a volume index when a volume file name is made from the mask.
    int VolumeIndexOffset = 1;
    int64_t VolumeMaxSize = 0;
    // A format text with one integer placeholder.
    UnicodeString VolumeFileNameMask;
    // Set by an event handler to stop the running operation at its next progress report.
    bool CancelCurrentOperation = false;

    TArxCompressionItem* Items(int Index) const;
    TArxCompressionVolume* Volumes(int Index) const;
    int ItemCount() const { return static_cast<int>(items_.size()); }
    int VolumeCount() const { return static_cast<int>(volumes_.size()); }
    // The item whose stream was last used; -1 after an extraction.
    int CurrentItemIndex() const { return currentItemIndex_; }
    // The last total the decoder reported.
    int64_t ProgressMax() const { return progressMax_; }
    virtual bool SupportsNestedArchive();
    // Called before an item of this archive takes a new packed name; may refuse it.
    virtual void RenamePackedName(TArxCompressionItem& item, const UnicodeString& newName) {
        (void)item;
        (void)newName;
    }

    virtual void ApplyDefaultSettings() {}
    virtual std::unique_ptr<TArxCompressionItem> CreateArchiveItem() = 0;
    virtual bool MultipleItemContainer() const { return true; }
    virtual TArxStreamAccess VolumeAccess() const { return saReadOnly; }
    virtual TArxStreamAccess ItemAccess() const { return saReadOnly; }
    virtual UnicodeString ArchiveExtensions() const { return UnicodeString(); }
    virtual UnicodeString ArchiveName() const { return UnicodeString(); }
    virtual UnicodeString ArchiveSubExtensions() const { return UnicodeString(); }
    virtual std::vector<uint8_t> ArchiveSignature() { return {}; }

    int AddVolume(const UnicodeString& VolumeFileName, int64_t AVolumeMaxSize);
    int AddVolume(const UnicodeString& VolumeFileName, const UnicodeString& TmpVolumeFileName,
                  int64_t AVolumeMaxSize);
    int AddVolume(TStream* VolumeStream, int64_t AVolumeMaxSize, bool AOwnsStream);
    int AddVolume(TStream* VolumeStream, TStream* TmpVolumeStream, int64_t AVolumeMaxSize,
                  bool AOwnsStream, bool AOwnsTmpStream);
    void ClearVolumes();
    // Frees every item; a subclass drops what it kept about them.
    virtual void ClearItems();
    void SelectAll();
    void UnselectAll();
    void ClearOperationSuccess();
    // Raises for the first item whose operation failed, in item order.
    void CheckOperationSuccess() const;

    // Callback-side operations.
    bool AskOpenPassword();
    bool ReportProgress(int64_t Value, int64_t MaxValue);
    bool ReportRatio(int64_t InSize, int64_t OutSize);
    void SetProgressMax(int64_t value) { progressMax_ = value; }
    void SetCurrentItemIndex(int value) { currentItemIndex_ = value; }

    // Keeps the first failure met while working on item Index in this run (a cancellation is
    // none), named by the item and its cause: the decoder passes on only a result code.
    void NoteItemFailure(int Index, std::exception_ptr error) noexcept;
    UnicodeString ItemFailure() const { return itemFailure_; }
    void ClearItemFailure() { itemFailure_ = UnicodeString(); }

    // The split stream's volume events.
    TStream* VolumeStreamFor(int Index);
    int64_t VolumeMaxSizeFor(int Index);

protected:
    TArxCompressionArchive(TStream* Volume0, int64_t AVolumeMaxSize, bool AOwnVolume);
    TArxCompressionArchive(const UnicodeString& VolumeFileName, int64_t AVolumeMaxSize,
                           bool VolumeMask);

    IUnknown* FindInterface(const sevenzip::TGUID& iid) override;
    void AppendItem(std::unique_ptr<TArxCompressionItem> item);
    UnicodeString VolumeNameFromMask(int Index) const;
    // Appends placeholder volumes until the list holds `count` volumes.
    void PadVolumes(int count);

    std::vector<std::unique_ptr<TArxCompressionVolume>> volumes_;
    std::vector<std::unique_ptr<TArxCompressionItem>> items_;
    int volumeIndex_ = -1;
    UnicodeString itemFailure_;
    int64_t progressMax_ = 0;
    int currentItemIndex_ = -1;
};

// As ArxGuardedCall, for work on item Index of the archive: a failure is also noted on it.
template <typename Body>
sevenzip::HRESULT ArxItemGuardedCall(TArxCompressionArchive* archive, int index,
                                     Body&& body) noexcept {
    try {
        return body();
    } catch (...) {
        if (archive)
            archive->NoteItemFailure(index, std::current_exception());
        return SafeCallException(std::current_exception());
    }
}

class TArxDecompressArchive : public TArxCompressionArchive {
public:
    TArxCompressionExtractEvent OnExtract;

    // Set (with a trailing delimiter) only while an extraction runs.
    UnicodeString DestinationDir() const { return destinationDir_; }
    bool AutoCreateSubDir() const { return autoCreateSubDir_; }
    bool Decompressing() const { return decompressing_; }

    TArxStreamAccess VolumeAccess() const override { return saReadOnly; }
    TArxStreamAccess ItemAccess() const override { return saCreate; }

    // Decides where item Index goes: computes the target path inside the destination folder
    // when none is set, lets OnExtract change or refuse it, and creates the folders it needs.
    virtual bool DecideItemTarget(int Index, UnicodeString& FileName, TStream*& Stream,
                                  bool& OwnsStream);
    // Reads the item list, replacing any previous one.
    virtual void ListFiles() = 0;
    virtual void ExtractSelected(const UnicodeString& ADestinationDir, bool AAutoCreateSubDir) {
        (void)ADestinationDir;
        (void)AAutoCreateSubDir;
    }
    virtual void ExtractAll(const UnicodeString& ADestinationDir, bool AAutoCreateSubDir) {
        (void)ADestinationDir;
        (void)AAutoCreateSubDir;
    }

    // Raises "Operation is not supported while decompressing" during an extraction.
    void CheckNotDecompressing() const;

protected:
    using TArxCompressionArchive::TArxCompressionArchive;

    // Where an item named `name` lands; empty when the name would leave the destination.
    UnicodeString ConfinedTarget(const UnicodeString& storedName) const;

    friend class TArxSevenzipExtractCallback;

    // Forgets what the previous run learnt about its destination.
    void ResetDestinationChecks();

    bool autoCreateSubDir_ = false;
    bool decompressing_ = false;
    UnicodeString destinationDir_;
    // The destination as the file system resolves it, and the last folder checked against it.
    struct FolderCheck {
        bool valid = false;
        UnicodeString folder;
        bool inside = false;
        std::string base;
    };
    mutable FolderCheck folderCheck_;
    UnicodeString lastCreatedFolder_;
    // Folder items extracted in this run, whose times are set when it ends.
    std::vector<int> pendingFolderTimes_;
};
