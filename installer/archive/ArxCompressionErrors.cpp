#include "installer/archive/ArxCompressionErrors.h"

#include <cerrno>
#include <cstdio>
#include <new>

using namespace sevenzip;

namespace {

UnicodeString ErrorResultText(HRESULT result, const UnicodeString& text) {
    char code[16];
    std::snprintf(code, sizeof code, "%.8x", static_cast<uint32_t>(result));
    return UnicodeString("Sevenzip: Error result (") + UnicodeString(code) + UnicodeString(") \"") +
           text + UnicodeString("\"");
}

// The text for a result: the general codes by their meaning (their low 16 bits are no error
// number: E_OUTOFMEMORY's would read "Bad address"), an error number otherwise.
UnicodeString ResultText(HRESULT result) {
    switch (static_cast<uint32_t>(result)) {
    case static_cast<uint32_t>(E_OUTOFMEMORY):
        return u"Out of memory";
    case static_cast<uint32_t>(E_INVALIDARG):
        return u"Invalid argument";
    case static_cast<uint32_t>(E_NOTIMPL):
        return u"Not implemented";
    case static_cast<uint32_t>(E_NOINTERFACE):
        return u"Interface not supported";
    case static_cast<uint32_t>(E_FAIL):
        return u"Unspecified error";
    case static_cast<uint32_t>(E_UNEXPECTED):
        return u"Unexpected failure";
    default:
        return SysErrorMessage(static_cast<int>(result & 0xFFFF));
    }
}

bool EndsWith(const UnicodeString& text, const UnicodeString& tail) {
    return !tail.IsEmpty() && text.Length() >= tail.Length() &&
           text.SubString(text.Length() - tail.Length() + 1, tail.Length()) == tail;
}

} // namespace

void CheckSevenzipResult(HRESULT result) {
    if (result == S_OK || result == E_ABORT)
        return;
    if (result == S_FALSE)
        throw EArxCompressionFalse(ErrorResultText(result, u"S_FALSE"));
    throw EArxCompressionError(ErrorResultText(result, ResultText(result)));
}

void SafecallCheck(HRESULT result) {
    if (result < 0)
        throw ESafecallException("Exception in safecall method");
}

HRESULT SafeCallException(std::exception_ptr error) {
    // An error code of 0 would read as success to the decoder: a failed call is never
    // answered with S_OK.
    int lastError = errno;
    try {
        std::rethrow_exception(error);
    } catch (const ENotSupportedException&) {
        return E_NOTIMPL;
    } catch (const EInvalidArgument&) {
        return E_INVALIDARG;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (const EOutOfResources&) {
        return E_OUTOFMEMORY;
    } catch (const EArxCompressionCancelled&) {
        return E_ABORT;
    } catch (const EOSError& e) {
        return e.ErrorCode != 0 ? HResultFromOSError(e.ErrorCode) : E_FAIL;
    } catch (const EStreamError& e) {
        if (lastError != 0 && EndsWith(e.Message(), SysErrorMessage(lastError)))
            return HResultFromOSError(static_cast<uint32_t>(lastError));
        return E_FAIL;
    } catch (...) {
        return E_UNEXPECTED;
    }
}
