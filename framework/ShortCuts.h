#pragma once

// Keyboard shortcuts as 16-bit values: a virtual-key code in the low byte
// plus scShift, scCtrl and scAlt. Window-free.

#include <cstdint>
#include <string>

using TShortCut = std::uint16_t;

constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;
constexpr TShortCut scNone = 0;

constexpr TShortCut ShortCut(std::uint16_t key, TShortCut modifiers)
{
    return static_cast<TShortCut>((key & 0xFF) | modifiers);
}

// "Ctrl+O", "Shift+Ctrl+F5", "Del"; empty for scNone or an unnamed key.
std::string ShortCutToText(TShortCut shortCut);
