// A platform for the native tests: real files (PosixFileSystem on a temporary folder) and a
// recording double for the window system and the system services.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/Framework.h"
#include "platform/posix/PosixFileSystem.h"

namespace tc::test {

class FakeSystemServices : public SystemServices {
public:
    std::string ModuleFileName() override { return moduleFileName; }
    std::unique_ptr<NamedObject> CreateNamedMutex(const std::string& name, bool& alreadyExisted) override;
    std::int64_t TimeSeconds() override { return timeSeconds; }
    bool NamedMutexExists(const std::string& name) override {
        return liveMutexes.count(name) != 0 || otherMutexes.count(name) != 0;
    }
    std::optional<std::string> ReadSharedText(const std::string& name, const std::string& guardMutex,
                                              std::size_t offset) override;
    std::unique_ptr<SharedBlock> CreateSharedBlock(const std::string& name, std::size_t size) override;
    bool WriteProcessMemory(std::uint32_t processId, std::uintptr_t address, std::string_view bytes) override;
    void StartProgram(const std::string& file, const std::string& parameters) override {
        started.emplace_back(file, parameters);
    }

    bool MutexExists(const std::string& name) const { return liveMutexes.count(name) != 0; }

    std::string moduleFileName = "C:\\tumblecat\\tumblecat.exe";
    std::int64_t timeSeconds = 1234567;
    bool failMutexCreation = false;
    std::multiset<std::string> liveMutexes;
    std::set<std::string> otherMutexes;                   // held by other processes
    std::map<std::string, std::string> sharedBlocks;      // published by others: whole bytes
    std::map<std::string, std::string> ownBlocks;         // published here: current bytes
    std::vector<std::string> guardsAsked;
    struct MemoryWrite {
        std::uint32_t processId;
        std::uintptr_t address;
        std::string bytes;
    };
    std::vector<MemoryWrite> memoryWrites;
    bool failMemoryWrites = false;
    std::vector<std::pair<std::string, std::string>> started;  // program, parameters
};

class FakeWindowSystem : public WindowSystem {
public:
    static constexpr NativeHandle kDialogWindow = 0x1001;
    static constexpr NativeHandle kAppIcon = 0x2001;

    // Runs the dialog's initialisation; unless it ended itself, runs whileRunning (when set)
    // and then destroys it as the window system would when the dialog ends.
    int RunModalDialog(CDialog& dialog, int templateId) override;
    void EndDialog(NativeHandle window, int result) override;
    NativeHandle LoadAppIcon(int resourceId) override;
    void SetIcons(NativeHandle window, NativeHandle icon) override;
    void SetWindowTitle(NativeHandle window, const std::string& title) override;
    void AcceptDroppedFiles(NativeHandle window, bool accept) override;
    void SetTimer(NativeHandle window, int timerId, int milliseconds) override;
    void KillTimer(NativeHandle window, int timerId) override;
    NativeHandle FindWindowByTitle(const std::string& title) override;
    NativeHandle FindWindowByClass(const std::string& className) override;
    void SetForeground(NativeHandle window) override;

    NativeHandle CreateScreenBitmap(const std::vector<std::uint8_t>& info, const std::uint8_t* bits) override;
    NativeHandle CreateRegion(const std::vector<ShapeRun>& runs) override;
    void DeleteObject(NativeHandle object) override;
    void SetWindowShape(NativeHandle window, NativeHandle region) override;
    void PaintWindow(NativeHandle window, NativeHandle bitmap, int width, int height) override;

    Rect ScreenRect() override { return screen; }
    Rect WindowRect(NativeHandle window) override;
    void PlaceWindow(NativeHandle window, bool topmost, const Rect& rect, bool show) override;
    void SetTopmost(NativeHandle window, bool topmost, bool show) override;
    void MoveWindow(NativeHandle window, const Rect& rect) override;
    void Invalidate(NativeHandle window, int width, int height) override;
    void ShowWindow(NativeHandle window, bool show) override;
    bool IsWindowVisible(NativeHandle) override { return visible; }
    std::uint32_t WindowStyle(NativeHandle window) override {
        const auto it = windowStyles.find(window);
        return it == windowStyles.end() ? 0 : it->second;
    }
    void TrackContextMenu(NativeHandle, const ContextMenu& menu, Point screen) override {
        menus.push_back(menu);
        menuPoints.push_back(screen);
    }

    Point ClientToScreen(NativeHandle window, Point point) override;
    Point ScreenToClient(NativeHandle window, Point point) override;
    Point CursorPosition() override { return cursor; }
    void SetCapture(NativeHandle) override { captured = true; }
    void ReleaseCapture() override { captured = false; }

    bool SetLayeredAlpha(NativeHandle window, int alpha) override;
    NativeHandle SmallIcon(NativeHandle) override { return smallIcon; }
    bool AddTrayIcon(const TrayIcon& icon) override;
    bool DeleteTrayIcon(const TrayIcon& icon) override;

    // Objects made and not yet deleted: bitmaps with their size, regions with their runs.
    struct BitmapRecord {
        int width = 0, height = 0, bitCount = 0;
    };
    std::map<NativeHandle, BitmapRecord> liveBitmaps;
    std::map<NativeHandle, std::vector<ShapeRun>> liveRegions;
    std::vector<NativeHandle> deletedObjects;
    NativeHandle nextObject = 0x5000;
    int failBitmapsAfter = -1;  // when not negative: bitmaps fail after this many

    Rect screen{0, 0, 1024, 768};
    std::map<std::string, NativeHandle> windowsByClass;
    std::map<NativeHandle, Rect> otherWindowRects;
    Rect windowRect;  // the dialog's rectangle
    bool topmost = false;
    bool visible = false;
    int placeCount = 0;
    std::vector<ShapeRun> windowShape;  // runs of the region last given
    bool windowShapeIsOnePixel = false;
    std::vector<std::pair<int, int>> invalidations;
    NativeHandle lastPainted = 0;
    int paintCount = 0;
    Point cursor;
    bool captured = false;
    std::optional<int> layeredAlpha;
    std::vector<TrayIcon> trayIcons;
    std::map<NativeHandle, std::uint32_t> windowStyles;
    std::vector<ContextMenu> menus;
    std::vector<Point> menuPoints;

    std::function<void(CDialog&)> whileRunning;
    std::vector<int> modalTemplates;
    bool ended = false;
    int endResult = 0;
    std::vector<int> loadedIcons;
    NativeHandle bigIcon = 0, smallIcon = 0;
    std::string title;
    bool acceptsFiles = false;
    std::map<int, int> timers;  // running timers: id -> period
    std::map<std::string, NativeHandle> windowsByTitle;
    std::vector<std::string> titlesSearched;
    std::vector<NativeHandle> foregrounded;
    bool destroyed = false;
};

struct FakePlatform {
    PosixFileSystem files;
    FakeSystemServices system;
    FakeWindowSystem windows;
    Platform platform{files, system, windows};
};

}  // namespace tc::test
