// Libraries loaded at run time (the archiver libraries): load one by file name, find an
// entry point by name, free it. A module handle is 0 when a library cannot be loaded.
#pragma once

#include <string>

#include "platform/Geometry.h"

namespace tc {

class Libraries {
public:
    virtual ~Libraries() = default;
    // Loads the library as LoadLibraryExA does with no flags; 0 when it cannot be loaded.
    virtual NativeHandle Load(const std::string& fileName) = 0;
    // The entry point of that name, or null.
    virtual void* Find(NativeHandle module, const std::string& name) = 0;
    virtual void Free(NativeHandle module) = 0;
};

}  // namespace tc
