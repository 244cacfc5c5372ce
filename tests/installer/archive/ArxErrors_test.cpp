// Both directions between the library's exceptions and the decoder's result codes, the per-item
// success check and the loader's refusal of builds it cannot drive.
#include "installer/archive/ArxCompression.h"
#include "installer/archive/sevenzip.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <new>

using namespace sevenzip;

namespace {

TEST(ArxErrors, CheckSevenzipResult) {
    EXPECT_NO_THROW(CheckSevenzipResult(S_OK));
    EXPECT_NO_THROW(CheckSevenzipResult(E_ABORT));
    try {
        CheckSevenzipResult(S_FALSE);
        FAIL() << "S_FALSE passed";
    } catch (const EArxCompressionFalse& e) {
        EXPECT_EQ(e.Message().ToUtf8(), "Sevenzip: Error result (00000001) \"S_FALSE\"");
    }
    try {
        CheckSevenzipResult(E_FAIL);
        FAIL() << "E_FAIL passed";
    } catch (const EArxCompressionFalse&) {
        FAIL() << "E_FAIL is not S_FALSE";
    } catch (const EArxCompressionError& e) {
        EXPECT_TRUE(e.Message().ToUtf8().starts_with("Sevenzip: Error result (80004005)"));
    }
}

TEST(ArxErrors, SafecallCheckFailsOnlyNegativeResults) {
    EXPECT_NO_THROW(SafecallCheck(S_OK));
    EXPECT_NO_THROW(SafecallCheck(S_FALSE));
    EXPECT_THROW(SafecallCheck(E_ABORT), ESafecallException);
}

TEST(ArxErrors, ExceptionsBecomeResults) {
    const struct {
        const char* what;
        std::exception_ptr error;
        HRESULT expected;
    } cases[] = {
        {"cancel", std::make_exception_ptr(EArxCompressionCancelled("User abort")), E_ABORT},
        {"argument", std::make_exception_ptr(EInvalidArgument("x")), E_INVALIDARG},
        {"memory", std::make_exception_ptr(std::bad_alloc()), E_OUTOFMEMORY},
        {"os error", std::make_exception_ptr(EOSError("x", 28)), HResultFromOSError(28)},
        // Error code 0 must never read as success.
        {"os error 0", std::make_exception_ptr(EOSError("x", 0)), E_FAIL},
        {"stream", std::make_exception_ptr(EFCreateError("Cannot create file")), E_FAIL},
        {"other", std::make_exception_ptr(EArxCompressionError("x")), E_UNEXPECTED},
        {"foreign", std::make_exception_ptr(42), E_UNEXPECTED},
    };
    for (const auto& c : cases) {
        errno = 0;
        EXPECT_EQ(SafeCallException(c.error), c.expected) << c.what;
    }
}

TEST(ArxErrors, StreamErrorCarryingTheSystemTextKeepsTheCode) {
    errno = 13;
    HRESULT result = SafeCallException(std::make_exception_ptr(
        EFCreateError(UnicodeString("Cannot create file \"x\". ") + SysErrorMessage(13))));
    EXPECT_EQ(result, HResultFromOSError(13));
}

TEST(ArxErrors, GuardedCallNeverLetsAnExceptionThrough) {
    EXPECT_EQ(ArxGuardedCall([]() -> HRESULT { throw EArxCompressionCancelled("User abort"); }),
              E_ABORT);
    EXPECT_EQ(ArxGuardedCall([] { return S_OK; }), S_OK);
}

TEST(ArxErrors, ModuleBuildCheck) {
    EXPECT_TRUE(CheckSevenZipModuleProps(0, (23u << 16) | 1).IsEmpty());
    EXPECT_TRUE(CheckSevenZipModuleProps(0, (26u << 16) | 2).IsEmpty());
    UnicodeString old = CheckSevenZipModuleProps(0, (16u << 16) | 2);
    EXPECT_NE(old.ToUtf8().find("version 16.02"), std::string::npos) << old.ToUtf8();
    UnicodeString destructor = CheckSevenZipModuleProps(1, (23u << 16) | 1);
    EXPECT_NE(destructor.ToUtf8().find("interface type 1"), std::string::npos);
}

TEST(ArxErrors, GuidText) {
    EXPECT_EQ(GUIDToString(CLSID_CFormat7z).ToUtf8(), "{23170F69-40C1-278A-1000-000110070000}");
    EXPECT_TRUE(IsEqualGUID(IID_IInArchive, SevenzipInterfaceId(6, 0x60)));
    EXPECT_FALSE(IsEqualGUID(IID_IInArchive, IID_IOutArchive));
}

TEST(ArxErrors, WideNamesDecodeAsUtf16) {
    const wchar_t widened[] = {L'a', 0xD834, 0xDD1E, 0};
    const wchar_t whole[] = {L'a', 0x1D11E, 0};
    EXPECT_EQ(WideToUnicode(widened).str(), std::u16string(u"a\U0001D11E"));
    EXPECT_EQ(WideToUnicode(whole).str(), std::u16string(u"a\U0001D11E"));
}

TEST(ArxLoader, MissingLibraryIsRefusedWithTheLibraryMessage) {
    // The loader keeps one module per process, so this runs in a fresh process of its own.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            SetSevenZipLibraryFileName(u"/nonexistent/7z.so");
            TArx7zDecompressArchive archive(u"/nonexistent/a.7z");
            try {
                archive.ListFiles();
            } catch (const EArxCompressionError& e) {
                std::exit(e.Message().ToUtf8().starts_with("Sevenzip: Failed to load 7z.dll") &&
                                  !IsSevenZipLibraryLoaded()
                              ? 0
                              : 2);
            }
            std::exit(3);
        },
        ::testing::ExitedWithCode(0), "");
}

} // namespace
