#pragma once

// The error classes of the program: every error is an exception derived from
// Exception, carrying its message. Window-free, so the logic that raises them
// builds natively as well.

#include <cstdint>
#include <exception>
#include <string>

class Exception : public std::exception {
public:
    explicit Exception(std::string message) : FMessage(std::move(message)) {}
    const char* what() const noexcept override { return FMessage.c_str(); }
    const std::string& Message() const noexcept { return FMessage; }

private:
    std::string FMessage;
};

#define QUORVEL_DECLARE_ERROR(Name, Base)                                                                              \
    class Name : public Base {                                                                                         \
    public:                                                                                                            \
        using Base::Base;                                                                                              \
    }

QUORVEL_DECLARE_ERROR(EConvertError, Exception);
QUORVEL_DECLARE_ERROR(EInvalidCast, Exception);
QUORVEL_DECLARE_ERROR(EInvalidOperation, Exception);
QUORVEL_DECLARE_ERROR(EAssertionFailed, Exception);
QUORVEL_DECLARE_ERROR(EStreamError, Exception);
QUORVEL_DECLARE_ERROR(EFOpenError, EStreamError);
QUORVEL_DECLARE_ERROR(EReadError, EStreamError);
QUORVEL_DECLARE_ERROR(EOutOfMemory, Exception);
QUORVEL_DECLARE_ERROR(EVxError, Exception);

// A failed operating-system call, with the calling thread's error code.
class EOSError : public Exception {
public:
    EOSError(std::string message, std::uint32_t errorCode) : Exception(std::move(message)), ErrorCode(errorCode) {}
    std::uint32_t ErrorCode;
};

// printf-style formatting into a std::string.
std::string Format(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

// "Invalid class typecast", the message of EInvalidCast.
[[noreturn]] void RaiseInvalidCast();

// Raises EAssertionFailed with "Assertion failure (Module.cpp, line N)".
[[noreturn]] void AssertionFailure(const char* file, int line);

#define VX_ASSERT(condition) ((condition) ? static_cast<void>(0) : ::AssertionFailure(__FILE__, __LINE__))

// The text the default error report shows: the message, with a full stop
// appended when its last character sorts after the full stop.
std::string ErrorReportText(const std::string& message);
