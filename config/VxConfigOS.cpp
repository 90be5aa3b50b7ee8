#include "config/VxConfigOS.h"

#include "config/VxConfigOSShared.h"

#include <atomic>

namespace {

std::atomic<TVxSaveStepHook> SaveStepHook{nullptr};

constexpr std::string_view TempSuffix = ".tmp";

}  // namespace

TVxSaveStepHook VxSetSaveStepHook(TVxSaveStepHook Hook) noexcept
{
    return SaveStepHook.exchange(Hook);
}

void VxNoteSaveStep(TVxSaveStep Step) noexcept
{
    if (const TVxSaveStepHook Hook = SaveStepHook.load())
        Hook(Step);
}

std::string VxTempFileName(const std::string& Path, std::string_view Writer)
{
    std::string Name = Path;
    Name += '.';
    Name += Writer;
    Name += TempSuffix;
    return Name;
}

std::string_view VxTempFileWriter(std::string_view FileName, std::string_view Name) noexcept
{
    if (Name.size() <= FileName.size() + 1 + TempSuffix.size() || Name.substr(0, FileName.size()) != FileName ||
        Name[FileName.size()] != '.' || Name.substr(Name.size() - TempSuffix.size()) != TempSuffix)
        return {};
    return Name.substr(FileName.size() + 1, Name.size() - FileName.size() - 1 - TempSuffix.size());
}
