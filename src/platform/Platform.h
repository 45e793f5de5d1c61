// The one interface through which the portable core reaches the window system, the shell,
// other processes and the file system. The Win32 back end lives in win32/; the native build
// uses posix/ for files and a recording double (tests/support) for everything else.
//
// Handles of the window system cross this interface as opaque NativeHandle values (an HWND
// or HICON on Windows); the core never looks inside them.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tc {

using NativeHandle = std::uintptr_t;

class CDialog;

// One entry of a folder listing, in the order the file system returns them. Like
// FindFirstFileA on "folder\*.*", a listing includes "." and ".." and files as well.
struct DirEntry {
    std::string name;
    bool directory = false;
    bool hidden = false;
};

class FileSystem {
public:
    virtual ~FileSystem() = default;

    // The whole file as stored (no line-end translation); nothing when it cannot be read.
    virtual std::optional<std::string> ReadWholeFile(const std::string& path) = 0;

    // Replaces the file with bytes. The new content is written under a temporary name and
    // then renamed over the old file, so a failure never leaves a truncated file behind.
    virtual bool WriteWholeFile(const std::string& path, std::string_view bytes) = 0;

    // True when the file can be opened for reading.
    virtual bool CanOpen(const std::string& path) = 0;

    // Every entry of the folder (folderPath without trailing separator); nothing when the
    // folder cannot be listed.
    virtual std::optional<std::vector<DirEntry>> ListFolder(const std::string& folderPath) = 0;

    // The hidden attribute of a file or folder, which marks a resource as not available.
    virtual bool SetHidden(const std::string& path, bool hidden) = 0;
    virtual bool IsHidden(const std::string& path) = 0;
};

// A named kernel object held open; closing it is destroying this object.
class NamedObject {
public:
    virtual ~NamedObject() = default;
};

class SystemServices {
public:
    virtual ~SystemServices() = default;

    // Full path of the running program file.
    virtual std::string ModuleFileName() = 0;

    // Creates (or opens) the named mutex. Nothing when it cannot be created; alreadyExisted
    // tells whether another holder had created it before.
    virtual std::unique_ptr<NamedObject> CreateNamedMutex(const std::string& name, bool& alreadyExisted) = 0;

    // Seconds since 1970, for seeding the random generator.
    virtual std::int64_t TimeSeconds() = 0;
};

class WindowSystem {
public:
    virtual ~WindowSystem() = default;

    // Runs dialog on the dialog template as a modal dialog; returns its result.
    virtual int RunModalDialog(CDialog& dialog, int templateId) = 0;
    virtual void EndDialog(NativeHandle window, int result) = 0;

    virtual NativeHandle LoadAppIcon(int resourceId) = 0;
    virtual void SetIcons(NativeHandle window, NativeHandle icon) = 0;  // large, then small
    virtual void SetWindowTitle(NativeHandle window, const std::string& title) = 0;
    virtual void AcceptDroppedFiles(NativeHandle window, bool accept) = 0;

    virtual void SetTimer(NativeHandle window, int timerId, int milliseconds) = 0;
    virtual void KillTimer(NativeHandle window, int timerId) = 0;

    // Top-level window by title (no class), or 0.
    virtual NativeHandle FindWindowByTitle(const std::string& title) = 0;
    virtual void SetForeground(NativeHandle window) = 0;
};

// The set of services handed to the core.
struct Platform {
    FileSystem& files;
    SystemServices& system;
    WindowSystem& windows;
};

}  // namespace tc
