// The windows the falling objects aim at, as Win32 shows them: the characters of the
// "Sakura" block with their shown state, the cat's window from its block "Tumblecat", the
// cat's head through the rectangle query, and the shape of any other window.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <vector>

#include "falling/Targets.h"
#include "platform/Geometry.h"

namespace tc {

class InterProcess;

constexpr UINT kRectangleQueryMessage = 0x8065;  // WM_APP + 0x65
constexpr UINT kQueryTimeoutMs = 1000;

inline HWND ToWindow(std::int32_t handle) { return reinterpret_cast<HWND>(static_cast<INT_PTR>(handle)); }

// The entries of the "Sakura" block; empty when there is none.
std::vector<CharacterWindow> ReadCharacterWindows(InterProcess& ipc);

// The cat's window from the block "Tumblecat"; 0 when there is no such block.
std::int32_t ReadCatWindow(InterProcess& ipc);

// Shown as the cat counts it: an existing window whose style's top byte is 0x94 or 0x96.
bool IsShownCharacter(HWND window);

// The cat's head rectangle (relative to its window), asked with message 0x8065: the cat
// writes "left,top,right,bottom" into this process at the address given.
std::optional<Rect> AskHeadRect(HWND cat);

// The window's shape as rectangles relative to the window; empty when it has none.
std::vector<Rect> WindowShapeRects(HWND window);

Rect WindowRectOf(HWND window);

// The primary screen.
Rect ScreenRect();

}  // namespace tc
