// The Win32 back end of the platform interface (ANSI functions; texts are code page 932).
#pragma once

#include "platform/Platform.h"

namespace tc {

class Win32FileSystem : public FileSystem {
public:
    std::optional<std::string> ReadWholeFile(const std::string& path) override;
    bool WriteWholeFile(const std::string& path, std::string_view bytes) override;
    bool CanOpen(const std::string& path) override;
    std::optional<std::vector<DirEntry>> ListFolder(const std::string& folderPath) override;
    bool SetHidden(const std::string& path, bool hidden) override;
    bool IsHidden(const std::string& path) override;
};

class Win32SystemServices : public SystemServices {
public:
    std::string ModuleFileName() override;
    std::unique_ptr<NamedObject> CreateNamedMutex(const std::string& name, bool& alreadyExisted) override;
    std::int64_t TimeSeconds() override;
    bool NamedMutexExists(const std::string& name) override;
    std::optional<std::string> ReadSharedText(const std::string& name, const std::string& guardMutex,
                                              std::size_t offset) override;
    std::unique_ptr<SharedBlock> CreateSharedBlock(const std::string& name, std::size_t size) override;
    bool WriteProcessMemory(std::uint32_t processId, std::uintptr_t address, std::string_view bytes) override;
    void StartProgram(const std::string& file, const std::string& parameters) override;
};

class Win32WindowSystem : public WindowSystem {
public:
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

    Rect ScreenRect() override;
    Rect WindowRect(NativeHandle window) override;
    void PlaceWindow(NativeHandle window, bool topmost, const Rect& rect, bool show) override;
    void SetTopmost(NativeHandle window, bool topmost, bool show) override;
    void MoveWindow(NativeHandle window, const Rect& rect) override;
    void Invalidate(NativeHandle window, int width, int height) override;
    void ShowWindow(NativeHandle window, bool show) override;
    bool IsWindowVisible(NativeHandle window) override;
    std::uint32_t WindowStyle(NativeHandle window) override;
    void TrackContextMenu(NativeHandle window, const ContextMenu& menu, Point screen) override;

    Point ClientToScreen(NativeHandle window, Point point) override;
    Point ScreenToClient(NativeHandle window, Point point) override;
    Point CursorPosition() override;
    void SetCapture(NativeHandle window) override;
    void ReleaseCapture() override;

    bool SetLayeredAlpha(NativeHandle window, int alpha) override;
    NativeHandle SmallIcon(NativeHandle window) override;
    bool AddTrayIcon(const TrayIcon& icon) override;
    bool DeleteTrayIcon(const TrayIcon& icon) override;
};

}  // namespace tc
