#pragma once

// Window-free navigation arithmetic of the hex viewer: where the scroll bar
// and the keys move the top and current rows, and what a one-row scroll
// moves and exposes.

#include <cstdint>
#include <optional>

// A row target clamped into 0 .. rowCount - 1. With no rows it is 0, so a
// clamped row is never negative.
std::int32_t ClampRow(std::int64_t target, std::int32_t rowCount);

// Scroll bar request codes carried by the vertical scroll message.
enum TVxScrollCode : int {
    scLineUp = 0,
    scLineDown = 1,
    scPageUp = 2,
    scPageDown = 3,
    scThumbPosition = 4,
    scThumbTrack = 5,
};

// Unclamped top-row target of a scroll bar request; unknown codes keep
// topRow. A page is visibleRows - 1 rows, so the partly visible bottom row
// becomes the top row.
std::int64_t ScrollBarTarget(int code, std::int32_t topRow, std::int32_t visibleRows, std::int32_t thumbRow);

// The row the thumb points at. The message carries only the low 16 bits of
// the position; the bar's own 32-bit position (its tracking position while
// dragged) gives the rest: the row in range with those low bits nearest to
// it. Exact whenever the bar's position is the message's, and whenever there
// are at most 65536 rows.
std::int32_t ThumbRow(std::uint16_t messageBits, std::int32_t barPosition, std::int32_t rowCount);

// Navigation key codes.
enum TVxNavKey : unsigned {
    nkPageUp = 33,
    nkPageDown = 34,
    nkEnd = 35,
    nkHome = 36,
    nkUp = 38,
    nkDown = 40,
};

// Unclamped current-row target of a key; nothing for other keys. A page is
// visibleRows rows.
std::optional<std::int64_t> KeyTarget(unsigned key, std::int32_t currentRow, std::int32_t visibleRows,
                                      std::int32_t rowCount);

// The top row that brings currentRow among the fully visible rows (all but
// the last of visibleRows), or nothing when it is already there. A row
// above the view becomes the top row, one below it the last fully visible
// row. A view too low for one full row counts its one row as fully visible.
std::optional<std::int64_t> TopRowShowing(std::int32_t currentRow, std::int32_t topRow, std::int32_t visibleRows);

struct TVxPixelRect {
    std::int32_t Left = 0;
    std::int32_t Top = 0;
    std::int32_t Right = 0;
    std::int32_t Bottom = 0;
    friend bool operator==(const TVxPixelRect&, const TVxPixelRect&) = default;
};

// A one-row scroll: the pixels of Moved shift by Dy, leaving exactly the
// strip Exposed to repaint.
struct TVxRowScroll {
    TVxPixelRect Moved;
    std::int32_t Dy = 0;
    TVxPixelRect Exposed;
};

// The shortcut for a move of delta rows (old top row minus new), or nothing
// when it does not apply: the move is not one row, or the client area is no
// higher than a row, so nothing would be kept.
std::optional<TVxRowScroll> OneRowScroll(std::int64_t delta, std::int32_t clientWidth, std::int32_t clientHeight,
                                         std::int32_t cellHeight);
