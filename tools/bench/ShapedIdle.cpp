// shaped_idle.exe: the baseline for the cat's idle CPU time. A borderless window of the
// default skin's size (156 x 174) in the shape of an ellipse, which repaints its picture every
// 50 ms, as the cat's tick repaints the cat, and does nothing else. It ends on WM_CLOSE, or
// after ten minutes.
#include <windows.h>

namespace {

constexpr const char* kShapedClass = "TumblecatBenchShaped";
constexpr int kWidth = 156;
constexpr int kHeight = 174;
constexpr UINT_PTR kRepaintTimer = 1;
constexpr UINT_PTR kLifetimeTimer = 2;
constexpr UINT kLifetimeMs = 10 * 60 * 1000;

HBITMAP s_picture = nullptr;

HBITMAP MakePicture(HWND window) {
    HDC screen = GetDC(window);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP picture = CreateCompatibleBitmap(screen, kWidth, kHeight);
    HGDIOBJ old = SelectObject(memory, picture);
    for (int band = 0; band < kHeight; band += 6) {  // stripes, so the copy is not a flat fill
        HBRUSH brush = CreateSolidBrush(RGB(200 + band % 40, 140, 60 + band % 30));
        RECT r = {0, band, kWidth, band + 6};
        FillRect(memory, &r, brush);
        DeleteObject(brush);
    }
    SelectObject(memory, old);
    DeleteDC(memory);
    ReleaseDC(window, screen);
    return picture;
}

LRESULT CALLBACK ShapedProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_TIMER:
        if (wParam == kLifetimeTimer) {
            DestroyWindow(hwnd);
        } else {
            InvalidateRect(hwnd, nullptr, FALSE);
        }
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(hwnd, &paint);
        HDC memory = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(memory, s_picture);
        BitBlt(dc, 0, 0, kWidth, kHeight, memory, 0, 0, SRCCOPY);
        SelectObject(memory, old);
        DeleteDC(memory);
        EndPaint(hwnd, &paint);
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = ShapedProc;
    wc.hInstance = instance;
    wc.lpszClassName = kShapedClass;
    RegisterClassA(&wc);
    const int x = GetSystemMetrics(SM_CXSCREEN) - kWidth - 20;
    const int y = GetSystemMetrics(SM_CYSCREEN) - kHeight;
    HWND window = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kShapedClass, "shaped", WS_POPUP, x, y, kWidth,
                                  kHeight, nullptr, nullptr, instance, nullptr);
    if (!window) return 1;
    s_picture = MakePicture(window);
    SetWindowRgn(window, CreateEllipticRgn(0, 0, kWidth, kHeight), TRUE);  // the window owns the region
    ShowWindow(window, SW_SHOWNOACTIVATE);
    SetTimer(window, kRepaintTimer, 50, nullptr);
    SetTimer(window, kLifetimeTimer, kLifetimeMs, nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    DeleteObject(s_picture);
    return 0;
}
