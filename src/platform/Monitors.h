// Which display a window belongs to and how to keep it on one: pure rules over the monitor
// list the window system reports, so that every caller decides the same way.
#pragma once

#include <span>

#include "platform/Geometry.h"

namespace tc {

constexpr int kBaseDpi = 96;

// The monitor sharing most of its area with rect; when none does, the one nearest to the
// rect's centre. monitors must not be empty.
const Monitor& MonitorOf(std::span<const Monitor> monitors, const Rect& rect);

// The monitor a character standing on the bottom between columns left and right stands on:
// the one sharing most columns with it, of several stacked ones the lowest; when none shares
// any, the monitor nearest to rect.
const Monitor& FloorMonitorOf(std::span<const Monitor> monitors, const Rect& rect);

// Where a window at rect goes so that a monitor shows it: where it is when some monitor
// shows part of it, else inside the work area of the nearest monitor (a monitor was
// unplugged or made smaller). Returns the new top-left corner.
Point KeepOnMonitors(std::span<const Monitor> monitors, const Rect& rect);

// The height a taskbar along the monitor's bottom takes from it; 0 for a taskbar at a side
// or at the top.
int BottomTaskbarHeight(const Monitor& monitor);

// The whole factor nearest below the monitor's scale (150 % gives 1, 200 % gives 2), at
// least 1 and at most maxFactor: pictures stay crisp at every factor.
int WholeScaleFor(int dpi, int maxFactor);

}  // namespace tc
