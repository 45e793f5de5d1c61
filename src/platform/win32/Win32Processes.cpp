// The process, other processes (named mutexes, shared blocks, process memory) and the
// shell (dropped files, starting programs, the tray icon).
#include "platform/win32/Win32Platform.h"

#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <cstring>
#include <ctime>
#include <memory>

#include "platform/win32/Win32Handles.h"
#include "common/WideText.h"

namespace tc {

namespace {
class Win32NamedObject : public NamedObject {
public:
    explicit Win32NamedObject(HANDLE h) : m_handle(h) {}

private:
    KernelHandle m_handle;
};
}  // namespace

std::string Win32SystemServices::ModuleFileName() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return std::string();
        if (length < path.size()) {
            path.resize(length);
            return ShiftJisText(path);
        }
        path.resize(path.size() * 2);
    }
}

std::unique_ptr<NamedObject> Win32InterProcess::CreateNamedMutex(const std::string& name, bool& alreadyExisted) {
    const auto wide = ShiftJisToWide(name);
    if (!wide || wide->empty()) return nullptr;  // no name would make an unnamed mutex
    HANDLE h = CreateMutexW(nullptr, FALSE, wide->c_str());
    alreadyExisted = GetLastError() == ERROR_ALREADY_EXISTS;
    if (!h) return nullptr;
    return std::make_unique<Win32NamedObject>(h);
}

std::int64_t Win32SystemServices::TimeSeconds() { return static_cast<std::int64_t>(std::time(nullptr)); }

std::uint32_t Win32SystemServices::TickMilliseconds() { return GetTickCount(); }

bool Win32InterProcess::NamedMutexExists(const std::string& name) {
    KernelHandle mutex(OpenMutexW(MUTEX_ALL_ACCESS, FALSE, WideName(name).c_str()));
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
        : m_mutex(name.empty() ? nullptr : OpenMutexW(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, WideName(name).c_str())) {
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

std::optional<std::string> Win32InterProcess::ReadSharedText(const std::string& name, const std::string& guardMutex,
                                                             std::size_t offset) {
    KernelHandle mapping(OpenFileMappingW(FILE_MAP_READ, FALSE, WideName(name).c_str()));
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

std::unique_ptr<SharedBlock> Win32InterProcess::CreateSharedBlock(const std::string& name, std::size_t size) {
    const auto wide = ShiftJisToWide(name);
    if (!wide || wide->empty()) return nullptr;  // no name would make an unnamed block
    HANDLE mapping = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, static_cast<DWORD>(size),
                                        wide->c_str());
    if (!mapping) return nullptr;
    return std::make_unique<Win32SharedBlock>(mapping, size);
}

bool Win32InterProcess::WriteProcessMemory(std::uint32_t processId, std::uintptr_t address, std::string_view bytes) {
    KernelHandle process(OpenProcess(PROCESS_ALL_ACCESS, TRUE, processId));
    if (!process) return false;
    SIZE_T written = 0;
    return ::WriteProcessMemory(process.Get(), reinterpret_cast<void*>(address), bytes.data(), bytes.size(),
                                &written) != FALSE;
}

unsigned Win32InterProcess::RegisterMessage(const std::string& name) { return RegisterWindowMessageW(WideName(name).c_str()); }

bool Win32InterProcess::SendCopyData(NativeHandle target, NativeHandle sender, std::uintptr_t tag,
                                     std::string_view bytes, int timeoutMs) {
    COPYDATASTRUCT data{};
    data.dwData = static_cast<ULONG_PTR>(tag);
    data.cbData = static_cast<DWORD>(bytes.size());
    data.lpData = const_cast<char*>(bytes.data());
    DWORD_PTR answer = 0;
    return SendMessageTimeoutW(reinterpret_cast<HWND>(target), WM_COPYDATA, static_cast<WPARAM>(sender),
                               reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG, static_cast<UINT>(timeoutMs),
                               &answer) != 0;
}

std::optional<std::intptr_t> Win32InterProcess::SendQuery(NativeHandle target, unsigned message, std::uintptr_t first,
                                                          std::intptr_t second, int timeoutMs) {
    HWND window = reinterpret_cast<HWND>(target);
    if (!IsWindow(window)) return std::nullopt;
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutW(window, message, static_cast<WPARAM>(first), static_cast<LPARAM>(second),
                             SMTO_ABORTIFHUNG, static_cast<UINT>(timeoutMs), &answer)) {
        return std::nullopt;
    }
    return static_cast<std::intptr_t>(answer);
}

std::optional<std::string> Win32InterProcess::QueryText(NativeHandle target, unsigned message, int timeoutMs) {
    static char answer[kQueryAnswerBytes];
    std::memset(answer, 0, sizeof answer);
    const auto written = SendQuery(target, message, GetCurrentProcessId(), reinterpret_cast<std::intptr_t>(answer),
                                   timeoutMs);
    if (!written || *written == 0) return std::nullopt;
    return std::string(answer, strnlen(answer, sizeof answer));
}

bool Win32InterProcess::ExchangeMailslot(const std::string& ownSlot, const std::string& peerSlot,
                                         std::string_view message, int readTimeoutMs) {
    constexpr DWORD kMaxMessage = 4096;
    KernelHandle own(CreateMailslotW(WideName(ownSlot).c_str(), kMaxMessage, static_cast<DWORD>(readTimeoutMs), nullptr));
    if (!own) return false;
    KernelHandle peer(CreateFileW(WideName(peerSlot).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!peer) return false;
    DWORD written = 0;
    const bool sent = WriteFile(peer.Get(), message.data(), static_cast<DWORD>(message.size()), &written, nullptr) &&
                      written == message.size();
    char answer[1023];
    DWORD read = 0;
    const bool answered = sent && ReadFile(own.Get(), answer, sizeof answer, &read, nullptr);
    return sent && answered;
}

void Win32Shell::StartProgram(const std::string& file, const std::string& parameters) {
    const std::wstring wideFile = WideName(file);
    if (wideFile.empty()) return;
    ShellExecuteW(nullptr, nullptr, wideFile.c_str(), WideText(parameters).c_str(), nullptr, SW_SHOWNORMAL);
}

void Win32Shell::AcceptDroppedFiles(NativeHandle window, bool accept) {
    DragAcceptFiles(reinterpret_cast<HWND>(window), accept ? TRUE : FALSE);
}

namespace {
NOTIFYICONDATAW TrayRecord(const TrayIcon& icon) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = reinterpret_cast<HWND>(icon.window);
    data.uID = icon.id;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = icon.callbackMessage;
    data.hIcon = reinterpret_cast<HICON>(icon.icon);
    const std::wstring tip = WideText(icon.tip);
    const std::wstring_view fits = WidePrefix(tip, std::size(data.szTip));
    std::copy(fits.begin(), fits.end(), data.szTip);
    return data;
}
}  // namespace

bool Win32Shell::AddTrayIcon(const TrayIcon& icon) {
    NOTIFYICONDATAW data = TrayRecord(icon);
    return Shell_NotifyIconW(NIM_ADD, &data) != FALSE;
}

bool Win32Shell::DeleteTrayIcon(const TrayIcon& icon) {
    NOTIFYICONDATAW data = TrayRecord(icon);
    return Shell_NotifyIconW(NIM_DELETE, &data) != FALSE;
}

}  // namespace tc
