// The windows the falling objects aim at, as the window system shows them: the characters of
// the "Sakura" block with their shown state, the cat's window from its block "Tumblecat",
// the cat's head through the rectangle query, and the shape of any other window.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <vector>

#include "falling/Targets.h"
#include "platform/Geometry.h"
#include "platform/Platform.h"
#include "platform/win32/Win32Platform.h"

namespace tc {

constexpr int kQueryTimeoutMs = 1000;

// The entries of the "Sakura" block; empty when there is none.
std::vector<CharacterWindow> ReadCharacterWindows(InterProcess& ipc, WindowSystem& windows);

// The cat's window from the block "Tumblecat"; 0 when there is no such block.
std::int32_t ReadCatWindow(InterProcess& ipc);

// The cat's head rectangle (relative to its window), asked with message 0x8065: the cat
// writes "left,top,right,bottom" into this process at the address given, which stays valid
// for an answer that comes too late.
std::optional<Rect> AskHeadRect(Win32InterProcess& ipc, NativeHandle cat);

// The window's shape as rectangles relative to the window; empty when it has none.
std::vector<Rect> WindowShapeRects(NativeHandle window);

}  // namespace tc
