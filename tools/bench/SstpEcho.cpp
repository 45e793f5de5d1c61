// sstp_echo.exe: the baseline for the cat's SSTP round trips. A bare window that answers every
// WM_COPYDATA with one fixed WM_COPYDATA to the sending window (wParam), sent the way the cat
// sends its answers (SendMessageTimeout, abort if hung, 1 s), and does nothing else. It ends
// on WM_CLOSE, or after ten minutes.
#include <windows.h>

namespace {

constexpr const char* kEchoClass = "TumblecatBenchEcho";
constexpr char kAnswer[] = "SSTP/1.0 200 OK\r\n\r\ntumblecat 0.1.0\r\n\r\n";
constexpr UINT_PTR kLifetimeTimer = 1;
constexpr UINT kLifetimeMs = 10 * 60 * 1000;

LRESULT CALLBACK EchoProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COPYDATA: {
        COPYDATASTRUCT answer{};
        answer.dwData = 9801;
        answer.cbData = sizeof kAnswer - 1;
        answer.lpData = const_cast<char*>(kAnswer);
        DWORD_PTR result = 0;
        SendMessageTimeoutA(reinterpret_cast<HWND>(wParam), WM_COPYDATA, reinterpret_cast<WPARAM>(hwnd),
                            reinterpret_cast<LPARAM>(&answer), SMTO_ABORTIFHUNG, 1000, &result);
        return TRUE;
    }
    case WM_TIMER:
        DestroyWindow(hwnd);
        return 0;
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
    wc.lpfnWndProc = EchoProc;
    wc.hInstance = instance;
    wc.lpszClassName = kEchoClass;
    RegisterClassA(&wc);
    HWND window = CreateWindowExA(0, kEchoClass, "echo", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, instance, nullptr);
    if (!window) return 1;
    SetTimer(window, kLifetimeTimer, kLifetimeMs, nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    return 0;
}
