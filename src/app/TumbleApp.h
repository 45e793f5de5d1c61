// The application object: one copy per desktop, the base directory, and the run of the
// character window as a modal dialog.
#pragma once

#include <string>

#include "platform/Framework.h"

namespace tc {

constexpr const char* kInstanceMutexName = "tumblecat";

// The folder part of the program's path, with its trailing separator. Works for any file
// name and for either separator, and never splits a double-byte character.
std::string BaseDirectoryFromModulePath(const std::string& modulePath);

class CTumbleApp : public CWinApp {
public:
    using CWinApp::CWinApp;

    // Always false, so the process ends when it returns.
    bool InitInstance() override;
};

}  // namespace tc
