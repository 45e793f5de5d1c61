// Windows: dialogs, timers, finding other windows, placement and visibility.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Geometry.h"

namespace tc {

class CDialog;
class CPropertySheet;

class WindowSystem {
public:
    virtual ~WindowSystem() = default;

    // Runs dialog on the dialog template as a modal dialog; returns its result. A dialog with
    // an owner window stays above it, and the owner takes no input until the dialog ends.
    virtual int RunModalDialog(CDialog& dialog, int templateId, NativeHandle owner) = 0;
    virtual void EndDialog(NativeHandle window, int result) = 0;
    // Creates dialog as a modeless window owned by owner, hidden; returns its handle, or 0.
    virtual NativeHandle CreateModelessDialog(CDialog& dialog, int templateId, NativeHandle owner) = 0;
    virtual void DestroyWindow(NativeHandle window) = 0;
    // Runs the sheet with its pages as a modal property sheet, centred, with only an OK
    // button, owned as a modal dialog is; returns kIdOk when it was confirmed, kIdCancel when
    // it was closed otherwise.
    virtual int RunPropertySheet(CPropertySheet& sheet, NativeHandle owner) = 0;

    virtual NativeHandle LoadAppIcon(int resourceId) = 0;
    virtual void SetIcons(NativeHandle window, NativeHandle icon) = 0;  // large, then small
    virtual NativeHandle SmallIcon(NativeHandle window) = 0;
    virtual void SetWindowTitle(NativeHandle window, const std::string& title) = 0;

    // Timers are per window: the same id on two windows names two timers.
    virtual void SetTimer(NativeHandle window, int timerId, int milliseconds) = 0;
    virtual void KillTimer(NativeHandle window, int timerId) = 0;

    // Top-level window by title (no class), or 0.
    virtual NativeHandle FindWindowByTitle(const std::string& title) = 0;
    // Top-level window by class (no title), or 0.
    virtual NativeHandle FindWindowByClass(const std::string& className) = 0;
    virtual void SetForeground(NativeHandle window) = 0;

    virtual Rect ScreenRect() = 0;
    // Every display attached, the primary one first; never empty.
    virtual std::vector<Monitor> Monitors() = 0;
    virtual Rect WindowRect(NativeHandle window) = 0;
    // Places and sizes the window above (topmost) or among the other windows, showing it
    // when show is set; never copies the old picture.
    virtual void PlaceWindow(NativeHandle window, bool topmost, const Rect& rect, bool show) = 0;
    // Changes only the topmost state.
    virtual void SetTopmost(NativeHandle window, bool topmost, bool show) = 0;
    virtual void MoveWindow(NativeHandle window, const Rect& rect) = 0;
    // Marks the client area from (0, 0) to (width, height) for repainting, without erasing.
    virtual void Invalidate(NativeHandle window, int width, int height) = 0;
    // Marks a rectangle of the client area for repainting, without erasing.
    virtual void InvalidateRect(NativeHandle window, const Rect& rect) = 0;
    // Shows or hides without activating.
    virtual void ShowWindow(NativeHandle window, bool show) = 0;
    virtual bool IsWindowVisible(NativeHandle window) = 0;
    // Whether the handle names an existing window.
    virtual bool IsWindow(NativeHandle window) = 0;
    // The window's style bits (0 for a window that does not exist).
    virtual std::uint32_t WindowStyle(NativeHandle window) = 0;

    virtual Point ClientToScreen(NativeHandle window, Point point) = 0;
    virtual Point ScreenToClient(NativeHandle window, Point point) = 0;
};

}  // namespace tc
