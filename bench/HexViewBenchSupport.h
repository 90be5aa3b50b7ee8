#pragma once

// Shared pieces of the hex viewer's benchmarks: a clock, memory figures, a
// host window for the control and large scratch files.

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "framework/WinControls.h"

namespace hexviewbench {

double Seconds();
double Median(std::vector<double> values);

struct TMemory {
    double PrivateMiB = 0;
    double PeakPrivateMiB = 0;
    double PeakWorkingSetMiB = 0;
};
TMemory ProcessMemory();

// A top-level window to hold the viewer; never destroyed (closing a
// top-level window waits for a window manager under a bare X display).
class TBenchHost : public TWinControl {
public:
    TBenchHost(int width, int height) : TWinControl(nullptr), FWidth(width), FHeight(height) {}
    void CreateParams(TCreateParams& Params) override;

private:
    int FWidth;
    int FHeight;
};

// Makes the viewer's client area exactly w x h.
void SetClientSize(TWinControl& control, int w, int h);

// Handles every queued message.
void Pump();

// A file of `size` bytes of mixed values in the temporary folder, written
// once and kept for later runs.
std::string ScratchFile(const std::string& name, std::int64_t size);

} // namespace hexviewbench
