// Work run away from the window's thread, so that a long task (an install) never freezes the
// window; its end comes back to the window as a message of the program's own
// (CDialog::OnAppMessage). One piece of work at a time.
//
// The work must not touch the window or its state: what it produces it leaves in storage it
// shares with the window, which the window reads once Finish has returned (Finish waits for
// the work, so everything it wrote is seen).
#pragma once

#include <functional>

#include "platform/Geometry.h"

namespace tc {

class BackgroundWork {
public:
    virtual ~BackgroundWork() = default;
    // Starts the work; when it has ended, message is posted to window. False, with nothing
    // started, while earlier work is not finished or when no thread can be made.
    virtual bool Start(std::function<void()> work, NativeHandle window, unsigned message) = 0;
    // Work was started and Finish has not been called since.
    virtual bool Busy() const = 0;
    // Waits until the work has ended (returns at once when there is none).
    virtual void Finish() = 0;
};

}  // namespace tc
