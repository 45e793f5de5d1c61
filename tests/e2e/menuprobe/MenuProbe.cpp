// menu_probe.dll: a WH_CALLWNDPROC hook that, in the process showing a menu, answers the
// registered message kMenuProbeMessage sent to the menu's popup window by writing every item
// of the menu into the shared block kMenuProbeBlock (see ShownMenu.h).
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "ShownMenu.h"
#include "common/WideText.h"

namespace {

void Describe(HMENU menu, const std::string& prefix, std::string& out) {
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        const UINT position = static_cast<UINT>(i);
        // Read as UTF-16, as the window system keeps it, and written back with code page 932:
        // the text matches the program's Shift_JIS only if the program gave the system the
        // right characters, whatever the system's code page.
        wchar_t wide[256] = {};
        GetMenuStringW(menu, position, wide, 256, MF_BYPOSITION);
        const std::string text = tc::ShiftJisText(wide);
        const std::string path = prefix + std::to_string(i);
        out += path + "\t" + std::to_string(GetMenuItemID(menu, i)) + "\t" +
               std::to_string(GetMenuState(menu, position, MF_BYPOSITION)) + "\t" + text + "\n";
        if (HMENU sub = GetSubMenu(menu, i)) Describe(sub, path + ".", out);
    }
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK MenuProbeHook(int code, WPARAM wParam, LPARAM lParam) {
    const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && sent->message == RegisterWindowMessageA(e2e::kMenuProbeMessage)) {
        std::string text;
        Describe(reinterpret_cast<HMENU>(SendMessageA(sent->hwnd, MN_GETHMENU, 0, 0)), "", text);
        if (HANDLE mapping = OpenFileMappingA(FILE_MAP_WRITE, FALSE, e2e::kMenuProbeBlock)) {
            if (void* view = MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, e2e::kMenuProbeBlockSize)) {
                text.resize(std::min<std::size_t>(text.size(), e2e::kMenuProbeBlockSize - 1));
                std::memcpy(view, text.c_str(), text.size() + 1);
                UnmapViewOfFile(view);
            }
            CloseHandle(mapping);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
