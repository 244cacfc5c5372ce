// The platform's exception family.
//
// Every error the platform layer raises derives from Exception, which carries a user-readable
// message; callers catch Exception to turn any platform failure into their own result. what()
// answers the message in UTF-8 so an exception that reaches std::terminate still explains itself.
#pragma once

#include "platform/rtl/UnicodeString.h"

#include <exception>
#include <string>

class Exception : public std::exception {
public:
    Exception() = default;
    explicit Exception(const UnicodeString& message);
    explicit Exception(const AnsiString& message) : Exception(UnicodeString(message)) {}
    explicit Exception(const char* message) : Exception(UnicodeString(message)) {}
    explicit Exception(const char16_t* message) : Exception(UnicodeString(message)) {}

    const UnicodeString& Message() const { return message_; }
    void SetMessage(const UnicodeString& message);
    const char* what() const noexcept override { return utf8_.c_str(); }

private:
    UnicodeString message_;
    std::string utf8_;
};

// Declares a subclass that takes its parent's constructors.
#define DBI_DECLARE_EXCEPTION(Name, Parent)                                                        \
    class Name : public Parent {                                                                   \
    public:                                                                                        \
        using Parent::Parent;                                                                      \
    }

// Silent exception: unwinds to the message loop without being shown to the user.
DBI_DECLARE_EXCEPTION(EAbort, Exception);
DBI_DECLARE_EXCEPTION(EConvertError, Exception);
DBI_DECLARE_EXCEPTION(EInvalidOp, Exception);
DBI_DECLARE_EXCEPTION(ERangeError, Exception);
DBI_DECLARE_EXCEPTION(EListError, Exception);
DBI_DECLARE_EXCEPTION(EStringListError, Exception);
DBI_DECLARE_EXCEPTION(EInvalidOperation, Exception);
DBI_DECLARE_EXCEPTION(EInvalidArgument, Exception);
DBI_DECLARE_EXCEPTION(ENotSupportedException, Exception);
DBI_DECLARE_EXCEPTION(EOutOfResources, Exception);
DBI_DECLARE_EXCEPTION(ERegistryException, Exception);
DBI_DECLARE_EXCEPTION(EIniFileException, Exception);
DBI_DECLARE_EXCEPTION(EResNotFound, Exception);
DBI_DECLARE_EXCEPTION(ESafecallException, Exception);

DBI_DECLARE_EXCEPTION(EStreamError, Exception);
DBI_DECLARE_EXCEPTION(EReadError, EStreamError);
DBI_DECLARE_EXCEPTION(EWriteError, EStreamError);
DBI_DECLARE_EXCEPTION(EFileStreamError, EStreamError);
DBI_DECLARE_EXCEPTION(EFOpenError, EFileStreamError);
DBI_DECLARE_EXCEPTION(EFCreateError, EFileStreamError);

// An operating-system call failed; ErrorCode is the errno (or Windows-style code) behind it.
class EOSError : public Exception {
public:
    EOSError() = default;
    EOSError(const UnicodeString& message, unsigned errorCode = 0)
        : Exception(message), ErrorCode(errorCode) {}
    unsigned ErrorCode = 0;
};

// A file operation of the run-time library failed.
class EInOutError : public Exception {
public:
    EInOutError() = default;
    EInOutError(const UnicodeString& message, int errorCode = 0)
        : Exception(message), ErrorCode(errorCode) {}
    int ErrorCode = 0;
};

// Raises EOSError for errno `error` (0: the current errno), with the system's text for it.
[[noreturn]] void RaiseLastOSError(int error = 0);
// The system's text for an errno value.
UnicodeString SysErrorMessage(int error);
