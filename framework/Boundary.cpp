#include "framework/Boundary.h"

namespace {

TBoundaryErrorReport InstalledReport = nullptr;

}  // namespace

TBoundaryErrorReport SetBoundaryErrorReport(TBoundaryErrorReport Report) noexcept
{
    return std::exchange(InstalledReport, Report);
}

void ReportBoundaryError() noexcept
{
    const std::exception_ptr Error = std::current_exception();
    if (!Error || !InstalledReport)
        return;
    try {
        InstalledReport(Error);
    } catch (...) {}
}
