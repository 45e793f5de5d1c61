// One run of dropling.exe after its parameter string was read: the set is loaded, every target
// gets one object that falls from above the top of the screen onto its head, and each hit
// character is told. The frames come from a periodic 16 ms waitable timer (about 60 a second,
// with the system timer at 1 ms for the run); each frame steps every object by the time that
// really passed, so a late frame does not slow the fall down.
#pragma once

#include <optional>
#include <string>

#include "falling/DropParams.h"

namespace tc {

// The run ends by itself within this time, whatever the targets and the sends do.
constexpr double kRunBoundSeconds = 14.0;

struct RunReport {
    int objects = 0;
    int frames = 0;
    double seconds = 0;  // from the first frame to the end
};

// Nothing (and nothing shown) when the set cannot be loaded. baseDirectory ends in a
// backslash.
std::optional<RunReport> RunDrop(const DropParams& params, const std::string& baseDirectory);

}  // namespace tc
