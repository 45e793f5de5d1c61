// Reading back a context menu while another program shows it. Under Wine a menu handle is
// good only in the process that made it, so a hook in menu_probe.dll, loaded into the
// showing process, reads the menu there and hands its items back through a shared block.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace e2e {

// Names shared with menu_probe.dll.
inline constexpr const char* kMenuProbeMessage = "TumblecatMenuProbe";  // registered message
inline constexpr const char* kMenuProbeBlock = "TumblecatMenuProbe";    // file mapping
inline constexpr DWORD kMenuProbeBlockSize = 0x10000;

// One item of a shown menu. The block holds one line per item, submenus after their item:
// path, id, state and text separated by tabs.
struct ShownMenuItem {
    std::string path;  // positions from the top, "3" or "3.1" (item 1 of the submenu of item 3)
    UINT id = 0;       // GetMenuItemID: 0 for a separator, 0xFFFFFFFF for a submenu
    UINT state = 0;    // GetMenuState
    std::string text;  // GetMenuString
};

// The items of the menu a "#32768" popup window shows; empty when it could not be read.
std::vector<ShownMenuItem> ReadShownMenu(HWND popup);

}  // namespace e2e
