// A stand-in for the falling-object program: appends its parameter string to
// dropling-calls.txt beside itself and, when dropling-hold.txt there names a number of
// milliseconds, holds the mutex "dropling" that long.
#include <windows.h>

#include <string>

namespace {

std::string Parameters() {
    const char* line = GetCommandLineA();
    if (*line == '"') {
        ++line;
        while (*line && *line != '"') ++line;
        if (*line) ++line;
    } else {
        while (*line && *line != ' ') ++line;
    }
    while (*line == ' ') ++line;
    return line;
}

std::string OwnFolder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder = path;
    return folder.substr(0, folder.find_last_of('\\') + 1);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    const std::string folder = OwnFolder();
    HANDLE mutex = CreateMutexA(nullptr, TRUE, "dropling");
    HANDLE calls = CreateFileA((folder + "dropling-calls.txt").c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                               OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (calls != INVALID_HANDLE_VALUE) {
        const std::string line = Parameters() + "\r\n";
        DWORD written = 0;
        WriteFile(calls, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
        CloseHandle(calls);
    }
    HANDLE hold = CreateFileA((folder + "dropling-hold.txt").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (hold != INVALID_HANDLE_VALUE) {
        char text[32] = {};
        DWORD read = 0;
        ReadFile(hold, text, sizeof text - 1, &read, nullptr);
        CloseHandle(hold);
        Sleep(static_cast<DWORD>(atoi(text)));
    }
    if (mutex) CloseHandle(mutex);
    return 0;
}
