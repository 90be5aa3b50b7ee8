#pragma once

// Run-time binding of the HTML Help library: loaded by name on first need,
// its entry point called through a pointer, freed once at program end.

#include <windows.h>

#include <cstddef>
#include <cstdint>

constexpr UINT HH_DISPLAY_TOC = 1;
constexpr UINT HH_DISPLAY_INDEX = 2;
constexpr UINT HH_DISPLAY_TEXT_POPUP = 14;
constexpr UINT HH_HELP_CONTEXT = 15;
constexpr UINT HH_CLOSE_ALL = 18;

// The popup description that HH_DISPLAY_TEXT_POPUP takes.
struct HH_POPUP {
    int cbStruct;
    HINSTANCE hinst;
    UINT idString;
    LPCSTR pszText;
    POINT pt;
    COLORREF clrForeground;
    COLORREF clrBackground;
    RECT rcMargins;
    LPCSTR pszFont;
};

#if defined(_WIN64)
// Pointers and handles align to 8: padding after cbStruct and idString.
static_assert(offsetof(HH_POPUP, hinst) == 8 && offsetof(HH_POPUP, idString) == 16);
static_assert(offsetof(HH_POPUP, pszText) == 24 && offsetof(HH_POPUP, pt) == 32);
static_assert(offsetof(HH_POPUP, clrForeground) == 40 && offsetof(HH_POPUP, clrBackground) == 44);
static_assert(offsetof(HH_POPUP, rcMargins) == 48 && offsetof(HH_POPUP, pszFont) == 64);
static_assert(sizeof(HH_POPUP) == 72);
#else
static_assert(offsetof(HH_POPUP, hinst) == 4 && offsetof(HH_POPUP, idString) == 8);
static_assert(offsetof(HH_POPUP, pszText) == 12 && offsetof(HH_POPUP, pt) == 16);
static_assert(offsetof(HH_POPUP, clrForeground) == 24 && offsetof(HH_POPUP, clrBackground) == 28);
static_assert(offsetof(HH_POPUP, rcMargins) == 32 && offsetof(HH_POPUP, pszFont) == 48);
static_assert(sizeof(HH_POPUP) == 52);
#endif

using THtmlHelpA = HWND(WINAPI*)(HWND hwndCaller, LPCSTR pszFile, UINT uCommand, DWORD_PTR dwData);

// Loads "HHCTRL.OCX" unless loaded and looks up "HtmlHelpA"; true when the
// library is loaded, with or without the entry point.
bool LoadHtmlHelp();
bool HtmlHelpLoaded();
// Closes the library's windows (HH_CLOSE_ALL) and frees it; runs by itself
// at program end. Nothing is loaded for it.
void UnloadHtmlHelp();
// Loads the library if it is not loaded; true when the entry point is known.
// A library that failed to load is tried again on the next call; one that
// loaded without the entry point is not loaded again.
bool HtmlHelpAvailable();
// Calls the entry point; only valid while HtmlHelpAvailable() is true.
HWND CallHtmlHelp(HWND caller, LPCSTR file, UINT command, DWORD_PTR data);
