#include "installer/archive/ArxSevenzipCallbacks.h"

#include "installer/archive/ArxCompressionArchive.h"
#include "installer/archive/ArxCompressionErrors.h"
#include "installer/archive/ArxFileTimes.h"
#include "installer/archive/ArxFileUtils.h"
#include "installer/archive/ArxSevenzipStreams.h"
#include "installer/archive/sevenzip.h"

#include <cerrno>

using namespace sevenzip;

namespace {

// Extraction modes and item results of the decoder.
enum : int32_t { kExtract = 0, kTest = 1, kSkip = 2 };
enum : int32_t { kResultOK = 0, kUnsupportedMethod = 1, kDataError = 2, kCRCError = 3 };

[[noreturn]] void RaiseUserAbort() {
    throw EArxCompressionCancelled("User abort");
}

HRESULT PasswordResult(const UnicodeString& password, BSTR* out) {
    if (!out)
        return E_INVALIDARG;
    *out = AllocLibraryString(password);
    return *out ? S_OK : E_OUTOFMEMORY;
}

} // namespace

// --- open callback ---

IUnknown* TArxSevenzipOpenCallback::FindInterface(const TGUID& iid) {
    if (IsEqualGUID(iid, IID_IUnknown) || IsEqualGUID(iid, IID_IArchiveOpenCallback))
        return static_cast<IArchiveOpenCallback*>(this);
    if (IsEqualGUID(iid, IID_ICryptoGetTextPassword))
        return static_cast<ICryptoGetTextPassword*>(this);
    return nullptr;
}

HRESULT TArxSevenzipOpenCallback::SetTotal(const uint64_t* files, const uint64_t*) noexcept {
    return ArxGuardedCall([&] {
        if (files)
            archive_->SetProgressMax(static_cast<int64_t>(*files));
        if (archive_->CancelCurrentOperation) {
            aborted_ = true;
            RaiseUserAbort();
        }
        return S_OK;
    });
}

HRESULT TArxSevenzipOpenCallback::SetCompleted(const uint64_t* files, const uint64_t*) noexcept {
    return ArxGuardedCall([&] {
        if (!files)
            return S_OK;
        if (!archive_->ReportProgress(static_cast<int64_t>(*files), archive_->ProgressMax())) {
            aborted_ = true;
            RaiseUserAbort();
        }
        return S_OK;
    });
}

HRESULT TArxSevenzipOpenCallback::CryptoGetTextPassword(BSTR* password) noexcept {
    return ArxGuardedCall([&] {
        if (password)
            *password = nullptr;
        if (!archive_->AskOpenPassword()) {
            aborted_ = true;
            RaiseUserAbort();
        }
        return PasswordResult(archive_->Password, password);
    });
}

// --- extract callback ---

IUnknown* TArxSevenzipExtractCallback::FindInterface(const TGUID& iid) {
    if (IsEqualGUID(iid, IID_IUnknown) || IsEqualGUID(iid, IID_IProgress) ||
        IsEqualGUID(iid, IID_IArchiveExtractCallback))
        return static_cast<IArchiveExtractCallback*>(this);
    if (IsEqualGUID(iid, IID_ICryptoGetTextPassword))
        return static_cast<ICryptoGetTextPassword*>(this);
    if (IsEqualGUID(iid, IID_ICompressProgressInfo))
        return static_cast<ICompressProgressInfo*>(this);
    return nullptr;
}

HRESULT TArxSevenzipExtractCallback::SetTotal(uint64_t total) noexcept {
    return ArxGuardedCall([&] {
        archive_->SetProgressMax(static_cast<int64_t>(total));
        if (archive_->CancelCurrentOperation)
            RaiseUserAbort();
        return S_OK;
    });
}

HRESULT TArxSevenzipExtractCallback::SetCompleted(const uint64_t* completed) noexcept {
    return ArxGuardedCall([&] {
        if (completed &&
            !archive_->ReportProgress(static_cast<int64_t>(*completed), archive_->ProgressMax()))
            RaiseUserAbort();
        return S_OK;
    });
}

HRESULT TArxSevenzipExtractCallback::SetRatioInfo(const uint64_t* inSize,
                                                  const uint64_t* outSize) noexcept {
    return ArxGuardedCall([&] {
        int64_t in = inSize ? static_cast<int64_t>(*inSize) : -1;
        int64_t out = outSize ? static_cast<int64_t>(*outSize) : -1;
        if (!archive_->ReportRatio(in, out))
            RaiseUserAbort();
        return S_OK;
    });
}

HRESULT TArxSevenzipExtractCallback::CryptoGetTextPassword(BSTR* password) noexcept {
    return ArxGuardedCall([&] { return PasswordResult(archive_->Password, password); });
}

HRESULT TArxSevenzipExtractCallback::GetStream(uint32_t index, ISequentialOutStream** stream,
                                               int32_t askExtractMode) noexcept {
    return ArxItemGuardedCall(archive_, static_cast<int>(index), [&] {
        if (stream)
            *stream = nullptr;
        lastStream_ = index;
        TArxCompressionItem* item = archive_->Items(static_cast<int>(index));
        auto* decompressItem = dynamic_cast<TArxDecompressItem*>(item);
        if (askExtractMode == kTest || askExtractMode == kSkip) {
            if (decompressItem)
                decompressItem->extraction_ = TArxItemExtraction::NotWritten;
            return S_OK;
        }
        if (askExtractMode != kExtract)
            return E_INVALIDARG;
        if (!item->PrepareExtraction(static_cast<int>(index))) {
            // Answering S_FALSE here would make the decoder give up on the rest of a solid
            // block; with no stream it just skips this item.
            if (decompressItem && decompressItem->extraction_ != TArxItemExtraction::Unsafe)
                decompressItem->extraction_ = TArxItemExtraction::Refused;
            return S_OK;
        }
        if (decompressItem) {
            decompressItem->extraction_ = TArxItemExtraction::Accepted;
            decompressItem->callerStream_ = item->stream_ != nullptr;
        }
        if (stream) {
            auto* out = new TArxSevenzipOutStream(archive_, static_cast<int>(index));
            *stream = static_cast<ISequentialOutStream*>(out);
            out->AddRef();
        }
        return S_OK;
    });
}

HRESULT TArxSevenzipExtractCallback::PrepareOperation(int32_t) noexcept {
    return S_OK;
}

HRESULT TArxSevenzipExtractCallback::SetOperationResult(int32_t operationResult) noexcept {
    return ArxItemGuardedCall(archive_, static_cast<int>(lastStream_), [&] {
        TArxCompressionItem* item = archive_->Items(static_cast<int>(lastStream_));
        auto* decompressItem = dynamic_cast<TArxDecompressItem*>(item);
        auto extraction =
            decompressItem ? decompressItem->extraction_ : TArxItemExtraction::Accepted;
        // A refused item keeps everything as it was, its result included.
        if (extraction == TArxItemExtraction::Refused || extraction == TArxItemExtraction::Unsafe)
            return S_OK;
        switch (operationResult) {
        case kResultOK:
            item->operationSuccess_ = osOK;
            break;
        case kUnsupportedMethod:
            item->operationSuccess_ = osUnsupportedMethod;
            break;
        case kDataError:
            item->operationSuccess_ = osDataError;
            break;
        case kCRCError:
            item->operationSuccess_ = osCRCError;
            break;
        default:
            item->operationSuccess_ = osUnknownError;
            break;
        }
        // The decoder reports the items of a damaged block in test mode: they were never
        // written, so there is no file to finish.
        if (extraction == TArxItemExtraction::Accepted)
            FinishAcceptedItem(operationResult);
        return S_OK;
    });
}

void TArxSevenzipExtractCallback::FinishAcceptedItem(int32_t operationResult) {
    TArxCompressionItem* item = archive_->Items(static_cast<int>(lastStream_));
    auto* decompressItem = dynamic_cast<TArxDecompressItem*>(item);
    item->ReleaseStream();
    if (operationResult != kResultOK) {
        // The target keeps what it had; only the partial copy goes.
        if (decompressItem)
            decompressItem->DiscardStagingFile();
        return;
    }
    const UnicodeString fileName = item->FileNameText();
    if (fileName.IsEmpty())
        return;
    bool folderItem = (item->attributes_ & kArxFolderAttribute) != 0;
    bool callerStream = decompressItem && decompressItem->callerStream_;
    if (decompressItem && !decompressItem->StagingFileName().IsEmpty()) {
        if (!decompressItem->CommitStagingFile())
            RaiseLastOSError();
    } else if (folderItem && ArxFolderExists(fileName)) {
        // The items written into the folder afterwards would move its times again: they are
        // set once the run is over.
        if (auto* archive = dynamic_cast<TArxDecompressArchive*>(archive_))
            archive->pendingFolderTimes_.push_back(static_cast<int>(lastStream_));
        return;
    } else if (callerStream && ArxEntryExists(fileName)) {
        // The data went elsewhere: only the times are wanted, on the entry standing there (a
        // link itself, never what it points to).
    } else if (CreateNewEmptyFile(fileName)) {
        // Nothing stood there: the empty file is complete as made.
    } else if (errno != EEXIST) {
        RaiseLastOSError();
    } else {
        // An item that received no data is an empty file, which replaces the target in one
        // step like any other; so is the entry made for a caller's stream when there is none.
        TArxStagingFile staging = CreateStagingFile(ExtractFolderPart(fileName));
        staging.stream.reset();
        if (!ReplaceFile(staging.name, fileName)) {
            int error = errno;
            ArxRemoveFile(staging.name);
            RaiseLastOSError(error);
        }
    }
    item->ApplyTimesTo(fileName);
}
