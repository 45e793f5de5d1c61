#include "platform/win32/Win32Platform.h"

#include <windows.h>
#include <shellapi.h>

#include <memory>

#include <algorithm>
#include <climits>
#include <cstring>
#include <ctime>
#include <vector>

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

bool Win32SystemServices::NamedMutexExists(const std::string& name) {
    KernelHandle mutex(OpenMutexA(MUTEX_ALL_ACCESS, FALSE, name.c_str()));
    return static_cast<bool>(mutex);
}

namespace {

constexpr DWORD kGuardWaitMilliseconds = 100;

// A mapped view, unmapped when it goes.
class MappedView {
public:
    MappedView(HANDLE mapping, DWORD access, std::size_t size)
        : m_view(MapViewOfFile(mapping, access, 0, 0, size)) {}
    ~MappedView() {
        if (m_view) UnmapViewOfFile(m_view);
    }
    MappedView(const MappedView&) = delete;
    MappedView& operator=(const MappedView&) = delete;
    void* Get() const { return m_view; }

private:
    void* m_view;
};

// Holds a named mutex for a scope when it exists and can be had in time.
class GuardLock {
public:
    explicit GuardLock(const std::string& name)
        : m_mutex(name.empty() ? nullptr : OpenMutexA(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, name.c_str())) {
        if (m_mutex) {
            const DWORD wait = WaitForSingleObject(m_mutex.Get(), kGuardWaitMilliseconds);
            m_owned = wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED;
        }
    }
    ~GuardLock() {
        if (m_owned) ReleaseMutex(m_mutex.Get());
    }
    GuardLock(const GuardLock&) = delete;
    GuardLock& operator=(const GuardLock&) = delete;

private:
    KernelHandle m_mutex;
    bool m_owned = false;
};

class Win32SharedBlock : public SharedBlock {
public:
    Win32SharedBlock(HANDLE mapping, std::size_t size)
        : m_mapping(mapping), m_view(mapping, FILE_MAP_ALL_ACCESS, 0), m_size(size) {}
    bool Write(std::size_t offset, std::string_view bytes) override {
        if (!m_view.Get() || offset > m_size || bytes.size() > m_size - offset) return false;
        std::memcpy(static_cast<char*>(m_view.Get()) + offset, bytes.data(), bytes.size());
        return true;
    }

private:
    KernelHandle m_mapping;  // closed after the view is unmapped (members go in reverse order)
    MappedView m_view;
    std::size_t m_size;
};

}  // namespace

std::optional<std::string> Win32SystemServices::ReadSharedText(const std::string& name, const std::string& guardMutex,
                                                               std::size_t offset) {
    KernelHandle mapping(OpenFileMappingA(FILE_MAP_READ, FALSE, name.c_str()));
    if (!mapping) return std::nullopt;
    MappedView view(mapping.Get(), FILE_MAP_READ, 0);
    if (!view.Get()) return std::nullopt;
    MEMORY_BASIC_INFORMATION info{};
    if (VirtualQuery(view.Get(), &info, sizeof info) == 0) return std::nullopt;
    const std::size_t size = info.RegionSize;
    if (size <= offset) return std::string();

    GuardLock lock(guardMutex);
    const char* text = static_cast<const char*>(view.Get()) + offset;
    // The copy stops at the end of the view when no NUL comes first.
    const void* nul = std::memchr(text, '\0', size - offset);
    const std::size_t length = nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - text) : size - offset;
    return std::string(text, length);
}

std::unique_ptr<SharedBlock> Win32SystemServices::CreateSharedBlock(const std::string& name, std::size_t size) {
    HANDLE mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, static_cast<DWORD>(size),
                                        name.c_str());
    if (!mapping) return nullptr;
    return std::make_unique<Win32SharedBlock>(mapping, size);
}

bool Win32SystemServices::WriteProcessMemory(std::uint32_t processId, std::uintptr_t address, std::string_view bytes) {
    KernelHandle process(OpenProcess(PROCESS_ALL_ACCESS, TRUE, processId));
    if (!process) return false;
    SIZE_T written = 0;
    return ::WriteProcessMemory(process.Get(), reinterpret_cast<void*>(address), bytes.data(), bytes.size(),
                                &written) != FALSE;
}

void Win32SystemServices::StartProgram(const std::string& file, const std::string& parameters) {
    ShellExecuteA(nullptr, nullptr, file.c_str(), parameters.c_str(), nullptr, SW_SHOWNORMAL);
}

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

NativeHandle Win32WindowSystem::FindWindowByClass(const std::string& className) {
    return FromHandle(FindWindowA(className.c_str(), nullptr));
}

void Win32WindowSystem::SetForeground(NativeHandle window) { SetForegroundWindow(ToHwnd(window)); }

// --- Pictures and shapes ---

namespace {

// The screen's device context for the duration of a call.
class ScreenDc {
public:
    ScreenDc() : m_dc(GetDC(nullptr)) {}
    ~ScreenDc() {
        if (m_dc) ReleaseDC(nullptr, m_dc);
    }
    ScreenDc(const ScreenDc&) = delete;
    ScreenDc& operator=(const ScreenDc&) = delete;
    HDC Get() const { return m_dc; }

private:
    HDC m_dc;
};

}  // namespace

NativeHandle Win32WindowSystem::CreateScreenBitmap(const std::vector<std::uint8_t>& info, const std::uint8_t* bits) {
    if (info.size() < sizeof(BITMAPINFOHEADER)) return 0;
    ScreenDc screen;
    if (!screen.Get()) return 0;
    const auto* bitmapInfo = reinterpret_cast<const BITMAPINFO*>(info.data());
    return FromHandle(
        CreateDIBitmap(screen.Get(), &bitmapInfo->bmiHeader, CBM_INIT, bits, bitmapInfo, DIB_RGB_COLORS));
}

NativeHandle Win32WindowSystem::CreateRegion(const std::vector<ShapeRun>& runs) {
    if (runs.empty()) return 0;
    // One call for the whole shape instead of combining a region per run.
    std::vector<std::uint8_t> buffer(sizeof(RGNDATAHEADER) + runs.size() * sizeof(RECT));
    auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
    data->rdh.dwSize = sizeof(RGNDATAHEADER);
    data->rdh.iType = RDH_RECTANGLES;
    data->rdh.nCount = static_cast<DWORD>(runs.size());
    data->rdh.nRgnSize = static_cast<DWORD>(runs.size() * sizeof(RECT));
    RECT bounds{LONG_MAX, LONG_MAX, LONG_MIN, LONG_MIN};
    auto* rects = reinterpret_cast<RECT*>(data->Buffer);
    for (std::size_t i = 0; i < runs.size(); ++i) {
        const RECT r{runs[i].left, runs[i].y, runs[i].right, runs[i].y + 1};
        std::memcpy(&rects[i], &r, sizeof r);
        bounds.left = std::min(bounds.left, r.left);
        bounds.top = std::min(bounds.top, r.top);
        bounds.right = std::max(bounds.right, r.right);
        bounds.bottom = std::max(bounds.bottom, r.bottom);
    }
    data->rdh.rcBound = bounds;
    return FromHandle(ExtCreateRegion(nullptr, static_cast<DWORD>(buffer.size()), data));
}

void Win32WindowSystem::DeleteObject(NativeHandle object) {
    if (object) ::DeleteObject(reinterpret_cast<HGDIOBJ>(object));
}

void Win32WindowSystem::SetWindowShape(NativeHandle window, NativeHandle region) {
    HRGN shape = CreateRectRgn(0, 0, 1, 1);
    if (region) CombineRgn(shape, reinterpret_cast<HRGN>(region), nullptr, RGN_COPY);
    // The window owns the region from here on.
    SetWindowRgn(ToHwnd(window), shape, TRUE);
}

void Win32WindowSystem::PaintWindow(NativeHandle window, NativeHandle bitmap, int width, int height) {
    PAINTSTRUCT paint{};
    HDC dc = BeginPaint(ToHwnd(window), &paint);
    if (dc && bitmap) {
        HDC memory = CreateCompatibleDC(dc);
        if (memory) {
            HGDIOBJ previous = SelectObject(memory, reinterpret_cast<HGDIOBJ>(bitmap));
            BitBlt(dc, 0, 0, width, height, memory, 0, 0, SRCCOPY);
            SelectObject(memory, previous);
            DeleteDC(memory);
        }
    }
    EndPaint(ToHwnd(window), &paint);
}

// --- Placement ---

Rect Win32WindowSystem::ScreenRect() { return WindowRect(FromHandle(GetDesktopWindow())); }

Rect Win32WindowSystem::WindowRect(NativeHandle window) {
    RECT r{};
    GetWindowRect(ToHwnd(window), &r);
    return {r.left, r.top, r.right, r.bottom};
}

void Win32WindowSystem::PlaceWindow(NativeHandle window, bool topmost, const Rect& rect, bool show) {
    SetWindowPos(ToHwnd(window), topmost ? HWND_TOPMOST : HWND_NOTOPMOST, rect.left, rect.top, rect.Width(),
                 rect.Height(), SWP_NOCOPYBITS | (show ? SWP_SHOWWINDOW : 0));
}

void Win32WindowSystem::SetTopmost(NativeHandle window, bool topmost, bool show) {
    SetWindowPos(ToHwnd(window), topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOCOPYBITS | (show ? SWP_SHOWWINDOW : 0));
}

void Win32WindowSystem::MoveWindow(NativeHandle window, const Rect& rect) {
    ::MoveWindow(ToHwnd(window), rect.left, rect.top, rect.Width(), rect.Height(), TRUE);
}

void Win32WindowSystem::Invalidate(NativeHandle window, int width, int height) {
    const RECT r{0, 0, width, height};
    InvalidateRect(ToHwnd(window), &r, FALSE);
}

void Win32WindowSystem::ShowWindow(NativeHandle window, bool show) {
    ::ShowWindow(ToHwnd(window), show ? SW_SHOW : SW_HIDE);
}

bool Win32WindowSystem::IsWindowVisible(NativeHandle window) { return ::IsWindowVisible(ToHwnd(window)) != FALSE; }

std::uint32_t Win32WindowSystem::WindowStyle(NativeHandle window) {
    if (!IsWindow(ToHwnd(window))) return 0;
    return static_cast<std::uint32_t>(GetWindowLongA(ToHwnd(window), GWL_STYLE));
}

namespace {
struct MenuCloser {
    void operator()(HMENU menu) const { DestroyMenu(menu); }
};
using MenuHandle = std::unique_ptr<std::remove_pointer_t<HMENU>, MenuCloser>;

void AppendItems(HMENU menu, const std::vector<MenuItem>& items) {
    for (const MenuItem& item : items) {
        AppendMenuA(menu, MF_STRING, static_cast<UINT_PTR>(item.id), item.label.c_str());
    }
}
}  // namespace

void Win32WindowSystem::TrackContextMenu(NativeHandle window, const ContextMenu& menu, Point screen) {
    MenuHandle loaded(LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(menu.resourceId)));
    if (!loaded) return;
    HMENU popup = GetSubMenu(loaded.get(), 0);
    if (!popup) return;
    if (HMENU drops = GetSubMenu(popup, 0)) AppendItems(drops, menu.dropItems);
    if (HMENU skins = GetSubMenu(popup, 3)) AppendItems(skins, menu.skinItems);
    if (menu.relabelId) {
        ModifyMenuA(popup, static_cast<UINT>(menu.relabelId), MF_BYCOMMAND | MF_STRING,
                    static_cast<UINT_PTR>(menu.relabelId), menu.relabelText.c_str());
    }
    for (const auto& [id, checked] : menu.checks) {
        CheckMenuItem(popup, static_cast<UINT>(id), MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
    }
    HWND owner = ToHwnd(window);
    // Without the foreground the menu would not close when the user clicks elsewhere, which
    // matters when it is opened from the tray icon.
    SetForegroundWindow(owner);
    TrackPopupMenu(popup, TPM_RIGHTBUTTON | TPM_LEFTALIGN, screen.x, screen.y, 0, owner, nullptr);
    PostMessageA(owner, WM_NULL, 0, 0);
}

// --- Mouse ---

Point Win32WindowSystem::ClientToScreen(NativeHandle window, Point point) {
    POINT p{point.x, point.y};
    ::ClientToScreen(ToHwnd(window), &p);
    return {p.x, p.y};
}

Point Win32WindowSystem::ScreenToClient(NativeHandle window, Point point) {
    POINT p{point.x, point.y};
    ::ScreenToClient(ToHwnd(window), &p);
    return {p.x, p.y};
}

Point Win32WindowSystem::CursorPosition() {
    POINT p{};
    GetCursorPos(&p);
    return {p.x, p.y};
}

void Win32WindowSystem::SetCapture(NativeHandle window) { ::SetCapture(ToHwnd(window)); }
void Win32WindowSystem::ReleaseCapture() { ::ReleaseCapture(); }

// --- Transparency, icons, tray ---

bool Win32WindowSystem::SetLayeredAlpha(NativeHandle window, int alpha) {
    HWND hwnd = ToHwnd(window);
    if (!hwnd) return false;
    SetWindowLongA(hwnd, GWL_EXSTYLE, GetWindowLongA(hwnd, GWL_EXSTYLE) | WS_EX_LAYERED);
    // Looked up at run time: older systems have no layered windows.
    HMODULE user32 = LoadLibraryA("user32");
    if (!user32) return false;
    using SetLayeredFn = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);
    auto setLayered = reinterpret_cast<SetLayeredFn>(
        reinterpret_cast<void*>(GetProcAddress(user32, "SetLayeredWindowAttributes")));
    const bool applied = setLayered && setLayered(hwnd, 0, static_cast<BYTE>(alpha), LWA_ALPHA);
    FreeLibrary(user32);
    return applied;
}

NativeHandle Win32WindowSystem::SmallIcon(NativeHandle window) {
    return static_cast<NativeHandle>(SendMessageA(ToHwnd(window), WM_GETICON, ICON_SMALL, 0));
}

namespace {
NOTIFYICONDATAA TrayRecord(const TrayIcon& icon) {
    NOTIFYICONDATAA data{};
    data.cbSize = sizeof data;
    data.hWnd = ToHwnd(icon.window);
    data.uID = icon.id;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = icon.callbackMessage;
    data.hIcon = reinterpret_cast<HICON>(icon.icon);
    lstrcpynA(data.szTip, icon.tip.c_str(), sizeof data.szTip);
    return data;
}
}  // namespace

bool Win32WindowSystem::AddTrayIcon(const TrayIcon& icon) {
    NOTIFYICONDATAA data = TrayRecord(icon);
    return Shell_NotifyIconA(NIM_ADD, &data) != FALSE;
}

bool Win32WindowSystem::DeleteTrayIcon(const TrayIcon& icon) {
    NOTIFYICONDATAA data = TrayRecord(icon);
    return Shell_NotifyIconA(NIM_DELETE, &data) != FALSE;
}

}  // namespace tc
