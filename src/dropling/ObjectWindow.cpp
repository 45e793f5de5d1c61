#include "dropling/ObjectWindow.h"

#include "dropling/SetLoader.h"

namespace tc {

namespace {

constexpr DWORD kObjectStyle = WS_POPUP;
constexpr DWORD kObjectExStyle =
    WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE | WS_EX_TRANSPARENT | WS_EX_LAYERED;

void RegisterObjectClass(WNDPROC windowProc) {
    static bool registered = false;
    if (registered) return;
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    windowClass.lpszClassName = kObjectWindowClass;
    registered = RegisterClassW(&windowClass) != 0;
}

}  // namespace

ObjectWindow::ObjectWindow(Win32Painting& painting, const LoadedSet& set, Point at, int alpha)
    : m_painting(painting),
      m_bitmap(painting, painting.CreateScreenBitmap(set.picture.header, set.picture.Bits())),
      m_width(set.picture.width),
      m_height(set.picture.height),
      m_alpha(alpha),
      m_at(at) {
    RegisterObjectClass(&ObjectWindow::WindowProc);
    m_window = CreateWindowExW(kObjectExStyle, kObjectWindowClass, kObjectWindowTitle, kObjectStyle, at.x, at.y,
                               m_width, m_height, nullptr, nullptr, GetModuleHandleW(nullptr), this);
    if (!m_window) return;
    // A layered window shows nothing until its opacity is given.
    m_painting.SetLayeredAlpha(reinterpret_cast<NativeHandle>(m_window), m_alpha);
    OwnedObject shape(m_painting, m_painting.CreateRegion(set.shape.runs));
    m_painting.SetWindowShape(reinterpret_cast<NativeHandle>(m_window), shape.Get());
}

ObjectWindow::~ObjectWindow() {
    if (m_window) DestroyWindow(m_window);
}

void ObjectWindow::Show() {
    if (!m_window) return;
    SetWindowPos(m_window, HWND_TOPMOST, m_at.x, m_at.y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    UpdateWindow(m_window);
}

void ObjectWindow::Hide() {
    if (!m_window) return;
    SetWindowPos(m_window, nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
}

void ObjectWindow::SetAlpha(int alpha) {
    if (!m_window || alpha == m_alpha) return;
    m_alpha = alpha;
    m_painting.SetLayeredAlpha(reinterpret_cast<NativeHandle>(m_window), alpha);
}

HDWP ObjectWindow::DeferMove(HDWP batch, Point to) {
    if (!m_window || to == m_at) return batch;
    m_at = to;
    constexpr UINT kMoveOnly = SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE;
    if (batch) return DeferWindowPos(batch, m_window, nullptr, to.x, to.y, 0, 0, kMoveOnly);
    SetWindowPos(m_window, nullptr, to.x, to.y, 0, 0, kMoveOnly);  // no batch to join
    return nullptr;
}

void ObjectWindow::Paint() {
    m_painting.PaintWindow(reinterpret_cast<NativeHandle>(m_window), m_bitmap.Get(), m_width, m_height, 1);
}

LRESULT CALLBACK ObjectWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<ObjectWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (message) {
    case WM_PAINT:
        if (self) {
            self->Paint();
            return 0;
        }
        break;
    case WM_ERASEBKGND:
        return 1;  // the picture covers the whole shape
    case WM_NCHITTEST:
        return HTTRANSPARENT;
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace tc
