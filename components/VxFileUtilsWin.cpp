#include "components/VxFileUtilsWin.h"

#include "components/VxFileUtils.h"
#include "framework/SysError.h"

#include <cstddef>

static_assert(sizeof(TVxFixedFileInfo) == sizeof(VS_FIXEDFILEINFO));
static_assert(offsetof(TVxFixedFileInfo, dwFileFlags) == offsetof(VS_FIXEDFILEINFO, dwFileFlags));
static_assert(offsetof(TVxFixedFileInfo, dwFileDateLS) == offsetof(VS_FIXEDFILEINFO, dwFileDateLS));
static_assert(sizeof(wchar_t) == sizeof(char16_t));

namespace {

[[noreturn]] void RaiseLastSystemError()
{
    const DWORD code = GetLastError();
    if (code == 0)
        throw EOSError("A call to an OS function failed", 0);
    throw EOSError(Format("System Error.  Code: %d.\r\n%s", static_cast<int>(code), SysErrorMessage(code).c_str()),
                   code);
}

}  // namespace

TVxVersionResourceApi SystemVersionResourceApi()
{
    return {GetFileVersionInfoSizeA, GetFileVersionInfoA};
}

std::vector<std::uint8_t> ReadVersionResource(const std::string& fileName, const TVxVersionResourceApi& api)
{
    DWORD handle = 0;
    const DWORD size = api.GetSize(fileName.c_str(), &handle);
    if (size == 0)
        throw EVxFileVersionInfoError("File contains no version information");
    std::vector<std::uint8_t> data(size);
    if (!api.GetData(fileName.c_str(), handle, size, data.data()))
        RaiseLastSystemError();
    return data;
}

std::string VxWideToAnsi(std::u16string_view text)
{
    if (text.empty())
        return {};
    const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
    const int units = static_cast<int>(text.size());
    const int length = WideCharToMultiByte(CP_ACP, 0, wide, units, nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<std::size_t>(length > 0 ? length : 0), '\0');
    if (length > 0)
        WideCharToMultiByte(CP_ACP, 0, wide, units, result.data(), length, nullptr, nullptr);
    return result;
}

TVxFileVersionInfo::TVxFileVersionInfo(const std::string& fileName)
    : TVxFileVersionInfo(ReadVersionResource(fileName), VxWideToAnsi)
{}
