// The one interface through which the portable core reaches the window system, the shell,
// other processes and the file system. The Win32 back end lives in win32/; the native build
// uses posix/ for files and a recording double (tests/support) for everything else.
//
// Handles of the window system cross this interface as opaque NativeHandle values (an HWND
// or HICON on Windows); the core never looks inside them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tc {

using NativeHandle = std::uintptr_t;

class CDialog;

struct Point {
    int x = 0;
    int y = 0;
};

struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};

// One horizontal run of a window shape: row y, columns left to right - 1.
struct ShapeRun {
    int y = 0;
    int left = 0;
    int right = 0;
    bool operator==(const ShapeRun&) const = default;
};

// What the context menu adds to its resource at run time.
struct MenuItem {
    int id = 0;
    std::string label;
    bool operator==(const MenuItem&) const = default;
};
struct ContextMenu {
    int resourceId = 0;
    std::vector<MenuItem> dropItems;  // appended to submenu 0 of the popup
    std::vector<MenuItem> skinItems;  // appended to submenu 3 of the popup
    int relabelId = 0;                // the item whose label is replaced
    std::string relabelText;
    std::vector<std::pair<int, bool>> checks;  // command id, checked
};

// A shared-memory block published under a name; unmapped and closed when destroyed.
class SharedBlock {
public:
    virtual ~SharedBlock() = default;
    // Copies bytes into the block at offset; false when they do not fit or it is not mapped.
    virtual bool Write(std::size_t offset, std::string_view bytes) = 0;
};

// The notification-area icon of a window.
struct TrayIcon {
    NativeHandle window = 0;
    unsigned id = 1;
    unsigned callbackMessage = 0;
    NativeHandle icon = 0;
    std::string tip;
};

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

    // Whether a named mutex exists (opened and closed again at once).
    virtual bool NamedMutexExists(const std::string& name) = 0;

    // The text of a named shared-memory block from byte offset on, up to its first NUL or
    // the end of the block, read under the named guard mutex when that exists (waiting a
    // short time at most); nothing when there is no such block.
    virtual std::optional<std::string> ReadSharedText(const std::string& name, const std::string& guardMutex,
                                                      std::size_t offset) = 0;

    // Creates a named shared-memory block of size bytes; nothing when it cannot be created.
    virtual std::unique_ptr<SharedBlock> CreateSharedBlock(const std::string& name, std::size_t size) = 0;

    // Writes bytes at address in the memory of process processId.
    virtual bool WriteProcessMemory(std::uint32_t processId, std::uintptr_t address, std::string_view bytes) = 0;

    // Starts a program with a parameter string (shell "open", shown normally); the result is
    // not looked at.
    virtual void StartProgram(const std::string& file, const std::string& parameters) = 0;
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
    // Top-level window by class (no title), or 0.
    virtual NativeHandle FindWindowByClass(const std::string& className) = 0;
    virtual void SetForeground(NativeHandle window) = 0;

    // --- Pictures and shapes. Objects made here are released with DeleteObject. ---

    // A bitmap compatible with the screen, made from a device-independent image: info is a
    // BITMAPINFOHEADER with its colour table, bits the bottom-up rows.
    virtual NativeHandle CreateScreenBitmap(const std::vector<std::uint8_t>& info, const std::uint8_t* bits) = 0;
    // A region made of the runs; 0 when there are none.
    virtual NativeHandle CreateRegion(const std::vector<ShapeRun>& runs) = 0;
    virtual void DeleteObject(NativeHandle object) = 0;
    // Gives the window a copy of region as its shape; without a region the window keeps a
    // one-pixel shape.
    virtual void SetWindowShape(NativeHandle window, NativeHandle region) = 0;
    // Paints bitmap (or nothing, when 0) at the window's top-left corner; answers WM_PAINT.
    virtual void PaintWindow(NativeHandle window, NativeHandle bitmap, int width, int height) = 0;

    // --- Placement ---

    virtual Rect ScreenRect() = 0;
    virtual Rect WindowRect(NativeHandle window) = 0;
    // Places and sizes the window above (topmost) or among the other windows, showing it
    // when show is set; never copies the old picture.
    virtual void PlaceWindow(NativeHandle window, bool topmost, const Rect& rect, bool show) = 0;
    // Changes only the topmost state.
    virtual void SetTopmost(NativeHandle window, bool topmost, bool show) = 0;
    virtual void MoveWindow(NativeHandle window, const Rect& rect) = 0;
    // Marks the client area from (0, 0) to (width, height) for repainting, without erasing.
    virtual void Invalidate(NativeHandle window, int width, int height) = 0;
    virtual void ShowWindow(NativeHandle window, bool show) = 0;
    virtual bool IsWindowVisible(NativeHandle window) = 0;
    // The window's style bits (0 for a window that does not exist).
    virtual std::uint32_t WindowStyle(NativeHandle window) = 0;

    // Shows the context menu at a screen point; the chosen command reaches the window as
    // WM_COMMAND.
    virtual void TrackContextMenu(NativeHandle window, const ContextMenu& menu, Point screen) = 0;

    // --- Mouse ---

    virtual Point ClientToScreen(NativeHandle window, Point point) = 0;
    virtual Point ScreenToClient(NativeHandle window, Point point) = 0;
    virtual Point CursorPosition() = 0;
    virtual void SetCapture(NativeHandle window) = 0;
    virtual void ReleaseCapture() = 0;

    // --- Transparency, icons, tray ---

    // Makes the window layered with the opacity alpha (0 to 255); false when the system has
    // no layered windows.
    virtual bool SetLayeredAlpha(NativeHandle window, int alpha) = 0;
    virtual NativeHandle SmallIcon(NativeHandle window) = 0;
    virtual bool AddTrayIcon(const TrayIcon& icon) = 0;
    virtual bool DeleteTrayIcon(const TrayIcon& icon) = 0;
};

// The set of services handed to the core.
struct Platform {
    FileSystem& files;
    SystemServices& system;
    WindowSystem& windows;
};

}  // namespace tc
