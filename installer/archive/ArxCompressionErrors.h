// The archive library's errors, and the two-way translation between them and the decoder's
// result codes.
#pragma once

#include "installer/archive/ArxBase.h"
#include "installer/archive/SevenzipTypes.h"

#include <exception>

DBI_DECLARE_EXCEPTION(EArxCompressionError, EArxError);
// Cancellation and a refused password.
DBI_DECLARE_EXCEPTION(EArxCompressionCancelled, EArxCompressionError);
// S_FALSE from a tested decoder call.
DBI_DECLARE_EXCEPTION(EArxCompressionFalse, EArxCompressionError);

// The library's result test: S_OK and E_ABORT pass, S_FALSE raises EArxCompressionFalse,
// anything else EArxCompressionError, both with "Sevenzip: Error result (%.8x) "%s"".
void CheckSevenzipResult(sevenzip::HRESULT result);

// The safecall test applied to the decoder's interface calls: only a negative result fails, with
// ESafecallException.
void SafecallCheck(sevenzip::HRESULT result);

// The result answered to the decoder for an exception that left one of our interface methods.
sevenzip::HRESULT SafeCallException(std::exception_ptr error);

// Runs an interface method's body so that no exception crosses into the decoder.
template <typename Body>
sevenzip::HRESULT ArxGuardedCall(Body&& body) noexcept {
    try {
        return body();
    } catch (...) {
        return SafeCallException(std::current_exception());
    }
}
