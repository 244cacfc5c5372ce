// The callback objects as the decoder sees them: results, progress, passwords.
#include "ArchiveFixtures.h"

#include "installer/archive/ArxCompression.h"
#include "installer/archive/sevenzip.h"

#include <gtest/gtest.h>

using namespace sevenzip;

namespace {

// An archive with a few listed-looking items and no decoder behind it.
struct ItemsOnly : TArx7zDecompressArchive {
    explicit ItemsOnly(int count) : TArx7zDecompressArchive(u"/nonexistent.7z") {
        for (int i = 0; i < count; ++i)
            AppendItem(CreateArchiveItem());
    }
};

template <typename Callback>
TComPtr<Callback> Make(TArxCompressionArchive* archive) {
    return TComPtr<Callback>::Share(new Callback(archive));
}

TEST(ArxCallbacks, ProgressAndRatioReachTheEvents) {
    ItemsOnly archive(1);
    std::vector<std::pair<int64_t, int64_t>> progress, ratio;
    archive.OnProgress = [&](TArxCompressionArchive*, int64_t v, int64_t m) {
        progress.push_back({v, m});
    };
    archive.OnRatio = [&](TArxCompressionArchive*, int64_t in, int64_t out) {
        ratio.push_back({in, out});
    };
    auto callback = Make<TArxSevenzipExtractCallback>(&archive);
    uint64_t done = 40, in = 7;
    EXPECT_EQ(callback->SetTotal(100), S_OK);
    EXPECT_EQ(callback->SetCompleted(nullptr), S_OK);
    EXPECT_EQ(callback->SetCompleted(&done), S_OK);
    EXPECT_EQ(callback->SetRatioInfo(nullptr, nullptr), S_OK);
    EXPECT_EQ(callback->SetRatioInfo(&in, nullptr), S_OK);
    EXPECT_EQ(progress, (std::vector<std::pair<int64_t, int64_t>>{{40, 100}}));
    EXPECT_EQ(ratio, (std::vector<std::pair<int64_t, int64_t>>{{-1, -1}, {7, -1}}));

    // A cancelled run answers the abort code at the next report of any kind.
    archive.CancelCurrentOperation = true;
    EXPECT_EQ(callback->SetCompleted(&done), E_ABORT);
    EXPECT_EQ(callback->SetTotal(100), E_ABORT);
    EXPECT_EQ(callback->SetRatioInfo(&in, &in), E_ABORT);
}

TEST(ArxCallbacks, ExtractModes) {
    ItemsOnly archive(2);
    auto callback = Make<TArxSevenzipExtractCallback>(&archive);
    ISequentialOutStream* stream = reinterpret_cast<ISequentialOutStream*>(&archive);
    EXPECT_EQ(callback->GetStream(1, &stream, 2), S_OK);
    EXPECT_EQ(stream, nullptr);
    EXPECT_EQ(callback->GetStream(1, &stream, 7), E_INVALIDARG);
    // An index the archive does not have must not escape as an exception.
    EXPECT_LT(callback->GetStream(9, &stream, 0), 0);
    EXPECT_EQ(callback->PrepareOperation(0), S_OK);
}

TEST(ArxCallbacks, Interfaces) {
    ItemsOnly archive(0);
    auto callback = Make<TArxSevenzipExtractCallback>(&archive);
    EXPECT_TRUE(callback.As<ICryptoGetTextPassword>(IID_ICryptoGetTextPassword));
    EXPECT_TRUE(callback.As<ICompressProgressInfo>(IID_ICompressProgressInfo));
    EXPECT_TRUE(callback.As<IProgress>(IID_IProgress));
    EXPECT_FALSE(callback.As<IInStream>(IID_IInStream));
    auto open = Make<TArxSevenzipOpenCallback>(&archive);
    EXPECT_TRUE(open.As<ICryptoGetTextPassword>(IID_ICryptoGetTextPassword));
    EXPECT_FALSE(open.As<IArchiveExtractCallback>(IID_IArchiveExtractCallback));
}

TEST(ArxCallbacks, PasswordsComeFromTheLibrarysAllocator) {
    ASSERT_TRUE(LoadSevenZipLibrary()) << SevenZipLibraryLoadFailure().ToUtf8();
    ItemsOnly archive(0);
    archive.Password = u"zażółć";
    auto extract = Make<TArxSevenzipExtractCallback>(&archive);
    auto extractPassword = extract.As<ICryptoGetTextPassword>(IID_ICryptoGetTextPassword);
    BSTR text = nullptr;
    ASSERT_EQ(extractPassword->CryptoGetTextPassword(&text), S_OK);
    EXPECT_EQ(WideToUnicode(text).ToUtf8(), "zażółć");
    EXPECT_EQ(LibraryStringByteLength(text), 6 * sizeof(wchar_t));
    FreeLibraryString(text);

    auto* open = new TArxSevenzipOpenCallback(&archive);
    auto openRef = TComPtr<ICryptoGetTextPassword>::Share(open);
    bool allow = false;
    archive.OnOpenPassword = [&](TArxCompressionArchive*, UnicodeString& password) {
        password = u"inne";
        return allow;
    };
    EXPECT_EQ(openRef->CryptoGetTextPassword(&text), E_ABORT);
    EXPECT_TRUE(open->Aborted());
    allow = true;
    ASSERT_EQ(openRef->CryptoGetTextPassword(&text), S_OK);
    EXPECT_EQ(WideToUnicode(text).ToUtf8(), "inne");
    FreeLibraryString(text);
}

} // namespace
