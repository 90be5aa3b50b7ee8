#pragma once

// Where the system calls the program (window, dialog and hook procedures,
// enumeration callbacks) and where a message loop hands a message on, no
// exception may pass: it goes to the error report the program installed,
// and the program carries on.
//
//     return CatchAtBoundary(LRESULT{0}, [&] { return Handle(Msg, wParam, lParam); });

#include <exception>
#include <utility>

// The report of errors stopped at a boundary; it must not raise. Without
// one installed they are dropped. Returns the report it replaces.
using TBoundaryErrorReport = void (*)(std::exception_ptr Error);
TBoundaryErrorReport SetBoundaryErrorReport(TBoundaryErrorReport Report) noexcept;

// Inside a catch block: hands the current exception to the report.
void ReportBoundaryError() noexcept;

// Runs `body`; when it raises, reports the error and returns `fallback`.
template <class R, class F>
R CatchAtBoundary(R fallback, F&& body) noexcept
{
    try {
        return std::forward<F>(body)();
    } catch (...) {
        ReportBoundaryError();
        return fallback;
    }
}

template <class F>
void CatchAtBoundary(F&& body) noexcept
{
    try {
        std::forward<F>(body)();
    } catch (...) {
        ReportBoundaryError();
    }
}
