// The mouse and the context menu.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "platform/Geometry.h"

namespace tc {

// What the context menu adds to its resource at run time.
struct MenuItem {
    int id = 0;
    std::string label;
    bool operator==(const MenuItem&) const = default;
};
struct ContextMenu {
    int resourceId = 0;
    std::vector<MenuItem> dropItems;  // appended to submenu 0 of the popup
    std::vector<MenuItem> skinItems;  // appended to submenu 3 of the popup
    int relabelId = 0;                // the item whose label is replaced
    std::string relabelText;
    std::vector<std::pair<int, bool>> checks;  // command id, checked
};

class Input {
public:
    virtual ~Input() = default;

    // Shows the context menu at a screen point; the chosen command reaches the window as a
    // command.
    virtual void TrackContextMenu(NativeHandle window, const ContextMenu& menu, Point screen) = 0;

    virtual Point CursorPosition() = 0;
    // Mouse messages go to the window until the capture is released or lost (the window is
    // then told by OnCaptureChanged).
    virtual void SetCapture(NativeHandle window) = 0;
    virtual void ReleaseCapture() = 0;
};

}  // namespace tc
