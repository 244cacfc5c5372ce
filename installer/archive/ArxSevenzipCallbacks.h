// The callback objects the decoder reports to while opening and while extracting: progress,
// password, and the per-item target and result.
#pragma once

#include "installer/archive/ArxSafecallObject.h"

class TArxCompressionArchive;

class TArxSevenzipOpenCallback : public TArxSafecallInterfacedObject,
                                 public ICryptoGetTextPassword,
                                 public IArchiveOpenCallback {
public:
    explicit TArxSevenzipOpenCallback(TArxCompressionArchive* AArchive) : archive_(AArchive) {}

    ARX_IMPLEMENT_IUNKNOWN
    sevenzip::HRESULT SetTotal(const uint64_t* files, const uint64_t* bytes) noexcept override;
    sevenzip::HRESULT SetCompleted(const uint64_t* files, const uint64_t* bytes) noexcept override;
    sevenzip::HRESULT CryptoGetTextPassword(sevenzip::BSTR* password) noexcept override;

    // True once the password was refused or the caller cancelled: the open was aborted by us.
    bool Aborted() const { return aborted_; }

protected:
    IUnknown* FindInterface(const sevenzip::TGUID& iid) override;

private:
    TArxCompressionArchive* archive_;
    bool aborted_ = false;
};

class TArxSevenzipExtractCallback : public TArxSafecallInterfacedObject,
                                    public ICompressProgressInfo,
                                    public ICryptoGetTextPassword,
                                    public IArchiveExtractCallback {
public:
    explicit TArxSevenzipExtractCallback(TArxCompressionArchive* AArchive) : archive_(AArchive) {}

    ARX_IMPLEMENT_IUNKNOWN
    sevenzip::HRESULT SetTotal(uint64_t total) noexcept override;
    sevenzip::HRESULT SetCompleted(const uint64_t* completed) noexcept override;
    sevenzip::HRESULT SetRatioInfo(const uint64_t* inSize,
                                   const uint64_t* outSize) noexcept override;
    sevenzip::HRESULT CryptoGetTextPassword(sevenzip::BSTR* password) noexcept override;
    sevenzip::HRESULT GetStream(uint32_t index, ISequentialOutStream** stream,
                                int32_t askExtractMode) noexcept override;
    sevenzip::HRESULT PrepareOperation(int32_t askExtractMode) noexcept override;
    sevenzip::HRESULT SetOperationResult(int32_t operationResult) noexcept override;

protected:
    IUnknown* FindInterface(const sevenzip::TGUID& iid) override;

private:
    void FinishAcceptedItem(int32_t operationResult);

    TArxCompressionArchive* archive_;
    uint32_t lastStream_ = 0;
};
