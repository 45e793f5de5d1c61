// The desktop shell: the notification-area icon, files dropped on a window, and starting
// other programs.
#pragma once

#include <string>

#include "platform/Geometry.h"

namespace tc {

// The notification-area icon of a window.
struct TrayIcon {
    NativeHandle window = 0;
    unsigned id = 1;
    unsigned callbackMessage = 0;
    NativeHandle icon = 0;
    std::string tip;
};

class Shell {
public:
    virtual ~Shell() = default;

    // Whether files dropped on the window reach it (as OnDropFiles).
    virtual void AcceptDroppedFiles(NativeHandle window, bool accept) = 0;

    // Starts a program with a parameter string (shell "open", shown normally); the result is
    // not looked at.
    virtual void StartProgram(const std::string& file, const std::string& parameters) = 0;

    virtual bool AddTrayIcon(const TrayIcon& icon) = 0;
    virtual bool DeleteTrayIcon(const TrayIcon& icon) = 0;
};

}  // namespace tc
