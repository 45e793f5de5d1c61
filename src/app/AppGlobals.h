// Process-wide values of the application, outside the window object.
#pragma once

#include <memory>
#include <string>

#include "platform/Platform.h"

namespace tc {

// Folder of the program file, ending in a backslash; every data path starts with it.
extern std::string s_baseDirectory;

// The named mutex "tumblecat", held from start until the last step of the window's
// destruction so that only one copy runs per desktop.
extern std::unique_ptr<NamedObject> s_instanceMutex;

}  // namespace tc
