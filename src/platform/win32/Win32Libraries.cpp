// Libraries loaded at run time.
#include "platform/win32/Win32Platform.h"

#include <windows.h>

#include <cstdint>

#include "common/WideText.h"

namespace tc {

NativeHandle Win32Libraries::Load(const std::string& fileName) {
    return reinterpret_cast<NativeHandle>(LoadLibraryExW(WideName(fileName).c_str(), nullptr, 0));
}

void* Win32Libraries::Find(NativeHandle module, const std::string& name) {
    // Through an integer: ISO C++ has no direct cast between function and object pointers.
    return reinterpret_cast<void*>(
        reinterpret_cast<std::uintptr_t>(GetProcAddress(reinterpret_cast<HMODULE>(module), name.c_str())));
}

void Win32Libraries::Free(NativeHandle module) {
    if (module) FreeLibrary(reinterpret_cast<HMODULE>(module));
}

}  // namespace tc
