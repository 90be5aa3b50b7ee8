#include "help/VxHelpPaths.h"

namespace {

std::string::size_type LastDelimiter(const std::string& name)
{
    return name.find_last_of("\\:");
}

std::string::size_type ExtStart(const std::string& name)
{
    const auto dot = name.rfind('.');
    if (dot == std::string::npos)
        return std::string::npos;
    const auto delimiter = LastDelimiter(name);
    if (delimiter != std::string::npos && delimiter > dot)
        return std::string::npos;
    return dot;
}

}  // namespace

std::string HelpFileExt(const std::string& name)
{
    const auto start = ExtStart(name);
    return start == std::string::npos ? std::string() : name.substr(start);
}

std::string HelpFileDir(const std::string& name)
{
    const auto delimiter = LastDelimiter(name);
    return delimiter == std::string::npos ? std::string() : name.substr(0, delimiter + 1);
}

std::string ChangeHelpFileExt(const std::string& name, const std::string& ext)
{
    const auto start = ExtStart(name);
    return (start == std::string::npos ? name : name.substr(0, start)) + ext;
}

std::string LowerAscii(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

std::string MixedPopupHelpFile(const std::string& helpPath, const std::string& popupTopics)
{
    if (!HelpFileDir(popupTopics).empty())
        return popupTopics;
    return HelpFileDir(helpPath) + popupTopics;
}

THelpPoint UnpackHelpPoint(std::int32_t data)
{
    const auto word = static_cast<std::uint32_t>(data);
    return {static_cast<std::int16_t>(word & 0xFFFFu), static_cast<std::int16_t>(word >> 16)};
}
