#include "platform/win32/Win32Platform.h"

#include <windows.h>
#include <shellapi.h>

#include <ctime>

#include "platform/Framework.h"
#include "platform/Messages.h"
#include "platform/win32/Win32Handles.h"

namespace tc {

namespace {

HWND ToHwnd(NativeHandle h) { return reinterpret_cast<HWND>(h); }
NativeHandle FromHandle(const void* h) { return reinterpret_cast<NativeHandle>(h); }

std::string WithoutTrailingSeparator(std::string path) {
    if (!path.empty() && (path.back() == '\\' || path.back() == '/')) path.pop_back();
    return path;
}

}  // namespace

// --- Files ---

std::optional<std::string> Win32FileSystem::ReadWholeFile(const std::string& path) {
    KernelHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return std::nullopt;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.Get(), &size) || size.QuadPart > 0x7FFFFFFF) return std::nullopt;
    std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!bytes.empty() && (!::ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
                           read != bytes.size())) {
        return std::nullopt;
    }
    return bytes;
}

bool Win32FileSystem::WriteWholeFile(const std::string& path, std::string_view bytes) {
    const std::string temporary = path + ".new";
    {
        KernelHandle file(CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) return false;
        DWORD written = 0;
        const bool ok = bytes.empty() || (::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()),
                                                      &written, nullptr) &&
                                          written == bytes.size());
        if (!ok || !FlushFileBuffers(file.Get())) {
            file.Reset();
            DeleteFileA(temporary.c_str());
            return false;
        }
    }
    if (!MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileA(temporary.c_str());
        return false;
    }
    return true;
}

bool Win32FileSystem::CanOpen(const std::string& path) {
    KernelHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    return static_cast<bool>(file);
}

std::optional<std::vector<DirEntry>> Win32FileSystem::ListFolder(const std::string& folderPath) {
    const std::string pattern = WithoutTrailingSeparator(folderPath) + "\\*.*";
    WIN32_FIND_DATAA data{};
    FindHandle find(FindFirstFileA(pattern.c_str(), &data));
    if (find.get() == INVALID_HANDLE_VALUE) {
        find.release();
        return std::nullopt;
    }
    std::vector<DirEntry> entries;
    do {
        entries.push_back({data.cFileName, (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
                           (data.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) != 0});
    } while (FindNextFileA(find.get(), &data));
    return entries;
}

bool Win32FileSystem::SetHidden(const std::string& path, bool hidden) {
    const std::string target = WithoutTrailingSeparator(path);
    const DWORD attributes = GetFileAttributesA(target.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return false;
    const DWORD changed = hidden ? (attributes | FILE_ATTRIBUTE_HIDDEN) : (attributes & ~FILE_ATTRIBUTE_HIDDEN);
    return SetFileAttributesA(target.c_str(), changed) != 0;
}

bool Win32FileSystem::IsHidden(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(WithoutTrailingSeparator(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_HIDDEN) != 0;
}

// --- System ---

namespace {
class Win32NamedObject : public NamedObject {
public:
    explicit Win32NamedObject(HANDLE h) : m_handle(h) {}

private:
    KernelHandle m_handle;
};
}  // namespace

std::string Win32SystemServices::ModuleFileName() {
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return std::string();
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

std::unique_ptr<NamedObject> Win32SystemServices::CreateNamedMutex(const std::string& name, bool& alreadyExisted) {
    HANDLE h = CreateMutexA(nullptr, FALSE, name.c_str());
    alreadyExisted = GetLastError() == ERROR_ALREADY_EXISTS;
    if (!h) return nullptr;
    return std::make_unique<Win32NamedObject>(h);
}

std::int64_t Win32SystemServices::TimeSeconds() { return static_cast<std::int64_t>(std::time(nullptr)); }

// --- Windows ---

namespace {

// Messages whose result a dialog procedure returns directly instead of in DWLP_MSGRESULT.
bool ReturnsResultDirectly(UINT message) {
    return message == WM_QUERYDRAGICON || message == WM_CTLCOLORMSGBOX || message == WM_CTLCOLOREDIT ||
           message == WM_CTLCOLORLISTBOX || message == WM_CTLCOLORBTN || message == WM_CTLCOLORDLG ||
           message == WM_CTLCOLORSCROLLBAR || message == WM_CTLCOLORSTATIC || message == WM_COMPAREITEM ||
           message == WM_VKEYTOITEM || message == WM_CHARTOITEM || message == WM_INITDIALOG;
}

INT_PTR CALLBACK DialogProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* dialog = reinterpret_cast<CDialog*>(lParam);
        SetWindowLongPtrA(hwnd, DWLP_USER, lParam);
        dialog->m_hWnd = FromHandle(hwnd);
        return dialog->OnInitDialog() ? TRUE : FALSE;
    }
    auto* dialog = reinterpret_cast<CDialog*>(GetWindowLongPtrA(hwnd, DWLP_USER));
    if (!dialog) return FALSE;
    if (message == WM_COMMAND) return dialog->OnCommand(wParam, lParam) ? TRUE : FALSE;

    std::intptr_t result = 0;
    const bool handled = dialog->WindowProc(message, wParam, lParam, result);
    if (message == WM_NCDESTROY) {
        dialog->m_hWnd = 0;
        SetWindowLongPtrA(hwnd, DWLP_USER, 0);
    }
    if (!handled) return FALSE;
    if (ReturnsResultDirectly(message)) return static_cast<INT_PTR>(result);
    SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, result);
    return TRUE;
}

}  // namespace

int Win32WindowSystem::RunModalDialog(CDialog& dialog, int templateId) {
    return static_cast<int>(DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId), nullptr,
                                            DialogProcedure, reinterpret_cast<LPARAM>(&dialog)));
}

void Win32WindowSystem::EndDialog(NativeHandle window, int result) { ::EndDialog(ToHwnd(window), result); }

NativeHandle Win32WindowSystem::LoadAppIcon(int resourceId) {
    return FromHandle(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(resourceId)));
}

void Win32WindowSystem::SetIcons(NativeHandle window, NativeHandle icon) {
    SendMessageA(ToHwnd(window), WM_SETICON, ICON_BIG, static_cast<LPARAM>(icon));
    SendMessageA(ToHwnd(window), WM_SETICON, ICON_SMALL, static_cast<LPARAM>(icon));
}

void Win32WindowSystem::SetWindowTitle(NativeHandle window, const std::string& title) {
    SetWindowTextA(ToHwnd(window), title.c_str());
}

void Win32WindowSystem::AcceptDroppedFiles(NativeHandle window, bool accept) {
    DragAcceptFiles(ToHwnd(window), accept ? TRUE : FALSE);
}

void Win32WindowSystem::SetTimer(NativeHandle window, int timerId, int milliseconds) {
    ::SetTimer(ToHwnd(window), static_cast<UINT_PTR>(timerId), static_cast<UINT>(milliseconds), nullptr);
}

void Win32WindowSystem::KillTimer(NativeHandle window, int timerId) {
    ::KillTimer(ToHwnd(window), static_cast<UINT_PTR>(timerId));
}

NativeHandle Win32WindowSystem::FindWindowByTitle(const std::string& title) {
    return FromHandle(FindWindowA(nullptr, title.c_str()));
}

void Win32WindowSystem::SetForeground(NativeHandle window) { SetForegroundWindow(ToHwnd(window)); }

}  // namespace tc
