#pragma once

// Windows side of the version reader: the one platform read and the code-page
// conversion. The two version calls are replaceable so that a failing read
// can be tested.

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct TVxVersionResourceApi {
    DWORD(WINAPI* GetSize)(LPCSTR fileName, LPDWORD handle);
    BOOL(WINAPI* GetData)(LPCSTR fileName, DWORD handle, DWORD size, LPVOID data);
};

TVxVersionResourceApi SystemVersionResourceApi();

// The whole version resource of fileName, exactly as the platform returns it.
std::vector<std::uint8_t> ReadVersionResource(const std::string& fileName,
                                              const TVxVersionResourceApi& api = SystemVersionResourceApi());

// UTF-16 to the system's ANSI code page.
std::string VxWideToAnsi(std::u16string_view text);
