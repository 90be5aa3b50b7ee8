#pragma once

// The drop library's message table: texts looked up by a numeric code.

#include <cstdint>
#include <string>

inline constexpr std::int32_t SVxDropTargetNotWinControl = 122;

// The text the table holds for Code; empty when the table has no such code.
std::string VxDropMessage(std::int32_t Code);
