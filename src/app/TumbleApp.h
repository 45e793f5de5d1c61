// The application object: one copy per desktop, the base directory, and the run of the
// character window as a modal dialog.
#pragma once

#include <string>

#include "platform/Framework.h"

namespace tc {

constexpr const char* kInstanceMutexName = "tumblecat";


class CTumbleApp : public CWinApp {
public:
    using CWinApp::CWinApp;

    // Always false, so the process ends when it returns.
    bool InitInstance() override;
};

}  // namespace tc
