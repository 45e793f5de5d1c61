// One falling object on the screen: a topmost, shaped, layered window that shows the set's
// picture. It never takes the focus and lets the mouse through (WS_EX_NOACTIVATE,
// WS_EX_TRANSPARENT on a layered window, HTTRANSPARENT), and it is moved without being
// redrawn: the picture and the shape travel with the window, so the shape cannot tear.
#pragma once

#include <windows.h>

#include "platform/Geometry.h"
#include "platform/OwnedHandle.h"
#include "platform/win32/Win32Platform.h"

namespace tc {

struct LoadedSet;

constexpr const wchar_t* kObjectWindowClass = L"DroplingObject";
constexpr const wchar_t* kObjectWindowTitle = L"dropling";

class ObjectWindow {
public:
    // Hidden until Show; alpha 0 (invisible) to 255 (opaque).
    ObjectWindow(Win32Painting& painting, const LoadedSet& set, Point at, int alpha);
    ~ObjectWindow();
    ObjectWindow(const ObjectWindow&) = delete;
    ObjectWindow& operator=(const ObjectWindow&) = delete;

    HWND Handle() const { return m_window; }
    explicit operator bool() const { return m_window != nullptr; }

    void Show();
    void Hide();
    // Changes the opacity; alpha is already scaled by the fade.
    void SetAlpha(int alpha);
    // Adds this window's move to a batch of moves (one EndDeferWindowPos for all objects);
    // without a batch the window is moved at once.
    HDWP DeferMove(HDWP batch, Point to);

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Paint();

    Win32Painting& m_painting;
    OwnedObject m_bitmap;
    int m_width;
    int m_height;
    int m_alpha;
    Point m_at;
    HWND m_window = nullptr;
};

}  // namespace tc
