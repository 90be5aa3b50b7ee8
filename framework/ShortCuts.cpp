#include "framework/ShortCuts.h"

namespace {

std::string KeyName(unsigned key)
{
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z'))
        return std::string(1, static_cast<char>(key));
    if (key >= 0x70 && key <= 0x87)
        return std::string("F").append(std::to_string(key - 0x70 + 1));
    if (key >= 0x60 && key <= 0x69)
        return std::string("Num ").append(std::to_string(key - 0x60));
    switch (key) {
    case 0x08: return "BkSp";
    case 0x09: return "Tab";
    case 0x0D: return "Enter";
    case 0x1B: return "Esc";
    case 0x20: return "Space";
    case 0x21: return "PgUp";
    case 0x22: return "PgDn";
    case 0x23: return "End";
    case 0x24: return "Home";
    case 0x25: return "Left";
    case 0x26: return "Up";
    case 0x27: return "Right";
    case 0x28: return "Down";
    case 0x2D: return "Ins";
    case 0x2E: return "Del";
    default: return {};
    }
}

}  // namespace

std::string ShortCutToText(TShortCut shortCut)
{
    std::string name = KeyName(shortCut & 0xFFu);
    if (name.empty())
        return {};
    std::string text;
    text.reserve(16 + name.size());
    if (shortCut & scShift)
        text.append("Shift+");
    if (shortCut & scCtrl)
        text.append("Ctrl+");
    if (shortCut & scAlt)
        text.append("Alt+");
    text.append(name);
    return text;
}
