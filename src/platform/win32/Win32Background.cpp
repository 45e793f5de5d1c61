#include <windows.h>

#include <system_error>

#include "platform/win32/Win32Handles.h"
#include "platform/win32/Win32Platform.h"

namespace tc {

Win32BackgroundWork::~Win32BackgroundWork() { Finish(); }

bool Win32BackgroundWork::Start(std::function<void()> work, NativeHandle window, unsigned message) {
    if (m_thread.joinable()) return false;
    try {
        m_thread = std::thread([work = std::move(work), window, message] {
            work();
            // A window already gone loses the message; it waited in Finish before it went.
            PostMessageW(ToHwnd(window), message, 0, 0);
        });
    } catch (const std::system_error&) {
        return false;
    }
    return true;
}

void Win32BackgroundWork::Finish() {
    if (m_thread.joinable()) m_thread.join();
}

}  // namespace tc
