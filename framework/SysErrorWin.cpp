#include "framework/SysError.h"

#include <windows.h>

#include "framework/Exceptions.h"

std::string SysErrorMessage(std::uint32_t code)
{
    char* buffer = nullptr;
    const DWORD length = ::FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                              FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_MAX_WIDTH_MASK,
                                          nullptr, code, 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
    std::string text = length > 0 && buffer ? std::string(buffer, length) : std::string();
    ::LocalFree(buffer);
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ')
        text.pop_back();
    if (text.empty())
        text = Format("System error %lu", static_cast<unsigned long>(code));
    return text;
}

void RaiseOSError(const char* call, std::uint32_t code)
{
    throw EOSError(Format("%s failed: %s", call, SysErrorMessage(code).c_str()), code);
}

void RaiseLastOSError(const char* call)
{
    RaiseOSError(call, ::GetLastError());
}
