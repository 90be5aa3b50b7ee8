#pragma once

// Shared pieces of the hex viewer's benchmarks: a clock, memory figures, a
// host window for the control and large scratch files.

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "framework/WinControls.h"
#include "hexview/VxHexViewer.h"
#include "tests/support/HostWindow.h"

namespace hexviewbench {

double Seconds();
double Median(std::vector<double> values);

struct TMemory {
    double PrivateMiB = 0;
    double PeakPrivateMiB = 0;
    double PeakWorkingSetMiB = 0;
};
TMemory ProcessMemory();

// A top-level window to hold the viewer at the screen's top left; never
// destroyed (closing a top-level window waits for a window manager under a
// bare X display).
class TBenchHost : public TestDriver::THostWindow {
public:
    TBenchHost(int width, int height) : THostWindow(0, 0, width, height) {}
};

// Makes the viewer's client area exactly w x h; throws when it cannot.
void SetClientSize(TWinControl& control, int w, int h);

// A viewer with a client area of w x h in a host window of its own, in the
// benchmarks' face: the platform's fixed-pitch one at 13 pixels.
TVxHexViewer* BenchViewer(int w, int h);

// Handles every queued message.
void Pump();

// A file of `size` bytes of mixed values in the temporary folder, written
// once and kept for later runs.
std::string ScratchFile(const std::string& name, std::int64_t size);

}  // namespace hexviewbench
