#include "install/InstallDrop.h"

#include <memory>

#include "CatHarness.h"

namespace e2e {

namespace {

std::wstring Wide(const std::string& text) {
    const int length = MultiByteToWideChar(932, 0, text.c_str(), -1, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(932, 0, text.c_str(), -1, wide.data(), length);
    wide.resize(wide.size() - 1);
    return wide;
}

std::string Source(const char* relative) { return std::string(TUMBLECAT_SOURCE_DIR) + "/" + relative; }

struct WindowSearch {
    DWORD processId;
    HWND cat;
    HWND found;
};

BOOL CALLBACK FindBalloon(HWND hwnd, LPARAM lParam) {
    auto* search = reinterpret_cast<WindowSearch*>(lParam);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid != search->processId || hwnd == search->cat || !IsWindowVisible(hwnd)) return TRUE;
    search->found = hwnd;
    return FALSE;
}

}  // namespace

std::string UnixPathOf(const std::string& windowsPath) {
    // Wine's own export; the answer is UTF-8 on the process heap.
    using UnixNameFn = char*(CDECL*)(const wchar_t*);
    const auto unixName = reinterpret_cast<UnixNameFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    if (!unixName) return std::string();
    char* name = unixName(Wide(windowsPath).c_str());
    if (!name) return std::string();
    std::string path = name;
    HeapFree(GetProcessHeap(), 0, name);
    return path;
}

bool RunUnixProgram(const std::vector<std::string>& argv) {
    // Wine's own export: fork and exec a Unix program, waiting for it when wait is set.
    using SpawnFn = LONG(WINAPI*)(char* const argv[], int wait);
    const auto spawn = reinterpret_cast<SpawnFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "__wine_unix_spawnvp")));
    if (!spawn) return false;
    std::vector<std::string> copies = argv;
    std::vector<char*> pointers;
    for (std::string& arg : copies) pointers.push_back(arg.data());
    pointers.push_back(nullptr);
    return spawn(pointers.data(), 1) == 0;
}

bool MakeTestArchives(const std::string& folder) {
    return RunUnixProgram({"/usr/bin/python3", Source("tests/e2e/install/make_archives.py"), UnixPathOf(folder),
                           Source("data/skin/whiskerby")});
}

bool DropFilesOn(HWND window, POINT client, const std::vector<std::string>& files) {
    // Wine keeps the X window of a top-level window in this property.
    const auto xWindow = reinterpret_cast<std::uintptr_t>(GetPropA(window, "__wine_x11_whole_window"));
    if (!xWindow) return false;
    ClientToScreen(window, &client);
    std::vector<std::string> argv = {"/usr/bin/python3", Source("tests/e2e/install/xdnd_drop.py"),
                                     std::to_string(xWindow), std::to_string(client.x), std::to_string(client.y)};
    for (const std::string& file : files) argv.push_back(UnixPathOf(file));
    return RunUnixProgram(argv);
}

HWND ShownBalloon(HWND cat) {
    DWORD pid = 0;
    GetWindowThreadProcessId(cat, &pid);
    WindowSearch search{pid, cat, nullptr};
    EnumWindows(FindBalloon, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace e2e
