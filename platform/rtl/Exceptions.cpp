#include "platform/rtl/Exceptions.h"

#include <cerrno>
#include <cstring>
#include <type_traits>

Exception::Exception(const UnicodeString& message) : message_(message), utf8_(message.ToUtf8()) {}

void Exception::SetMessage(const UnicodeString& message) {
    message_ = message;
    utf8_ = message.ToUtf8();
}

UnicodeString SysErrorMessage(int error) {
    // strerror_r comes in two flavours; the GNU one may return a static string instead of
    // filling the buffer.
    char buffer[256] = {};
    auto answer = strerror_r(error, buffer, sizeof buffer);
    if constexpr (std::is_same_v<decltype(answer), char*>) {
        return UnicodeString(answer ? answer : buffer);
    } else {
        return UnicodeString(answer == 0 ? buffer : "Unknown error");
    }
}

void RaiseLastOSError(int error) {
    if (error == 0)
        error = errno;
    if (error == 0)
        throw EOSError(UnicodeString("A call to an OS function failed"), 0);
    throw EOSError(UnicodeString("System Error.  Code: ") + UnicodeString(std::to_string(error)) +
                       UnicodeString(".\n") + SysErrorMessage(error),
                   static_cast<unsigned>(error));
}
