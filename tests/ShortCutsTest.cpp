// Texts of keyboard shortcuts as menu items show them.

#include <gtest/gtest.h>

#include "framework/ShortCuts.h"

TEST(ShortCuts, TextsNameModifiersThenKey)
{
    const std::pair<TShortCut, const char*> cases[] = {
        {16463, "Ctrl+O"},
        {ShortCut('S', scCtrl | scShift), "Shift+Ctrl+S"},
        {ShortCut(0x74, scAlt), "Alt+F5"},
        {ShortCut(0x87, scNone), "F24"},
        {ShortCut(0x2E, scNone), "Del"},
        {ShortCut('7', scCtrl), "Ctrl+7"},
        {ShortCut(0x63, scNone), "Num 3"},
        {scNone, ""},
        {ShortCut(0xFF, scCtrl), ""},
    };
    for (const auto& [shortCut, text] : cases)
        EXPECT_EQ(ShortCutToText(shortCut), text) << shortCut;
}
