#include "framework/Exceptions.h"

#include <cstdarg>
#include <cstdio>

std::string Format(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string result;
    if (length > 0) {
        result.resize(static_cast<std::size_t>(length) + 1);
        std::vsnprintf(result.data(), result.size(), format, args);
        result.resize(static_cast<std::size_t>(length));
    }
    va_end(args);
    return result;
}

void RaiseInvalidCast()
{
    throw EInvalidCast("Invalid class typecast");
}

void AssertionFailure(const char* file, int line)
{
    std::string module = file;
    const auto slash = module.find_last_of("/\\");
    if (slash != std::string::npos)
        module.erase(0, slash + 1);
    throw EAssertionFailed(Format("Assertion failure (%s, line %d)", module.c_str(), line));
}

std::string ErrorReportText(const std::string& message)
{
    if (!message.empty() && static_cast<unsigned char>(message.back()) > '.')
        return message + ".";
    return message;
}
