#pragma once

// Name rules of help file paths and the packed popup position. Window-free.
// Folders end at a backslash or a colon (drive letters, and "::" inside
// compiled help paths); forward slashes are part of the name.

#include <cstdint>
#include <string>

// The text from the last full stop after the last backslash or colon;
// empty when the name has no such full stop.
std::string HelpFileExt(const std::string& name);
// Everything up to and including the last backslash or colon.
std::string HelpFileDir(const std::string& name);
// `name` with its extension replaced by `ext`, or `ext` appended when it has none.
std::string ChangeHelpFileExt(const std::string& name, const std::string& ext);
// Lower-cases A to Z only, whatever the locale.
std::string LowerAscii(std::string text);

// The WinHelp file of a mixed-mode popup: `popupTopics` when it names a
// folder, else `popupTopics` in the folder of `helpPath`.
std::string MixedPopupHelpFile(const std::string& helpPath, const std::string& popupTopics);

struct THelpPoint {
    std::int32_t X = 0;
    std::int32_t Y = 0;
    bool operator==(const THelpPoint&) const = default;
};
// A screen point packed into one data word: X in the low 16 bits, Y in the
// high 16 bits, each signed.
THelpPoint UnpackHelpPoint(std::int32_t data);
