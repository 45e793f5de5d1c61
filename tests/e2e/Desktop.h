// A desktop for the end-to-end tests: a full-screen background of a known colour and a
// taskbar window of class "Shell_TrayWnd" along the bottom, owned by a thread of the test
// program that keeps them painted; and reading back what the screen shows.
//
// The taskbar stands in for the notification area too: Wine's Shell_NotifyIcon sends its
// requests as WM_COPYDATA to the first "Shell_TrayWnd" window (dwData: the NIM_ request,
// wParam: the icon's window, data: the icon's window and id first), so while the scene's
// taskbar exists it is the tray. It keeps the icons and records every request.
#pragma once

#include <windows.h>

#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace e2e {

inline constexpr COLORREF kDesktopColour = RGB(40, 120, 200);
inline constexpr COLORREF kTaskbarColour = RGB(60, 60, 60);
inline constexpr int kTaskbarHeight = 30;

// A request the scene's tray received.
struct TrayRequest {
    DWORD message = 0;  // NIM_ADD, NIM_MODIFY, NIM_DELETE...
    HWND window = nullptr;
    UINT id = 0;
    bool windowExisted = false;  // whether the icon's window existed while the request ran
};

class DesktopScene {
public:
    // withTaskbar: the taskbar is made at once; otherwise AddTaskbar makes it later. Both
    // return once the screen shows what was made.
    explicit DesktopScene(bool withTaskbar = true);
    ~DesktopScene();
    DesktopScene(const DesktopScene&) = delete;
    DesktopScene& operator=(const DesktopScene&) = delete;

    HWND Taskbar() const { return m_taskbar; }
    void AddTaskbar();

    // The requests the tray received so far, oldest first.
    std::vector<TrayRequest> TrayRequests() const;
    // Whether the tray holds the icon (window, id).
    bool HasTrayIcon(HWND window, UINT id) const;

private:
    static LRESULT CALLBACK TaskbarProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnTrayRequest(const COPYDATASTRUCT& data, HWND window);
    void Run(bool withTaskbar);
    void MakeTaskbar();
    void WaitUntilShown(bool taskbar);
    mutable std::mutex m_lock;
    std::vector<TrayRequest> m_trayRequests;
    std::vector<std::pair<HWND, UINT>> m_trayIcons;
    std::thread m_thread;
    DWORD m_threadId = 0;
    HANDLE m_ready = nullptr;
    HWND m_background = nullptr;
    HWND m_taskbar = nullptr;
};

// A copy of the pixels of every monitor (the virtual screen), in screen coordinates.
class ScreenShot {
public:
    ScreenShot();
    // Takes shots until looks holds for one or timeoutMs passes; returns the last. Checks of
    // several pixels wait this way for all of them and then report each on the shot.
    static ScreenShot WaitFor(const std::function<bool(const ScreenShot&)>& looks, DWORD timeoutMs);
    COLORREF Pixel(int x, int y) const;
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    // Saves the picture as a 24-bit BMP under the folder named by TUMBLECAT_E2E_SHOTS, if set.
    void Save(const std::string& name) const;
    // The same for the part of the picture within area (screen coordinates).
    void Save(const std::string& name, const RECT& area) const;

private:
    int m_left = 0;  // the virtual screen's top-left corner, negative left of or above the primary monitor
    int m_top = 0;
    int m_width = 0;
    int m_height = 0;
    std::string m_pixels;  // bottom-up 24-bit rows
};

// On a display of two monitors, the rectangle of the one that is not the primary; an empty
// rectangle, and a test failure, on any other display.
RECT SecondMonitor();

// Whether two colours are within a small tolerance of each other.
bool SameColour(COLORREF a, COLORREF b, int tolerance = 8);

// A screen point and the colours it may show.
struct ExpectedPixel {
    int x = 0;
    int y = 0;
    std::vector<COLORREF> colours;
    std::string what;
};

// Waits until the screen shows every expected pixel, saves the shot under name and reports
// each pixel it does not show; returns the shot.
ScreenShot ExpectScreen(const std::vector<ExpectedPixel>& expected, const std::string& name);

}  // namespace e2e
