#pragma once

// The system's text for an error code (Windows only).

#include <cstdint>
#include <string>

// One line: inner line breaks become spaces, trailing blanks go; the full
// stop stays. "System error <code>" when the system has no text for it.
std::string SysErrorMessage(std::uint32_t code);
