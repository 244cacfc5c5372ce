// Archives read through the decoder library: opening, listing and extracting, and the 7z
// format the installer creates.
#pragma once

#include "installer/archive/ArxCompressionArchive.h"
#include "installer/archive/SevenzipInterfaces.h"

class TArxSevenzipDecompressArchive : public TArxDecompressArchive {
public:
    ~TArxSevenzipDecompressArchive() override;

    // The decoder's archive object, created on first use.
    IInArchive* InArchive();
    IInArchiveGetStream* InArchiveGetStream();
    bool SupportsNestedArchive() override;

    std::unique_ptr<TArxCompressionItem> CreateArchiveItem() override;
    // The format's signature bytes from the decoder's handler table; empty when no handler
    // reports the format's class id.
    std::vector<uint8_t> ArchiveSignature() override;
    virtual sevenzip::TGUID ArchiveCLSID() const { return sevenzip::TGUID{}; }

    void ListFiles() override;
    void ExtractAll(const UnicodeString& ADestinationDir, bool AAutoCreateSubDir) override;
    void ExtractSelected(const UnicodeString& ADestinationDir, bool AAutoCreateSubDir) override;
    // Opens the archive once; called by the three entry points.
    void OpenInArchive();

protected:
    using TArxDecompressArchive::TArxDecompressArchive;

private:
    void RequireLibrary();
    void ApplyArchiveSettings();
    void FillItem(TArxCompressionItem& item, uint32_t index);
    void Extract(std::vector<uint32_t> indices, const UnicodeString& ADestinationDir,
                 bool AAutoCreateSubDir);
    // The message for the first item refused as unsafe in this run; empty when none was.
    UnicodeString UnsafeItemMessage() const;
    // Raises for the run's outcome: unsafe items first, then our own failures on an item, then
    // a failed decoder result.
    void CheckExtractResult(sevenzip::HRESULT result) const;

    sevenzip::TComPtr<IInArchive> inArchive_;
    sevenzip::TComPtr<IInArchiveGetStream> inArchiveGetStream_;
    bool opened_ = false;
};

class TArx7zDecompressArchive : public TArxSevenzipDecompressArchive,
                                public IArxArchiveNumberOfThreads {
public:
    // Over a caller's stream as volume 0; the stream is freed with the archive only when
    // AOwnVolume is set.
    TArx7zDecompressArchive(TStream* Volume0, int64_t AVolumeMaxSize = 0, bool AOwnVolume = false);
    // Over a volume file, or over a volume file name mask when VolumeMask is set.
    TArx7zDecompressArchive(const UnicodeString& VolumeFileName, int64_t AVolumeMaxSize = 0,
                            bool VolumeMask = false);

    ARX_IMPLEMENT_IUNKNOWN

    void ApplyDefaultSettings() override;
    sevenzip::TGUID ArchiveCLSID() const override;
    UnicodeString ArchiveExtensions() const override { return u"*.7z"; }
    UnicodeString ArchiveName() const override { return u"7z archive"; }

    uint32_t GetNumberOfThreads() override { return numberOfThreads_; }
    // The decoder is always driven with one thread so that every callback stays on the
    // caller's thread; the value is kept for callers that ask.
    void SetNumberOfThreads(uint32_t Value) override;

protected:
    IUnknown* FindInterface(const sevenzip::TGUID& iid) override;

private:
    uint32_t numberOfThreads_ = 1;
};
