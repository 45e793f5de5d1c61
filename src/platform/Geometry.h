// The plain values that cross every platform interface: opaque window-system handles,
// points, rectangles and the runs a window shape is made of.
//
// Handles of the window system cross the interfaces as NativeHandle values (an HWND, HICON
// or GDI object on Windows); the core never looks inside them.
#pragma once

#include <cstdint>

namespace tc {

using NativeHandle = std::uintptr_t;

// A window handle as other programs publish it in text or in 32-bit fields: window handles
// fit in 32 bits on 64-bit Windows too, and are sign-extended like the system does.
inline NativeHandle WindowHandleOf(std::int32_t hwnd) {
    return static_cast<NativeHandle>(static_cast<std::intptr_t>(hwnd));
}

// HWND_BROADCAST: whatever is sent there reaches every top-level window. Another program may
// name it as its window, so a handle from outside is checked before anything is sent to it.
constexpr NativeHandle kBroadcastWindow = 0xFFFF;

// Whether a handle from outside may be sent to at all (the window system still decides
// whether it names a window).
inline bool IsAddressable(NativeHandle window) { return window != 0 && window != kBroadcastWindow; }

struct Point {
    int x = 0;
    int y = 0;
    bool operator==(const Point&) const = default;
};

struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const Rect&) const = default;
};

// One display of the desktop in virtual-screen coordinates (monitors left of or above the
// primary one have negative ones): its whole rectangle, the part left free by taskbars, and
// its dots per inch (96 at 100 %).
struct Monitor {
    Rect area;
    Rect work;
    int dpi = 96;
    bool operator==(const Monitor&) const = default;
};

// One horizontal run of a window shape: row y, columns left to right - 1.
struct ShapeRun {
    int y = 0;
    int left = 0;
    int right = 0;
    bool operator==(const ShapeRun&) const = default;
};

}  // namespace tc
