// Unpacking one 7z archive into a database folder with progress.
//
// The archive library writes every item under a temporary name beside its target and renames it
// into place only once the decoder reported it complete and correct, so whatever stops an
// unpacking (a damaged block, a full disk, the process ended by Cancel) leaves each file either
// as it was or wholly new. That is why an existing target is never deleted here beforehand.
#include "installer/archive/ArxCompression.h"
#include "installer/config/General_module.h"
#include "installer/engine/Myfileop_class.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FileStream.h"
#include "platform/rtl/FileSystem.h"
#include "platform/rtl/Paths.h"
#include "platform/rtl/StringList.h"
#include "platform/win/CaseFold.h"
#include "platform/win/FileSystem.h"
#include "platform/win/WindowsPath.h"
#include "scene/controls/Sg_progressbar.h"

#include <cmath>
#include <filesystem>
#include <memory>
#include <system_error>

namespace fs = std::filesystem;

namespace {

constexpr double kItemShare = 0.65;
constexpr double kByteShare = 0.35;
// Progress is published on every 7th item announcement and every 3rd byte report.
constexpr int kItemCallInterval = 6;
constexpr int kProgressCallInterval = 2;

} // namespace

bool MyFileOp::Extract7z(const UnicodeString& archive, const UnicodeString& destination,
                         TsgProgressBar* mainBarArg, TsgProgressBar* subBarArg) {
    if (archive.IsEmpty() || !FileExists(archive)) {
        if (GeneralMod && GeneralMod->startupLog)
            GeneralMod->startupLog->Add(u"Archiwum nie istnieje: " + archive);
        return false;
    }
    std::unique_ptr<TFileStream> file;
    try {
        file = std::make_unique<TFileStream>(archive, fmOpenRead | fmShareDenyWrite);
    } catch (const Exception&) {
        return false;
    }
    std::unique_ptr<TArx7zDecompressArchive> packed;
    try {
        packed = std::make_unique<TArx7zDecompressArchive>(file.get(), 0, false);
    } catch (const Exception&) {
        return false;
    }
    Pump();
    packed->Password = GetArchivePassword();
    try {
        packed->ListFiles();
    } catch (const Exception&) {
        return false;
    }
    Pump();

    subBar = subBarArg;
    mainBar = mainBarArg;
    if (subBar) {
        subBar->SetMin(0);
        subBar->SetMax(1);
        subBar->SetValue(0);
    }
    mainStart = mainBar ? static_cast<int64_t>(std::trunc(mainBar->Value())) : 0;
    packed->OnExtract = [this](TArxCompressionArchive* sender, int index, UnicodeString& fileName,
                               TStream*& stream, bool& ownsStream) {
        return OnExtractItem(sender, index, fileName, stream, ownsStream);
    };
    packed->OnProgress = [this](TArxCompressionArchive* sender, int64_t value, int64_t maxValue) {
        OnExtractProgress(sender, value, maxValue);
    };
    itemCount = packed->ItemCount();
    totalBytes = 0;
    for (int i = 0; i < itemCount; ++i)
        totalBytes += packed->Items(i)->FileSize();
    currentItem = 0;
    bytesDone = 0;
    itemCallCounter = 0;
    progressCallCounter = 0;

    bool result = false;
    unpackFolderNames.clear();
    try {
        packed->ExtractAll(destination, true);
        result = true;
    } catch (const Exception& error) {
        Log(u"Rozpakowanie " + archive + u" nie powiodło się: " + UnicodeString(error.what()));
        result = false;
    }

    unpackFolderNames.clear();
    packed->OnProgress = nullptr;
    packed->OnExtract = nullptr;
    packed.reset();
    file.reset();
    Pump();
    subBar = nullptr;
    mainBar = nullptr;
    itemCount = 0;
    totalBytes = 0;
    mainStart = 0;
    currentItem = 0;
    bytesDone = 0;
    return result;
}

bool MyFileOp::OnExtractItem(TArxCompressionArchive* /*sender*/, int index, UnicodeString& fileName,
                             TStream*& /*stream*/, bool& /*ownsStream*/) {
    currentItem = index;
    itemCallCounter = itemCallCounter >= kItemCallInterval ? 0 : itemCallCounter + 1;
    if (itemCallCounter == 0)
        UpdateExtractProgress();
    // A file the platform would refuse to delete keeps its content; any other is replaced by
    // the item's complete copy in one step.
    return !IsReadOnlyTarget(fileName);
}

bool MyFileOp::IsReadOnlyTarget(const UnicodeString& fileName) {
    const fs::path exact(win::ToNativePath(fileName.ToUtf8()));
    std::error_code error;
    const fs::file_status status = fs::symlink_status(exact, error);
    if (fs::exists(status))
        return fs::is_regular_file(fs::status(exact, error)) && win::IsReadOnly(exact.string());
    const fs::path folder = exact.parent_path();
    if (exact.filename().empty() || !fs::is_directory(folder, error))
        return FileExists(fileName) && win::IsReadOnly(NativePath(fileName));
    auto [names, listed] = unpackFolderNames.try_emplace(folder.string());
    if (listed)
        for (const win::FoundEntry& entry : win::FindEntries(folder.string() + "/*"))
            if (!entry.directory)
                names->second.insert(win::FoldCase(entry.name));
    if (!names->second.count(win::FoldCase(exact.filename().string())))
        return false;
    return FileExists(fileName) && win::IsReadOnly(NativePath(fileName));
}

void MyFileOp::OnExtractProgress(TArxCompressionArchive* /*sender*/, int64_t value,
                                 int64_t /*maxValue*/) {
    bytesDone = value;
    progressCallCounter =
        progressCallCounter >= kProgressCallInterval ? 0 : progressCallCounter + 1;
    if (progressCallCounter == 0)
        UpdateExtractProgress();
}

void MyFileOp::UpdateExtractProgress() {
    const double items =
        itemCount > 0 ? static_cast<double>(currentItem) / static_cast<double>(itemCount) : 0.0;
    // An archive of empty files has all its bytes out from the start.
    const double bytes =
        totalBytes > 0 ? static_cast<double>(bytesDone) / static_cast<double>(totalBytes) : 1.0;
    const double fraction = kItemShare * items + kByteShare * bytes;
    if (subBar) {
        subBar->SetValue(static_cast<float>(fraction));
        if (mainBar)
            mainBar->SetValue(static_cast<float>(static_cast<double>(totalBytes) *
                                                     static_cast<double>(subBar->Value()) +
                                                 static_cast<double>(mainStart)));
    }
    WriteUpdateProgress(
        static_cast<int64_t>(std::floor(static_cast<double>(totalBytes) * fraction)),
        UnicodeString(), false);
    Pump();
}
