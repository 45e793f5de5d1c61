#include "CatHarness.h"

#include <stdexcept>

namespace e2e {

namespace {

std::string WithBackslashes(std::string path) {
    for (char& c : path) {
        if (c == '/') c = '\\';
    }
    return path;
}

void RemoveTree(const std::string& folder) {
    WIN32_FIND_DATAA data{};
    HANDLE find = FindFirstFileA((folder + "*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = data.cFileName;
            if (name == "." || name == "..") continue;
            const std::string path = folder + name;
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(path + "\\");
            } else {
                DeleteFileA(path.c_str());
            }
        } while (FindNextFileA(find, &data));
        FindClose(find);
    }
    RemoveDirectoryA(folder.c_str());
}

void CopyTree(const std::string& from, const std::string& to) {
    CreateDirectoryA(to.c_str(), nullptr);
    WIN32_FIND_DATAA data{};
    HANDLE find = FindFirstFileA((from + "*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot list " + from);
    do {
        const std::string name = data.cFileName;
        if (name == "." || name == "..") continue;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            CopyTree(from + name + "\\", to + name + "\\");
        } else {
            CopyFileA((from + name).c_str(), (to + name).c_str(), FALSE);
        }
    } while (FindNextFileA(find, &data));
    FindClose(find);
}

struct WindowSearch {
    DWORD processId = 0;  // 0: any process
    std::vector<HWND> found;
};

BOOL CALLBACK CollectCatWindow(HWND hwnd, LPARAM lParam) {
    auto* search = reinterpret_cast<WindowSearch*>(lParam);
    char title[64] = {};
    GetWindowTextA(hwnd, title, sizeof title);
    if (std::string(title) != kCatTitle) return TRUE;
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (search->processId == 0 || pid == search->processId) search->found.push_back(hwnd);
    return TRUE;
}

}  // namespace

std::string WinePath(std::string_view unixPath) { return WithBackslashes("Z:" + std::string(unixPath)); }

CatHarness::CatHarness() {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    static int counter = 0;
    m_base = std::string(temp) + "tumblecat-e2e-" + std::to_string(GetCurrentProcessId()) + "-" +
             std::to_string(++counter) + "\\";
    RemoveTree(m_base);
    if (!CreateDirectoryA(m_base.c_str(), nullptr)) throw std::runtime_error("cannot create " + m_base);
    const std::string exe = WinePath(TUMBLECAT_EXE_PATH);
    if (!CopyFileA(exe.c_str(), (m_base + "tumblecat.exe").c_str(), FALSE)) {
        throw std::runtime_error("cannot copy " + exe);
    }
}

CatHarness::~CatHarness() {
    for (HANDLE process : m_processes) {
        if (WaitForSingleObject(process, 0) == WAIT_TIMEOUT) {
            TerminateProcess(process, 99);
            WaitForSingleObject(process, 5000);
        }
        CloseHandle(process);
    }
    RemoveTree(m_base);
}

void CatHarness::WriteFile(const std::string& relative, std::string_view bytes) const {
    const std::string path = m_base + relative;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot write " + path);
    DWORD written = 0;
    ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

std::string CatHarness::ReadFile(const std::string& relative) const {
    const std::string path = m_base + relative;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "<missing>";
    std::string bytes(GetFileSize(file, nullptr), '\0');
    DWORD read = 0;
    if (!bytes.empty()) ::ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(file);
    bytes.resize(read);
    return bytes;
}

bool CatHarness::FileExists(const std::string& relative) const {
    return GetFileAttributesA((m_base + relative).c_str()) != INVALID_FILE_ATTRIBUTES;
}

void CatHarness::MakeFolder(const std::string& relative) const {
    std::string partial;
    for (char c : relative + "\\") {
        if (c == '\\') CreateDirectoryA((m_base + partial).c_str(), nullptr);
        partial.push_back(c);
    }
}

void CatHarness::SetHidden(const std::string& relative) const {
    const std::string path = m_base + relative;
    SetFileAttributesA(path.c_str(), GetFileAttributesA(path.c_str()) | FILE_ATTRIBUTE_HIDDEN);
}

void CatHarness::InstallTestSkin(const std::string& testSkin, const std::string& folder) const {
    MakeFolder("skin");
    CopyTree(WinePath(std::string(TUMBLECAT_SOURCE_DIR) + "/tests/data/skins/" + testSkin + "/"),
             m_base + "skin\\" + folder + "\\");
}

void CatHarness::InstallDataSkin(const std::string& skin, const std::string& folder) const {
    MakeFolder("skin");
    CopyTree(WinePath(std::string(TUMBLECAT_SOURCE_DIR) + "/data/skin/" + skin + "/"),
             m_base + "skin\\" + (folder.empty() ? skin : folder) + "\\");
}

void CatHarness::CopyIn(const std::string& unixPath, const std::string& relative) const {
    if (!CopyFileA(WinePath(unixPath).c_str(), (m_base + relative).c_str(), FALSE)) {
        throw std::runtime_error("cannot copy " + unixPath);
    }
}

std::vector<std::string> CatHarness::ListFolder(const std::string& relative) const {
    std::vector<std::string> names;
    WIN32_FIND_DATAA data{};
    HANDLE find = FindFirstFileA((m_base + relative + "\\*.*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        names.push_back(data.cFileName);
    } while (FindNextFileA(find, &data));
    FindClose(find);
    return names;
}

HWND CatHarness::StartTabby(const std::string& settings, HANDLE* process) {
    constexpr DWORD kStartTimeout = 20000;
    InstallTestSkin("tabby-bmp", "tabby");
    WriteFile("tumblecat.cfg", settings);
    HANDLE started = Start();
    if (process) *process = started;
    return WaitForCatWindow(started, kStartTimeout);
}

HANDLE CatHarness::Start() {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    std::string commandLine = "\"" + m_base + "tumblecat.exe\"";
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, m_base.c_str(), &startup,
                        &info)) {
        throw std::runtime_error("cannot start tumblecat.exe");
    }
    CloseHandle(info.hThread);
    m_processes.push_back(info.hProcess);
    return info.hProcess;
}

DWORD CatHarness::WaitForExit(HANDLE process, DWORD milliseconds) const {
    if (WaitForSingleObject(process, milliseconds) != WAIT_OBJECT_0) return STILL_ACTIVE;
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process, &code);
    return code;
}

HWND CatHarness::WaitForCatWindow(HANDLE process, DWORD milliseconds) const {
    const DWORD start = GetTickCount();
    for (;;) {
        WindowSearch search{GetProcessId(process), {}};
        EnumWindows(CollectCatWindow, reinterpret_cast<LPARAM>(&search));
        for (HWND hwnd : search.found) {
            if (IsWindowVisible(hwnd)) return hwnd;
        }
        if (GetTickCount() - start > milliseconds || WaitForSingleObject(process, 0) == WAIT_OBJECT_0) return nullptr;
        Sleep(100);
    }
}

std::vector<HWND> CatWindows() {
    WindowSearch search;
    EnumWindows(CollectCatWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool MutexExists(const char* name) {
    HANDLE mutex = OpenMutexA(SYNCHRONIZE, FALSE, name);
    if (!mutex) return false;
    CloseHandle(mutex);
    return true;
}

}  // namespace e2e
