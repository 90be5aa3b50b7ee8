#include "hexview/VxHexNavigation.h"

#include <algorithm>

std::int32_t ClampRow(std::int64_t target, std::int32_t rowCount)
{
    if (target >= rowCount)
        target = static_cast<std::int64_t>(rowCount) - 1;
    if (target < 0)
        target = 0;
    return static_cast<std::int32_t>(target);
}

std::int64_t ScrollBarTarget(int code, std::int32_t topRow, std::int32_t visibleRows, std::int32_t thumbRow)
{
    const std::int64_t top = topRow;
    switch (code) {
    case scLineUp: return top - 1;
    case scLineDown: return top + 1;
    case scPageUp: return top - (visibleRows - 1);
    case scPageDown: return top + (visibleRows - 1);
    case scThumbPosition:
    case scThumbTrack: return thumbRow;
    default: return top;
    }
}

std::int32_t ThumbRow(std::uint16_t messageBits, std::int32_t barPosition, std::int32_t rowCount)
{
    constexpr std::int64_t Step = 0x10000;
    const std::int64_t bar = barPosition;
    const std::int64_t last = static_cast<std::int64_t>(rowCount) - 1;
    std::int64_t best = (bar & ~(Step - 1)) | messageBits;
    const auto better = [&](std::int64_t candidate) {
        if (candidate < 0 || candidate > last)
            return false;
        if (best < 0 || best > last)
            return true;
        const auto distance = [bar](std::int64_t v) { return v > bar ? v - bar : bar - v; };
        return distance(candidate) < distance(best);
    };
    for (const std::int64_t candidate : {best - Step, best + Step}) {
        if (better(candidate))
            best = candidate;
    }
    return ClampRow(best, rowCount);
}

std::optional<std::int64_t> KeyTarget(unsigned key, std::int32_t currentRow, std::int32_t visibleRows,
                                      std::int32_t rowCount)
{
    const std::int64_t current = currentRow;
    switch (key) {
    case nkPageUp: return current - visibleRows;
    case nkPageDown: return current + visibleRows;
    case nkEnd: return static_cast<std::int64_t>(rowCount) - 1;
    case nkHome: return 0;
    case nkUp: return current - 1;
    case nkDown: return current + 1;
    default: return std::nullopt;
    }
}

std::optional<std::int64_t> TopRowShowing(std::int32_t currentRow, std::int32_t topRow, std::int32_t visibleRows)
{
    if (currentRow < topRow)
        return currentRow;
    const std::int64_t fullRows = std::max(visibleRows - 1, 1);
    if (currentRow >= topRow + fullRows)
        return currentRow - (fullRows - 1);
    return std::nullopt;
}

std::optional<TVxRowScroll> OneRowScroll(std::int64_t delta, std::int32_t clientWidth, std::int32_t clientHeight,
                                         std::int32_t cellHeight)
{
    if ((delta != 1 && delta != -1) || cellHeight < 1 || clientHeight <= cellHeight)
        return std::nullopt;
    TVxRowScroll scroll;
    scroll.Dy = static_cast<std::int32_t>(delta) * cellHeight;
    if (delta == 1) {
        // Content moves down: what stays is all but the bottom row's height.
        scroll.Moved = {0, 0, clientWidth, clientHeight - cellHeight};
        scroll.Exposed = {0, 0, clientWidth, cellHeight};
    } else {
        scroll.Moved = {0, cellHeight, clientWidth, clientHeight};
        scroll.Exposed = {0, clientHeight - cellHeight, clientWidth, clientHeight};
    }
    return scroll;
}
