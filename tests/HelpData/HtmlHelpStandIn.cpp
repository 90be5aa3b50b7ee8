// A stand-in help library: exports HtmlHelpA, records every call and returns
// a result the test chooses. The popup record is read by offsets written out
// here by hand, so a wrong layout on the caller's side shows as wrong values.

#include "tests/HelpData/HtmlHelpStandIn.h"

#include <cstddef>
#include <cstring>
#include <vector>

namespace {

std::vector<TStandInCall> Calls;
HWND Result = reinterpret_cast<HWND>(static_cast<ULONG_PTR>(0x1234));

#if defined(_WIN64)
constexpr std::size_t PopupSize = 72, OffInstance = 8, OffStringId = 16, OffText = 24, OffPoint = 32, OffColors = 40,
                      OffMargins = 48, OffFont = 64;
#else
constexpr std::size_t PopupSize = 52, OffInstance = 4, OffStringId = 8, OffText = 12, OffPoint = 16, OffColors = 24,
                      OffMargins = 32, OffFont = 48;
#endif

template <class T>
T At(const unsigned char* record, std::size_t offset)
{
    T value;
    std::memcpy(&value, record + offset, sizeof value);
    return value;
}

void CopyText(char* out, std::size_t size, const char* text)
{
    std::strncpy(out, text, size - 1);
    out[size - 1] = 0;
}

TStandInPopup ReadPopup(const unsigned char* record)
{
    TStandInPopup p{};
    p.Present = true;
    p.Size = At<int>(record, 0);
    if (static_cast<std::size_t>(p.Size) != PopupSize)
        return p;
    p.Instance = At<ULONG_PTR>(record, OffInstance);
    p.StringId = At<UINT>(record, OffStringId);
    const auto text = At<const char*>(record, OffText);
    p.TextIsNull = text == nullptr;
    if (text)
        CopyText(p.Text, sizeof p.Text, text);
    p.X = At<LONG>(record, OffPoint);
    p.Y = At<LONG>(record, OffPoint + 4);
    p.Foreground = At<COLORREF>(record, OffColors);
    p.Background = At<COLORREF>(record, OffColors + 4);
    for (std::size_t i = 0; i < 4; ++i)
        p.Margins[i] = At<LONG>(record, OffMargins + 4 * i);
    const auto font = At<const char*>(record, OffFont);
    p.FontIsNull = font == nullptr;
    if (font)
        CopyText(p.Font, sizeof p.Font, font);
    return p;
}

}  // namespace

extern "C" {

__declspec(dllexport) HWND WINAPI HtmlHelpA(HWND caller, LPCSTR file, UINT command, DWORD_PTR data)
{
    TStandInCall call{};
    call.Window = caller;
    call.FileIsNull = file == nullptr;
    if (file)
        CopyText(call.File, sizeof call.File, file);
    call.Command = command;
    call.Data = data;
    if (command == 14 && data != 0)
        call.Popup = ReadPopup(reinterpret_cast<const unsigned char*>(data));
    Calls.push_back(call);
    return Result;
}

__declspec(dllexport) int StandInCallCount()
{
    return static_cast<int>(Calls.size());
}

__declspec(dllexport) bool StandInGetCall(int index, TStandInCall* call)
{
    if (index < 0 || index >= static_cast<int>(Calls.size()))
        return false;
    *call = Calls[static_cast<std::size_t>(index)];
    return true;
}

__declspec(dllexport) void StandInReset()
{
    Calls.clear();
}

__declspec(dllexport) void StandInSetResult(HWND result)
{
    Result = result;
}
}
