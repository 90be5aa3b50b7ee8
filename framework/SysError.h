#pragma once

// The system's text for an error code, and the helpers that turn a failed
// system call into EOSError (Windows only).

#include <cstdint>
#include <string>

// One line: inner line breaks become spaces, trailing blanks go; the full
// stop stays. "System error <code>" when the system has no text for it.
std::string SysErrorMessage(std::uint32_t code);

// Raise EOSError "<call> failed: <system text>" with the code, or with
// GetLastError's.
[[noreturn]] void RaiseOSError(const char* call, std::uint32_t code);
[[noreturn]] void RaiseLastOSError(const char* call);
inline void ThrowLastErrorIf(bool failed, const char* call)
{
    if (failed)
        RaiseLastOSError(call);
}
