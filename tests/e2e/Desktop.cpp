#include "Desktop.h"

#include <shellapi.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "Wait.h"

namespace e2e {

namespace {

DesktopScene* s_scene = nullptr;  // one scene at a time

LRESULT CALLBACK SceneWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(hwnd, &paint);
        const auto colour = static_cast<COLORREF>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        HBRUSH brush = CreateSolidBrush(colour);
        FillRect(dc, &paint.rcPaint, brush);
        DeleteObject(brush);
        EndPaint(hwnd, &paint);
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

HWND MakeWindow(const char* className, WNDPROC proc, DWORD exStyle, int x, int y, int w, int h, COLORREF colour) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = className;
    RegisterClassA(&wc);
    HWND hwnd = CreateWindowExA(exStyle, className, "", WS_POPUP, x, y, w, h, nullptr, nullptr, wc.hInstance, nullptr);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, static_cast<LONG_PTR>(colour));
    ShowWindow(hwnd, SW_SHOWNOACTIVATE);
    UpdateWindow(hwnd);
    return hwnd;
}

COLORREF ScreenPixel(int x, int y) {
    HDC screen = GetDC(nullptr);
    const COLORREF c = GetPixel(screen, x, y);
    ReleaseDC(nullptr, screen);
    return c;
}

}  // namespace

constexpr UINT kMakeTaskbar = WM_APP + 1;

DesktopScene::DesktopScene(bool withTaskbar) {
    s_scene = this;
    m_ready = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    m_thread = std::thread([this, withTaskbar] { Run(withTaskbar); });
    EXPECT_EQ(WaitForSingleObject(m_ready, kShowTimeout), WAIT_OBJECT_0) << "the scene's windows are made";
    WaitUntilShown(withTaskbar);
}

DesktopScene::~DesktopScene() {
    PostThreadMessageA(m_threadId, WM_QUIT, 0, 0);
    m_thread.join();
    CloseHandle(m_ready);
    s_scene = nullptr;
}

void DesktopScene::AddTaskbar() {
    PostThreadMessageA(m_threadId, kMakeTaskbar, 0, 0);
    EXPECT_EQ(WaitForSingleObject(m_ready, kShowTimeout), WAIT_OBJECT_0) << "the taskbar is made";
    WaitUntilShown(true);
}

void DesktopScene::WaitUntilShown(bool taskbar) {
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    EXPECT_TRUE(WaitUntil(
        [&] {
            return SameColour(ScreenPixel(width / 2, height / 3), kDesktopColour) &&
                   (!taskbar || SameColour(ScreenPixel(width / 2, height - kTaskbarHeight / 2), kTaskbarColour));
        },
        kShowTimeout, taskbar ? "the desktop and the taskbar on the screen" : "the desktop on the screen"));
}

void DesktopScene::MakeTaskbar() {
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    m_taskbar = MakeWindow("Shell_TrayWnd", TaskbarProc, WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE, 0,
                           height - kTaskbarHeight, width, kTaskbarHeight, kTaskbarColour);
}

LRESULT CALLBACK DesktopScene::TaskbarProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COPYDATA && s_scene) {
        return s_scene->OnTrayRequest(*reinterpret_cast<const COPYDATASTRUCT*>(lParam), reinterpret_cast<HWND>(wParam));
    }
    return SceneWindowProc(hwnd, message, wParam, lParam);
}

LRESULT DesktopScene::OnTrayRequest(const COPYDATASTRUCT& data, HWND window) {
    TrayRequest request;
    request.message = static_cast<DWORD>(data.dwData);
    request.window = window;
    if (data.cbData >= 2 * sizeof(UINT)) {
        std::memcpy(&request.id, static_cast<const char*>(data.lpData) + sizeof(UINT), sizeof(UINT));
    }
    // The sender waits for this answer, so its window cannot go away meanwhile.
    request.windowExisted = IsWindow(window) != FALSE;
    std::lock_guard<std::mutex> lock(m_lock);
    m_trayRequests.push_back(request);
    const auto icon = std::find(m_trayIcons.begin(), m_trayIcons.end(), std::make_pair(window, request.id));
    const bool known = icon != m_trayIcons.end();
    switch (request.message) {
    case NIM_ADD:
        if (!known) m_trayIcons.emplace_back(window, request.id);
        return !known;
    case NIM_MODIFY:
        return known;
    case NIM_DELETE:
        if (known) m_trayIcons.erase(icon);
        return known;
    default:
        return TRUE;
    }
}

std::vector<TrayRequest> DesktopScene::TrayRequests() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_trayRequests;
}

bool DesktopScene::HasTrayIcon(HWND window, UINT id) const {
    std::lock_guard<std::mutex> lock(m_lock);
    return std::find(m_trayIcons.begin(), m_trayIcons.end(), std::make_pair(window, id)) != m_trayIcons.end();
}

void DesktopScene::Run(bool withTaskbar) {
    m_threadId = GetCurrentThreadId();
    // Behind every monitor: a second one may lie left of or above the primary one.
    m_background = MakeWindow("TumblecatTestDesktop", SceneWindowProc, WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE,
                              GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                              GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN), kDesktopColour);
    SetWindowPos(m_background, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (withTaskbar) MakeTaskbar();
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);  // the thread's queue exists from here
    SetEvent(m_ready);
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (msg.hwnd == nullptr && msg.message == kMakeTaskbar) {
            MakeTaskbar();
            SetEvent(m_ready);
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    if (m_taskbar) DestroyWindow(m_taskbar);
    DestroyWindow(m_background);
}

ScreenShot::ScreenShot() {
    m_left = GetSystemMetrics(SM_XVIRTUALSCREEN);
    m_top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    m_width = GetSystemMetrics(SM_CXVIRTUALSCREEN);
    m_height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = m_width;
    info.bmiHeader.biHeight = m_height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(memory, dib);
    BitBlt(memory, 0, 0, m_width, m_height, screen, m_left, m_top, SRCCOPY);
    GdiFlush();
    const int stride = ((m_width * 3 + 3) / 4) * 4;
    m_pixels.assign(static_cast<const char*>(bits), static_cast<std::size_t>(stride) * m_height);
    SelectObject(memory, previous);
    DeleteObject(dib);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}

ScreenShot ScreenShot::WaitFor(const std::function<bool(const ScreenShot&)>& looks, DWORD timeoutMs) {
    ScreenShot shot;
    WaitUntil(
        [&] {
            shot = ScreenShot();
            return looks(shot);
        },
        timeoutMs, "the screen");  // the caller's checks on the shot say what is wrong
    return shot;
}

COLORREF ScreenShot::Pixel(int screenX, int screenY) const {
    const int x = screenX - m_left, y = screenY - m_top;
    if (x < 0 || y < 0 || x >= m_width || y >= m_height) return CLR_INVALID;
    const int stride = ((m_width * 3 + 3) / 4) * 4;
    const auto* p = reinterpret_cast<const unsigned char*>(m_pixels.data()) +
                    static_cast<std::size_t>(m_height - 1 - y) * stride + 3 * x;
    return RGB(p[2], p[1], p[0]);
}

void ScreenShot::Save(const std::string& name) const { Save(name, RECT{m_left, m_top, m_left + m_width, m_top + m_height}); }

void ScreenShot::Save(const std::string& name, const RECT& area) const {
    const char* folder = std::getenv("TUMBLECAT_E2E_SHOTS");
    if (!folder || !*folder) return;
    // In the shot's own coordinates, which start at the virtual screen's top-left corner.
    const int left = std::max<int>(area.left - m_left, 0), top = std::max<int>(area.top - m_top, 0);
    const int width = std::min<int>(area.right - m_left, m_width) - left;
    const int height = std::min<int>(area.bottom - m_top, m_height) - top;
    if (width <= 0 || height <= 0) return;
    CreateDirectoryA(folder, nullptr);
    const std::string path = std::string(folder) + "\\" + name + ".bmp";
    const int stride = ((m_width * 3 + 3) / 4) * 4;
    const int outStride = ((width * 3 + 3) / 4) * 4;
    std::string pixels(static_cast<std::size_t>(outStride) * height, '\0');
    for (int row = 0; row < height; ++row) {  // bottom-up, like the shot
        const std::size_t from = static_cast<std::size_t>(m_height - 1 - (top + height - 1 - row)) * stride + 3 * left;
        pixels.replace(static_cast<std::size_t>(row) * outStride, 3 * static_cast<std::size_t>(width), m_pixels, from,
                       3 * static_cast<std::size_t>(width));
    }
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = static_cast<DWORD>(file.bfOffBits + pixels.size());
    HANDLE out = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (out == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(out, &file, sizeof file, &written, nullptr);
    WriteFile(out, &info, sizeof info, &written, nullptr);
    WriteFile(out, pixels.data(), static_cast<DWORD>(pixels.size()), &written, nullptr);
    CloseHandle(out);
}

namespace {
bool Shows(const ScreenShot& shot, const ExpectedPixel& pixel) {
    const COLORREF c = shot.Pixel(pixel.x, pixel.y);
    return std::any_of(pixel.colours.begin(), pixel.colours.end(), [&](COLORREF e) { return SameColour(c, e); });
}
}  // namespace

ScreenShot ExpectScreen(const std::vector<ExpectedPixel>& expected, const std::string& name) {
    const ScreenShot shot = ScreenShot::WaitFor(
        [&](const ScreenShot& s) {
            return std::all_of(expected.begin(), expected.end(), [&](const ExpectedPixel& p) { return Shows(s, p); });
        },
        kShowTimeout);
    shot.Save(name);
    for (const ExpectedPixel& pixel : expected) {
        EXPECT_TRUE(Shows(shot, pixel)) << pixel.what << ": (" << pixel.x << ", " << pixel.y << ") shows " << std::hex
                                        << shot.Pixel(pixel.x, pixel.y);
    }
    return shot;
}

RECT SecondMonitor() {
    std::vector<MONITORINFO> monitors;
    EnumDisplayMonitors(
        nullptr, nullptr,
        [](HMONITOR monitor, HDC, LPRECT, LPARAM list) -> BOOL {
            MONITORINFO info{};
            info.cbSize = sizeof info;
            GetMonitorInfoW(monitor, &info);
            auto* all = reinterpret_cast<std::vector<MONITORINFO>*>(list);
            all->insert((info.dwFlags & MONITORINFOF_PRIMARY) ? all->begin() : all->end(), info);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&monitors));
    EXPECT_EQ(monitors.size(), 2u) << "this test runs on a display of two monitors";
    return monitors.size() == 2 ? monitors[1].rcMonitor : RECT{};
}

bool SameColour(COLORREF a, COLORREF b, int tolerance) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance && std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

}  // namespace e2e
