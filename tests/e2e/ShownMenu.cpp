#include "ShownMenu.h"

#include <sstream>

#include "CatHarness.h"

namespace e2e {

std::vector<ShownMenuItem> ReadShownMenu(HWND popup) {
    std::vector<ShownMenuItem> items;
    HMODULE probe = LoadLibraryA(WinePath(TUMBLECAT_MENU_PROBE_PATH).c_str());
    if (!probe) return items;
    const auto hook = reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(probe, "MenuProbeHook")));
    HANDLE mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kMenuProbeBlockSize,
                                        kMenuProbeBlock);
    HHOOK installed = hook && mapping ? SetWindowsHookExA(WH_CALLWNDPROC, hook, probe,
                                                          GetWindowThreadProcessId(popup, nullptr))
                                      : nullptr;
    std::string text;
    if (installed) {
        DWORD_PTR result = 0;
        SendMessageTimeoutA(popup, RegisterWindowMessageA(kMenuProbeMessage), 0, 0, SMTO_NORMAL, 10000, &result);
        UnhookWindowsHookEx(installed);
        if (const void* view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, kMenuProbeBlockSize)) {
            text = static_cast<const char*>(view);
            UnmapViewOfFile(view);
        }
    }
    if (mapping) CloseHandle(mapping);
    FreeLibrary(probe);

    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        ShownMenuItem item;
        std::string id, state;
        std::getline(fields, item.path, '\t');
        std::getline(fields, id, '\t');
        std::getline(fields, state, '\t');
        std::getline(fields, item.text);
        item.id = static_cast<UINT>(std::stoul(id));
        item.state = static_cast<UINT>(std::stoul(state));
        items.push_back(item);
    }
    return items;
}

}  // namespace e2e
