#include "installer/archive/ArxSevenzipArchive.h"

#include "installer/archive/ArxCompressionErrors.h"
#include "installer/archive/ArxFileUtils.h"
#include "installer/archive/ArxSevenzipCallbacks.h"
#include "installer/archive/ArxSevenzipProperties.h"
#include "installer/archive/ArxSevenzipStreams.h"
#include "installer/archive/sevenzip.h"
#include "platform/rtl/Format.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <optional>

using namespace sevenzip;

namespace {

// Item property ids of the decoder.
enum : PROPID {
    kpidPath = 3,
    kpidExtension = 5,
    kpidIsDir = 6,
    kpidSize = 7,
    kpidPackSize = 8,
    kpidAttrib = 9,
    kpidCTime = 10,
    kpidATime = 11,
    kpidMTime = 12,
    kpidEncrypted = 15,
    kpidCRC = 19,
    kpidMethod = 22,
    kpidHostOS = 23,
    kpidFileSystem = 24,
    kpidUser = 25,
    kpidGroup = 26,
    kpidComment = 28,
    kpidPosixAttrib = 53,
    kpidSymLink = 54,
};

// Handler property ids.
enum : PROPID { kHandlerClassID = 1, kHandlerSignature = 6 };

// Items reserved for before the listing shows how many there really are.
constexpr uint32_t kMaxItemReservation = 65536;

// The start of an archive may be searched this far into the stream.
constexpr uint64_t kMaxCheckStartPosition = 0x400000;

UnicodeString LoadFailureMessage() {
    UnicodeString reason = SevenZipLibraryLoadFailure();
    UnicodeString message(u"Sevenzip: Failed to load 7z.dll");
    return reason.IsEmpty() ? message : message + UnicodeString(u": ") + reason;
}

// Frees a property value with the library's allocator on every way out.
struct LibraryVariant {
    PROPVARIANT value{};
    ~LibraryVariant() { ClearLibraryVariant(value); }
};

} // namespace

TArxSevenzipDecompressArchive::~TArxSevenzipDecompressArchive() {
    inArchiveGetStream_.Clear();
    inArchive_.Clear();
}

void TArxSevenzipDecompressArchive::RequireLibrary() {
    if (!IsSevenZipLibraryLoaded() && !LoadSevenZipLibrary())
        throw EArxCompressionError(LoadFailureMessage());
}

IInArchive* TArxSevenzipDecompressArchive::InArchive() {
    if (inArchive_)
        return inArchive_.Get();
    TGUID classId = ArchiveCLSID();
    RequireLibrary();
    TCreateObjectFunc createObject = CreateObjectEntry();
    if (!createObject)
        throw EArxCompressionError(LoadFailureMessage());
    HRESULT result =
        createObject(&classId, &IID_IInArchive, reinterpret_cast<void**>(inArchive_.Receive()));
    if (result != S_OK || !inArchive_) {
        inArchive_.Clear();
        throw EArxCompressionError(Format(
            u"Sevenzip: Failed to get in archive interface for class %s", GUIDToString(classId)));
    }
    return inArchive_.Get();
}

IInArchiveGetStream* TArxSevenzipDecompressArchive::InArchiveGetStream() {
    if (!inArchiveGetStream_) {
        InArchive();
        inArchiveGetStream_ = inArchive_.As<IInArchiveGetStream>(IID_IInArchiveGetStream);
        if (!inArchiveGetStream_)
            throw EInvalidOperation("Interface not supported");
    }
    return inArchiveGetStream_.Get();
}

bool TArxSevenzipDecompressArchive::SupportsNestedArchive() {
    if (inArchiveGetStream_)
        return true;
    InArchive();
    inArchiveGetStream_ = inArchive_.As<IInArchiveGetStream>(IID_IInArchiveGetStream);
    return static_cast<bool>(inArchiveGetStream_);
}

std::unique_ptr<TArxCompressionItem> TArxSevenzipDecompressArchive::CreateArchiveItem() {
    return std::make_unique<TArxSevenzipDecompressItem>(this);
}

std::vector<uint8_t> TArxSevenzipDecompressArchive::ArchiveSignature() {
    std::vector<uint8_t> signature;
    TGUID classId = ArchiveCLSID();
    RequireLibrary();
    TGetNumberOfFormatsFunc getNumberOfFormats = GetNumberOfFormatsEntry();
    TGetHandlerProperty2Func getHandlerProperty2 = GetHandlerProperty2Entry();
    if (!getNumberOfFormats || !getHandlerProperty2)
        throw EArxCompressionError(LoadFailureMessage());
    uint32_t count = 0;
    CheckSevenzipResult(getNumberOfFormats(&count));
    for (uint32_t index = 0; index < count; ++index) {
        bool match = false;
        {
            LibraryVariant id;
            CheckSevenzipResult(getHandlerProperty2(index, kHandlerClassID, &id.value));
            if (id.value.vt != VT_BSTR)
                RaiseUnknownValueType(id.value.vt, kHandlerClassID);
            if (LibraryStringByteLength(id.value.bstrVal) != sizeof(TGUID))
                throw EArxCompressionError("Data error");
            TGUID handlerId;
            std::memcpy(&handlerId, id.value.bstrVal, sizeof handlerId);
            match = IsEqualGUID(handlerId, classId);
        }
        if (!match)
            continue;
        LibraryVariant value;
        CheckSevenzipResult(getHandlerProperty2(index, kHandlerSignature, &value.value));
        if (value.value.vt == VT_BSTR) {
            auto* bytes = reinterpret_cast<const uint8_t*>(value.value.bstrVal);
            signature.assign(bytes, bytes + LibraryStringByteLength(value.value.bstrVal));
        } else if (value.value.vt != VT_EMPTY) {
            RaiseUnknownValueType(value.value.vt, kHandlerSignature);
        }
        break;
    }
    return signature;
}

void TArxSevenzipDecompressArchive::ApplyArchiveSettings() {
    // The decoder runs multi-block archives on worker threads unless told otherwise, and the
    // callbacks must stay on the caller's thread: one thread, always, before the archive opens.
    auto properties = inArchive_.As<ISetProperties>(IID_ISetProperties);
    if (!properties)
        return;
    const wchar_t* names[] = {L"MT"};
    PROPVARIANT values[1]{};
    values[0].vt = VT_UI4;
    values[0].ulVal = 1;
    SafecallCheck(properties->SetProperties(names, values, 1));
}

void TArxSevenzipDecompressArchive::OpenInArchive() {
    if (opened_)
        return;
    TComPtr<IInStream> input;
    if (!VolumeFileNameMask.IsEmpty() || VolumeMaxSize != 0 || VolumeCount() > 0) {
        auto* split = new TArxDynamicSplitStream(false);
        split->OnVolume = [this](int index) { return VolumeStreamFor(index); };
        split->OnVolumeMaxSize = [this](int index) { return VolumeMaxSizeFor(index); };
        input = TComPtr<IInStream>::Share(new TArxSevenzipInStream(split, true));
    } else {
        input = TComPtr<IInStream>::Share(new TArxSevenzipInStream(VolumeStreamFor(0), false));
    }
    auto* openCallback = new TArxSevenzipOpenCallback(this);
    auto callback = TComPtr<IArchiveOpenCallback>::Share(openCallback);

    InArchive();
    ApplyArchiveSettings();
    HRESULT result = inArchive_->Open(input.Get(), &kMaxCheckStartPosition, callback.Get());
    // A refused password or a cancellation leaves no usable archive: it is not an empty one.
    if (result == E_ABORT)
        throw EArxCompressionCancelled("User abort");
    CheckSevenzipResult(result);
    opened_ = true;
}

void TArxSevenzipDecompressArchive::FillItem(TArxCompressionItem& item, uint32_t index) {
    // The fields are filled directly: listing is not an extraction, so the setters' checks
    // would only cost time on archives of millions of items.
    TArxPropertyReader read{inArchive_.Get(), index};
    item.ResetProperties();
    item.SetPackedIndex(index);
    item.diskNames_.reset();
    item.stream_ = nullptr;
    item.ownsStream_ = false;
    auto take = [&item](auto& field, auto&& value, TArxCompressionItemProperty property) {
        if (value) {
            field = std::move(*value);
            item.validProperties_.Include(property);
        }
    };
    auto takeText = [&item](UnicodeString TArxCompressionItem::Texts::*field,
                            std::optional<UnicodeString>&& value,
                            TArxCompressionItemProperty property) {
        if (value) {
            item.SetText(field, *value);
            item.validProperties_.Include(property);
        }
    };
    using Texts = TArxCompressionItem::Texts;
    take(item.packedName_, read.Text(kpidPath), ipPackedName);
    if (auto v = read.Text(kpidExtension))
        takeText(&Texts::packedExtension,
                 (!v->IsEmpty() && (*v)[1] != u'.') ? UnicodeString(u".") + *v : *v,
                 ipPackedExtension);
    take(item.attributes_, read.UInt32(kpidAttrib), ipAttributes);
    if (auto v = read.Boolean(kpidIsDir)) {
        item.attributes_ = *v ? (item.attributes_ | kArxFolderAttribute)
                              : (item.attributes_ & ~kArxFolderAttribute);
        item.validProperties_.Include(ipAttributes);
    }
    take(item.fileSize_, read.Int64(kpidSize), ipFileSize);
    take(item.packedSize_, read.Int64(kpidPackSize), ipPackedSize);
    take(item.creationTime_, read.FileTime(kpidCTime), ipCreationTime);
    take(item.lastAccessTime_, read.FileTime(kpidATime), ipLastAccessTime);
    take(item.lastWriteTime_, read.FileTime(kpidMTime), ipLastWriteTime);
    takeText(&Texts::comment, read.Text(kpidComment), ipComment);
    takeText(&Texts::hostOS, read.Text(kpidHostOS), ipHostOS);
    takeText(&Texts::hostFS, read.Text(kpidFileSystem), ipHostFS);
    takeText(&Texts::user, read.Text(kpidUser), ipUser);
    takeText(&Texts::group, read.Text(kpidGroup), ipGroup);
    take(item.crc_, read.UInt32(kpidCRC), ipCRC);
    takeText(&Texts::method, read.Text(kpidMethod), ipMethod);
    take(item.encrypted_, read.Boolean(kpidEncrypted), ipEncrypted);
    take(item.posixAttrib_, read.UInt32(kpidPosixAttrib), ipPosixAttrib);
    takeText(&Texts::link, read.Text(kpidSymLink), ipLink);
    item.modifiedProperties_.Clear();
}

void TArxSevenzipDecompressArchive::ListFiles() {
    CheckNotDecompressing();
    ClearItems();
    OpenInArchive();
    uint32_t count = 0;
    SafecallCheck(inArchive_->GetNumberOfItems(&count));
    // Items are counted in signed 32 bits; and the count only guides the first reservation, so
    // a count the archive does not back up costs no more than the items really listed.
    if (count > static_cast<uint32_t>(std::numeric_limits<int32_t>::max()))
        throw EArxCompressionError(Format(u"Sevenzip: The archive holds too many items (%s)",
                                          UnicodeString(std::to_string(count))));
    items_.reserve(std::min<uint32_t>(count, kMaxItemReservation));
    for (uint32_t i = 0; i < count; ++i) {
        auto item = CreateArchiveItem();
        FillItem(*item, i);
        AppendItem(std::move(item));
    }
}

void TArxSevenzipDecompressArchive::ExtractAll(const UnicodeString& ADestinationDir,
                                               bool AAutoCreateSubDir) {
    CheckNotDecompressing();
    std::vector<uint32_t> indices;
    for (int i = 0; i < ItemCount(); ++i) {
        Items(i)->SetSelected(true);
        indices.push_back(static_cast<uint32_t>(i));
    }
    Extract(std::move(indices), ADestinationDir, AAutoCreateSubDir);
}

void TArxSevenzipDecompressArchive::ExtractSelected(const UnicodeString& ADestinationDir,
                                                    bool AAutoCreateSubDir) {
    CheckNotDecompressing();
    std::vector<uint32_t> indices;
    for (int i = 0; i < ItemCount(); ++i)
        if (Items(i)->Selected())
            indices.push_back(static_cast<uint32_t>(i));
    Extract(std::move(indices), ADestinationDir, AAutoCreateSubDir);
}

void TArxSevenzipDecompressArchive::Extract(std::vector<uint32_t> indices,
                                            const UnicodeString& ADestinationDir,
                                            bool AAutoCreateSubDir) {
    destinationDir_ = ADestinationDir.IsEmpty()
                          ? ADestinationDir
                          : EnsureTrailingBackslash(NormalizeFolderPath(ADestinationDir));
    pendingFolderTimes_.clear();
    ClearItemFailure();
    ResetDestinationChecks();
    autoCreateSubDir_ = AAutoCreateSubDir;
    decompressing_ = true;
    for (auto& item : items_)
        if (auto* d = dynamic_cast<TArxDecompressItem*>(item.get()))
            d->extraction_ = TArxItemExtraction::NotAsked;

    auto callback = TComPtr<IArchiveExtractCallback>::Share(new TArxSevenzipExtractCallback(this));
    auto finish = [&] {
        // Whatever the decoder left half-written goes; the targets keep what they had.
        for (auto& item : items_) {
            if (auto* d = dynamic_cast<TArxDecompressItem*>(item.get())) {
                if (!d->StagingFileName().IsEmpty()) {
                    d->ReleaseStream();
                    d->DiscardStagingFile();
                }
            }
        }
        // Deepest first, as the folders were listed before what they hold.
        for (auto index = pendingFolderTimes_.rbegin(); index != pendingFolderTimes_.rend();
             ++index)
            items_[static_cast<size_t>(*index)]->ApplyTimesTo(
                items_[static_cast<size_t>(*index)]->FileNameText());
        pendingFolderTimes_.clear();
        destinationDir_ = UnicodeString();
        ResetDestinationChecks();
        decompressing_ = false;
        currentItemIndex_ = -1;
        callback.Clear();
    };
    try {
        // The indices come from the item list: without a listing nothing is extracted.
        OpenInArchive();
        HRESULT result = inArchive_->Extract(indices.data(), static_cast<uint32_t>(indices.size()),
                                             0, callback.Get());
        CheckExtractResult(result);
        CheckOperationSuccess();
    } catch (...) {
        finish();
        throw;
    }
    finish();
}

UnicodeString TArxSevenzipDecompressArchive::UnsafeItemMessage() const {
    for (const auto& item : items_) {
        auto* d = dynamic_cast<const TArxDecompressItem*>(item.get());
        if (d && d->Extraction() == TArxItemExtraction::Unsafe)
            return Format(u"Sevenzip: Item \"%s\" would be written outside the destination folder",
                          d->PackedName());
    }
    return UnicodeString();
}

void TArxSevenzipDecompressArchive::CheckExtractResult(HRESULT result) const {
    // An item refused as unsafe is reported whatever else went wrong, and a failure of ours
    // on an item says which item and why, where the decoder gives back only a code.
    UnicodeString unsafe = UnsafeItemMessage();
    UnicodeString failure = ItemFailure();
    if (!unsafe.IsEmpty()) {
        if (!failure.IsEmpty())
            unsafe += UnicodeString(u"; ") + failure;
        throw EArxCompressionError(unsafe);
    }
    if (!failure.IsEmpty())
        throw ESafecallException(failure);
    SafecallCheck(result);
}

TStream* TArxSevenzipDecompressItem::NestedArchiveStream() {
    auto* archive = dynamic_cast<TArxSevenzipDecompressArchive*>(archive_);
    if (!archive || !archive->SupportsNestedArchive())
        throw EArxCompressionError("Nested archive is not supported");
    TComPtr<ISequentialInStream> sequential;
    archive->InArchiveGetStream()->GetStream(packedIndex_, sequential.Receive());
    auto input = sequential.As<IInStream>(IID_IInStream);
    if (!input)
        throw EInvalidOperation("Interface not supported");
    return new TArxSevenzipNestedInStream(std::move(input));
}

// --- the 7z format ---

TArx7zDecompressArchive::TArx7zDecompressArchive(TStream* Volume0, int64_t AVolumeMaxSize,
                                                 bool AOwnVolume)
    : TArxSevenzipDecompressArchive(Volume0, AVolumeMaxSize, AOwnVolume) {
    ApplyDefaultSettings();
}

TArx7zDecompressArchive::TArx7zDecompressArchive(const UnicodeString& VolumeFileName,
                                                 int64_t AVolumeMaxSize, bool VolumeMask)
    : TArxSevenzipDecompressArchive(VolumeFileName, AVolumeMaxSize, VolumeMask) {
    ApplyDefaultSettings();
}

void TArx7zDecompressArchive::ApplyDefaultSettings() {
    TArxSevenzipDecompressArchive::ApplyDefaultSettings();
    numberOfThreads_ = 1;
}

TGUID TArx7zDecompressArchive::ArchiveCLSID() const {
    return CLSID_CFormat7z;
}

void TArx7zDecompressArchive::SetNumberOfThreads(uint32_t Value) {
    CheckNotDecompressing();
    numberOfThreads_ = Value;
}

IUnknown* TArx7zDecompressArchive::FindInterface(const TGUID& iid) {
    if (IsEqualGUID(iid, IID_IUnknown) || IsEqualGUID(iid, IID_IArxArchiveNumberOfThreads))
        return static_cast<IArxArchiveNumberOfThreads*>(this);
    return nullptr;
}
