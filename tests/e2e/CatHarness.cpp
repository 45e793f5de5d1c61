#include "CatHarness.h"

#include "Wait.h"

#include <stdexcept>
#include <utility>

#include "common/WideText.h"

namespace e2e {

namespace {

// Names and texts cross the system in UTF-16 through code page 932, as the program's own do,
// so the harness reads and makes Japanese names rightly under any system code page.
std::wstring W(const std::string& sjis) { return tc::WideText(sjis); }

std::string WithBackslashes(std::string path) {
    for (char& c : path) {
        if (c == '/') c = '\\';
    }
    return path;
}

void RemoveTree(const std::string& folder) {
    WIN32_FIND_DATAW data{};
    HANDLE find = FindFirstFileW(W(folder + "*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = tc::ShiftJisText(data.cFileName);
            if (name == "." || name == "..") continue;
            const std::string path = folder + name;
            SetFileAttributesW(W(path).c_str(), FILE_ATTRIBUTE_NORMAL);
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(path + "\\");
            } else {
                DeleteFileW(W(path).c_str());
            }
        } while (FindNextFileW(find, &data));
        FindClose(find);
    }
    RemoveDirectoryW(W(folder).c_str());
}

void CopyTree(const std::string& from, const std::string& to) {
    CreateDirectoryW(W(to).c_str(), nullptr);
    WIN32_FIND_DATAW data{};
    HANDLE find = FindFirstFileW(W(from + "*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot list " + from);
    do {
        const std::string name = tc::ShiftJisText(data.cFileName);
        if (name == "." || name == "..") continue;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            CopyTree(from + name + "\\", to + name + "\\");
        } else {
            CopyFileW(W(from + name).c_str(), W(to + name).c_str(), FALSE);
        }
    } while (FindNextFileW(find, &data));
    FindClose(find);
}

struct WindowSearch {
    DWORD processId = 0;  // 0: any process
    std::vector<HWND> found;
};

BOOL CALLBACK CollectCatWindow(HWND hwnd, LPARAM lParam) {
    auto* search = reinterpret_cast<WindowSearch*>(lParam);
    wchar_t title[64] = {};
    GetWindowTextW(hwnd, title, 64);
    if (tc::ShiftJisText(title) != kCatTitle) return TRUE;
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (search->processId == 0 || pid == search->processId) search->found.push_back(hwnd);
    return TRUE;
}

// What the own block holds for the character window: the block's size, the window handle and
// the NUL that ends the text.
std::string OwnBlockFor(HWND window) {
    return std::string("\x00\x00\x01\x00.hwnd\x01", 10) +
           std::to_string(static_cast<long long>(reinterpret_cast<INT_PTR>(window))) + "\r\n" + std::string(1, '\0');
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

CatHarness::CatHarness(std::string folder) : m_base(std::move(folder)), m_ownsBase(false) {}

CatHarness::~CatHarness() {
    for (HANDLE process : m_processes) {
        if (WaitForSingleObject(process, 0) == WAIT_TIMEOUT) {
            TerminateProcess(process, 99);
            WaitForSingleObject(process, 5000);
        }
        CloseHandle(process);
    }
    if (m_ownsBase) RemoveTree(m_base);
}

void CatHarness::WriteFile(const std::string& relative, std::string_view bytes) const {
    const std::string path = m_base + relative;
    HANDLE file = CreateFileW(W(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot write " + path);
    DWORD written = 0;
    ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

std::string CatHarness::ReadFile(const std::string& relative) const {
    const std::string path = m_base + relative;
    // Shared for writing too: a file the tests poll may be opened for appending meanwhile.
    HANDLE file = CreateFileW(W(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "<missing>";
    std::string bytes(GetFileSize(file, nullptr), '\0');
    DWORD read = 0;
    if (!bytes.empty()) ::ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(file);
    bytes.resize(read);
    return bytes;
}

bool CatHarness::FileExists(const std::string& relative) const {
    return GetFileAttributesW(W(m_base + relative).c_str()) != INVALID_FILE_ATTRIBUTES;
}

void CatHarness::MakeFolder(const std::string& relative) const {
    std::string partial;
    for (char c : relative + "\\") {
        if (c == '\\') CreateDirectoryW(W(m_base + partial).c_str(), nullptr);
        partial.push_back(c);
    }
}

void CatHarness::SetHidden(const std::string& relative) const {
    const std::string path = m_base + relative;
    SetFileAttributesW(W(path).c_str(), GetFileAttributesW(W(path).c_str()) | FILE_ATTRIBUTE_HIDDEN);
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
    if (!CopyFileW(W(WinePath(unixPath)).c_str(), W(m_base + relative).c_str(), FALSE)) {
        throw std::runtime_error("cannot copy " + unixPath);
    }
}

std::vector<std::string> CatHarness::ListFolder(const std::string& relative) const {
    std::vector<std::string> names;
    WIN32_FIND_DATAW data{};
    HANDLE find = FindFirstFileW(W(m_base + relative + "\\*.*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        names.push_back(tc::ShiftJisText(data.cFileName));
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return names;
}

HWND CatHarness::StartTabby(const std::string& settings, HANDLE* process) {
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
    const auto remaining = [&] {
        const DWORD waited = GetTickCount() - start;
        return waited < milliseconds ? milliseconds - waited : 0;
    };
    HWND window = nullptr;
    const bool shown = WaitUntil(
        [&] {
            WindowSearch search{GetProcessId(process), {}};
            EnumWindows(CollectCatWindow, reinterpret_cast<LPARAM>(&search));
            for (HWND hwnd : search.found) {
                if (IsWindowVisible(hwnd)) window = hwnd;
            }
            return window || WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
        },
        remaining(), "the character window to show");
    if (!window) {
        ADD_FAILURE() << (shown ? "the program ended without showing its window" : "no character window showed");
        return nullptr;
    }
    // The window shows while the skin loads; the own block is published later in start-up.
    const std::string block = OwnBlockFor(window);
    if (!WaitUntil([&] { return ReadOwnBlock(block.size()) == block; }, remaining(),
                   "the own block to name the window")) {
        ADD_FAILURE() << "the own block does not name the window (it holds \"" << ReadOwnBlock(block.size()) << "\")";
        return nullptr;
    }
    // Nothing after publishing the block lets the program handle a message sent from here
    // before its message loop runs, so the answer comes once start-up is over.
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, remaining() + 1, &answer)) {
        ADD_FAILURE() << "the character window did not answer a message";
        return nullptr;
    }
    return window;
}

std::vector<HWND> CatWindows() {
    WindowSearch search;
    EnumWindows(CollectCatWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string ReadOwnBlock(std::size_t size) {
    HANDLE mapping = OpenFileMappingA(FILE_MAP_READ, FALSE, "Tumblecat");
    if (!mapping) return std::string();
    std::string bytes;
    if (const void* view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0)) {
        bytes.assign(static_cast<const char*>(view), size);
        UnmapViewOfFile(view);
    }
    CloseHandle(mapping);
    return bytes;
}

bool MutexExists(const char* name) {
    HANDLE mutex = OpenMutexA(SYNCHRONIZE, FALSE, name);
    if (!mutex) return false;
    CloseHandle(mutex);
    return true;
}

}  // namespace e2e
