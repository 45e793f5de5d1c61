// The services through which the portable core reaches the window system, the shell, other
// processes and the file system, one interface per concern. The Win32 back end lives in
// win32/; the native build uses posix/ for files and recording doubles (tests/support) for
// everything else.
#pragma once

#include "platform/Background.h"
#include "platform/Controls.h"
#include "platform/FileSystem.h"
#include "platform/Geometry.h"
#include "platform/Input.h"
#include "platform/InterProcess.h"
#include "platform/Libraries.h"
#include "platform/Network.h"
#include "platform/Painting.h"
#include "platform/Shell.h"
#include "platform/System.h"
#include "platform/WindowSystem.h"

namespace tc {

// The set of services handed to the core.
struct Platform {
    FileSystem& files;
    SystemServices& system;
    InterProcess& ipc;
    WindowSystem& windows;
    Painting& painting;
    Input& input;
    Shell& shell;
    Controls& controls;
    Libraries& libraries;
    BackgroundWork& background;
    Network& network;
};

}  // namespace tc
