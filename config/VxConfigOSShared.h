#pragma once

// What the two halves of the configuration file's operating-system edge
// share: the temporary file's name and the save step notices.

#include "config/VxConfigOS.h"

#include <string>
#include <string_view>

std::string VxTempFileName(const std::string& Path, std::string_view Writer);
void VxNoteSaveStep(TVxSaveStep Step) noexcept;
