// Float and integer text: anything parses or is refused, and what is written reads back.
#include "platform/rtl/Conversions.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 4096)
        return 0;
    UnicodeString text =
        UnicodeString::FromUtf8(std::string_view(reinterpret_cast<const char*>(data), size));
    double value;
    if (TryStrToFloat(text, value)) {
        if (!std::isfinite(value))
            __builtin_trap();
        // Fifteen significant digits come back within their rounding.
        double back = StrToFloat(FloatToStr(value));
        if (std::fabs(back - value) > std::fabs(value) * 1e-14)
            __builtin_trap();
        (void)FormatFloat(u"#,##0.#", value);
        (void)Format(u"%.3f|%g|%e", value, value, value);
        try {
            (void)Round(value);
            (void)Trunc(value);
        } catch (const EInvalidOp&) {
            if (std::fabs(value) < 9e18)
                __builtin_trap();
        }
    } else {
        bool raised = false;
        try {
            (void)StrToFloat(text);
        } catch (const EConvertError&) {
            raised = true;
        }
        if (!raised)
            __builtin_trap();
    }
    int64_t integer;
    if (TryStrToInt64(text, integer) && StrToInt64(IntToStr(integer)) != integer)
        __builtin_trap();
    // The text as a format pattern: refused or formatted, never anything worse.
    try {
        (void)Format(text, 1, "s", 2.5);
    } catch (const EConvertError&) {
    }
    return 0;
}
